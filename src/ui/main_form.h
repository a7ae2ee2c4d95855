// TMainForm: the configurator's one window. It lays out the areas, owns the
// control pool and the registers of the control words, shows the status bar
// and the monitor memos, and is the engine's host.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "control_factory.h"
#include "control_pool.h"
#include "page_model.h"
#include "dialogs.h"
#include "engine.h"
#include "link_texts.h"
#include "no_device_panel.h"

class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QTreeWidget;

namespace ui {

class PageScrollArea;
class QueuedMemo;

inline constexpr char kDesignedTitle[] = "Tavel Программтор ZELT-2 GSM";
inline constexpr char kVersion[] = "V1.0.0.1";

class TMainForm : public QMainWindow, public engine::Host {
  Q_OBJECT

 public:
  static constexpr int kDesignedWidth = 779;
  static constexpr int kDesignedHeight = 652;
  static constexpr int kMemoLineCap = 200;

  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Areas and the controls around the page area.
  QFrame* PanelToolBar() const { return panel_tool_bar_; }
  QFrame* PanelTree() const { return panel_tree_; }
  QFrame* PanelSet() const { return panel_set_; }
  QFrame* PanelTit() const { return panel_tit_; }
  QFrame* PanelMonitor() const { return panel_monitor_; }
  QTreeWidget* TreeView() const { return tree_view_; }
  QPlainTextEdit* MemoDebug() const { return memo_debug_; }
  QPlainTextEdit* MemoEV() const { return memo_ev_; }
  QPlainTextEdit* MemoTerminal() const { return memo_terminal_; }
  QPlainTextEdit* MemoTerminalOut() const { return memo_terminal_out_; }
  QLabel* Label41() const { return label41_; }
  QComboBox* ComboBoxCom() const { return combo_box_com_; }
  QLabel* LabelStatCon() const { return label_stat_con_; }
  QPushButton* Button16() const { return button16_; }
  QPushButton* Button17() const { return button17_; }
  QLabel* LabelStat() const { return label_stat_; }
  QLabel* LabelR() const { return label_r_; }
  QLabel* LabelFiltr() const { return label_filtr_; }
  QLabel* LabelT() const { return label_t_; }
  QStatusBar* StatusBar() const { return status_bar_; }
  QString StatusText() const;
  // Counts the status texts shown: tells whether another came since one's own.
  uint32_t StatusSerial() const { return status_serial_; }
  // PanelSet's scroll area, the panel shown instead of it while no link is
  // open, and the divider between them and the monitor.
  PageScrollArea* PageScroll() const { return page_scroll_; }
  NoDevicePanel* NoDevice() const { return no_device_; }
  QSplitter* MonitorDivider() const { return splitter_; }
  // The monitor's filter caption, and emptying the two traffic memos.
  void ShowFilterCaption(const QString& caption);
  void ClearTraffic();
  // The no-device panel's button that starts the simulated device.
  void SetDemoAction(std::function<void()> start_demo) { no_device_->SetDemoAction(std::move(start_demo)); }
  // LabelStatCon, drawn from the link state.
  void ShowLinkState(zlink::LinkState state);
  // ComboBoxCom lists these ports with `current` chosen (-1: none); only the
  // operator's own choice says PortChosen.
  void ShowPorts(const QStringList& ports, int current);
  // A line of the link memo (MemoDebug).
  void AddLinkLine(const QString& line);
  // Shows the no-device panel with this report in place of the pages, or the
  // pages again.
  void ShowNoDevice(bool show, const NoDeviceReport& report = {});
  bool NoDeviceShown() const;

  ControlPool& pool() { return *pool_; }
  ControlFactory& controls() { return *controls_; }
  PageModel& page_model() { return page_model_; }
  ControlRegisters& registers() { return page_model_.registers(); }

  // Design units: v * W / 10 and v * H / 10 with W, H the size of BevelTestSize.
  int32_t ToDesignX(int32_t v) const;
  int32_t ToDesignY(int32_t v) const;
  void DrawLevelBar(int x, int y, int level);

