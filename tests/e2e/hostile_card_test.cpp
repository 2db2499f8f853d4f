// The built program against a card someone else prepared and against odd files on the PC: links, pipes,
// devices and sockets are refused with a message, no run hangs, nothing outside the card changes, no byte from
// outside the card reaches a PC file, and no replaced file keeps a set-ID, sticky or execute bit.
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <thread>

#include "e2e/run_program.h"
#include "platform/cp1250.h"

namespace nodra::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

constexpr auto kPatience = std::chrono::seconds(10);
const std::string kSecret = "TAJNE-outside-the-card-4711";

// The run, or -1 and a killed process when it did not end in time.
RunResult runWithin(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                    const fs::path& scratch) {
  const pid_t pid = startProgram(args, env, scratch);
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      RunResult hung;
      hung.stderrText = "did not end within the patience: " + readFile(scratch / "stderr.txt");
      return hung;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  RunResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.stderrText = readFile(scratch / "stderr.txt");
  return r;
}

// A copy of the demo terminal, the program's folder, and a folder outside the card with a private file.
struct Scene {
  TempFolder dir;
  fs::path card = dir / "NODRA";
  fs::path home = dir / "home";
  fs::path outside = dir / "outside";

  Scene() {
    fs::copy(NODRA_DEMO_TERMINAL, card, fs::copy_options::recursive);
    writeFile(card / "DATA" / "ZOST_OUT.TXT", "4711;1.5;2;Mlieko;2026-12-01;1;P;D1;123;\r\n");
    writeFile(outside / "secret.txt", kSecret + ";1;1;" + kSecret + ";\r\n");
    writeFile(outside / "DATA_OUT.TXT", kSecret + ";1;1;" + kSecret + ";\r\n");
    writeFile(outside / "NODRA3000.ini", "[GLOBAL]\r\nSECRET=" + kSecret + "\r\n");
    fs::create_directories(home);
    writeFile(home / "data_in.txt", "4711;12,50;3;Chlieb\r\n");
  }
  std::map<std::string, std::string> env() const {
    return {{"NODRA3000_DRIVES", card.string()}, {"NODRA3000_HOME", home.string()}};
  }
  RunResult run(const std::vector<std::string>& args) { return runWithin(args, env(), dir.path()); }
  // What lies outside the card: the program's folder and the private folder.
  Files pcFiles() const {
    Files files;
    for (const auto& [name, bytes] : filesUnder(home)) files["home/" + name] = bytes;
    for (const auto& [name, bytes] : filesUnder(outside)) files["outside/" + name] = bytes;
    return files;
  }
};

enum class Kind { Link, Fifo, CharDevice, Socket };

