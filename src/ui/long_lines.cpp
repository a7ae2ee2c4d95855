#include "long_lines.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QStatusBar>

#include "cp1251.h"
#include "guarded.h"
#include "main_form.h"

namespace ui {

namespace {

constexpr char kStopCaption[] = "Прервать";
constexpr char kStoppedStatus[] = "Выполнение строки прервано.";

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace

LongLines::LongLines(TMainForm& form, engine::Engine& engine)
    : form_(form), engine_(engine) {
  stop_button_ = new QPushButton(QString::fromUtf8(kStopCaption), form.StatusBar());
  stop_button_->setObjectName(QStringLiteral("ButtonStopLine"));
  stop_button_->setFocusPolicy(Qt::NoFocus);
  form.StatusBar()->addPermanentWidget(stop_button_);
  stop_button_->hide();
  connect(stop_button_, &QPushButton::clicked, this, [this] { Stop(); });
  engine_.SetPulse(this);
}

LongLines::~LongLines() { engine_.SetPulse(nullptr); }

void LongLines::Later(std::function<void()> work) { held_.push_back(std::move(work)); }

void LongLines::Pulse() {
  if (engine_.line_serial() != line_serial_) {
    line_serial_ = engine_.line_serial();
    line_clock_.start();
    return;
  }
  if (!long_) {
    if (line_clock_.elapsed() < kLongAfterMs) return;
    long_ = true;
    stopped_ = false;
    stop_button_->show();
    pump_clock_.invalidate();
  }
  if (pump_clock_.isValid() && pump_clock_.elapsed() < kPumpEveryMs) return;
  pump_clock_.start();
  Pump();
}

void LongLines::Pump() {
  qApp->installEventFilter(this);
  Guarded([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
  qApp->removeEventFilter(this);
}

bool LongLines::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Close && watched == &form_) {
    // The window stays while the line runs; stopping it comes first.
    event->ignore();
    return true;
  }
  if (!IsInput(type)) return false;
  if (watched == stop_button_ && type != QEvent::KeyPress && type != QEvent::KeyRelease) {
    return false;
  }
  if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    Stop();
  }
  return true;
}

void LongLines::Stop() {
  if (!long_ || stopped_) return;
  stopped_ = true;
  engine_.StopLines();
}

void LongLines::Hold(std::string line) {
  engine::Engine* engine = &engine_;
  Later([engine, line = std::move(line)] { engine->ExecuteLine(line); });
}

void LongLines::LinesEnded() {
  const bool was_long = long_;
  long_ = false;
  stop_button_->hide();
  if (was_long && stopped_) form_.ShowStatus(engine::Cp1251(kStoppedStatus));
  stopped_ = false;
  RunHeld();
}

void LongLines::RunHeld() {
  // A held line that runs long itself ends here too: the outer call goes on
  // with what is left, in order.
  if (running_held_) return;
  running_held_ = true;
  while (!held_.empty()) {
    std::function<void()> work = std::move(held_.front());
    held_.pop_front();
    Guarded(work);
  }
  running_held_ = false;
}

}  // namespace ui
