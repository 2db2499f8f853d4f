#pragma once
// A terminal in a temporary folder, with the shared test support.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/folder_list_source.h"
#include "settings/local_settings.h"
#include "store/read_out_context.h"
#include "support/decimal_comma_locale.h"
#include "support/environment_variable.h"
#include "support/folder_drives.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "terminal/terminal_session.h"

namespace nodra::testing {

// A terminal card at <temp>/card (with its settings file) and the XML output folder <temp>/out.
class TerminalFixture : public ::testing::Test {
 protected:
  TerminalFixture() {
    writeFile(card / "CONFIG" / "NODRA3000.ini", "[NODRA3000]\r\n");
    std::filesystem::create_directories(outFolder);
    settings.path_xmlOut = outFolder.string() + "/any.txt";
  }

  void removeTerminal() { volumes = FolderListSource(); }

  TempFolder temp;
  std::filesystem::path card = temp / "card";
  std::filesystem::path outFolder = temp / "out";
  RecordingUi ui;
  FolderListSource volumes = oneDrive(card);
  TerminalSession session{ui, volumes, std::nullopt};
  LocalSettings settings;
  ReadOutContext ctx{session, settings, "/opt/nodra/", {}, false, 0};
};

}  // namespace nodra::testing
