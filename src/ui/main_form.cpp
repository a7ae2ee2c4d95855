#include "main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QShortcut>
#include <QShowEvent>
#include <QStackedWidget>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QAbstractItemView>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "cp1251.h"
#include "directory_edit.h"
#include "first_size.h"
#include "guarded.h"
#include "level_image.h"
#include "memo_menu.h"
#include "monitor_splitter.h"
#include "no_device_panel.h"
#include "page_area.h"
#include "queued_memo.h"
#include "tool_bar_row.h"
#include "window_place.h"

namespace ui {

namespace {

// The port selector keeps its designed width; Linux port names are longer than
// "COM1", so the open list grows to the longest name and the full name of the
// chosen port shows as a tool tip.
class PortComboBox : public QComboBox {
 public:
  explicit PortComboBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentTextChanged, this, &QWidget::setToolTip);
  }
  void showPopup() override {
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
    QComboBox::showPopup();
  }
};

constexpr int kToolBarHeight = 41;
constexpr int kTreeWidth = 201;
constexpr int kMemoDebugHeight = 163;
constexpr int kTitleRowHeight = 17;
constexpr int kMonitorHeight = 73;
constexpr int kStatusBarHeight = 21;
constexpr int kMemoEvWidth = 200;
constexpr int kMemoTerminalWidth = 288;

QFont DesignFont() {
  QFont font;
  // MS Sans Serif where it exists; elsewhere the nearest narrow sans face.
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

QFrame* MakePanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return panel;
}

// Qt follows appended lines only while the last one shows whole, and a
// wrapped line is laid out, and so grows, only once painted: the memo stopped
// at an old line. It follows while it is scrolled to the end.
void FollowNewestLine(QPlainTextEdit* memo) {
  QScrollBar* bar = memo->verticalScrollBar();
  auto following = std::make_shared<bool>(true);
  QObject::connect(bar, &QScrollBar::valueChanged, memo,
                   [bar, following](int value) { *following = value == bar->maximum(); });
  QObject::connect(bar, &QScrollBar::rangeChanged, memo, [bar, following](int, int maximum) {
    if (*following) bar->setValue(maximum);
  });
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, bool read_only) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(QString::fromLatin1(name));
  memo->setReadOnly(read_only);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  return memo;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainForm"));
  setFont(DesignFont());
  // The designed title, completed with the version when the window is made.
  setWindowTitle(QString::fromUtf8(kDesignedTitle) + QLatin1Char(' ') + QString::fromLatin1(kVersion));

  BuildAreas();
  BuildStatusBar();
  BuildToolBar();
  BuildTree();
  BuildTitleRow();
  BuildMonitor();

  controls_ = std::make_unique<ControlFactory>(panel_set_, page_model_);
  pool_ = std::make_unique<ControlPool>(panel_set_, *controls_);
  page_scroll_ = new PageScrollArea(panel_set_, page_stack_);
  page_stack_->addWidget(page_scroll_);
  no_device_ = new NoDevicePanel(page_stack_);
  page_stack_->addWidget(no_device_);
  page_stack_->setCurrentWidget(page_scroll_);
  splitter_->setSizes({kDesignedHeight, kMonitorHeight});
  SetUpKeyboard();
  SetUpMemoMenus();
  qt_dialogs_ = std::make_unique<QtDialogs>(this);
  dialogs_ = qt_dialogs_.get();
  pool_->DirectoryEdit1()->SetChooser(
      [this](const QString& start) { return dialogs_->ChooseFolder(start); });

  resize(kDesignedWidth, kDesignedHeight);
}

TMainForm::~TMainForm() {
  if (hourglass_) QGuiApplication::restoreOverrideCursor();
}

