// The built program against faults of the card and of the PC: every batch command tells the user what failed,
// ends with the failure's exit code, and leaves each file on the card and on the PC as it was or complete.
// Mounts (a small tmpfs for a full card, read-only bind mounts) are made in a mount namespace of the test's own
// and skipped where the machine does not allow them.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/fanotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "e2e/run_program.h"
#include "platform/atomic_file.h"
#include "platform/cp1250.h"

namespace nodra::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

// Every file under `root` by its path relative to it, with its bytes; folders as "<folder>". The scene's own
// path inside a file (the local settings hold it) reads as "<scene>", so two scenes compare.
Files snapshot(const fs::path& root, const fs::path& scene) {
  Files files = filesUnder(root);
  const std::string scenePath = scene.string();
  for (auto& [name, bytes] : files) {
    for (std::size_t at = bytes.find(scenePath); at != std::string::npos; at = bytes.find(scenePath, at)) {
      bytes.replace(at, scenePath.size(), "<scene>");
    }
  }
  return files;
}

// Each file after a run is the one before it or the one a healthy run wrote; no other file appeared.
void expectOldOrComplete(const Files& before, const Files& after, const Files& healthy) {
  for (const auto& [name, bytes] : after) {
    auto old = before.find(name);
    auto complete = healthy.find(name);
    const bool asItWas = old != before.end() && old->second == bytes;
    const bool asComplete = complete != healthy.end() && complete->second == bytes;
    EXPECT_TRUE(asItWas || asComplete) << name << " is neither as it was nor complete:\n" << bytes;
  }
  for (const auto& [name, bytes] : before) {
    EXPECT_TRUE(after.count(name) != 0 || healthy.count(name) == 0) << name << " went missing";
  }
}

// Mounts of the test process's own, gone when it ends. False where the machine does not allow them.
bool privateMounts() {
  static const bool allowed = [] {
    if (::unshare(CLONE_NEWNS) != 0) return false;
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  }();
  return allowed;
}

class Mount {
 public:
  // A tmpfs of `kilobytes` at `at`.
  static std::unique_ptr<Mount> smallDisk(const fs::path& at, int kilobytes) {
    if (!privateMounts()) return nullptr;
    fs::create_directories(at);
    const std::string options = "size=" + std::to_string(kilobytes) + "k,nr_inodes=1000";
    if (::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) != 0) return nullptr;
    return std::unique_ptr<Mount>(new Mount(at));
  }
  // `folder` itself, read-only: even root cannot write there.
  static std::unique_ptr<Mount> readOnly(const fs::path& folder) {
    if (!privateMounts()) return nullptr;
    if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return nullptr;
    auto m = std::unique_ptr<Mount>(new Mount(folder));
    if (::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) return nullptr;
    return m;
  }
  ~Mount() { ::umount2(at_.c_str(), MNT_DETACH); }
  Mount(const Mount&) = delete;
  Mount& operator=(const Mount&) = delete;

 private:
  explicit Mount(fs::path at) : at_(std::move(at)) {}
  fs::path at_;
};

