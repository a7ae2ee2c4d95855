#include "event_system.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "combo_box.h"
#include "control_pool.h"
#include "cp1251.h"
#include "directory_edit.h"
#include "engine.h"
#include "guarded.h"
#include "level_image.h"
#include "link_registry.h"
#include "main_form.h"
#include "startup.h"

namespace ui {

namespace {

constexpr int kRoutedCheckBoxes = 32;

// The window's side of the start-up sequence.
class FormStartUp : public StartUpWindow {
 public:
  FormStartUp(TMainForm& form, DeviceReach& device) : form_(form), device_(device) {}

  void SetMemoDebugVisible(bool visible) override { form_.SetDebugMemoVisible(visible); }
  bool StartFirstLink() override { return device_.StartFirstLink(); }
  void ResizeToScreen() override { form_.ResizeToScreen(); }
  void HideSingleControls() override { form_.pool().HideAll(); }
  void PaintImage1() override { form_.pool().Image1()->FillSurface(); }
  void WhenOnScreen(std::function<void()> work) override {
    form_.WhenOnScreen([work = std::move(work)] { Guarded(work); });
  }

 private:
  TMainForm& form_;
  DeviceReach& device_;
};

}  // namespace

EventSystem::EventSystem(TMainForm& form, QTreeWidget& tree_view, QStatusBar& status_bar,
                         engine::Engine& engine, DeviceWait& wait,
                         const zlink::LinkRegistry& links, DeviceReach& device)
    : QObject(&form),
      form_(form),
      engine_(engine),
      wait_(wait),
      device_(device),
      router_(engine, wait, form.page_model()),
      timer1_(engine),
      tree_(engine, router_, wait, &tree_view, form.registers()),
      long_lines_(form, status_bar, engine),
      progress_(status_bar, wait, links, engine) {
  connect(&wait, &DeviceWait::IndicatorsChanged, &form, &TMainForm::SetWaitIndicators);
  WirePool();
  // The tool-bar buttons look neither at the device wait nor at the busy flag.
  connect(&form, &TMainForm::ReadRequested, this, [this] { ToolBarButton(" `MAIN` RUN "); });
  connect(&form, &TMainForm::WriteRequested, this, [this] { ToolBarButton(" `MAINS` RUN "); });
}

void EventSystem::ToolBarButton(const char* line) {
  Guarded([&] {
    // Nothing is queued into a link that goes nowhere, and a second transfer
    // does not start while one runs.
    std::string refusal = device_.ToolBarRefusal();
    if (refusal.empty() && progress_.Running()) {
      refusal = engine::Cp1251("Идёт обмен с устройством: дождитесь его окончания.");
    }
    if (!refusal.empty()) {
      form_.ShowStatus(refusal);
      return;
    }
    engine_.ExecuteLine(line);
  });
}

void EventSystem::LinkOpened() {
  if (!started_up_ || pages_built_) return;
  pages_built_ = true;
  Guarded([this] { engine_.ExecuteLine("START RUN"); });
}

void EventSystem::PortsGone() {
  timer1_.Stop();
  wait_.LinkLost();
  engine_.ExecuteLine("SCLEAR");
  engine_.ExecuteLine("CLEARTREE");
  pages_built_ = false;
}

EventSystem::~EventSystem() = default;

void EventSystem::Routed(QObject* control, RouteRule rule) {
  Guarded([&] { router_.Route(Tag(control), rule); });
}

void EventSystem::WirePool() {
  ControlPool& pool = form_.pool();
  for (int i = 1; i <= kRoutedCheckBoxes; ++i) {
    QCheckBox* box = pool.CheckBox(i);
    // toggled: a tick changed by a word counts too, unless a line is running.
    connect(box, &QCheckBox::toggled, this, [this, box] { Routed(box, kCheckBoxRoute); });
  }
  for (int i = 1; i <= ControlPool::kCombos; ++i) {
    StyledComboBox* combo = pool.ComboBox(i);
    connect(combo, &StyledComboBox::Changed, this, [this, combo] { Routed(combo, kComboBoxRoute); });
  }
  for (int i = 1; i <= ControlPool::kButtons; ++i) {
    QPushButton* button = pool.Button(i);
    connect(button, &QPushButton::clicked, this, [this, button] { Routed(button, kButtonRoute); });
  }
  DirectoryEdit* dir = pool.DirectoryEdit1();
  connect(dir, &DirectoryEdit::Changed, this, [this, dir] { Routed(dir, kDirectoryRoute); });
  QPlainTextEdit* memo = pool.Memo1();
  connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] {
    // While a line runs the change is MEMO's or SCLEAR's own writing; only the
    // operator's edits run the script.
    if (engine_.LineRunning()) return;
    Routed(memo, kMemoRoute);
  });
}

bool EventSystem::StartUp(bool show_link_memo) {
  FormStartUp window(form_, device_);
  bool started = false;
  Guarded([&] { started = RunStartUp(engine_, window, show_link_memo, timer1_); });
  started_up_ = true;
  pages_built_ = started;
  return started;
}

void RegisterEventWords(engine::Engine& engine, EventSystem& events) {
  engine::AddWords(engine, device::kWaitWords, events.wait());
  engine::AddWords(engine, kTimerWords, events.timer1());
  engine::AddWords(engine, kTreeWords, events.tree());
  engine::AddWords(engine, kProgressWords, events.progress());
}

}  // namespace ui