void TMainForm::BuildAreas() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  panel_tool_bar_ = MakePanel(central, "PanelToolBar");
  panel_tool_bar_->setFixedHeight(kToolBarHeight);
  column->addWidget(panel_tool_bar_);

  // Tree and page area above, the monitor below; the title row between them
  // is the divider the operator drags.
  panel_tit_ = MakePanel(nullptr, "PanelTit");
  panel_tit_->setFixedHeight(kTitleRowHeight);
  panel_tit_->setFrameStyle(QFrame::NoFrame);
  splitter_ = new MonitorSplitter(panel_tit_, central);
  column->addWidget(splitter_, 1);

  auto* upper = new QWidget(splitter_);
  auto* middle = new QHBoxLayout(upper);
  middle->setContentsMargins(0, 0, 0, 0);
  middle->setSpacing(0);
  panel_tree_ = MakePanel(upper, "PanelTree");
  panel_tree_->setFixedWidth(kTreeWidth);
  panel_set_ = MakePanel(nullptr, "PanelSet");
  page_stack_ = new QStackedWidget(upper);
  page_stack_->setObjectName(QStringLiteral("PageStack"));
  // SET hides the page area; the tree keeps its place meanwhile.
  QSizePolicy set_policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  set_policy.setRetainSizeWhenHidden(true);
  page_stack_->setSizePolicy(set_policy);
  middle->addWidget(panel_tree_);
  middle->addWidget(page_stack_, 1);
  splitter_->addWidget(upper);

  panel_monitor_ = MakePanel(splitter_, "PanelMonitor");
  panel_monitor_->setFrameStyle(QFrame::NoFrame);
  panel_monitor_->setMinimumHeight(kMonitorHeight / 2);
  splitter_->addWidget(panel_monitor_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  setCentralWidget(central);
}

void TMainForm::BuildStatusBar() {
  status_bar_ = new QStatusBar(this);
  status_bar_->setObjectName(QStringLiteral("StatusBar"));
  status_bar_->setFixedHeight(kStatusBarHeight);
  status_text_ = new QLabel(status_bar_);
  status_text_->setTextFormat(Qt::PlainText);
  // A long text is cut, never widening the window past the screen; the tip
  // shows it whole.
  status_text_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  status_bar_->addWidget(status_text_, 1);
  setStatusBar(status_bar_);
}

void TMainForm::BuildToolBar() {
  QWidget* bar = panel_tool_bar_;
  label41_ = MakeLabel(bar, "Label41", QStringLiteral("Подключение к оборудованию через:"), 8, 12);
  combo_box_com_ = new PortComboBox(bar);
  combo_box_com_->setObjectName(QStringLiteral("ComboBoxCom"));
  combo_box_com_->setEditable(false);
  combo_box_com_->setGeometry(216, 8, 73, combo_box_com_->sizeHint().height());
  combo_box_com_->setFixedWidth(73);
  label_stat_con_ = MakeLabel(bar, "LabelStatCon", QString(), 296, 12);
  ShowLinkState(zlink::LinkState::kNotConnected);
  button16_ = new QPushButton(QStringLiteral("&Чтение из устройства"), bar);
  button16_->setObjectName(QStringLiteral("Button16"));
  button16_->setGeometry(472, 8, 129, 25);
  button17_ = new QPushButton(QStringLiteral("&Запись в устройство"), bar);
  button17_->setObjectName(QStringLiteral("Button17"));
  button17_->setGeometry(616, 8, 129, 25);
  new ToolBarRow({label41_, combo_box_com_, label_stat_con_, button16_, button17_}, combo_box_com_,
                 bar);
  connect(button16_, &QPushButton::clicked, this, &TMainForm::ReadRequested);
  connect(button17_, &QPushButton::clicked, this, &TMainForm::WriteRequested);
  connect(combo_box_com_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (showing_ports_ || index < 0) return;
    emit PortChosen(combo_box_com_->itemText(index));
  });
}

