// The built program run from a shell: batch letters, messages on standard error, exit codes, files byte for byte.
#include <sys/file.h>

#include <gtest/gtest.h>

#include "e2e/run_program.h"
#include "platform/cp1250.h"

namespace nodra::testing {
namespace {

namespace fs = std::filesystem;

class BatchCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(NODRA_DEMO_TERMINAL, terminal, fs::copy_options::recursive);
    fs::create_directories(home);
    fs::create_directories(runtime);
  }

  RunResult run(const std::vector<std::string>& args, std::map<std::string, std::string> extra = {},
                const fs::path& stdoutTo = {}) {
    std::map<std::string, std::string> env{{"NODRA3000_DRIVES", terminal.string()},
                                           {"NODRA3000_HOME", home.string()},
                                           {"XDG_RUNTIME_DIR", runtime.string()}};
    for (auto& [k, v] : extra) env[k] = v;
    return runProgram(args, env, dir.path(), stdoutTo);
  }

  std::string demoIni() const { return readFile(fs::path(NODRA_DEMO_TERMINAL) / "CONFIG" / "NODRA3000.ini"); }
  std::string terminalIni() const { return readFile(terminal / "CONFIG" / "NODRA3000.ini"); }

  TempFolder dir;
  fs::path terminal = dir / "NODRA";
  fs::path home = dir / "home";
  fs::path runtime = dir / "run";
};

std::string withFlags(std::string ini, const char* sklad, const char* zost, const char* vp) {
  auto set = [&ini](const std::string& key, const char* value) {
    auto at = ini.find(key + "=");
    auto end = ini.find("\r\n", at);
    ini.replace(at, end - at, key + "=" + value);
  };
  set("CLEAR_SKLAD", sklad);
  set("CLEAR_ZOST", zost);
  set("CLEAR_SKLADVP", vp);
  return ini;
}

TEST_F(BatchCommand, ClearRequestsChangeOnlyTheirFlagsUnderAnyLocale) {
  struct Case {
    const char* letter;
    const char* sklad;
    const char* zost;
    const char* vp;
  } cases[] = {{"z", "0", "1", "0"}, {"Z", "1", "1", "1"}, {"zostava", "0", "1", "0"}};
  for (const char* locale : {"C.UTF-8", "sk_SK.UTF-8"}) {
    for (const auto& c : cases) {
      fs::copy_file(fs::path(NODRA_DEMO_TERMINAL) / "CONFIG" / "NODRA3000.ini", terminal / "CONFIG" / "NODRA3000.ini",
                    fs::copy_options::overwrite_existing);
      RunResult r = run({c.letter, "/nodsp"}, {{"LC_ALL", locale}});
      SCOPED_TRACE(std::string(c.letter) + " under " + locale);
      EXPECT_EQ(r.exitCode, 0) << r.stderrText;
      EXPECT_EQ(r.stderrText, "");
      EXPECT_EQ(terminalIni(), withFlags(demoIni(), c.sklad, c.zost, c.vp));
    }
  }
  EXPECT_TRUE(fs::exists(home / "nodra3000.ini"));
}

TEST_F(BatchCommand, NoTerminalTellsTheUserAndExitsWithItsOwnCode) {
  RunResult r = run({"Z"}, {{"NODRA3000_DRIVES", (dir / "nowhere").string()}});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(r.stderrText, cp1250::toUtf8("NODRA nepripojená.: - skontrolujte pripojenie NODRA\n\n- zvoľte na NODRA "
                                         "voľbu PRENOS UDAJOV\n\n- vyberte žiadaný prenos\n"));
}

TEST_F(BatchCommand, AnUnknownLetterShowsTheUsage) {
  for (const char* letter : {"X", "v", ""}) {
    RunResult r = run({letter});
    EXPECT_EQ(r.exitCode, 2) << letter;
    EXPECT_EQ(r.stderrText.rfind("NODRA3000: nodra_mmc_trm.exe [VPNZzO] [/min]\n", 0), 0u) << r.stderrText;
    EXPECT_NE(r.stderrText.find(cp1250::toUtf8("/min, alebo /nodsp - spusti v minimalizovanom okne")),
              std::string::npos);
  }
  EXPECT_EQ(terminalIni(), demoIni());
}

