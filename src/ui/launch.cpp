#include "launch.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <cstdio>

#include "event_system.h"
#include "link_texts.h"
#include "main_form.h"
#include "window_text.h"

namespace ui {

namespace {

struct OptionHelp {
  const char* name;
  const char* value;  // nullptr for a flag
  const char* help;
};

constexpr OptionHelp kOptions[] = {
    {"DEBUG", nullptr, "show the link memo (any letter case, anywhere on the line)"},
    {"--demo", nullptr, "talk to a simulated ZELT-2 GSM instead of a real device"},
    {"--port", "NAME", "use this serial port instead of the USB port scan (repeatable;\n"
                       "                          also --port=NAME)"},
    {"--screenshot", "FILE", "save a PNG of the window after start-up, then quit"},
    {"--screenshot-delay", "MS", "wait this long before --screenshot (default 1000)"},
    {"--screenshot-pages", "DIR", "read the device, save every page as DIR/page-NN.png, quit"},
    {"--watch", nullptr, "read Setup.KVS again whenever it changes and show the page anew"},
    {"--help", nullptr, "print this help and quit (also -h)"},
    {"--version", nullptr, "print the version and quit"},
};

const OptionHelp* FindOption(const QString& argument) {
  for (const OptionHelp& option : kOptions) {
    if (argument == QLatin1String(option.name)) return &option;
  }
  return nullptr;
}

// Qt's own options, which QApplication takes out of the line; they are
// looked at before there is a display to refuse the unknown ones.
constexpr const char* kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "display", "geometry", "title", "name",
    "icon", "style", "stylesheet", "qmljsdebugger"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "testability"};

// 0 when `argument` is none of Qt's options, else how many arguments it takes.
int QtOptionLength(const QString& argument) {
  QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
  const bool joined = name.contains(QLatin1Char('='));
  name = name.section(QLatin1Char('='), 0, 0);
  for (const char* option : kQtOptionsWithValue) {
    if (name == QLatin1String(option)) return joined ? 1 : 2;
  }
  for (const char* flag : kQtFlags) {
    if (name == QLatin1String(flag) && !joined) return 1;
  }
  return 0;
}

}  // namespace

LaunchOptions ParseLaunchOptions(const QStringList& arguments_after_program) {
  LaunchOptions options;
  options.arguments = arguments_after_program;
  const QStringList& a = arguments_after_program;
  for (qsizetype i = 0; i < a.size(); ++i) {
    const QString& argument = a[i];
    if (argument.toUpper() == QLatin1String("DEBUG")) {
      options.debug = true;
      continue;
    }
    if (argument == QLatin1String("-h")) {
      options.help = true;
      continue;
    }
    if (argument.startsWith(QLatin1String("--port="))) continue;
    // Other words are left to the pages (a shortcut may pass one).
    if (!argument.startsWith(QLatin1Char('-'))) continue;
    const OptionHelp* option = FindOption(argument);
    if (!option) {
      if (const int length = QtOptionLength(argument)) {
        i += length - 1;
        continue;
      }
      if (options.error.isEmpty()) options.error = QStringLiteral("unknown option: ") + argument;
      continue;
    }
    if (!option->value) {
      options.help |= argument == QLatin1String("--help");
      options.version |= argument == QLatin1String("--version");
      continue;
    }
    if (i + 1 >= a.size()) {
      if (options.error.isEmpty()) {
        options.error = argument + QStringLiteral(" needs ") + QLatin1String(option->value);
      }
      continue;
    }
    const QString& value = a[++i];
    if (argument == QLatin1String("--screenshot")) {
      options.screenshot = value;
    } else if (argument == QLatin1String("--screenshot-delay")) {
      bool ok = false;
      const int ms = value.toInt(&ok);
      if (ok && ms >= 0) options.screenshot_delay_ms = ms;
    } else if (argument == QLatin1String("--screenshot-pages")) {
      options.screenshot_pages = value;
    }
  }
  return options;
}

QString Usage() {
  QString text = QStringLiteral(
      "Usage: zelt [OPTION]...\n"
      "The ZELT-2 GSM configurator. It finds the device on a USB serial port and runs\n"
      "the pages of Setup.KVS.\n\n");
  for (const OptionHelp& option : kOptions) {
    QString head = QLatin1String(option.name);
    if (option.value) head += QLatin1Char(' ') + QLatin1String(option.value);
    text += QStringLiteral("  %1 %2\n").arg(head, -23).arg(QString::fromUtf8(option.help));
  }
  return text;
}

QString VersionText() { return QStringLiteral("zelt ") + QLatin1String(kVersion); }

