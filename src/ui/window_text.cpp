#include "window_text.h"

#include "cp1251.h"

namespace ui {

// The engine's own table rather than Qt's codecs: a Qt built without ICU (the
// Windows build) has no Windows-1251 codec at all.
QString FromCp1251(std::string_view bytes) {
  return QString::fromStdString(engine::Utf8FromCp1251(bytes));
}

std::string ToCp1251(const QString& text) { return engine::Cp1251(text.toStdString()); }

}  // namespace ui
