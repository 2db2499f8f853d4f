#pragma once
// A Ui that records what the user would see, a terminal card in a folder, and the decimal-comma locale.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"
#include "platform/volumes.h"

namespace nodra::extras {

class RecordingUi final : public Ui {
 public:
  std::vector<Message> messages;
  std::vector<std::string> statuses;

  void setDriveText(std::string_view) override {}
  void setStatus(std::string_view text) override { statuses.emplace_back(text); }
  void setTitle(std::string_view) override {}
  void setProgressMax(int) override {}
  void progress(unsigned, unsigned) override {}

 protected:
  Answer ask(const Message& m) override {
    messages.push_back(m);
    return m.defaultAnswer;
  }
};

// One removable drive, the folder `root`; `present` false hides it.
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

// Holds the process in a locale with a decimal comma, generating it when missing; `active()` false means skip.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale() {
    active_ = std::setlocale(LC_ALL, "sk_SK.UTF-8") != nullptr;
    if (!active_ && std::system("localedef -i sk_SK -f UTF-8 sk_SK.UTF-8 >/dev/null 2>&1") == 0) {
      active_ = std::setlocale(LC_ALL, "sk_SK.UTF-8") != nullptr;
    }
  }
  ~DecimalCommaLocale() { std::setlocale(LC_ALL, "C"); }
  DecimalCommaLocale(const DecimalCommaLocale&) = delete;
  DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
  bool active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace nodra::extras
