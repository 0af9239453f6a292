// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CI-V link of the radio window: the one send operation, the one-shot reply timer
// (Timer2, 50 ms at 19200 baud) that collects the answer, and the transceive timer (Timer1) that
// collects what the transceiver sends on its own.
//
// Timer1 is event-driven instead of a 1 ms poll, so an idle program costs no CPU: the serial
// control reports every arrival (TransceiveTick), which arms Timer1; Timer1 fires once the line
// has been quiet for a few byte times and collects everything that came, so a broadcast burst
// is read whole, as the operator sees it on the status line. A steady stream is still read at
// least every kMaxHeldArrivals arrivals.
//
// The link reports to its owner (LinkOwner): the answers, what the transceiver sends on its
// own, and, through its recovery, that the device went and came back.
#include <functional>
#include <string>

#include "civ/link_owner.h"
#include "civ/link_state.h"
#include "platform/clock.h"
#include "platform/serial_control.h"

namespace tavrin {

// How a build uses the link, given at start-up.
struct LinkSettings {
  // Whether the program follows what the transceiver sends on its own. A program that does
  // not (the memory manager) leaves such bytes waiting for the next reply and drops them there.
  bool followsBroadcasts = true;
};

class CivLink {
 public:
  CivLink(Clock& clock, SerialControl& port, LinkState& state, LinkOwner& owner,
          LinkSettings settings);

  // Writes one frame (or several joined) when PortOpened is 1, then arms the reply timer.
  void SendCommand(const std::string& frame);
  // FE FE 64 E0, the command bytes, FD, sent.
  void SendCivCommand(const std::string& commandBytes);
  // Nothing is sent or collected any more: the program has ended.
  void Stop();

  // Reply timer tick: disarm, read all, hand the reply to the owner.
  void ReplyTimerTick();
  // Bytes arrived on the port (called by the serial control): (re)arms the transceive timer.
  void TransceiveTick();
  // Transceive timer tick: while no answer is awaited, read what came unasked, show it on the
  // status line, cut it into frames and decode them.
  void Timer1Tick();
  // What the transceive timer does with the bytes it read: nothing while auto status is off
  // (they are discarded); else the "AUTO = " line, and when the data begins as a broadcast
  // (FE ?? 00) it is cut into frames, each up to and including its FD (a last piece without FD
  // too), and each frame is handed to DecodeTransceive in order.
  //
  // `lineQuiet` false says that more bytes are still coming (a read in the middle of a steady
  // stream, or just before a send): the piece after the last FD is then the head of a frame
  // still on the line, and it is kept and put in front of the next read instead of being
  // decoded half.
  void HandleUnsolicited(const std::string& data, bool lineQuiet = true);
  // Drops a kept head of a frame (the device went away, the read after it will not follow).
  void ForgetUnsolicited() { heldPiece_.clear(); }

  [[nodiscard]] bool ReplyTimerArmed() const { return Timer2.Enabled(); }
  // The bytes the last reply-timer tick collected, as they came (empty: nothing answered).
  [[nodiscard]] const std::string& LastReply() const { return lastReply_; }

  // Whether the link is free for an exchange that is not the operator's own click: the port
  // open, no answer awaited, and the owner agreeing (LinkOwner::MaySend).
  [[nodiscard]] bool Idle() const;
  // Sends `frames` as a command button does and hands the reply the reply timer collects to
  // `done`, after the owner has had it. Nothing is sent, and false returned,
  // when the link is not idle. With `endOnAnswers` the reply ends as soon as every frame sent
  // has its answer (a frame from the transceiver to this controller, up to its FD) instead of
  // when the window is over: a program asking over the network need not wait out the window.
  bool Exchange(const std::string& frames, std::function<void(const std::string&)> done,
                bool endOnAnswers = false);
  // The reply now awaited ends as soon as `complete` finds in the bytes that arrived (from the
  // echo of the first frame sent on) what its sender waits for, at the latest `windowMs` after
  // now (never sooner than the reply window): a sender that knows its answer can give a line
  // busy with broadcasts or noise longer to deliver it without slowing a clean line. A send
  // that begins the next reply forgets it.
  void EndReplyWhen(std::function<bool(const std::string&)> complete, int windowMs = 0);

  // How long the line must be quiet before unsolicited bytes are collected, in milliseconds:
  // three byte times at the port's speed, at least 2 ms.
  [[nodiscard]] int QuietMs() const;
  static constexpr int kMaxHeldArrivals = 64;
  // How long the reply timer collects an answer: 50 ms at 19200 baud, where a memory record
  // with its echo takes 24 ms, and as long as the same bytes take at a slower speed (100 ms at
  // 9600, 200 ms at 4800), so that the answer is not cut off by the window.
  [[nodiscard]] int ReplyWindowMs() const;
  static constexpr int kShortestReplyWindowMs = 50;

  Timer Timer2;  // reply timer, one-shot, ReplyWindowMs()
  Timer Timer1;  // transceive timer, one-shot, armed by arriving bytes

 private:
  SerialControl& port_;
  LinkState& state_;
  LinkOwner& owner_;
  const LinkSettings settings_;
  bool stopped_ = false;
  int heldArrivals_ = 0;
  // Takes what waits in the input buffer before a send, so that the reply buffer begins with
  // the echo of the frame sent.
  void TakeWaitingBytes();
  // Bytes in front of the echo (the tail of a broadcast that was on the line when the frame
  // went out) go the way of unsolicited data; the reply then begins with the echo.
  std::string SplitOffLeadingBytes(const std::string& reply);
  // The head of a broadcast that the reply timer took behind the answer (its rest was still
  // on the line) is kept for the next read of unsolicited bytes and cut off the reply.
  std::string HoldBroadcastHead(const std::string& reply);
  // FE, FE FE, or FE ?? 00 and more: bytes that may be the beginning of a broadcast.
  static bool CouldStartBroadcast(const std::string& piece);

  // Whether `bytes` hold the whole answer to what was sent: an answer (a frame from the
  // transceiver to this controller, up to its FD) to every frame, or a data answer to the
  // last frame behind its echo (a transceiver answers a burst of frames with the last one's).
  [[nodiscard]] bool AnswersComplete(const std::string& bytes) const;
  // While a reply that ends early is on the line: takes what arrived, and ends the reply when
  // every frame has its answer (or what its sender waits for has come).
  void CollectAnswers();

  std::function<void(const std::string&)> exchangeDone_;
  bool endOnAnswers_ = false;
  std::function<bool(const std::string&)> replyComplete_;
  int awaitedAnswers_ = 0;  // frames sent since the reply timer was armed
  std::string lastFrameSent_;
  std::string collected_;  // what arrived meanwhile, taken early by CollectAnswers
  std::string lastReply_;
  std::string heldPiece_;    // the head of a broadcast frame whose rest is still on the line
  std::string awaitedEcho_;  // the first frame sent since the reply timer was armed
};

}  // namespace tavrin