// Fills the file system of `folder` to the last byte.
void fillUp(const fs::path& folder) {
  int fd = ::open((folder / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  std::string block(4096, 'f');
  while (::write(fd, block.data(), block.size()) > 0) {
  }
  while (::write(fd, block.data(), 1) > 0) {
  }
  ::close(fd);
}

// Read-out modes (formatovatData).
constexpr int kRaw = 0;
constexpr int kFormatted = 1;
constexpr int kXml = 2;

// A copy of the demo terminal, a program folder holding last run's outputs, and a lock folder.
struct Scene {
  TempFolder dir;
  fs::path card = dir / "NODRA";
  fs::path home = dir / "home";
  fs::path runtime = dir / "run";
  fs::path out = dir / "out";  // the output files' folder

  explicit Scene(int mode, const fs::path& cardAt = {}) {
    if (!cardAt.empty()) card = cardAt;
    fs::create_directories(card);
    fs::copy(NODRA_DEMO_TERMINAL, card, fs::copy_options::recursive);
    for (const fs::path& folder : {home, runtime, out}) fs::create_directories(folder);
    const std::string o = out.string() + "/";
    writeFile(home / "nodra3000.ini", "[GLOBAL]\r\nformatovatData=" + std::to_string(mode) +
                                          "\r\n[PATHS]\r\npath_ins=" + o + "data_in.txt\r\npath_outv=" + o +
                                          "data_outv.txt\r\npath_outn=" + o + "data_outn.txt\r\npath_zostava=" + o +
                                          "zostavy.txt\r\npath_suroveData=" + o + "surove\r\npath_xmlOut=" + o +
                                          "xml\r\n");
    writePreviousOutputs();
  }

  // What the previous run left: a fault must not spoil it.
  void writePreviousOutputs() const {
    for (const char* name : {"data_outv.txt", "data_outn.txt", "zostavy.txt", "DATA_OUT.TXT", "ZOST_OUT.TXT",
                             "VP_OUT.TXT", "DATA_OUT.XML", "DATA_OUTN.XML", "ZOST_OUT.XML", "VP_OUT.XML"}) {
      writeFile(out / name, std::string("predosly vystup ") + name + "\r\n");
    }
    writeFile(out / "data_in.txt", "4711;12,50;3;Chlieb\r\n4712;1;2;Rozok\r\n");
  }

  RunResult run(const std::vector<std::string>& args, const fs::path& scratch = {}) {
    return runProgram(
        args,
        {{"NODRA3000_DRIVES", card.string()}, {"NODRA3000_HOME", home.string()}, {"XDG_RUNTIME_DIR", runtime.string()}},
        scratch.empty() ? dir.path() : scratch);
  }
  Files cardFiles() const { return snapshot(card, dir.path()); }
  Files pcFiles() const { return snapshot(out, dir.path()); }
};

struct CommandCase {
  const char* label;
  std::vector<std::string> args;
  int mode;
  int exitCode;
  std::vector<std::string> says;  // parts of what the user is told
};

std::string show(const CommandCase& c) { return std::string(c.label) + " (mode " + std::to_string(c.mode) + ")"; }

// The PC files a healthy run of the command writes.
Files healthyRun(const CommandCase& c) {
  Scene healthy(c.mode);
  RunResult r = healthy.run(c.args);
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  return healthy.pcFiles();
}

void expectTold(const RunResult& r, const CommandCase& c) {
  EXPECT_EQ(r.exitCode, c.exitCode) << r.stderrText;
  // The console shows the texts in UTF-8.
  for (const std::string& part : c.says) {
    EXPECT_NE(r.stderrText.find(cp1250::toUtf8(part)), std::string::npos) << cp1250::toUtf8(part) << "\n"
                                                                          << r.stderrText;
  }
  if (c.exitCode == 0) {
    EXPECT_EQ(r.stderrText, "");
  }
}

const char* const kCopyFailed = "Pozor...: Nepodarilo sa nakopírovať súbor do NODRA.";
const char* const kUnableToWrite = "Unable to write to ";

// Read-outs only read the card: a protected or full card changes nothing for them.
const std::vector<CommandCase> kProtectedCard{
    {"V formatted", {"V", "/nodsp"}, kFormatted, 0, {}},
    {"V raw", {"V", "/nodsp"}, kRaw, 0, {}},
    {"V XML", {"V", "/nodsp"}, kXml, 0, {}},
    {"N", {"N", "/nodsp"}, kFormatted, 0, {}},
    {"P", {"P", "/nodsp"}, kFormatted, 0, {}},
    {"O", {"O", "/nodsp"}, kFormatted, 1, {kCopyFailed}},
    {"Z", {"Z", "/nodsp"}, kFormatted, 1, {kUnableToWrite, "NODRA3000.ini"}},
    {"z", {"z", "/nodsp"}, kFormatted, 1, {kUnableToWrite, "NODRA3000.ini"}},
};

// Runs each command on a card the set-up spoils, and checks the message, the exit code and the files.
template <typename SetUp>
void runAgainstFault(const std::vector<CommandCase>& cases, SetUp spoil) {
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(show(c));
    const Files healthy = healthyRun(c);
    Scene scene(c.mode);
    const Files cardBefore = scene.cardFiles();
    const Files pcBefore = scene.pcFiles();
    auto fault = spoil(scene);
    if (!fault) GTEST_SKIP() << "the machine does not allow the mount this fault needs";
    RunResult r = scene.run(c.args);
    expectTold(r, c);
    EXPECT_EQ(scene.cardFiles(), cardBefore);
    expectOldOrComplete(pcBefore, scene.pcFiles(), healthy);
    if (c.exitCode == 0) {
      EXPECT_EQ(scene.pcFiles(), healthy);
    }
  }
}

// Gives a write-protected folder its write permission back, so the scene can be removed.
struct WriteProtection {
  fs::path folder;
  ~WriteProtection() {
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(folder, ec)) {
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add, ec);
  }
};

