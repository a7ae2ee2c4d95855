// OPENDLG and WRITEDLG reach the window's dialogs through this adapter.
#pragma once

#include "file_dialogs.h"

namespace ui {

class TMainForm;

class WindowFileDialogs : public files::FileDialogs {
 public:
  explicit WindowFileDialogs(TMainForm& form) : form_(form) {}

  std::optional<std::string> Open(const std::string& initial_name,
                                  const std::string& filter) override;
  std::optional<std::string> Save(const std::string& initial_name,
                                  const std::string& filter) override;

 private:
  TMainForm& form_;
};

}  // namespace ui
