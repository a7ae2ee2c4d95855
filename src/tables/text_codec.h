// Script values are Windows-1251 bytes; Qt and SQLite speak Unicode.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "cp1251.h"

namespace tables {

inline QString ToQt(std::string_view cp1251) {
  return QString::fromStdString(engine::Utf8FromCp1251(cp1251));
}

inline std::string ToValue(const QString& text) {
  return engine::Cp1251(text.toStdString());
}

}  // namespace tables
