// The summary a batch run leaves for a script, read back with a JSON reader: whatever the run's end, the file
// is one whole object that says what the exit code says.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "e2e/run_program.h"
#include "platform/cp1250.h"

namespace nodra::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct SummaryScene {
  TempFolder dir;
  fs::path card = dir / "NODRA";
  fs::path home = dir / "home";
  fs::path summary = dir / "vysledok.json";

  SummaryScene() {
    fs::copy(NODRA_DEMO_TERMINAL, card, fs::copy_options::recursive);
    fs::create_directories(home);
  }
  RunResult run(const std::vector<std::string>& args, const std::string& drives) {
    return runProgram(
        args,
        {{"NODRA3000_DRIVES", drives}, {"NODRA3000_HOME", home.string()}, {"NODRA3000_SUMMARY", summary.string()}},
        dir.path());
  }
  json read() const { return json::parse(readFile(summary)); }
};

bool isIsoTime(const json& value) {
  const std::string t = value.get<std::string>();
  // 2026-12-10T21:30:00+01:00
  return t.size() == 25 && t[4] == '-' && t[10] == 'T' && t[19] != 'Z' && t[22] == ':';
}

TEST(RunSummary, AGoodReadOutListsItsTerminalArchiveFilesAndCounts) {
  SummaryScene s;
  const fs::path archive = s.dir / "archiv";
  writeFile(s.home / "nodra3000.ini", "[PATHS]\r\npath_archiv=" + archive.string() + "\r\n");
  const RunResult r = s.run({"V", "/nodsp"}, s.card.string());
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json j = s.read();
  EXPECT_EQ(j["command"], "V");
  EXPECT_EQ(j["exitCode"], 0);
  EXPECT_TRUE(isIsoTime(j["started"])) << j["started"];
  EXPECT_TRUE(isIsoTime(j["finished"])) << j["finished"];
  EXPECT_EQ(j["terminal"], s.card.string());
  ASSERT_TRUE(j["archive"].is_string());
  EXPECT_TRUE(fs::is_directory(j["archive"].get<std::string>()));
  EXPECT_EQ(fs::path(j["archive"].get<std::string>()).parent_path(), archive);
  // The work file once, as it was left: the main store's copy.
  const json expectedOutputs = json::array({{{"path", (s.home / "tmp_in.txt").string()}, {"records", 36}},
                                            {{"path", (s.home / "data_outv.txt").string()}, {"records", 36}},
                                            {{"path", (s.home / "zostavy.txt").string()}, {"records", 12}},
                                            {{"path", (s.home / "data_outn.txt").string()}, {"records", 30}}});
  EXPECT_EQ(j["outputs"], expectedOutputs);
  ASSERT_EQ(j["inputs"].size(), 3u);
  EXPECT_EQ(j["inputs"][0]["path"], (s.card / "DATA" / "DATA_OUT.TXT").string());
  EXPECT_EQ(j["inputs"][0]["records"], 36);
  EXPECT_EQ(j["inputs"][0]["dropped"], 0);
  EXPECT_EQ(j["messages"], json::array());
}

// A failure, no terminal and the usage: each leaves its own exit code and the messages the user was shown.
TEST(RunSummary, EveryEndLeavesAWholeSummary) {
  struct Case {
    const char* label;
    std::vector<std::string> args;
    bool terminal;
    int exitCode;
    const char* caption;  // of the one message shown
    const char* text;     // the beginning of its text
  } cases[] = {
      {"a fill without its list", {"O", "/nodsp"}, true, 1, "Pozor...", " Vstupný súbor sa nedá otvoriť"},
      {"no terminal", {"V", "/nodsp"}, false, 3, "NODRA nepripojená.", "- skontrolujte pripojenie NODRA"},
      {"the usage", {"Q", "/nodsp"}, true, 2, "NODRA3000", ""},
      {"the usage for a letter typed in UTF-8", {"\xC4\x8Dx", "/nodsp"}, true, 2, "NODRA3000", ""},  // "čx"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SummaryScene s;
    const RunResult r = s.run(c.args, c.terminal ? s.card.string() : (s.dir / "niet").string());
    EXPECT_EQ(r.exitCode, c.exitCode) << r.stderrText;
    const json j = s.read();
    EXPECT_EQ(j["command"], c.args[0]);
    EXPECT_EQ(j["exitCode"], c.exitCode);
    EXPECT_EQ(j["terminal"].is_null(), !c.terminal || c.exitCode == 2);
    EXPECT_TRUE(j["archive"].is_null());
    ASSERT_EQ(j["messages"].size(), 1u) << j.dump();
    EXPECT_EQ(j["messages"][0]["caption"], cp1250::toUtf8(c.caption));
    EXPECT_EQ(j["messages"][0]["text"].get<std::string>().rfind(cp1250::toUtf8(c.text), 0), 0u) << j.dump();
    for (const auto& e : fs::directory_iterator(s.dir.path())) {
      EXPECT_FALSE(e.path().filename().string().starts_with("~ND")) << e.path();
    }
  }
}

// Beside a running instance nothing is done, and its summary is not replaced.
TEST(RunSummary, ASecondInstanceLeavesTheFirstOnesSummary) {
  SummaryScene s;
  writeFile(s.summary, "{\"command\": \"V\"}\n");
  UserLock held;
  ASSERT_TRUE(held.taken());
  const RunResult r = s.run({"V", "/nodsp"}, s.card.string());
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_EQ(readFile(s.summary), "{\"command\": \"V\"}\n");
}

}  // namespace
}  // namespace nodra::testing
