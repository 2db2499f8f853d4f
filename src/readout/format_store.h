#pragma once
// The formatted read-out: one terminal store converted into a PC text file in the configured layouts.
#include <string>

#include "store/read_out_context.h"

namespace nodra {

// mode 'R' reads the main store, any other letter the report. storeIdentifier ("hlavnySklad", "zostava",
// "nenulove") decides whether a store that cannot be copied is reported in a box. Skips items of quantity 0
// while ctx.nonZeroOnly is set. Reports everything through ctx.session.ui; the last detection gives the drive.
void FormatStore(ReadOutContext& ctx, char mode, const std::string& outputPath, const std::string& storeIdentifier);

// The conversion proper, once the store is in the work file: creates outputPath empty, then writes one line per
// item and layout. Paths are Windows-1250 text.
// `storeText` names the terminal's file the work file came from, for the run's summary.
void convertStore(ReadOutContext& ctx, const std::string& workFilePath, const std::string& outputPath,
                  const std::string& storeText = {});

}  // namespace nodra
