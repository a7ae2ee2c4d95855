// What the fuzz targets share: cutting the input into pieces, and failing loudly.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <string_view>

namespace fuzz {

// A failed check ends the run, so the fuzzer keeps the input that caused it.
inline void Check(bool ok) {
  if (!ok) std::abort();
}

// Takes a piece of at most `most` bytes whose length the next input byte gives.
inline std::string_view Take(std::string_view& input, size_t most) {
  if (input.empty()) return {};
  size_t size = static_cast<unsigned char>(input.front()) % (most + 1);
  input.remove_prefix(1);
  std::string_view piece = input.substr(0, size);
  input.remove_prefix(piece.size());
  return piece;
}

}  // namespace fuzz
