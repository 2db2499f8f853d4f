#include "support/environment_variable.h"

#include <cstdlib>

namespace nodra::testing {

EnvironmentVariable::EnvironmentVariable(std::string name, const char* value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) old_ = old;
  if (value != nullptr) {
    ::setenv(name_.c_str(), value, 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

EnvironmentVariable::~EnvironmentVariable() {
  if (old_) {
    ::setenv(name_.c_str(), old_->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

}  // namespace nodra::testing
