// The "POHODA " page: the accounting program's XML import started, and the data pack written from the XML
// read-out.
#include "accounting/data_pack.h"
#include "accounting/pohoda_import.h"
#include "app/form_nodra.h"
#include "platform/path_text.h"
#include "xml/xml_store_export.h"

namespace nodra {

void TForm_nodra::connectPohodaPage() {
  connect(TabSheet3->Button3, &QPushButton::clicked, this, &TForm_nodra::Button3Click);
  connect(TabSheet3->Button2, &QPushButton::clicked, this, &TForm_nodra::Button2Click);
  connect(TabSheet3->Button4, &QPushButton::clicked, this, &TForm_nodra::Button4Click);
}

void TForm_nodra::Button3Click() {
  const PohodaImportCommand command =
      readPohodaImportCommand(ProfileFile(toFsPath(localSettingsPath), localSettingsPath));
  switch (launchPohodaImport(command)) {
    case PohodaLaunch::Started: break;
    case PohodaLaunch::ExecutableUnset: ui_->message(pohodaImportUnsetMessage()); break;
    case PohodaLaunch::Failed:
      ui_->message(
          failureMessage("Program " + command.executable + " sa nepodarilo spustiť.", kCautionCaption, Icon::Warning));
      break;
  }
}

void TForm_nodra::Button2Click() {
  try {
    // The folder the XML read-out writes to, the program's own when the setting names none.
    runXmlParse(folderPart(xmlOutputPath(settings.path_xmlOut, exeFolder, "zasoby.XML")));
  } catch (const std::exception& e) {
    reportFailure(e.what());
  }
}

}  // namespace nodra
