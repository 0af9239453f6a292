// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/view_hub.h"

#include <algorithm>

namespace tavrin {

void ViewHub::Add(View* view) {
  if (view != nullptr && std::find(views_.begin(), views_.end(), view) == views_.end()) {
    views_.push_back(view);
  }
}

void ViewHub::Remove(View* view) { std::erase(views_, view); }

void ViewHub::RefreshAll() {
  if (refreshing_) {
    again_ = true;
    return;
  }
  refreshing_ = true;
  // Bounded: a view that keeps asking for another round cannot hang the program.
  for (int round = 0; round < 3; ++round) {
    again_ = false;
    // A view may remove itself or another view while it draws (a window closing); walk a copy
    // and skip the ones that have gone.
    const std::vector<View*> snapshot = views_;
    for (View* view : snapshot) {
      if (std::find(views_.begin(), views_.end(), view) != views_.end()) view->Refresh();
    }
    if (!again_) break;
  }
  again_ = false;
  refreshing_ = false;
}

void ViewHub::Run(const std::function<void()>& action) {
  if (refreshing_) return;
  if (action) action();
  RefreshAll();
}

}  // namespace tavrin
