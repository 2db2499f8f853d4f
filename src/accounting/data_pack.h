#pragma once
// Pohoda's XML data pack as typed objects ("dataPack" > "dataPackItem" > "stock" > "stockHeader"), over a
// document loaded into memory. Node objects are views sharing the document: it lives while any of them does
// and is then discarded. Nothing here saves a document.
//
// Lookup by name matches the qualified or the local name. Attributes and "dataPackItem" are found in any
// namespace; the other children only in their parent's namespace. Whatever is looked up and missing is
// created, empty, in memory: reading "stock" of an item without one gives a new empty "stock".
// Texts are Windows-1250.
#include <memory>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace nodra {

inline constexpr std::string_view kDataPackNamespace = "http://www.stormware.cz/schema/version_2/data.xsd";

namespace datapack {
struct Document;

// One element of a loaded data pack.
class Node {
 public:
  bool operator==(const Node& other) const { return element_ == other.element_; }

 protected:
  Node(std::shared_ptr<Document> document, pugi::xml_node element);

  std::string attribute(std::string_view name) const;
  void setAttribute(std::string_view name, std::string_view value) const;
  // A child element in this element's namespace.
  pugi::xml_node child(std::string_view name) const;
  std::string childText(std::string_view name) const;
  void setChildText(std::string_view name, std::string_view value) const;

  // A handle: the view is const, the document behind it is not.
  pugi::xml_node element() const { return element_; }

  std::shared_ptr<Document> document_;
  pugi::xml_node element_;
};
}  // namespace datapack

class TXMLstockHeaderType : public datapack::Node {
 public:
  std::string code() const { return childText("code"); }
  std::string name() const { return childText("name"); }
  std::string count() const { return childText("count"); }
  std::string sellingPrice() const { return childText("sellingPrice"); }
  void setCode(std::string_view value) const { setChildText("code", value); }
  void setName(std::string_view value) const { setChildText("name", value); }
  void setCount(std::string_view value) const { setChildText("count", value); }
  void setSellingPrice(std::string_view value) const { setChildText("sellingPrice", value); }

 private:
  friend class TXMLstockType;
  using Node::Node;
};

class TXMLstockType : public datapack::Node {
 public:
  std::string version() const { return attribute("version"); }
  TXMLstockHeaderType stockHeader() const;
  void setVersion(std::string_view value) const { setAttribute("version", value); }

 private:
  friend class TXMLdataPackItemType;
  using Node::Node;
};

class TXMLdataPackItemType : public datapack::Node {
 public:
  std::string id() const { return attribute("id"); }
  std::string version() const { return attribute("version"); }
  TXMLstockType stock() const;
  void setId(std::string_view value) const { setAttribute("id", value); }
  void setVersion(std::string_view value) const { setAttribute("version", value); }

 private:
  friend class TXMLdataPackType;
  using Node::Node;
};

// The root, and the collection of its items in document order.
class TXMLdataPackType : public datapack::Node {
 public:
  std::string id() const { return attribute("id"); }
  // The company identification number. Throws std::runtime_error when it is missing, empty or not a
  // 32-bit whole number.
  int ico() const;
  std::string application() const { return attribute("application"); }
  std::string version() const { return attribute("version"); }
  std::string note() const { return attribute("note"); }
  void setId(std::string_view value) const { setAttribute("id", value); }
  void setIco(int value) const;
  void setApplication(std::string_view value) const { setAttribute("application", value); }
  void setVersion(std::string_view value) const { setAttribute("version", value); }
  void setNote(std::string_view value) const { setAttribute("note", value); }

  int count() const;
  // Throws std::runtime_error for an index outside 0 .. count() - 1.
  TXMLdataPackItemType item(int index) const;
  // A new empty item at the end, or before `index` (0 .. count()).
  TXMLdataPackItemType add() const;
  TXMLdataPackItemType insert(int index) const;
  // Removed items leave the data pack; objects still holding them stay usable.
  void clear() const;
  void deleteAt(int index) const;
  // The index the item had, or -1 when it is not an item of this data pack.
  int remove(const TXMLdataPackItemType& item) const;

 private:
  friend TXMLdataPackType LoadDataPack(const std::string& pathText);
  using Node::Node;
};

// Loads the file (Windows-1250 path text) without any DTD or external entity processing. Throws
// std::runtime_error when it is missing, unreadable or not well-formed, or its root is not "dataPack" in
// kDataPackNamespace.
TXMLdataPackType LoadDataPack(const std::string& pathText);

// "XML PARSE": the reads and in-memory writes on `xmlFolder` + "/zasoby.XML", then the document is dropped
// unsaved. Throws std::runtime_error on any failure (missing file, no item, no valid "ico").
void runXmlParse(const std::string& xmlFolder);

}  // namespace nodra
