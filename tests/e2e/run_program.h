#pragma once
// Runs the built program as a script would: its own environment, standard output and error captured (or
// standard output sent where the test says), the exit code.
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/single_instance.h"
#include "support/temp_folder.h"

extern char** environ;

namespace nodra::testing {

struct RunResult {
  int exitCode = -1;
  std::string stdoutText;
  std::string stderrText;
};

// Starts the built program; its standard error goes to <scratch>/stderr.txt, its standard output to
// <scratch>/stdout.txt or to `stdoutTo`.
inline pid_t startProgram(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& env,
                          const std::filesystem::path& scratch, const std::filesystem::path& stdoutTo = {}) {
  std::vector<std::string> envStrings;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry = *e;
    std::string name = entry.substr(0, entry.find('='));
    if (env.count(name) == 0 && name != "DISPLAY" && name != "WAYLAND_DISPLAY") envStrings.push_back(entry);
  }
  for (const auto& [name, value] : env) envStrings.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (auto& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);

  std::vector<std::string> args{NODRA_PROGRAM};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const auto outFile = stdoutTo.empty() ? scratch / "stdout.txt" : stdoutTo;
  const auto errFile = scratch / "stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = 0;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// `stdoutCaptured`: where standard output went, to be read back; empty when it went elsewhere.
inline RunResult waitForProgram(pid_t pid, const std::filesystem::path& scratch,
                                const std::filesystem::path& stdoutCaptured) {
  RunResult result;
  if (pid > 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  if (!stdoutCaptured.empty()) result.stdoutText = readFile(stdoutCaptured);
  result.stderrText = readFile(scratch / "stderr.txt");
  return result;
}

inline RunResult waitForProgram(pid_t pid, const std::filesystem::path& scratch) {
  return waitForProgram(pid, scratch, scratch / "stdout.txt");
}

inline RunResult runProgram(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& env,
                            const std::filesystem::path& scratch, const std::filesystem::path& stdoutTo = {}) {
  return waitForProgram(startProgram(arguments, env, scratch, stdoutTo), scratch,
                        stdoutTo.empty() ? scratch / "stdout.txt" : std::filesystem::path());
}

// The lock every run of this user takes, held by the test as another run would hold it.
class UserLock {
 public:
  UserLock() {
    std::string problem;
    const std::filesystem::path folder = userLockFolder(problem);
    if (!folder.empty()) fd_ = ::open((folder / "NODRA3000MTX").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    taken_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
  }
  ~UserLock() { release(); }
  UserLock(const UserLock&) = delete;
  UserLock& operator=(const UserLock&) = delete;
  bool taken() const { return taken_; }
  void release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  static std::filesystem::path file() {
    std::string problem;
    return userLockFolder(problem) / "NODRA3000MTX";
  }

 private:
  int fd_ = -1;
  bool taken_ = false;
};

}  // namespace nodra::testing
