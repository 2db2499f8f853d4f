#pragma once
// Yesterday's counts are never lost: before a read-out replaces anything, the terminal's files as they are on
// the card go byte for byte into a folder of their own under path_archiv, named after the run's start.
#include "store/read_out_context.h"

namespace nodra {

// The card's files a read-out archives, as the terminal spells them, and their names in the archive.
struct ArchivedFile {
  std::string_view onCard;
  std::string_view name;
  bool required;  // the settings file identified the terminal; the stores may be absent
};
inline constexpr ArchivedFile kArchivedFiles[] = {
    {"DATA\\DATA_OUT.TXT", "DATA_OUT.TXT", false},
    {"DATA\\ZOST_OUT.TXT", "ZOST_OUT.TXT", false},
    {"DATA\\VP_OUT.TXT", "VP_OUT.TXT", false},
    {"CONFIG\\NODRA3000.ini", "NODRA3000.ini", true},
};

// With path_archiv set: makes path_archiv/YYYY-MM-DD_HHMMSS (local time of ctx.started; "_2", "_3" ... when the
// name is taken), complete or not at all, then keeps the newest archiv_pocet such folders (0: all) and touches
// nothing else there. True when the read-out may go on: no archive wanted, or it is made. Otherwise the user
// was told why and nothing of the read-out has run.
bool archiveCardFiles(ReadOutContext& ctx);

// Whether a folder name is one of the archive's ("2026-12-10_213000", "2026-12-10_213000_2").
bool isArchiveFolderName(std::string_view name);

}  // namespace nodra
