// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Share" menu's check item "Network Control (port 4532)": while it is checked the program
// offers the transceiver to other programs on the loopback addresses, port 4532, in the text
// protocol of Hamlib's rigctld, to at most kMostClients clients at once. It is off at every
// start and nothing of it is stored. The radio window's title tells that the transceiver is
// shared and how many clients are connected.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "share/client_session.h"
#include "share/receiver_panels.h"
#include "share/told_state.h"
#include "share/request_queue.h"
#include "share/rigctl_answers.h"
#include "share/share_listener.h"

namespace tavrin {
class ControlProgram;
}

namespace tavrin::share {

class NetworkControl {
 public:
  NetworkControl(ControlProgram& program, ShareListener& listener);
  ~NetworkControl();
  NetworkControl(const NetworkControl&) = delete;
  NetworkControl& operator=(const NetworkControl&) = delete;

  static constexpr int kPort = 4532;
  static constexpr std::size_t kMostClients = 4;
  static constexpr const char* kMenuCaption = "Share";
  static constexpr const char* kItemCaption = "Network Control (port 4532)";

  // The check item chosen: starts or stops sharing. When the port cannot be opened a box says
  // why and the item stays unchecked.
  void ToggleNetworkControl();
  [[nodiscard]] bool Checked() const { return checked_; }
  [[nodiscard]] std::size_t ClientCount() const { return sessions_.size(); }
  // What the radio window's title adds while shared: " - shared on port 4532, 1 client".
  [[nodiscard]] std::string TitleNote() const;
  [[nodiscard]] const RequestQueue& Queue() const { return queue_; }

 private:
  void StartSharing();
  void StopSharing();
  void ClientConnected(int client);
  void ClientSent(int client, const std::string& bytes);
  void ClientLeft(int client);
  // The radio window's marks follow what a client set, as if the operator had pressed the
  // option: the mode and filter (and the mode field), receive or transmit. Nothing is sent
  // for them. When a client
  // selected the other receiver the panel shows what it showed of that one.
  void ShowServed(const RigctlRequest& request, const RigctlAnswer& answer);
  // "f" and "m" answered from what the transceiver told, while its broadcasts are followed
  // (auto status on), the link is healthy and free, and what it told is fresh and beyond doubt.
  std::optional<RigctlAnswer> KnownAnswer(const RigctlRequest& request) const;
  // Removes the sessions that have ended (run from a timer, never inside a session's call).
  void SweepTick();

  ControlProgram& program_;
  ShareListener& listener_;
  RequestQueue queue_;
  SharedRigState state_;
  ReceiverPanels panels_;
  ToldState told_;
  std::string shownReceiver_ = "Main";  // the receiver whose values the panel shows
  std::map<int, std::unique_ptr<ClientSession>> sessions_;
  bool checked_ = false;
  Timer sweep_;
};

}  // namespace tavrin::share
