#include "app/form_ui.h"

#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

#include "app/qt_text.h"
#include "fill/input_check.h"
#include "platform/cp1250.h"

namespace nodra {

namespace {
FormUi::Responder& responder() {
  static FormUi::Responder r;
  return r;
}

// Repainting every record would make the window the bottleneck; the eye needs no more than this.
constexpr qint64 kPaintIntervalMs = 33;
// A console line redrawn more often only flickers.
constexpr qint64 kConsoleIntervalMs = 200;

QMessageBox::Icon toQt(Icon icon) {
  switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(Answer a) {
  switch (a) {
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    case Answer::Abort: return QMessageBox::Abort;
    case Answer::Ok: break;
  }
  return QMessageBox::Ok;
}
}  // namespace

FormUi::FormUi(bool headless) : headless_(headless), consoleProgress_(headless && ::isatty(STDERR_FILENO) == 1) {
  sincePaint_.start();
  sinceConsoleDraw_.start();
}

FormUi::~FormUi() { endConsoleLine(); }

void FormUi::setActivity(std::string_view text) {
  endConsoleLine();
  activity_ = cp1250::toUtf8(text);
  lastCount_ = 0;
}

void FormUi::drawConsoleLine(unsigned count) {
  lastCount_ = count;
  sinceConsoleDraw_.restart();
  std::fprintf(stderr, "\r\033[K%s: %u", activity_.c_str(), count);
  std::fflush(stderr);
  consoleLineShown_ = true;
}

void FormUi::endConsoleLine() {
  if (!consoleLineShown_) return;
  std::fprintf(stderr, "\r\033[K%s: %u\n", activity_.c_str(), lastCount_);
  std::fflush(stderr);
  consoleLineShown_ = false;
}

void FormUi::setResponder(Responder r) { responder() = std::move(r); }

void FormUi::setDriveText(std::string_view text) {
  pending_.reset();
  w_.panel0->setText(qs(text));
  repaintStatus();
}

void FormUi::setStatus(std::string_view text) {
  endConsoleLine();
  flush();
  w_.panel1->setText(qs(text));
  repaintStatus();
}

void FormUi::setTitle(std::string_view text) {
  flush();
  w_.setTitle(qs(text));
}

void FormUi::setProgressMax(int max) { w_.gauge->setMaximum(max); }

void FormUi::progress(unsigned shown, unsigned count) {
  pending_ = {shown, count};
  lastCount_ = count;
  // Reading the clock for every record would cost more than the record; every 256th is often enough.
  if ((++progressCalls_ & 0xFF) != 0) return;
  if (consoleProgress_ && (!consoleLineShown_ || sinceConsoleDraw_.elapsed() >= kConsoleIntervalMs)) {
    drawConsoleLine(count);
  }
  if (sincePaint_.elapsed() >= kPaintIntervalMs) flush();
}

void FormUi::flush() {
  if (!pending_) return;
  auto [shown, count] = *pending_;
  pending_.reset();
  w_.panel0->setText(QString::number(shown));
  w_.setTitle(QString::number(count));
  w_.gauge->setPosition(static_cast<int>(std::min<unsigned>(count, 0x7fffffffU)));
  repaintStatus();
}

void FormUi::repaintStatus() {
  sincePaint_.restart();
  if (headless_ || !w_.window->isVisible()) return;
  w_.statusBar->repaint();
  w_.gauge->repaint();
  // The command runs inside its handler; let the window system show what was painted, but take no input.
  ++busy_;
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  --busy_;
}

FormUi::ProblemList::ProblemList(FormUi& ui) : ui_(ui) {
  ui_.gathering_ = !ui_.headless_;
  ui_.problemBoxes_ = 0;
  ui_.gathered_.clear();
}

FormUi::ProblemList::~ProblemList() {
  ui_.showGathered();
  ui_.gathering_ = false;
}

void FormUi::showGathered() {
  if (gathered_.empty()) return;
  std::string text = "Ďalšie problémy vstupného súboru (" + std::to_string(gathered_.size()) + "):\r\n";
  for (const std::string& line : gathered_) text += "\r\n" + line;
  gathered_.clear();
  Message list = informationMessage(std::move(text), kCautionCaption);
  list.longList = true;
  show(list);
}

void FormUi::reportTerminal(std::string_view root) {
  if (summary_) summary_->terminal(root);
}

void FormUi::reportOutput(std::string_view path, unsigned long long records) {
  if (summary_) summary_->output(path, records);
}

void FormUi::reportInput(std::string_view path, unsigned long long records, unsigned long long dropped) {
  if (summary_) summary_->input(path, records, dropped);
}

void FormUi::reportArchive(std::string_view folder) {
  if (summary_) summary_->archive(folder);
}

Answer FormUi::ask(const Message& m) {
  // Every message, also those a fill gathers into one list.
  if (summary_) summary_->message(m.caption, m.text);
  if (gathering_) {
    if (m.lineProblem && problemBoxes_ >= kProblemBoxes) {
      gathered_.push_back(lineProblemText(*m.lineProblem));
      return m.defaultAnswer;
    }
    if (m.lineProblem) {
      ++problemBoxes_;
    } else {
      showGathered();
    }
  }
  return show(m);
}

Answer FormUi::show(const Message& m) {
  ++busy_;
  const Answer answer = showNow(m);
  --busy_;
  return answer;
}

Answer FormUi::showNow(const Message& m) {
  flush();
  if (responder()) return responder()(m);
  if (headless_) {
    endConsoleLine();
    std::string text = m.text;
    for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p)) text.erase(p, 1);
    std::string line = cp1250::toUtf8(m.caption) + ": " + cp1250::toUtf8(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    return m.defaultAnswer;
  }
  if (m.longList) return showLongList(m);
  QMessageBox box(toQt(m.icon), qs(m.caption), qs(m.text), QMessageBox::NoButton,
                  m.ownedByWindow ? w_.window : nullptr);
  if (m.onTop) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  switch (m.buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::Abort: box.setStandardButtons(QMessageBox::Abort); break;
  }
  box.setDefaultButton(toQt(m.defaultAnswer));
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Abort: return Answer::Abort;
    default:
      return m.buttons == Buttons::YesNo ? Answer::No : (m.buttons == Buttons::Abort ? Answer::Abort : Answer::Ok);
  }
}

// A list of any length in a box that keeps its size and scrolls; its text can be selected and copied.
Answer FormUi::showLongList(const Message& m) {
  QDialog dialog(w_.window);
  dialog.setWindowTitle(qs(m.caption));
  if (m.onTop) dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  auto* layout = new QVBoxLayout(&dialog);
  auto* text = new QPlainTextEdit(&dialog);
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  QString shown = qs(m.text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text->setPlainText(shown);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
  buttons->button(QDialogButtonBox::Ok)->setFocus();
  dialog.resize(620, 380);
  dialog.exec();
  return m.defaultAnswer;
}

}  // namespace nodra
