#include "store/code_table_file.h"

#include <unistd.h>

#include <cerrno>

#include "platform/file_place.h"
#include "platform/path_text.h"

namespace nodra {

CodeTable identityCodeTable() {
  CodeTable table{};
  for (std::size_t k = 0; k < table.size(); ++k) table[k] = static_cast<unsigned char>(k);
  return table;
}

bool readCodeTableFile(const std::string& fileText, CodeTable& table, FileError& error) {
  UniqueFd fd = openForReading(FilePlace::onPc(toFsPath(fileText)), error);
  if (!fd) return false;
  table[9] = ' ';
  std::size_t filled = 0;
  while (filled < table.size()) {
    const ssize_t n = readSome(fd.get(), table.data() + filled, table.size() - filled);
    if (n < 0) {
      // Half a table would translate some names and not others.
      error.set(FileTrouble::System, fileText, errno);
      return false;
    }
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  return true;
}

CodeTable loadCodeTable(bool use_tbl, const std::string& exeFolder, Ui& ui) {
  CodeTable table = identityCodeTable();
  if (!use_tbl) return table;
  FileError error;
  if (readCodeTableFile(exeFolder + "codepage.tbl", table, error)) return table;
  std::string text = "Súbor codepage.tbl sa nedá otvoriť ";
  // The usual case, a table that is not there, needs no more words.
  if (error.trouble != FileTrouble::Missing) text = withReason(std::move(text), error);
  ui.message(failureMessage(std::move(text)));
  ui.setStatus("Chyba pri otvorení súboru codepage.tbl");
  return identityCodeTable();
}

CodeTable reversedCodeTable(const CodeTable& table) {
  std::array<int, 256> producers{};
  std::array<unsigned char, 256> from{};
  for (std::size_t k = 0; k < table.size(); ++k) {
    ++producers[table[k]];
    from[table[k]] = static_cast<unsigned char>(k);
  }
  CodeTable back = identityCodeTable();
  for (std::size_t b = 0; b < back.size(); ++b) {
    const unsigned char k = from[b];
    if (producers[b] == 1 && k >= 32 && k != 127) back[b] = k;
  }
  return back;
}

}  // namespace nodra