void TMainForm::BuildTree() {
  auto* layout = new QVBoxLayout(panel_tree_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  tree_view_ = new QTreeWidget(panel_tree_);
  tree_view_->setObjectName(QStringLiteral("TreeView"));
  tree_view_->setHeaderHidden(true);
  tree_view_->setIndentation(19);
  tree_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_view_->setIconSize(QSize(16, 16));
  layout->addWidget(tree_view_, 1);
  memo_debug_ = MakeMemo(panel_tree_, "MemoDebug", false);
  memo_debug_->setFixedHeight(kMemoDebugHeight);
  layout->addWidget(memo_debug_);
  CapLines(memo_debug_);
  link_memo_ = new QueuedMemo(memo_debug_, kMemoLineCap, this);
}

void TMainForm::BuildTitleRow() {
  QWidget* row = panel_tit_;
  label_stat_ = MakeLabel(row, "LabelStat", QStringLiteral("События"), 64, 1);
  label_r_ = MakeLabel(row, "LabelR", QStringLiteral("Прием"), 208, 1);
  label_filtr_ = MakeLabel(row, "LabelFiltr", QStringLiteral("Фильтр: Все"), 360, 1);
  label_t_ = MakeLabel(row, "LabelT", QStringLiteral("Передача"), 496, 1);
  for (QLabel* indicator : {label_r_, label_t_}) indicator->setAutoFillBackground(true);
  SetWaitIndicators(false);
}

void TMainForm::BuildMonitor() {
  auto* layout = new QHBoxLayout(panel_monitor_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  memo_ev_ = MakeMemo(panel_monitor_, "MemoEV", true);
  memo_ev_->setFixedWidth(kMemoEvWidth);
  // Event lines are sentences with a time stamp: wrapped, they are read whole
  // in the narrow memo.
  memo_ev_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  FollowNewestLine(memo_ev_);
  memo_terminal_ = MakeMemo(panel_monitor_, "MemoTerminal", true);
  memo_terminal_->setFixedWidth(kMemoTerminalWidth);
  // The records sent are a record like the others: not for typing into.
  memo_terminal_out_ = MakeMemo(panel_monitor_, "MemoTerminalOut", true);
  layout->addWidget(memo_ev_);
  layout->addWidget(memo_terminal_);
  layout->addWidget(memo_terminal_out_, 1);
  CapLines(memo_terminal_);
  CapLines(memo_terminal_out_);
}

void TMainForm::CapLines(QPlainTextEdit* memo) {
  // Past the cap the memo starts empty again; it is not trimmed.
  connect(memo, &QPlainTextEdit::textChanged, this, [memo] {
    if (memo->document()->blockCount() > kMemoLineCap) memo->clear();
  });
}

void TMainForm::ShowFilterCaption(const QString& caption) {
  label_filtr_->setText(caption);
  label_filtr_->adjustSize();  // the caption sizes the label, as the others do
}

void TMainForm::ClearTraffic() {
  memo_terminal_->clear();
  memo_terminal_out_->clear();
}

QString TMainForm::StatusText() const { return status_text_->text(); }

int32_t TMainForm::ToDesignX(int32_t v) const {
  const int64_t pixels = int64_t{v} * pool_->BevelTestSize()->width() / 10;
  return static_cast<int32_t>(std::clamp<int64_t>(pixels, INT32_MIN, INT32_MAX));
}

int32_t TMainForm::ToDesignY(int32_t v) const {
  const int64_t pixels = int64_t{v} * pool_->BevelTestSize()->height() / 10;
  return static_cast<int32_t>(std::clamp<int64_t>(pixels, INT32_MIN, INT32_MAX));
}

void TMainForm::DrawLevelBar(int x, int y, int level) { pool_->Image1()->DrawLevelBar(x, y, level); }

void TMainForm::SetWaitIndicators(bool on) {
  wait_indicators_on_ = on;
  const QColor color = on ? QColor(0, 255, 0) : QApplication::palette().color(QPalette::Button);
  for (QLabel* indicator : {label_r_, label_t_}) {
    QPalette palette = indicator->palette();
    palette.setColor(QPalette::Window, color);
    indicator->setPalette(palette);
  }
}

void TMainForm::SetDebugMemoVisible(bool visible) { memo_debug_->setVisible(visible); }

void TMainForm::ResizeToScreen() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen || RestorePlace()) return;
  const QSize frame = frameGeometry().size() - geometry().size();
  const FirstSize first = ChooseFirstSize(screen->size(), screen->availableGeometry().size(),
                                          QSize(kDesignedWidth, kDesignedHeight), frame);
  if (first.maximised) {
    setWindowState(windowState() | Qt::WindowMaximized);
    return;
  }
  resize(first.client);
  // Moved to the top left of the available area when it would reach past it.
  const QRect available = screen->availableGeometry();
  QRect outer = frameGeometry();
  outer.setSize(first.client + frame);
  if (!available.contains(outer)) move(available.topLeft());
}

