// WriteXmlMainStore over a 1,000,000-item main store against a plain copy of the same file, in one run:
// x_copy is the writer's wall time over the copy's. Peak memory (maxrss, peak_MiB) must not grow with the store.
// Run: build/bin/nodra_xml_bench --benchmark_repetitions=3
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/folder_list_source.h"
#include "settings/local_settings.h"
#include "store/read_out_context.h"
#include "support/folder_drives.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "terminal/terminal_session.h"
#include "xml/xml_writers.h"

namespace {

namespace fs = std::filesystem;

constexpr int kItems = 1000000;

// The copy's wall time per iteration, the baseline the writer is quoted against.
double copySeconds = 0;

double secondsPerIteration(std::chrono::steady_clock::time_point started, const benchmark::State& state) {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  return state.iterations() > 0 ? elapsed.count() / static_cast<double>(state.iterations()) : 0.0;
}

long peakMemoryKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A deterministic store as the terminal writes it: EAN codes, names with accented letters, prices with two
// decimals, quantities with three, CR LF line ends.
void writeStore(const fs::path& file) {
  static const char* const kWords[] = {"Mlieko", "Chlieb", "Káva", "Čokoláda", "Syr",   "Maslo", "Jogurt",
                                       "Šunka",  "Rožok",  "Pivo", "Víno",     "Cukor", "Múka",  "Ryža"};
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  std::uint32_t state = 2024;
  auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  std::string line;
  for (int i = 0; i < kItems; ++i) {
    line = "858" + std::to_string(1000000000ull + static_cast<unsigned>(i) * 7919u % 1000000000u) + ";";
    std::uint32_t cents = next() % 100000;
    line += std::to_string(cents / 100) + "." + (cents % 100 < 10 ? "0" : "") + std::to_string(cents % 100) + ";";
    std::uint32_t grams = next() % 50000;
    line += std::to_string(grams / 1000) + "." + std::to_string(1000 + grams % 1000).substr(1) + ";";
    line +=
        std::string(kWords[next() % 14]) + " " + kWords[next() % 14] + " " + std::to_string(next() % 1000) + "g;\r\n";
    out << line;
  }
}

struct Setup {
  Setup() {
    fs::create_directories(root / "card" / "CONFIG");
    fs::create_directories(root / "card" / "DATA");
    fs::create_directories(root / "out");
    std::ofstream(root / "card" / "CONFIG" / "NODRA3000.ini") << "[NODRA3000]\r\n";
    writeStore(root / "card" / "DATA" / "data_out.txt");
  }
  nodra::testing::TempFolder folder{"nodra_xml_bench"};
  const fs::path& root = folder.path();
};

Setup& setup() {
  static Setup instance;
  return instance;
}

void BM_PlainCopy(benchmark::State& state) {
  const fs::path source = setup().root / "card" / "DATA" / "data_out.txt";
  const fs::path target = setup().root / "out" / "copy.txt";
  const auto started = std::chrono::steady_clock::now();
  for (auto _ : state) {
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
  }
  copySeconds = secondsPerIteration(started, state);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(fs::file_size(source)));
  state.counters["peak_MiB"] = static_cast<double>(peakMemoryKiB()) / 1024.0;
}

void BM_WriteXmlMainStore(benchmark::State& state) {
  const fs::path source = setup().root / "card" / "DATA" / "data_out.txt";
  // Any message means the run did not do what is measured.
  nodra::testing::RecordingUi ui{nodra::testing::RecordingUi::Mode::ThrowOnMessage};
  nodra::FolderListSource volumes = nodra::testing::oneDrive(setup().root / "card");
  nodra::TerminalSession session{ui, volumes, std::nullopt};
  nodra::LocalSettings settings;
  settings.path_xmlOut = (setup().root / "out" / "any.txt").string();
  nodra::ReadOutContext ctx{session, settings, "/", {}, false, 0};
  const auto started = std::chrono::steady_clock::now();
  for (auto _ : state) {
    nodra::WriteXmlMainStore(ctx);
  }
  if (copySeconds > 0) state.counters["x_copy"] = secondsPerIteration(started, state) / copySeconds;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(fs::file_size(source)));
  state.counters["items/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kItems, benchmark::Counter::kIsRate);
  state.counters["peak_MiB"] = static_cast<double>(peakMemoryKiB()) / 1024.0;
}

// The copy first, so its peak is measured before the XML writer has run.
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteXmlMainStore)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
