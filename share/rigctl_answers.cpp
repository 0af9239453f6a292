// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/rigctl_answers.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "civ/bcd.h"
#include "civ/command_bytes.h"
#include "civ/frame.h"
#include "civ/mode_table.h"
#include "share/rig_modes.h"

namespace tavrin::share {

namespace {

// A frame to the transceiver: the command bytes, then their data.
std::string Frame(std::initializer_list<unsigned char> command, std::string_view data = {}) {
  return civ::ControllerFrame(civ::Bytes(command) + std::string(data));
}

// A number as clients write it: "14074000" or "14074000.000000", rounded to whole units.
std::optional<long long> WholeNumber(const std::string& text) {
  double value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  if (std::fabs(value) > 1e12) return std::nullopt;
  return std::llround(value);
}

std::optional<long> Integer(const std::string& text) {
  long value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The VFO names a client may give for this transceiver's receivers and memory mode, and the
// command bytes that select each; "currVFO" (whatever is selected) selects nothing.
std::optional<std::string> VfoCommand(const std::string& name) {
  if (name == "VFOA" || name == "Main") return civ::Bytes({civ::kSelectVfo, civ::kMainReceiver});
  if (name == "VFOB" || name == "Sub") return civ::Bytes({civ::kSelectVfo, civ::kSubReceiver});
  if (name == "VFO") return civ::Bytes({civ::kSelectVfo});
  if (name == "MEM") return civ::Bytes({civ::kSelectMemory});
  if (name == "currVFO") return std::string();
  return std::nullopt;
}

// The receiver a VFO name stands for on this transceiver ("VFOB" is the sub receiver); the
// empty text for the names that choose no receiver (VFO and memory mode, currVFO).
std::string ReceiverOf(const std::string& name) {
  if (name == "VFOA" || name == "Main") return "Main";
  if (name == "VFOB" || name == "Sub") return "Sub";
  return {};
}

// 07 B0: main and sub exchange their frequency and mode, so the other receiver is operated.
std::string ExchangeReceivers() { return Frame({civ::kSelectVfo, civ::kVfoExchange}); }

std::string SelectReceiver(const std::string& receiver) {
  return Frame({civ::kSelectVfo, receiver == "Sub" ? civ::kSubReceiver : civ::kMainReceiver});
}

// The data of an answer frame to `command` (after FE FE E0 64 and the command byte); an error
// for an acknowledgement, a refusal or another command.
struct AnswerData {
  int error = kRigOk;
  std::string_view data;
  bool accepted = false;  // FB
};

AnswerData Failed(int error) { return {error, {}, false}; }

// The first answer of the reply (the echo of the frames sent comes before it).
AnswerData ReadAnswer(std::string_view reply, unsigned char command) {
  const auto frame = civ::FindAnswer(reply);
  if (!frame) return Failed(kRigTimeout);
  const auto code = static_cast<unsigned char>((*frame)[civ::AnswerHead().size()]);
  if (civ::IsAcknowledgement(*frame))
    return code == civ::kAccepted ? AnswerData{kRigOk, {}, true} : Failed(kRigRejected);
  if (code != command) return Failed(kRigProtocol);
  const std::size_t dataAt = civ::AnswerHead().size() + 1;
  return {kRigOk, frame->substr(dataAt, frame->size() - dataAt - 1), false};
}

bool NoData(std::string_view data) {
  return !data.empty() && static_cast<unsigned char>(data[0]) == civ::kNoData;
}

RigctlAnswer Failure(int error) { return RigctlAnswer{error, {}}; }

RigctlAnswer ModeValuesOf(const civ::Mode& mode, unsigned char filter) {
  return {kRigOk, {{"Mode", mode.rigctl}, {"Passband", std::to_string(PassbandOf(mode, filter))}}};
}

RigctlAnswer FrequencyAnswer(std::string_view reply) {
  const AnswerData answer = ReadAnswer(reply, civ::kReadFrequency);
  if (answer.error != kRigOk) return Failure(answer.error);
  if (NoData(answer.data)) return Failure(kRigRejected);
  const auto hz = civ::FrequencyFromBcd(answer.data);
  if (!hz) return Failure(kRigProtocol);
  return {kRigOk, {{"Frequency", std::to_string(*hz)}}};
}

RigctlAnswer ModeAnswer(std::string_view reply) {
  const AnswerData answer = ReadAnswer(reply, civ::kReadMode);
  if (answer.error != kRigOk) return Failure(answer.error);
  if (NoData(answer.data)) return Failure(kRigRejected);
  if (answer.data.size() != 2) return Failure(kRigProtocol);
  const civ::Mode* mode = civ::ModeOfCode(static_cast<unsigned char>(answer.data[0]));
  if (mode == nullptr) return Failure(kRigProtocol);
  return ModeValuesOf(*mode, static_cast<unsigned char>(answer.data[1]));
}

RigctlAnswer AcknowledgedAnswer(std::string_view reply) {
  const AnswerData answer = ReadAnswer(reply, civ::kAccepted);
  if (answer.error != kRigOk) return Failure(answer.error);
  return answer.accepted ? RigctlAnswer{} : Failure(kRigProtocol);
}

RigctlAnswer ByteAnswer(std::string_view reply, unsigned char command, std::size_t size,
                        const char* label) {
  const AnswerData answer = ReadAnswer(reply, command);
  if (answer.error != kRigOk) return Failure(answer.error);
  if (answer.data.size() != size) return Failure(kRigProtocol);
  const auto value = static_cast<unsigned char>(answer.data.back());
  if (value > 1) return Failure(kRigProtocol);
  return {kRigOk, {{label, std::to_string(value)}}};
}

// A set frequency is followed by a read of the frequency: the transceiver answers the last
// frame of a burst only, so the read tells whether it took the value.
RigctlAnswer SetFrequencyAnswer(const std::string& asked, std::string_view reply) {
  const RigctlAnswer read = FrequencyAnswer(reply);
  if (read.error != kRigOk) return read.error == kRigTimeout ? read : Failure(kRigRejected);
  const auto wanted = WholeNumber(asked);
  return read.values[0].second == std::to_string(*wanted) ? RigctlAnswer{} : Failure(kRigRejected);
}

RigctlAnswer SetModeAnswer(const RigctlRequest& request, std::string_view reply) {
  const AnswerData answer = ReadAnswer(reply, civ::kReadMode);
  if (answer.error != kRigOk)
    return Failure(answer.error == kRigTimeout ? kRigTimeout : kRigRejected);
  const civ::Mode* mode = civ::ModeOfRigctl(request.args[0]);
  const auto filter = FilterFor(*mode, *Integer(request.args[1]));  // checked when sent
  const bool taken = answer.data.size() == 2 &&
                     static_cast<unsigned char>(answer.data[0]) == mode->code &&
                     (!filter || static_cast<unsigned char>(answer.data[1]) == *filter);
  return taken ? RigctlAnswer{} : Failure(kRigRejected);
}

// The second exchange of a split request puts the receivers back: its acknowledgement counts
// once the value itself was good.
RigctlAnswer WithReceiversBack(RigctlAnswer answer, std::string_view back) {
  if (answer.error != kRigOk) return answer;
  const RigctlAnswer restored = AcknowledgedAnswer(back);
  return restored.error == kRigOk ? answer : restored;
}

RigctlAnswer SplitFrequencyAnswer(const std::vector<std::string>& replies) {
  RigctlAnswer answer = FrequencyAnswer(replies[0]);
  if (answer.error == kRigOk) answer.values[0].first = "TX Frequency";
  return WithReceiversBack(answer, replies[1]);
}

// rigctld tells no passband for the split mode of this family (0), and clients expect that.
RigctlAnswer SplitModeAnswer(const std::vector<std::string>& replies) {
  RigctlAnswer answer = ModeAnswer(replies[0]);
  if (answer.error == kRigOk) answer.values = {{"TX Mode", answer.values[0].second}, {"TX Passband", "0"}};
  return WithReceiversBack(answer, replies[1]);
}

RigctlAnswer VfoInfoAnswer(const std::vector<std::string>& replies) {
  const RigctlAnswer frequency = FrequencyAnswer(replies[0]);
  if (frequency.error != kRigOk) return frequency;
  const RigctlAnswer mode = ModeAnswer(replies[1]);
  if (mode.error != kRigOk) return mode;
  const RigctlAnswer split = ByteAnswer(replies[2], civ::kSplit, 1, "Split");
  if (split.error != kRigOk) return split;
  return {kRigOk,
          {{"Freq", frequency.values[0].second},
           {"Mode", mode.values[0].second},
           {"Width", mode.values[1].second},
           {"Split", split.values[0].second},
           {"SatMode", "0"}}};
}

}  // namespace

RigctlAnswer FrequencyValues(std::int64_t hz) {
  return {kRigOk, {{"Frequency", std::to_string(hz)}}};
}

RigctlAnswer ModeValues(unsigned char mode, unsigned char filter) {
  const civ::Mode* known = civ::ModeOfCode(mode);
  return known == nullptr ? Failure(kRigProtocol) : ModeValuesOf(*known, filter);
}

std::vector<std::string> ExchangesFor(RigctlRequest& request, const SharedRigState& state) {
  using Exchanges = std::vector<std::string>;
  if (request.error != kRigOk) return {};
  const auto invalid = [&request](int error = kRigInvalid) {
    request.error = error;
    return Exchanges();
  };
  const std::vector<std::string>& args = request.args;
  // The frame that sets a frequency, or nothing when the text is no frequency.
  const auto frequencyFrame = [](const std::string& text) -> std::optional<std::string> {
    const auto hz = WholeNumber(text);
    if (!hz || *hz < 0 || *hz > civ::kHighestFrequencyHz) return std::nullopt;
    return Frame({civ::kSetFrequency}, civ::FrequencyToBcd(*hz));
  };
  // The frame that sets a mode and passband; nothing, with the error, when they are not values.
  int modeError = kRigOk;
  const auto modeFrame = [&modeError](const std::string& name,
                                      const std::string& passbandText) -> std::optional<std::string> {
    const civ::Mode* mode = civ::ModeOfRigctl(name);
    if (mode == nullptr) {
      modeError = IsForeignMode(name) ? kRigRejected : kRigInvalid;
      return std::nullopt;
    }
    const auto passband = Integer(passbandText);
    if (!passband || *passband < -1) {
      modeError = kRigInvalid;
      return std::nullopt;
    }
    const auto filter = FilterFor(*mode, *passband);
    return Frame({civ::kSetMode}, filter ? civ::Bytes({mode->code, *filter})
                                         : civ::Bytes({mode->code}));
  };
  switch (request.command) {
    case RigctlCommand::GetFreq:
      return {Frame({civ::kReadFrequency})};
    case RigctlCommand::SetFreq: {
      const auto set = frequencyFrame(args[0]);
      if (!set) return invalid();
      return {*set + Frame({civ::kReadFrequency})};
    }
    case RigctlCommand::GetMode:
      return {Frame({civ::kReadMode})};
    case RigctlCommand::SetMode: {
      const auto set = modeFrame(args[0], args[1]);
      if (!set) return invalid(modeError);
      return {*set + Frame({civ::kReadMode})};
    }
    case RigctlCommand::SetVfo: {
      const auto command = VfoCommand(args[0]);
      if (!command) return invalid();
      if (command->empty()) return {};
      return {civ::ControllerFrame(*command)};
    }
    case RigctlCommand::GetPtt:
      return {Frame({civ::kRxTx, civ::kReceiveTransmit})};
    case RigctlCommand::SetPtt: {
      // 0 receive; 1 transmit, 2 and 3 (from the microphone or the data jack) transmit too.
      const auto ptt = Integer(args[0]);
      if (!ptt || *ptt < 0 || *ptt > 3) return invalid();
      return {Frame({civ::kRxTx, civ::kReceiveTransmit, *ptt == 0 ? civ::kReceive : civ::kTransmit})};
    }
    case RigctlCommand::GetSplitVfo:
      return {Frame({civ::kSplit})};
    case RigctlCommand::SetSplitVfo: {
      const auto split = Integer(args[0]);
      if (!split || *split < 0 || *split > 1 || !VfoCommand(args[1])) return invalid();
      return {Frame({civ::kSplit, static_cast<unsigned char>(*split)})};
    }
    // The transmit VFO of a split is the receiver not operated: exchanged with the operated
    // one, read or set, and exchanged back.
    case RigctlCommand::GetSplitFreq:
      return {ExchangeReceivers() + Frame({civ::kReadFrequency}), ExchangeReceivers()};
    case RigctlCommand::SetSplitFreq: {
      const auto set = frequencyFrame(args[0]);
      if (!set) return invalid();
      return {ExchangeReceivers() + *set + Frame({civ::kReadFrequency}), ExchangeReceivers()};
    }
    case RigctlCommand::GetSplitMode:
      return {ExchangeReceivers() + Frame({civ::kReadMode}), ExchangeReceivers()};
    case RigctlCommand::SetSplitMode: {
      const auto set = modeFrame(args[0], args[1]);
      if (!set) return invalid(modeError);
      return {ExchangeReceivers() + *set + Frame({civ::kReadMode}), ExchangeReceivers()};
    }
    case RigctlCommand::GetVfoInfo: {
      if (!VfoCommand(args[0])) return invalid();
      const std::string wanted = ReceiverOf(args[0]);
      if (wanted.empty() || wanted == state.receiver)
        return {Frame({civ::kReadFrequency}), Frame({civ::kReadMode}), Frame({civ::kSplit})};
      // The other receiver: each read behind its selection, so that no reply heads with a
      // read the panel would take for the operated receiver's; then back, with the split.
      return {SelectReceiver(wanted) + Frame({civ::kReadFrequency}), SelectReceiver(wanted) + Frame({civ::kReadMode}),
              SelectReceiver(state.receiver) + Frame({civ::kSplit})};
    }
    default:
      return {};
  }
}

RigctlAnswer LocalAnswer(const RigctlRequest& request, SharedRigState& state) {
  if (request.error != kRigOk) return Failure(request.error);
  switch (request.command) {
    case RigctlCommand::GetVfo:
      // The transceiver has no command that reports which receiver is selected.
      return Failure(kRigNotAvailable);
    case RigctlCommand::DumpState: {
      RigctlAnswer answer;
      for (const std::string& line : DumpStateLines()) answer.values.emplace_back("", line);
      return answer;
    }
    case RigctlCommand::DumpCaps: {
      RigctlAnswer answer;
      for (const std::string& line : DumpCapsLines()) answer.values.emplace_back("", line);
      return answer;
    }
    case RigctlCommand::ChkVfo:
      return {kRigOk, {{"ChkVFO", "0"}}};
    case RigctlCommand::GetPowerstat:
      return {kRigOk, {{"Power Status", "1"}}};
    case RigctlCommand::GetInfo:
      return {kRigOk, {{"Info", "None"}}};
    case RigctlCommand::GetLockMode:
      return {kRigOk, {{"Locked", state.lockMode}}};
    case RigctlCommand::SetLockMode:
      if (request.args[0] != "0" && request.args[0] != "1") return Failure(kRigInvalid);
      state.lockMode = request.args[0];
      return {};
    case RigctlCommand::SetVfo:  // "currVFO": already selected
    case RigctlCommand::Quit:
      return {};
    default:
      return Failure(kRigNotImplemented);
  }
}

RigctlAnswer AnswerFromReplies(const RigctlRequest& request,
                               const std::vector<std::string>& replies, SharedRigState& state) {
  const std::string& reply = replies.front();
  switch (request.command) {
    case RigctlCommand::GetFreq:
      return FrequencyAnswer(reply);
    case RigctlCommand::SetFreq:
      return SetFrequencyAnswer(request.args[0], reply);
    case RigctlCommand::GetMode:
      return ModeAnswer(reply);
    case RigctlCommand::SetMode:
      return SetModeAnswer(request, reply);
    case RigctlCommand::GetPtt:
      return ByteAnswer(reply, civ::kRxTx, 2, "PTT");
    case RigctlCommand::GetSplitVfo: {
      RigctlAnswer answer = ByteAnswer(reply, civ::kSplit, 1, "Split");
      if (answer.error == kRigOk) answer.values.emplace_back("TX VFO", state.txVfo);
      return answer;
    }
    case RigctlCommand::SetSplitVfo: {
      RigctlAnswer answer = AcknowledgedAnswer(reply);
      if (answer.error == kRigOk) {
        const std::string receiver = ReceiverOf(request.args[1]);
        state.txVfo = receiver.empty() ? request.args[1] : receiver;
      }
      return answer;
    }
    case RigctlCommand::GetSplitFreq:
      return SplitFrequencyAnswer(replies);
    case RigctlCommand::SetSplitFreq:
      return WithReceiversBack(SetFrequencyAnswer(request.args[0], reply), replies[1]);
    case RigctlCommand::GetSplitMode:
      return SplitModeAnswer(replies);
    case RigctlCommand::SetSplitMode:
      return WithReceiversBack(SetModeAnswer(request, reply), replies[1]);
    case RigctlCommand::GetVfoInfo:
      return VfoInfoAnswer(replies);
    case RigctlCommand::SetVfo: {
      RigctlAnswer answer = AcknowledgedAnswer(reply);
      const std::string receiver = ReceiverOf(request.args[0]);
      if (answer.error == kRigOk && !receiver.empty()) state.receiver = receiver;
      return answer;
    }
    case RigctlCommand::SetPtt:
      return AcknowledgedAnswer(reply);
    default:
      return LocalAnswer(request, state);
  }
}

}  // namespace tavrin::share
