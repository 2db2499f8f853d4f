#pragma once
// Which terminal store each XML file comes from, and the children of its POLOZKA elements. Children follow
// the order listed here, not the field order (ZOST_OUT.XML writes ICO, field 8, before DOKLAD, field 7).
#include <array>
#include <span>
#include <string_view>

namespace nodra {

enum class XmlFieldKind {
  Text,     // the field as read
  Number,   // read as a 32-bit float, written in the XML number format
  Integer,  // read as a number and truncated toward zero
};

struct XmlChild {
  std::string_view element;
  int field;  // position in the terminal's record, from 0
  XmlFieldKind kind;
};

struct XmlStoreLayout {
  std::string_view terminalFile;  // the terminal's way: "DATA\\data_out.txt"
  std::string_view outputName;    // in the XML output folder
  std::string_view root;
  std::span<const XmlChild> children;
  // DATA_OUTN.XML: no element for short lines, only items whose quantity is not zero.
  bool nonZeroOnly = false;
  // The terminal creates its receipts-and-issues store only when it is used: no store is no receipts.
  bool absentMeansEmpty = false;
};

inline constexpr std::string_view kXmlRecordElement = "POLOZKA";
inline constexpr std::string_view kXmlCodeElement = "KOD";
inline constexpr std::string_view kXmlQuantityElement = "POCET";
inline constexpr std::string_view kXmlNameElement = "NAZOV";

inline constexpr std::array<XmlChild, 4> kXmlMainStoreChildren{{
    {"KOD", 0, XmlFieldKind::Text},
    {"CENA", 1, XmlFieldKind::Number},
    {"POCET", 2, XmlFieldKind::Number},
    {"NAZOV", 3, XmlFieldKind::Text},
}};

inline constexpr std::array<XmlChild, 8> kXmlVpStoreChildren{{
    {"DOKLAD", 0, XmlFieldKind::Text},
    {"KOD", 1, XmlFieldKind::Text},
    {"NAZOV", 2, XmlFieldKind::Text},
    {"POCET", 3, XmlFieldKind::Number},
    {"TYP", 4, XmlFieldKind::Text},
    {"ICO", 5, XmlFieldKind::Text},
    {"CENA", 6, XmlFieldKind::Number},
    {"FIRMA", 7, XmlFieldKind::Text},
}};

inline constexpr std::array<XmlChild, 9> kXmlReportChildren{{
    {"KOD", 0, XmlFieldKind::Text},
    {"CENA", 1, XmlFieldKind::Number},
    {"POCET", 2, XmlFieldKind::Number},
    {"NAZOV", 3, XmlFieldKind::Text},
    {"DATUM", 4, XmlFieldKind::Text},
    {"PORADIE", 5, XmlFieldKind::Integer},
    {"TYP", 6, XmlFieldKind::Text},
    {"ICO", 8, XmlFieldKind::Text},
    {"DOKLAD", 7, XmlFieldKind::Text},
}};

inline constexpr std::size_t kXmlMaxChildren = 9;
inline constexpr int kXmlFieldPositions = 9;  // positions 0 to 8: the report's record is the longest

constexpr bool fitsTheLimits(std::span<const XmlChild> children) {
  if (children.size() > kXmlMaxChildren) return false;
  for (const XmlChild& child : children) {
    if (child.field < 0 || child.field >= kXmlFieldPositions) return false;
  }
  return true;
}
static_assert(fitsTheLimits(kXmlMainStoreChildren) && fitsTheLimits(kXmlVpStoreChildren) &&
              fitsTheLimits(kXmlReportChildren));

inline constexpr XmlStoreLayout kXmlMainStore{"DATA\\data_out.txt", "DATA_OUT.XML", "DATA_OUT", kXmlMainStoreChildren};
inline constexpr XmlStoreLayout kXmlVpStore{"DATA\\vp_out.txt",  "VP_OUT.XML", "VP_OUT",
                                            kXmlVpStoreChildren, false,        true};
inline constexpr XmlStoreLayout kXmlReport{"DATA\\zost_out.txt", "ZOST_OUT.XML", "ZOST_OUT", kXmlReportChildren};
inline constexpr XmlStoreLayout kXmlNonZero{"DATA\\data_out.txt", "DATA_OUTN.XML", "DATA_OUTN", kXmlMainStoreChildren,
                                            true};

}  // namespace nodra
