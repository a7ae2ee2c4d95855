#include "long_lines.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QWindow>

#include "cp1251.h"
#include "guarded.h"
#include "main_form.h"

namespace ui {

namespace {

constexpr char kStopCaption[] = "Прервать";
constexpr char kStoppedStatus[] = "Выполнение строки прервано.";
constexpr char kRunningStatus[] = "Выполняется строка скрипта. Остановить: Esc или «Прервать».";
constexpr char kClosingStatus[] =
    "Окно закроется, когда строка закончится. Остановить её: Esc или «Прервать».";

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

LongLines::LongLines(TMainForm& form, QStatusBar& status_bar, engine::Engine& engine)
    : form_(form), engine_(engine) {
  stop_button_ = new QPushButton(QString::fromUtf8(kStopCaption), &status_bar);
  stop_button_->setObjectName(QStringLiteral("ButtonStopLine"));
  stop_button_->setFocusPolicy(Qt::NoFocus);
  status_bar.addPermanentWidget(stop_button_);
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
    Say(kRunningStatus);
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
    // The window stays while the line runs, and closes once it has ended.
    event->ignore();
    if (!close_after_line_) Say(kClosingStatus);
    close_after_line_ = true;
    return true;
  }
  if (!IsInput(type)) return false;
  if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    Stop();
    return true;
  }
  if (watched == stop_button_) return type == QEvent::KeyPress || type == QEvent::KeyRelease;
  // A click reaches the window first, which hands it to the widget under the
  // pointer: only a press on the button goes that way. A release always does,
  // so that a pressed button comes up again.
  if (watched->isWindowType() && (type == QEvent::MouseButtonPress ||
                                  type == QEvent::MouseButtonDblClick ||
                                  type == QEvent::MouseButtonRelease)) {
    if (type == QEvent::MouseButtonRelease) return false;
    return !OnStopButton(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
  }
  return true;
}

bool LongLines::OnStopButton(const QPoint& global) const {
  return stop_button_->isVisible() &&
         stop_button_->rect().contains(stop_button_->mapFromGlobal(global));
}

void LongLines::Say(const char* text) {
  form_.ShowStatus(engine::Cp1251(text));
  said_serial_ = form_.StatusSerial();
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
  if (was_long && stopped_) {
    Say(kStoppedStatus);
  } else if (was_long && form_.StatusSerial() == said_serial_) {
    form_.ShowStatus({});  // the line's own texts stay, the hint goes
  }
  stopped_ = false;
  RunHeld();
  if (close_after_line_ && !long_) {
    close_after_line_ = false;
    QMetaObject::invokeMethod(&form_, [form = &form_] { form->close(); }, Qt::QueuedConnection);
  }
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
