// A terminal settings file of 20 MB (blank lines, then the keys), as a card may carry one: reading every key as
// the NODRA page does, and writing a clear request as "z" does, each against one plain read of the same file
// in the same run. Peak memory is printed at the end.
//   nodra_settings_bench [--benchmark_...]
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_place.h"
#include "support/temp_folder.h"
#include "terminal/terminal_settings.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBlankLines = 10'000'000;  // "\r\n" each: 20 MB

const fs::path& settingsFile() {
  // Removed with the folder when the benchmark ends.
  static const nodra::testing::TempFolder folder("nodra-settings-bench");
  static const fs::path file = [] {
    const fs::path f = folder / "NODRA3000.ini";
    std::string content;
    content.reserve(kBlankLines * 2 + 512);
    for (std::size_t i = 0; i < kBlankLines; ++i) content += "\r\n";
    // Every key the terminal keeps, as a real card has them.
    content +=
        "[GLOBAL]\r\nPDM_PRICE=2\r\nPDM_COUNT=3\r\nSKLAD=36\r\nZOSTAVA=12\r\nKARTON=0\r\nAUTO=1.000\r\n"
        "SHOW_SUM=1\r\nSIGN=1\r\nLIGHT=1\r\nCHANGE_PRICE=1\r\nVERSION=2.417\r\nK2829=0\r\nK_1=28\r\nK_2=29\r\n"
        "K_3=\r\nVAHOVYKOD_ZAC=2\r\nVAHOVYKOD_END=5\r\nVAHA_ZAC=7\r\nVAHA_END=11\r\nPDM_VAHA=4\r\nZALOHA=1\r\n"
        "ZOBRAZ_KOD_TOVARU=1\r\nVAHOVY=0\r\nCLEAR_SKLAD=0\r\nCLEAR_ZOST=0\r\nCLEAR_SKLADVP=0\r\n";
    std::ofstream(f, std::ios::binary) << content;
    return f;
  }();
  return file;
}

void BM_PlainRead(benchmark::State& state) {
  std::string bytes;
  for (auto _ : state) {
    nodra::FileError error;
    nodra::readWholeFile(settingsFile(), bytes, error);
    benchmark::DoNotOptimize(bytes.data());
  }
}

void BM_ReadEveryKey(benchmark::State& state) {
  for (auto _ : state) {
    nodra::ProfileFile file(settingsFile(), "NODRA3000.ini", false);
    benchmark::DoNotOptimize(nodra::readTerminalSettings(file));
  }
}

// What "z" does: read every key, then write them back with the report's clear request. Each round starts
// from the file without the request, so every round changes one key and replaces the whole file once.
void BM_ClearRequest(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    nodra::ProfileFile(settingsFile(), "NODRA3000.ini", false).writeInteger("GLOBAL", "CLEAR_ZOST", 0);
    state.ResumeTiming();
    nodra::ProfileFile file(settingsFile(), "NODRA3000.ini", false);
    const nodra::TerminalSettings s = nodra::readTerminalSettings(file);
    nodra::TerminalSettingsControls c;
    c.id1 = s.K_1;
    c.id2 = s.K_2;
    c.id3 = s.K_3;
    nodra::writeTerminalSettings(file, s, c, {0, 1, 0});
  }
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEveryKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearRequest)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory: %ld MB\n", usage.ru_maxrss / 1024);
  std::error_code ec;
  fs::remove_all(settingsFile().parent_path(), ec);
  return 0;
}
