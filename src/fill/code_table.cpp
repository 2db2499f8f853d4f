#include "fill/code_table.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/path_text.h"

namespace nodra {

namespace {

// Up to table.size() bytes of the file into the table; false when the file cannot be read.
bool readTable(const std::string& fileText, CodeTable& table) {
  int fd = ::open(toFsPath(fileText).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  table[9] = ' ';
  std::size_t filled = 0;
  while (filled < table.size()) {
    ssize_t n = ::read(fd, table.data() + filled, table.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    filled += static_cast<std::size_t>(n);
  }
  ::close(fd);
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
  if (readTable(exeFolder + "codepage.tbl", table)) return table;
  Message m;
  m.text = "Súbor codepage.tbl sa nedá otvoriť ";
  m.caption = "Pozor...";
  m.icon = Icon::Information;
  m.outcome = Outcome::Failure;
  ui.message(m);
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
