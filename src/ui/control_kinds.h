// The window's own kinds of page control: how each creation word numbers its
// control and applies the pending properties to it.
#pragma once

#include "control_factory.h"

namespace ui {

extern const ControlFactory::Kind kLabelKind;
extern const ControlFactory::Kind kComboKind;
extern const ControlFactory::Kind kButtonKind;
extern const ControlFactory::Kind kCheckKind;
extern const ControlFactory::Kind kDbCheckKind;
extern const ControlFactory::Kind kBevelKind;
extern const ControlFactory::Kind kMemoKind;
extern const ControlFactory::Kind kDirKind;

}  // namespace ui
