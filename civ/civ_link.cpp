// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/civ_link.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/control_program.h"
#include "app/text_functions.h"
#include "civ/status_line.h"
#include "radio/operating_mode.h"

namespace tavrin {

namespace {

constexpr int kReplyWindowMs = 50;
constexpr unsigned char kPreamble = 0xFE;
constexpr char kBroadcastAddress = '\0';
constexpr char kEnd = '\xFD';
// The longest frame a transceiver broadcasts is far shorter than this.
constexpr std::size_t kLongestHeldPiece = 64;

}  // namespace

CivLink::CivLink(ControlProgram& program)
    : Timer2(program.platform.clock, kReplyWindowMs, [this] { ReplyTimerTick(); }),
      Timer1(program.platform.clock, 2, [this] { Timer1Tick(); }),
      program_(program) {}

void CivLink::SendCommand(const std::string& frame) {
  if (program_.station.PortOpened != 1 || program_.station.Ended) return;
  // PortOpened stays 1 after a failed re-open: a port that is not open drops the frame too.
  if (!program_.platform.serial.PortOpen()) return;
  if (!Timer2.Enabled()) {
    TakeWaitingBytes();
    awaitedEcho_ = frame.substr(
        0, frame.find(kEnd) == std::string::npos ? frame.size() : frame.find(kEnd) + 1);
    awaitedAnswers_ = 0;
    endOnAnswers_ = false;
  }
  awaitedAnswers_ += static_cast<int>(std::count(frame.begin(), frame.end(), kEnd));
  const std::size_t lastEnd = frame.rfind(kEnd);
  const std::size_t lastStart = lastEnd == std::string::npos || lastEnd == 0
                                    ? std::string::npos
                                    : frame.rfind(kEnd, lastEnd - 1);
  lastFrameSent_ = lastStart == std::string::npos ? frame : frame.substr(lastStart + 1);
  program_.platform.serial.Output(frame);
  // The write may have found the device gone.
  if (!program_.platform.serial.PortOpen()) return;
  Timer2.SetEnabled(true);
}

void CivLink::TakeWaitingBytes() {
  const std::string waiting = program_.platform.serial.Input();
  Timer1.SetEnabled(false);
  heldArrivals_ = 0;
  if (waiting.empty() || program_.build == Build::Belmarq) return;
  HandleUnsolicited(waiting, false);
}

std::string CivLink::SplitOffLeadingBytes(const std::string& reply) {
  const std::string echo = std::exchange(awaitedEcho_, {});
  const std::size_t at = echo.empty() ? std::string::npos : reply.find(echo);
  if (at != std::string::npos && at > 0) {
    if (program_.build != Build::Belmarq) HandleUnsolicited(reply.substr(0, at), true);
    heldPiece_.clear();
    return reply.substr(at);
  }
  heldPiece_.clear();
  return reply;
}

bool CivLink::CouldStartBroadcast(const std::string& piece) {
  if (piece.empty() || static_cast<unsigned char>(piece[0]) != kPreamble) return false;
  if (piece.size() >= 3) return piece[2] == kBroadcastAddress;
  return piece.size() == 1 || static_cast<unsigned char>(piece[1]) == kPreamble;
}

std::string CivLink::HoldBroadcastHead(const std::string& reply) {
  if (program_.build == Build::Belmarq) return reply;
  const std::size_t lastEnd = reply.rfind(kEnd);
  const std::size_t headAt = lastEnd == std::string::npos ? 0 : lastEnd + 1;
  // Only behind an answer: a reply that is nothing but the head of a frame is no reply.
  if (headAt == 0 || reply.size() - headAt > kLongestHeldPiece) return reply;
  const std::string head = reply.substr(headAt);
  if (!CouldStartBroadcast(head)) return reply;
  heldPiece_ = head;
  return reply.substr(0, headAt);
}

void CivLink::SendCivCommand(const std::string& commandBytes) {
  const Station& s = program_.station;
  SendCommand(s.CivPreamble + commandBytes + s.CivTail);
}

bool CivLink::Idle() const {
  const Station& s = program_.station;
  return !s.Ended && s.PortOpened == 1 && program_.platform.serial.PortOpen() &&
         !Timer2.Enabled() && s.SyncStep == 0 && !s.MemorySequenceBusy && !s.CreateFileActive &&
         !s.ViewFileActive && !s.UpdateRigActive && !s.ViewRigActive && !s.BlankRigActive &&
         !s.ScanRigActive;
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

bool CivLink::AnswersComplete(const std::string& bytes) const {
  const std::string& preamble = program_.station.CivPreamble;
  if (preamble.size() < 4) return false;
  // An answer comes from the transceiver to this controller: the preamble's addresses swapped.
  const std::string header = {preamble[0], preamble[1], preamble[3], preamble[2]};
  // The command byte of the last frame sent, which a data answer to it repeats.
  const std::size_t commandAt = header.size();
  const std::size_t lastEcho = bytes.rfind(lastFrameSent_);
  int answers = 0;
  for (std::size_t at = bytes.find(header); at != std::string::npos;
       at = bytes.find(header, at + header.size())) {
    if (bytes.find(kEnd, at) == std::string::npos) break;
    ++answers;
    // The transceiver may answer only the last frame of a burst: its data answer ends it.
    if (lastEcho != std::string::npos && at > lastEcho && lastFrameSent_.size() > commandAt &&
        bytes.size() > at + commandAt && bytes[at + commandAt] == lastFrameSent_[commandAt])
      return true;
  }
  return answers >= awaitedAnswers_;
}

void CivLink::CollectAnswers() {
  collected_ += program_.platform.serial.Input();
  if (AnswersComplete(collected_)) ReplyTimerTick();
}

void CivLink::ReplyTimerTick() {
  Timer2.SetEnabled(false);
  Station& s = program_.station;
  endOnAnswers_ = false;
  const std::string collected = std::exchange(collected_, {});
  const std::string reply =
      s.Ended
          ? std::string()
          : HoldBroadcastHead(SplitOffLeadingBytes(collected + program_.platform.serial.Input()));
  lastReply_ = reply;
  if (!s.Ended) {
    ShowStatus(program_, reply);
    if (s.PortGone) program_.recovery.ShowPortGone();
    program_.decoder.DecodeReply(reply);
    NoteModeReply(s, reply);
    if (s.SyncStep != 0 && !s.Ended) {
      if (program_.build == Build::Belmarq) {
        program_.decoder.IdentityExchangeStep(reply);
      } else {
        program_.decoder.SynchronisationStep(reply);
      }
    }
  }
  if (exchangeDone_) std::exchange(exchangeDone_, nullptr)(reply);
}

int CivLink::QuietMs() const {
  // A byte costs ten bit times (start, eight data, stop).
  const double baud = std::max(300.0, LeadingNumber(program_.station.CommBaud));
  return std::clamp(static_cast<int>(std::ceil(3 * 10 * 1000.0 / baud)), 2, 100);
}

void CivLink::TransceiveTick() {
  if (program_.station.Ended) return;
  // The memory manager has no transceive handling: its input waits for the next reply.
  if (program_.build == Build::Belmarq) return;
  // While an answer is awaited the reply timer takes whatever arrives; an exchange that ends
  // on its answers looks whether they are all in.
  if (Timer2.Enabled()) {
    if (endOnAnswers_) CollectAnswers();
    return;
  }
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
  if (Timer2.Enabled() || program_.station.Ended) return;
  SerialControl& port = program_.platform.serial;
  if (!port.PortOpen()) return;
  const std::string data = port.Input();
  if (!data.empty()) HandleUnsolicited(data, lineQuiet);
}

void CivLink::HandleUnsolicited(const std::string& data, bool lineQuiet) {
  if (!program_.station.AutoStatusOn || program_.station.Ended) {
    heldPiece_.clear();
    return;
  }
  ShowAutoStatus(program_, data);
  std::string text = std::exchange(heldPiece_, {}) + data;
  if (!lineQuiet) {
    const std::size_t lastEnd = text.rfind(kEnd);
    const std::size_t keepFrom = lastEnd == std::string::npos ? 0 : lastEnd + 1;
    // Garbage without any FD is not held for ever.
    if (text.size() - keepFrom <= kLongestHeldPiece) heldPiece_ = text.substr(keepFrom);
    text.erase(keepFrom);
  }
  // Only data that begins as a broadcast (FE ?? 00) is decoded.
  if (text.size() < 3 || static_cast<unsigned char>(text[0]) != kPreamble ||
      text[2] != kBroadcastAddress)
    return;
  std::size_t start = 0;
  while (start < text.size() && !program_.station.Ended) {
    const std::size_t end = text.find(kEnd, start);
    const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
    program_.decoder.DecodeTransceive(text.substr(start, stop - start));
    start = stop;
  }
}

}  // namespace tavrin
