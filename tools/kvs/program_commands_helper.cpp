// The program commands run in kvs-words, the program that links the window:
// kvs itself starts without loading Qt. It lies beside kvs in a build and in
// <prefix>/libexec/zelt when installed.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>
#include <string>

#include "program_commands.h"

namespace kvs {

int RunProgramCommand(int /*argc*/, char** argv) {
  char self[PATH_MAX];
  const ssize_t size = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string helper = "kvs-words";
  if (size > 0) {
    const std::string path(self, static_cast<size_t>(size));
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    helper = folder + "kvs-words";
    const std::string installed = folder + "../libexec/zelt/kvs-words";
    if (access(helper.c_str(), X_OK) != 0 && access(installed.c_str(), X_OK) == 0) helper = installed;
  }
  std::cout.flush();
  execv(helper.c_str(), argv);
  std::cerr << helper << ": cannot be started: " << std::strerror(errno) << '\n';
  return 2;
}

}  // namespace kvs
