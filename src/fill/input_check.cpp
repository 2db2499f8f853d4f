#include "fill/input_check.h"

#include <algorithm>

#include "fill/code_table.h"
#include "fill/input_file.h"
#include "fill/input_parsers.h"
#include "fill/input_problems.h"
#include "platform/integer_text.h"
#include "platform/path_text.h"

namespace nodra {

namespace {

// Keeps the messages; a check shows no progress and no status.
class CollectingUi final : public Ui {
 public:
  std::vector<Message> messages;

  void setDriveText(std::string_view) override {}
  void setStatus(std::string_view) override {}
  void setTitle(std::string_view) override {}
  void setProgressMax(int) override {}
  void progress(unsigned, unsigned) override {}

 protected:
  Answer ask(const Message& m) override {
    messages.push_back(m);
    return m.defaultAnswer;
  }
};

class CountingSink final : public RecordSink {
 public:
  void add(InputRecord&) override {}
};

// The beginning of each of `lines` (ascending) as the fill reads it, its missing characters shown as "?".
std::vector<std::string> lineBeginnings(const std::string& path, const std::vector<unsigned>& lines) {
  constexpr std::size_t kShown = 60;
  std::vector<std::string> texts;
  InputFile again;
  if (!again.open(toFsPath(path))) return texts;
  std::string_view piece;
  auto wanted = lines.begin();
  while (wanted != lines.end() && again.readLine(kShown, piece)) {
    if (again.lineNumber() == *wanted) {
      std::string text(piece);
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      if (again.skipRestOfLine() > 0) text += "…";
      texts.push_back(std::move(text));
      ++wanted;
    } else {
      again.skipRestOfLine();
    }
  }
  return texts;
}

// Reads the list as the fill does, up to the point where the fill would write the card.
unsigned readAsTheFillDoes(const LocalSettings& s, const std::string& exeFolder, CollectingUi& ui) {
  InputParser parse = chooseInputParser(s);
  if (parse == nullptr) {
    reportNoLayout(ui);
    return 0;
  }
  LoadCodeTable(s.use_tbl, exeFolder, ui);
  InputFile input;
  input.noteEveryReplacedLine();
  FileError error;
  if (!input.open(FilePlace::onPc(toFsPath(s.path_ins)), error)) {
    reportInputNotRead(ui, s.path_ins, error);
    return 0;
  }
  CountingSink sink;
  const unsigned count = parse(input, s, ui, sink);
  input.close();
  const std::vector<unsigned>& replaced = input.conversion().firstLinesReplaced();
  const std::vector<std::string> texts =
      replaced.empty() ? std::vector<std::string>() : lineBeginnings(s.path_ins, replaced);
  for (std::size_t i = 0; i < replaced.size(); ++i) {
    Message m = failureMessage({});
    m.lineProblem = LineProblem{replaced[i], "Znak, ktorý Windows-1250 nemá, sa do NODRA zapíše ako „?“",
                                i < texts.size() ? std::optional<std::string>(texts[i]) : std::nullopt};
    ui.message(m);
  }
  if (input.failed()) {
    error.set(FileTrouble::System, s.path_ins, input.readError());
    reportInputNotRead(ui, s.path_ins, error);
    return 0;
  }
  if (count == 0) reportNoGoods(ui, s.path_ins);
  return count;
}

}  // namespace

std::string lineProblemText(const LineProblem& problem) {
  std::string text = "riadok " + intToText(problem.line) + ": " + problem.what;
  if (problem.text) text += ": „" + *problem.text + "“";
  return text;
}

std::string oneLineText(const std::string& text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n')) ++i;
      if (!line.empty() && line.back() != ' ') line.push_back(' ');
    } else {
      line.push_back(text[i]);
    }
  }
  const auto first = line.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

std::string InputCheckReport::closingLine() const {
  return "Položiek na prenos: " + intToText(records) + ", riadkov s chybami: " + intToText(problemLines);
}

InputCheckReport checkInputFile(const LocalSettings& settings, const std::string& exeFolder) {
  LocalSettings s = settings;
  s.hlaska_data_in = 0;
  CollectingUi ui;
  InputCheckReport report;
  report.records = readAsTheFillDoes(s, exeFolder, ui);
  report.failed = ui.worstOutcome() != Outcome::Info;

  // What comes before the first line's problem (the code table) stays first, what follows the last (the end
  // of the file) last; the lines' problems between them in the file's order.
  std::vector<Message>& m = ui.messages;
  auto isLine = [](const Message& x) { return x.lineProblem.has_value(); };
  const auto firstLine = std::find_if(m.begin(), m.end(), isLine);
  const auto afterLast = std::find_if(m.rbegin(), m.rend(), isLine).base();
  std::stable_sort(firstLine, std::max(firstLine, afterLast), [](const Message& a, const Message& b) {
    if (a.lineProblem.has_value() != b.lineProblem.has_value()) return b.lineProblem.has_value();
    return a.lineProblem && a.lineProblem->line < b.lineProblem->line;
  });

  std::vector<unsigned> failedLines;
  for (const Message& x : m) {
    report.lines.push_back(x.lineProblem ? lineProblemText(*x.lineProblem) : oneLineText(x.text));
    if (x.lineProblem && x.outcome == Outcome::Failure) failedLines.push_back(x.lineProblem->line);
  }
  std::sort(failedLines.begin(), failedLines.end());
  report.problemLines =
      static_cast<unsigned>(std::unique(failedLines.begin(), failedLines.end()) - failedLines.begin());
  return report;
}

}  // namespace nodra
