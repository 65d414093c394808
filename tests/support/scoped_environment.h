#pragma once
// Environment variables set for one test and put back when it ends (POSIX).
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace serenitap::testing {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  // nullptr unsets the variable.
  void Set(const char* name, const char* value) {
    if (const char* old = std::getenv(name))
      saved_.try_emplace(name, old);
    else
      saved_.try_emplace(name);
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_)
      value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace serenitap::testing
