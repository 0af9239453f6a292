// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/request_queue.h"

#include <utility>

#include "app/control_program.h"

namespace tavrin::share {

RequestQueue::RequestQueue(ControlProgram& program)
    : program_(program), poll_(program.platform.clock, kPollMs, [this] { PollTick(); }) {}

int RequestQueue::Submit(std::vector<std::string> exchanges, Done done) {
  const int ticket = nextTicket_++;
  waiting_.push_back({ticket, std::move(exchanges), std::move(done), 0, {}});
  SendNext();
  return ticket;
}

void RequestQueue::Withdraw(int ticket) {
  if (current_ && current_->ticket == ticket) current_->done = nullptr;
  std::erase_if(waiting_, [ticket](const Entry& entry) { return entry.ticket == ticket; });
  if (waiting_.empty() && !current_) poll_.SetEnabled(false);
}

void RequestQueue::SendNext() {
  if (exchanging_) return;
  if (!current_ && !waiting_.empty()) {
    // The head begins only when the link is free now, so that it is not left half done.
    if (!program_.link.Idle()) {
      poll_.SetEnabled(true);
      return;
    }
    current_ = std::move(waiting_.front());
    waiting_.pop_front();
  }
  if (!current_) {
    poll_.SetEnabled(false);
    return;
  }
  const std::string& frames = current_->exchanges[current_->replies.size()];
  const bool sent = program_.link.Exchange(
      frames, [this](const std::string& reply) { ExchangeFinished(reply); },
      /*endOnAnswers=*/true);
  exchanging_ = sent;
  poll_.SetEnabled(!sent || !waiting_.empty());
}

void RequestQueue::ExchangeFinished(const std::string& reply) {
  exchanging_ = false;
  current_->replies.push_back(reply);
  if (current_->replies.size() == current_->exchanges.size()) {
    Entry finished = std::move(*current_);
    current_.reset();
    if (finished.done) finished.done({true, std::move(finished.replies)});
  }
  SendNext();
}

void RequestQueue::PollTick() {
  // Only time the link spends on something else counts; a queue of requests moving one
  // exchange after another is not busy.
  if (exchanging_ || program_.link.Idle()) {
    SendNext();
    return;
  }
  if (current_) current_->waitedMs += kPollMs;
  for (Entry& entry : waiting_) entry.waitedMs += kPollMs;
  if (current_ && current_->waitedMs >= kBusyAfterMs) {
    Entry given = std::move(*current_);
    current_.reset();
    if (given.done) given.done({false, {}});
  }
  while (!waiting_.empty() && waiting_.front().waitedMs >= kBusyAfterMs) {
    Done done = std::move(waiting_.front().done);
    waiting_.pop_front();
    if (done) done({false, {}});
  }
  SendNext();
}

}  // namespace tavrin::share
