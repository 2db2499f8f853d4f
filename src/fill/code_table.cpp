#include "fill/code_table.h"

namespace nodra {

CodeTable LoadCodeTable(bool use_tbl, const std::string& exeFolder, Ui& ui) {
  return loadCodeTable(use_tbl, exeFolder, ui);
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
