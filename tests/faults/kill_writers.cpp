// Kills each writer of a file on the card, and of the local settings file, at random points: the terminal
// settings (a clear request), data\data_in.txt and tmp_out.txt (the fill), the uploaded program file,
// nodra3000.ini, and the read-out's outputs in every mode. After every kill each file must be whole: the old
// one, the new one, or, for the settings files written key by key, the file as one of the key writes left it.
// Temporaries a kill leaves behind must be gone after the next good run.
//
// Usage: kill_writers [kills per writer] [seed]   (default 300 kills, a seed from the clock)
// The files live under TMPDIR (the system's temporary folder by default).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fill/fill_terminal.h"
#include "readout/read_out_commands.h"
#include "settings/local_settings.h"
#include "support/folder_drives.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "terminal/program_upload.h"
#include "terminal/terminal_settings.h"

namespace {

using namespace nodra;
using nodra::testing::readFile;
using nodra::testing::writeFile;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A file that may be absent: nullopt stands for "no file".
using FileState = std::optional<std::string>;

FileState stateOf(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return std::nullopt;
  return readFile(file);
}

void restore(const fs::path& file, const FileState& state) {
  std::error_code ec;
  if (state) {
    writeFile(file, *state);
  } else {
    fs::remove(file, ec);
  }
}

// The states a settings file written key by key passes through: each key, in the order the writer writes
// them, set to its final value. The order is the order in which the writer lays the keys out in an empty file.
std::vector<std::string> keyByKeyStates(const std::string& before, const std::string& after,
                                        const std::string& emptyFileLayout) {
  std::vector<std::string> states{before};
  std::string section;
  std::size_t pos = 0;
  while (pos < emptyFileLayout.size()) {
    std::size_t end = emptyFileLayout.find("\r\n", pos);
    std::string line = emptyFileLayout.substr(pos, end - pos);
    pos = end == std::string::npos ? emptyFileLayout.size() : end + 2;
    if (line.empty()) continue;
    if (line.front() == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    std::string key = line.substr(0, line.find('='));
    std::string value;
    if (!profile_text::find(after, section, key, value)) std::abort();
    states.push_back(profile_text::set(states.back(), section, key, value));
  }
  if (states.back() != after) {
    std::fprintf(stderr, "the key-by-key states do not end in the written file\n");
    std::exit(2);
  }
  return states;
}

struct Watched {
  fs::path file;
  std::vector<FileState> allowed;  // allowed.front() is the old state, allowed.back() the new one
};

struct Writer {
  std::string name;
  fs::path folder;              // where stray temporary files are looked for
  std::vector<Watched> files;   // filled by the set-up
  std::function<void()> write;  // runs in the child
};

// The scene every writer works in: a card, a program folder, an input file, a program file.
struct Scene {
  nodra::testing::TempFolder dir;
  fs::path card = dir / "card";
  fs::path home = dir / "home";
  std::string homeText = home.string() + "/";
  nodra::testing::RecordingUi ui{nodra::testing::RecordingUi::Mode::Quiet};
  FolderListSource volumes = nodra::testing::oneDrive(card);
  TerminalSession session{ui, volumes, std::nullopt};

  Scene() {
    writeFile(card / "CONFIG" / "NODRA3000.ini",
              "; the terminal's own\r\n[GLOBAL]\r\nPDM_PRICE=2\r\nPDM_COUNT=2\r\nSKLAD=1200\r\nAUTO=0.00\r\n"
              "SIGN=1\r\nLIGHT=1\r\nVERSION=1.203\r\nK_1=28\r\nK_2=29\r\nZALOHA=1\r\nBEEP=1\r\n[NET]\r\nID=7\r\n");
    writeFile(card / "data" / "data_in.txt", "old;1.00;1.00;stary zoznam\r\n");
    writeFile(card / "PROGRAM" / "NODRA.SHX", std::string(300000, 'o'));
    fs::create_directories(home);
    std::string input;
    for (int i = 0; i < 40000; ++i) {
      input += std::to_string(100000 + i) + ";" + std::to_string(i % 997) + ",5;" + std::to_string(i % 13) +
               ";Tovar číslo " + std::to_string(i) + "\r\n";
    }
    writeFile(home / "data_in.txt", input);
    writeFile(home / "tmp_out.txt", "old;2.00;2.00;predosly zapis\r\n");
    std::string program(4 << 20, '\0');
    std::mt19937 bytes(7);
    for (char& c : program) c = static_cast<char>(bytes());
    writeFile(dir / "new" / "NODRA.SHX", program);
    session.drive = DetectTerminal(volumes).drive;
  }
};

// Forks a child that tells the parent through a pipe when it starts to write, then writes; returns once it
// has started.
pid_t startWriter(const Writer& w) {
  int ready[2];
  if (::pipe(ready) != 0) std::abort();
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(ready[0]);
    char go = 'g';
    if (::write(ready[1], &go, 1) != 1) ::_exit(3);
    w.write();
    ::_exit(0);
  }
  ::close(ready[1]);
  char go = 0;
  if (::read(ready[0], &go, 1) != 1) std::abort();
  ::close(ready[0]);
  return pid;
}

// Runs the writer to its end and returns how long the writing took.
Clock::duration timeUnkilled(const Writer& w) {
  pid_t pid = startWriter(w);
  auto start = Clock::now();
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s: the writer failed without being killed\n", w.name.c_str());
    std::exit(2);
  }
  return Clock::now() - start;
}

