// The commands that read every word of the zelt program: --check,
// --words-md and --syntax.
#pragma once

#include <string>

namespace kvs {

// Checks the script file at `path`; 0 without faults, 1 with, 2 unreadable.
int Check(const std::string& path);

// Writes the reference (`markdown`) or the syntax definition to `path`, or to
// standard output when it is empty.
int Reference(const std::string& path, bool markdown);

}  // namespace kvs
