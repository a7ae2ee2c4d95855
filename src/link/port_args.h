// The repeatable --port option: the ports that stand in for the start-up scan.
#pragma once

#include <string>
#include <vector>

namespace zlink {

// Collects "--port NAME" and "--port=NAME" in the order given. A --port
// without a name (or followed by another option) is skipped; every other
// argument is left to its owner.
std::vector<std::string> ParsePortArgs(const std::vector<std::string>& args);
std::vector<std::string> ParsePortArgs(int argc, const char* const* argv);

}  // namespace zlink
