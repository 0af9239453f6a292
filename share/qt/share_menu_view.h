// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Share" menu on the radio window of tavrin and korvid: its check item "Network Control
// (port 4532)" drawn from NetworkControl and forwarded to it, and the window title that tells
// while the transceiver is shared and how many clients are connected.
#include <QObject>
#include <QString>
#include <vector>

#include "app/program_view.h"
#include "platform/qt/view_hub.h"
#include "share/network_control.h"
#include "share/qt/tcp_share_listener.h"

class QAction;
class QMenuBar;

namespace tavrin::share {

class ShareMenuView : public QObject, public View {
 public:
  // Adds the menu to `window` (the radio window's view) and owns the control port.
  ShareMenuView(QWidget& window, ControlProgram& program, ViewHub& hub);
  ~ShareMenuView() override;
  ShareMenuView(const ShareMenuView&) = delete;
  ShareMenuView& operator=(const ShareMenuView&) = delete;

  void Refresh() override;
  [[nodiscard]] NetworkControl& Control() { return control_; }

 private:
  // The window's menu bar; korvid's panel has none and gets one.
  static QMenuBar* MenuBarOf(QWidget& window);

  QWidget& window_;
  ViewHub& hub_;
  TcpShareListener listener_;
  NetworkControl control_;
  QAction* item_ = nullptr;
  QString title_;
};

// A build's window set with the "Share" menu on its radio window.
std::vector<ViewMaker> WithNetworkControl(std::vector<ViewMaker> views);

}  // namespace tavrin::share
