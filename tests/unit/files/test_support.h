// A temporary folder of real files for the file tests, and helpers.
#pragma once

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../support/temp_folder.h"

// Skips the rest of a test on Windows, saying why it is Unix-only.
#ifdef _WIN32
#define UNIX_ONLY(reason) GTEST_SKIP() << "Unix-only: " << (reason)
#else
#define UNIX_ONLY(reason) static_cast<void>(0)
#endif

namespace files_test {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() : path_(test_support::NewTempFolder("files-test-")) {}
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::all, ec);
    for (auto& entry : fs::recursive_directory_iterator(path_, ec))
      if (entry.is_directory(ec)) fs::permissions(entry.path(), fs::perms::all, ec);
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  // An absolute file name inside the folder, as a script gives it.
  // The leaf's bytes are kept as they are (a Windows-1251 name is no name in
  // the platform's own code page).
  std::string Name(const std::string& leaf) const { return path_.string() + "/" + leaf; }
  // Names of everything in the folder, to spot leftovers.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

// A literal's bytes, zero bytes included.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Runs a check with an ordinary user's rights: root passes every permission
// test, so as root the check runs in a child that has become nobody.
inline bool AsOrdinaryUser(const std::function<bool()>& check) {
#ifdef _WIN32
  return check();
#else
  if (geteuid() != 0) return check();
  pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}

}  // namespace files_test
