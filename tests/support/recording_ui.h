#pragma once
// A Ui that records what the user would see. Quiet, it keeps only the count of messages: a benchmark's or fuzz
// target's million progress calls then cost nothing.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui.h"

namespace nodra::testing {

class RecordingUi final : public Ui {
 public:
  enum class Mode {
    Record,
    Quiet,
    // Quiet, and a message throws its text as std::runtime_error: in a benchmark it means the run did not do
    // what is measured.
    ThrowOnMessage,
  };
  explicit RecordingUi(Mode mode = Mode::Record) : mode_(mode) {}

  std::vector<Message> messages;
  std::vector<std::string> statuses;
  std::vector<std::string> titles;
  std::string driveText;
  std::vector<std::pair<unsigned, unsigned>> progressCalls;  // (shown, count) of every call
  unsigned lastShown = 0;
  unsigned lastCount = 0;
  // The calls that shape a run, in order, one line each: "status:...", "box:caption|text", "max:N".
  std::vector<std::string> events;

  // Kept in every mode.
  unsigned messageCount() const { return messageCount_; }
  std::string lastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }
  std::vector<std::string> boxTexts() const;

  void setDriveText(std::string_view text) override;
  void setStatus(std::string_view text) override;
  void setTitle(std::string_view text) override;
  void setProgressMax(int max) override;
  void progress(unsigned shown, unsigned count) override;

 protected:
  // Every box is answered with its default.
  Answer ask(const Message& m) override;

 private:
  bool recording() const { return mode_ == Mode::Record; }

  Mode mode_;
  unsigned messageCount_ = 0;
};

}  // namespace nodra::testing
