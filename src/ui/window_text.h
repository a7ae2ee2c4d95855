// Windows-1251 at the window's edge: engine values are CP1251 bytes, widgets
// hold QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ui {

QString FromCp1251(std::string_view bytes);
std::string ToCp1251(const QString& text);

}  // namespace ui
