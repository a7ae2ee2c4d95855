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

#include "cp1251.h"
#include "event_system.h"
#include "link_texts.h"
#include "main_form.h"
#include "link_registry.h"

namespace ui {

namespace {

// Walks the pages as an operator would: one step per tick of its timer, so
// that the link, the device wait and the painting run in between.
class PageShooter : public QObject {
 public:
  PageShooter(TMainForm& form, EventSystem& events, const zlink::LinkRegistry& links,
              QString folder, int settle_ms)
      : QObject(&form),
        form_(form),
        events_(events),
        links_(links),
        folder_(std::move(folder)),
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

  bool Connected() const { return links_.state() == zlink::LinkState::kConnected; }
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
        for (QTreeWidgetItemIterator it(events_.tree().view()); *it; ++it) nodes_ << *it;
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
    QTreeWidget* tree = events_.tree().view();
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
  const zlink::LinkRegistry& links_;
  QString folder_;
  int settle_ms_;
  QTimer tick_;
  QElapsedTimer clock_;
  Phase phase_ = Phase::kConnect;
  int idle_ticks_ = 0;
  QList<QTreeWidgetItem*> nodes_;
  qsizetype next_ = 0;
};

void ArrangePageScreenshots(TMainForm& form, EventSystem& events, const zlink::LinkRegistry& links,
                            const ScreenshotOptions& options) {
  if (options.pages.isEmpty()) return;
  auto* shooter = new PageShooter(form, events, links, options.pages, 300);
  QObject::connect(&form, &TMainForm::FirstShown, shooter, [shooter] { shooter->Start(); });
}

}  // namespace

void ArrangeScreenshot(TMainForm& form, EventSystem& events, const zlink::LinkRegistry& links,
                       const ScreenshotOptions& options) {
  ArrangePageScreenshots(form, events, links, options);
  if (options.file.isEmpty()) return;
  const QString file = options.file;
  const int delay = options.delay_ms;
  QObject::connect(&form, &TMainForm::FirstShown, &form, [&form, file, delay] {
    QTimer::singleShot(delay, &form, [&form, file] {
      const bool saved = form.grab().toImage().save(file, "PNG");
      if (!saved) std::fprintf(stderr, "zelt: cannot write %s\n", qPrintable(file));
      QApplication::exit(saved ? 0 : 1);
    });
  });
}

}  // namespace ui