unsigned temporariesIn(const fs::path& folder) {
  unsigned found = 0;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("~ND") && name.ends_with(".TMP")) ++found;
  }
  return found;
}

// Kills the writer `kills` times at random points; returns false when a file was left torn.
bool killRepeatedly(Writer& w, int kills, std::mt19937_64& random) {
  // The new states: one run to the end.
  for (Watched& f : w.files) restore(f.file, f.allowed.front());
  // The median of a few runs: the machine may be busy with other work.
  std::vector<Clock::duration> runs;
  for (int i = 0; i < 5; ++i) {
    for (Watched& f : w.files) restore(f.file, f.allowed.front());
    runs.push_back(timeUnkilled(w));
  }
  std::sort(runs.begin(), runs.end());
  const Clock::duration full = runs[runs.size() / 2];
  for (Watched& f : w.files) {
    if (f.allowed.size() == 1) f.allowed.push_back(stateOf(f.file));
  }
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(full).count() * 6 / 5 + 1;
  std::uniform_int_distribution<long long> delay(0, span);
  std::map<std::string, unsigned> outcomes;
  unsigned mostLeftBehind = 0;
  bool whole = true;
  for (int i = 0; i < kills; ++i) {
    for (Watched& f : w.files) restore(f.file, f.allowed.front());
    const long long micros = delay(random);
    pid_t pid = startWriter(w);
    // Sleeping rather than spinning leaves the processor to the writer on a busy machine.
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const bool killed = WIFSIGNALED(status);
    for (const Watched& f : w.files) {
      const FileState now = stateOf(f.file);
      auto at = std::find(f.allowed.begin(), f.allowed.end(), now);
      std::string outcome;
      if (at == f.allowed.end()) {
        outcome = "TORN";
        whole = false;
        std::fprintf(stderr, "%s: %s torn after a kill at %lld us (%zu bytes)\n", w.name.c_str(),
                     f.file.filename().c_str(), micros, now ? now->size() : 0);
      } else if (now == f.allowed.front()) {
        outcome = "old";
      } else if (now == f.allowed.back()) {
        outcome = "new";
      } else {
        outcome = "part-way";
      }
      if (!killed) outcome += " (finished)";
      ++outcomes[f.file.filename().string() + " " + outcome];
    }
    // Left where they are: the next run of the writer has to clear them.
    mostLeftBehind = std::max(mostLeftBehind, temporariesIn(w.folder));
  }
  for (Watched& f : w.files) restore(f.file, f.allowed.front());
  timeUnkilled(w);
  const unsigned survivors = temporariesIn(w.folder);
  std::printf("%-20s %4d kills within %6lld us:", w.name.c_str(), kills, static_cast<long long>(span));
  for (const auto& [what, count] : outcomes) std::printf("  %s %u", what.c_str(), count);
  std::printf("  | temporaries left by a kill at most %u, after the next good run %u\n", mostLeftBehind, survivors);
  if (survivors != 0) {
    std::fprintf(stderr, "%s: %u temporary files survived a good run\n", w.name.c_str(), survivors);
    whole = false;
  }
  return whole;
}

}  // namespace

