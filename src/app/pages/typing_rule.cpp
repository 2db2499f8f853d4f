#include "app/pages/typing_rule.h"

#include <QValidator>
#include <algorithm>

namespace nodra {

namespace {
class TypingRule : public QValidator {
 public:
  TypingRule(QLineEdit* edit, CharacterTest accepts, int typingLimit)
      : QValidator(edit), edit_(edit), accepts_(std::move(accepts)), limit_(typingLimit), before_(edit->text()) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
  }

  State validate(QString& input, int& pos) const override {
    // setText() resets the edit's modified state before it validates; only the user's changes leave it set.
    if (!edit_->isModified()) return Acceptable;
    const qsizetype oldSize = before_.size();
    qsizetype head = 0;
    while (head < oldSize && head < input.size() && before_[head] == input[head]) ++head;
    qsizetype tail = 0;
    while (tail < oldSize - head && tail < input.size() - head &&
           before_[oldSize - 1 - tail] == input[input.size() - 1 - tail]) {
      ++tail;
    }
    const QString inserted = input.mid(head, input.size() - head - tail);
    QString taken;
    for (QChar c : inserted) {
      if (!accepts_ || accepts_(c)) taken += c;
    }
    taken.truncate(std::max<qsizetype>(0, limit_ - head - tail));
    if (taken == inserted) return Acceptable;
    if (taken.isEmpty()) return Invalid;
    input = input.left(head) + taken + input.right(tail);
    pos = static_cast<int>(head + taken.size());
    return Acceptable;
  }

 private:
  QLineEdit* edit_;
  CharacterTest accepts_;
  qsizetype limit_;
  QString before_;
};
}  // namespace

void setTypingRule(QLineEdit* edit, CharacterTest accepts, int typingLimit) {
  edit->setValidator(new TypingRule(edit, std::move(accepts), typingLimit));
}

}  // namespace nodra
