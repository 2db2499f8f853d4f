#include <sys/stat.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <gtest/gtest.h>

#include "accounting/pohoda_import.h"
#include "platform/process_launch.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

// The launched program runs on its own; give it a while to leave its trace.
bool appears(const std::filesystem::path& file) {
  for (int i = 0; i < 500 && !std::filesystem::exists(file); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::filesystem::exists(file);
}

// A program that writes each argument it gets on a line of "args.txt" beside itself, then "done".
std::filesystem::path argumentRecorder(const TempFolder& dir) {
  auto script = dir / "bin" / "record args";
  writeFile(script,
            "#!/bin/sh\n"
            "out=\"$(dirname \"$0\")/args.txt\"\n"
            "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.tmp\"\n"
            "mv \"$out.tmp\" \"$out\"\n");
  ::chmod(script.c_str(), 0755);
  return script;
}

TEST(ProcessLaunch, ArgumentsArriveUnparsed) {
  TempFolder dir;
  auto script = argumentRecorder(dir);
  const std::vector<std::string> arguments = {script.string(), "a b", "; touch pwned", "$(id)", "'\"", ""};
  ASSERT_TRUE(launchProgram(arguments));
  ASSERT_TRUE(appears(dir / "bin" / "args.txt"));
  EXPECT_EQ(readFile(dir / "bin" / "args.txt"), "a b\n; touch pwned\n$(id)\n'\"\n\n");
  EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST(ProcessLaunch, NameWithoutSlashIsLookedUpInPath) {
  TempFolder dir;
  ASSERT_TRUE(launchProgram({"touch", (dir / "made by touch").string()}));
  EXPECT_TRUE(appears(dir / "made by touch"));
}

TEST(ProcessLaunch, ProgramThatCannotStartIsReported) {
  TempFolder dir;
  writeFile(dir / "not executable", "#!/bin/sh\n");
  EXPECT_FALSE(launchProgram({}));
  EXPECT_FALSE(launchProgram({""}));
  EXPECT_FALSE(launchProgram({(dir / "missing").string()}));
  EXPECT_FALSE(launchProgram({(dir / "not executable").string()}));
  EXPECT_FALSE(launchProgram({"nodra-no-such-program-in-path"}));
}

// Children of this process that have ended but were never collected.
int zombieChildren() {
  int zombies = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string stat = readFile(entry.path() / "stat");
    std::size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 4 > stat.size()) continue;
    // After the command's closing parenthesis: state, then the parent's id.
    char state = stat[close + 2];
    long parent = std::strtol(stat.c_str() + close + 4, nullptr, 10);
    if (state == 'Z' && parent == static_cast<long>(::getpid())) ++zombies;
  }
  return zombies;
}

TEST(ProcessLaunch, EndedProgramsAreCollected) {
  TempFolder dir;
  ASSERT_TRUE(launchProgram({"touch", (dir / "ended").string()}));
  ASSERT_TRUE(appears(dir / "ended"));
  // Past its last step, so an uncollected program would be a zombie by now.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  int zombies = 0;
  for (int i = 0; i < 500 && (zombies = zombieChildren()) > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(zombies, 0);
}

TEST(PohodaImport, CommandComesFromItsSectionOfTheLocalSettings) {
  TempFolder dir;
  writeFile(dir / "nodra3000.ini",
            "[GLOBAL]\r\nuse_tbl=0\r\n[POHODA]\r\nexe=/opt/pohoda/pohoda\r\nuser=Šimon\r\n"
            "password=\"  heslo s medzerami \"\r\nconfig=/opt/pohoda/import zásob.xml\r\n");
  ProfileFile settings(dir / "nodra3000.ini", "nodra3000.ini");
  PohodaImportCommand c = readPohodaImportCommand(settings);
  const std::vector<std::string> expected = {"/opt/pohoda/pohoda", "/XML", "Šimon", "  heslo s medzerami ",
                                             "/opt/pohoda/import zásob.xml"};
  EXPECT_EQ(pohodaImportArguments(c), expected);

  ProfileFile empty(dir / "none.ini", "none.ini");
  c = readPohodaImportCommand(empty);
  EXPECT_TRUE(c.executable.empty() && c.user.empty() && c.password.empty() && c.configFile.empty());
}

TEST(PohodaImport, LaunchesWithTheFiveItemsInTheSystemsText) {
  TempFolder dir;
  auto script = argumentRecorder(dir);
  PohodaImportCommand c{script.string(), "Šimon", "he slo;$(x)", "/opt/import zásob.xml"};
  ASSERT_EQ(launchPohodaImport(c), PohodaLaunch::Started);
  ASSERT_TRUE(appears(dir / "bin" / "args.txt"));
  EXPECT_EQ(readFile(dir / "bin" / "args.txt"), "/XML\n\xC5\xA0imon\nhe slo;$(x)\n/opt/import z\xC3\xA1sob.xml\n");
}

TEST(PohodaImport, UnsetOrMissingExecutableStartsNothing) {
  EXPECT_EQ(launchPohodaImport({"", "u", "p", "c"}), PohodaLaunch::ExecutableUnset);
  EXPECT_EQ(launchPohodaImport({"/nonexistent/Pohoda.exe", "u", "p", "c"}), PohodaLaunch::Failed);
  Message m = pohodaImportUnsetMessage();
  EXPECT_NE(m.text.find("[POHODA]"), std::string::npos);
  EXPECT_EQ(m.outcome, Outcome::Failure);
}

}  // namespace
}  // namespace nodra
