// The fill's reading and writing over a 1,000,000-line input file in each layout, against `cp` copying the
// same file twice in the same run; and the memory the fill adds per record.
//   nodra_fill_bench [folder] [lines]   (folder default: a new folder under /tmp)
// The folder's file system matters: the fill flushes its work file to the medium, `cp` does not.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "fill/code_table.h"
#include "fill/input_file.h"
#include "fill/input_parsers.h"
#include "fill/record_file.h"
#include "input_generator.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using nodra::bench::Layout;

constexpr int kRounds = 7;

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <typename Work>
double timed(Work&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return seconds(std::chrono::steady_clock::now() - start);
}

// Processor time (user and system) of this process and of its finished children: steadier than the wall
// clock on a machine that other work shares.
double cpuSeconds() {
  double total = 0;
  for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    rusage usage{};
    getrusage(who, &usage);
    for (const timeval& t : {usage.ru_utime, usage.ru_stime}) {
      total += static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    }
  }
  return total;
}

template <typename Work>
double cpuTimed(Work&& work) {
  const double start = cpuSeconds();
  work();
  return cpuSeconds() - start;
}

void copyTwice(const fs::path& input, const fs::path& folder) {
  std::string command = "cp '" + input.string() + "' '" + (folder / "copy1").string() + "' && cp '" + input.string() +
                        "' '" + (folder / "copy2").string() + "'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("cp failed");
}

// What the fill does between opening the input file and closing the work file. `commitSeconds` gets the
// time of the last step, which flushes the file to the medium and renames it over the old one.
unsigned fillWorkFile(Layout layout, const fs::path& input, const fs::path& work, double* commitSeconds = nullptr) {
  const nodra::LocalSettings settings = nodra::bench::settingsFor(layout);
  // Any message means the run did not do what is measured.
  nodra::testing::RecordingUi ui{nodra::testing::RecordingUi::Mode::ThrowOnMessage};
  nodra::InputFile in;
  if (!in.open(input)) throw std::runtime_error("cannot open " + input.string());
  const nodra::CodeTable table = nodra::identityCodeTable();
  nodra::RecordFileWriter writer(table, 2, 3);
  if (!writer.open(work)) throw std::runtime_error("cannot create " + work.string());
  unsigned count = nodra::chooseInputParser(settings)(in, settings, ui, writer);
  auto start = std::chrono::steady_clock::now();
  if (in.failed() || !writer.commit()) throw std::runtime_error("the fill failed");
  if (commitSeconds != nullptr) *commitSeconds = seconds(std::chrono::steady_clock::now() - start);
  return count;
}

long statusKiB(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + std::char_traits<char>::length(key), nullptr, 10);
  }
  return -1;
}

// Peak resident memory the fill adds, in a child process whose peak is reset first.
double bytesPerRecord(Layout layout, const fs::path& input, const fs::path& work, std::size_t lines) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe");
  pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    { std::ofstream("/proc/self/clear_refs") << "5"; }
    long before = statusKiB("VmRSS:");
    fillWorkFile(layout, input, work);
    long added = statusKiB("VmHWM:") - before;
    (void)!::write(pipeFds[1], &added, sizeof added);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  long addedKiB = -1;
  (void)!::read(pipeFds[0], &addedKiB, sizeof addedKiB);
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return static_cast<double>(addedKiB) * 1024.0 / static_cast<double>(lines);
}

}  // namespace

int run(int argc, char** argv) {
  std::optional<nodra::testing::TempFolder> ownFolder;
  fs::path folder;
  if (argc > 1) {
    folder = argv[1];
    fs::create_directories(folder);
  } else {
    folder = ownFolder.emplace("nodra-fill-bench").path();
  }
  const std::size_t lines = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000000;

  std::printf("%zu lines in %s, best of %d\n", lines, folder.c_str(), kRounds);
  std::printf("%-13s %9s %10s %10s %11s %7s %10s %10s %10s %10s %12s\n", "layout", "input MB", "cp x2 ms", "fill ms",
              "of it flush", "ratio", "w/o flush", "cp cpu ms", "fill cpu", "cpu ratio", "bytes/record");
  bool withinGoals = true;
  for (Layout layout : {Layout::Delimited, Layout::Fixed, Layout::Casio1, Layout::Old}) {
    const fs::path input = folder / "input.txt";
    const fs::path work = folder / "tmp_out.txt";
    const std::size_t size = nodra::bench::generateInput(layout, lines, input);
    unsigned count = fillWorkFile(layout, input, work);
    if (count != lines) throw std::runtime_error("records lost");
    // Interleaved, so that both see the same state of the machine.
    double copy = 1e9, fill = 1e9, flush = 0, withoutFlush = 1e9, copyCpu = 1e9, fillCpu = 1e9;
    for (int round = 0; round < kRounds; ++round) {
      double copyWall = 0;
      copyCpu = std::min(copyCpu, cpuTimed([&] { copyWall = timed([&] { copyTwice(input, folder); }); }));
      copy = std::min(copy, copyWall);
      double commit = 0;
      double total = 0;
      const double cpu = cpuTimed([&] { total = timed([&] { fillWorkFile(layout, input, work, &commit); }); });
      fillCpu = std::min(fillCpu, cpu);
      if (total < fill) fill = total, flush = commit;
      withoutFlush = std::min(withoutFlush, total - commit);
    }
    const double perRecord = bytesPerRecord(layout, input, work, lines);
    const double ratio = fill / copy;
    withinGoals = withinGoals && ratio <= 4.0 && perRecord < 100.0;
    std::printf("%-13s %9.1f %10.1f %10.1f %11.1f %7.2f %10.2f %10.1f %10.1f %10.2f %12.1f\n",
                nodra::bench::layoutName(layout), static_cast<double>(size) / 1e6, copy * 1e3, fill * 1e3, flush * 1e3,
                ratio, withoutFlush / copy, copyCpu * 1e3, fillCpu * 1e3, fillCpu / copyCpu, perRecord);
    fs::remove(folder / "copy1");
    fs::remove(folder / "copy2");
    fs::remove(input);
    fs::remove(work);
  }
  std::printf("ratio: fill / cp x2; w/o flush: the same without the final flush to the medium; cpu: processor time\n");
  std::printf("goals (ratio <= 4, < 100 bytes per record): %s\n", withinGoals ? "met" : "NOT met");
  return withinGoals ? 0 : 1;
}

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "nodra_fill_bench: %s\n", e.what());
    return 2;
  }
}
