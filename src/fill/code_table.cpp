#include "fill/code_table.h"

#include <unistd.h>

#include <cerrno>

#include "platform/file_place.h"
#include "platform/path_text.h"

namespace nodra {

namespace {

// Up to table.size() bytes of the file into the table; false when the file cannot be read.
bool readTable(const std::string& fileText, CodeTable& table, FileError& error) {
  UniqueFd fd = openForReading(FilePlace::onPc(toFsPath(fileText)), error);
  if (!fd) return false;
  table[9] = ' ';
  std::size_t filled = 0;
  while (filled < table.size()) {
    ssize_t n = ::read(fd.get(), table.data() + filled, table.size() - filled);
    if (n < 0 && errno == EINTR) continue;
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

}  // namespace

CodeTable identityCodeTable() {
  CodeTable table{};
  for (std::size_t k = 0; k < table.size(); ++k) table[k] = static_cast<unsigned char>(k);
  return table;
}

CodeTable LoadCodeTable(bool use_tbl, const std::string& exeFolder, Ui& ui) {
  CodeTable table = identityCodeTable();
  if (!use_tbl) return table;
  FileError error;
  if (readTable(exeFolder + "codepage.tbl", table, error)) return table;
  std::string text = "Súbor codepage.tbl sa nedá otvoriť ";
  // The usual case, a table that is not there, needs no more words.
  if (error.trouble != FileTrouble::Missing) text = withReason(std::move(text), error);
  ui.message(failureMessage(std::move(text)));
  ui.setStatus("Chyba pri otvorení súboru codepage.tbl");
  return identityCodeTable();
}

void TranslateName(const CodeTable& table, std::string& name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char translated = table[static_cast<unsigned char>(name[i])];
    if (translated == 0) {
      name.resize(i);
      return;
    }
    name[i] = static_cast<char>(translated);
  }
}

}  // namespace nodra
