#include "accounting/data_pack.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/temp_folder.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

// As Pohoda writes a stock export: Windows-1250, the record in its own namespace under the data-pack item.
constexpr std::string_view kStockExport = R"(<?xml version="1.0" encoding="Windows-1250"?>
<dat:dataPack id="Zas001" ico="01234567" application="Transformace" version="2.0" note="Export zásob"
    xmlns:dat="http://www.stormware.cz/schema/version_2/data.xsd"
    xmlns:stk="http://www.stormware.cz/schema/version_2/stock.xsd"
    xmlns:typ="http://www.stormware.cz/schema/version_2/type.xsd">
  <dat:dataPackItem id="ZAS001" version="2.0">
    <stk:stock version="2.0">
      <stk:stockHeader>
        <stk:stockType>card</stk:stockType>
        <stk:code>8584004040121</stk:code>
        <stk:name>Čokoláda horká</stk:name>
        <stk:count>12</stk:count>
        <stk:sellingPrice>1.25</stk:sellingPrice>
        <stk:storage><typ:ids>Sklad</typ:ids></stk:storage>
      </stk:stockHeader>
    </stk:stock>
  </dat:dataPackItem>
  <dat:dataPackItem id="ZAS002" version="2.0">
    <stk:stock version="2.0"><stk:stockHeader><stk:code>2</stk:code></stk:stockHeader></stk:stock>
  </dat:dataPackItem>
</dat:dataPack>
)";

// The record in the data-pack namespace itself, once with the default namespace and once with the prefix.
constexpr std::string_view kDefaultNamespace = R"(<?xml version="1.0" encoding="Windows-1250"?>
<dataPack ico="7" xmlns="http://www.stormware.cz/schema/version_2/data.xsd">
  <dataPackItem><stock version="2.0"><stockHeader>
    <code>K1</code><name>Čokoláda horká</name><count>3</count><sellingPrice>1.25</sellingPrice>
  </stockHeader></stock></dataPackItem>
</dataPack>
)";

constexpr std::string_view kPrefixedRecord = R"(<?xml version="1.0" encoding="Windows-1250"?>
<d:dataPack ico="7" xmlns:d="http://www.stormware.cz/schema/version_2/data.xsd">
  <d:dataPackItem><d:stock version="2.0"><d:stockHeader><d:name>Čokoláda horká</d:name></d:stockHeader></d:stock>
  </d:dataPackItem>
</d:dataPack>
)";

constexpr std::string_view kNoIco = R"(<?xml version="1.0" encoding="Windows-1250"?>
<dat:dataPack id="Zas001" version="2.0" xmlns:dat="http://www.stormware.cz/schema/version_2/data.xsd">
  <dat:dataPackItem id="ZAS001" version="2.0"/>
</dat:dataPack>
)";

constexpr std::string_view kFirstItemWithoutStock = R"(<?xml version="1.0" encoding="Windows-1250"?>
<dat:dataPack ico="12345678" xmlns:dat="http://www.stormware.cz/schema/version_2/data.xsd">
  <dat:dataPackItem id="A"><dat:note>bez karty</dat:note></dat:dataPackItem>
  <dat:dataPackItem id="B"><dat:stock version="2.0"/></dat:dataPackItem>
</dat:dataPack>
)";

constexpr std::string_view kNotADataPack = R"(<?xml version="1.0" encoding="Windows-1250"?>
<rsp:responsePack ico="12345678" xmlns:rsp="http://www.stormware.cz/schema/version_2/response.xsd">
  <rsp:responsePackItem/>
</rsp:responsePack>
)";

