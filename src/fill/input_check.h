#pragma once
// The check of a goods list before anything is sent: the input file read in the chosen layout exactly as the
// fill reads it, with every problem the fill would tell, and nothing written anywhere.
#include <string>
#include <vector>

#include "platform/ui.h"
#include "settings/local_settings.h"

namespace nodra {

struct InputCheckReport {
  unsigned records = 0;       // that the fill would send
  unsigned problemLines = 0;  // lines of the file with a problem that fails the fill
  bool failed = false;        // the fill would fail: a problem line, or no list to send at all
  // What the fill would tell, one line each (Windows-1250): what concerns the whole file as the fill words
  // it, and the problems of single lines in the file's order.
  std::vector<std::string> lines;

  // "Položiek na prenos: 998, riadkov s chybami: 2"
  std::string closingLine() const;
};

// Every number warning is listed, whatever the settings say about showing them.
InputCheckReport checkInputFile(const LocalSettings& settings, const std::string& exeFolder);

// A problem of one line as a report lists it: "riadok 12: Chyba číselnej premennej: „12.5x“".
std::string lineProblemText(const LineProblem& problem);
// A message's text on one line.
std::string oneLineText(const std::string& text);

}  // namespace nodra
