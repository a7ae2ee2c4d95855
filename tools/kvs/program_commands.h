// The commands that read every word of the zelt program: --check,
// --words-md and --syntax.
#pragma once

#include <cstring>
#include <initializer_list>

namespace kvs {

// argv[1] names one of these commands.
inline bool IsProgramCommand(const char* option) {
  for (const char* command : {"--check", "--words-md", "--syntax"})
    if (std::strcmp(option, command) == 0) return true;
  return false;
}

// Runs the command argv[1] names and returns the exit status.
int RunProgramCommand(int argc, char** argv);

}  // namespace kvs
