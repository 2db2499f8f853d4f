#include "platform/system_volumes.h"

#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include <map>
#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "support/temp_folder.h"
#include "terminal/terminal_detection.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

enum class Bus { Usb, FireWire, Sd, Emmc, Ata, Nvme, Optical, Virtual, Network };

struct Mount {
  const char* disk;  // kernel name of the disk
  Bus bus;
  bool removableBit = false;
  unsigned partition = 1;                           // 0: the whole disk is mounted
  const char* mountName = "STICK";                  // Windows-1250 name of the mount point's folder
  const char* configFile = "CONFIG/NODRA3000.ini";  // created on the mount; nullptr for none
  const char* root = "/";                           // the device's folder that is mounted
  unsigned long long size = 7744512;                // sectors of the mounted node; an empty reader has 0
  bool inSysfs = true;                              // false: pulled out while still mounted
};

// A mount table and a sysfs tree laid out as the kernel lays them out, under a scratch folder.
class FakeSystem {
 public:
  explicit FakeSystem(const std::vector<Mount>& mounts) {
    fs::create_directories(sysfs() / "devices");
    fs::create_directories(sysfs() / "dev" / "block");
    std::string table = "22 1 253:0 / / rw,relatime shared:1 - ext4 /dev/mapper/root rw\n";
    int id = 30;
    for (const Mount& m : mounts) {
      const dev_t device = deviceOf(m);
      if (m.inSysfs && m.bus != Bus::Network) addToSysfs(m, device);
      const fs::path mountPoint = mountPointOf(m.mountName);
      fs::create_directories(mountPoint);
      if (m.configFile != nullptr) testing::writeFile(mountPoint / m.configFile, "[NODRA]\r\nAUTO=0\r\n");
      const bool network = m.bus == Bus::Network;
      ++id;
      table += std::to_string(id) + " 22 " + std::to_string(major(device)) + ":" + std::to_string(minor(device)) + " " +
               escaped(m.root) + " " + escaped(mountPoint.string()) +
               " rw,nosuid,nodev,relatime shared:" + std::to_string(id) + " - " +
               (network ? "nfs4 server:/export" : "vfat /dev/" + std::string(m.disk)) + " rw\n";
    }
    table += "a line that is no mount\n";
    testing::writeFile(folder_.path() / "mountinfo", table);
  }

  SystemVolumeSource source() const { return SystemVolumeSource(folder_.path() / "mountinfo", sysfs()); }
  fs::path sysfs() const { return folder_.path() / "sys"; }
  fs::path mountPointOf(std::string_view label) const { return folder_.path() / "media" / cp1250::toUtf8(label); }
  fs::path nodeLink(dev_t device) const {
    return sysfs() / "dev" / "block" / (std::to_string(major(device)) + ":" + std::to_string(minor(device)));
  }

  dev_t deviceOf(const Mount& m) {
    auto [it, added] = diskIndex_.try_emplace(m.disk, static_cast<unsigned>(diskIndex_.size()));
    const unsigned index = it->second;
    std::string_view name = m.disk;
    unsigned majorNumber = 8;
    switch (m.bus) {
      case Bus::Network: return makedev(0, 60 + index);
      case Bus::Sd:
      case Bus::Emmc: majorNumber = 179; break;
      case Bus::Nvme: majorNumber = 259; break;
      case Bus::Optical: majorNumber = 11; break;
      case Bus::Virtual: majorNumber = name.starts_with("dm-") ? 254 : 7; break;
      default: break;
    }
    return makedev(majorNumber, index * 16 + m.partition);
  }