TEST_F(BatchCommand, ASecondInstanceIsRefused) {
  UserLock held;
  ASSERT_TRUE(held.taken());
  RunResult r = run({"z"});
  held.release();
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_EQ(r.stderrText, "Nejde spustit: Tato aplikacia je uz spustena\n");
  EXPECT_EQ(terminalIni(), demoIni());
  EXPECT_FALSE(fs::exists(home / "nodra3000.ini"));
}

// --help and --version answer on standard output before anything else: headless (the runs have no display),
// with no terminal on standard input, while another instance holds the lock, and without touching a file.
TEST_F(BatchCommand, HelpAndVersionAnswerWhileAnotherInstanceRuns) {
  // The usage text as an unknown letter shows it, so --help is seen to give the very same text.
  const RunResult unknown = run({"X"});
  ASSERT_EQ(unknown.stderrText.rfind("NODRA3000: ", 0), 0u) << unknown.stderrText;
  const std::string usage = unknown.stderrText.substr(std::string("NODRA3000: ").size());
  fs::remove_all(home);
  fs::create_directories(home);

  const std::string version = "nodra_mmc_trm " NODRA_VERSION "\n";
  const std::string refused = "Nejde spustit: Tato aplikacia je uz spustena\n";
  struct Case {
    std::vector<std::string> args;
    fs::path stdoutTo;  // empty: captured
    int exitCode;
    std::string out;  // "help": the usage text and its two further lines
    std::string err;
  } cases[] = {
      {{"--help"}, {}, 0, "help", ""},
      {{"--help", "/nodsp"}, {}, 0, "help", ""},
      {{"--version"}, {}, 0, version, ""},
      {{"--version", "V"}, {}, 0, version, ""},
      // Only the whole first argument asks; anything longer is a command line like any other.
      {{"--versions"}, {}, 4, "", refused},
      {{"--help", "/min"}, "/dev/full", 1, "", "NODRA3000: Cannot write to standard output. No space left on device\n"},
  };
  UserLock held;
  ASSERT_TRUE(held.taken());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front() + (c.stdoutTo.empty() ? "" : " to " + c.stdoutTo.string()));
    RunResult r = run(c.args, {}, c.stdoutTo);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.stderrText;
    EXPECT_EQ(r.stderrText, c.err);
    if (c.out == "help") {
      ASSERT_EQ(r.stdoutText.rfind(usage, 0), 0u) << r.stdoutText;
      const std::string rest = r.stdoutText.substr(usage.size());
      EXPECT_EQ(rest.rfind("/nodsp - ", 0), 0u) << rest;
      const std::string codes = rest.substr(rest.find('\n') + 1);
      for (const char* code : {": 0 ", ", 1 ", ", 2 ", ", 3 ", ", 4 "}) {
        EXPECT_NE(codes.find(code), std::string::npos) << code << " in " << codes;
      }
      EXPECT_EQ(codes.find('\n'), codes.size() - 1) << codes;
    } else {
      EXPECT_EQ(r.stdoutText, c.out);
    }
    EXPECT_TRUE(fs::is_empty(home));
  }
  held.release();
  EXPECT_EQ(terminalIni(), demoIni());
}

// The check reads the goods list as the fill would and prints what it finds; it needs no lock, creates no
// settings file and writes nothing, on the PC or on the card.
TEST_F(BatchCommand, CheckPrintsTheProblemsOfTheListAndWritesNothing) {
  const fs::path list = dir / "vstup.txt";
  struct Case {
    const char* label;
    std::string settings;  // empty: no settings file
    std::string list;
    int exitCode;
    std::string report;
  } cases[] = {
      {"a good list in UTF-8", "[PATHS]\r\npath_ins=" + list.string() + "\r\n", "1;1;1;Ro\xC5\xBEok\n2;2;2;b\n", 0,
       "Položiek na prenos: 2, riadkov s chybami: 0\n"},
      {"a bad number and a blank line, silenced or not",
       "[PATHS]\r\npath_ins=" + list.string() + "\r\n[SETTINGS]\r\nhlaska_data_in=1\r\n", "1;1;1;a\n\n3;1;x;c\n", 1,
       "riadok 2: Prázdny riadok, nič sa z neho neprenesie\nriadok 3: Chyba číselnej premennej: „x“\n"
       "Položiek na prenos: 1, riadkov s chybami: 1\n"},
      {"no settings: the default list is missing", "", "", 1,
       "Vstupný súbor sa nedá otvoriť Súbor " + (home / "data_in.txt").string() +
           " neexistuje.\nPoložiek na prenos: 0, riadkov s chybami: 0\n"},
  };
  UserLock held;
  ASSERT_TRUE(held.taken());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(home);
    fs::create_directories(home);
    if (!c.settings.empty()) writeFile(home / "nodra3000.ini", c.settings);
    writeFile(list, c.list);
    const auto before = filesUnder(terminal);
    const auto homeBefore = filesUnder(home);
    const RunResult r = run({"O", "/check"});
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.stdoutText, cp1250::toUtf8(c.report));
    EXPECT_EQ(r.stderrText, "");
    EXPECT_EQ(filesUnder(terminal), before);
    EXPECT_EQ(filesUnder(home), homeBefore);
  }
}

