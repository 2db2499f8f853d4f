#pragma once
// Small builders shared by the configuration pages.
#include <QComboBox>
#include <QStringList>
#include <initializer_list>
#include <string_view>

#include "app/qt_text.h"

namespace nodra {

inline QComboBox* pickList(QWidget* parent, std::initializer_list<std::string_view> entries,
                           std::string_view hint = {}) {
  auto* box = new QComboBox(parent);
  for (auto e : entries) box->addItem(qs(e));
  if (!hint.empty()) box->setToolTip(qs(hint));
  return box;
}

template <typename W>
W* withHint(W* widget, std::string_view hint) {
  widget->setToolTip(qs(hint));
  return widget;
}

}  // namespace nodra