constexpr fs::perms kAllWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

// Write protection as the permission bits give it: root passes them, so the program has to honour them itself.
std::unique_ptr<WriteProtection> writeProtect(const fs::path& folder) {
  auto undo = std::make_unique<WriteProtection>(WriteProtection{folder});
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    fs::permissions(e.path(), kAllWrite, fs::perm_options::remove);
  }
  fs::permissions(folder, kAllWrite, fs::perm_options::remove);
  return undo;
}

TEST(CardFault, WriteProtectedByItsPermissions) {
  runAgainstFault(kProtectedCard, [](Scene& s) { return writeProtect(s.card); });
}

TEST(CardFault, WriteProtectedMedium) {
  runAgainstFault(kProtectedCard, [](Scene& s) { return Mount::readOnly(s.card); });
}

TEST(CardFault, Full) {
  // The card is a small disk of its own, filled up after the demo terminal was copied onto it.
  for (const CommandCase& c : kProtectedCard) {
    SCOPED_TRACE(show(c));
    const Files healthy = healthyRun(c);
    TempFolder place;
    auto disk = Mount::smallDisk(place / "card", 256);
    if (!disk) GTEST_SKIP() << "the machine does not allow a small tmpfs";
    Scene scene(c.mode, place / "card");
    fillUp(scene.card);
    const Files cardBefore = scene.cardFiles();
    const Files pcBefore = scene.pcFiles();
    RunResult r = scene.run(c.args);
    expectTold(r, c);
    EXPECT_EQ(scene.cardFiles(), cardBefore);
    expectOldOrComplete(pcBefore, scene.pcFiles(), healthy);
  }
}

