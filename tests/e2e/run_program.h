#pragma once
// Runs the built program as a script would: its own environment, standard output and error captured (or
// standard output sent where the test says), the exit code.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace nodra::testing {

struct RunResult {
  int exitCode = -1;
  std::string stdoutText;
  std::string stderrText;
};

inline RunResult runProgram(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& env,
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
  RunResult result;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (stdoutTo.empty()) result.stdoutText = readFile(outFile);
  result.stderrText = readFile(errFile);
  return result;
}

}  // namespace nodra::testing
