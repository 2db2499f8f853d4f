#include "platform/system_volumes.h"

#include <fcntl.h>
#include <libmount.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>

#include "platform/path_text.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<std::string> readSysfsLine(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ' || line.back() == '\r')) line.pop_back();
  return line;
}

std::optional<unsigned long long> readSysfsNumber(const fs::path& file) {
  auto line = readSysfsLine(file);
  if (!line) return std::nullopt;
  unsigned long long value = 0;
  auto [end, ec] = std::from_chars(line->data(), line->data() + line->size(), value);
  if (ec != std::errc{} || end != line->data() + line->size()) return std::nullopt;
  return value;
}

fs::path sysfsNode(const fs::path& sysfsRoot, dev_t device) {
  return sysfsRoot / "dev" / "block" / (std::to_string(major(device)) + ":" + std::to_string(minor(device)));
}

// "usb1", "fw0", "ata3", "mmc0": a bus component of a device path, a name followed by its number.
bool isBusComponent(const std::string& component, std::string_view bus) {
  if (component.size() <= bus.size() || component.compare(0, bus.size(), bus) != 0) return false;
  return std::all_of(component.begin() + static_cast<std::ptrdiff_t>(bus.size()), component.end(), isDigit);
}

struct Disk {
  std::string name;
  unsigned long long partition = 0;  // 0: the whole disk is mounted
};

// What the desktop counts as removable: the removable-medium bit, or a USB or FireWire bus, or an SD card.
// Optical drives, eMMC, ATA and NVMe disks and virtual devices (loop, device-mapper, RAID) never are.
bool desktopCountsRemovable(const fs::path& devicesRoot, const fs::path& diskFolder) {
  fs::path relative = diskFolder.lexically_relative(devicesRoot);
  if (relative.empty() || *relative.begin() == "..") return false;
  bool usbOrFirewire = false;
  bool mmc = false;
  bool systemBus = false;
  for (const fs::path& part : relative) {
    const std::string name = part.string();
    if (name == "virtual") return false;
    if (isBusComponent(name, "usb") || isBusComponent(name, "fw")) usbOrFirewire = true;
    if (isBusComponent(name, "mmc")) mmc = true;
    if (isBusComponent(name, "ata") || name == "nvme") systemBus = true;
  }
  auto type = readSysfsLine(diskFolder / "device" / "type");
  // SCSI peripheral type 5: CD or DVD, which Windows never reports as a removable drive.
  if (type && *type == "5") return false;
  if (usbOrFirewire) return true;
  if (mmc || (type && (*type == "MMC" || *type == "SDIO"))) return type && (*type == "SD" || *type == "SDcombo");
  if (systemBus) return false;
  auto removable = readSysfsNumber(diskFolder / "removable");
  return removable && *removable == 1;
}

std::optional<Disk> removableDiskOf(const fs::path& sysfsRoot, const fs::path& devicesRoot, dev_t device) {
  std::error_code ec;
  fs::path node = fs::canonical(sysfsNode(sysfsRoot, device), ec);
  if (ec) return std::nullopt;
  Disk disk;
  fs::path diskFolder = node;
  if (auto partition = readSysfsNumber(node / "partition")) {
    disk.partition = *partition;
    diskFolder = node.parent_path();
  }
  if (!desktopCountsRemovable(devicesRoot, diskFolder)) return std::nullopt;
  disk.name = diskFolder.filename().string();
  return disk;
}

std::string labelFor(const fs::path& mountPoint) {
  fs::path name = mountPoint.filename();
  if (name.empty()) name = mountPoint.parent_path().filename();
  std::string label = toDisplayText(name);
  return label.empty() ? std::string("/") : label;
}

// A broken line in the mount table costs that line only.
int skipBrokenLine(libmnt_table*, const char*, int) { return 1; }

struct Candidate {
  Disk disk;
  std::string target;
  dev_t device;
};

// Probes read the medium directly; 4 KiB suits the logical block size of every card and disk.
constexpr std::size_t kProbeSize = 4096;

