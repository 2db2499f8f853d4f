#include "support/decimal_comma_locale.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <locale>
#include <stdexcept>

namespace nodra::testing {

namespace {

bool setLocale(const std::string& name) {
  if (std::setlocale(LC_ALL, name.c_str()) == nullptr) return false;
  try {
    std::locale::global(std::locale(name));
  } catch (const std::runtime_error&) {
    return false;
  }
  return true;
}

}  // namespace

bool useLocale(const std::string& name) {
  // Test runs side by side must not write the locale archive together.
  int lock = ::open("/tmp/nodra-localedef.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666);
  if (lock >= 0) ::flock(lock, LOCK_EX);
  bool ok = setLocale(name);
  if (!ok) {
    const std::string base = name.substr(0, name.find('.'));
    const std::string command = "localedef -i " + base + " -f UTF-8 " + name + " >/dev/null 2>&1";
    ok = std::system(command.c_str()) == 0 && setLocale(name);
  }
  if (lock >= 0) ::close(lock);
  return ok;
}

DecimalCommaLocale::DecimalCommaLocale()
    : active_(useLocale("sk_SK.UTF-8") && std::localeconv()->decimal_point[0] == ',') {}

DecimalCommaLocale::~DecimalCommaLocale() {
  std::setlocale(LC_ALL, "C");
  std::locale::global(std::locale::classic());
}

}  // namespace nodra::testing
