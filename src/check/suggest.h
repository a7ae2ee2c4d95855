// "did you mean": the known name nearest to a misspelt one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace check {

// The candidate closest to `name` by edits (a letter changed, added, dropped
// or two swapped), letter case counting half; empty when none is close.
std::string NearestName(std::string_view name, const std::vector<std::string>& candidates);

}  // namespace check
