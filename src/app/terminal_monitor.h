#pragma once
// While the window is open: notices the terminal's card coming and going and shows it in the status bar at
// once, with no box. It looks again when the mount table changes, or, where no monitor of the table is to be
// had and for the folders of NODRA3000_DRIVES, every second. Never while a command or a box is under way:
// the look waits for the next quiet moment.
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/mount_table_monitor.h"
#include "platform/volumes.h"
#include "terminal/terminal_drive.h"

namespace nodra {

class TerminalMonitor : public QObject {
 public:
  using Show = std::function<void(const std::optional<TerminalDrive>&)>;
  static constexpr int kPollMs = 1000;

  TerminalMonitor(VolumeSource& volumes, std::function<bool()> busy, Show show, QObject* parent = nullptr);
  ~TerminalMonitor() override;

  // `poll`: look every second instead of waiting for the mount table.
  void start(bool poll);
  void stop();
  // What another detection found: only a change from there is shown.
  void detected(const std::optional<TerminalDrive>& drive);

 private:
  void look();
  void lookSoon(int ms);

  VolumeSource& volumes_;
  std::function<bool()> busy_;
  Show show_;
  std::unique_ptr<MountTableMonitor> mounts_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer poll_;
  QTimer soon_;
  bool known_ = false;
  std::optional<std::string> shown_;  // the root of the terminal last seen, nothing when none was
};

}  // namespace nodra
