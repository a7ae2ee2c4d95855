// ImageList: the six 16 x 16 tree pictures, drawn in code so that they stay
// sharp at any device pixel ratio. 0 a text page, 1 a board with small lamps,
// 2 a frame with a green and a red lamp, 3 a green module, 4 a gear wheel,
// 5 a chip.
#pragma once

#include <QIcon>

namespace ui {

inline constexpr int kNodeImageCount = 6;

// The picture with this number; a null icon for any other number.
QIcon NodeImage(int index);

}  // namespace ui
