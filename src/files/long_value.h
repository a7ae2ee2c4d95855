// WriteLongValue: stores a value of any length as the chain key, key_1, key_2 ...
#pragma once

#include <string_view>

namespace files {

// Pieces of a long value hold this many characters.
constexpr size_t kPieceSize = 1000;

// A value of at most kPieceSize characters goes under key alone; a longer one
// in pieces of kPieceSize, each between tildes, under key, key_1, key_2 ...
// The key after the last piece is deleted to end the chain, and so are the
// stale pieces of a longer value stored before. All of it is written to the
// file at once: false, with the file unchanged, when that fails or the value
// cannot be stored (a line break in it or in the names).
bool WriteLongValue(std::string_view file_name, std::string_view section,
                    std::string_view key, std::string_view value);

}  // namespace files
