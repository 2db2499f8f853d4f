#include "xml/xml_stream.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "support/file_size_limit.h"
#include "xml_test_support.h"

namespace nodra {
namespace {

std::string savedByPugixml(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

// The bytes pugixml saves for the same tree: nesting, empty elements, escaping, text next to children.
TEST(XmlStream, WritesWhatPugixmlSavesForTheSameTree) {
  testing::TempFolder temp;
  const auto file = temp.path() / "doc.xml";
  {
    XmlStream out;
    ASSERT_TRUE(out.create(file));
    out.open("ROOT");
    out.element("EMPTY", "");
    out.open("ITEM");
    out.element("A", "fish & chips <hot> \"quoted\" 'single' ]]>");
    out.element("B", "");
    out.element("C", "plain");
    out.element("D", "clean for sixteen bytes, then & and <these> at the end>");
    out.close();
    out.open("OUTER");
    out.open("INNER");
    out.close();
    out.close();
    out.close();
    ASSERT_TRUE(out.finish());
  }

  pugi::xml_document doc;
  auto root = doc.append_child("ROOT");
  root.append_child("EMPTY");
  auto item = root.append_child("ITEM");
  item.append_child("A").text().set("fish & chips <hot> \"quoted\" 'single' ]]>");
  item.append_child("B");
  item.append_child("C").text().set("plain");
  item.append_child("D").text().set("clean for sixteen bytes, then & and <these> at the end>");
  root.append_child("OUTER").append_child("INNER");

  EXPECT_EQ(testing::readFile(file), savedByPugixml(doc));
}

// Prepared tags take a faster way through the buffer: a character to escape at every place of texts from
// 0 to 40 characters, in documents long enough to flush on the way.
TEST(XmlStream, PreparedTagsEscapeEveryPlace) {
  testing::TempFolder temp;
  const auto file = temp.path() / "doc.xml";
  const XmlTag tag("KOD");
  pugi::xml_document doc;
  auto root = doc.append_child("ROOT");
  {
    XmlStream out;
    ASSERT_TRUE(out.create(file));
    out.open("ROOT");
    for (int round = 0; round < 40; ++round) {
      for (std::size_t length = 0; length <= 40; ++length) {
        for (std::size_t place = 0; place <= length; ++place) {
          std::string text(length, static_cast<char>('a' + round % 26));
          if (place < length) text[place] = "&<>"[(round + place) % 3];
          out.element(tag, text);
          auto element = root.append_child("KOD");
          if (!text.empty()) element.text().set(text.c_str());
        }
      }
    }
    out.close();
    ASSERT_TRUE(out.finish());
  }
  EXPECT_EQ(testing::readFile(file), savedByPugixml(doc));
}

TEST(XmlStream, AnElementWithoutContentIsSelfClosed) {
  testing::TempFolder temp;
  const auto file = temp.path() / "doc.xml";
  XmlStream out;
  ASSERT_TRUE(out.create(file));
  out.open("DATA_OUT");
  out.close();
  ASSERT_TRUE(out.finish());
  EXPECT_EQ(testing::readFile(file), "<DATA_OUT/>");
}

// Larger than the buffer, so the flushes in between are exercised too.
TEST(XmlStream, LongDocumentsArriveWhole) {
  testing::TempFolder temp;
  const auto file = temp.path() / "doc.xml";
  std::string expected = "<R>";
  XmlStream out;
  ASSERT_TRUE(out.create(file));
  out.open("R");
  for (int i = 0; i < 20000; ++i) {
    std::string value = std::to_string(i) + "&";
    out.element("V", value);
    expected += "<V>" + std::to_string(i) + "&amp;</V>";
  }
  out.close();
  expected += "</R>";
  ASSERT_TRUE(out.finish());
  EXPECT_EQ(testing::readFile(file), expected);
}

TEST(XmlStream, ReplacesAnExistingFile) {
  testing::TempFolder temp;
  const auto file = temp.path() / "doc.xml";
  testing::writeFile(file, "an older and much longer content");
  XmlStream out;
  ASSERT_TRUE(out.create(file));
  out.element("R", "x");
  ASSERT_TRUE(out.finish());
  EXPECT_EQ(testing::readFile(file), "<R>x</R>");
}

TEST(XmlStream, AnAbandonedDocumentLeavesThePreviousFile) {
  testing::TempFolder temp;
  const auto file = temp.path() / "doc.xml";
  testing::writeFile(file, "<R>yesterday</R>");
  XmlStream out;
  ASSERT_TRUE(out.create(file));
  out.open("R");
  for (int i = 0; i < 20000; ++i) out.element("V", "0123456789");
  out.abandon();
  EXPECT_EQ(testing::readFile(file), "<R>yesterday</R>");
  EXPECT_EQ(testing::namesIn(temp.path()), std::set<std::string>{"doc.xml"});
}

TEST(XmlStream, FailsToCreateInAMissingFolder) {
  testing::TempFolder temp;
  XmlStream out;
  EXPECT_FALSE(out.create(temp.path() / "missing" / "doc.xml"));
  EXPECT_FALSE(out.finish());
}

TEST(XmlStream, AFailedWriteIsReportedAndThePreviousFileStays) {
  testing::TempFolder temp;
  const auto file = temp.path() / "doc.xml";
  testing::writeFile(file, "<R>yesterday</R>");
  XmlStream out;
  ASSERT_TRUE(out.create(file));
  FileError error;
  {
    testing::FileSizeLimit full(50000);
    out.open("R");
    for (int i = 0; i < 10000; ++i) out.element("V", "0123456789");
    out.close();
    EXPECT_FALSE(out.finish(error));
  }
  EXPECT_EQ(error.systemError, EFBIG);
  EXPECT_EQ(testing::readFile(file), "<R>yesterday</R>");
  EXPECT_EQ(testing::namesIn(temp.path()), std::set<std::string>{"doc.xml"});
}

}  // namespace
}  // namespace nodra
