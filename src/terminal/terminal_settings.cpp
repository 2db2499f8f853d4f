#include "terminal/terminal_settings.h"

#include "platform/integer_text.h"

namespace nodra {

namespace {
constexpr const char* kGlobal = "GLOBAL";

std::string cut(std::string text, std::size_t width) {
  if (text.size() > width) text.resize(width);
  return text;
}
}  // namespace

TerminalSettings readTerminalSettings(const ProfileFile& f) {
  TerminalSettings s;
  s.PDM_PRICE = f.readInteger(kGlobal, "PDM_PRICE", 2);
  s.PDM_COUNT = f.readInteger(kGlobal, "PDM_COUNT", 2);
  s.SKLAD = f.readInteger(kGlobal, "SKLAD", 0);
  s.ZOSTAVA = f.readInteger(kGlobal, "ZOSTAVA", 0);
  s.KARTON = f.readBool(kGlobal, "KARTON", false);
  s.AUTO = cut(f.readString(kGlobal, "AUTO", "0.00"), 10);
  s.SHOW_SUM = f.readBool(kGlobal, "SHOW_SUM", true);
  s.SIGN = static_cast<signed char>(f.readInteger(kGlobal, "SIGN", 1));
  s.LIGHT = f.readBool(kGlobal, "LIGHT", true);
  s.CHANGE_PRICE = f.readBool(kGlobal, "CHANGE_PRICE", true);
  s.VERSION = cut(f.readString(kGlobal, "VERSION", ""), 5);
  s.K2829 = f.readBool(kGlobal, "K2829", false);
  s.K_1 = cut(f.readString(kGlobal, "K_1", "28"), 2);
  s.K_2 = cut(f.readString(kGlobal, "K_2", "29"), 2);
  s.K_3 = cut(f.readString(kGlobal, "K_3", ""), 2);
  s.VAHOVYKOD_ZAC = f.readInteger(kGlobal, "VAHOVYKOD_ZAC", 2);
  s.VAHOVYKOD_END = f.readInteger(kGlobal, "VAHOVYKOD_END", 5);
  s.VAHA_ZAC = f.readInteger(kGlobal, "VAHA_ZAC", 7);
  s.VAHA_END = f.readInteger(kGlobal, "VAHA_END", 11);
  s.PDM_VAHA = f.readInteger(kGlobal, "PDM_VAHA", 4);
  s.ZALOHA = f.readInteger(kGlobal, "ZALOHA", 1);
  s.ZOBRAZ_KOD_TOVARU = static_cast<signed char>(f.readInteger(kGlobal, "ZOBRAZ_KOD_TOVARU", 1));
  return s;
}

void writeTerminalSettings(ProfileFile& f, const TerminalSettings& s, const TerminalSettingsControls& c,
                           ClearRequests clear) {
  f.writeInteger(kGlobal, "PDM_PRICE", s.PDM_PRICE);
  f.writeInteger(kGlobal, "PDM_COUNT", s.PDM_COUNT);
  f.writeInteger(kGlobal, "SIGN", s.SIGN);
  f.writeBool(kGlobal, "KARTON", s.KARTON);
  f.writeBool(kGlobal, "K2829", s.K2829);
  f.writeBool(kGlobal, "LIGHT", s.LIGHT);
  f.writeBool(kGlobal, "SHOW_SUM", s.SHOW_SUM);
  f.writeBool(kGlobal, "CHANGE_PRICE", s.CHANGE_PRICE);
  f.writeBool(kGlobal, "VAHOVY", s.K2829);
  f.writeString(kGlobal, "AUTO", s.AUTO);
  f.writeInteger(kGlobal, "CLEAR_SKLAD", clear.sklad);
  f.writeInteger(kGlobal, "CLEAR_ZOST", clear.zost);
  f.writeInteger(kGlobal, "CLEAR_SKLADVP", clear.skladVP);
  if (c.weighedCodeTicked) {
    f.writeInteger(kGlobal, "VAHOVYKOD_ZAC", strToInt(c.kodvahaZac));
    f.writeInteger(kGlobal, "VAHOVYKOD_END", strToInt(c.kodvahaEnd));
    f.writeInteger(kGlobal, "VAHA_ZAC", strToInt(c.vahaZac));
    f.writeInteger(kGlobal, "VAHA_END", strToInt(c.vahaEnd));
    f.writeInteger(kGlobal, "PDM_VAHA", strToInt(c.pdmVaha));
  }
  f.writeString(kGlobal, "K_1", c.id1);
  f.writeString(kGlobal, "K_2", c.id2);
  f.writeString(kGlobal, "K_3", c.id3);
  f.writeInteger(kGlobal, "ZALOHA", s.ZALOHA);
  f.writeInteger(kGlobal, "ZOBRAZ_KOD_TOVARU", s.ZOBRAZ_KOD_TOVARU);
}

}  // namespace nodra