bool TMainForm::RestorePlace() {
  if (place_file_.isEmpty()) return false;
  const std::optional<WindowPlace> place = ReadWindowPlace(place_file_);
  if (!place) return false;
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->geometry();
  // A place on a screen that is gone (or smaller now) would hide the window.
  if (!OnScreens(place->normal, screens)) return false;
  setGeometry(place->normal);
  if (place->maximised) setWindowState(windowState() | Qt::WindowMaximized);
  if (place->monitor_height > 0) {
    // The page area stretches, the monitor does not: it keeps this height.
    splitter_->setSizes({splitter_->height(), place->monitor_height});
  }
  return true;
}

void TMainForm::KeepPlace() {
  if (place_file_.isEmpty()) return;
  WindowPlace place;
  place.normal = isMaximized() ? normalGeometry() : geometry();
  place.maximised = isMaximized();
  place.monitor_height = splitter_->sizes().value(1);
  WriteWindowPlace(place_file_, place);  // a place not kept costs nothing worth a word
}

void TMainForm::ShowNoDevice(bool show, const NoDeviceReport& report) {
  if (show) no_device_->SetReport(report);
  page_stack_->setCurrentWidget(show ? static_cast<QWidget*>(no_device_) : page_scroll_);
}

bool TMainForm::NoDeviceShown() const { return page_stack_->currentWidget() == no_device_; }

void TMainForm::SetUpKeyboard() {
  // Enter presses a focused button as Space does.
  button16_->setAutoDefault(true);
  button17_->setAutoDefault(true);
  for (int i = 1; i <= ControlPool::kButtons; ++i) pool_->Button(i)->setAutoDefault(true);
  for (const auto& [keys, button] :
       {std::pair{QKeySequence(Qt::CTRL | Qt::Key_R), button16_},
        std::pair{QKeySequence(Qt::CTRL | Qt::Key_W), button17_}}) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    QPushButton* target = button;
    target->setToolTip(QString(target->text()).remove(QLatin1Char('&')) + QStringLiteral(" (") +
                       keys.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    connect(shortcut, &QShortcut::activated, target, [target] {
      if (target->isEnabled() && target->isVisible()) target->click();
    });
  }
  // Tab leaves the text fields instead of typing a tab; the monitor's memos
  // are reached by the mouse only.
  for (QPlainTextEdit* memo : {memo_debug_, memo_ev_, memo_terminal_, memo_terminal_out_}) {
    memo->setTabChangesFocus(true);
    memo->setFocusPolicy(Qt::ClickFocus);
  }
  pool_->Memo1()->setTabChangesFocus(true);
}

QList<QWidget*> TMainForm::TabOrder() const {
  QList<QWidget*> order{tree_view_};
  if (page_stack_->currentWidget() == page_scroll_ && panel_set_->isVisible()) {
    order += page_scroll_->TabStops();
  }
  order << combo_box_com_ << button16_ << button17_;
  return order;
}

