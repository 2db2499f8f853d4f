#pragma once
// Plays the terminal on a terminal folder, for tests and demonstrations: what the terminal does with its
// card when the user leaves the transfer menu. Not part of the program.
#include <filesystem>

namespace nodra::standin {

struct StandinResult {
  bool tookOver = false;      // data\data_in.txt became the main store
  bool clearedSklad = false;  // the main store's quantities were zeroed
  bool clearedZost = false;   // the report was deleted
  bool clearedVp = false;     // the VP store was deleted
  unsigned sklad = 0;         // items now in the main store
  unsigned zostava = 0;       // items now in the report
};

// 1. data\data_in.txt ("code;price;count;name" lines) becomes DATA\DATA_OUT.TXT in the terminal's output
//    layout, each field followed by ";", CR LF; data_in.txt is removed.
// 2. The requests in CONFIG\NODRA3000.ini are carried out and reset to 0: CLEAR_SKLAD zeroes every quantity
//    of DATA_OUT.TXT (with PDM_COUNT decimals), CLEAR_ZOST deletes ZOST_OUT.TXT, CLEAR_SKLADVP VP_OUT.TXT.
// 3. SKLAD and ZOSTAVA get the item counts of DATA_OUT.TXT and ZOST_OUT.TXT.
// Names are found without regard to case. Throws std::runtime_error when the folder holds no terminal
// settings file or a file cannot be written.
StandinResult playTerminal(const std::filesystem::path& terminalFolder);

}  // namespace nodra::standin
