// What a batch run makes of the settings it loads: the output layout that the load order settles on, the
// layout flags a raw-mode run leaves alone, and the auto quantity that goes back to the card whole.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/run_program.h"

namespace nodra::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

// The demo terminal's first item as each output layout writes it with the default widths and decimals.
const std::string kCasioLine = "8586000123456     148.000      0.12   ";
const std::string kFixedLine = "  8586000123456    0.12  148.00Rook tukov 40g";
const std::string kDelimitedLine = "8586000123456;0.12;148.00;Rook tukov 40g";

struct LayoutCase {
  const char* label;
  const char* settings;                 // the local settings file before the run
  const char* letter;                   // the batch command
  const char* output;                   // the file it writes, in the program's folder
  std::vector<std::string> firstItem;   // the lines the first item gives, in their order
  std::size_t items;                    // items written
  std::vector<std::string> savedAfter;  // lines the local settings file holds after the run
};

TEST(LoadedSettings, TheOutputLayoutIsWhatTheLoadOrderGives) {
  const LayoutCase cases[] = {
      {"delimiter and fixed length set: the fixed length, read later, wins and is kept alone",
       "[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=1\r\n[OutFormat Oddelovac]\r\nOdd_OSK=1\r\n",
       "V",
       "data_outv.txt",
       {kFixedLine},
       36,
       {"Pevna_dl_OSK=1\r\n", "Odd_OSK=0\r\n", "CASIO1_OSK=0\r\n"}},
      {"three flags set in formatted mode: the fixed-length pick clears the later CASIO 1 flag",
       "[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=1\r\n[OutFormat Casio]\r\nCASIO1_OSK=1\r\n",
       "N",
       "data_outn.txt",
       {kFixedLine},
       30,
       {"Pevna_dl_OSK=1\r\n", "Odd_OSK=0\r\n", "CASIO1_OSK=0\r\n"}},
      {"raw mode: every set flag writes its line, and the flags are saved as they were loaded",
       "[GLOBAL]\r\nformatovatData=0\r\n[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=1\r\n[OutFormat Casio]\r\n"
       "CASIO1_OSK=1\r\n[OutFormat Old]\r\nOld_OSK=0\r\n",
       "N",
       "data_outn.txt",
       {kCasioLine, kFixedLine, kDelimitedLine},
       30,
       {"formatovatData=0\r\n", "Pevna_dl_OSK=1\r\n", "Odd_OSK=1\r\n", "CASIO1_OSK=1\r\n", "Old_OSK=0\r\n"}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.label);
    TempFolder dir;
    const fs::path card = dir / "NODRA";
    const fs::path home = dir / "home";
    fs::copy(NODRA_DEMO_TERMINAL, card, fs::copy_options::recursive);
    writeFile(home / "nodra3000.ini", c.settings);
    RunResult r = runProgram({c.letter, "/nodsp"},
                             {{"NODRA3000_DRIVES", card.string()},
                              {"NODRA3000_HOME", home.string()},
                              {"XDG_RUNTIME_DIR", dir.path().string()}},
                             dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const std::vector<std::string> written = lines(readFile(home / c.output));
    ASSERT_EQ(written.size(), c.items * c.firstItem.size());
    EXPECT_EQ(std::vector<std::string>(written.begin(), written.begin() + static_cast<long>(c.firstItem.size())),
              c.firstItem);
    const std::string saved = readFile(home / "nodra3000.ini");
    for (const std::string& line : c.savedAfter) EXPECT_NE(saved.find(line), std::string::npos) << line;
  }
}

// A clear request writes the terminal's settings back from what it read: the auto quantity keeps its first
// ten characters, however few of them the page's box lets the user type.
TEST(LoadedSettings, TheAutoQuantityGoesBackWhole) {
  const struct {
    const char* read;
    const char* written;
  } cases[] = {
      {"1.000", "1.000"}, {"1.234567", "1.234567"}, {"12345.6789", "12345.6789"}, {"12345678901", "1234567890"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.read);
    TempFolder dir;
    const fs::path card = dir / "NODRA";
    fs::copy(NODRA_DEMO_TERMINAL, card, fs::copy_options::recursive);
    const fs::path ini = card / "CONFIG" / "NODRA3000.ini";
    std::string text = readFile(ini);
    text.replace(text.find("AUTO=1.000"), 10, std::string("AUTO=") + c.read);
    writeFile(ini, text);
    RunResult r = runProgram({"z", "/nodsp"},
                             {{"NODRA3000_DRIVES", card.string()},
                              {"NODRA3000_HOME", (dir / "home").string()},
                              {"XDG_RUNTIME_DIR", dir.path().string()}},
                             dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_NE(readFile(ini).find(std::string("\r\nAUTO=") + c.written + "\r\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace nodra::testing
