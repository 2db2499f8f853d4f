#include "readout/raw_copy.h"

#include <string>

#include <gtest/gtest.h>

#include "readout_fixture.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::writeFile;

struct TargetCase {
  const char* suroveData;
  const char* target;
};
void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.suroveData; }

class RawCopyFolder : public ::testing::TestWithParam<TargetCase> {};

TEST_P(RawCopyFolder, LastComponentCountsAsAFileName) {
  EXPECT_EQ(rawCopyTarget(GetParam().suroveData, "/home/u/nodra/", "ZOST_OUT.TXT"), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(Cases, RawCopyFolder,
                         ::testing::Values(TargetCase{"/data/export/data.txt", "/data/export/ZOST_OUT.TXT"},
                                           TargetCase{"/data/export", "/data/ZOST_OUT.TXT"},
                                           TargetCase{"/data/export/", "/data/export/ZOST_OUT.TXT"},
                                           TargetCase{"/export", "/ZOST_OUT.TXT"},
                                           TargetCase{"/opt/nodra/vsetkySklady", "/opt/nodra/ZOST_OUT.TXT"},
                                           // No folder part: the program's folder, not the root.
                                           TargetCase{"data.txt", "/home/u/nodra/ZOST_OUT.TXT"},
                                           TargetCase{"", "/home/u/nodra/ZOST_OUT.TXT"}));

class RawCopyTest : public testing::ReadOutTest {};

TEST_F(RawCopyTest, CopiesByteForByteAndReplacesTheTarget) {
  using namespace std::string_literals;
  const std::string bytes = "4711;12.5;3;K\xE1va;\r\n\x1A\x00\xFF;\n"s;
  writeFile(card("DATA/data_out.txt"), bytes);  // the card spells it its own way
  writeFile(program("DATA_OUT.TXT"), "an older and longer copy of the store");
  EXPECT_TRUE(CopyRawStore(context(), "DATA_OUT.TXT"));
  EXPECT_EQ(readFile(program("DATA_OUT.TXT")), bytes);
  EXPECT_TRUE(ui.messages.empty());
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(program())) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1u);  // no temporary file left beside it
}

// An earlier run's copy must not pass for today's receipts and issues.
TEST_F(RawCopyTest, MissingVpStoreIsSilentAndLeavesAnEmptyCopy) {
  writeFile(program("VP_OUT.TXT"), "yesterday's receipts\r\n");
  EXPECT_TRUE(CopyRawStore(context(), "VP_OUT.TXT"));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.worstOutcome(), Outcome::Info);
  EXPECT_EQ(readFile(program("VP_OUT.TXT")), "");
}

struct FailureCase {
  const char* label;
  const char* name;
  bool sourcePresent;
  bool targetFolderPresent;
  const char* textEnd;  // after the source path
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }

class RawCopyFailure : public RawCopyTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RawCopyFailure, NamesTheFileAndCountsAsFailure) {
  const FailureCase& c = GetParam();
  if (c.sourcePresent) writeFile(card("DATA") / c.name, "content\r\n");
  settings.path_suroveData = program(c.targetFolderPresent ? "raw" : "missing/raw").string();
  EXPECT_FALSE(CopyRawStore(context(), c.name));
  ASSERT_EQ(ui.messages.size(), 1u);
  const Message& m = ui.messages[0];
  std::string target = c.targetFolderPresent ? program(c.name).string() : program("missing").string() + "/" + c.name;
  std::string text = "Súbor " + card().string() + "DATA/" + c.name + c.textEnd;
  if (c.sourcePresent) text += target + " (súbor alebo priečinok neexistuje).";
  EXPECT_EQ(m.text, text);
  EXPECT_EQ(m.caption, "Chyba: vyčítaj.");
  EXPECT_EQ(m.icon, Icon::Warning);
  EXPECT_EQ(m.outcome, Outcome::Failure);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RawCopyFailure,
    ::testing::Values(FailureCase{"report missing", "ZOST_OUT.TXT", false, true, " neexistuje."},
                      FailureCase{"main store missing", "DATA_OUT.TXT", false, true, " neexistuje."},
                      FailureCase{"target folder missing", "DATA_OUT.TXT", true, false,
                                  " sa nepodarilo skopírovať do "},
                      FailureCase{"vp store not written", "VP_OUT.TXT", true, false, " sa nepodarilo skopírovať do "}),
    [](const auto& p) { return testing::caseName(p.param.label); });

TEST_F(RawCopyTest, OverlongTargetIsRefusedNotCut) {
  writeFile(card("DATA/ZOST_OUT.TXT"), "z\r\n");
  for (std::size_t extra : {0u, 1u}) {
    std::string folder = program().string() + std::string(100, 'f') + "/";
    folder += std::string(299 - folder.size() - 13 + extra, 'g');
    std::filesystem::create_directories(folder);
    settings.path_suroveData = folder + "/x";
    ui.messages.clear();
    EXPECT_EQ(CopyRawStore(context(), "ZOST_OUT.TXT"), extra == 0);
    EXPECT_EQ(std::filesystem::exists(folder + "/ZOST_OUT.TXT"), extra == 0);
    if (extra == 1) {
      ASSERT_EQ(ui.messages.size(), 1u);
      EXPECT_NE(ui.messages[0].text.find(folder + "/ZOST_OUT.TXT"), std::string::npos);
      EXPECT_NE(ui.messages[0].text.find("299"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace nodra
