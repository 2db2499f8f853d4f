#include "app/pages/wrapping_check_box.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace nodra {

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
}

WrappingCheckBox::WrappingCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

int WrappingCheckBox::captionIndent() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  return style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this) +
         style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this) + 2;
}

QRect WrappingCheckBox::captionRect(int width) const {
  const int indent = captionIndent();
  const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, std::max(1, width - indent), 10000), kTextFlags, text());
  return QRect(indent, 0, std::max(1, width - indent), bounds.height());
}

int WrappingCheckBox::heightForWidth(int width) const {
  QStyleOptionButton option;
  initStyleOption(&option);
  const int indicator = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
  return std::max(indicator, captionRect(width).height()) + 2;
}

QSize WrappingCheckBox::sizeHint() const {
  const QSize oneLine = QCheckBox::sizeHint();
  return {oneLine.width(), heightForWidth(oneLine.width())};
}

QSize WrappingCheckBox::minimumSizeHint() const {
  // As narrow as the longest word allows.
  int longest = 0;
  for (const QString& word : text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    longest = std::max(longest, fontMetrics().horizontalAdvance(word));
  }
  const int width = captionIndent() + longest;
  return {width, heightForWidth(width)};
}

void WrappingCheckBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  QRect caption = captionRect(width());
  caption.moveTop((height() - caption.height()) / 2);
  QStyleOptionButton indicator = option;
  const int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
  // Beside the first line, as a one-line box has it.
  indicator.rect = QRect(0, std::max(0, caption.top() + (fontMetrics().height() - indicatorHeight) / 2),
                         style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this), indicatorHeight);
  painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);
  painter.drawItemText(caption, kTextFlags, option.palette, isEnabled(), text(), QPalette::WindowText);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = caption.adjusted(-2, 0, 2, 0);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

}  // namespace nodra