  void SetWaitIndicators(bool on);
  bool WaitIndicatorsOn() const { return wait_indicators_on_; }
  void SetDebugMemoVisible(bool visible);
  // The first size: four sixths of the screen, but at least the designed
  // client area when the available area holds it, else maximised.
  void ResizeToScreen();
  // The settings file that keeps the window's place between runs: the first
  // size gives way to the place kept there, and closing keeps it. Empty, the
  // default: nothing is kept.
  void SetPlaceFile(const QString& file) { place_file_ = file; }

  // The modal windows; nullptr puts the Qt dialogs back.
  Dialogs& dialogs() { return *dialogs_; }
  void SetDialogs(Dialogs* dialogs);

  // Asked before the window closes; false keeps it open (CLOSEQUERY).
  void SetCloseQuery(std::function<bool()> allows_close) { close_query_ = std::move(allows_close); }
  // The program's own questions before the window closes, asked in order
  // ahead of the close query; the first that answers false keeps it open.
  void AddCloseCheck(std::function<bool()> check) { close_checks_.push_back(std::move(check)); }
  // Runs `work` now or, when called during a show (from FirstShown), at the
  // end of the show, once the window is on the screen.
  void WhenOnScreen(std::function<void()> work);

  // engine::Host
  void ShowStatus(const std::string& text) override;
  void AddMemoLine(engine::Memo memo, const std::string& line) override;
  void ShowCursor(engine::Cursor cursor) override;
  void SetSettingsPanel(bool on) override;

 signals:
  // Once, when the window is shown for the first time: the start-up runs here.
  void FirstShown();
  // The tool-bar buttons "Чтение из устройства" (Button16) and "Запись в
  // устройство" (Button17).
  void ReadRequested();
  void WriteRequested();
  // The operator picked this port in ComboBoxCom.
  void PortChosen(const QString& port);

 protected:
  void setVisible(bool visible) override;
  void showEvent(QShowEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildAreas();
  void BuildStatusBar();
  void BuildToolBar();
  void BuildTree();
  void BuildTitleRow();
  void BuildMonitor();
  void CapLines(QPlainTextEdit* memo);
  void SetUpKeyboard();
  // Tab's round: tree, the page's controls, the tool bar.
  QList<QWidget*> TabOrder() const;
  void SetUpMemoMenus();
  bool RestorePlace();
  void KeepPlace();
  void SetStatusText(const QString& text);

  QFrame* panel_tool_bar_ = nullptr;
  QFrame* panel_tree_ = nullptr;
  QFrame* panel_set_ = nullptr;
  QFrame* panel_tit_ = nullptr;
  QFrame* panel_monitor_ = nullptr;
  QTreeWidget* tree_view_ = nullptr;
  QPlainTextEdit* memo_debug_ = nullptr;
  QPlainTextEdit* memo_ev_ = nullptr;
  QPlainTextEdit* memo_terminal_ = nullptr;
  QPlainTextEdit* memo_terminal_out_ = nullptr;
  QLabel* label41_ = nullptr;
  QComboBox* combo_box_com_ = nullptr;
  QLabel* label_stat_con_ = nullptr;
  QPushButton* button16_ = nullptr;
  QPushButton* button17_ = nullptr;
  QLabel* label_stat_ = nullptr;
  QLabel* label_r_ = nullptr;
  QLabel* label_filtr_ = nullptr;
  QLabel* label_t_ = nullptr;
  QStatusBar* status_bar_ = nullptr;
  QLabel* status_text_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QStackedWidget* page_stack_ = nullptr;
  PageScrollArea* page_scroll_ = nullptr;
  NoDevicePanel* no_device_ = nullptr;

  PageModel page_model_;
  std::unique_ptr<ControlFactory> controls_;
  std::unique_ptr<ControlPool> pool_;
  std::unique_ptr<QtDialogs> qt_dialogs_;
  Dialogs* dialogs_ = nullptr;
  QueuedMemo* link_memo_ = nullptr;
  bool showing_ports_ = false;  // ComboBoxCom changes made by ShowPorts are not the operator's
  std::vector<std::function<bool()>> close_checks_;
  std::function<bool()> close_query_;
  bool wait_indicators_on_ = false;
  bool hourglass_ = false;
  bool shown_once_ = false;
  QString place_file_;
  bool showing_ = false;
  uint32_t status_serial_ = 0;
  std::vector<std::function<void()>> on_screen_;
};

}  // namespace ui
