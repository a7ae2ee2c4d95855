#include "launch.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "main_form.h"

namespace ui {

LaunchOptions ParseLaunchOptions(const QStringList& arguments_after_program) {
  LaunchOptions options;
  options.arguments = arguments_after_program;
  const QStringList& a = arguments_after_program;
  for (qsizetype i = 0; i + 1 < a.size(); ++i) {
    if (a[i] == QLatin1String("--screenshot")) {
      options.screenshot = a[++i];
    } else if (a[i] == QLatin1String("--screenshot-delay")) {
      bool ok = false;
      const int ms = a[++i].toInt(&ok);
      if (ok && ms >= 0) options.screenshot_delay_ms = ms;
    }
  }
  return options;
}

void ArrangeScreenshot(TMainForm& form, const LaunchOptions& options) {
  if (options.screenshot.isEmpty()) return;
  const QString file = options.screenshot;
  const int delay = options.screenshot_delay_ms;
  QObject::connect(&form, &TMainForm::FirstShown, &form, [&form, file, delay] {
    QTimer::singleShot(delay, &form, [&form, file] {
      const bool saved = form.grab().toImage().save(file, "PNG");
      if (!saved) std::fprintf(stderr, "zelt: cannot write %s\n", qPrintable(file));
      QApplication::exit(saved ? 0 : 1);
    });
  });
}

}  // namespace ui
