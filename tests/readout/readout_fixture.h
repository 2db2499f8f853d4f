#pragma once
// A terminal in a temporary folder, a program folder beside it, and a Ui that records what the user is shown.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui.h"
#include "platform/volumes.h"
#include "settings/local_settings.h"
#include "store/read_out_context.h"
#include "support/temp_folder.h"
#include "terminal/terminal_session.h"

namespace nodra::test {

class RecordingUi final : public Ui {
 public:
  std::vector<Message> messages;
  std::vector<std::string> statuses;
  std::vector<std::string> titles;
  unsigned progressCalls = 0;
  unsigned lastShown = 0;
  unsigned lastCount = 0;
  std::string driveText;

  void setDriveText(std::string_view text) override { driveText = text; }
  void setStatus(std::string_view text) override { statuses.emplace_back(text); }
  void setTitle(std::string_view text) override { titles.emplace_back(text); }
  void setProgressMax(int) override {}
  void progress(unsigned shown, unsigned count) override {
    ++progressCalls;
    lastShown = shown;
    lastCount = count;
  }
  std::string lastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }

 protected:
  Answer ask(const Message& m) override {
    messages.push_back(m);
    return m.defaultAnswer;
  }
};

// The terminal's card is `root`; with `present` false no terminal is found.
class FolderVolumes final : public VolumeSource {
 public:
  explicit FolderVolumes(std::filesystem::path root) : root_(std::move(root)) {}
  bool present = true;
  std::vector<Volume> removableVolumes() override {
    if (!present) return {};
    return {Volume{root_, "X:", 0}};
  }
  bool hasReadableMedium(const Volume&, int) override { return true; }

 private:
  std::filesystem::path root_;
};

// A test name from a case's label: letters and digits kept, everything else "_".
inline std::string caseName(std::string_view label) {
  std::string name;
  for (char c : label) {
    bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    name += keep ? c : '_';
  }
  return name;
}

using nodra::testing::readFile;
using nodra::testing::writeFile;

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
  std::unique_ptr<FolderVolumes> volumes;

 private:
  nodra::testing::TempFolder root_;
  std::unique_ptr<TerminalSession> session_;
  std::unique_ptr<ReadOutContext> context_;
};

}  // namespace nodra::test
