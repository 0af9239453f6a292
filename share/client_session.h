// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One network client of the control port: its bytes cut into request lines, the requests of
// each line served one after another through the request queue, the answers sent back. A client that
// misbehaves is answered with an error or closed, and nothing it sent reaches the transceiver
// unless it was a valid request:
// - a line longer than kLongestLine: "RPRT -1", then closed;
// - a line with bytes that are not text: "RPRT -1" for that line;
// - more than kMostWaitingLines lines waiting to be served: closed;
// - nothing said within kFirstWordMs of connecting, or silent for kSilenceMs later: closed.
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "share/request_queue.h"
#include "share/rigctl_answers.h"

namespace tavrin::share {

class ClientSession {
 public:
  struct Hooks {
    std::function<void(const std::string&)> send;  // text to the client
    std::function<void()> close;                   // the session has ended; close the socket
    // A request the transceiver answered, with the answer the client is given.
    std::function<void(const RigctlRequest&, const RigctlAnswer&)> served;
    // The answer to a request from what the transceiver already told, when there is one: the
    // request then sends nothing.
    std::function<std::optional<RigctlAnswer>(const RigctlRequest&)> known;
  };

  ClientSession(RequestQueue& queue, SharedRigState& state, Clock& clock, Hooks hooks);
  ~ClientSession();
  ClientSession(const ClientSession&) = delete;
  ClientSession& operator=(const ClientSession&) = delete;

  // Bytes from the client, as they came.
  void Receive(const std::string& bytes);
  // The client went away: what it still waits for is withdrawn.
  void Disconnected();
  [[nodiscard]] bool Ended() const { return ended_; }

  static constexpr std::size_t kLongestLine = 1024;
  static constexpr std::size_t kMostWaitingLines = 16;
  static constexpr int kFirstWordMs = 10'000;
  static constexpr int kSilenceMs = 600'000;

 private:
  void TakeLine(const std::string& line);
  // Serves the next request of the line being served, or of the first waiting line, unless a
  // request of this client is already on its way.
  void ServeNext();
  void Answer(const RigctlRequest& request, const RigctlAnswer& answer);
  void End();

  RequestQueue& queue_;
  SharedRigState& state_;
  Hooks hooks_;
  std::string partial_;  // a line still without its end
  std::deque<std::string> lines_;
  std::deque<RigctlRequest> requests_;  // of the line being served, not yet served
  bool serving_ = false;
  int ticket_ = 0;
  bool ended_ = false;
  Timer silence_;
};

}  // namespace tavrin::share
