#pragma once
// The Ui seam as the window implements it: status bar and gauge of the form, modal message boxes, or
// standard error when the run is headless. Tests answer the boxes themselves through setResponder.
#include <QElapsedTimer>
#include <QLabel>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/status_gauge.h"
#include "platform/run_summary.h"
#include "platform/ui.h"

class QWidget;

namespace nodra {

class FormUi : public Ui {
 public:
  struct Widgets {
    QWidget* window = nullptr;
    QWidget* statusBar = nullptr;
    QLabel* panel0 = nullptr;
    QLabel* panel1 = nullptr;
    StatusGauge* gauge = nullptr;
    std::function<void(const QString&)> setTitle;
  };
  using Responder = std::function<Answer(const Message&)>;

  explicit FormUi(bool headless);
  ~FormUi() override;
  void attach(Widgets widgets) { w_ = std::move(widgets); }

  // Process-wide, so that boxes shown before a test can reach the form are answered too.
  static void setResponder(Responder responder);

  void setDriveText(std::string_view text) override;
  void setStatus(std::string_view text) override;
  void setTitle(std::string_view text) override;
  void setProgressMax(int max) override;
  void progress(unsigned shown, unsigned count) override;
  void setActivity(std::string_view text) override;

  // A batch run's summary for scripts: every message and every report goes into it as well.
  void keepSummary(RunSummary* summary) { summary_ = summary; }
  void reportTerminal(std::string_view root) override;
  void reportOutput(std::string_view path, unsigned long long records) override;
  void reportInput(std::string_view path, unsigned long long records, unsigned long long dropped) override;
  void reportArchive(std::string_view folder) override;

  // Paints what the throttled progress has not painted yet.
  void flush();
  // While a box is shown or a command lets the window repaint: events then run inside the command.
  bool busy() const { return busy_ > 0; }

  // A fill shows its first few problems of single lines a box each; the rest are gathered and shown as one
  // list, before the next other message or at the end. A headless run prints every message all the same.
  class ProblemList {
   public:
    explicit ProblemList(FormUi& ui);
    ~ProblemList();
    ProblemList(const ProblemList&) = delete;
    ProblemList& operator=(const ProblemList&) = delete;

   private:
    FormUi& ui_;
  };
  static constexpr int kProblemBoxes = 3;

 protected:
  Answer ask(const Message& m) override;

 private:
  void repaintStatus();
  Answer show(const Message& m);
  Answer showNow(const Message& m);
  void showGathered();
  Answer showLongList(const Message& m);
  // Headless on a terminal: one line with the store and its running count, redrawn in place.
  void drawConsoleLine(unsigned count);
  void endConsoleLine();

  Widgets w_;
  bool headless_;
  QElapsedTimer sincePaint_;
  std::optional<std::pair<unsigned, unsigned>> pending_;
  bool consoleProgress_ = false;
  bool consoleLineShown_ = false;
  std::string activity_;  // UTF-8
  unsigned lastCount_ = 0;
  unsigned progressCalls_ = 0;
  QElapsedTimer sinceConsoleDraw_;
  RunSummary* summary_ = nullptr;
  int busy_ = 0;
  bool gathering_ = false;
  int problemBoxes_ = 0;
  std::vector<std::string> gathered_;  // Windows-1250
};

}  // namespace nodra
