// Entry: one instance per session, the window or a headless batch run, and an exit code a script can test.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>

#include "app/command_line_info.h"
#include "app/form_nodra.h"
#include "app/input_check_command.h"
#include "app/qt_text.h"
#include "app/qt_translation.h"
#include "app/terminal_picture.h"
#include "platform/cp1250.h"
#include "platform/exe_folder.h"
#include "platform/path_text.h"
#include "platform/run_summary.h"
#include "platform/single_instance.h"

namespace {

bool displayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

std::filesystem::path ownPath(const char* argv0) {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::absolute(argv0, ec) : self;
}

// A headless run has no session bus or runtime folder; Qt's notes about that are not the user's business.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace nodra;
  if (auto answered = answerInfoRequest(argc, argv)) return *answered;
  const bool batch = argc > 1;
  const bool check = isInputCheck(argc, argv);
  const bool headless = batch && (check || (argc > 2 && std::string_view(argv[2]) == "/nodsp") || !displayAvailable());
  if (headless) {
    // Nothing is drawn, so the platform without a font database: loading the system's fonts would be most of
    // a small run's start.
    qputenv("QT_QPA_PLATFORM", "minimal");
    qInstallMessageHandler(quietMessages);
  }
  if (!batch && !displayAvailable() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::fputs("NODRA3000: no display to show the window on; give a command letter for a run without one.\n", stderr);
    return static_cast<int>(ExitCode::Failure);
  }

  // A batch run asked for a summary leaves one whatever its end, except beside another running instance,
  // whose summary it would replace.
  std::optional<RunSummary> summary;
  const char* summaryFile = std::getenv("NODRA3000_SUMMARY");
  if (batch && !check && summaryFile != nullptr && *summaryFile != '\0') summary.emplace(argv[1]);
  auto finish = [&](int code) {
    if (!summary || code == static_cast<int>(ExitCode::AlreadyRunning)) return code;
    FileError error;
    if (summary->write(summaryFile, code, error)) return code;
    std::fprintf(
        stderr, "NODRA3000: %s\n",
        cp1250::toUtf8(withReason("Súhrn behu sa nepodarilo zapísať do " + toDisplayText(summaryFile), error)).c_str());
    return code == 0 ? static_cast<int>(ExitCode::Failure) : code;
  };

  // Tells why the program cannot start and ends: on standard error when headless, in a box otherwise.
  auto refuse = [&](const std::string& caption, const std::string& text, ExitCode code) {
    if (summary) summary->message(caption, text);
    if (headless) {
      std::fprintf(stderr, "%s: %s\n", cp1250::toUtf8(caption).c_str(), cp1250::toUtf8(text).c_str());
    } else {
      QApplication app(argc, argv);
      QMessageBox box(QMessageBox::Warning, qs(caption), qs(text), QMessageBox::Ok);
      box.exec();
    }
    return finish(static_cast<int>(code));
  };

  // Before anything is read or written: the folder must be the user's own, and the lock must hold.
  std::string problem;
  const std::filesystem::path executable = ownPath(argv[0]);
  const auto programFolder = findExeFolder(executable, problem);
  if (!programFolder) return refuse("Nejde spustit", problem, ExitCode::Failure);
  // Writes nothing, so it needs no lock and may run beside the window.
  if (check) return runInputCheck(executable, *programFolder);
  const std::filesystem::path userLocks = userLockFolder(problem);
  if (userLocks.empty()) return refuse("Nejde spustit", problem, ExitCode::Failure);
  SingleInstance guard(userLocks, "NODRA3000MTX");
  if (guard.state() == SingleInstance::State::HeldElsewhere) {
    return refuse("Nejde spustit", "Tato aplikacia je uz spustena", ExitCode::AlreadyRunning);
  }
  if (!guard.acquired()) return refuse("Nejde spustit", guard.problem(), ExitCode::Failure);

  QApplication app(argc, argv);
  installQtSlovak(app);
  QApplication::setApplicationName(QStringLiteral("NODRA3000"));
  // The installed icon when there is one; otherwise our own drawing, so the window never goes without. A
  // headless run shows no window and no box, and drawing the picture would load the fonts for nothing.
  if (!headless) {
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("nodra3000"), QIcon(drawTerminalPicture(48, 96))));
  }
  QGuiApplication::setDesktopFileName(QStringLiteral("nodra3000"));
  StartOptions options;
  options.executable = executable;
  options.programFolder = *programFolder;
  for (int i = 1; i < argc; ++i) options.arguments << QString::fromLocal8Bit(argv[i]);
  options.headless = headless;
  options.summary = summary ? &*summary : nullptr;
  int code = 0;
  try {
    TForm_nodra form(options);
    form.FormCreate();
    if (!form.batchMode()) {
      form.show();
      QApplication::exec();
    }
    code = static_cast<int>(form.exitCode());
  } catch (const std::exception& e) {
    if (summary) summary->message("NODRA3000", e.what());
    // A headless run has nobody to close a box: it would wait for ever.
    if (headless) {
      std::fprintf(stderr, "NODRA3000: %s\n", cp1250::toUtf8(e.what()).c_str());
    } else {
      QMessageBox::critical(nullptr, QStringLiteral("NODRA3000"), qs(e.what()));
    }
    code = static_cast<int>(ExitCode::Failure);
  }
  return finish(code);
}