struct DataPack : ::testing::Test {
  TempFolder dir;
  std::string file(std::string_view bytes, std::string_view name = "zasoby.XML") {
    writeFile(dir / name, bytes);
    return (dir / name).string();
  }
  TXMLdataPackType load(std::string_view bytes) { return LoadDataPack(file(bytes)); }
  std::string errorOf(auto&& action) {
    try {
      action();
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "no failure";
  }
};

TEST_F(DataPack, StockExportReadsThroughTheBinding) {
  TXMLdataPackType pack = load(kStockExport);
  EXPECT_EQ(pack.id(), "Zas001");
  EXPECT_EQ(pack.ico(), 1234567);
  EXPECT_EQ(pack.application(), "Transformace");
  EXPECT_EQ(pack.version(), "2.0");
  EXPECT_EQ(pack.note(), "Export zásob");
  ASSERT_EQ(pack.count(), 2);
  EXPECT_EQ(pack.item(0).id(), "ZAS001");
  EXPECT_EQ(pack.item(1).id(), "ZAS002");
  EXPECT_EQ(pack.item(1).version(), "2.0");
}

// "stock" and its children count only in their parent's namespace; Pohoda's own "stk:stock" under a
// "dat:dataPackItem" is therefore not the item's stock, and a new empty one is made in memory.
TEST_F(DataPack, RecordChildrenAreFoundOnlyInTheirParentsNamespace) {
  struct Case {
    std::string_view label, xml, name, stockVersion;
  };
  const Case cases[] = {
      {"default namespace", kDefaultNamespace, "Čokoláda horká", "2.0"},
      {"data-pack prefix", kPrefixedRecord, "Čokoláda horká", "2.0"},
      {"stock namespace", kStockExport, "", ""},
  };
  for (const Case& c : cases) {
    TXMLstockType stock = load(c.xml).item(0).stock();
    EXPECT_EQ(stock.version(), c.stockVersion) << c.label;
    EXPECT_EQ(stock.stockHeader().name(), c.name) << c.label;
  }
  TXMLstockHeaderType header = load(kDefaultNamespace).item(0).stock().stockHeader();
  EXPECT_EQ(header.code(), "K1");
  EXPECT_EQ(header.count(), "3");
  EXPECT_EQ(header.sellingPrice(), "1.25");
}

TEST_F(DataPack, MissingNodesAreMadeOnceAndKeepWhatIsWritten) {
  TXMLdataPackType pack = load(kFirstItemWithoutStock);
  TXMLdataPackItemType item = pack.item(0);
  EXPECT_EQ(item.version(), "");
  TXMLstockType stock = item.stock();
  EXPECT_EQ(stock.version(), "");
  EXPECT_EQ(stock.stockHeader().count(), "");
  EXPECT_TRUE(item.stock() == stock);
  EXPECT_TRUE(stock.stockHeader() == item.stock().stockHeader());
  stock.stockHeader().setSellingPrice("9999");
  item.setVersion("111.0");
  EXPECT_EQ(pack.item(0).stock().stockHeader().sellingPrice(), "9999");
  EXPECT_EQ(pack.item(0).version(), "111.0");
  EXPECT_EQ(pack.item(1).stock().version(), "2.0");
}

TEST_F(DataPack, IcoIsAStrict32BitWholeNumber) {
  struct Case {
    std::string_view attribute;
    std::optional<int> value;
  };
  const Case cases[] = {
      {R"(ico="01234567")", 1234567},        {R"(ico="-5")", -5},
      {R"(ico="2147483647")", 2147483647},   {"", std::nullopt},
      {R"(ico="")", std::nullopt},           {R"(ico="12a")", std::nullopt},
      {R"(ico="2147483648")", std::nullopt}, {R"(ico="1.5")", std::nullopt},
  };
  for (const Case& c : cases) {
    std::string xml = "<dataPack " + std::string(c.attribute) + " xmlns=\"" + std::string(kDataPackNamespace) + "\"/>";
    TXMLdataPackType pack = load(xml);
    if (c.value) {
      EXPECT_EQ(pack.ico(), *c.value) << c.attribute;
    } else {
      EXPECT_THROW(pack.ico(), std::runtime_error) << c.attribute;
    }
  }
  TXMLdataPackType pack = load(kNoIco);
  EXPECT_EQ(errorOf([&] { pack.ico(); }), "'' is not a valid integer value");
  pack.setIco(-42);
  EXPECT_EQ(pack.ico(), -42);
}

TEST_F(DataPack, LoadRefusesWhatIsNotAReadableDataPack) {
  struct Case {
    std::string_view label, xml, error;
  };
  const Case cases[] = {
      {"not well-formed", "<dataPack><dataPackItem></dataPack>", "is not well-formed XML"},
      {"empty", "", "is not well-formed XML"},
      {"two roots", R"(<dataPack xmlns="http://www.stormware.cz/schema/version_2/data.xsd"/><x/>)",
       "is not well-formed XML"},
      {"response pack", kNotADataPack, "is not a data pack"},
      {"no namespace", R"(<dataPack ico="1"/>)", "is not a data pack"},
      {"other namespace", R"(<dat:dataPack xmlns:dat="http://www.stormware.cz/schema/version_2/stock.xsd"/>)",
       "is not a data pack"},
  };
  for (const Case& c : cases) {
    std::string error = errorOf([&] { load(c.xml); });
    EXPECT_NE(error.find(c.error), std::string::npos) << c.label << ": " << error;
  }
  std::string missing = (dir / "none.XML").string();
  EXPECT_EQ(errorOf([&] { LoadDataPack(missing); }), "Cannot open file \"" + missing + "\". No such file or directory");
}

// No DTD is read: a declared entity is never expanded, let alone one that names a local file.
TEST_F(DataPack, EntitiesOfADtdAreNotExpanded) {
  writeFile(dir / "secret.txt", "tajomstvo");
  std::string xml = "<!DOCTYPE dataPack [<!ENTITY secret SYSTEM \"file://" + (dir / "secret.txt").string() +
                    "\"><!ENTITY big \"aaaaaaaaaa\">]>"
                    R"(<dataPack ico="1" note="&secret;&big;" xmlns=")" +
                    std::string(kDataPackNamespace) + "\"/>";
  EXPECT_EQ(load(xml).note().find("tajomstvo"), std::string::npos);
  EXPECT_EQ(load(xml).note().find("aaaaaaaaaa"), std::string::npos);
}

