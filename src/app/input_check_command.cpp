#include "app/input_check_command.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "fill/input_check.h"
#include "platform/cp1250.h"
#include "platform/path_text.h"
#include "platform/profile_file.h"
#include "settings/local_settings.h"

namespace nodra {

bool isInputCheck(int argc, const char* const argv[]) {
  return argc > 2 && argv[1][0] == 'O' && std::string_view(argv[2]) == "/check";
}

int runInputCheck(const std::filesystem::path& executable, const std::filesystem::path& programFolder) {
  std::string exeFolder = toDisplayText(programFolder);
  if (exeFolder.empty() || exeFolder.back() != '/') exeFolder.push_back('/');
  // The settings under the name a start would give them; an older file it would rename is read where it is.
  std::filesystem::path file = programFolder / "nodra3000.ini";
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    std::filesystem::path old = programFolder / executable.filename();
    old.replace_extension(".ini");
    if (std::filesystem::exists(old, ec)) file = old;
  }
  const ProfileFile profile(file, toDisplayText(file), false);
  const InputCheckReport report = checkInputFile(readLocalSettings(profile, exeFolder), exeFolder);

  std::string out;
  for (const std::string& line : report.lines) out += cp1250::toUtf8(line) + "\n";
  out += cp1250::toUtf8(report.closingLine()) + "\n";
  // A full disk or a closed pipe behind standard output must not pass for a report given.
  errno = 0;
  if (std::fputs(out.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
    const int error = errno;
    std::fprintf(stderr, "NODRA3000: Cannot write to standard output. %s\n",
                 std::system_category().message(error).c_str());
    return 1;
  }
  return report.failed ? 1 : 0;
}

}  // namespace nodra
