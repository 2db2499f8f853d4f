#pragma once
// A terminal in a temporary folder and a program folder beside it.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/folder_list_source.h"
#include "settings/local_settings.h"
#include "store/read_out_context.h"
#include "support/case_name.h"
#include "support/folder_drives.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "terminal/terminal_session.h"

namespace nodra::testing {

// A fresh folder with "card/" (a terminal: CONFIG/NODRA3000.ini, DATA/) and "program/" (exeFolder, output files).
class ReadOutTest : public ::testing::Test {
 protected:
  ReadOutTest();

  std::filesystem::path card(std::string_view relative = {}) const { return root_ / "card" / relative; }
  std::filesystem::path program(std::string_view relative = {}) const { return root_ / "program" / relative; }
  // The program folder as the settings hold it (ends with "/").
  std::string exeFolder() const;

  void writeMainStore(std::string_view bytes) { writeFile(card("DATA/DATA_OUT.TXT"), bytes); }
  void writeReport(std::string_view bytes) { writeFile(card("DATA/ZOST_OUT.TXT"), bytes); }

  // A context as the window builds it, after a detection of the card.
  ReadOutContext& context();

  RecordingUi ui;
  LocalSettings settings;
  unsigned terminalSettingsReads = 0;
  std::unique_ptr<FolderListSource> volumes;  // the card as drive X:

 private:
  TempFolder root_;
  std::unique_ptr<TerminalSession> session_;
  std::unique_ptr<ReadOutContext> context_;
};

}  // namespace nodra::testing
