#pragma once
// The terminal's own settings file, CONFIG\NODRA3000.ini, section GLOBAL. Texts are Windows-1250.
#include <string>

#include "platform/profile_file.h"

namespace nodra {

struct TerminalSettings {
  int PDM_PRICE = 0;
  int PDM_COUNT = 0;
  int SKLAD = 0;
  int ZOSTAVA = 0;
  bool KARTON = false;
  std::string AUTO;  // at most 10 characters
  bool SHOW_SUM = false;
  signed char SIGN = 0;
  bool LIGHT = false;
  bool CHANGE_PRICE = false;
  std::string VERSION;  // its first 5 characters
  bool K2829 = false;
  std::string K_1, K_2, K_3;  // at most 2 characters each
  int VAHOVYKOD_ZAC = 0;
  int VAHOVYKOD_END = 0;
  int VAHA_ZAC = 0;
  int VAHA_END = 0;
  int PDM_VAHA = 0;
  int ZALOHA = 0;
  signed char ZOBRAZ_KOD_TOVARU = 0;
};

// What the write takes from the NODRA page's controls rather than from the members.
struct TerminalSettingsControls {
  bool weighedCodeTicked = false;
  // Texts of the selected entries of the five weighed-code lists (empty when none is selected).
  std::string kodvahaZac, kodvahaEnd, vahaZac, vahaEnd, pdmVaha;
  std::string id1, id2, id3;
};

struct ClearRequests {
  int sklad = 0;
  int zost = 0;
  int skladVP = 0;
};

// Reads every key in its order; values longer than their member are cut to its width. Never fails.
TerminalSettings readTerminalSettings(const ProfileFile& file);

// Writes the keys in the terminal's order. Throws WriteError at a key that cannot be written, ConvertError
// at a weighed-code text that is not a whole number; the keys before it stay written.
void writeTerminalSettings(ProfileFile& file, const TerminalSettings& s, const TerminalSettingsControls& c,
                           ClearRequests clear);

}  // namespace nodra
