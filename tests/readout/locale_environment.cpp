// NODRA_TEST_LOCALE=sk_SK.UTF-8 runs the whole suite under a decimal comma, as the window runs under Slovak
// settings: nothing the read-out writes may change with it.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <locale>
#include <string>

#include <gtest/gtest.h>

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

// Generates the locale once; the lock keeps parallel test runs from writing the locale archive together.
bool generateLocale(const std::string& name) {
  int lock = ::open("/tmp/nodra-localedef.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666);
  if (lock >= 0) ::flock(lock, LOCK_EX);
  bool ok = setLocale(name);
  if (!ok) {
    std::string base = name.substr(0, name.find('.'));
    std::string command = "localedef -i " + base + " -f UTF-8 " + name + " >/dev/null 2>&1";
    ok = std::system(command.c_str()) == 0 && setLocale(name);
  }
  if (lock >= 0) ::close(lock);
  return ok;
}

class LocaleEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* name = std::getenv("NODRA_TEST_LOCALE");
    if (name == nullptr || *name == '\0') return;
    if (!generateLocale(name)) GTEST_SKIP() << "locale " << name << " is not available";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << name << " has no decimal comma";
  }
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new LocaleEnvironment);

}  // namespace
