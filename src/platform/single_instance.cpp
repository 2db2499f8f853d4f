#include "platform/single_instance.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "platform/file_error.h"
#include "platform/path_text.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

// A folder of ours that strangers cannot change; with `strict`, not even the group.
bool ours(const struct stat& st, bool strict) {
  const mode_t others = strict ? (S_IWGRP | S_IWOTH) : S_IWOTH;
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & others) == 0;
}

std::string unsafeText(const fs::path& path, const std::string& why) {
  return "Zámok proti druhému spusteniu " + toDisplayText(path) + " sa nedá bezpečne použiť: " + why + ".";
}

}  // namespace

SingleInstance::SingleInstance(const fs::path& folder, const std::string& name) { acquire(folder, name); }

void SingleInstance::acquire(const fs::path& folder, const std::string& name) {
  const fs::path file = folder / name;
  auto unsafe = [&](const std::string& why) {
    state_ = State::Unsafe;
    problem_ = unsafeText(file, why);
  };
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat st {};
  if (!dir || ::fstat(dir.get(), &st) != 0) return unsafe(systemReasonText(errno));
  if (!ours(st, true)) return unsafe("priečinok nepatrí tomuto používateľovi alebo doň môžu zapisovať iní");
  UniqueFd lock(::openat(dir.get(), name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
  if (!lock) return unsafe(errno == ELOOP ? std::string("je to symbolický odkaz") : systemReasonText(errno));
  if (::fstat(lock.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
    return unsafe("nie je to obyčajný súbor tohto používateľa");
  }
  if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) {
      state_ = State::HeldElsewhere;
      return;
    }
    return unsafe(systemReasonText(errno));
  }
  lock_ = std::move(lock);
  state_ = State::Acquired;
}

fs::path userLockFolder(std::string& problem) {
  // Not $HOME: cron, su and service managers set the environment each their own way.
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] != '/') {
    problem = "Používateľ nemá v systéme domovský priečinok; zámok proti druhému spusteniu nie je kde uložiť.";
    return {};
  }
  const fs::path home = found->pw_dir;
  UniqueFd dir(::open(home.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat st {};
  if (!dir || ::fstat(dir.get(), &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & S_IWOTH) != 0) {
    problem = "Domovský priečinok " + toDisplayText(home) +
              " nepatrí tomuto používateľovi; zámok proti druhému spusteniu v ňom nemožno bezpečne uložiť.";
    return {};
  }
  fs::path folder = home;
  for (const std::string_view part : {".local", "state", "nodra3000"}) {
    // Made private; an existing one must already be ours and closed to strangers.
    const std::string name(part);
    if (::mkdirat(dir.get(), name.c_str(), 0700) != 0 && errno != EEXIST) {
      problem = unsafeText(folder / name, systemReasonText(errno));
      return {};
    }
    UniqueFd next(::openat(dir.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    folder /= name;
    if (!next || ::fstat(next.get(), &st) != 0 || !ours(st, part == "nodra3000")) {
      problem = unsafeText(folder, "priečinok nie je súkromný priečinok tohto používateľa");
      return {};
    }
    dir = std::move(next);
  }
  return folder;
}

}  // namespace nodra
