#include "accounting/pohoda_import.h"

#include "platform/cp1250.h"
#include "platform/process_launch.h"

namespace nodra {

namespace {
constexpr std::string_view kSection = "POHODA";
}  // namespace

PohodaImportCommand readPohodaImportCommand(const ProfileFile& f) {
  PohodaImportCommand c;
  c.executable = f.readString(kSection, "exe", "");
  c.user = f.readString(kSection, "user", "");
  c.password = f.readString(kSection, "password", "");
  c.configFile = f.readString(kSection, "config", "");
  return c;
}

std::vector<std::string> pohodaImportArguments(const PohodaImportCommand& c) {
  return {c.executable, "/XML", c.user, c.password, c.configFile};
}

PohodaLaunch launchPohodaImport(const PohodaImportCommand& command) {
  if (command.executable.empty()) return PohodaLaunch::ExecutableUnset;
  // The system takes arguments and file names as UTF-8.
  std::vector<std::string> arguments = pohodaImportArguments(command);
  for (std::string& argument : arguments) argument = cp1250::toUtf8(argument);
  return launchProgram(arguments) ? PohodaLaunch::Started : PohodaLaunch::Failed;
}

Message pohodaImportUnsetMessage() {
  return failureMessage(
             "Program POHODA nie je nastavený.\r\n\r\n"
             "Doplňte do súboru nodra3000.ini sekciu [POHODA] s kľúčmi:\r\n"
             "exe (cesta k programu POHODA), user (meno používateľa POHODA),\r\n"
             "password (jeho heslo), config (cesta ku konfiguračnému súboru XML importu).",
             kCautionCaption, Icon::Warning)
      .owned();
}

}  // namespace nodra
