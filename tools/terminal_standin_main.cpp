// terminal_standin <terminal folder>: plays the terminal on a folder laid out like its card.
#include <cstdio>
#include <exception>

#include "terminal_standin.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: terminal_standin <terminal folder>\n");
    return 2;
  }
  try {
    auto r = nodra::standin::playTerminal(argv[1]);
    std::printf("took over data_in.txt: %s\n", r.tookOver ? "yes" : "no");
    std::printf("cleared: main store quantities %s, report %s, VP store %s\n", r.clearedSklad ? "yes" : "no",
                r.clearedZost ? "yes" : "no", r.clearedVp ? "yes" : "no");
    std::printf("SKLAD=%u ZOSTAVA=%u\n", r.sklad, r.zostava);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "terminal_standin: %s\n", e.what());
    return 1;
  }
}
