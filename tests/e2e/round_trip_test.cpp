// Fill a terminal from a PC file, let the stand-in take the list over as the terminal would, read it out
// again, and compare: only what the formats themselves change (decimals, the read-out's ASCII filter) may differ.
#include <gtest/gtest.h>

#include "e2e/run_program.h"
#include "terminal_standin.h"

namespace nodra::testing {
namespace {

namespace fs = std::filesystem;

struct RoundTripCase {
  const char* name;
  const char* inputSettings;  // the local settings sections of the input layout
  std::string input;          // the PC input file
  std::string expectedOut;    // data_outv.txt after the round trip (default delimiter output, 2 decimals)
  int fillExit = 0;
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {
 protected:
  void SetUp() override {
    fs::copy(NODRA_DEMO_TERMINAL, terminal, fs::copy_options::recursive);
    fs::create_directories(home);
    fs::create_directories(runtime);
  }
  RunResult run(const std::string& letter) {
    return runProgram({letter, "/nodsp"},
                      {{"NODRA3000_DRIVES", terminal.string()},
                       {"NODRA3000_HOME", home.string()},
                       {"XDG_RUNTIME_DIR", runtime.string()},
                       {"LC_ALL", "sk_SK.UTF-8"}},
                      dir.path());
  }
  TempFolder dir;
  fs::path terminal = dir / "NODRA";
  fs::path home = dir / "home";
  fs::path runtime = dir / "run";
};

TEST_P(RoundTrip, ItemsComeBackAsTheyWentIn) {
  const RoundTripCase& c = GetParam();
  writeFile(home / "data_in.txt", c.input);
  writeFile(home / "nodra3000.ini",
            std::string("[PATHS]\r\npath_ins=") + (home / "data_in.txt").string() + "\r\n" + c.inputSettings);
  RunResult fill = run("O");
  ASSERT_EQ(fill.exitCode, c.fillExit) << fill.stderrText;
  ASSERT_TRUE(fs::exists(terminal / "DATA" / "data_in.txt"));
  standin::playTerminal(terminal);
  EXPECT_FALSE(fs::exists(terminal / "DATA" / "data_in.txt"));
  RunResult readOut = run("V");
  ASSERT_EQ(readOut.exitCode, 0) << readOut.stderrText;
  EXPECT_EQ(readFile(home / "data_outv.txt"), c.expectedOut);
}

const std::string kDelimitedOut =
    "4711;12.50;3.00;Chlieb\r\n8586000123456;0.12;148.00;Rook tukov\r\n9001;1234.57;-2.50;Kva zrnkov 1kg\r\n";

INSTANTIATE_TEST_SUITE_P(
    Layouts, RoundTrip,
    ::testing::Values(
        RoundTripCase{"Delimiter", "",
                      "4711;12,50;3;Chlieb\r\n8586000123456;0.12;148;Rožok tukový\r\n"
                      "9001;1234.567;-2,5;Káva zrnková 1kg\r\n",
                      kDelimitedOut},
        RoundTripCase{"DelimiterWithABadLine", "",
                      "4711;12,50;3;Chlieb\r\nbad;x;1;Zlý riadok\r\n\r\n8586000123456;0.12;148;Rožok tukový\r\n"
                      "9001;1234.567;-2,5;Káva zrnková 1kg\r\n",
                      kDelimitedOut, 1},
        RoundTripCase{"FixedLength",
                      "[InFormat Oddelovac]\r\nOdd_ISK=0\r\n[InFormat Pevna_dlzka]\r\nPevna_dl_ISK=1\r\nKOD_zac=0\r\n"
                      "KOD_dlzka=13\r\nPOC_zac=14\r\nPOC_dlzka=6\r\nCEN_zac=21\r\nCEN_dlzka=8\r\nNAZ_zac=30\r\n"
                      "NAZ_dlzka=20\r\n",
                      "4711          3      12,50    Chlieb\r\n"
                      "8586000123456 148     0.12    Rožok tukový\r\n",
                      "4711;12.50;3.00;Chlieb\r\n8586000123456;0.12;148.00;Rook tukov\r\n"},
        RoundTripCase{"Old", "[InFormat Oddelovac]\r\nOdd_ISK=0\r\n[InFormat Old]\r\nOld_ISK=1\r\n",
                      "4711 12,50 3   Chlieb\r\n8586000123456\r\n0.12 148 Rožok tukový\r\n",
                      "4711;12.50;3.00;Chlieb\r\n8586000123456;0.12;148.00;Rook tukov\r\n"}),
    [](const ::testing::TestParamInfo<RoundTripCase>& param) { return std::string(param.param.name); });

TEST(RoundTripRefusal, NoInputLayoutLeavesTheTerminalAlone) {
  TempFolder dir;
  const fs::path terminal = dir / "NODRA";
  fs::copy(NODRA_DEMO_TERMINAL, terminal, fs::copy_options::recursive);
  fs::create_directories(dir / "home");
  writeFile(dir / "home" / "data_in.txt", "4711;1;1;x\r\n");
  writeFile(dir / "home" / "nodra3000.ini", "[InFormat Oddelovac]\r\nOdd_ISK=0\r\n");
  RunResult r =
      runProgram({"O", "/nodsp"},
                 {{"NODRA3000_DRIVES", terminal.string()}, {"NODRA3000_HOME", (dir / "home").string()}}, dir.path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.stderrText.find("Pozor...: "), std::string::npos) << r.stderrText;
  EXPECT_FALSE(fs::exists(terminal / "DATA" / "data_in.txt"));
  EXPECT_FALSE(fs::exists(dir / "home" / "tmp_out.txt"));
}

}  // namespace
}  // namespace nodra::testing