int main(int argc, char** argv) {
  const int kills = argc > 1 ? std::atoi(argv[1]) : 300;
  const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10)
                                           : static_cast<unsigned long long>(Clock::now().time_since_epoch().count());
  std::printf("kill_writers: %d kills per writer, seed %llu\n", kills, seed);
  std::mt19937_64 random(seed);
  Scene scene;
  const fs::path terminalIni = scene.card / "CONFIG" / "NODRA3000.ini";
  const fs::path localIni = scene.home / "nodra3000.ini";

  // A clear request, written as "z" writes it: the settings just read, with new values the page would give.
  TerminalSettings terminal = readTerminalSettings(ProfileFile(terminalIni, "NODRA3000.ini", false));
  terminal.PDM_PRICE = 3;
  terminal.SIGN = 0;
  terminal.AUTO = "1.5";
  terminal.KARTON = true;
  TerminalSettingsControls controls;
  controls.weighedCodeTicked = true;
  controls.kodvahaZac = "1";
  controls.kodvahaEnd = "6";
  controls.vahaZac = "8";
  controls.vahaEnd = "12";
  controls.pdmVaha = "3";
  controls.id1 = "27";
  controls.id2 = "29";
  controls.id3 = "2";
  auto writeTerminal = [&](const fs::path& file) {
    ProfileFile f(file, "NODRA3000.ini", false);
    writeTerminalSettings(f, terminal, controls, ClearRequests{0, 1, 0});
  };
  const std::string terminalBefore = readFile(terminalIni);
  writeFile(scene.dir / "layout" / "terminal.ini", "");
  writeTerminal(scene.dir / "layout" / "terminal.ini");
  writeTerminal(terminalIni);
  const std::string terminalAfter = readFile(terminalIni);

  // The local settings: an older file with other values and a key of someone else's.
  LocalSettings oldSettings = LocalSettings::defaults(scene.homeText);
  LocalSettings newSettings = oldSettings;
  newSettings.path_ins = scene.homeText + "data_in.txt";
  newSettings.path_outv = "/srv/export/vsetky položky.txt";
  newSettings.Odd_Char_ISK = '|';
  newSettings.KOD_dlzka = 13;
  newSettings.PDM1_OSK = 3;
  newSettings.formatovatData = kXml;
  {
    ProfileFile f(localIni, "nodra3000.ini");
    writeLocalSettings(f, oldSettings);
    f.writeString("Window", "left", "120");
  }
  const std::string localBefore = readFile(localIni);
  {
    ProfileFile layout(scene.dir / "layout" / "local.ini", "nodra3000.ini");
    writeLocalSettings(layout, newSettings);
    ProfileFile f(localIni, "nodra3000.ini");
    writeLocalSettings(f, newSettings);
  }
  const std::string localAfter = readFile(localIni);

  auto watch = [](const fs::path& file, std::vector<FileState> allowed) { return Watched{file, std::move(allowed)}; };
  std::vector<Writer> writers(4);
  writers[0].name = "terminal settings";
  writers[0].folder = scene.card;
  writers[0].files.push_back(watch(terminalIni, {}));
  for (const std::string& s :
       keyByKeyStates(terminalBefore, terminalAfter, readFile(scene.dir / "layout" / "terminal.ini"))) {
    writers[0].files[0].allowed.emplace_back(s);
  }
  writers[0].write = [&] { writeTerminal(terminalIni); };

  writers[1].name = "local settings";
  writers[1].folder = scene.home;
  writers[1].files.push_back(watch(localIni, {}));
  for (const std::string& s : keyByKeyStates(localBefore, localAfter, readFile(scene.dir / "layout" / "local.ini"))) {
    writers[1].files[0].allowed.emplace_back(s);
  }
  writers[1].write = [&] {
    ProfileFile f(localIni, "nodra3000.ini");
    writeLocalSettings(f, newSettings);
  };

  const fs::path dataIn = scene.card / "data" / "data_in.txt";
  const fs::path workFile = scene.home / "tmp_out.txt";
  writers[2].name = "fill";
  writers[2].folder = scene.dir.path();
  writers[2].files.push_back(watch(dataIn, {stateOf(dataIn)}));
  writers[2].files.push_back(watch(workFile, {stateOf(workFile)}));
  writers[2].write = [&] {
    LocalSettings s = newSettings;
    s.Odd_Char_ISK = ';';
    FillContext ctx{scene.session, s, scene.homeText, 2, 3};
    FillTerminal(ctx);
  };

  const fs::path program = scene.card / "PROGRAM" / "NODRA.SHX";
  writers[3].name = "program upload";
  writers[3].folder = scene.card;
  writers[3].files.push_back(watch(program, {stateOf(program)}));
  writers[3].write = [&] {
    if (!uploadProgram(scene.session, (scene.dir / "new" / "NODRA.SHX").string())) ::_exit(1);
  };

  // The read-out in each mode: its outputs in a folder of their own, last run's files in place.
  const fs::path out = scene.dir / "out";
  const std::string outText = out.string() + "/";
  {
    std::string store, report, vp;
    for (int i = 0; i < 30000; ++i) {
      const std::string code = std::to_string(100000 + i);
      store += code + ";" + std::to_string(i % 997) + ".5;" + std::to_string(i % 5) + ";Tovar " + code + ";\r\n";
      if (i % 3 == 0) report += code + ";1.5;2;Tovar;01.12.2026;" + std::to_string(i) + ";P;D1;123;\r\n";
      if (i % 7 == 0) vp += "D1;" + code + ";Tovar;2;P;123;1.5;Firma;\r\n";
    }
    writeFile(scene.card / "DATA" / "DATA_OUT.TXT", store);
    writeFile(scene.card / "DATA" / "ZOST_OUT.TXT", report);
    writeFile(scene.card / "DATA" / "VP_OUT.TXT", vp);
  }
  struct ReadOutMode {
    const char* name;
    int mode;
    std::vector<std::string> outputs;
  };
  const ReadOutMode readOuts[] = {
      {"read-out formatted", kFormatted, {"data_outv.txt", "zostavy.txt", "data_outn.txt"}},
      {"read-out raw", kRawCopy, {"ZOST_OUT.TXT", "VP_OUT.TXT", "DATA_OUT.TXT"}},
      {"read-out XML", kXml, {"DATA_OUT.XML", "VP_OUT.XML", "ZOST_OUT.XML", "DATA_OUTN.XML"}},
  };
  std::vector<LocalSettings> readOutSettings;
  for (const ReadOutMode& r : readOuts) {
    LocalSettings s = LocalSettings::defaults(scene.homeText);
    s.formatovatData = r.mode;
    s.path_outv = outText + "data_outv.txt";
    s.path_outn = outText + "data_outn.txt";
    s.path_zostava = outText + "zostavy.txt";
    s.path_suroveData = outText + "surove";
    s.path_xmlOut = outText + "xml";
    readOutSettings.push_back(s);
  }
  for (std::size_t i = 0; i < std::size(readOuts); ++i) {
    Writer w;
    w.name = readOuts[i].name;
    w.folder = out;
    for (const std::string& name : readOuts[i].outputs) {
      writeFile(out / name, "predosly vystup " + name + "\r\n");
      w.files.push_back(watch(out / name, {stateOf(out / name)}));
    }
    const LocalSettings* settings = &readOutSettings[i];
    w.write = [&scene, settings] {
      ReadOutContext ctx{scene.session, *settings, scene.homeText, nullptr};
      readOutAll(ctx);
    };
    writers.push_back(std::move(w));
  }

  bool whole = true;
  for (Writer& w : writers) whole = killRepeatedly(w, kills, random) && whole;
  std::printf(whole ? "every file whole after every kill\n" : "FAILED: torn files (seed %llu)\n", seed);
  return whole ? 0 : 1;
}