// The card goes away between the detection and the first access after it. The test watches the terminal's
// settings file with fanotify's permission events: the detection's open of it waits until the test has taken
// everything off the card (the mount point stays, empty, as after an unmount) and then lets the open go
// through. Needs the privilege to watch; without it the fault is skipped.
class CardTakenAway {
 public:
  CardTakenAway(const fs::path& card, const fs::path& stash) : card_(card), stash_(stash) {
    watch_ = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC, O_RDONLY | O_CLOEXEC);
    const fs::path ini = card / "CONFIG" / "NODRA3000.ini";
    if (watch_ < 0 || ::fanotify_mark(watch_, FAN_MARK_ADD, FAN_OPEN_PERM, AT_FDCWD, ini.c_str()) != 0) return;
    watching_ = true;
    feeder_ = std::thread([this] { answer(); });
  }
  ~CardTakenAway() {
    stop_ = true;
    if (feeder_.joinable()) feeder_.join();
    if (watch_ >= 0) ::close(watch_);
  }
  bool watching() const { return watching_; }
  bool taken() const { return taken_; }

 private:
  void answer() {
    alignas(fanotify_event_metadata) char buffer[4096];
    while (!stop_) {
      pollfd p{watch_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const ssize_t n = ::read(watch_, buffer, sizeof buffer);
      if (n <= 0) continue;
      auto* event = reinterpret_cast<fanotify_event_metadata*>(buffer);
      for (ssize_t left = n; FAN_EVENT_OK(event, left); event = FAN_EVENT_NEXT(event, left)) {
        // The first open by the program is the detection's: the card goes before it returns.
        if (!taken_ && event->pid != ::getpid()) {
          fs::create_directories(stash_);
          for (const auto& entry : fs::directory_iterator(card_))
            fs::rename(entry.path(), stash_ / entry.path().filename());
          taken_ = true;
        }
        fanotify_response allow{event->fd, FAN_ALLOW};
        (void)!::write(watch_, &allow, sizeof allow);
        if (event->fd >= 0) ::close(event->fd);
      }
    }
  }

  fs::path card_;
  fs::path stash_;
  int watch_ = -1;
  bool watching_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> taken_{false};
  std::thread feeder_;
};

TEST(CardFault, GoneAfterTheDetection) {
  const std::vector<CommandCase> cases{
      {"V formatted", {"V", "/nodsp"}, kFormatted, 1, {"Chyba: vyčítaj.: Súbor ", "DATA/data_out.txt neexistuje."}},
      {"V raw", {"V", "/nodsp"}, kRaw, 1, {"ZOST_OUT.TXT neexistuje.", "DATA_OUT.TXT neexistuje."}},
      {"V XML", {"V", "/nodsp"}, kXml, 3, {"NODRA nepripojená.: "}},
      {"N", {"N", "/nodsp"}, kFormatted, 1, {"DATA/data_out.txt neexistuje."}},
      {"P", {"P", "/nodsp"}, kFormatted, 1, {"DATA/zost_out.txt neexistuje."}},
      {"O", {"O", "/nodsp"}, kFormatted, 1, {kCopyFailed}},
      {"Z", {"Z", "/nodsp"}, kFormatted, 1, {kUnableToWrite}},
      {"z", {"z", "/nodsp"}, kFormatted, 1, {kUnableToWrite}},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(show(c));
    Scene scene(c.mode);
    const Files cardBefore = scene.cardFiles();
    const Files pcBefore = scene.pcFiles();
    const fs::path stash = scene.dir / "taken-away";
    RunResult r;
    {
      CardTakenAway away(scene.card, stash);
      if (!away.watching()) GTEST_SKIP() << "the machine does not allow watching file opens";
      r = scene.run(c.args);
      ASSERT_TRUE(away.taken());
    }
    expectTold(r, c);
    // Nothing was written where the card was, nor to the card, nor to the PC files.
    EXPECT_EQ(scene.cardFiles(), Files{});
    EXPECT_EQ(snapshot(stash, scene.dir.path()), cardBefore);
    EXPECT_EQ(scene.pcFiles(), pcBefore);
  }
}