// A list a Linux program wrote in UTF-8, with or without the mark, reaches the card in the same bytes as the
// same list written in Windows-1250, in every layout; a character Windows-1250 lacks is told with its line.
TEST_F(BatchCommand, FillsAUtf8ListAsTheSameListInWindows1250) {
  const fs::path list = dir / "vstup.txt";
  struct Layout {
    const char* label;
    const char* section;
    const char* flag;
    std::string list;  // Windows-1250
  } layouts[] = {
      {"delimiter", "InFormat Oddelovac", "Odd_ISK", "4711;12,5;3;Chlieb\n123;1;-2;Ro\x9Eok \x9Atvorcov\xFD\n"},
      {"fixed length", "InFormat Pevna_dlzka", "Pevna_dl_ISK", "4711             3,5      1,25     K\xE1va\n"},
      {"CASIO 1", "InFormat Casio", "CASIO1_ISK",
       "12 34 56      \x8E"
       "emle \xE8"
       "erstv\xE9                  12,50\n"},
      {"old", "InFormat Old", "Old_ISK", "4711 12,50 3   Mlieko polotu\xE8n\xE9\n"},
  };
  const char* flags[] = {"Odd_ISK", "Pevna_dl_ISK", "CASIO1_ISK", "Old_ISK"};
  const char* sections[] = {"InFormat Oddelovac", "InFormat Pevna_dlzka", "InFormat Casio", "InFormat Old"};
  auto settingsFor = [&](const char* flag) {
    std::string ini = "[PATHS]\r\npath_ins=" + list.string() + "\r\n";
    for (int i = 0; i < 4; ++i) {
      ini += std::string("[") + sections[i] + "]\r\n" + flags[i] + "=" + (flags[i] == flag ? "1" : "0") + "\r\n";
    }
    return ini;
  };
  for (const Layout& layout : layouts) {
    const std::string ini = settingsFor(layout.flag);
    std::string sent;
    for (const std::string encoding : {"Windows-1250", "UTF-8", "UTF-8 with the mark"}) {
      SCOPED_TRACE(std::string(layout.label) + ", " + encoding);
      writeFile(home / "nodra3000.ini", ini);
      const std::string utf8 = cp1250::toUtf8(layout.list);
      writeFile(list, encoding == "Windows-1250" ? layout.list : encoding == "UTF-8" ? utf8 : "\xEF\xBB\xBF" + utf8);
      const RunResult r = run({"O", "/nodsp"});
      EXPECT_EQ(r.exitCode, 0) << r.stderrText;
      const std::string onCard = readFile(terminal / "DATA" / "data_in.txt");
      if (encoding == "Windows-1250") {
        sent = onCard;
        // The accented letters went through as the terminal's bytes.
        EXPECT_NE(sent.find_first_of("\x8A\x8E\x9A\x9E\xE1\xE8\xE9\xFD"), std::string::npos) << sent;
      } else {
        EXPECT_EQ(onCard, sent);
      }
    }
  }
  writeFile(list, "1;1;1;Ro\xC5\xBEok\n2;1;1;\xD0\xB6\n");
  writeFile(home / "nodra3000.ini", settingsFor("Odd_ISK"));
  const RunResult r = run({"O", "/nodsp"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.stderrText.find(cp1250::toUtf8("do NODRA sa zapísali ako „?“.\nRiadky: 2.\n")), std::string::npos)
      << r.stderrText;
  EXPECT_NE(readFile(terminal / "DATA" / "data_in.txt").find(";?\r\n"), std::string::npos)
      << readFile(terminal / "DATA" / "data_in.txt");
}

}  // namespace
}  // namespace nodra::testing
