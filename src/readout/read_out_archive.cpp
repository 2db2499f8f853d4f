#include "readout/read_out_archive.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/path_text.h"
#include "store/read_out_messages.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

// The name an archive is built under until it is complete; a leftover of a killed run is removed.
constexpr std::string_view kBuildingPrefix = ".nodra-archiv-";

bool digits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string startName(std::chrono::system_clock::time_point started) {
  const std::time_t t = std::chrono::system_clock::to_time_t(started);
  std::tm local{};
  ::localtime_r(&t, &local);
  char name[32];
  std::strftime(name, sizeof name, "%Y-%m-%d_%H%M%S", &local);
  return name;
}

// Archive folders in the order their names give: by their time, then by their number ("_2" after none).
// Numbers are compared as digit strings, so that no name, however long, can stop a read-out.
bool madeBefore(const std::string& a, const std::string& b) {
  const std::string_view ta(a.data(), 17), tb(b.data(), 17);
  if (ta != tb) return ta < tb;
  const std::string_view na = std::string_view(a).substr(std::min<std::size_t>(a.size(), 18));
  const std::string_view nb = std::string_view(b).substr(std::min<std::size_t>(b.size(), 18));
  if (na.size() != nb.size()) return na.size() < nb.size();
  return na < nb;
}

bool syncFolder(const fs::path& folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd && (::fsync(fd.get()) == 0 || errno == EINVAL || errno == ENOTSUP);
}

void refuse(Ui& ui, const std::string& folder, const FileError& error) {
  ui.message(readOutFailure(withReason("Archív vyčítania sa nepodarilo vytvoriť v priečinku " + folder, error) +
                            ".\r\n\r\nNič sa nevyčítalo; predchádzajúce výstupy zostali nezmenené."));
  ui.setStatus(kReadOutFailed);
}

// The older archive folders beyond the newest `keep`; nothing else in the folder is looked at. The one just
// made is the newest whatever its name: a clock set back, a change of time or a name freed by an earlier
// rotation may give it one that sorts before the others.
void rotate(const fs::path& root, int keep, const std::string& justMade) {
  if (keep <= 0) return;
  std::vector<std::string> older;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(root, ec)) {
    const std::string name = entry.path().filename().string();
    if (name != justMade && isArchiveFolderName(name) && entry.is_directory(ec) && !entry.is_symlink(ec)) {
      older.push_back(name);
    }
  }
  const auto keptOlder = static_cast<std::size_t>(keep - 1);
  if (older.size() <= keptOlder) return;
  std::sort(older.begin(), older.end(), madeBefore);
  for (std::size_t i = 0; i + keptOlder < older.size(); ++i) fs::remove_all(root / older[i], ec);
}

}  // namespace

bool isArchiveFolderName(std::string_view name) {
  // YYYY-MM-DD_HHMMSS, then optionally _N
  if (name.size() < 17) return false;
  const std::string_view stamp = name.substr(0, 17);
  if (!digits(stamp.substr(0, 4)) || stamp[4] != '-' || !digits(stamp.substr(5, 2)) || stamp[7] != '-' ||
      !digits(stamp.substr(8, 2)) || stamp[10] != '_' || !digits(stamp.substr(11, 6))) {
    return false;
  }
  if (name.size() == 17) return true;
  return name[17] == '_' && digits(name.substr(18)) && name.substr(18, 1) != "0";
}

bool archiveCardFiles(ReadOutContext& ctx) {
  const LocalSettings& s = ctx.settings;
  if (s.path_archiv.empty()) return true;
  Ui& ui = ctx.session.ui;
  const auto& drive = ctx.session.drive;
  if (!drive) return true;
  const fs::path root = toFsPath(s.path_archiv);
  FileError error;
  std::error_code ec;
  fs::create_directories(root, ec);
  if (ec) {
    error.set(FileTrouble::System, s.path_archiv, ec.value());
    refuse(ui, s.path_archiv, error);
    return false;
  }
  for (const auto& entry : fs::directory_iterator(root, ec)) {
    if (entry.path().filename().string().starts_with(kBuildingPrefix)) fs::remove_all(entry.path(), ec);
  }
  const fs::path building = root / (std::string(kBuildingPrefix) + std::to_string(::getpid()));
  if (::mkdir(building.c_str(), 0777) != 0) {
    error.set(FileTrouble::System, s.path_archiv, errno);
    refuse(ui, s.path_archiv, error);
    return false;
  }
  auto abandon = [&](const FileError& why) {
    std::error_code ignored;
    fs::remove_all(building, ignored);
    refuse(ui, s.path_archiv, why);
    return false;
  };
  for (const ArchivedFile& file : kArchivedFiles) {
    const FilePlace source = drive->place(file.onCard);
    const FileError there = inspectPlace(source);
    if (there.trouble == FileTrouble::Missing && !file.required) continue;
    if (!copyFileReplacing(source, building / file.name, error)) return abandon(error);
  }
  if (!syncFolder(building)) {
    error.set(FileTrouble::System, s.path_archiv, errno);
    return abandon(error);
  }
  const std::string base = startName(ctx.started);
  fs::path made;
  for (int n = 1; made.empty(); ++n) {
    const fs::path name = root / (n == 1 ? base : base + "_" + std::to_string(n));
    if (::renameat2(AT_FDCWD, building.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
      made = name;
    } else if (errno == EINVAL && !fs::exists(name, ec)) {
      // A file system without the no-replace rename: the name was looked at just before.
      if (::rename(building.c_str(), name.c_str()) != 0) {
        error.set(FileTrouble::System, s.path_archiv, errno);
        return abandon(error);
      }
      made = name;
    } else if (errno != EEXIST && errno != ENOTEMPTY && errno != EINVAL) {
      error.set(FileTrouble::System, s.path_archiv, errno);
      return abandon(error);
    }
  }
  syncFolder(root);
  ui.reportArchive(toDisplayText(made));
  rotate(root, s.archiv_pocet, made.filename().string());
  return true;
}

}  // namespace nodra
