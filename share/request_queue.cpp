// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/request_queue.h"

#include <utility>

#include "app/control_program.h"

namespace tavrin::share {

RequestQueue::RequestQueue(ControlProgram& program)
    : program_(program), poll_(program.platform.clock, kPollMs, [this] { PollTick(); }) {}

int RequestQueue::Submit(std::string frames, Done done) {
  const int ticket = nextTicket_++;
  waiting_.push_back({ticket, std::move(frames), std::move(done), 0});
  SendNext();
  return ticket;
}

void RequestQueue::Withdraw(int ticket) {
  if (exchanging_ && ticket == currentTicket_) current_ = nullptr;
  std::erase_if(waiting_, [ticket](const Entry& entry) { return entry.ticket == ticket; });
  if (waiting_.empty()) poll_.SetEnabled(false);
}

void RequestQueue::SendNext() {
  if (exchanging_ || waiting_.empty()) {
    poll_.SetEnabled(!waiting_.empty());
    return;
  }
  Entry& head = waiting_.front();
  const bool sent = program_.link.Exchange(
      head.frames, [this](const std::string& reply) { ExchangeFinished(reply); },
      /*endOnAnswers=*/true);
  if (!sent) {
    poll_.SetEnabled(true);
    return;
  }
  exchanging_ = true;
  currentTicket_ = head.ticket;
  current_ = std::move(head.done);
  waiting_.pop_front();
  poll_.SetEnabled(!waiting_.empty());
}

void RequestQueue::ExchangeFinished(const std::string& reply) {
  exchanging_ = false;
  currentTicket_ = 0;
  if (Done done = std::exchange(current_, nullptr)) done({true, reply});
  SendNext();
}

void RequestQueue::PollTick() {
  // Only time the link spends on something else counts; a queue of requests moving one
  // exchange after another is not busy.
  if (exchanging_ || program_.link.Idle()) {
    SendNext();
    return;
  }
  for (Entry& entry : waiting_) entry.waitedMs += kPollMs;
  while (!waiting_.empty() && waiting_.front().waitedMs >= kBusyAfterMs) {
    Done done = std::move(waiting_.front().done);
    waiting_.pop_front();
    if (done) done({false, {}});
  }
  SendNext();
}

}  // namespace tavrin::share
