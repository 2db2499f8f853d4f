#include "platform/exe_folder.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "test_files.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

// Sets (or with nullptr unsets) a variable for the test's lifetime.
class Variable {
 public:
  Variable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~Variable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  Variable(const Variable&) = delete;
  Variable& operator=(const Variable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ExeFolder, FollowsTheOrderOfItsSources) {
  test::TempFolder folder;
  const fs::path exe = folder.path() / "bin" / "nodra_mmc_trm";
  test::writeFile(exe, "");
  const fs::path data = folder.path() / "data";
  struct Case {
    const char* label;
    const char* home;  // NODRA3000_HOME
    bool portable;     // a nodra3000.ini beside the executable
    const char* xdg;   // XDG_DATA_HOME
    fs::path expected;
  };
  const std::string explicitHome = (folder.path() / "explicit").string();
  const Case cases[] = {
      {"NODRA3000_HOME first", explicitHome.c_str(), true, data.c_str(), folder.path() / "explicit"},
      {"a portable install", nullptr, true, data.c_str(), exe.parent_path()},
      {"the data folder", nullptr, false, data.c_str(), data / "nodra3000"},
      {"a relative XDG_DATA_HOME counts for nothing", nullptr, false, "relative",
       folder.path() / "h" / ".local" / "share" / "nodra3000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove(exe.parent_path() / "nodra3000.ini");
    if (c.portable) test::writeFile(exe.parent_path() / "nodra3000.ini", "");
    Variable home("NODRA3000_HOME", c.home);
    Variable xdg("XDG_DATA_HOME", c.xdg);
    Variable userHome("HOME", (folder.path() / "h").c_str());
    std::string problem;
    EXPECT_EQ(findExeFolder(exe, problem), std::optional<fs::path>(c.expected)) << problem;
    EXPECT_TRUE(fs::is_directory(c.expected));
  }
}

// Service managers may start the program without HOME: the password database still knows the home.
TEST(ExeFolder, WithoutHomeThePasswordDatabaseGivesIt) {
  const passwd* entry = ::getpwuid(::geteuid());
  ASSERT_NE(entry, nullptr);
  const fs::path expected = fs::path(entry->pw_dir) / ".local" / "share" / "nodra3000";
  const bool existed = fs::exists(expected);
  {
    Variable home("NODRA3000_HOME", nullptr);
    Variable xdg("XDG_DATA_HOME", nullptr);
    Variable userHome("HOME", nullptr);
    std::string problem;
    EXPECT_EQ(findExeFolder("/nonexistent/bin/nodra_mmc_trm", problem), std::optional<fs::path>(expected)) << problem;
  }
  std::error_code ec;
  if (!existed) fs::remove(expected, ec);
}

}  // namespace
}  // namespace nodra
