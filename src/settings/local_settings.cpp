#include "settings/local_settings.h"

namespace nodra {

namespace {
constexpr const char* kGlobal = "GLOBAL";
constexpr const char* kPaths = "PATHS";
constexpr const char* kInFixed = "InFormat Pevna_dlzka";
constexpr const char* kOutFixed = "OutFormat Pevna_dlzka";
constexpr const char* kInCasio = "InFormat Casio";
constexpr const char* kOutCasio = "OutFormat Casio";
constexpr const char* kInDelim = "InFormat Oddelovac";
constexpr const char* kOutDelim = "OutFormat Oddelovac";
constexpr const char* kInOld = "InFormat Old";
constexpr const char* kOutOld = "OutFormat Old";
constexpr const char* kFormat = "Format";

// The separator byte is stored as a signed 8-bit number; the member keeps the low 8 bits of what is read.
signed char lowByte(int value) { return static_cast<signed char>(static_cast<unsigned char>(value & 0xFF)); }
}  // namespace

LocalSettings LocalSettings::defaults(const std::string& exeFolder) {
  LocalSettings s;
  s.path_ins = exeFolder + "data_in.txt";
  s.path_outv = exeFolder + "data_outv.txt";
  s.path_outn = exeFolder + "data_outn.txt";
  s.path_zostava = exeFolder + "zostavy.txt";
  s.path_suroveData = exeFolder + "vsetkySklady";
  s.path_xmlOut = exeFolder + "vsetkySklady";
  return s;
}

LocalSettings readLocalSettings(const ProfileFile& f, const std::string& exeFolder) {
  LocalSettings d = LocalSettings::defaults(exeFolder);
  LocalSettings s = d;
  s.use_tbl = f.readBool(kGlobal, "use_tbl", d.use_tbl);
  s.path_ins = f.readString(kPaths, "path_ins", d.path_ins);
  s.path_outv = f.readString(kPaths, "path_outv", d.path_outv);
  s.path_outn = f.readString(kPaths, "path_outn", d.path_outn);
  s.path_zostava = f.readString(kPaths, "path_zostava", d.path_zostava);
  s.path_suroveData = f.readString(kPaths, "path_suroveData", d.path_suroveData);
  s.path_xmlOut = f.readString(kPaths, "path_xmlOut", d.path_xmlOut);
  s.Pevna_dl_ISK = f.readBool(kInFixed, "Pevna_dl_ISK", d.Pevna_dl_ISK);
  s.KOD_zac = f.readInteger(kInFixed, "KOD_zac", d.KOD_zac);
  s.KOD_dlzka = f.readInteger(kInFixed, "KOD_dlzka", d.KOD_dlzka);
  s.POC_zac = f.readInteger(kInFixed, "POC_zac", d.POC_zac);
  s.POC_dlzka = f.readInteger(kInFixed, "POC_dlzka", d.POC_dlzka);
  s.CEN_zac = f.readInteger(kInFixed, "CEN_zac", d.CEN_zac);
  s.CEN_dlzka = f.readInteger(kInFixed, "CEN_dlzka", d.CEN_dlzka);
  s.NAZ_zac = f.readInteger(kInFixed, "NAZ_zac", d.NAZ_zac);
  s.NAZ_dlzka = f.readInteger(kInFixed, "NAZ_dlzka", d.NAZ_dlzka);
  s.Pevna_dl_OSK = f.readBool(kOutFixed, "Pevna_dl_OSK", d.Pevna_dl_OSK);
  s.dlzka1_OSK = f.readInteger(kOutFixed, "dlzka1_OSK", d.dlzka1_OSK);
  s.dlzka2_OSK = f.readInteger(kOutFixed, "dlzka2_OSK", d.dlzka2_OSK);
  s.dlzka3_OSK = f.readInteger(kOutFixed, "dlzka3_OSK", d.dlzka3_OSK);
  s.dlzka4_OSK = f.readInteger(kOutFixed, "dlzka4_OSK", d.dlzka4_OSK);
  s.CASIO1_ISK = f.readBool(kInCasio, "CASIO1_ISK", d.CASIO1_ISK);
  s.CASIO1_OSK = f.readBool(kOutCasio, "CASIO1_OSK", d.CASIO1_OSK);
  s.Odd_ISK = f.readBool(kInDelim, "Odd_ISK", d.Odd_ISK);
  s.Odd1_ISK = f.readInteger(kInDelim, "Odd1_ISK", d.Odd1_ISK);
  s.Odd2_ISK = f.readInteger(kInDelim, "Odd2_ISK", d.Odd2_ISK);
  s.Odd3_ISK = f.readInteger(kInDelim, "Odd3_ISK", d.Odd3_ISK);
  s.Odd4_ISK = f.readInteger(kInDelim, "Odd4_ISK", d.Odd4_ISK);
  s.Odd_Char_ISK = lowByte(f.readInteger(kInDelim, "Odd_Char_ISK", d.Odd_Char_ISK));
  s.Odd_OSK = f.readBool(kOutDelim, "Odd_OSK", d.Odd_OSK);
  s.Odd1_OSK = f.readInteger(kOutDelim, "Odd1_OSK", d.Odd1_OSK);
  s.Odd2_OSK = f.readInteger(kOutDelim, "Odd2_OSK", d.Odd2_OSK);
  s.Odd3_OSK = f.readInteger(kOutDelim, "Odd3_OSK", d.Odd3_OSK);
  s.Odd4_OSK = f.readInteger(kOutDelim, "Odd4_OSK", d.Odd4_OSK);
  s.Odd_Char_OSK = lowByte(f.readInteger(kOutDelim, "Odd_Char_OSK", d.Odd_Char_OSK));
  s.Old_ISK = f.readBool(kInOld, "Old_ISK", d.Old_ISK);
  s.Old_OSK = f.readBool(kOutOld, "Old_OSK", d.Old_OSK);
  s.PDM1_OSK = f.readInteger(kFormat, "PDM1_OSK", d.PDM1_OSK);
  s.PDM2_OSK = f.readInteger(kFormat, "PDM2_OSK", d.PDM2_OSK);
  s.WriteCisloDokladu = f.readBool(kFormat, "WriteCisloDokladu", d.WriteCisloDokladu);
  s.hlaska_data_in = f.readInteger(kGlobal, "hlaska_data_in", d.hlaska_data_in);
  s.formatovatData = f.readInteger(kGlobal, "formatovatData", d.formatovatData);
  s.path_archiv = f.readString(kPaths, "path_archiv", d.path_archiv);
  s.archiv_pocet = f.readInteger(kGlobal, "archiv_pocet", d.archiv_pocet);
  s.Diakritika = f.readBool(kFormat, "Diakritika", d.Diakritika);
  return s;
}

void writeLocalSettings(ProfileFile& f, const LocalSettings& s) {
  f.writeBool(kGlobal, "use_tbl", s.use_tbl);
  f.writeInteger(kGlobal, "hlaska_data_in", s.hlaska_data_in);
  f.writeInteger(kGlobal, "formatovatData", s.formatovatData);
  f.writeString(kPaths, "path_ins", s.path_ins);
  f.writeString(kPaths, "path_ino", "");
  f.writeString(kPaths, "path_outv", s.path_outv);
  f.writeString(kPaths, "path_outn", s.path_outn);
  f.writeString(kPaths, "path_zostava", s.path_zostava);
  f.writeString(kPaths, "path_suroveData", s.path_suroveData);
  f.writeString(kPaths, "path_xmlOut", s.path_xmlOut);
  f.writeBool(kInCasio, "CASIO1_ISK", s.CASIO1_ISK);
  f.writeBool(kOutCasio, "CASIO1_OSK", s.CASIO1_OSK);
  f.writeBool(kInDelim, "Odd_ISK", s.Odd_ISK);
  f.writeInteger(kInDelim, "Odd1_ISK", s.Odd1_ISK);
  f.writeInteger(kInDelim, "Odd2_ISK", s.Odd2_ISK);
  f.writeInteger(kInDelim, "Odd3_ISK", s.Odd3_ISK);
  f.writeInteger(kInDelim, "Odd4_ISK", s.Odd4_ISK);
  f.writeInteger(kInDelim, "Odd_Char_ISK", s.Odd_Char_ISK);
  f.writeBool(kOutDelim, "Odd_OSK", s.Odd_OSK);
  f.writeInteger(kOutDelim, "Odd1_OSK", s.Odd1_OSK);
  f.writeInteger(kOutDelim, "Odd2_OSK", s.Odd2_OSK);
  f.writeInteger(kOutDelim, "Odd3_OSK", s.Odd3_OSK);
  f.writeInteger(kOutDelim, "Odd4_OSK", s.Odd4_OSK);
  f.writeInteger(kOutDelim, "Odd_Char_OSK", s.Odd_Char_OSK);
  f.writeBool(kInFixed, "Pevna_dl_ISK", s.Pevna_dl_ISK);
  f.writeInteger(kInFixed, "KOD_zac", s.KOD_zac);
  f.writeInteger(kInFixed, "KOD_dlzka", s.KOD_dlzka);
  f.writeInteger(kInFixed, "POC_zac", s.POC_zac);
  f.writeInteger(kInFixed, "POC_dlzka", s.POC_dlzka);
  f.writeInteger(kInFixed, "NAZ_zac", s.NAZ_zac);
  f.writeInteger(kInFixed, "CEN_dlzka", s.CEN_dlzka);
  f.writeInteger(kInFixed, "CEN_zac", s.CEN_zac);
  f.writeInteger(kInFixed, "NAZ_dlzka", s.NAZ_dlzka);
  f.writeBool(kOutFixed, "Pevna_dl_OSK", s.Pevna_dl_OSK);
  f.writeInteger(kOutFixed, "dlzka1_OSK", s.dlzka1_OSK);
  f.writeInteger(kOutFixed, "dlzka2_OSK", s.dlzka2_OSK);
  f.writeInteger(kOutFixed, "dlzka3_OSK", s.dlzka3_OSK);
  f.writeInteger(kOutFixed, "dlzka4_OSK", s.dlzka4_OSK);
  f.writeBool(kInOld, "Old_ISK", s.Old_ISK);
  f.writeBool(kOutOld, "Old_OSK", s.Old_OSK);
  f.writeInteger(kFormat, "PDM1_OSK", s.PDM1_OSK);
  f.writeInteger(kFormat, "PDM2_OSK", s.PDM2_OSK);
  // A file of someone who never used them stays as the original program would have written it.
  const LocalSettings d;
  auto present = [&f](const char* section, const char* key) { return f.readString(section, key, "\x01") != "\x01"; };
  if (s.path_archiv != d.path_archiv || present(kPaths, "path_archiv"))
    f.writeString(kPaths, "path_archiv", s.path_archiv);
  if (s.archiv_pocet != d.archiv_pocet || present(kGlobal, "archiv_pocet")) {
    f.writeInteger(kGlobal, "archiv_pocet", s.archiv_pocet);
  }
  if (s.Diakritika != d.Diakritika || present(kFormat, "Diakritika")) f.writeBool(kFormat, "Diakritika", s.Diakritika);
}

}  // namespace nodra
