#include "terminal/program_upload.h"

#include <sys/stat.h>

#include <iterator>
#include <set>

#include <gtest/gtest.h>

#include "platform/folder_list_source.h"
#include "platform/path_text.h"
#include "support/folder_drives.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

constexpr std::string_view kMissing = "- zadaný program neexistuje\r\n\r\n- skontrolujte umiestnenie súboru";
constexpr std::string_view kCopied = "- program skopirovaný do NODRA\r\n\r\n- na NODRA stlačte akúkoľvek klávesu";
constexpr std::string_view kCopyFailedStatus = "Chyba pri kopirovaní súboru.";

struct Upload : ::testing::Test {
  TempFolder dir;
  std::filesystem::path card = dir / "card";
  testing::RecordingUi ui;
  FolderListSource volumes = testing::oneDrive(card);
  TerminalSession session{ui, volumes, std::nullopt};

  void SetUp() override { writeFile(card / "CONFIG" / "NODRA3000.ini", "[GLOBAL]\r\n"); }

  // A program on the PC; returns its path as the program box holds it.
  std::string program(std::string_view name, std::string_view bytes) {
    writeFile(dir / "pc" / name, bytes);
    return *toPathText(dir / "pc" / name);
  }
  std::set<std::string> cardFolders() const { return testing::namesIn(card); }
};

TEST_F(Upload, CopiesIntoANewProgramFolderAndSaysSo) {
  std::string path = program("Nodra 1.203.shx", std::string("\x00\x01program\r\n", 11));
  EXPECT_TRUE(uploadProgram(session, path));
  EXPECT_EQ(readFile(card / "PROGRAM" / "Nodra 1.203.shx"), std::string("\x00\x01program\r\n", 11));
  ASSERT_EQ(ui.messages.size(), 1u);
  const Message& m = ui.messages[0];
  EXPECT_EQ(m.text, kCopied);
  EXPECT_EQ(m.caption, "Prenos programu ukončený.");
  EXPECT_EQ(m.icon, Icon::Information);
  EXPECT_TRUE(m.ownedByWindow);
  EXPECT_TRUE(m.onTop);
  EXPECT_EQ(ui.statuses, std::vector<std::string>{"NODRA pripojený"});
  EXPECT_EQ(ui.worstOutcome(), Outcome::Info);
}

TEST_F(Upload, ReplacesANamesakeInTheExistingFolderWhateverItsCase) {
  writeFile(card / "Program" / "NODRA.SHX", "old program");
  EXPECT_TRUE(uploadProgram(session, program("NODRA.SHX", "new")));
  EXPECT_EQ(readFile(card / "Program" / "NODRA.SHX"), "new");
  EXPECT_EQ(cardFolders(), (std::set<std::string>{"CONFIG", "Program"}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(card / "Program"), {}), 1);
}

// The folder is created first, so it is there even when the program is not.
TEST_F(Upload, MissingProgramIsReportedAfterTheFolderIsMade) {
  std::filesystem::create_directories(dir / "pc");
  const std::string folder = *toPathText(dir / "pc");
  const std::string missing(kMissing);
  const std::pair<std::string, std::string> cases[] = {
      {"Nalistuj cestu k programu ", missing},
      {"", missing},
      {*toPathText(dir / "pc" / "none.shx"), missing},
      // Something else than a file stands there: the message says what.
      {folder, missing + "\r\n\r\nSúbor " + folder + " je priečinok, nie súbor."}};
  for (const auto& [path, text] : cases) {
    ui.messages.clear();
    EXPECT_FALSE(uploadProgram(session, path)) << path;
    ASSERT_EQ(ui.messages.size(), 1u) << path;
    EXPECT_EQ(ui.messages[0].text, text);
    EXPECT_EQ(ui.messages[0].caption, "Chyba prenosu programu.");
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
    EXPECT_TRUE(ui.messages[0].ownedByWindow);
  }
  EXPECT_TRUE(ui.statuses.empty());
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
  EXPECT_TRUE(std::filesystem::is_directory(card / "PROGRAM"));
  EXPECT_TRUE(std::filesystem::is_empty(card / "PROGRAM"));
}

TEST_F(Upload, NoTerminalTouchesNothing) {
  volumes = FolderListSource();  // no drives
  EXPECT_FALSE(uploadProgram(session, program("a.shx", "x")));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "NODRA nepripojená.");
  EXPECT_EQ(ui.worstOutcome(), Outcome::NoTerminal);
  EXPECT_EQ(cardFolders(), std::set<std::string>{"CONFIG"});
}

