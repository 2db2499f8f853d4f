#pragma once
// The process under a decimal comma, as the window runs under Slovak settings: nothing written to a file may
// change with it.
#include <string>

namespace nodra::testing {

// Sets the C and the C++ global locale to `name`, generating the locale first when the system lacks it. False
// when it cannot be had.
bool useLocale(const std::string& name);

// Holds the process in sk_SK.UTF-8 and puts back "C" (and the classic C++ locale) afterwards. `active()` is
// false when no such locale with a decimal comma can be had; the caller then skips.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale();
  ~DecimalCommaLocale();
  DecimalCommaLocale(const DecimalCommaLocale&) = delete;
  DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

  bool active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace nodra::testing
