#pragma once
// Sets an environment variable, or with nullptr unsets it, for the guard's lifetime; puts back what was there.
#include <optional>
#include <string>

namespace nodra::testing {

class EnvironmentVariable {
 public:
  EnvironmentVariable(std::string name, const char* value);
  ~EnvironmentVariable();
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace nodra::testing
