// An offscreen screen of a given size for the end-to-end tests' windows.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace e2e {

// Sets QT_QPA_PLATFORM to the offscreen plugin with one screen of `width` x
// `height`, described in a file. The platform's arguments are split at ':',
// so on Windows, where an absolute path has one ("C:/..."), the file is in the
// current folder (the test program's). Without the file: the plugin's own
// screen.
inline void UseOffscreenScreen(const QByteArray& width, const QByteArray& height) {
  const QString name = QStringLiteral("zelt-e2e-screen-%1x%2.json")
                           .arg(QString::fromLatin1(width), QString::fromLatin1(height));
#ifdef _WIN32
  const QString config = name;
#else
  const QString config = QDir::temp().filePath(name);
#endif
  // Test programs starting side by side share the file: each replaces it
  // whole, so none reads it half written. Where the replacing fails (a reader
  // holds it on Windows), another program has just written the same.
  QSaveFile file(config);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":)" + width + R"(,"height":)" + height +
               R"(,"logicalDpi":96}]})");
    file.commit();
  }
  if (QFile::exists(config)) {
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
  } else {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
}

}  // namespace e2e
