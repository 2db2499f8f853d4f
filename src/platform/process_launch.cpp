#include "platform/process_launch.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace nodra {

namespace {

// Frees the attribute objects whatever path the launch takes.
struct SpawnSetup {
  posix_spawnattr_t attributes{};
  posix_spawn_file_actions_t actions{};
  bool ready = false;

  SpawnSetup() {
    if (posix_spawnattr_init(&attributes) != 0) return;
    if (posix_spawn_file_actions_init(&actions) != 0) {
      posix_spawnattr_destroy(&attributes);
      return;
    }
    ready = true;
  }
  ~SpawnSetup() {
    if (!ready) return;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

bool launchProgram(const std::vector<std::string>& arguments) {
  if (arguments.empty() || arguments.front().empty()) return false;
  SpawnSetup setup;
  if (!setup.ready) return false;

  // The program starts clean: default signal handling, nothing blocked, its own session (closing this
  // program or its terminal does not take it along), and none of our descriptors beyond the standard three.
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
  flags |= POSIX_SPAWN_SETSID;
#endif
  if (posix_spawnattr_setflags(&setup.attributes, flags) != 0 ||
      posix_spawnattr_setsigmask(&setup.attributes, &none) != 0 ||
      posix_spawnattr_setsigdefault(&setup.attributes, &all) != 0) {
    return false;
  }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  if (posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3) != 0) return false;
#endif

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ) != 0) return false;

  // Nobody waits for the program, so someone must collect its exit status or it lingers as a zombie.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace nodra
