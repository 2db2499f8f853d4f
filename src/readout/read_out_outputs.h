#pragma once
// The PC files a read-out command is about to write, and the check that none of them would overwrite what the
// run needs or loses: the work file, the settings, another output of the same run, or a file on the card.
#include <string>
#include <vector>

#include "store/read_out_context.h"

namespace nodra {

enum class ReadOutCommand { All, NonZero, Report };

// Windows-1250 paths, in the order the command writes them, for the read-out mode in ctx.settings.
std::vector<std::string> plannedOutputs(const ReadOutContext& ctx, ReadOutCommand command);

// Tells the user about the first clash and returns false; nothing has been written then.
bool outputsAreSafe(ReadOutContext& ctx, const std::vector<std::string>& outputs);

// The formatted read-out needs a layout; without one it says so and returns false.
bool hasFormattedLayout(const LocalSettings& s);
bool formattedLayoutChosen(ReadOutContext& ctx);

}  // namespace nodra
