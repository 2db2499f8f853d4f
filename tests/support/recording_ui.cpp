#include "support/recording_ui.h"

#include <stdexcept>

namespace nodra::testing {

std::vector<std::string> RecordingUi::boxTexts() const {
  std::vector<std::string> texts;
  for (const Message& m : messages) texts.push_back(m.text);
  return texts;
}

void RecordingUi::setDriveText(std::string_view text) {
  if (recording()) driveText = text;
}

void RecordingUi::setStatus(std::string_view text) {
  if (!recording()) return;
  statuses.emplace_back(text);
  events.push_back("status:" + std::string(text));
}

void RecordingUi::setTitle(std::string_view text) {
  if (recording()) titles.emplace_back(text);
}

void RecordingUi::setProgressMax(int max) {
  if (recording()) events.push_back("max:" + std::to_string(max));
}

void RecordingUi::progress(unsigned shown, unsigned count) {
  if (!recording()) return;
  progressCalls.emplace_back(shown, count);
  lastShown = shown;
  lastCount = count;
}

Answer RecordingUi::ask(const Message& m) {
  ++messageCount_;
  if (mode_ == Mode::ThrowOnMessage) throw std::runtime_error(m.text);
  if (recording()) {
    messages.push_back(m);
    events.push_back("box:" + m.caption + "|" + m.text);
  }
  return m.defaultAnswer;
}

}  // namespace nodra::testing
