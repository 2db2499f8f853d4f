#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/decimal_comma_locale.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

struct ReadCase {
  const char* content;
  const char* section;
  const char* key;
  const char* expected;  // nullptr: not found, the caller's default applies
};

TEST(ProfileText, FindsValuesAsTheProfileServiceReadsThem) {
  const ReadCase cases[] = {
      {"[section1]\r\nname1=val1", "SECTION1", "NaMe1", "val1"},
      {"  [ S ]\r\n \tk\t=\t v \t", "S", "k", "v"},
      {"[S]\r\nk=  \"  v  \"", "S", "k", "  v  "},
      {"[S]\r\nk='v'", "S", "k", "v"},
      {"[S]\r\nk=\"v'", "S", "k", "\"v'"},
      {"[S]\r\nk=\"'v'\"", "S", "k", "'v'"},
      {"[S]\r\nk=\"\"", "S", "k", ""},
      {"[S]\r\nk=a=b", "S", "k", "a=b"},
      {"[S]\r\nk=v ;c", "S", "k", "v ;c"},
      {"[S]\r\nk=#x", "S", "k", "#x"},
      {"[S]\r\n;k=v", "S", "k", nullptr},
      {"[S]\r\nk=", "S", "k", ""},
      {"[S]\r\nk", "S", "k", nullptr},
      {"[S]\r\nk=1\r\nk=2", "S", "k", "1"},
      {"[S]\r\n[S]\r\nk=1", "S", "k", nullptr},
      {"[S] ;x\r\nk=v", "S", "k", "v"},
      {"[S]k=v", "S", "k", nullptr},
      {"k=v\r\n[S]\r\n", "S", "k", nullptr},
      {"[S]\r\na=1\r\n[T]\r\nk=v", "S", "k", nullptr},
      {"[S]\rj=1\rk=v\r", "S", "k", "v"},
      {"[T]\nk=w\n[S]\nk=v\n", "S", "k", "v"},
      {"[S]\r\nj=1\nk=v\r", "S", "k", "v"},
      {"[T]\r\nk=v", "S", "k", nullptr},
      {"", "S", "k", nullptr},
      {"\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=w", "S", "k", nullptr},
      {"\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=w", "T", "k", "w"},
      {"[NODRA]\r\nNÁZOV=Čaj zelený", "nodra", "NÁZOV", "Čaj zelený"},
  };
  for (const ReadCase& c : cases) {
    std::string value = "unchanged";
    const bool found = profile_text::find(c.content, c.section, c.key, value);
    EXPECT_EQ(found, c.expected != nullptr) << c.content;
    if (found && c.expected != nullptr) {
      EXPECT_EQ(value, c.expected) << c.content;
    }
  }
}

struct Write {
  const char* section;
  const char* key;
  const char* value;
};

struct WriteCase {
  const char* before;
  std::vector<Write> writes;
  const char* after;
};

