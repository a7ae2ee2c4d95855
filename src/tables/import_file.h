// The comma-separated import file of BDIMPORT: lines end with CR and an
// optional LF, the first empty line ends the file, a line's fields end at its
// first empty field, and fields are taken as they stand.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tables {

inline constexpr size_t kImportFileLimit = 300000;
inline constexpr int kImportColumns = 13;

// Every line's values for the wanted field numbers (ascending, from 1). A
// wanted field that a line does not reach keeps the value of the line before
// it (the empty text on the first line).
std::vector<std::vector<std::string>> ImportRows(std::string_view text,
                                                 const std::vector<int32_t>& columns);

// At most kImportFileLimit bytes of the file; false when it cannot be opened.
bool ReadImportFile(const std::filesystem::path& path, std::string& text);

}  // namespace tables
