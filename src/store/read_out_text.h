#pragma once
// How a read-out passes the terminal's text fields on. By default only printable ASCII stays (Čokoláda reads as
// okolda). With Diakritika the characters from 128 up stay as Windows-1250 bytes, and when the fill's code
// table is in use, names come back through it the way they went in.
#include <string>
#include <string_view>

#include "store/code_table_file.h"
#include "store/read_out_context.h"

namespace nodra {

class ReadOutText {
 public:
  // Loads the code table once for the run when names are to be translated back; a table that cannot be read
  // is reported.
  explicit ReadOutText(ReadOutContext& ctx);

  bool keepsAccents() const { return keepAccents_; }
  // A name as the PC wrote it; `scratch` holds it when it had to change. Without Diakritika, the name itself.
  std::string_view name(std::string_view fromCard, std::string& scratch) const;

 private:
  bool keepAccents_ = false;
  bool translates_ = false;
  CodeTable back_ = identityCodeTable();
};

}  // namespace nodra