// Puts `kind` at `relative` (a path on the card) in place of what stood there. False when the machine does not
// allow it (device nodes need privileges).
bool plant(Scene& s, Kind kind, const std::string& relative, bool folder) {
  const fs::path at = s.card / relative;
  fs::remove_all(at);
  fs::create_directories(at.parent_path());
  switch (kind) {
    case Kind::Link:
      if (folder) {
        // The folder's own files, but outside: what a link would lead the program to.
        fs::create_directories(s.outside / relative);
        if (fs::exists(fs::path(NODRA_DEMO_TERMINAL) / relative)) {
          fs::copy(fs::path(NODRA_DEMO_TERMINAL) / relative, s.outside / relative,
                   fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        }
        writeFile(s.outside / relative / "DATA_OUT.TXT", kSecret + ";1;1;" + kSecret + ";\r\n");
        fs::create_symlink(s.outside / relative, at);
      } else {
        fs::create_symlink(s.outside / (relative.find("ini") != std::string::npos ? "NODRA3000.ini" : "secret.txt"),
                           at);
      }
      return true;
    case Kind::Fifo: return ::mkfifo(at.c_str(), 0644) == 0;
    case Kind::CharDevice: return ::mknod(at.c_str(), S_IFCHR | 0644, makedev(1, 5)) == 0;  // reads like /dev/zero
    case Kind::Socket: {
      int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      if (at.string().size() >= sizeof address.sun_path) return false;
      std::snprintf(address.sun_path, sizeof address.sun_path, "%s", at.c_str());
      const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
      ::close(fd);
      return bound;
    }
  }
  return false;
}

struct Place {
  const char* label;
  const char* relative;
  bool folder;
};

const Place kPlaces[] = {
    {"settings file", "CONFIG/NODRA3000.ini", false},
    {"store file", "DATA/DATA_OUT.TXT", false},
    {"DATA folder", "DATA", true},
    {"PROGRAM folder", "PROGRAM", true},
    {"CONFIG folder", "CONFIG", true},
};

struct KindCase {
  const char* label;
  Kind kind;
  const char* says;  // what the message calls it
};

const KindCase kKinds[] = {
    {"link", Kind::Link, "je symbolický odkaz"},
    {"FIFO", Kind::Fifo, "je pomenovaná rúra (FIFO)"},
    {"character device", Kind::CharDevice, "je znakové zariadenie"},
    {"socket", Kind::Socket, "je soket"},
};

// Every batch letter on every hostile scene: refused before any data moves.
TEST(HostileCard, IsRefusedByEveryCommandAndNothingOutsideItChanges) {
  std::string notAllowed;
  for (const Place& place : kPlaces) {
    for (const KindCase& kind : kKinds) {
      SCOPED_TRACE(std::string(kind.label) + " as the " + place.label);
      Scene scene;
      // The settings file as every later close writes it, so that a run that writes nothing leaves it as it is.
      ASSERT_EQ(scene.run({"X", "/nodsp"}).exitCode, 2);
      if (!plant(scene, kind.kind, place.relative, place.folder)) {
        // Device nodes need privileges: the other rows still run.
        notAllowed += std::string(" ") + kind.label + " as the " + place.label + ";";
        continue;
      }
      const Files pcBefore = scene.pcFiles();
      const Files cardBefore = filesUnder(scene.card);
      for (const char* letter : {"V", "N", "P", "O", "Z", "z"}) {
        SCOPED_TRACE(letter);
        const RunResult r = scene.run({letter, "/nodsp"});
        EXPECT_EQ(r.exitCode, 1) << r.stderrText;
        const std::string says = cp1250::toUtf8(kind.says);
        EXPECT_NE(r.stderrText.find((scene.card / place.relative).string() + " " + says), std::string::npos)
            << r.stderrText;
        EXPECT_NE(r.stderrText.find(cp1250::toUtf8("Karta nebola použitá")), std::string::npos) << r.stderrText;
        EXPECT_EQ(scene.pcFiles(), pcBefore);
        EXPECT_EQ(filesUnder(scene.card), cardBefore);
        for (const auto& [name, bytes] : scene.pcFiles()) {
          if (name.rfind("home/", 0) == 0) {
            EXPECT_EQ(bytes.find(kSecret), std::string::npos) << name;
          }
        }
      }
    }
  }
  if (!notAllowed.empty()) {
    GTEST_SKIP() << "this machine does not allow:" << notAllowed;
  }
}

// A second terminal after a refused card is still found, as a second drive letter would be.
TEST(HostileCard, ARealTerminalLaterInTheOrderIsUsed) {
  Scene scene;
  ASSERT_TRUE(plant(scene, Kind::Link, "CONFIG/NODRA3000.ini", false));
  const fs::path real = scene.dir / "REAL";
  fs::copy(NODRA_DEMO_TERMINAL, real, fs::copy_options::recursive);
  auto env = scene.env();
  env["NODRA3000_DRIVES"] = scene.card.string() + ":" + real.string();
  const RunResult r = runWithin({"V", "/nodsp"}, env, scene.dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(readFile(scene.home / "data_outv.txt").find(kSecret), std::string::npos);
  EXPECT_FALSE(readFile(scene.home / "data_outv.txt").empty());
}

mode_t modeOf(const fs::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Every file the batch commands replace, standing there before with set-ID, sticky and execute bits: the new
// file keeps none of them (the umask of the run is 022).
TEST(ReplacedFiles, KeepNoSpecialOrExecuteBit) {
  struct Writer {
    const char* label;
    std::vector<std::string> args;
    int mode;                        // formatovatData
    std::vector<std::string> files;  // relative to the scene
  };
  const Writer writers[] = {
      {"terminal settings", {"Z", "/nodsp"}, 1, {"NODRA/CONFIG/NODRA3000.ini", "home/nodra3000.ini"}},
      {"input records", {"O", "/nodsp"}, 1, {"NODRA/DATA/data_in.txt"}},
      {"formatted outputs", {"V", "/nodsp"}, 1, {"home/data_outv.txt", "home/data_outn.txt", "home/zostavy.txt"}},
      {"raw copies", {"V", "/nodsp"}, 0, {"home/DATA_OUT.TXT", "home/VP_OUT.TXT", "home/ZOST_OUT.TXT"}},
      {"XML outputs", {"V", "/nodsp"}, 2, {"home/DATA_OUT.XML", "home/ZOST_OUT.XML", "home/DATA_OUTN.XML"}},
  };
  const mode_t oldMask = ::umask(022);
  for (const Writer& w : writers) {
    for (mode_t before : {mode_t{04755}, mode_t{02775}, mode_t{01777}}) {
      SCOPED_TRACE(std::string(w.label) + " over mode " + std::to_string(before));
      Scene scene;
      writeFile(scene.home / "nodra3000.ini", "[GLOBAL]\r\nformatovatData=" + std::to_string(w.mode) + "\r\n");
      for (const std::string& file : w.files) {
        if (!fs::exists(scene.dir / file)) writeFile(scene.dir / file, "old\r\n");
        ASSERT_EQ(::chmod((scene.dir / file).c_str(), before), 0);
      }
      const RunResult r = scene.run(w.args);
      EXPECT_EQ(r.exitCode, 0) << r.stderrText;
      for (const std::string& file : w.files) {
        EXPECT_NE(readFile(scene.dir / file), "old\r\n") << file;
        EXPECT_EQ(modeOf(scene.dir / file) & 07111, 0u) << file << " has mode " << modeOf(scene.dir / file);
      }
    }
  }
  ::umask(oldMask);
}

// The user's own files may be odd too: a pipe or a device where a file is expected is refused, never waited on.
TEST(PcSpecialFiles, AreRefusedWithAMessageAndNoRunHangs) {
  struct Case {
    const char* label;
    std::vector<std::string> args;
    std::string settings;  // lines of nodra3000.ini
    std::string fifo;      // relative to the program's folder
    const char* says;
  };
  const Case cases[] = {
      {"input file", {"O", "/nodsp"}, "", "data_in.txt", " Vstupný súbor sa nedá otvoriť "},
      {"code table",
       {"O", "/nodsp"},
       "[GLOBAL]\r\nuse_tbl=1\r\n",
       "codepage.tbl",
       "Súbor codepage.tbl sa nedá otvoriť"},
      {"local settings", {"V", "/nodsp"}, "", "nodra3000.ini", "Unable to write to "},
      {"formatted output", {"V", "/nodsp"}, "", "data_outv.txt", "data_outv.txt sa nepodarilo otvorit"},
      {"work file", {"V", "/nodsp"}, "", "tmp_in.txt", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Scene scene;
    writeFile(scene.home / "nodra3000.ini", c.settings);
    fs::remove(scene.home / c.fifo);
    ASSERT_EQ(::mkfifo((scene.home / c.fifo).c_str(), 0644), 0);
    const RunResult r = scene.run(c.args);
    if (std::string(c.says).empty()) {
      // A work file is the program's own: whatever stands at its name is replaced by a fresh file.
      EXPECT_EQ(r.exitCode, 0) << r.stderrText;
      EXPECT_TRUE(fs::is_regular_file(scene.home / c.fifo));
      continue;
    }
    EXPECT_EQ(r.exitCode, 1) << r.stderrText;
    EXPECT_NE(r.stderrText.find(cp1250::toUtf8(c.says)), std::string::npos) << r.stderrText;
    EXPECT_NE(r.stderrText.find(cp1250::toUtf8("je pomenovaná rúra (FIFO)")), std::string::npos) << r.stderrText;
    struct stat st {};
    ASSERT_EQ(::lstat((scene.home / c.fifo).c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe was replaced";
  }
}

// A program folder anybody may write into, or one whose name the settings cannot hold, is refused before
// anything is read or written there.
TEST(ProgramFolder, SharedOrUnnamableFoldersAreRefusedAtStart) {
  struct Case {
    const char* label;
    std::function<fs::path(Scene&)> folder;
    const char* says;
    const char* variable = "NODRA3000_HOME";  // names `folder`, or its parent for XDG_DATA_HOME
  };
  // A folder of the scene made with `mode`.
  auto withMode = [](const char* name, mode_t mode) {
    return [name, mode](Scene& s) {
      fs::create_directories(s.dir / name);
      ::chmod((s.dir / name).c_str(), mode);
      return s.dir / name;
    };
  };
  const Case cases[] = {
      {"a name without a Windows-1250 form", [](Scene& s) { return s.dir / "sklad_\xD0\xB6"; },  // "ж" in UTF-8
       "nemajú tvar vo Windows-1250"},
      {"a data home without a Windows-1250 form", [](Scene& s) { return s.dir / "xdg_\xD0\xB6"; },
       "nemajú tvar vo Windows-1250", "XDG_DATA_HOME"},
      {"writable by anybody", withMode("shared", 01777), "môže zapisovať ktokoľvek"},
      {"writable by its group", withMode("team", 0775), "aj ďalší členovia jeho skupiny"},
      {"another user's",
       [](Scene& s) {
         fs::create_directories(s.dir / "foreign");
         if (::chown((s.dir / "foreign").c_str(), 65534, 65534) != 0) return fs::path();
         return s.dir / "foreign";
       },
       "patrí inému používateľovi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Scene scene;
    const fs::path folder = c.folder(scene);
    if (folder.empty()) {
      std::cout << "only root can give a folder to another user: not tried\n";
      continue;
    }
    const bool existed = fs::exists(folder);
    auto env = scene.env();
    env["NODRA3000_HOME"] = "";
    env[c.variable] = folder.string();
    const RunResult r = runWithin({"V", "/nodsp"}, env, scene.dir.path());
    EXPECT_EQ(r.exitCode, 1) << r.stderrText;
    EXPECT_EQ(r.stderrText.rfind("Nejde spustit: ", 0), 0u) << r.stderrText;
    EXPECT_NE(r.stderrText.find(cp1250::toUtf8(c.says)), std::string::npos) << r.stderrText;
    EXPECT_EQ(fs::exists(folder), existed);
    if (existed) {
      EXPECT_TRUE(fs::is_empty(folder));
    }
  }
}

}  // namespace
}  // namespace nodra::testing
