#include "suggest.h"

#include <algorithm>
#include <cctype>

namespace check {
namespace {

// Edit distance in half steps: a case-only difference costs 1, any other
// edit 2, a swap of neighbours 2.
int Distance(std::string_view a, std::string_view b) {
  const size_t n = a.size(), m = b.size();
  std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
  for (size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(2 * i);
  for (size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(2 * j);
  for (size_t i = 1; i <= n; ++i) {
    for (size_t j = 1; j <= m; ++j) {
      int change = 0;
      if (a[i - 1] != b[j - 1]) {
        const bool same_letter = std::toupper(static_cast<unsigned char>(a[i - 1])) ==
                                 std::toupper(static_cast<unsigned char>(b[j - 1]));
        change = same_letter ? 1 : 2;
      }
      d[i][j] = std::min({d[i - 1][j] + 2, d[i][j - 1] + 2, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 2);
    }
  }
  return d[n][m];
}

}  // namespace

std::string NearestName(std::string_view name, const std::vector<std::string>& candidates) {
  // Names of one or two letters only by letter case, short ones one edit,
  // longer ones two; a case-only slip always counts.
  const int limit = name.size() <= 2 ? 0 : name.size() <= 4 ? 2 : 4;
  std::string best;
  int best_distance = limit + 1;
  for (const std::string& candidate : candidates) {
    if (candidate == name) continue;
    const int distance = Distance(name, candidate);
    const bool case_only =
        candidate.size() == name.size() &&
        std::equal(name.begin(), name.end(), candidate.begin(), [](char x, char y) {
          return std::toupper(static_cast<unsigned char>(x)) ==
                 std::toupper(static_cast<unsigned char>(y));
        });
    if (case_only) return candidate;
    if (distance <= limit && distance < best_distance) {
      best = candidate;
      best_distance = distance;
    }
  }
  return best;
}

}  // namespace check
