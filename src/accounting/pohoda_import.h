#pragma once
// Starting Pohoda's XML import ("EXPORT ZASOBY"). Where Pohoda is, and who it runs as, are the user's to
// configure in the local settings file, section [POHODA], which the program only reads:
//   exe=<Pohoda's executable>  user=<Pohoda user>  password=<that user's password>  config=<import configuration>
// The import itself is driven by Pohoda and that configuration file.
#include <string>
#include <vector>

#include "platform/profile_file.h"
#include "platform/ui.h"

namespace nodra {

struct PohodaImportCommand {
  std::string executable, user, password, configFile;  // Windows-1250 text
};

// Missing keys are empty.
PohodaImportCommand readPohodaImportCommand(const ProfileFile& localSettings);

// {executable, "/XML", user, password, configFile}, each one argument however it is spelled.
std::vector<std::string> pohodaImportArguments(const PohodaImportCommand& command);

enum class PohodaLaunch { Started, ExecutableUnset, Failed };

// Starts the import and returns at once; with no executable set, starts nothing.
PohodaLaunch launchPohodaImport(const PohodaImportCommand& command);

// What to tell the user when the executable is not set.
Message pohodaImportUnsetMessage();

}  // namespace nodra
