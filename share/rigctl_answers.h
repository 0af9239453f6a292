// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a request of the rigctld protocol asks of the transceiver and how its answer is told:
// the CI-V frames sent for it in one exchange, the values read from the reply buffer the reply
// timer collected, and the answer text in the plain or extended form. Pure functions; the
// request queue and the network server do the sending and the socket work.
#include <string>
#include <utility>
#include <vector>

#include "share/rigctl_request.h"

namespace tavrin::share {

// What the port remembers between requests, for all its clients: the transmit VFO that a
// client last named with "S" (the transceiver cannot report it), and the mode lock a client
// set (clients leave the mode alone while it is on).
struct SharedRigState {
  std::string txVfo = "None";
  std::string lockMode = "0";
};

struct RigctlAnswer {
  int error = kRigOk;
  // Label and value of each answer line ("Frequency", "14195000"); a line without a label is
  // written as it stands (the state dump).
  std::vector<std::pair<std::string, std::string>> values;
};

// The frames (CI-V preamble FE FE 64 E0 ... FD each) a request sends in its one exchange.
// Empty when the request is answered without the transceiver, or when its values are not
// valid, in which case `request.error` is set.
std::string FramesFor(RigctlRequest& request);
// The answer to a request that sent no frames (the state dump, a refused value, ...).
RigctlAnswer LocalAnswer(const RigctlRequest& request, SharedRigState& state);
// The answer to a request from the reply buffer of its exchange (echo first, then the
// transceiver's answer); an empty reply is a transceiver that did not answer.
RigctlAnswer AnswerFromReply(const RigctlRequest& request, const std::string& reply,
                             SharedRigState& state);
// The answer as the client reads it, line end(s) included.
std::string FormatAnswer(const RigctlRequest& request, const RigctlAnswer& answer);
// "RPRT -14" and its line end, for a request that could not be served.
std::string ErrorLine(int error);

// The body of "\dump_state": what this transceiver can do, in the protocol's layout.
std::vector<std::string> DumpStateLines();

}  // namespace tavrin::share