bool readsFromMedium(int probeFile) {
  alignas(kProbeSize) char buffer[kProbeSize];
  const int flags = ::fcntl(probeFile, F_GETFL);
  // Some file systems refuse direct access; the plain read is the best they offer.
  const bool direct = flags >= 0 && ::fcntl(probeFile, F_SETFL, flags | O_DIRECT) == 0;
  ssize_t n = 0;
  do {
    n = ::pread(probeFile, buffer, sizeof buffer, 0);
  } while (n < 0 && errno == EINTR);
  if (direct) {
    if (n < 0 && errno == EINVAL) {
      ::fcntl(probeFile, F_SETFL, flags);
      do {
        n = ::pread(probeFile, buffer, sizeof buffer, 0);
      } while (n < 0 && errno == EINTR);
    } else {
      ::fcntl(probeFile, F_SETFL, flags);
    }
  }
  return n >= 0;
}

}  // namespace

bool naturalNameLess(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitsA = isDigit(a[i]);
    const bool digitsB = isDigit(b[j]);
    if (digitsA != digitsB) return digitsA;
    std::size_t endA = i;
    std::size_t endB = j;
    while (endA < a.size() && isDigit(a[endA]) == digitsA) ++endA;
    while (endB < b.size() && isDigit(b[endB]) == digitsB) ++endB;
    std::string_view runA = a.substr(i, endA - i);
    std::string_view runB = b.substr(j, endB - j);
    if (digitsA) {
      while (runA.size() > 1 && runA.front() == '0') runA.remove_prefix(1);
      while (runB.size() > 1 && runB.front() == '0') runB.remove_prefix(1);
    }
    // Kernel names grow a letter after "z": a shorter run comes first, as a smaller number would.
    if (runA.size() != runB.size()) return runA.size() < runB.size();
    if (runA != runB) return runA < runB;
    i = endA;
    j = endB;
  }
  if ((i < a.size()) != (j < b.size())) return j < b.size();
  return a < b;
}

SystemVolumeSource::SystemVolumeSource(fs::path mountTable, fs::path sysfsRoot)
    : mountTable_(std::move(mountTable)), sysfsRoot_(std::move(sysfsRoot)) {}

std::vector<Volume> SystemVolumeSource::removableVolumes() {
  std::vector<Volume> volumes;
  std::error_code ec;
  const fs::path devicesRoot = fs::canonical(sysfsRoot_ / "devices", ec);
  if (ec) return volumes;

  std::unique_ptr<libmnt_table, decltype(&mnt_unref_table)> table(mnt_new_table(), &mnt_unref_table);
  if (!table) return volumes;
  mnt_table_set_parser_errcb(table.get(), &skipBrokenLine);
  if (mnt_table_parse_file(table.get(), mountTable_.c_str()) != 0) return volumes;
  std::unique_ptr<libmnt_iter, decltype(&mnt_free_iter)> iter(mnt_new_iter(MNT_ITER_FORWARD), &mnt_free_iter);
  if (!iter) return volumes;

  std::vector<Candidate> candidates;
  libmnt_fs* entry = nullptr;
  while (mnt_table_next_fs(table.get(), iter.get(), &entry) == 0) {
    const char* root = mnt_fs_get_root(entry);
    const char* target = mnt_fs_get_target(entry);
    const dev_t device = mnt_fs_get_devno(entry);
    // Network and virtual file systems have no block device (major 0).
    if (root == nullptr || std::string_view(root) != "/" || target == nullptr || major(device) == 0) continue;
    if (auto disk = removableDiskOf(sysfsRoot_, devicesRoot, device)) {
      candidates.push_back({std::move(*disk), target, device});
    }
  }
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& x, const Candidate& y) {
    if (x.disk.name != y.disk.name) return naturalNameLess(x.disk.name, y.disk.name);
    return std::tie(x.disk.partition, x.target) < std::tie(y.disk.partition, y.target);
  });
  std::vector<dev_t> seen;
  for (const Candidate& c : candidates) {
    if (std::find(seen.begin(), seen.end(), c.device) != seen.end()) continue;
    seen.push_back(c.device);
    fs::path mountPoint(c.target);
    volumes.push_back({mountPoint, labelFor(mountPoint), c.device});
  }
  return volumes;
}

bool SystemVolumeSource::hasReadableMedium(const Volume& volume, int probeFile) {
  if (volume.device != 0) {
    // The node goes the moment the device does; an empty card reader reports size 0.
    auto size = readSysfsNumber(sysfsNode(sysfsRoot_, volume.device) / "size");
    if (!size || *size == 0) return false;
  }
  return readsFromMedium(probeFile);
}

std::unique_ptr<VolumeSource> makeSystemVolumeSource() { return std::make_unique<SystemVolumeSource>(); }

}  // namespace nodra
