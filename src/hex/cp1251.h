// Windows-1251, the code page of script values: for the engine's own
// literals and terminal output, and, in code built with Qt, for the texts
// that cross into widgets, SQLite and file names. The engine's own table
// rather than Qt's codecs: a Qt built without ICU (the Windows build) has no
// Windows-1251 codec at all.
#pragma once

#ifdef QT_CORE_LIB
#include <QString>
#endif
#include <string>
#include <string_view>

namespace engine {

// UTF-8 to Windows-1251; characters the code page lacks become '?'.
std::string Cp1251(std::string_view utf8);
// Windows-1251 to UTF-8.
std::string Utf8FromCp1251(std::string_view bytes);

#ifdef QT_CORE_LIB
inline QString FromCp1251(std::string_view bytes) {
  return QString::fromStdString(Utf8FromCp1251(bytes));
}
inline std::string ToCp1251(const QString& text) { return Cp1251(text.toStdString()); }
#endif

}  // namespace engine
