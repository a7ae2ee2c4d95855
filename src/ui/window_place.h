// The window's place between runs: its size, position, maximised state and
// the monitor divider, kept in a section of their own in a settings file
// shared with the scripts (their keys there are left as they are).
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

namespace ui {

struct WindowPlace {
  QRect normal;            // the client area when not maximised
  bool maximised = false;
  int monitor_height = 0;  // the divider, as the height of the monitor below it
};

// Null when the file holds no whole place.
std::optional<WindowPlace> ReadWindowPlace(const QString& file);
// Replaces the file whole; false, and the file as it was, when that failed.
bool WriteWindowPlace(const QString& file, const WindowPlace& place);

// Whether the area lies wholly on one of the screens, so that a window put
// there can be seen and moved.
bool OnScreens(const QRect& area, const QList<QRect>& screens);

}  // namespace ui
