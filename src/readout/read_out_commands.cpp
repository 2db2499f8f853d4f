#include "readout/read_out_commands.h"

#include <initializer_list>
#include <string_view>

#include "readout/format_store.h"
#include "readout/raw_copy.h"
#include "readout/read_out_archive.h"
#include "readout/read_out_outputs.h"
#include "store/read_out_messages.h"
#include "xml/xml_writers.h"

namespace nodra {

namespace {

// Every copy runs even after one failed; the status tells whether all of them arrived.
void copyRawStores(ReadOutContext& ctx, std::initializer_list<std::string_view> names) {
  bool copied = true;
  for (std::string_view name : names) copied = CopyRawStore(ctx, name) && copied;
  ctx.session.ui.setStatus(copied ? kDataReadOut : kReadOutFailed);
}

// Each writer runs even after one failed; the status ends as the other modes' does.
void writeXml(ReadOutContext& ctx, std::initializer_list<bool (*)(ReadOutContext&)> writers) {
  bool written = true;
  for (auto writer : writers) written = writer(ctx) && written;
  if (written) {
    ctx.session.ui.setStatus(kDataReadOut);
  } else if (ctx.session.drive) {
    // Without a terminal the status already says so.
    ctx.session.ui.setStatus(kReadOutFailed);
  }
}

}  // namespace

void readOutAll(ReadOutContext& ctx) {
  if (!ctx.session.check()) return;
  ctx.nonZeroOnly = false;
  const LocalSettings& s = ctx.settings;
  // Every refusal comes before the archive, which writes and rotates.
  if (!outputsAreSafe(ctx, plannedOutputs(ctx, ReadOutCommand::All))) return;
  if (s.formatovatData == kFormatted && !formattedLayoutChosen(ctx)) return;
  if (!archiveCardFiles(ctx)) return;
  switch (s.formatovatData) {
    case kRawCopy: copyRawStores(ctx, {"ZOST_OUT.TXT", "VP_OUT.TXT", "DATA_OUT.TXT"}); break;
    case kFormatted:
      ctx.carryNonZero = true;
      FormatStore(ctx, 'R', s.path_outv, "hlavnySklad");
      ctx.nonZeroOnly = false;
      FormatStore(ctx, 'r', s.path_zostava, "zostava");
      ctx.nonZeroOnly = true;
      FormatStore(ctx, 'R', s.path_outn, "nenulove");
      break;
    case kXml:
      ctx.carryNonZero = true;
      writeXml(ctx, {&WriteXmlMainStore, &WriteXmlVpStore, &WriteXmlReport, &WriteXmlNonZero});
      break;
    default: break;
  }
}

void readOutNonZero(ReadOutContext& ctx) {
  const bool xml = ctx.settings.formatovatData == kXml;
  if (ctx.session.check()) {
    if (!outputsAreSafe(ctx, plannedOutputs(ctx, ReadOutCommand::NonZero))) return;
    // In XML mode the layout controls are off and the XML file is what the user asked for: no layout there
    // only means no text file beside it.
    if (!xml && !formattedLayoutChosen(ctx)) return;
    if (!archiveCardFiles(ctx)) return;
    ctx.nonZeroOnly = true;
    if (hasFormattedLayout(ctx.settings)) FormatStore(ctx, 'R', ctx.settings.path_outn, "hlavnySklad");
  }
  // Detects again on its own, so without a terminal the user is told twice.
  if (xml) writeXml(ctx, {&WriteXmlNonZero});
}

void readOutReport(ReadOutContext& ctx) {
  if (!ctx.session.check()) return;
  ctx.nonZeroOnly = false;
  const LocalSettings& s = ctx.settings;
  if (!outputsAreSafe(ctx, plannedOutputs(ctx, ReadOutCommand::Report))) return;
  if (s.formatovatData == kFormatted && !formattedLayoutChosen(ctx)) return;
  if (!archiveCardFiles(ctx)) return;
  switch (s.formatovatData) {
    case kRawCopy: copyRawStores(ctx, {"ZOST_OUT.TXT", "VP_OUT.TXT"}); break;
    case kFormatted: FormatStore(ctx, 'r', s.path_zostava, "zostava"); break;
    case kXml: writeXml(ctx, {&WriteXmlVpStore, &WriteXmlReport}); break;
    default: break;
  }
}

}  // namespace nodra
