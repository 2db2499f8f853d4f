#pragma once
#include <string>
#include <string_view>

namespace nodra::testing {

// A test name from a case's label: letters and digits kept, everything else "_".
inline std::string caseName(std::string_view label) {
  std::string name;
  for (char c : label) {
    bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    name += keep ? c : '_';
  }
  return name;
}

}  // namespace nodra::testing
