// Failures of the start-up, the local settings file and the batch command line, as the built program shows
// them: the message, the exit code, and what the files hold afterwards. (The other failures have their cases
// in the area suites and in fault_test.cpp.)
#include <gtest/gtest.h>

#include <functional>

#include "e2e/run_program.h"
#include "platform/cp1250.h"

namespace nodra::testing {
namespace {

namespace fs = std::filesystem;

struct Rig {
  TempFolder dir;
  fs::path card = dir / "NODRA";
  fs::path home = dir / "home";
  fs::path runtime = dir / "run";

  Rig() {
    fs::copy(NODRA_DEMO_TERMINAL, card, fs::copy_options::recursive);
    fs::create_directories(home);
    fs::create_directories(runtime);
  }
  RunResult run(const std::vector<std::string>& args, const fs::path& drives = {}) {
    return runProgram(args,
                      {{"NODRA3000_DRIVES", drives.empty() ? card.string() : drives.string()},
                       {"NODRA3000_HOME", home.string()},
                       {"XDG_RUNTIME_DIR", runtime.string()}},
                      dir.path());
  }
  std::string settingsWith(std::string_view lines) const {
    return std::string("[PATHS]\r\npath_outv=") + (home / "vsetky.txt").string() + "\r\n" + std::string(lines);
  }
};

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The program's own settings file: whatever is wrong with it, the command still runs; only a failed save is
// reported, once (the close stops at its first failure; the message has three lines, the reason last), and the
// run then ends with 1.
TEST(LocalSettingsFailure, TheCommandRunsAndOnlyAFailedSaveIsReported) {
  struct Case {
    const char* label;
    std::function<void(Rig&)> arrange;
    int exitCode;
    std::size_t saveFailures;
    std::function<void(Rig&)> afterwards;
    std::vector<std::string> alsoTold = {};  // one line each
  };
  const std::string unableToWrite = "Unable to write to ";
  const Case cases[] = {
      {"an old-named file beside the current one is left alone, the current one counts",
       [](Rig& s) {
         writeFile(s.home / "nodra3000.ini", s.settingsWith(""));
         writeFile(s.home / "nodra_mmc_trm.ini", "[PATHS]\r\npath_outv=" + (s.home / "stary.txt").string() + "\r\n");
       },
       0, 0,
       [](Rig& s) {
         EXPECT_TRUE(fs::exists(s.home / "vsetky.txt"));
         EXPECT_FALSE(fs::exists(s.home / "stary.txt"));
         EXPECT_EQ(readFile(s.home / "nodra_mmc_trm.ini"),
                   "[PATHS]\r\npath_outv=" + (s.home / "stary.txt").string() + "\r\n");
       }},
      {"an old-named file alone takes the current name and counts",
       [](Rig& s) { writeFile(s.home / "nodra_mmc_trm.ini", s.settingsWith("")); }, 0, 0,
       [](Rig& s) {
         EXPECT_TRUE(fs::exists(s.home / "vsetky.txt"));
         EXPECT_FALSE(fs::exists(s.home / "nodra_mmc_trm.ini"));
         EXPECT_NE(readFile(s.home / "nodra3000.ini").find("path_outv=" + (s.home / "vsetky.txt").string()),
                   std::string::npos);
       }},
      {"values that are no numbers give the defaults",
       [](Rig& s) {
         writeFile(s.home / "nodra3000.ini",
                   s.settingsWith("[GLOBAL]\r\nformatovatData=jeden\r\n[Format]\r\nPDM1_OSK=\r\nPDM2_OSK=2x\r\n"));
       },
       0, 0,
       [](Rig& s) {
         Rig defaults;
         writeFile(defaults.home / "nodra3000.ini", defaults.settingsWith(""));
         ASSERT_EQ(defaults.run({"V", "/nodsp"}).exitCode, 0);
         EXPECT_EQ(readFile(s.home / "vsetky.txt"), readFile(defaults.home / "vsetky.txt"));
         const std::string saved = readFile(s.home / "nodra3000.ini");
         EXPECT_NE(saved.find("formatovatData=1\r\n"), std::string::npos);
         EXPECT_NE(saved.find("PDM1_OSK=2\r\n"), std::string::npos);
       }},
      {"a file that cannot be read gives the defaults, and the save that cannot write is reported",
       [](Rig& s) { fs::create_directories(s.home / "nodra3000.ini"); }, 1, 1,
       [](Rig& s) {
         EXPECT_TRUE(fs::exists(s.home / "data_outv.txt"));  // the default path
         EXPECT_TRUE(fs::is_directory(s.home / "nodra3000.ini"));
       }},
      {"a write-protected folder keeps the file as it was",
       [](Rig& s) {
         writeFile(s.home / "nodra3000.ini", s.settingsWith("[GLOBAL]\r\nformatovatData=1\r\n"));
         fs::permissions(s.home, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                         fs::perm_options::remove);
       },
       1,
       1,
       [](Rig& s) {
         fs::permissions(s.home, fs::perms::owner_write, fs::perm_options::add);
         EXPECT_EQ(readFile(s.home / "nodra3000.ini"), s.settingsWith("[GLOBAL]\r\nformatovatData=1\r\n"));
       },
       // Outputs in that folder cannot be replaced whole either, and are kept rather than written over.
       {"vsetky.txt sa nepodarilo otvorit", "zostavy.txt sa nepodarilo otvorit",
        "data_outn.txt sa nepodarilo otvorit"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Rig s;
    c.arrange(s);
    RunResult r = s.run({"V", "/nodsp"});
    EXPECT_EQ(r.exitCode, c.exitCode) << r.stderrText;
    EXPECT_EQ(count(r.stderrText, unableToWrite), c.saveFailures) << r.stderrText;
    EXPECT_EQ(count(r.stderrText, "\n"), 3 * c.saveFailures + c.alsoTold.size()) << r.stderrText;
    for (const std::string& part : c.alsoTold) EXPECT_EQ(count(r.stderrText, part), 1u) << part;
    c.afterwards(s);
  }
}

// Without a terminal every command says so and ends with 3, having written nothing on the PC; the non-zero
// read-out in XML mode detects twice and says so twice.
TEST(BatchFailure, EveryCommandWithoutATerminal) {
  struct Case {
    const char* letter;
    int mode;
    std::size_t told;
  } cases[] = {{"V", 0, 1}, {"V", 1, 1}, {"V", 2, 1}, {"N", 1, 1}, {"N", 2, 2},
               {"P", 1, 1}, {"O", 1, 1}, {"Z", 1, 1}, {"z", 1, 1}};
  const std::string notConnected = cp1250::toUtf8(
      "NODRA nepripojená.: - skontrolujte pripojenie NODRA\n\n- zvoľte na NODRA voľbu PRENOS UDAJOV\n\n- vyberte "
      "žiadaný prenos\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.letter) + " in mode " + std::to_string(c.mode));
    Rig s;
    const std::string settings = "[GLOBAL]\r\nformatovatData=" + std::to_string(c.mode) + "\r\n";
    writeFile(s.home / "nodra3000.ini", settings);
    RunResult r = s.run({c.letter, "/nodsp"}, s.dir / "nowhere");
    EXPECT_EQ(r.exitCode, 3);
    std::string told;
    for (std::size_t i = 0; i < c.told; ++i) told += notConnected;
    EXPECT_EQ(r.stderrText, told);
    for (const auto& entry : fs::directory_iterator(s.home)) {
      EXPECT_EQ(entry.path().filename(), "nodra3000.ini");
    }
  }
}

}  // namespace
}  // namespace nodra::testing
