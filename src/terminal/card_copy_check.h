#pragma once
// After a file was copied onto the terminal's card: the copy read back from the medium, and a copy the card
// did not keep taken off it again, so that the terminal never takes a broken file over.
#include "platform/file_place.h"
#include "platform/ui.h"

namespace nodra {

// True when the card holds what was written; otherwise tells the user (a failure) and removes the copy.
bool checkCardCopy(Ui& ui, const FilePlace& copy, const FilePlace& source);

}  // namespace nodra
