// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/civ_link.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "civ/command_bytes.h"
#include "civ/frame.h"
#include "platform/serial_settings.h"

namespace tavrin {

namespace {

// What the reply window carries at any speed: the bytes of 50 ms at 19200 baud.
constexpr int kReplyWindowBytes = 96;
constexpr char kEndChar = static_cast<char>(civ::kEnd);
// The longest frame a transceiver broadcasts is far shorter than this.
constexpr std::size_t kLongestHeldPiece = 64;

// Whether `bytes` begin as a broadcast: FE, something, 00.
bool BeginsAsBroadcast(const std::string& bytes) {
  return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == civ::kPreamble &&
         bytes[2] == static_cast<char>(civ::kBroadcastAddress);
}

}  // namespace

CivLink::CivLink(Clock& clock, SerialControl& port, LinkState& state, LinkOwner& owner,
                 LinkSettings settings)
    : Timer2(clock, kShortestReplyWindowMs, [this] { ReplyTimerTick(); }),
      Timer1(clock, 2, [this] { Timer1Tick(); }),
      port_(port),
      state_(state),
      owner_(owner),
      settings_(settings) {}

void CivLink::Stop() {
  stopped_ = true;
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
}

void CivLink::SendCommand(const std::string& frame) {
  if (state_.PortOpened != 1 || stopped_) return;
  // PortOpened stays 1 after a failed re-open: a port that is not open drops the frame too.
  if (!port_.PortOpen()) return;
  if (!Timer2.Enabled()) {
    TakeWaitingBytes();
    awaitedEcho_ = frame.substr(
        0, frame.find(kEndChar) == std::string::npos ? frame.size() : frame.find(kEndChar) + 1);
    awaitedAnswers_ = 0;
    endOnAnswers_ = false;
    replyComplete_ = nullptr;
    Timer2.SetInterval(ReplyWindowMs());
  }
  awaitedAnswers_ += static_cast<int>(std::count(frame.begin(), frame.end(), kEndChar));
  const std::size_t lastEnd = frame.rfind(kEndChar);
  const std::size_t lastStart = lastEnd == std::string::npos || lastEnd == 0
                                    ? std::string::npos
                                    : frame.rfind(kEndChar, lastEnd - 1);
  lastFrameSent_ = lastStart == std::string::npos ? frame : frame.substr(lastStart + 1);
  port_.Output(frame);
  // The write may have found the device gone.
  if (!port_.PortOpen()) return;
  Timer2.SetEnabled(true);
}

void CivLink::TakeWaitingBytes() {
  const std::string waiting = port_.Input();
  Timer1.SetEnabled(false);
  heldArrivals_ = 0;
  if (waiting.empty() || !settings_.followsBroadcasts) return;
  HandleUnsolicited(waiting, false);
}

std::string CivLink::SplitOffLeadingBytes(const std::string& reply) {
  const std::string echo = std::exchange(awaitedEcho_, {});
  const std::size_t at = echo.empty() ? std::string::npos : reply.find(echo);
  if (at != std::string::npos && at > 0) {
    if (settings_.followsBroadcasts) HandleUnsolicited(reply.substr(0, at), true);
    heldPiece_.clear();
    return reply.substr(at);
  }
  heldPiece_.clear();
  return reply;
}

bool CivLink::CouldStartBroadcast(const std::string& piece) {
  if (piece.empty() || static_cast<unsigned char>(piece[0]) != civ::kPreamble) return false;
  if (piece.size() >= 3) return piece[2] == static_cast<char>(civ::kBroadcastAddress);
  return piece.size() == 1 || static_cast<unsigned char>(piece[1]) == civ::kPreamble;
}

std::string CivLink::HoldBroadcastHead(const std::string& reply) {
  if (!settings_.followsBroadcasts) return reply;
  const std::size_t lastEnd = reply.rfind(kEndChar);
  const std::size_t headAt = lastEnd == std::string::npos ? 0 : lastEnd + 1;
  // Only behind an answer: a reply that is nothing but the head of a frame is no reply.
  if (headAt == 0 || reply.size() - headAt > kLongestHeldPiece) return reply;
  const std::string head = reply.substr(headAt);
  if (!CouldStartBroadcast(head)) return reply;
  heldPiece_ = head;
  return reply.substr(0, headAt);
}

void CivLink::SendCivCommand(const std::string& commandBytes) {
  SendCommand(civ::ControllerFrame(commandBytes));
}

bool CivLink::Idle() const {
  return !stopped_ && state_.PortOpened == 1 && port_.PortOpen() && !Timer2.Enabled() &&
         owner_.MaySend();
}

bool CivLink::Exchange(const std::string& frames, std::function<void(const std::string&)> done,
                       bool endOnAnswers) {
  if (!Idle()) return false;
  SendCommand(frames);
  if (!Timer2.Enabled()) return false;
  exchangeDone_ = std::move(done);
  endOnAnswers_ = endOnAnswers;
  return true;
}

void CivLink::EndReplyWhen(std::function<bool(const std::string&)> complete, int windowMs) {
  if (!Timer2.Enabled()) return;
  replyComplete_ = std::move(complete);
  if (windowMs > Timer2.Interval()) Timer2.SetInterval(windowMs);
}

bool CivLink::AnswersComplete(const std::string& bytes) const {
  const std::string& head = civ::AnswerHead();
  // The command byte of the last frame sent, which a data answer to it repeats.
  const std::size_t commandAt = head.size();
  const std::size_t lastEcho = bytes.rfind(lastFrameSent_);
  int answers = 0;
  for (std::size_t at = bytes.find(head); at != std::string::npos;
       at = bytes.find(head, at + head.size())) {
    if (bytes.find(kEndChar, at) == std::string::npos) break;
    ++answers;
    // The transceiver may answer only the last frame of a burst: its data answer ends it.
    if (lastEcho != std::string::npos && at > lastEcho && lastFrameSent_.size() > commandAt &&
        bytes.size() > at + commandAt && bytes[at + commandAt] == lastFrameSent_[commandAt])
      return true;
  }
  return answers >= awaitedAnswers_;
}

void CivLink::CollectAnswers() {
  collected_ += port_.Input();
  if (replyComplete_) {
    // From the echo on: bytes in front of it are the tail of a broadcast.
    const std::size_t echo = awaitedEcho_.empty() ? 0 : collected_.find(awaitedEcho_);
    if (echo != std::string::npos && replyComplete_(collected_.substr(echo))) ReplyTimerTick();
    return;
  }
  if (AnswersComplete(collected_)) ReplyTimerTick();
}

void CivLink::ReplyTimerTick() {
  Timer2.SetEnabled(false);
  endOnAnswers_ = false;
  replyComplete_ = nullptr;
  const std::string collected = std::exchange(collected_, {});
  const std::string reply =
      stopped_ ? std::string() : HoldBroadcastHead(SplitOffLeadingBytes(collected + port_.Input()));
  lastReply_ = reply;
  if (!stopped_) owner_.Answered(reply);
  if (exchangeDone_) std::exchange(exchangeDone_, nullptr)(reply);
}

int CivLink::QuietMs() const {
  const auto settings = ParseSerialSettings(port_.Settings());
  const double bitsPerSecond = settings ? settings->baud : 300.0;
  const int bitsPerByte = settings ? settings->BitsPerByte() : 10;
  return std::clamp(static_cast<int>(std::ceil(3 * bitsPerByte * 1000.0 / bitsPerSecond)), 2, 100);
}

int CivLink::ReplyWindowMs() const {
  const auto settings = ParseSerialSettings(port_.Settings());
  if (!settings) return kShortestReplyWindowMs;
  const double ms = kReplyWindowBytes * settings->BitsPerByte() * 1000.0 / settings->baud;
  return std::max(kShortestReplyWindowMs, static_cast<int>(std::ceil(ms)));
}

void CivLink::TransceiveTick() {
  if (stopped_) return;
  // While an answer is awaited the reply timer takes whatever arrives; a reply that ends early
  // looks whether what it waits for is in.
  if (Timer2.Enabled()) {
    if (endOnAnswers_ || replyComplete_) CollectAnswers();
    return;
  }
  // A program that does not follow the transceiver leaves its input to the next reply.
  if (!settings_.followsBroadcasts) return;
  if (Timer1.Enabled()) {
    if (++heldArrivals_ >= kMaxHeldArrivals) return;  // a steady stream: read it soon anyway
    Timer1.SetEnabled(false);
  }
  Timer1.SetInterval(QuietMs());
  Timer1.SetEnabled(true);
}

void CivLink::Timer1Tick() {
  Timer1.SetEnabled(false);
  // A read forced by a steady stream lands in the middle of it: more is still coming.
  const bool lineQuiet = heldArrivals_ < kMaxHeldArrivals;
  heldArrivals_ = 0;
  // While an answer is awaited everything that arrives belongs to the reply timer.
  if (Timer2.Enabled() || stopped_) return;
  if (!port_.PortOpen()) return;
  const std::string data = port_.Input();
  if (!data.empty()) HandleUnsolicited(data, lineQuiet);
}

void CivLink::HandleUnsolicited(const std::string& data, bool lineQuiet) {
  if (!state_.AutoStatusOn || stopped_) {
    heldPiece_.clear();
    return;
  }
  owner_.Unsolicited(data);
  std::string text = std::exchange(heldPiece_, {}) + data;
  if (!lineQuiet) {
    const std::size_t lastEnd = text.rfind(kEndChar);
    const std::size_t keepFrom = lastEnd == std::string::npos ? 0 : lastEnd + 1;
    // Garbage without any FD is not held for ever.
    if (text.size() - keepFrom <= kLongestHeldPiece) heldPiece_ = text.substr(keepFrom);
    text.erase(keepFrom);
  }
  // Only data that begins as a broadcast (FE ?? 00) is decoded.
  if (!BeginsAsBroadcast(text)) return;
  for (const std::string_view frame : civ::SplitFrames(text)) {
    if (stopped_) return;
    owner_.Broadcast(std::string(frame));
  }
}

}  // namespace tavrin
