// A new, empty folder under the system's temporary folder, on every platform.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace test_support {

inline std::filesystem::path NewTempFolder(const std::string& prefix) {
  std::random_device random;
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (;;) {
    const std::filesystem::path folder = base / (prefix + std::to_string(random()));
    if (std::filesystem::create_directory(folder)) return folder;
  }
}

}  // namespace test_support