// The card's medium fails under the read of a store, after its first bytes: the command says so in the system's
// words, ends with 1, and every PC file is yesterday's byte for byte or a complete new one.
TEST(CardFault, ReadErrorInAStore) {
  struct ReadErrorCase {
    CommandCase command;
    const char* file;  // the store that fails
  };
  const char* const kMediumFails = "chyba čítania alebo zápisu na médiu";
  const ReadErrorCase cases[] = {
      {{"V formatted", {"V", "/nodsp"}, kFormatted, 1, {"DATA_OUT.TXT", kMediumFails}}, "DATA_OUT.TXT"},
      {{"V raw", {"V", "/nodsp"}, kRaw, 1, {"DATA_OUT.TXT", kMediumFails}}, "DATA_OUT.TXT"},
      {{"V XML", {"V", "/nodsp"}, kXml, 1, {"DATA_OUT.TXT sa nepodarilo prečítať", kMediumFails}}, "DATA_OUT.TXT"},
      {{"N", {"N", "/nodsp"}, kFormatted, 1, {"DATA_OUT.TXT", kMediumFails}}, "DATA_OUT.TXT"},
      {{"P XML", {"P", "/nodsp"}, kXml, 1, {"VP_OUT.TXT sa nepodarilo prečítať", kMediumFails}}, "VP_OUT.TXT"},
  };
  for (const ReadErrorCase& rc : cases) {
    const CommandCase& c = rc.command;
    SCOPED_TRACE(show(c));
    const Files healthy = healthyRun(c);
    Scene scene(c.mode);
    const Files cardBefore = scene.cardFiles();
    const Files pcBefore = scene.pcFiles();
    RunResult r = runProgram(c.args,
                             {{"NODRA3000_DRIVES", scene.card.string()},
                              {"NODRA3000_HOME", scene.home.string()},
                              {"LD_PRELOAD", NODRA_READ_ERROR_SHIM},
                              {"ASAN_OPTIONS", "verify_asan_link_order=0"},
                              {"NODRA_TEST_READ_ERROR_FILE", rc.file},
                              {"NODRA_TEST_READ_ERROR_AFTER", "100"}},
                             scene.dir.path());
    expectTold(r, c);
    EXPECT_EQ(scene.cardFiles(), cardBefore);
    expectOldOrComplete(pcBefore, scene.pcFiles(), healthy);
  }
}