TEST_F(DataPack, Utf8PackGivesTheProgramsText) {
  TXMLdataPackType pack = load(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><dataPack note=\"Export z\xC3\xA1sob \xE2\x82\xAC \xE6\x97\xA5\" "
      "xmlns=\"http://www.stormware.cz/schema/version_2/data.xsd\"/>");
  EXPECT_EQ(pack.note(), "Export zásob € ?");
  pack.setNote("Žilina");
  EXPECT_EQ(pack.note(), "Žilina");
}

TEST_F(DataPack, ItemsCanBeAddedInsertedAndRemoved) {
  TXMLdataPackType pack = load(kStockExport);
  TXMLdataPackItemType last = pack.add();
  last.setId("C");
  TXMLdataPackItemType first = pack.insert(0);
  first.setId("0");
  EXPECT_EQ(pack.insert(pack.count()).id(), "");
  ASSERT_EQ(pack.count(), 5);
  EXPECT_EQ(pack.item(0).id(), "0");
  EXPECT_EQ(pack.item(3).id(), "C");

  TXMLdataPackItemType second = pack.item(1);
  EXPECT_EQ(pack.remove(second), 1);
  EXPECT_EQ(pack.remove(second), -1);
  // The removed item's view stays usable, in its namespace.
  EXPECT_EQ(second.id(), "ZAS001");
  EXPECT_EQ(second.stock().version(), "");
  pack.deleteAt(0);
  EXPECT_EQ(pack.item(0).id(), "ZAS002");
  pack.clear();
  EXPECT_EQ(pack.count(), 0);
  EXPECT_EQ(errorOf([&] { pack.item(0); }), "List index out of bounds (0)");
  EXPECT_EQ(errorOf([&] { pack.insert(1); }), "List index out of bounds (1)");
  EXPECT_EQ(last.id(), "C");
}

// Every node keeps the document: the data pack itself may go first.
TEST_F(DataPack, NodesOutliveTheDataPack) {
  std::optional<TXMLstockHeaderType> header;
  {
    TXMLdataPackType pack = load(kDefaultNamespace);
    header = pack.item(0).stock().stockHeader();
  }
  EXPECT_EQ(header->name(), "Čokoláda horká");
  header->setName("iný");
  EXPECT_EQ(header->name(), "iný");
}

TEST_F(DataPack, XmlParseNeverChangesTheFile) {
  struct Case {
    std::string_view label, xml, error;
  };
  const Case cases[] = {
      {"stock export", kStockExport, ""},
      {"first item without stock", kFirstItemWithoutStock, ""},
      {"no ico", kNoIco, "'' is not a valid integer value"},
      {"no item", R"(<dataPack ico="1" xmlns="http://www.stormware.cz/schema/version_2/data.xsd"/>)",
       "List index out of bounds (0)"},
      {"not a data pack", kNotADataPack, "is not a data pack"},
  };
  for (const Case& c : cases) {
    file(c.xml);
    std::string error = errorOf([&] { runXmlParse(dir.path().string()); });
    if (c.error.empty()) {
      EXPECT_EQ(error, "no failure") << c.label;
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << c.label << ": " << error;
    }
    EXPECT_EQ(readFile(dir / "zasoby.XML"), c.xml) << c.label;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  std::filesystem::remove(dir / "zasoby.XML");
  EXPECT_NE(errorOf([&] { runXmlParse(dir.path().string() + "/"); }).find("zasoby.XML\". No such file"),
            std::string::npos);
}

}  // namespace
}  // namespace nodra
