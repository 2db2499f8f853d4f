#include "platform/volume_path.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

struct PathCase {
  const char* relative;  // Windows-1250, as the program writes terminal paths
  const char* expected;  // relative to the root, UTF-8 as on disk
};

TEST(ResolveOnVolume, MatchesEachComponentWithoutRegardToCase) {
  test::TempFolder folder;
  const fs::path root = folder.path() / "card";
  test::writeFile(root / "CONFIG" / "NODRA3000.ini", "");
  test::writeFile(root / "DATA" / "DATA_OUT.TXT", "");
  test::writeFile(root / "DATA" / "\xC4\x8D\x61j.txt", "");  // "ča" in UTF-8
  // Two spellings of one name: the exact one wins, else the smallest.
  test::writeFile(root / "Kody" / "a.txt", "");
  test::writeFile(root / "kody" / "b.txt", "");

  const PathCase cases[] = {
      {"CONFIG\\NODRA3000.ini", "CONFIG/NODRA3000.ini"},
      {"config\\nodra3000.INI", "CONFIG/NODRA3000.ini"},
      {"DATA\\data_out.txt", "DATA/DATA_OUT.TXT"},
      {"data\\data_in.txt", "DATA/data_in.txt"},           // missing file: the given spelling
      {"PROGRAM\\Data\\NEW.SHX", "PROGRAM/Data/NEW.SHX"},  // missing folder: the rest as given
      {"data\\čAJ.TXT", "DATA/\xC4\x8D\x61j.txt"},         // Windows-1250 text finds the UTF-8 name
      {"kody\\x", "kody/x"},
      {"KODY\\x", "Kody/x"},
      {"CONFIG/nodra3000.ini", "CONFIG/NODRA3000.ini"},
      {".\\CONFIG\\\\NODRA3000.ini", "CONFIG/NODRA3000.ini"},
      {"..\\..\\etc\\passwd", "etc/passwd"},
      {"PROGRAM\\..\\config\\x\\..\\NODRA3000.ini", "CONFIG/NODRA3000.ini"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(resolveOnVolume(root, c.relative), root / c.expected) << c.relative;
  }
}

}  // namespace
}  // namespace nodra
