#include "platform/exe_folder.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <optional>

#include "support/environment_variable.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

using testing::EnvironmentVariable;

TEST(ExeFolder, FollowsTheOrderOfItsSources) {
  testing::TempFolder folder;
  const fs::path exe = folder.path() / "bin" / "nodra_mmc_trm";
  testing::writeFile(exe, "");
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
    if (c.portable) testing::writeFile(exe.parent_path() / "nodra3000.ini", "");
    EnvironmentVariable home("NODRA3000_HOME", c.home);
    EnvironmentVariable xdg("XDG_DATA_HOME", c.xdg);
    EnvironmentVariable userHome("HOME", (folder.path() / "h").c_str());
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
    EnvironmentVariable home("NODRA3000_HOME", nullptr);
    EnvironmentVariable xdg("XDG_DATA_HOME", nullptr);
    EnvironmentVariable userHome("HOME", nullptr);
    std::string problem;
    EXPECT_EQ(findExeFolder("/nonexistent/bin/nodra_mmc_trm", problem), std::optional<fs::path>(expected)) << problem;
  }
  std::error_code ec;
  if (!existed) fs::remove(expected, ec);
}

}  // namespace
}  // namespace nodra
