// An offscreen screen of a given size for the end-to-end tests' windows.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace e2e {

// Sets QT_QPA_PLATFORM to the offscreen plugin with one screen of `width` x
// `height`, described in a file in the current folder: the platform's
// arguments are split at ':', so an absolute Windows path ("C:/...") would
// not reach the plugin whole. Without the file: the plugin's own screen.
inline void UseOffscreenScreen(const QByteArray& width, const QByteArray& height) {
  const QString config = QStringLiteral("zelt-e2e-screen-%1x%2.json")
                             .arg(QString::fromLatin1(width), QString::fromLatin1(height));
  QFile file(config);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    file.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":)" + width + R"(,"height":)" + height +
               R"(,"logicalDpi":96}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
  } else {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
}

}  // namespace e2e
