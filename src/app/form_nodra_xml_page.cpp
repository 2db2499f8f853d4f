// The "XML" page: the XML output folder, whether the read-out writes XML, and the hidden button that loads the
// last XML read-out of the main store.
#include <pugixml.hpp>

#include "app/form_nodra.h"
#include "platform/file_place.h"
#include "platform/path_text.h"
#include "xml/xml_store_export.h"

namespace nodra {

void TForm_nodra::connectXmlPage() {
  connect(tab_xml->RadioButton3, &QRadioButton::clicked, this, &TForm_nodra::RadioButton3Click);
  connect(tab_xml->RadioButton4, &QRadioButton::clicked, this, &TForm_nodra::RadioButton4Click);
  connect(tab_xml->Btn_cestaXMLout, &QPushButton::clicked, this, &TForm_nodra::Btn_cestaXMLoutClick);
  connect(tab_xml->Button1, &QPushButton::clicked, this, &TForm_nodra::Button1Click);
}

void TForm_nodra::RadioButton3Click() { chooseReadOutMode(kXml); }
void TForm_nodra::RadioButton4Click() { chooseReadOutMode(kXmlRefused); }
void TForm_nodra::Btn_cestaXMLoutClick() { choosePath(tab_xml->Edit_XMLout, &settings.path_xmlOut); }

void TForm_nodra::Button1Click() {
  // Where the read-out wrote it: a setting without a folder part means the program's folder.
  const std::string path = xmlOutputPath(settings.path_xmlOut, exeFolder, "DATA_OUT.XML");
  // Through the file layer, so that a pipe or a device at that name is refused instead of waited on.
  std::string bytes;
  FileError error;
  if (!readWholeFile(FilePlace::onPc(toFsPath(path)), bytes, error)) {
    reportFailure("Cannot load \"" + path + "\": " + reasonText(error));
    return;
  }
  auto document = std::make_shared<pugi::xml_document>();
  pugi::xml_parse_result parsed = document->load_buffer(bytes.data(), bytes.size(), pugi::parse_default);
  if (!parsed) {
    reportFailure("Cannot load \"" + path + "\": " + parsed.description());
    return;
  }
  loadedDocuments_.push_back(document);
}

}  // namespace nodra
