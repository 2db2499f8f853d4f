#include "fill/input_check.h"

#include <gtest/gtest.h>

#include "fill_test_support.h"

namespace nodra {
namespace {

namespace fs = std::filesystem;

struct CheckRig {
  CheckRig() : settings(LocalSettings::defaults(exe.text())) { settings.path_ins = exe.text() + "vstup.txt"; }
  InputCheckReport check(std::string_view input) {
    testing::writeFile(exe.path() / "vstup.txt", input);
    return checkInputFile(settings, exe.text());
  }
  testing::TempFolder exe;
  LocalSettings settings;
};

TEST(InputCheck, AGoodListHasNothingToSay) {
  CheckRig t;
  const InputCheckReport r = t.check("4711;12,5;3;Chlieb\n123;1;-2;Ro\xC5\xBEok\n");
  EXPECT_TRUE(r.lines.empty());
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(r.closingLine(), "Položiek na prenos: 2, riadkov s chybami: 0");
}

// Every problem, each once, in the file's order, even those the settings silence and those found while the
// file was still being decoded; a blank line is told of but fails nothing.
TEST(InputCheck, ListsEveryProblemByLineAndWritesNothing) {
  CheckRig t;
  t.settings.hlaska_data_in = 1;
  const std::string longLine = "5;1;1;" + std::string(200, 'x') + "\n";
  const InputCheckReport r =
      t.check("1;1;1;a\n2;x;1;b\n\n4;1;1;\xD0\xB6\n" + longLine + "6;1;1,5e99;c\n7;1;1;\xD0\xB6\xD0\xB6\n");
  const std::vector<std::string> expected = {
      "riadok 2: Chyba číselnej premennej: „x“",
      "riadok 3: Prázdny riadok, nič sa z neho neprenesie",
      "riadok 4: Znak, ktorý Windows-1250 nemá, sa do NODRA zapíše ako „?“: „4;1;1;?“",
      "riadok 5: Riadok je dlhší ako 138 znakov, jeho koniec sa nečíta",
      "riadok 6: Chyba číselnej premennej: „1.5e99“",
      "riadok 7: Znak, ktorý Windows-1250 nemá, sa do NODRA zapíše ako „?“: „7;1;1;??“",
  };
  EXPECT_EQ(r.lines, expected);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.closingLine(), "Položiek na prenos: 4, riadkov s chybami: 5");
  std::vector<fs::path> left;
  for (const auto& e : fs::directory_iterator(t.exe.path())) left.push_back(e.path().filename());
  EXPECT_EQ(left, std::vector<fs::path>{"vstup.txt"});
}

TEST(InputCheck, AListThatCannotBeSentIsAFailureWithTheFillsWords) {
  CheckRig t;
  InputCheckReport r = t.check("\n \n");
  EXPECT_TRUE(r.failed);
  ASSERT_EQ(r.lines.size(), 3u);
  EXPECT_EQ(r.lines.back(), "Vo vstupnom súbore " + t.settings.path_ins +
                                " sa nenašla žiadna položka. Do NODRA sa "
                                "nič neprenieslo.");
  EXPECT_EQ(r.closingLine(), "Položiek na prenos: 0, riadkov s chybami: 0");

  t.settings.path_ins = t.exe.text() + "niet.txt";
  r = checkInputFile(t.settings, t.exe.text());
  EXPECT_TRUE(r.failed);
  ASSERT_EQ(r.lines.size(), 1u);
  EXPECT_EQ(r.lines[0].rfind("Vstupný súbor sa nedá otvoriť", 0), 0u) << r.lines[0];

  t.settings.Odd_ISK = t.settings.Pevna_dl_ISK = t.settings.CASIO1_ISK = t.settings.Old_ISK = false;
  r = t.check("1;1;1;a\n");
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.lines, std::vector<std::string>{"Nie je zvolený formát vstupného súboru. Do NODRA sa nič neprenieslo."});
}

}  // namespace
}  // namespace nodra