TEST(ProfileText, WritesTheSmallestEditInPlace) {
  const WriteCase cases[] = {
      {"", {{"App", "key", ""}}, "[App]\r\nkey=\r\n"},
      {"", {{"S", "z", ""}, {"S", "a", ""}, {"S", "y", ""}, {"S", "b", ""}}, "[S]\r\nz=\r\na=\r\ny=\r\nb=\r\n"},
      {"[S]\r\nb=value\r\na=value\r\n",
       {{"S", "z", ""}, {"S", "b", ""}, {"S", "y", ""}, {"S", "a", ""}},
       "[S]\r\nb=\r\na=\r\nz=\r\ny=\r\n"},
      {"[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n",
       {{"App3", "key5", "string5"}},
       "[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
      {"[SectionName]\r\nTestKey=TestValue", {{"SECTIONNAME", "TESTKEY", "X"}}, "[SectionName]\r\nTestKey=X\r\n"},
      {"[S]\r\nz=\r\n;y=\r\n", {{"S", "a", ""}}, "[S]\r\nz=\r\na=\r\n;y=\r\n"},
      {"[S]\r\na=1\r\n\r\n[T]\r\n", {{"S", "b", "2"}}, "[S]\r\na=1\r\nb=2\r\n\r\n[T]\r\n"},
      {"junk\n; note\r\n\r\n[S]\nk=1\n\n[T]\r\nx=2",
       {{"S", "k", "5"}, {"T", "y", "6"}},
       "junk\n; note\r\n\r\n[S]\nk=5\n\n[T]\r\nx=2\r\ny=6\r\n"},
      {"[A]\r\nk=1", {{"B", "x", "2"}}, "[A]\r\nk=1\r\n[B]\r\nx=2\r\n"},
      {"[S]", {{"S", "k", "1"}}, "[S]\r\nk=1\r\n"},
      {"[S]\rk=1\r", {{"S", "j", "2"}}, "[S]\rk=1\rj=2\r\n"},
      {"[S]\r\n  Key = old \r\n", {{"s", "KEY", "new"}}, "[S]\r\nKey=new\r\n"},
      {"[S]\r\nk= v \r\n", {{"S", "k", " v "}}, "[S]\r\nk= v \r\n"},
      {"[S]\r\na=1\r\n[S]\r\nk=1\r\n", {{"S", "k", "2"}}, "[S]\r\na=1\r\nk=2\r\n[S]\r\nk=1\r\n"},
  };
  for (const WriteCase& c : cases) {
    std::string content = c.before;
    for (const Write& w : c.writes) content = profile_text::set(content, w.section, w.key, w.value);
    EXPECT_EQ(content, c.after) << c.before;
    // What was written reads back.
    for (const Write& w : c.writes) {
      std::string value;
      EXPECT_TRUE(profile_text::find(content, w.section, w.key, value)) << c.before << " " << w.key;
    }
    // One ProfileFile doing all the writes of an operation, from its one read of the file, gives the same bytes.
    testing::TempFolder folder;
    const fs::path file = folder.path() / "x.ini";
    if (*c.before != '\0') testing::writeFile(file, c.before);
    ProfileFile ini(file, "x.ini");
    for (const Write& w : c.writes) ini.writeString(w.section, w.key, w.value);
    EXPECT_EQ(testing::readFile(file), c.after) << c.before;
    for (const Write& w : c.writes) {
      std::string value;
      profile_text::find(content, w.section, w.key, value);
      EXPECT_EQ(ini.readString(w.section, w.key, "\x01"), value) << c.before << " " << w.key;
    }
  }
}

TEST(ProfileText, ValueIsWrittenAsGivenAndReadTrimmed) {
  std::string content = profile_text::set("", "S", "k", " v ");
  EXPECT_EQ(content, "[S]\r\nk= v \r\n");
  std::string value;
  ASSERT_TRUE(profile_text::find(content, "S", "k", value));
  EXPECT_EQ(value, "v");
}

class ProfileFileTest : public ::testing::Test {
 protected:
  fs::path file() const { return folder_.path() / "nodra3000.ini"; }
  testing::TempFolder folder_;
};

TEST_F(ProfileFileTest, MissingFileReadsAsEmpty) {
  ProfileFile ini(file(), "nodra3000.ini");
  EXPECT_EQ(ini.readString("S", "k", "default"), "default");
  EXPECT_EQ(ini.readInteger("S", "k", 7), 7);
  EXPECT_TRUE(ini.readBool("S", "k", true));
  EXPECT_FALSE(fs::exists(file()));
}

TEST_F(ProfileFileTest, WritesCreateTheFileAndKeepItsOtherBytes) {
  ProfileFile ini(file(), "nodra3000.ini");
  ini.writeString("Cesty", "path_outv", "/home/u/sklad.txt");
  ini.writeBool("Cesty", "nonZero", true);
  ini.writeInteger("Format", "dlzka", -12);
  EXPECT_EQ(testing::readFile(file()),
            "[Cesty]\r\npath_outv=/home/u/sklad.txt\r\nnonZero=1\r\n[Format]\r\ndlzka=-12\r\n");
  EXPECT_EQ(ini.readInteger("format", "DLZKA", 0), -12);

  // The next operation: someone else's lines in the file meanwhile.
  testing::writeFile(file(), "; mine\n[Cesty]\npath_outv=x\nnonZero=1\n\n[Iné]\ncudzí=ponechať\n");
  ProfileFile(file(), "nodra3000.ini").writeBool("Cesty", "nonZero", false);
  EXPECT_EQ(testing::readFile(file()), "; mine\n[Cesty]\npath_outv=x\nnonZero=0\n\n[Iné]\ncudzí=ponechať\n");
  EXPECT_EQ(testing::namesIn(folder_.path()), std::set<std::string>{"nodra3000.ini"});
}

TEST_F(ProfileFileTest, UnchangedValueWritesNothing) {
  testing::writeFile(file(), "[S]\r\nk=1\r\n");
  struct stat before {};
  ASSERT_EQ(::stat(file().c_str(), &before), 0);
  ProfileFile(file(), "nodra3000.ini").writeInteger("S", "k", 1);
  struct stat after {};
  ASSERT_EQ(::stat(file().c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(ProfileFileTest, TerminalFileIsNeverCreated) {
  ProfileFile ini(file(), "E:CONFIG\\NODRA3000.ini", false);
  try {
    ini.writeBool("NODRA", "ZMAZ", true);
    ADD_FAILURE() << "the write should fail";
  } catch (const WriteError& e) {
    EXPECT_STREQ(e.what(),
                 "Unable to write to E:CONFIG\\NODRA3000.ini\r\n\r\nDôvod: súbor alebo priečinok neexistuje.");
  }
  EXPECT_TRUE(testing::namesIn(folder_.path()).empty());
  // An existing one is written.
  testing::writeFile(file(), "[NODRA]\r\n");
  ProfileFile(file(), "E:CONFIG\\NODRA3000.ini", false).writeBool("NODRA", "ZMAZ", true);
  EXPECT_EQ(testing::readFile(file()), "[NODRA]\r\nZMAZ=1\r\n");
}

TEST_F(ProfileFileTest, FailedWriteLeavesEverythingAsItWas) {
  enum class Setup { ReadOnlyFile, ReadOnlyFolder, LineBreakInValue };
  struct Case {
    const char* name;
    Setup setup;
    const char* value;
    const char* message;
  };
  const char* kRefused = "Unable to write to nodra3000.ini\r\n\r\nDôvod: prístup odmietnutý.";
  const Case cases[] = {
      {"read-only file, new value", Setup::ReadOnlyFile, "2", kRefused},
      {"read-only file, same value", Setup::ReadOnlyFile, "1", kRefused},
      {"read-only folder, new value", Setup::ReadOnlyFolder, "2", kRefused},
      {"read-only folder, same value", Setup::ReadOnlyFolder, "1", kRefused},
      {"line break in the value", Setup::LineBreakInValue, "2\r\n[X]", "Unable to write to nodra3000.ini"},
  };
  const std::string original = "; keep\r\n[S]\r\nk=1\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    const fs::path target = folder.path() / "nodra3000.ini";
    testing::writeFile(target, original);
    if (c.setup == Setup::ReadOnlyFile) fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    if (c.setup == Setup::ReadOnlyFolder) ::chmod(folder.path().c_str(), 0555);

    ProfileFile ini(target, "nodra3000.ini");
    try {
      ini.writeString("S", "k", c.value);
      ADD_FAILURE() << "the write should fail";
    } catch (const WriteError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(testing::readFile(target), original);
    EXPECT_EQ(testing::namesIn(folder.path()), std::set<std::string>{"nodra3000.ini"});
  }
}

TEST_F(ProfileFileTest, WriteIntoMissingFolderFails) {
  ProfileFile ini(folder_.path() / "gone" / "nodra3000.ini", "gone/nodra3000.ini");
  EXPECT_THROW(ini.writeString("S", "k", "v"), WriteError);
  EXPECT_TRUE(testing::namesIn(folder_.path()).empty());
}

// A file that cannot be read (a folder in its place, a medium failing under the read) reads as empty, as a
// missing one does, and is never rewritten from what little was read. Reading used to throw from the stream.
TEST_F(ProfileFileTest, UnreadableFileReadsAsEmptyAndIsNotRewritten) {
  std::filesystem::create_directories(file());
  const std::filesystem::path unreadable[] = {file(), "/proc/self/mem"};
  for (const auto& path : unreadable) {
    SCOPED_TRACE(path.string());
    ProfileFile ini(path, "nodra3000.ini");
    EXPECT_EQ(ini.readString("S", "k", "default"), "default");
    EXPECT_EQ(ini.readInteger("S", "k", 7), 7);
    EXPECT_THROW(ini.writeString("S", "k", "v"), WriteError);
  }
  EXPECT_TRUE(std::filesystem::is_directory(file()));
}

TEST_F(ProfileFileTest, ReadIntegerAndReadBoolConvertStrictly) {
  struct Case {
    const char* stored;  // nullptr: no such key
    int integer;         // ReadInteger with default 7
    bool withTrue;       // ReadBool with default true
    bool withFalse;      // ReadBool with default false
  };
  const Case cases[] = {
      {nullptr, 7, true, false},      {"", 7, true, false},
      {"12abc", 7, true, false},      {"abc", 7, true, false},
      {"true", 7, true, false},       {"yes", 7, true, false},
      {"-5", -5, true, true},         {"+5", 5, true, true},
      {" 7 ", 7, true, true},         {"\"5\"", 5, true, true},
      {"0x10", 16, true, true},       {"$1F", 31, true, true},
      {"4294967296", 7, true, false}, {"2147483647", 2147483647, true, true},
      {"0", 0, false, false},         {"2", 2, true, true},
      {"1.5", 7, true, false},        {"1,5", 7, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored == nullptr ? "(missing)" : c.stored);
    testing::writeFile(file(),
                       c.stored == nullptr ? std::string("[S]\r\n") : "[S]\r\nk=" + std::string(c.stored) + "\r\n");
    ProfileFile ini(file(), "nodra3000.ini");
    EXPECT_EQ(ini.readInteger("S", "k", 7), c.integer);
    EXPECT_EQ(ini.readBool("S", "k", true), c.withTrue);
    EXPECT_EQ(ini.readBool("S", "k", false), c.withFalse);
  }
}

TEST_F(ProfileFileTest, IntegersIgnoreTheDecimalCommaLocale) {
  testing::DecimalCommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no sk_SK.UTF-8 locale";
  ProfileFile ini(file(), "nodra3000.ini");
  ini.writeInteger("S", "big", -1234567);
  ini.writeInteger("S", "small", 5);
  EXPECT_EQ(testing::readFile(file()), "[S]\r\nbig=-1234567\r\nsmall=5\r\n");
  EXPECT_EQ(ini.readInteger("S", "big", 0), -1234567);
  testing::writeFile(file(), "[S]\r\nk=1,5\r\n");
  EXPECT_EQ(ini.readInteger("S", "k", 7), 7);
}

}  // namespace
}  // namespace nodra
