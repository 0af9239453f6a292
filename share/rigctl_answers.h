// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a request of the rigctld protocol asks of the transceiver and how its answer is told:
// the CI-V frames sent for it (one exchange, or a few one after another), the values read from
// the reply buffers the reply timer collected, and the answer text in the plain or extended
// form. Pure functions; the request queue and the network server do the sending and the
// socket work.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "share/rigctl_request.h"

namespace tavrin::share {

// What the port remembers between requests, for all its clients: the transmit VFO that a
// client last named with "S" (the transceiver cannot report it), the mode lock a client set
// (clients leave the mode alone while it is on), and the receiver ("Main" or "Sub") a client
// last selected, which the transceiver cannot report either.
struct SharedRigState {
  std::string txVfo = "None";
  std::string lockMode = "0";
  std::string receiver = "Main";
};

struct RigctlAnswer {
  int error = kRigOk;
  // Label and value of each answer line ("Frequency", "14195000"); a line without a label is
  // written as it stands (the state dump).
  std::vector<std::pair<std::string, std::string>> values;
};

// The exchanges a request sends, in order: each the frames (CI-V preamble FE FE 64 E0 ... FD
// each) that go out together, of which the transceiver answers the last. Most requests need
// one; the split values are on the other receiver, which the transceiver shows only after an
// exchange of main and sub (07 B0), so they need a second exchange to put the receivers back.
// None when the request is answered without the transceiver, or when its values are not
// valid, in which case `request.error` is set.
std::vector<std::string> ExchangesFor(RigctlRequest& request, const SharedRigState& state);
// The answer to a request that sent nothing (the state dump, a refused value, ...).
RigctlAnswer LocalAnswer(const RigctlRequest& request, SharedRigState& state);
// The answer to a request from the reply buffers of its exchanges, one for each (echo first,
// then the transceiver's answer); an empty reply is a transceiver that did not answer.
RigctlAnswer AnswerFromReplies(const RigctlRequest& request,
                               const std::vector<std::string>& replies, SharedRigState& state);
// The answers to "f" and "m" from what the transceiver told before, without an exchange.
RigctlAnswer FrequencyValues(std::int64_t hz);
RigctlAnswer ModeValues(unsigned char mode, unsigned char filter);
// The answer as the client reads it, line end(s) included.
std::string FormatAnswer(const RigctlRequest& request, const RigctlAnswer& answer);
// "RPRT -14" and its line end, for a request that could not be served.
std::string ErrorLine(int error);

// The body of "\dump_state": what this transceiver can do, in the protocol's layout.
std::vector<std::string> DumpStateLines();
// The body of "\dump_caps": the same for people and for the clients that read its "Can ..."
// lines, in rigctld's layout.
std::vector<std::string> DumpCapsLines();

}  // namespace tavrin::share
