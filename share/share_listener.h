// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The network side of the control port: listening on the loopback addresses, the client
// connections and their bytes. Qt Network provides it in the programs (share/qt), a test
// double in the tests.
#include <functional>
#include <string>

namespace tavrin::share {

class ShareListener {
 public:
  struct Events {
    std::function<void(int client)> connected;
    std::function<void(int client, const std::string& bytes)> received;
    std::function<void(int client)> disconnected;  // the client closed or the line broke
  };

  virtual ~ShareListener() = default;
  // Starts listening on 127.0.0.1 and ::1 at `port`; the empty text, or why it cannot.
  virtual std::string Listen(int port, Events events) = 0;
  // Stops listening and closes every connection (no disconnected events follow).
  virtual void Stop() = 0;
  virtual void Send(int client, const std::string& text) = 0;
  // Closes one connection once what was sent to it is on its way (no disconnected event).
  virtual void Close(int client) = 0;
};

}  // namespace tavrin::share
