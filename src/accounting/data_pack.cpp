#include "accounting/data_pack.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/cp1250.h"
#include "platform/file_place.h"
#include "platform/integer_text.h"
#include "platform/path_text.h"

namespace nodra {

namespace datapack {

struct Document {
  pugi::xml_document xml;
  // Texts in the tree are UTF-8, as pugixml makes them; false when they are the file's own Windows-1250 bytes.
  bool utf8Texts = true;
  pugi::xml_node root;
  // Items taken out of the pack move here rather than being destroyed, so views on them stay valid.
  pugi::xml_node removedItems;
};

}  // namespace datapack

namespace {

using datapack::Document;

constexpr std::string_view kItemName = "dataPackItem";

std::string_view prefixOf(std::string_view qualified) {
  std::size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? std::string_view() : qualified.substr(0, colon);
}

std::string_view localOf(std::string_view qualified) {
  std::size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

bool nameMatches(std::string_view qualified, std::string_view wanted) {
  return qualified == wanted || localOf(qualified) == wanted;
}

bool isNamespaceDeclaration(std::string_view attributeName) {
  return attributeName == "xmlns" || attributeName.starts_with("xmlns:");
}

std::string namespaceOf(pugi::xml_node element) {
  std::string_view prefix = prefixOf(element.name());
  if (prefix == "xml") return "http://www.w3.org/XML/1998/namespace";
  std::string declaration = prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
  for (pugi::xml_node n = element; n.type() == pugi::node_element; n = n.parent()) {
    if (pugi::xml_attribute a = n.attribute(declaration.c_str())) return a.value();
  }
  return {};
}

// A name in the same namespace as `parent`: its prefix, already declared where the parent's is.
std::string childName(pugi::xml_node parent, std::string_view local) {
  std::string_view prefix = prefixOf(parent.name());
  return prefix.empty() ? std::string(local) : std::string(prefix) + ":" + std::string(local);
}

// One UTF-8 sequence at a time, so a character Windows-1250 lacks costs only itself ("?").
std::string utf8ToProgramText(std::string_view utf8) {
  if (auto whole = cp1250::fromUtf8(utf8)) return *whole;
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    length = std::min(length, utf8.size() - i);
    auto one = cp1250::fromUtf8(utf8.substr(i, length));
    out += one ? *one : std::string("?");
    i += length;
  }
  return out;
}

std::string toProgramText(const Document& d, const char* text) {
  return d.utf8Texts ? utf8ToProgramText(text) : std::string(text);
}

std::string toDocumentText(const Document& d, std::string_view text) {
  return d.utf8Texts ? cp1250::toUtf8(text) : std::string(text);
}

std::vector<pugi::xml_node> itemsOf(pugi::xml_node root) {
  std::vector<pugi::xml_node> items;
  for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && nameMatches(c.name(), kItemName)) items.push_back(c);
  }
  return items;
}

[[noreturn]] void indexOutOfBounds(int index) {
  throw std::runtime_error("List index out of bounds (" + intToText(index) + ")");
}

void takeOut(Document& d, pugi::xml_node item) {
  if (!d.removedItems) {
    // Outside the pack's tree but with its namespace declarations, so a removed item keeps its namespace.
    d.removedItems = d.xml.append_child("removedItems");
    for (pugi::xml_attribute a : d.root.attributes()) {
      if (isNamespaceDeclaration(a.name())) d.removedItems.append_attribute(a.name()).set_value(a.value());
    }
  }
  d.removedItems.append_move(item);
}

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The encoding named by the XML declaration of an ASCII-compatible file; empty without one.
std::string declaredEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return "utf-8";
  if (!bytes.starts_with("<?xml")) return {};
  std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at = declaration.find_first_of("\"'", at);
  if (at == std::string_view::npos) return {};
  std::size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string_view::npos) return {};
  return lowerAscii(declaration.substr(at + 1, end - at - 1));
}

// pugixml decodes the Unicode encodings and Latin-1 itself; any other 8-bit encoding (Pohoda writes
// Windows-1250) is kept as its bytes, which are then the program's own text.
bool decodedByParser(const std::string& encoding) {
  return encoding.empty() || encoding.starts_with("utf") || encoding.starts_with("ucs") || encoding == "iso-8859-1" ||
         encoding == "latin1";
}

std::string readPackFile(const std::string& pathText) {
  std::string bytes;
  FileError error;
  if (!readWholeFile(FilePlace::onPc(toFsPath(pathText)), bytes, error)) {
    const std::string reason = error.trouble == FileTrouble::System ? std::system_category().message(error.systemError)
                               : error.trouble == FileTrouble::Missing ? std::system_category().message(ENOENT)
                                                                       : troubleText(error);
    throw std::runtime_error("Cannot open file \"" + pathText + "\". " + reason);
  }
  return bytes;
}

}  // namespace

