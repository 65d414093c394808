#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace serenitap::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
      char name[40];
      std::snprintf(name, sizeof name, "serenitap-services-%08x%08x", random(), random());
      path_ = base / name;
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace serenitap::testing
