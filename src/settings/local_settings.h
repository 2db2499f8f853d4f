#pragma once
// The program's own settings, "nodra3000.ini" in the program's folder: members named after their keys.
// Texts are Windows-1250.
#include <string>

#include "platform/profile_file.h"

namespace nodra {

// Read-out modes held in formatovatData.
enum ReadOutMode : int { kRawCopy = 0, kFormatted = 1, kXml = 2, kXmlRefused = 5 };

struct LocalSettings {
  // GLOBAL
  bool use_tbl = false;
  int hlaska_data_in = 0;
  int formatovatData = kFormatted;
  // PATHS
  std::string path_ins;
  std::string path_outv;
  std::string path_outn;
  std::string path_zostava;
  std::string path_suroveData;
  std::string path_xmlOut;
  // InFormat Pevna_dlzka
  bool Pevna_dl_ISK = false;
  int KOD_zac = 0, KOD_dlzka = 16;
  int POC_zac = 17, POC_dlzka = 8;
  int CEN_zac = 25, CEN_dlzka = 8;
  int NAZ_zac = 34, NAZ_dlzka = 39;
  // OutFormat Pevna_dlzka
  bool Pevna_dl_OSK = false;
  int dlzka1_OSK = 15, dlzka2_OSK = 8, dlzka3_OSK = 8, dlzka4_OSK = 39;
  // InFormat Casio / OutFormat Casio
  bool CASIO1_ISK = false;
  bool CASIO1_OSK = false;
  // InFormat Oddelovac
  bool Odd_ISK = true;
  int Odd1_ISK = 0, Odd2_ISK = 1, Odd3_ISK = 2, Odd4_ISK = 3;
  signed char Odd_Char_ISK = ';';
  // OutFormat Oddelovac
  bool Odd_OSK = true;
  int Odd1_OSK = 0, Odd2_OSK = 1, Odd3_OSK = 2, Odd4_OSK = 3;
  signed char Odd_Char_OSK = ';';
  // InFormat Old / OutFormat Old
  bool Old_ISK = false;
  bool Old_OSK = false;
  // Format
  int PDM1_OSK = 2;
  int PDM2_OSK = 2;
  bool WriteCisloDokladu = false;

  // Beyond the original keys, each off by default; written only once set (or when the file has them).
  std::string path_archiv;  // PATHS: a folder that keeps every read-out's card files; empty: none
  int archiv_pocet = 30;    // GLOBAL: how many of those folders stay; 0 keeps all
  bool Diakritika = false;  // Format: text fields keep the terminal's characters from 128 up

  // Defaults, with the paths formed from the program's folder (Windows-1250, ending with "/").
  static LocalSettings defaults(const std::string& exeFolder);
};

// Reads every key in the order the original read them; missing or non-numeric values give the defaults.
LocalSettings readLocalSettings(const ProfileFile& file, const std::string& exeFolder);

// Writes every key in the save order (path_ino always empty, WriteCisloDokladu never). Throws WriteError at
// the first key that cannot be written; the keys before it stay written.
void writeLocalSettings(ProfileFile& file, const LocalSettings& settings);

}  // namespace nodra