 private:
  static std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
      if (c == ' ')
        out += "\\040";
      else if (c == '\\')
        out += "\\134";
      else
        out += c;
    }
    return out;
  }

  // The device folder under sys/devices and the value of its "type" file ("" for none).
  static std::pair<std::string, std::string> deviceFolder(Bus bus, unsigned index) {
    const std::string n = std::to_string(index);
    switch (bus) {
      case Bus::Usb: return {"pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:" + n, "0"};
      case Bus::FireWire: return {"pci0000:00/0000:00:1e.0/0000:05:00.0/fw1/fw1.0/host7/target7:0:0/7:0:0:" + n, "0"};
      case Bus::Ata: return {"pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:" + n, "0"};
      case Bus::Optical: return {"pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:" + n, "5"};
      case Bus::Sd: return {"platform/fe320000.mmc/mmc_host/mmc" + n + "/mmc" + n + ":aaaa", "SD"};
      case Bus::Emmc: return {"platform/fe330000.mmc/mmc_host/mmc" + n + "/mmc" + n + ":0001", "MMC"};
      case Bus::Nvme: return {"pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme" + n, ""};
      default: return {"virtual", ""};
    }
  }

  void addToSysfs(const Mount& m, dev_t device) {
    const unsigned index = diskIndex_.at(m.disk);
    auto [deviceDir, type] = deviceFolder(m.bus, index);
    const fs::path devices = sysfs() / "devices";
    const fs::path disk = devices / deviceDir / "block" / m.disk;
    fs::create_directories(disk);
    if (!type.empty()) testing::writeFile(devices / deviceDir / "type", type + "\n");
    if (m.bus != Bus::Virtual && !fs::exists(disk / "device")) fs::create_directory_symlink("../..", disk / "device");
    testing::writeFile(disk / "removable", m.removableBit ? "1\n" : "0\n");
    fs::path node = disk;
    if (m.partition == 0) {
      testing::writeFile(disk / "size", std::to_string(m.size) + "\n");
    } else {
      testing::writeFile(disk / "size", std::to_string(m.size + 2048) + "\n");
      const std::string name =
          m.disk +
          std::string((std::string_view(m.disk).back() >= '0' && std::string_view(m.disk).back() <= '9') ? "p" : "") +
          std::to_string(m.partition);
      node = disk / name;
      testing::writeFile(node / "partition", std::to_string(m.partition) + "\n");
      testing::writeFile(node / "size", std::to_string(m.size) + "\n");
    }
    const fs::path link = nodeLink(device);
    if (!fs::is_symlink(link)) fs::create_directory_symlink(fs::path("../..") / node.lexically_relative(sysfs()), link);
  }

  testing::TempFolder folder_;
  std::map<std::string, unsigned, std::less<>> diskIndex_;
};

struct VolumeCase {
  const char* name;
  std::vector<Mount> mounts;
  std::vector<std::string> volumes;  // labels, in drive-letter order
  const char* terminal;              // label of the detected terminal; nullptr for none
};

void PrintTo(const VolumeCase& c, std::ostream* out) { *out << c.name; }

class VolumeScan : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeScan, ListsRemovableVolumesInOrderAndDetectsTheTerminal) {
  const VolumeCase& c = GetParam();
  FakeSystem system(c.mounts);
  SystemVolumeSource source = system.source();

  std::vector<std::string> labels;
  for (const Volume& volume : source.removableVolumes()) {
    labels.push_back(volume.label);
    EXPECT_EQ(volume.root, system.mountPointOf(volume.label));
    EXPECT_NE(volume.device, dev_t{0});
  }
  EXPECT_EQ(labels, c.volumes);

