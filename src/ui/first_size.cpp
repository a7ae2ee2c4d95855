#include "first_size.h"

#include <algorithm>

namespace ui {

FirstSize ChooseFirstSize(QSize screen, QSize available, QSize designed_client, QSize frame) {
  const QSize four_sixths(screen.width() * 4 / 6, screen.height() * 4 / 6);
  const QSize outer(std::max(four_sixths.width(), designed_client.width() + frame.width()),
                    std::max(four_sixths.height(), designed_client.height() + frame.height()));
  if (outer.width() > available.width() || outer.height() > available.height()) {
    return {available - frame, true};
  }
  return {outer - frame, false};
}

}  // namespace ui
