// NODRA_TEST_LOCALE=sk_SK.UTF-8 runs the whole suite under a decimal comma, as the window runs under Slovak
// settings: nothing the read-out writes may change with it.
#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include "support/decimal_comma_locale.h"

namespace {

class LocaleEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* name = std::getenv("NODRA_TEST_LOCALE");
    if (name == nullptr || *name == '\0') return;
    if (!nodra::testing::useLocale(name)) GTEST_SKIP() << "locale " << name << " is not available";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << name << " has no decimal comma";
  }
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new LocaleEnvironment);

}  // namespace
