// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Network requests on their way to the transceiver: first come, first served, one exchange at
// a time through the CI-V link, each answered from the reply its reply timer collects: as soon
// as every frame has its answer, at the latest after the 50 ms. A request of several exchanges
// (the split values, read on the other receiver and put back) has them sent one after another
// with nothing in between, and once begun it is carried to its end even when its asker left.
// While the link is not free (an answer to the operator's own click is awaited, the start-up
// synchronisation or a memory-window sequence runs) the requests wait, and one that has
// waited kBusyAfterMs for the link is given up as busy without anything being sent for it.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace tavrin {
class ControlProgram;
}

namespace tavrin::share {

class RequestQueue {
 public:
  // served false: the link stayed busy and nothing was sent; otherwise the reply buffer of
  // each exchange.
  struct Outcome {
    bool served = false;
    std::vector<std::string> replies;
  };
  using Done = std::function<void(const Outcome&)>;

  explicit RequestQueue(ControlProgram& program);
  RequestQueue(const RequestQueue&) = delete;
  RequestQueue& operator=(const RequestQueue&) = delete;

  // Queues the exchanges of one request; `done` is called once, with the outcome. Returns a
  // ticket for Withdraw.
  int Submit(std::vector<std::string> exchanges, Done done);
  // The asker went away: a waiting request is dropped unsent; one on the line finishes, and
  // its replies are heard by nobody.
  void Withdraw(int ticket);

  [[nodiscard]] std::size_t Waiting() const { return waiting_.size(); }
  [[nodiscard]] bool Exchanging() const { return exchanging_; }

  static constexpr int kBusyAfterMs = 2000;
  static constexpr int kPollMs = 5;  // how often waiting requests look for a free link

 private:
  struct Entry {
    int ticket = 0;
    std::vector<std::string> exchanges;
    Done done;
    int waitedMs = 0;
    std::vector<std::string> replies;  // of the exchanges done so far
  };
  // Sends the next exchange of the request begun, or begins the head of the queue, when the
  // link is free.
  void SendNext();
  void ExchangeFinished(const std::string& reply);
  // Poll tick: the head is sent if the link has become free; while it is still taken, the
  // waiting requests have waited kPollMs longer and those past the bound are answered busy.
  void PollTick();

  ControlProgram& program_;
  std::deque<Entry> waiting_;
  std::optional<Entry> current_;  // the request begun, until its last exchange is done
  bool exchanging_ = false;       // one of its exchanges is on the line
  int nextTicket_ = 1;
  Timer poll_;
};

}  // namespace tavrin::share
