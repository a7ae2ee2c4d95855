// kvs --check and zelt --watch: finds the mistakes in Setup.KVS that the
// engine would pass over in silence (an unknown word is pushed as text, a
// missing FI skips the rest of the line, RUN of a missing name runs nothing).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "word_reference.h"

namespace check {

enum class Severity { kError, kWarning, kNote };

struct Problem {
  int line = 0;
  Severity severity = Severity::kError;
  std::string message;  // Windows-1251, as the script's own names
};

// Checks the text of a script file against the words the program registers.
// Problems come sorted by line; errors and warnings both mean "fix me",
// notes are for information.
std::vector<Problem> CheckScript(std::string_view file, const engine::WordReference& words);

// "FILE:LINE: error: message", the form compilers use and editors jump to.
std::string FormatProblem(const std::string& file, const Problem& problem);

// Errors and warnings, notes left out.
int CountFaults(const std::vector<Problem>& problems);

// The definitions the program runs by name, with what runs them.
struct CalledDefinition {
  std::string name;
  std::string when;  // Windows-1251
  bool required;
};
const std::vector<CalledDefinition>& CalledDefinitions();

}  // namespace check