bool TMainForm::focusNextPrevChild(bool next) {
  // The tree, the page in the order it was placed, the tool bar; from a
  // control outside that round (a memo clicked into) Qt's own order goes on.
  const QList<QWidget*> order = TabOrder();
  const QWidget* focus = QApplication::focusWidget();
  qsizetype at = -1;
  for (qsizetype i = 0; i < order.size() && focus; ++i) {
    if (order[i] == focus || order[i]->isAncestorOf(focus)) at = i;
  }
  if (at < 0) return QMainWindow::focusNextPrevChild(next);
  for (qsizetype step = 1; step < order.size(); ++step) {
    const qsizetype size = order.size();
    QWidget* candidate = order[((at + (next ? step : -step)) % size + size) % size];
    QWidget* target = FocusTarget(candidate);
    if (target && candidate->isVisible() && candidate->isEnabled()) {
      target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return true;
}

void TMainForm::SetUpMemoMenus() {
  for (QPlainTextEdit* memo : {memo_debug_, memo_ev_, memo_terminal_, memo_terminal_out_}) {
    AddMemoMenu(
        memo,
        [this](const QString& initial) {
          return dialogs_->SaveDialog(initial, QStringLiteral("Текст (*.txt);;Все файлы (*)"));
        },
        [this](const QString& status) { SetStatusText(status); });
  }
}

void TMainForm::SetDialogs(Dialogs* dialogs) { dialogs_ = dialogs ? dialogs : qt_dialogs_.get(); }

void TMainForm::ShowLinkState(zlink::LinkState state) {
  label_stat_con_->setText(engine::FromCp1251(zlink::ConnectionText(state)));
}

void TMainForm::ShowPorts(const QStringList& ports, int current) {
  showing_ports_ = true;
  QStringList shown;
  for (int i = 0; i < combo_box_com_->count(); ++i) shown << combo_box_com_->itemText(i);
  if (shown != ports) {
    combo_box_com_->clear();
    combo_box_com_->addItems(ports);
  }
  combo_box_com_->setCurrentIndex(current);
  showing_ports_ = false;
}

void TMainForm::AddLinkLine(const QString& line) { link_memo_->Append(line); }

void TMainForm::ShowStatus(const std::string& text) { SetStatusText(engine::FromCp1251(text)); }

void TMainForm::SetStatusText(const QString& text) {
  ++status_serial_;
  status_text_->setText(text);
  status_text_->setToolTip(text);
}

void TMainForm::AddMemoLine(engine::Memo memo, const std::string& line) {
  QPlainTextEdit* target = memo_ev_;
  if (memo == engine::Memo::kReceived) target = memo_terminal_;
  if (memo == engine::Memo::kSent) target = memo_terminal_out_;
  target->appendPlainText(engine::FromCp1251(line));
}

void TMainForm::ShowCursor(engine::Cursor cursor) {
  const bool hourglass = cursor == engine::Cursor::kHourglass;
  if (hourglass == hourglass_) return;
  hourglass_ = hourglass;
  if (hourglass) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
}

void TMainForm::SetSettingsPanel(bool on) {
  panel_set_->setVisible(on);
  tree_view_->setEnabled(on);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // The program's own questions first, then the script's CLOSEQUERY.
  for (const std::function<bool()>& check : close_checks_) {
    bool close = true;
    Guarded([&] { close = check(); });
    if (!close) {
      event->ignore();
      return;
    }
  }
  if (close_query_ && !close_query_()) {
    event->ignore();
    return;
  }
  KeepPlace();
  QMainWindow::closeEvent(event);
}

void TMainForm::WhenOnScreen(std::function<void()> work) {
  if (!showing_) {
    work();
    return;
  }
  on_screen_.push_back(std::move(work));
}

void TMainForm::setVisible(bool visible) {
  // The show event comes before the window is on the screen.
  showing_ = visible;
  QMainWindow::setVisible(visible);
  showing_ = false;
  for (std::function<void()>& work : std::exchange(on_screen_, {})) work();
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_once_ || event->spontaneous()) return;
  shown_once_ = true;
  emit FirstShown();
}

}  // namespace ui
