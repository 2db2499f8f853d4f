#pragma once
// A terminal in a temporary folder, a Ui that records what the user would see, and the decimal-comma locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui.h"
#include "platform/volumes.h"
#include "settings/local_settings.h"
#include "store/read_out_context.h"
#include "support/temp_folder.h"
#include "terminal/terminal_session.h"

namespace nodra::test {

class RecordingUi : public Ui {
 public:
  std::vector<Message> messages;
  std::vector<std::pair<unsigned, unsigned>> progressCalls;
  std::string driveText;

  void setDriveText(std::string_view text) override { driveText = text; }
  void setStatus(std::string_view) override {}
  void setTitle(std::string_view) override {}
  void setProgressMax(int) override {}
  void progress(unsigned shown, unsigned count) override { progressCalls.emplace_back(shown, count); }

 protected:
  Answer ask(const Message& m) override {
    messages.push_back(m);
    return m.defaultAnswer;
  }
};

// The drives are plain folders.
class FolderVolumes : public VolumeSource {
 public:
  std::vector<Volume> volumes;
  std::vector<Volume> removableVolumes() override { return volumes; }
  bool hasReadableMedium(const Volume&, int) override { return true; }
};

using nodra::testing::namesIn;
using nodra::testing::readFile;
using nodra::testing::TempFolder;
using nodra::testing::writeFile;

// A terminal card at <temp>/card (with its settings file) and the XML output folder <temp>/out.
class TerminalFixture : public ::testing::Test {
 protected:
  TerminalFixture() {
    card = temp.path() / "card";
    outFolder = temp.path() / "out";
    writeFile(card / "CONFIG" / "NODRA3000.ini", "[NODRA3000]\r\n");
    std::filesystem::create_directories(outFolder);
    volumes.volumes.push_back(Volume{card, "X:", 0});
    settings.path_xmlOut = outFolder.string() + "/any.txt";
  }

  void removeTerminal() { volumes.volumes.clear(); }

  TempFolder temp;
  std::filesystem::path card;
  std::filesystem::path outFolder;
  RecordingUi ui;
  FolderVolumes volumes;
  TerminalSession session{ui, volumes, std::nullopt};
  LocalSettings settings;
  ReadOutContext ctx{session, settings, "/opt/nodra/", {}, false, 0};
};

// Sets the process locale to one with a decimal comma, generating it when the system lacks it. False when
// that is impossible (the caller skips).
inline bool useDecimalCommaLocale() {
  if (std::setlocale(LC_ALL, "sk_SK.UTF-8") != nullptr) return true;
  if (std::system("localedef -i sk_SK -f UTF-8 sk_SK.UTF-8 >/dev/null 2>&1") != 0) return false;
  return std::setlocale(LC_ALL, "sk_SK.UTF-8") != nullptr;
}

// Restores the "C" locale when the test ends, however it ends.
struct ProcessLocaleGuard {
  ~ProcessLocaleGuard() { std::setlocale(LC_ALL, "C"); }
};

// Sets an environment variable for the test's duration.
class EnvironmentGuard {
 public:
  EnvironmentGuard(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value, 1);
  }
  EnvironmentGuard(const EnvironmentGuard&) = delete;
  EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;
  ~EnvironmentGuard() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace nodra::test
