// The INI service on any file contents: reads and writes of keys, in memory and through the file.
// Properties: a key written reads back as written; no other key changes; a value the file cannot hold
// fails without touching the file.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <string>

#include "fuzz_support.h"
#include "platform/integer_text.h"
#include "platform/profile_file.h"

namespace {

using namespace nodra;

// Names the program uses, in other letter cases too, so the lookups meet the file's own lines.
constexpr std::array<std::string_view, 8> kSections{"GLOBAL", "PATHS", "InFormat Oddelovac", "WIFI", "FTP", "global",
                                                    "Format", "S"};
constexpr std::array<std::string_view, 10> kKeys{"PDM_PRICE", "AUTO", "path_ins",  "Odd_Char_ISK", "CLEAR_ZOST",
                                                 "SSID",      "k",    "pdm_price", "K_1",          "VERSION"};

bool isNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

// A name the program could use: from the list, or letters, digits, "_" and "." (never empty).
std::string pickName(FuzzedDataProvider& in, const auto& names) {
  if (in.ConsumeBool()) return std::string(names[in.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)]);
  std::string name;
  for (char c : in.ConsumeRandomLengthString(12)) {
    if (isNameByte(c)) name.push_back(c);
  }
  return name.empty() ? std::string(names[0]) : name;
}

// A value that reads back unchanged: no blanks at its ends, no pair of quotes around it, no line break.
std::string pickValue(FuzzedDataProvider& in) {
  std::string value;
  for (char c : in.ConsumeRandomLengthString(40)) {
    if (c != '\r' && c != '\n' && c != '\0') value.push_back(c);
  }
  for (;;) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.erase(0, 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') || value.back() != value.front()) {
      return value;
    }
    value.pop_back();
  }
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

struct Lookup {
  bool found = false;
  std::string value;
  bool operator==(const Lookup&) const = default;
};

Lookup lookUp(std::string_view content, std::string_view section, std::string_view key) {
  Lookup l;
  l.found = profile_text::find(content, section, key, l.value);
  return l;
}

// Every other listed key reads the same before and after a write of (section, key).
void checkOthersUnchanged(std::string_view before, std::string_view after, std::string_view section,
                          std::string_view key) {
  for (std::string_view s : kSections) {
    for (std::string_view k : kKeys) {
      if (sameName(s, section) && sameName(k, key)) continue;
      NODRA_FUZZ_CHECK(lookUp(before, s, k) == lookUp(after, s, k));
    }
  }
}

void inMemory(FuzzedDataProvider& in, std::string& content) {
  const std::string section = pickName(in, kSections);
  const std::string key = pickName(in, kKeys);
  const std::string value = pickValue(in);
  const std::string after = profile_text::set(content, section, key, value);
  const Lookup written = lookUp(after, section, key);
  NODRA_FUZZ_CHECK(written.found && written.value == value);
  checkOthersUnchanged(content, after, section, key);
  // Setting what a key already holds changes nothing.
  NODRA_FUZZ_CHECK(profile_text::set(after, section, key, value) == after);
  content = after;
}

void throughTheFile(FuzzedDataProvider& in, const std::string& content) {
  const auto file = fuzz::scratchFolder() / "profile.ini";
  fuzz::writeBytes(file, content);
  ProfileFile profile(file, "profile.ini");
  // The object's one read of the file finds what a scan of the content finds.
  for (std::string_view s : kSections) {
    for (std::string_view k : kKeys) {
      const Lookup scanned = lookUp(content, std::string(s), std::string(k));
      NODRA_FUZZ_CHECK(profile.readString(s, k, "\x01") == (scanned.found ? scanned.value : "\x01"));
    }
  }
  const std::string section = pickName(in, kSections);
  const std::string key = pickName(in, kKeys);
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: {
      const int number = in.ConsumeIntegral<int>();
      profile.writeInteger(section, key, number);
      NODRA_FUZZ_CHECK(testing::readFile(file) == profile_text::set(content, section, key, intToText(number)));
      NODRA_FUZZ_CHECK(profile.readInteger(section, key, number == 7 ? 8 : 7) == number);
      NODRA_FUZZ_CHECK(profile.readBool(section, key, number == 0) == (number != 0));
      break;
    }
    case 1: {
      const std::string value = pickValue(in);
      profile.writeString(section, key, value);
      NODRA_FUZZ_CHECK(testing::readFile(file) == profile_text::set(content, section, key, value));
      NODRA_FUZZ_CHECK(profile.readString(section, key, "\x01") == value);
      break;
    }
    default: {
      // A value with a line break would tear the file's structure: refused, the file as it was.
      std::string value = pickValue(in) + (in.ConsumeBool() ? "\r\n" : "\n") + pickValue(in);
      bool refused = false;
      try {
        profile.writeString(section, key, value);
      } catch (const WriteError&) {
        refused = true;
      }
      NODRA_FUZZ_CHECK(refused && testing::readFile(file) == content);
      break;
    }
  }
  // Reads of any key never fail, whatever the file holds.
  (void)profile.readInteger(pickName(in, kSections), pickName(in, kKeys), 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const nodra::fuzz::SplitInput input(data, size);
  std::string content(input.file);
  FuzzedDataProvider ops(reinterpret_cast<const uint8_t*>(input.script.data()), input.script.size());
  const int writes = ops.ConsumeIntegralInRange(0, 3);
  const bool viaFile = ops.ConsumeBool();
  for (std::string_view s : kSections) {
    for (std::string_view k : kKeys) (void)lookUp(content, s, k);
  }
  for (int i = 0; i < writes; ++i) inMemory(ops, content);
  if (viaFile) throughTheFile(ops, content);
  return 0;
}
