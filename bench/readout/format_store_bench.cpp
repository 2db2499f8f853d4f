// FormatStore over a 1,000,000-item main store in each layout against a plain copy of the same file, in one
// run; the ratios to the copy are printed at the end. Peak memory (maxrss) is reported as a counter: it must
// stay flat, whatever the store size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/folder_list_source.h"
#include "readout/format_store.h"
#include "settings/local_settings.h"
#include "store/read_out_context.h"
#include "support/folder_drives.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "synthetic_store.h"
#include "terminal/terminal_detection.h"
#include "terminal/terminal_session.h"

namespace {

namespace fs = std::filesystem;

constexpr int kItems = 1000000;
constexpr const char* kBaseline = "PlainCopy";

double peakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The card with a generated main store, and the program folder the outputs go to.
struct Bench {
  nodra::testing::TempFolder folder{"nodra_readout_bench"};
  const fs::path& root = folder.path();
  fs::path store;
  std::string programFolder;
  // Any message means the run did not do what is measured.
  nodra::testing::RecordingUi ui{nodra::testing::RecordingUi::Mode::ThrowOnMessage};
  nodra::FolderListSource volumes = nodra::testing::oneDrive(root / "card");
  std::unique_ptr<nodra::TerminalSession> session;
  nodra::LocalSettings settings;
  std::unique_ptr<nodra::ReadOutContext> ctx;

  Bench() {
    fs::create_directories(root / "card" / "CONFIG");
    fs::create_directories(root / "card" / "DATA");
    fs::create_directories(root / "program");
    std::ofstream(root / "card" / "CONFIG" / "NODRA3000.ini") << "[GLOBAL]\r\n";
    store = root / "card" / "DATA" / "DATA_OUT.TXT";
    {
      std::ofstream out(store, std::ios::binary | std::ios::trunc);
      nodra::bench::writeSyntheticStore(out, nodra::bench::StoreKind::MainStore, kItems, 3000);
    }
    programFolder = (root / "program").string() + "/";
    session = std::make_unique<nodra::TerminalSession>(nodra::TerminalSession{ui, volumes, std::nullopt});
    session->drive = nodra::DetectTerminal(volumes).drive;
    settings = nodra::LocalSettings::defaults(programFolder);
    ctx = std::make_unique<nodra::ReadOutContext>(nodra::ReadOutContext{*session, settings, programFolder, {}});
  }
};

Bench& bench() {
  static Bench instance;
  return instance;
}

void PlainCopy(benchmark::State& state) {
  Bench& b = bench();
  const fs::path target = b.root / "program" / "copy.txt";
  for (auto _ : state) fs::copy_file(b.store, target, fs::copy_options::overwrite_existing);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(b.store)));
  state.counters["maxrss_MiB"] = peakMemoryMiB();
}

enum class Layout { Delimiter, Fixed, Casio, Old };

void FormatStoreIn(benchmark::State& state, Layout layout) {
  Bench& b = bench();
  nodra::LocalSettings& s = b.settings;
  s.Odd_OSK = layout == Layout::Delimiter;
  s.Pevna_dl_OSK = layout == Layout::Fixed;
  s.CASIO1_OSK = layout == Layout::Casio;
  s.Old_OSK = layout == Layout::Old;
  for (auto _ : state) nodra::FormatStore(*b.ctx, 'R', s.path_outv, "hlavnySklad");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(b.store)));
  state.SetItemsProcessed(state.iterations() * kItems);
  state.counters["output_MB"] = static_cast<double>(fs::file_size(s.path_outv)) / 1e6;
  state.counters["maxrss_MiB"] = peakMemoryMiB();
}

BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FormatStoreIn, delimiter, Layout::Delimiter)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FormatStoreIn, fixed, Layout::Fixed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FormatStoreIn, casio, Layout::Casio)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FormatStoreIn, old, Layout::Old)->Unit(benchmark::kMillisecond)->UseRealTime();

// The console report, then each benchmark's times as ratios to the plain copy measured in the same run (with
// repetitions, of the medians).
class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool wanted = run.run_type == Run::RT_Aggregate ? run.aggregate_name == "median" : run.repetitions <= 1;
      if (wanted && !run.error_occurred) {
        times_.push_back({run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args),
                          run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const Times* baseline = nullptr;
    for (const Times& t : times_) {
      if (t.name == kBaseline) baseline = &t;
    }
    if (baseline == nullptr || baseline->real <= 0 || baseline->cpu <= 0) return;
    std::printf("\nRatio to %s of the same store (%d items):\n", kBaseline, kItems);
    std::printf("  %-28s %10s %10s\n", "", "real time", "CPU time");
    for (const Times& t : times_) {
      std::printf("  %-28s %10.2f %10.2f\n", t.name.c_str(), t.real / baseline->real, t.cpu / baseline->cpu);
    }
  }

 private:
  struct Times {
    std::string name;
    double real;
    double cpu;
  };
  std::vector<Times> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