TEST_F(Upload, WriteProtectedFolderKeepsTheOldProgram) {
  writeFile(card / "PROGRAM" / "a.shx", "old");
  ::chmod((card / "PROGRAM").c_str(), 0555);
  EXPECT_FALSE(uploadProgram(session, program("a.shx", "new")));
  ::chmod((card / "PROGRAM").c_str(), 0755);
  EXPECT_EQ(readFile(card / "PROGRAM" / "a.shx"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(card / "PROGRAM"), {}), 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Nepodarilo sa nakopírovať súbor do NODRA.\r\n\r\nSúbor " + card.string() +
                                     "/PROGRAM/a.shx sa nedá použiť: prístup odmietnutý.");
  EXPECT_EQ(ui.messages[0].caption, "Pozor...");
  EXPECT_EQ(ui.messages[0].icon, Icon::Information);
  EXPECT_FALSE(ui.messages[0].ownedByWindow);
  EXPECT_EQ(ui.statuses, std::vector<std::string>{std::string(kCopyFailedStatus)});
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
}

// A path the copy could not take whole is refused; a cut one could name another file.
TEST_F(Upload, PathBeyondTheLimitIsRefusedNotCut) {
  std::string longName(150 - (dir.path().string().size() + 4), 'p');
  std::string path = program(longName, "x");
  ASSERT_GT(path.size(), 149u);
  EXPECT_FALSE(uploadProgram(session, path));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("149"), std::string::npos);
  EXPECT_NE(ui.messages[0].text.find(path), std::string::npos);
  EXPECT_EQ(ui.messages[0].outcome, Outcome::Failure);
  EXPECT_EQ(ui.statuses, std::vector<std::string>{std::string(kCopyFailedStatus)});
  EXPECT_TRUE(std::filesystem::is_empty(card / "PROGRAM"));
}

// A card pulled out right after the detection can leave the empty folder it was mounted on: nothing may be
// written there, and the user hears that the copy failed.
TEST_F(Upload, ACardTakenAwayAfterTheDetectionGetsNothing) {
  class VanishingCard final : public VolumeSource {
   public:
    VanishingCard(std::filesystem::path root, std::filesystem::path stash)
        : root_(std::move(root)), stash_(std::move(stash)) {}
    std::vector<Volume> removableVolumes() override { return {Volume{root_, "X:", 0}}; }
    bool hasReadableMedium(const Volume&, int) override {
      std::filesystem::create_directories(stash_);
      for (const auto& e : std::filesystem::directory_iterator(root_)) {
        std::filesystem::rename(e.path(), stash_ / e.path().filename());
      }
      return true;
    }

   private:
    std::filesystem::path root_, stash_;
  };
  VanishingCard vanishing(card, dir / "taken away");
  TerminalSession pulled{ui, vanishing, std::nullopt};
  EXPECT_FALSE(uploadProgram(pulled, program("NODRA.SHX", "program")));
  EXPECT_TRUE(std::filesystem::is_empty(card));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Nepodarilo sa nakopírovať súbor do NODRA.\r\n\r\nSúbor " + card.string() +
                                     "/CONFIG/NODRA3000.ini neexistuje.");
  EXPECT_EQ(ui.statuses, std::vector<std::string>{std::string(kCopyFailedStatus)});
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
}

// A card whose PROGRAM folder leads elsewhere is refused before anything is copied.
TEST_F(Upload, AProgramFolderThatIsALinkGetsNothing) {
  std::filesystem::create_directories(dir / "elsewhere");
  std::filesystem::create_symlink(dir / "elsewhere", card / "PROGRAM");
  EXPECT_FALSE(uploadProgram(session, program("NODRA.SHX", "program")));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "elsewhere"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(card.string() + "/PROGRAM je symbolický odkaz"), std::string::npos);
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
}

// Neither the program on the PC nor the one it replaces hands its set-ID or execute bits to the new file.
TEST_F(Upload, TheCopyKeepsNoSpecialOrExecuteBit) {
  const mode_t oldMask = ::umask(022);
  for (mode_t before : {mode_t{04755}, mode_t{02775}, mode_t{01777}}) {
    SCOPED_TRACE(before);
    writeFile(card / "PROGRAM" / "NODRA.SHX", "old");
    ::chmod((card / "PROGRAM" / "NODRA.SHX").c_str(), before);
    const std::string path = program("NODRA.SHX", "new");
    ::chmod((dir / "pc" / "NODRA.SHX").c_str(), 06755);
    EXPECT_TRUE(uploadProgram(session, path));
    struct stat st {};
    ASSERT_EQ(::stat((card / "PROGRAM" / "NODRA.SHX").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(readFile(card / "PROGRAM" / "NODRA.SHX"), "new");
  }
  ::umask(oldMask);
}

}  // namespace
}  // namespace nodra