namespace datapack {

Node::Node(std::shared_ptr<Document> document, pugi::xml_node element)
    : document_(std::move(document)), element_(element) {}

std::string Node::attribute(std::string_view name) const {
  for (pugi::xml_attribute a : element_.attributes()) {
    if (!isNamespaceDeclaration(a.name()) && nameMatches(a.name(), name)) return toProgramText(*document_, a.value());
  }
  element().append_attribute(std::string(name).c_str());
  return {};
}

void Node::setAttribute(std::string_view name, std::string_view value) const {
  std::string text = toDocumentText(*document_, value);
  for (pugi::xml_attribute a : element_.attributes()) {
    if (!isNamespaceDeclaration(a.name()) && nameMatches(a.name(), name)) {
      a.set_value(text.c_str());
      return;
    }
  }
  element().append_attribute(std::string(name).c_str()).set_value(text.c_str());
}

pugi::xml_node Node::child(std::string_view name) const {
  const std::string ns = namespaceOf(element_);
  for (pugi::xml_node c = element_.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && nameMatches(c.name(), name) && namespaceOf(c) == ns) return c;
  }
  return element().append_child(childName(element_, name).c_str());
}

std::string Node::childText(std::string_view name) const { return toProgramText(*document_, child(name).text().get()); }

void Node::setChildText(std::string_view name, std::string_view value) const {
  child(name).text().set(toDocumentText(*document_, value).c_str());
}

}  // namespace datapack

TXMLstockHeaderType TXMLstockType::stockHeader() const { return {document_, child("stockHeader")}; }

TXMLstockType TXMLdataPackItemType::stock() const { return {document_, child("stock")}; }

int TXMLdataPackType::ico() const { return strToInt(attribute("ico")); }

void TXMLdataPackType::setIco(int value) const { setAttribute("ico", intToText(value)); }

int TXMLdataPackType::count() const { return static_cast<int>(itemsOf(element_).size()); }

TXMLdataPackItemType TXMLdataPackType::item(int index) const {
  auto items = itemsOf(element_);
  if (index < 0 || index >= static_cast<int>(items.size())) indexOutOfBounds(index);
  return {document_, items[static_cast<std::size_t>(index)]};
}

TXMLdataPackItemType TXMLdataPackType::add() const {
  return {document_, element().append_child(childName(element_, kItemName).c_str())};
}

TXMLdataPackItemType TXMLdataPackType::insert(int index) const {
  auto items = itemsOf(element_);
  if (index < 0 || index > static_cast<int>(items.size())) indexOutOfBounds(index);
  if (index == static_cast<int>(items.size())) return add();
  std::string name = childName(element_, kItemName);
  return {document_, element().insert_child_before(name.c_str(), items[static_cast<std::size_t>(index)])};
}

void TXMLdataPackType::clear() const {
  for (pugi::xml_node item : itemsOf(element_)) takeOut(*document_, item);
}

void TXMLdataPackType::deleteAt(int index) const {
  auto items = itemsOf(element_);
  if (index < 0 || index >= static_cast<int>(items.size())) indexOutOfBounds(index);
  takeOut(*document_, items[static_cast<std::size_t>(index)]);
}

int TXMLdataPackType::remove(const TXMLdataPackItemType& item) const {
  auto items = itemsOf(element_);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == item.element_) {
      takeOut(*document_, items[i]);
      return static_cast<int>(i);
    }
  }
  return -1;
}

TXMLdataPackType LoadDataPack(const std::string& pathText) {
  const std::string bytes = readPackFile(pathText);
  auto document = std::make_shared<Document>();
  const std::string encoding = declaredEncoding(bytes);
  document->utf8Texts = decodedByParser(encoding);
  // parse_default leaves out parse_doctype: a DTD is skipped unread, no entity beyond the five predefined
  // ones is expanded, and nothing outside the file is ever fetched.
  pugi::xml_parse_result result = document->xml.load_buffer(
      bytes.data(), bytes.size(), pugi::parse_default, document->utf8Texts ? pugi::encoding_auto : pugi::encoding_utf8);
  if (!result) {
    throw std::runtime_error("File \"" + pathText + "\" is not well-formed XML: " + result.description() + " (offset " +
                             intToText(result.offset) + ")");
  }
  int roots = 0;
  for (pugi::xml_node c : document->xml.children()) roots += c.type() == pugi::node_element ? 1 : 0;
  if (roots != 1) {
    throw std::runtime_error("File \"" + pathText + "\" is not well-formed XML: more than one root element");
  }
  document->root = document->xml.document_element();
  if (!nameMatches(document->root.name(), "dataPack") || namespaceOf(document->root) != kDataPackNamespace) {
    throw std::runtime_error("File \"" + pathText + "\" is not a data pack: its root element is not \"dataPack\" in " +
                             std::string(kDataPackNamespace));
  }
  pugi::xml_node root = document->root;
  return {std::move(document), root};
}

void runXmlParse(const std::string& xmlFolder) {
  std::string path = xmlFolder;
  if (path.empty() || path.back() != '/') path += '/';
  path += "zasoby.XML";

  TXMLdataPackType pack = LoadDataPack(path);
  (void)pack.version();
  (void)pack.ico();
  (void)pack.note();
  (void)pack.ico();

  TXMLdataPackItemType item = pack.item(0);
  (void)item.version();
  item.setVersion("111.0");
  (void)item.version();

  TXMLstockType stock = item.stock();
  for (int i = 0; i < 3; ++i) (void)stock.version();

  TXMLstockHeaderType header = stock.stockHeader();
  (void)header.sellingPrice();
  header.setSellingPrice("9999");
  (void)header.sellingPrice();

  stock = pack.item(0).stock();
  (void)header.count();
  for (int i = 0; i < 4; ++i) (void)pack.ico();
  // The document goes with the last view on it, unsaved.
}

}  // namespace nodra
