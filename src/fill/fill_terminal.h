#pragma once
// The fill: the PC input file in the chosen layout becomes the terminal's input record file, written to
// exeFolder + "tmp_out.txt" and copied to the card as data\data_in.txt for the terminal to take over.
#include "fill/fill_context.h"

namespace nodra {

// Reports every outcome itself (message boxes, status texts, the progress maximum). Nothing reaches the
// card unless the whole input file was read and the work file written; with no layout chosen nothing
// happens but a message.
void FillTerminal(FillContext& ctx);

}  // namespace nodra
