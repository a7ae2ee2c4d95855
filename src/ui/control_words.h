// The words that place, read back and clear the page area's controls, and the
// two message windows.
#pragma once

#include <QRect>
#include <cstdint>

#include "engine.h"

namespace ui {

class TMainForm;

void RegisterControlWords(engine::Engine& engine, TMainForm& form);

// The groups RegisterControlWords is made of.
void RegisterPropertyWords(engine::Engine& engine, TMainForm& form);
void RegisterCreationWords(engine::Engine& engine, TMainForm& form);
void RegisterPageWords(engine::Engine& engine, TMainForm& form);

// A script's pixels as a widget rectangle: far-off positions and sizes are cut
// to what a widget can take, negative sizes to 0.
QRect PageRect(int32_t left, int32_t top, int32_t width, int32_t height);

}  // namespace ui
