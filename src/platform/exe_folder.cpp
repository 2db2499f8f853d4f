#include "platform/exe_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/file_error.h"
#include "platform/path_text.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

std::string variable(const char* name) {
  const char* v = std::getenv(name);
  return v == nullptr ? std::string() : std::string(v);
}

fs::path passwordHome() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] != '/') {
    return {};
  }
  return found->pw_dir;
}

// Whether strangers could plant files there: settings that send the outputs elsewhere, work files.
std::string sharedFolderProblem(const fs::path& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) {
    return "Priečinok programu " + toDisplayText(folder) + " sa nedá použiť (" + systemReasonText(errno) + ").";
  }
  if (!S_ISDIR(st.st_mode)) return "Priečinok programu " + toDisplayText(folder) + " nie je priečinok.";
  if (st.st_uid != ::geteuid()) {
    return "Priečinok programu " + toDisplayText(folder) +
           " patrí inému používateľovi; jeho nastavenia a pracovné súbory by mohol meniť niekto iný.";
  }
  if ((st.st_mode & S_IWOTH) != 0) {
    return "Do priečinka programu " + toDisplayText(folder) +
           " môže zapisovať ktokoľvek; jeho nastavenia a pracovné súbory by mohol meniť niekto iný.";
  }
  if ((st.st_mode & S_IWGRP) != 0) {
    return "Do priečinka programu " + toDisplayText(folder) +
           " môžu zapisovať aj ďalší členovia jeho skupiny; jeho nastavenia a pracovné súbory by mohol meniť "
           "niekto iný.";
  }
  return {};
}

bool ownedByUs(const fs::path& folder) {
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

}  // namespace

std::optional<fs::path> findExeFolder(const fs::path& executable, std::string& problem) {
  std::error_code ec;
  fs::path result;
  fs::path dataFolder;  // made only once the name is known to be usable
  if (const std::string home = variable("NODRA3000_HOME"); !home.empty()) {
    result = fs::absolute(home, ec);
  } else {
    const fs::path folder = executable.parent_path();
    fs::path oldName = executable;
    oldName.replace_extension(".ini");
    if ((fs::exists(folder / "nodra3000.ini", ec) || fs::exists(oldName, ec)) && ownedByUs(folder)) {
      result = folder;
    } else {
      fs::path data;
      if (const std::string xdg = variable("XDG_DATA_HOME"); !xdg.empty() && xdg.front() == '/') {
        data = xdg;
      } else {
        // Without HOME (some service managers) the password database still knows the home.
        fs::path userHome = variable("HOME");
        if (userHome.empty() || !userHome.is_absolute()) userHome = passwordHome();
        if (userHome.empty()) {
          problem =
              "Používateľ nemá domovský priečinok a NODRA3000_HOME nie je nastavené: program nemá "
              "kde uložiť svoje nastavenia.";
          return std::nullopt;
        }
        data = userHome / ".local" / "share";
      }
      result = data / "nodra3000";
      dataFolder = data;
    }
  }
  if (!toPathText(result)) {
    problem = "Priečinok programu " + toDisplayText(result) +
              " má v mene znaky, ktoré nastavenia programu nevedia uložiť (nemajú tvar vo Windows-1250).\r\n\r\n"
              "Nastavte NODRA3000_HOME na priečinok s iným menom.";
    return std::nullopt;
  }
  if (!dataFolder.empty()) {
    fs::create_directories(dataFolder, ec);
    // The program's own folder is private from the start.
    ::mkdir(result.c_str(), 0700);
  }
  fs::create_directories(result, ec);
  if (std::string shared = sharedFolderProblem(result); !shared.empty()) {
    problem = std::move(shared);
    return std::nullopt;
  }
  return result;
}

}  // namespace nodra
