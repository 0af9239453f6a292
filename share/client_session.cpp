// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/client_session.h"

#include <utility>

namespace tavrin::share {

ClientSession::ClientSession(RequestQueue& queue, SharedRigState& state, Clock& clock, Hooks hooks)
    : queue_(queue),
      state_(state),
      hooks_(std::move(hooks)),
      silence_(clock, kFirstWordMs, [this] { End(); }) {
  silence_.SetEnabled(true);
}

ClientSession::~ClientSession() {
  if (serving_) queue_.Withdraw(ticket_);
}

void ClientSession::Receive(const std::string& bytes) {
  if (ended_) return;
  partial_ += bytes;
  std::size_t start = 0;
  std::size_t end = 0;
  while (!ended_ && (end = partial_.find('\n', start)) != std::string::npos) {
    TakeLine(partial_.substr(start, end - start));
    start = end + 1;
  }
  partial_.erase(0, start);
  if (!ended_ && partial_.size() > kLongestLine) {
    hooks_.send(ErrorLine(kRigInvalid));
    End();
  }
  if (!ended_) ServeNext();
}

void ClientSession::TakeLine(const std::string& line) {
  silence_.SetEnabled(false);
  silence_.SetInterval(kSilenceMs);
  silence_.SetEnabled(true);
  if (line.size() > kLongestLine) {
    hooks_.send(ErrorLine(kRigInvalid));
    End();
    return;
  }
  if (lines_.size() >= kMostWaitingLines) {
    End();
    return;
  }
  lines_.push_back(line);
}

void ClientSession::ServeNext() {
  while (!serving_ && !ended_) {
    if (requests_.empty()) {
      if (lines_.empty()) return;
      const std::string line = std::move(lines_.front());
      lines_.pop_front();
      if (!IsRequestText(line)) {
        hooks_.send(ErrorLine(kRigInvalid));
        continue;
      }
      for (RigctlRequest& request : ParseRequestLine(line)) requests_.push_back(std::move(request));
      continue;  // a blank line asks nothing
    }
    RigctlRequest request = std::move(requests_.front());
    requests_.pop_front();
    if (const auto known = hooks_.known ? hooks_.known(request) : std::nullopt) {
      Answer(request, *known);
      continue;
    }
    std::vector<std::string> exchanges = ExchangesFor(request, state_);
    if (exchanges.empty()) {
      Answer(request, LocalAnswer(request, state_));
      if (request.command == RigctlCommand::Quit && request.error == kRigOk) End();
      continue;
    }
    serving_ = true;
    ticket_ = queue_.Submit(std::move(exchanges),
                            [this, request](const RequestQueue::Outcome& outcome) {
                              serving_ = false;
                              const RigctlAnswer answer =
                                  outcome.served
                                      ? AnswerFromReplies(request, outcome.replies, state_)
                                      : RigctlAnswer{kRigBusy, {}};
                              if (outcome.served && hooks_.served) hooks_.served(request, answer);
                              Answer(request, answer);
                              ServeNext();
                            });
  }
}

void ClientSession::Answer(const RigctlRequest& request, const RigctlAnswer& answer) {
  if (!ended_) hooks_.send(FormatAnswer(request, answer));
}

void ClientSession::Disconnected() {
  if (serving_) queue_.Withdraw(ticket_);
  serving_ = false;
  lines_.clear();
  requests_.clear();
  ended_ = true;
  silence_.SetEnabled(false);
}

void ClientSession::End() {
  if (ended_) return;
  Disconnected();
  hooks_.close();
}

}  // namespace tavrin::share
