// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The network side of the control port for tests: clients are numbers, what they are sent is
// kept per client, and closing is recorded.
#include <map>
#include <set>
#include <string>

#include "share/share_listener.h"

namespace tavrin::share::testing {

class FakeListener : public ShareListener {
 public:
  std::string Listen(int port, Events events) override {
    if (!refuseWith.empty()) return refuseWith;
    listening = true;
    listenedPort = port;
    events_ = std::move(events);
    return {};
  }
  void Stop() override { listening = false; }
  void Send(int client, const std::string& text) override { sent[client] += text; }
  void Close(int client) override { closed.insert(client); }

  // A client connects, sends, goes away.
  void Connect(int client) { events_.connected(client); }
  void Say(int client, const std::string& bytes) { events_.received(client, bytes); }
  void Leave(int client) { events_.disconnected(client); }
  // What a client has been sent since the last call, and forget it.
  std::string Heard(int client) { return std::exchange(sent[client], {}); }

  std::string refuseWith;
  bool listening = false;
  int listenedPort = 0;
  std::map<int, std::string> sent;
  std::set<int> closed;

 private:
  Events events_;
};

}  // namespace tavrin::share::testing
