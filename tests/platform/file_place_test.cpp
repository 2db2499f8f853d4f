#include "platform/file_place.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include "platform/cp1250.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

struct PathCase {
  const char* relative;  // Windows-1250, as the program writes terminal paths
  const char* expected;  // relative to the root, as the user reads it
};

TEST(CardPlace, MatchesEachComponentWithoutRegardToCase) {
  testing::TempFolder folder;
  const fs::path root = folder.path() / "card";
  testing::writeFile(root / "CONFIG" / "NODRA3000.ini", "");
  testing::writeFile(root / "DATA" / "DATA_OUT.TXT", "");
  testing::writeFile(root / "DATA" / "\xC4\x8D\x61j.txt", "");  // "ča" in UTF-8
  // Two spellings of one name: the exact one wins, else the smallest.
  testing::writeFile(root / "Kody" / "a.txt", "");
  testing::writeFile(root / "kody" / "b.txt", "");

  const PathCase cases[] = {
      {"CONFIG\\NODRA3000.ini", "CONFIG/NODRA3000.ini"},
      {"config\\nodra3000.INI", "CONFIG/NODRA3000.ini"},
      {"DATA\\data_out.txt", "DATA/DATA_OUT.TXT"},
      {"data\\data_in.txt", "DATA/data_in.txt"},           // missing file: the given spelling
      {"PROGRAM\\Data\\NEW.SHX", "PROGRAM/Data/NEW.SHX"},  // missing folder: the rest as given
      {"data\\čAJ.TXT", "DATA/čaj.txt"},                   // Windows-1250 text finds the UTF-8 name
      {"kody\\x", "kody/x"},
      {"KODY\\x", "Kody/x"},
      {"CONFIG/nodra3000.ini", "CONFIG/NODRA3000.ini"},
      {".\\CONFIG\\\\NODRA3000.ini", "CONFIG/NODRA3000.ini"},
      {"..\\..\\etc\\passwd", "etc/passwd"},
      {"PROGRAM\\..\\config\\x\\..\\NODRA3000.ini", "CONFIG/NODRA3000.ini"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(FilePlace::onCard(root, c.relative).displayText(), root.string() + "/" + c.expected) << c.relative;
  }
  // The spelling found is the one opened.
  FileError e;
  EXPECT_TRUE(openForReading(FilePlace::onCard(root, "config\\nodra3000.INI"), e)) << cp1250::toUtf8(fileErrorText(e));
}

// What a card prepared by someone else may hold where the terminal keeps its files.
enum class Hostile { FileLink, FolderLink, Fifo, CharDevice, Socket, HardLink, FolderAsFile };

struct HostileCase {
  const char* name;
  Hostile kind;
  FileTrouble expected;
  bool refused;
};

class HostileCard : public ::testing::TestWithParam<HostileCase> {
 protected:
  // Builds the scene; false when this machine does not allow it (device nodes need privileges).
  bool prepare() {
    testing::writeFile(outside_ / "secret.txt", "private");
    fs::create_directories(root_ / "DATA");
    const fs::path store = root_ / "DATA" / "DATA_OUT.TXT";
    switch (GetParam().kind) {
      case Hostile::FileLink: fs::create_symlink(outside_ / "secret.txt", store); return true;
      case Hostile::FolderLink:
        fs::remove(root_ / "DATA");
        testing::writeFile(outside_ / "DATA_OUT.TXT", "private");
        fs::create_symlink(outside_, root_ / "DATA");
        return true;
      case Hostile::Fifo: return ::mkfifo(store.c_str(), 0644) == 0;
      case Hostile::CharDevice: return ::mknod(store.c_str(), S_IFCHR | 0644, makedev(1, 5)) == 0;  // like /dev/zero
      case Hostile::Socket: {
        int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", store.c_str());
        const bool bound = ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(s);
        return bound;
      }
      case Hostile::HardLink: return ::link((outside_ / "secret.txt").c_str(), store.c_str()) == 0;
      case Hostile::FolderAsFile: fs::create_directories(store); return true;
    }
    return false;
  }

  testing::TempFolder folder_;
  fs::path root_ = folder_.path() / "card";
  fs::path outside_ = folder_.path() / "outside";
};

TEST_P(HostileCard, NothingButARegularFileOfItsOwnIsOpenedAndNothingWaits) {
  if (!prepare()) GTEST_SKIP() << "this machine does not allow the scene";
  const FilePlace store = FilePlace::onCard(root_, "DATA\\data_out.txt");
  FileError e;
  EXPECT_FALSE(openForReading(store, e));
  EXPECT_EQ(e.trouble, GetParam().expected) << cp1250::toUtf8(fileErrorText(e));
  EXPECT_EQ(e.refused(), GetParam().refused);
  EXPECT_EQ(inspectPlace(store).trouble, GetParam().expected);
  std::string bytes;
  EXPECT_FALSE(readWholeFile(store, bytes, e));
  EXPECT_EQ(bytes, "");
  // The message names the place on the card.
  EXPECT_NE(e.path.find("card/DATA"), std::string::npos) << e.path;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileCard,
    ::testing::Values(HostileCase{"FileLink", Hostile::FileLink, FileTrouble::Link, true},
                      HostileCase{"FolderLink", Hostile::FolderLink, FileTrouble::Link, true},
                      HostileCase{"Fifo", Hostile::Fifo, FileTrouble::Fifo, true},
                      HostileCase{"CharDevice", Hostile::CharDevice, FileTrouble::CharDevice, true},
                      HostileCase{"Socket", Hostile::Socket, FileTrouble::Socket, true},
                      HostileCase{"HardLink", Hostile::HardLink, FileTrouble::HardLinked, true},
                      HostileCase{"FolderAsFile", Hostile::FolderAsFile, FileTrouble::Folder, false}),
    [](const ::testing::TestParamInfo<HostileCase>& param) { return std::string(param.param.name); });

TEST(CardPlace, FoldersAreMadeInsideTheCardOnly) {
  testing::TempFolder folder;
  const fs::path root = folder.path() / "card";
  fs::create_directories(root);
  FileError e;
  ASSERT_TRUE(makeCardFolder(root, "DATA", e));
  EXPECT_TRUE(fs::is_directory(root / "DATA"));
  // An existing folder of another spelling is used as it is.
  ASSERT_TRUE(makeCardFolder(root, "data", e));
  EXPECT_EQ(testing::namesIn(root), std::set<std::string>{"DATA"});

  fs::create_directories(folder.path() / "elsewhere");
  fs::create_symlink(folder.path() / "elsewhere", root / "PROGRAM");
  EXPECT_FALSE(makeCardFolder(root, "PROGRAM\\NEW", e));
  EXPECT_EQ(e.trouble, FileTrouble::Link);
  EXPECT_TRUE(fs::is_empty(folder.path() / "elsewhere"));
}

TEST(PcPlace, LinksAreTheUsersButPipesAreNeverOpened) {
  testing::TempFolder folder;
  testing::writeFile(folder.path() / "real.txt", "goods");
  fs::create_symlink("real.txt", folder.path() / "link.txt");
  ASSERT_EQ(::mkfifo((folder.path() / "pipe.txt").c_str(), 0644), 0);
  std::string bytes;
  FileError e;
  EXPECT_TRUE(readWholeFile(folder.path() / "link.txt", bytes, e));
  EXPECT_EQ(bytes, "goods");
  EXPECT_FALSE(readWholeFile(folder.path() / "pipe.txt", bytes, e));
  EXPECT_EQ(e.trouble, FileTrouble::Fifo);
  EXPECT_EQ(fileErrorText(e),
            "Súbor " + (folder.path() / "pipe.txt").string() + " je pomenovaná rúra (FIFO), nie obyčajný súbor.");
  EXPECT_FALSE(readWholeFile(folder.path() / "none.txt", bytes, e));
  EXPECT_EQ(e.trouble, FileTrouble::Missing);
}

}  // namespace
}  // namespace nodra
