// The window's side of its words: FormPage shows on the form's control pool
// what the words of the page ask for.
#pragma once

#include <QObject>
#include <cstdint>

#include "engine.h"
#include "page_surface.h"

namespace ui {

class DeviceSide;
class TMainForm;

class FormPage : public QObject, public PageSurface {
 public:
  // A child of the form. SCLEAR leaves the device alone without `device`.
  FormPage(TMainForm& form, DeviceSide* device);

  ControlRegisters& registers() override;
  int32_t DesignX(int32_t v) const override;
  int32_t DesignY(int32_t v) const override;
  void Place(ControlKind kind) override;
  void ClearPage() override;
  void LockInput(bool locked) override;
  int32_t EventComboIndex() const override;
  std::string EventComboText() const override;
  bool EventBoxChecked() const override;
  std::string FolderText() const override;
  std::string MemoText() const override;
  void ShowLevelImage() override;
  void DrawLevel(int32_t left, int32_t top, int32_t level) override;
  void Message(const std::string& text) override;
  void Warn(const std::string& text) override;
  bool Ask(const std::string& text) override;
  std::optional<bool> AskOrCancel(const std::string& text) override;

 private:
  TMainForm& form_;
  DeviceSide* device_;
};

// The three groups of the window's words over the form.
void RegisterControlWords(engine::Engine& engine, TMainForm& form, DeviceSide* device = nullptr);

}  // namespace ui