// Flash that acknowledges a write it never made, or a medium that fails under the read: the list read back
// from the card is not what was written. The fill says so, ends with 1, and takes the broken list off the
// card, so that the terminal cannot take it over.
TEST(CardFault, AFillTheCardDidNotKeep) {
  const struct {
    const char* mode;
    const char* says;
  } cases[] = {{"corrupt", "sa po zápise prečítal s iným obsahom"}, {"fail", "sa po zápise nedá prečítať"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    Scene scene(kFormatted);
    const RunResult r = runProgram({"O", "/nodsp"},
                                   {{"NODRA3000_DRIVES", scene.card.string()},
                                    {"NODRA3000_HOME", scene.home.string()},
                                    {"LD_PRELOAD", NODRA_READ_ERROR_SHIM},
                                    {"ASAN_OPTIONS", "verify_asan_link_order=0"},
                                    {"NODRA_TEST_READ_ERROR_FILE", "DATA/data_in.txt"},
                                    {"NODRA_TEST_READ_ERROR_MODE", c.mode},
                                    {"NODRA_TEST_READ_ERROR_AFTER", "20"}},
                                   scene.dir.path());
    EXPECT_EQ(r.exitCode, 1);
    for (const char* part :
         {"Karta NODRA nezachovala, čo sa na ňu zapísalo: súbor ", c.says, "Súbor sa z karty odstránil"}) {
      EXPECT_NE(r.stderrText.find(cp1250::toUtf8(part)), std::string::npos) << r.stderrText;
    }
    EXPECT_EQ(r.stderrText.find(cp1250::toUtf8("Prenos údajov ukončený")), std::string::npos) << r.stderrText;
    EXPECT_FALSE(fs::exists(scene.card / "DATA" / "data_in.txt"));
    for (const auto& [name, bytes] : scene.cardFiles()) {
      EXPECT_FALSE(isTemporaryName(fs::path(name).filename().string())) << name;
    }

    // The same card, read back unchanged: the list stays.
    const RunResult good = scene.run({"O", "/nodsp"});
    EXPECT_EQ(good.exitCode, 0) << good.stderrText;
    EXPECT_NE(readFile(scene.card / "DATA" / "data_in.txt").find("4712;1.00;"), std::string::npos);
  }
}

// The PC side: the output folder missing, or there but read-only.
const std::vector<CommandCase> kOutputFolderFaults{
    {"V formatted",
     {"V", "/nodsp"},
     kFormatted,
     1,
     {"data_outv.txt sa nepodarilo otvorit", "zostavy.txt sa nepodarilo otvorit",
      "data_outn.txt sa nepodarilo otvorit"}},
    {"V raw", {"V", "/nodsp"}, kRaw, 1, {"DATA_OUT.TXT"}},
    {"V XML", {"V", "/nodsp"}, kXml, 1, {"DATA_OUT.XML sa nepodarilo otvorit", "DATA_OUTN.XML sa nepodarilo otvorit"}},
    {"N", {"N", "/nodsp"}, kFormatted, 1, {"data_outn.txt sa nepodarilo otvorit"}},
    {"P raw", {"P", "/nodsp"}, kRaw, 1, {"ZOST_OUT.TXT"}},
};

TEST(PcFault, OutputFolderMissing) {
  for (const CommandCase& c : kOutputFolderFaults) {
    SCOPED_TRACE(show(c));
    Scene scene(c.mode);
    fs::remove_all(scene.out);
    const Files cardBefore = scene.cardFiles();
    RunResult r = scene.run(c.args);
    expectTold(r, c);
    EXPECT_FALSE(fs::exists(scene.out));
    EXPECT_EQ(scene.cardFiles(), cardBefore);
  }
}

TEST(PcFault, OutputFolderReadOnly) {
  for (const CommandCase& c : kOutputFolderFaults) {
    SCOPED_TRACE(show(c));
    Scene scene(c.mode);
    const Files cardBefore = scene.cardFiles();
    const Files pcBefore = scene.pcFiles();
    auto readOnly = Mount::readOnly(scene.out);
    if (!readOnly) GTEST_SKIP() << "the machine does not allow a read-only bind mount";
    RunResult r = scene.run(c.args);
    expectTold(r, c);
    EXPECT_EQ(scene.pcFiles(), pcBefore);
    EXPECT_EQ(scene.cardFiles(), cardBefore);
  }
}

TEST(PcFault, OutputDiskFull) {
  // A run that cannot write all of its output must not end as if it had.
  const std::vector<CommandCase> cases{
      {"V formatted", {"V", "/nodsp"}, kFormatted, 1, {"sa nepodarilo zapísať všetky údaje"}},
      {"V raw", {"V", "/nodsp"}, kRaw, 1, {"DATA_OUT.TXT"}},
      {"V XML", {"V", "/nodsp"}, kXml, 1, {"DATA_OUT.XML sa nepodarilo zapísať"}},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(show(c));
    const Files healthy = healthyRun(c);
    Scene scene(c.mode);
    auto disk = Mount::smallDisk(scene.out, 64);
    if (!disk) GTEST_SKIP() << "the machine does not allow a small tmpfs";
    scene.writePreviousOutputs();
    fillUp(scene.out);
    const Files cardBefore = scene.cardFiles();
    const Files pcBefore = scene.pcFiles();
    RunResult r = scene.run(c.args);
    expectTold(r, c);
    EXPECT_EQ(scene.cardFiles(), cardBefore);
    // Yesterday's files stay byte for byte where today's could not be written whole; nothing is left over.
    expectOldOrComplete(pcBefore, scene.pcFiles(), healthy);
    EXPECT_EQ(scene.pcFiles().at("data_outv.txt"), pcBefore.at("data_outv.txt"));
  }
}

TEST(PcFault, InputFileUnreadable) {
  struct InputCase {
    const char* label;
    std::string path;  // relative to the scene, or absolute
  } cases[] = {{"missing", "out/nowhere.txt"}, {"a folder", "out"}, {"a read error", "/proc/self/mem"}};
  for (const InputCase& c : cases) {
    SCOPED_TRACE(c.label);
    Scene scene(kFormatted);
    const std::string path = c.path.front() == '/' ? c.path : (scene.dir / c.path).string();
    std::string ini = readFile(scene.home / "nodra3000.ini");
    ini.replace(ini.find("path_ins="), ini.find("\r\n", ini.find("path_ins=")) - ini.find("path_ins="),
                "path_ins=" + path);
    writeFile(scene.home / "nodra3000.ini", ini);
    writeFile(scene.home / "tmp_out.txt", "predosly zapis\r\n");
    const Files cardBefore = scene.cardFiles();
    RunResult r = scene.run({"O", "/nodsp"});
    EXPECT_EQ(r.exitCode, 1) << r.stderrText;
    EXPECT_NE(r.stderrText.find(cp1250::toUtf8("Pozor...:  Vstupný súbor sa nedá otvoriť ")), std::string::npos)
        << r.stderrText;
    EXPECT_EQ(scene.cardFiles(), cardBefore);
    EXPECT_EQ(readFile(scene.home / "tmp_out.txt"), "predosly zapis\r\n");
  }
}

// Whether a process holds a lock on the file (without taking it: a test that took it would refuse the program).
bool lockedByAnyone(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return false;
  // The device as well: small tmpfs inode numbers recur, and other runs may hold locks on theirs.
  char id[64];
  std::snprintf(id, sizeof id, " %02x:%02x:%llu ", major(st.st_dev), minor(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));
  const std::string inode = id;
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    if (line.find(inode) != std::string::npos) return true;
  }
  return false;
}

