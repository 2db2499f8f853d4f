#pragma once
// What the user may type into a line edit, as a rule on the edit itself: which characters go in and how long
// typing may make the text. It covers every way the user changes the text (keys, paste, drop, the input
// method); a text that the program sets is never filtered or cut.
#include <QLineEdit>
#include <functional>

namespace nodra {

using CharacterTest = std::function<bool(QChar)>;

// `accepts` empty lets every character in. A user's change that would bring nothing of its new text in is
// refused whole, as a discarded key is; a paste keeps the characters that pass, as many as fit.
void setTypingRule(QLineEdit* edit, CharacterTest accepts, int typingLimit);

}  // namespace nodra
