#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system_volumes.h"
#include "platform/volumes.h"
#include "support/environment_variable.h"
#include "support/temp_folder.h"
#include "terminal/terminal_detection.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

// Sets NODRA3000_DRIVES for one test and puts back what was there.
struct DrivesVariable : testing::EnvironmentVariable {
  explicit DrivesVariable(const char* value) : EnvironmentVariable("NODRA3000_DRIVES", value) {}
};

TEST(FolderList, FoldersStandForDrivesInTheirOrder) {
  testing::TempFolder folder;
  const fs::path empty = folder.path() / "EMPTY";
  const fs::path second = folder.path() / "TERM B";
  const fs::path first = folder.path() / "TERM A";
  fs::create_directories(empty);
  testing::writeFile(second / "CONFIG" / "NODRA3000.ini", "[NODRA]\r\n");
  testing::writeFile(first / "config" / "nodra3000.ini", "[NODRA]\r\n");
  const fs::path missing = folder.path() / "GONE";
  // Empty items and a trailing "/" are tolerated.
  const std::string list =
      ":" + empty.string() + "::" + missing.string() + ":" + first.string() + "/:" + second.string();
  DrivesVariable drives(list.c_str());

  auto source = makeVolumeSource();
  auto volumes = source->removableVolumes();
  std::vector<std::string> labels;
  for (const Volume& v : volumes) labels.push_back(v.label);
  EXPECT_EQ(labels, (std::vector<std::string>{"EMPTY", "GONE", "TERM A", "TERM B"}));
  ASSERT_EQ(volumes.size(), 4u);
  EXPECT_TRUE(source->hasReadableMedium(volumes[0], -1));
  EXPECT_FALSE(source->hasReadableMedium(volumes[1], -1));

  auto drive = DetectTerminal(*source).drive;
  ASSERT_TRUE(drive);
  EXPECT_EQ(drive->label, "TERM A");
}

TEST(FolderList, SetButEmptyMeansNoDrives) {
  DrivesVariable drives("");
  EXPECT_TRUE(makeVolumeSource()->removableVolumes().empty());
}

TEST(FolderList, UnsetMeansTheSystemScan) {
  DrivesVariable drives(nullptr);
  auto source = makeVolumeSource();
  EXPECT_NE(dynamic_cast<SystemVolumeSource*>(source.get()), nullptr);
}

// Only a readable regular file makes a terminal: a card with a folder of that name is passed over for the
// real terminal after it.
TEST(FolderList, AFolderInPlaceOfTheSettingsFileIsNoTerminal) {
  testing::TempFolder folder;
  const fs::path fake = folder.path() / "FAKE";
  const fs::path real = folder.path() / "REAL";
  fs::create_directories(fake / "CONFIG" / "NODRA3000.ini");
  testing::writeFile(real / "CONFIG" / "NODRA3000.ini", "[GLOBAL]\r\n");
  const std::string list = fake.string() + ":" + real.string();
  DrivesVariable drives(list.c_str());
  auto source = makeVolumeSource();
  const Detection found = DetectTerminal(*source);
  ASSERT_TRUE(found.drive);
  EXPECT_EQ(found.drive->label, "REAL");
  EXPECT_FALSE(found.refusal);
}

}  // namespace
}  // namespace nodra