// A run started from the desktop (with a runtime folder) and one from cron (without) are runs of one user: the
// second is refused, whichever came first, and the first completes. The first is held still once it has the
// lock, so the second surely meets it.
TEST(SecondInstance, RunsOfOneUserExcludeEachOtherWhateverTheirEnvironment) {
  struct Order {
    const char* label;
    bool firstHasRuntime;
  };
  const CommandCase command{"V", {"V", "/nodsp"}, kFormatted, 0, {}};
  for (const Order& order : {Order{"desktop first", true}, Order{"cron first", false}}) {
    SCOPED_TRACE(order.label);
    Scene scene(kFormatted);
    // Large enough that the first run is still busy when the test sees its lock.
    std::string store;
    for (int i = 0; i < 400000; ++i)
      store += std::to_string(100000 + i) + ";1.5;" + std::to_string(i % 7) + ";Tovar;\r\n";
    writeFile(scene.card / "DATA" / "DATA_OUT.TXT", store);
    std::map<std::string, std::string> desktop{{"NODRA3000_DRIVES", scene.card.string()},
                                               {"NODRA3000_HOME", scene.home.string()},
                                               {"XDG_RUNTIME_DIR", scene.runtime.string()}};
    std::map<std::string, std::string> cron = desktop;
    cron.erase("XDG_RUNTIME_DIR");
    fs::create_directories(scene.dir / "first");
    const pid_t first = startProgram(command.args, order.firstHasRuntime ? desktop : cron, scene.dir / "first");
    ASSERT_GT(first, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!lockedByAnyone(UserLock::file()) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(first, SIGSTOP);
    const Files pcBefore = scene.pcFiles();
    const Files cardBefore = scene.cardFiles();
    RunResult second = runProgram({"z", "/nodsp"}, order.firstHasRuntime ? cron : desktop, scene.dir.path());
    EXPECT_EQ(second.exitCode, 4);
    EXPECT_EQ(second.stderrText, "Nejde spustit: Tato aplikacia je uz spustena\n");
    EXPECT_EQ(scene.cardFiles(), cardBefore);
    EXPECT_EQ(scene.pcFiles(), pcBefore);
    ::kill(first, SIGCONT);
    RunResult firstResult = waitForProgram(first, scene.dir / "first");
    EXPECT_EQ(firstResult.exitCode, 0) << firstResult.stderrText;
    EXPECT_NE(scene.pcFiles(), pcBefore);
    EXPECT_EQ(readFile(scene.out / "data_outv.txt").size(), 400000u * 24u);  // "100000;1.50;0.00;Tovar" CR LF
  }
}

}  // namespace
}  // namespace nodra::testing
