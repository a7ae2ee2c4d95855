#include "window_place.h"

#include <QByteArray>
#include <algorithm>
#include <filesystem>
#include <string>

#include "profile_store.h"

namespace ui {

namespace {

constexpr char kSection[] = "zelt window";

std::optional<int> Number(const files::ProfileDocument& document, const char* key) {
  const auto value = document.Get(kSection, key);
  if (!value) return std::nullopt;
  bool ok = false;
  const int number = QByteArray::fromStdString(*value).trimmed().toInt(&ok);
  return ok ? std::optional<int>(number) : std::nullopt;
}

bool Open(files::ProfileSession& session, const QString& file) {
  return !file.isEmpty() && session.OpenPath(std::filesystem::path(file.toStdU16String()));
}

}  // namespace

std::optional<WindowPlace> ReadWindowPlace(const QString& file) {
  files::ProfileSession session;
  if (!Open(session, file)) return std::nullopt;
  const files::ProfileDocument& document = session.document();
  const auto left = Number(document, "Left"), top = Number(document, "Top");
  const auto width = Number(document, "Width"), height = Number(document, "Height");
  if (!left || !top || !width || !height || *width <= 0 || *height <= 0) return std::nullopt;
  WindowPlace place;
  place.normal = QRect(*left, *top, *width, *height);
  place.maximised = Number(document, "Maximized").value_or(0) != 0;
  place.monitor_height = std::max(0, Number(document, "Monitor").value_or(0));
  return place;
}

bool WriteWindowPlace(const QString& file, const WindowPlace& place) {
  files::ProfileSession session;
  if (!Open(session, file)) return false;
  files::ProfileDocument& document = session.document();
  const auto set = [&](const char* key, int value) {
    document.Set(kSection, key, std::to_string(value));
  };
  set("Left", place.normal.x());
  set("Top", place.normal.y());
  set("Width", place.normal.width());
  set("Height", place.normal.height());
  set("Maximized", place.maximised ? 1 : 0);
  set("Monitor", place.monitor_height);
  return session.Commit();
}

bool OnScreens(const QRect& area, const QList<QRect>& screens) {
  if (!area.isValid()) return false;
  for (const QRect& screen : screens) {
    if (screen.contains(area)) return true;
  }
  return false;
}

}  // namespace ui
