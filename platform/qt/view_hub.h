// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The views of a program redraw themselves from the window classes' state after every event.
// A view forwards a click as hub.Run([&] { window.Action(); }); the hub runs the action and
// then asks every view to redraw. Timer ticks end in RefreshAll as well (QtClock).
//
// Signals that widgets emit while a view is being drawn (setText, setChecked, ...) are echoes
// of the drawing, not the user's doing: Run ignores actions that arrive during a refresh, so a
// view may connect to changed-signals without feeding its own drawing back into the window.
// A RefreshAll asked for during a refresh is done once more after the current one.
#include <functional>
#include <vector>

namespace tavrin {

class View {
 public:
  virtual ~View() = default;
  // Draws every widget of the view from the window's state.
  virtual void Refresh() = 0;
};

class ViewHub {
 public:
  void Add(View* view);
  void Remove(View* view);
  void RefreshAll();
  // Runs a user action, then redraws every view.
  void Run(const std::function<void()>& action);
  [[nodiscard]] bool Refreshing() const { return refreshing_; }

 private:
  std::vector<View*> views_;
  bool refreshing_ = false;
  bool again_ = false;
};

}  // namespace tavrin