  auto drive = DetectTerminal(source).drive;
  if (c.terminal == nullptr) {
    EXPECT_FALSE(drive) << drive->label;
  } else {
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->label, c.terminal);
    EXPECT_EQ(drive->root, system.mountPointOf(c.terminal));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VolumeScan,
    ::testing::Values(
        VolumeCase{"StickWithFile", {{.disk = "sdb", .bus = Bus::Usb, .removableBit = true}}, {"STICK"}, "STICK"},
        VolumeCase{"StickWithoutFile",
                   {{.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .configFile = nullptr}},
                   {"STICK"},
                   nullptr},
        VolumeCase{
            "EmptyReaderIsSkipped",
            {{.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .partition = 0, .mountName = "READER", .size = 0},
             {.disk = "sdc", .bus = Bus::Usb, .removableBit = true}},
            {"READER", "STICK"},
            "STICK"},
        VolumeCase{"UsbDisk", {{.disk = "sdb", .bus = Bus::Usb, .mountName = "DISK"}}, {"DISK"}, "DISK"},
        VolumeCase{"FireWireDisk", {{.disk = "sdb", .bus = Bus::FireWire, .mountName = "DISK"}}, {"DISK"}, "DISK"},
        VolumeCase{"WholeDiskSdCard",
                   {{.disk = "mmcblk0", .bus = Bus::Sd, .partition = 0, .mountName = "CARD"}},
                   {"CARD"},
                   "CARD"},
        VolumeCase{"Emmc", {{.disk = "mmcblk1", .bus = Bus::Emmc, .mountName = "EMMC"}}, {}, nullptr},
        VolumeCase{"SystemDisks",
                   {{.disk = "sda", .bus = Bus::Ata, .partition = 2, .mountName = "HOME"},
                    {.disk = "nvme0n1", .bus = Bus::Nvme, .mountName = "DATA"},
                    {.disk = "loop0", .bus = Bus::Virtual, .partition = 0, .mountName = "SNAP"},
                    {.disk = "dm-1", .bus = Bus::Virtual, .partition = 0, .mountName = "CRYPT"},
                    {.disk = "sr0", .bus = Bus::Optical, .removableBit = true, .partition = 0, .mountName = "CDROM"}},
                   {},
                   nullptr},
        VolumeCase{"NetworkMount", {{.disk = "share", .bus = Bus::Network, .mountName = "SHARE"}}, {}, nullptr},
        VolumeCase{"TwoTerminalsTakeDiskThenPartitionOrder",
                   {{.disk = "sdc", .bus = Bus::Usb, .removableBit = true, .mountName = "A"},
                    {.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .partition = 2, .mountName = "B"},
                    {.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .mountName = "C"}},
                   {"C", "B", "A"},
                   "C"},
        VolumeCase{"FileStoredInAnotherCase",
                   {{.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .configFile = "config/Nodra3000.INI"}},
                   {"STICK"},
                   "STICK"},
        VolumeCase{"BindMountIsSkipped",
                   {{.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .configFile = nullptr},
                    {.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .mountName = "BIND", .root = "/term"}},
                   {"STICK"},
                   nullptr},
        VolumeCase{"DeviceMountedTwiceCountsOnce",
                   {{.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .mountName = "TERM2"},
                    {.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .mountName = "TERM1"}},
                   {"TERM1"},
                   "TERM1"},
        VolumeCase{"EscapedMountPoints",
                   {{.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .mountName = "NÁKUP 1"},
                    {.disk = "sdc", .bus = Bus::Usb, .removableBit = true, .mountName = "A\\B"}},
                   {"NÁKUP 1", "A\\B"},
                   "NÁKUP 1"},
        VolumeCase{
            "PulledStick", {{.disk = "sdb", .bus = Bus::Usb, .removableBit = true, .inSysfs = false}}, {}, nullptr},
        VolumeCase{"SdzBeforeSdaa",
                   {{.disk = "sdaa", .bus = Bus::Usb, .removableBit = true, .mountName = "A"},
                    {.disk = "sdz", .bus = Bus::Usb, .removableBit = true, .mountName = "Z"}},
                   {"Z", "A"},
                   "Z"}),
    [](const ::testing::TestParamInfo<VolumeCase>& param) { return std::string(param.param.name); });

TEST(SystemVolumes, StickPulledAfterTheScanHasNoMedium) {
  FakeSystem system({{.disk = "sdb", .bus = Bus::Usb, .removableBit = true}});
  SystemVolumeSource source = system.source();
  auto volumes = source.removableVolumes();
  ASSERT_EQ(volumes.size(), 1u);
  const fs::path probePath = system.mountPointOf("STICK") / "CONFIG" / "NODRA3000.ini";
  FileError error;
  const UniqueFd probe = openForReading(probePath, error);
  ASSERT_TRUE(probe);
  EXPECT_TRUE(source.hasReadableMedium(volumes[0], probe.get()));
  EXPECT_FALSE(source.hasReadableMedium(volumes[0], -1));

  // The mount and the cached files stay; only the device's sysfs node goes.
  fs::remove(system.nodeLink(volumes[0].device));
  EXPECT_FALSE(source.hasReadableMedium(volumes[0], probe.get()));
  EXPECT_FALSE(DetectTerminal(source).drive);
}

TEST(SystemVolumes, UnreadableMountTableGivesNoVolumes) {
  testing::TempFolder folder;
  SystemVolumeSource source(folder.path() / "missing", folder.path());
  EXPECT_TRUE(source.removableVolumes().empty());
}

TEST(SystemVolumes, ScanOfThisMachineKeepsToBlockDevices) {
  SystemVolumeSource source;
  for (const Volume& volume : source.removableVolumes()) {
    EXPECT_NE(major(volume.device), 0u) << volume.root;
    EXPECT_TRUE(volume.root.is_absolute()) << volume.root;
  }
}

TEST(SystemVolumes, DiskNamesSortAsTheKernelNamesThem) {
  const std::vector<std::string> ordered = {"sdb",  "sdc",     "sdz",     "sdaa",    "sdab",
                                            "sdba", "mmcblk0", "mmcblk2", "mmcblk10"};
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    for (std::size_t j = 0; j < ordered.size(); ++j) {
      EXPECT_EQ(naturalNameLess(ordered[i], ordered[j]), i < j) << ordered[i] << " vs " << ordered[j];
    }
  }
}

}  // namespace
}  // namespace nodra
