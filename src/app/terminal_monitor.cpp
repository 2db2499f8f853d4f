#include "app/terminal_monitor.h"

#include "terminal/terminal_detection.h"

namespace nodra {

namespace {
// A mount helper may still be at work when the table changes; the second look catches the finished mount.
constexpr int kAfterChangeMs = 200;
constexpr int kAgainMs = 1500;
// A look put off by a command waits this long before it tries again.
constexpr int kRetryMs = 300;

std::optional<std::string> rootOf(const std::optional<TerminalDrive>& drive) {
  if (!drive) return std::nullopt;
  return drive->root.string();
}
}  // namespace

TerminalMonitor::TerminalMonitor(VolumeSource& volumes, std::function<bool()> busy, Show show, QObject* parent)
    : QObject(parent), volumes_(volumes), busy_(std::move(busy)), show_(std::move(show)) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &TerminalMonitor::look);
  soon_.setSingleShot(true);
  connect(&soon_, &QTimer::timeout, this, &TerminalMonitor::look);
}

TerminalMonitor::~TerminalMonitor() = default;

void TerminalMonitor::start(bool poll) {
  if (!poll && !mounts_) {
    mounts_ = std::make_unique<MountTableMonitor>();
    if (mounts_->watching()) {
      notifier_ = std::make_unique<QSocketNotifier>(mounts_->fd(), QSocketNotifier::Read);
      connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        if (!mounts_->takeChanges()) return;
        lookSoon(kAfterChangeMs);
        QTimer::singleShot(kAgainMs, this, [this] { lookSoon(0); });
      });
    }
  }
  if (poll || !mounts_->watching()) poll_.start();
  if (notifier_) notifier_->setEnabled(true);
  // What is there now is the ground the first change is told against.
  lookSoon(0);
}

void TerminalMonitor::stop() {
  poll_.stop();
  soon_.stop();
  if (notifier_) notifier_->setEnabled(false);
}

void TerminalMonitor::detected(const std::optional<TerminalDrive>& drive) {
  known_ = true;
  shown_ = rootOf(drive);
}

void TerminalMonitor::lookSoon(int ms) {
  if (!soon_.isActive() || soon_.remainingTime() > ms) soon_.start(ms);
}

void TerminalMonitor::look() {
  if (busy_()) {
    lookSoon(kRetryMs);
    return;
  }
  const Detection found = DetectTerminal(volumes_);
  const std::optional<std::string> root = rootOf(found.drive);
  if (known_ && root == shown_) return;
  const bool first = !known_;
  known_ = true;
  shown_ = root;
  if (!first) show_(found.drive);
}

}  // namespace nodra
