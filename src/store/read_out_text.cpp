#include "store/read_out_text.h"

namespace nodra {

ReadOutText::ReadOutText(ReadOutContext& ctx) : keepAccents_(ctx.settings.Diakritika) {
  if (!keepAccents_ || !ctx.settings.use_tbl) return;
  // Once per command: a table that cannot be read is reported once, not for every store.
  if (!ctx.namesBack) ctx.namesBack = reversedCodeTable(loadCodeTable(true, ctx.exeFolder, ctx.session.ui));
  back_ = *ctx.namesBack;
  translates_ = back_ != identityCodeTable();
}

std::string_view ReadOutText::name(std::string_view fromCard, std::string& scratch) const {
  if (!translates_) return fromCard;
  scratch.assign(fromCard);
  for (char& c : scratch) c = static_cast<char>(back_[static_cast<unsigned char>(c)]);
  return scratch;
}

}  // namespace nodra
