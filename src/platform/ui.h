#pragma once
// The one seam between the program's work and whoever watches it: the window, the console, or a test.
// Every message box, status text and progress update goes through here. Texts are Windows-1250.
//
// How a failure travels, everywhere in the program:
// - What the user is told goes through Ui, at the place that knows the words: the command's own code.
// - Files report through return values (bool, FileError) to that code; they never show anything.
// - An exception only for what ends the whole command (a write error of the settings service, a failed
//   save of an XML file): the command's handler catches it and shows it through Ui.
#include <optional>
#include <string>
#include <string_view>

namespace nodra {

enum class Icon { None, Information, Warning, Error };
enum class Buttons { Ok, YesNo, Abort };
enum class Answer { Ok, Yes, No, Abort };

// How a message counts for the exit code of a batch run.
enum class Outcome { Info, Failure, NoTerminal };

inline constexpr std::string_view kCautionCaption = "Pozor...";

// What a message says about one line of an input file, in parts a list of problems can show.
struct LineProblem {
  unsigned line = 0;  // from 1
  std::string what;
  std::optional<std::string> text;  // the text at fault, where there is one
};

struct Message {
  std::string text;
  std::string caption;
  Icon icon = Icon::Information;
  Buttons buttons = Buttons::Ok;
  Answer defaultAnswer = Answer::Ok;
  bool ownedByWindow = false;
  bool onTop = true;
  Outcome outcome = Outcome::Info;
  std::optional<LineProblem> lineProblem;
  bool longList = false;  // many lines: a window shows it where it can scroll

  // For the few boxes that differ from the builders below.
  Message& owned() {
    ownedByWindow = true;
    return *this;
  }
  Message& notOnTop() {
    onTop = false;
    return *this;
  }
};

// The three kinds of box the program shows. A failure counts for the exit code of a batch run.
inline Message informationMessage(std::string text, std::string_view caption) {
  Message m;
  m.text = std::move(text);
  m.caption = std::string(caption);
  return m;
}
inline Message warningMessage(std::string text, std::string_view caption = kCautionCaption) {
  Message m = informationMessage(std::move(text), caption);
  m.icon = Icon::Warning;
  return m;
}
// Most failures carry the information icon under "Pozor..."; `icon` says otherwise.
inline Message failureMessage(std::string text, std::string_view caption = kCautionCaption,
                              Icon icon = Icon::Information) {
  Message m = informationMessage(std::move(text), caption);
  m.icon = icon;
  m.outcome = Outcome::Failure;
  return m;
}
// The framework's error dialog with its single Abort button, for a file that cannot be created.
inline Message abortMessage(std::string text) {
  Message m = failureMessage(std::move(text), {}, Icon::Error);
  m.buttons = Buttons::Abort;
  m.defaultAnswer = Answer::Abort;
  m.onTop = false;
  return m;
}

class Ui {
 public:
  virtual ~Ui() = default;

  Answer message(const Message& m) {
    note(m.outcome);
    return ask(m);
  }
  // A failure the user is told about without a box of its own (a status text, a console line).
  void note(Outcome o) {
    if (static_cast<int>(o) > static_cast<int>(worst_)) worst_ = o;
  }
  Outcome worstOutcome() const { return worst_; }
  void resetOutcome() { worst_ = Outcome::Info; }

  // Panel 0: the terminal drive after a detection.
  virtual void setDriveText(std::string_view text) = 0;
  // Panel 1: the state text. Shown at once.
  virtual void setStatus(std::string_view text) = 0;
  virtual void setTitle(std::string_view text) = 0;
  virtual void setProgressMax(int max) = 0;
  // During a conversion: panel 0 shows `shown`, the title and the gauge `count`.
  // Called once per record; implementations decide how often to repaint.
  virtual void progress(unsigned shown, unsigned count) = 0;
  // What the records being counted come from (a store's path), for a console that shows the count beside it.
  virtual void setActivity(std::string_view text) { (void)text; }

  // What a run did, for a summary a script can read (paths Windows-1250); a window shows none of it.
  virtual void reportTerminal(std::string_view root) { (void)root; }
  virtual void reportOutput(std::string_view path, unsigned long long records) { (void)path, (void)records; }
  virtual void reportInput(std::string_view path, unsigned long long records, unsigned long long dropped) {
    (void)path, (void)records, (void)dropped;
  }
  virtual void reportArchive(std::string_view folder) { (void)folder; }

 protected:
  virtual Answer ask(const Message& m) = 0;

 private:
  Outcome worst_ = Outcome::Info;
};

}  // namespace nodra
