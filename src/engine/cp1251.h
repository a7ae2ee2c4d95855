// Windows-1251 for the engine's own literals and for terminal output, without Qt.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// UTF-8 to Windows-1251; characters the code page lacks become '?'.
std::string Cp1251(std::string_view utf8);
// Windows-1251 to UTF-8.
std::string Utf8FromCp1251(std::string_view bytes);

}  // namespace engine