int AnswerCommandLine(const LaunchOptions& options) {
  if (!options.error.isEmpty()) {
    std::fprintf(stderr, "zelt: %s\n\n%s", qPrintable(options.error), qPrintable(Usage()));
    return 2;
  }
  if (options.help) {
    std::fputs(qPrintable(Usage()), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s\n", qPrintable(VersionText()));
    return 0;
  }
  return -1;
}

namespace {

// Walks the pages as an operator would: one step per tick of its timer, so
// that the link, the device wait and the painting run in between.
class PageShooter : public QObject {
 public:
  PageShooter(TMainForm& form, EventSystem& events, QString folder, int settle_ms)
      : QObject(&form), form_(form), events_(events), folder_(std::move(folder)),
        settle_ms_(settle_ms) {
    tick_.setInterval(50);
    connect(&tick_, &QTimer::timeout, this, [this] { Step(); });
  }

  void Start() {
    if (!QDir().mkpath(folder_)) return Finish(false, "cannot make the folder");
    clock_.start();
    tick_.start();
  }

 private:
  enum class Phase { kConnect, kAutoRead, kRead, kPage };
  static constexpr int kAutoReadMs = 1500;

  bool Connected() const {
    return form_.LabelStatCon()->text() == FromCp1251(zlink::kConnected);
  }
  // No device wait armed and nothing held back, on two ticks running.
  bool Idle() {
    const bool idle = !events_.wait().Armed() && events_.wait().pending_script().empty();
    idle_ticks_ = idle ? idle_ticks_ + 1 : 0;
    return idle_ticks_ >= 2;
  }

  void Step() {
    switch (phase_) {
      case Phase::kConnect:
        if (!Connected() && clock_.elapsed() < 10000) return;
        if (!Connected()) std::fprintf(stderr, "zelt: no device connected, reading anyway\n");
        phase_ = Phase::kAutoRead;
        clock_.restart();
        return;
      case Phase::kAutoRead:
        // Pages that read the device by themselves once it answers (ONCONNECT)
        // are left to it; the others are read with the tool-bar button.
        if (!events_.wait().Armed()) {
          if (clock_.elapsed() < kAutoReadMs) return;
          form_.Button16()->click();
        }
        phase_ = Phase::kRead;
        idle_ticks_ = 0;
        clock_.restart();
        return;
      case Phase::kRead:
        if (!Idle() && clock_.elapsed() < 60000) return;
        for (QTreeWidgetItemIterator it(form_.TreeView()); *it; ++it) nodes_ << *it;
        next_ = 0;
        ClickNext();
        return;
      case Phase::kPage:
        if ((!Idle() || clock_.elapsed() < settle_ms_) && clock_.elapsed() < 30000) return;
        if (!SavePage()) return;
        ClickNext();
        return;
    }
  }

  // A press and a release on the node's caption, as the mouse gives them.
  void ClickNext() {
    if (next_ >= nodes_.size()) return Finish(true, nullptr);
    QTreeWidget* tree = form_.TreeView();
    QTreeWidgetItem* item = nodes_[next_];
    tree->scrollToItem(item);
    QWidget* viewport = tree->viewport();
    const QPoint at = tree->visualItemRect(item).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier);
      QApplication::sendEvent(viewport, &event);
    }
    phase_ = Phase::kPage;
    idle_ticks_ = 0;
    clock_.restart();
  }

  bool SavePage() {
    const QString file =
        QDir(folder_).filePath(QStringLiteral("page-%1.png").arg(++next_, 2, 10, QLatin1Char('0')));
    if (!form_.grab().toImage().save(file, "PNG")) {
      Finish(false, qPrintable(QStringLiteral("cannot write ") + file));
      return false;
    }
    return true;
  }

  void Finish(bool ok, const char* why) {
    tick_.stop();
    if (!ok) std::fprintf(stderr, "zelt: %s\n", why);
    QApplication::exit(ok ? 0 : 1);
  }

  TMainForm& form_;
  EventSystem& events_;
  QString folder_;
  int settle_ms_;
  QTimer tick_;
  QElapsedTimer clock_;
  Phase phase_ = Phase::kConnect;
  int idle_ticks_ = 0;
  QList<QTreeWidgetItem*> nodes_;
  qsizetype next_ = 0;
};

void ArrangePageScreenshots(TMainForm& form, const LaunchOptions& options) {
  if (options.screenshot_pages.isEmpty()) return;
  // The event routing lives as a child of the window.
  auto* events = form.findChild<EventSystem*>(QString(), Qt::FindDirectChildrenOnly);
  if (!events) {
    std::fprintf(stderr, "zelt: --screenshot-pages needs the program's event routing\n");
    return;
  }
  auto* shooter = new PageShooter(form, *events, options.screenshot_pages, 300);
  QObject::connect(&form, &TMainForm::FirstShown, shooter, [shooter] { shooter->Start(); });
}

}  // namespace

void ArrangeScreenshot(TMainForm& form, const LaunchOptions& options) {
  ArrangePageScreenshots(form, options);
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
