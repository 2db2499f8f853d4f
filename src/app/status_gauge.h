#pragma once
// The progress gauge `Bar`: the percentage of its position as bold red text over a navy fill on pale yellow.
#include <QWidget>

namespace nodra {

class StatusGauge : public QWidget {
 public:
  explicit StatusGauge(QWidget* parent = nullptr);

  void setMaximum(int maximum);
  void setPosition(int position);
  int maximum() const { return maximum_; }
  int position() const { return position_; }
  int percent() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int maximum_ = 100;
  int position_ = 0;
};

}  // namespace nodra
