// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary request lines from a network client of the control port (one
// command or several on a line), each exchange with the transceiver answered by arbitrary
// bytes. The input is a run of pieces: a length byte and that many bytes of a request line,
// then, for every exchange its requests send, a length byte and that many bytes of answer. The
// port's state (split VFO, mode lock, receiver) carries over from one request to the next.
//
// Whatever a client sends, only well-formed frames with plain data bytes go to the transceiver,
// nothing goes for a refused request, a frequency set is the frequency asked for, a split
// request puts the receivers back, and whatever the transceiver answers, the client is given
// printable lines that end in the report of the error there was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "civ/bcd.h"
#include "civ/mode_table.h"
#include "share/rigctl_answers.h"
#include "share/rigctl_request.h"

using namespace tavrin;
using namespace tavrin::share;

namespace {

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

// Every frame is FE FE 64 E0, a command and its data below FA (the link's own codes), FD.
// Returns the frames' contents (command and data) one after another.
std::vector<std::string> CheckedFrames(const std::string& frames) {
  std::vector<std::string> contents;
  std::size_t at = 0;
  while (at < frames.size()) {
    fuzz::Check(frames.compare(at, 4, "\xFE\xFE\x64\xE0") == 0);
    const std::size_t end = frames.find('\xFD', at + 4);
    fuzz::Check(end != std::string::npos && end > at + 4);
    const std::string content = frames.substr(at + 4, end - at - 4);
    for (const char c : content) fuzz::Check(static_cast<unsigned char>(c) < 0xFA);
    contents.push_back(content);
    at = end + 1;
  }
  return contents;
}

// Ten BCD digits, lowest pair first, as decimal without leading zeros.
std::string BcdFrequency(std::string_view bytes) {
  std::string digits;
  for (std::size_t i = bytes.size(); i-- > 0;) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    fuzz::Check((byte >> 4) <= 9 && (byte & 0x0F) <= 9);
    digits += static_cast<char>('0' + (byte >> 4));
    digits += static_cast<char>('0' + (byte & 0x0F));
  }
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

bool IsDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The frames of a frequency set: 05 and the BCD frequency, then the read-back 03.
void CheckFrequencySet(const RigctlRequest& request, const std::vector<std::string>& contents) {
  fuzz::Check(contents.size() == 2 && contents[0].size() == 6 && contents[0][0] == '\x05' &&
              contents[1] == "\x03");
  // A frequency written in plain digits is sent as those digits.
  const std::string& asked = request.args[0];
  if (IsDigits(asked)) {
    const std::size_t first = asked.find_first_not_of('0');
    const std::string plain = first == std::string::npos ? "0" : asked.substr(first);
    fuzz::Check(BcdFrequency(std::string_view(contents[0]).substr(1)) == plain);
  }
}

// The exchanges of a split request: the receivers exchanged (07 B0) in front of the value's
// frames, and exchanged back alone.
void CheckSplitExchanges(const RigctlRequest& request, const std::vector<std::string>& exchanges) {
  fuzz::Check(exchanges.size() == 2);
  const std::vector<std::string> first = CheckedFrames(exchanges[0]);
  fuzz::Check(first.size() >= 2 && first.front() == "\x07\xB0");
  fuzz::Check(CheckedFrames(exchanges[1]) == std::vector<std::string>{"\x07\xB0"});
  if (request.command == RigctlCommand::SetSplitFreq)
    CheckFrequencySet(request, std::vector<std::string>(first.begin() + 1, first.end()));
}

void CheckText(const RigctlRequest& request, const RigctlAnswer& answer, const std::string& text) {
  fuzz::Check(!text.empty() && text.back() == '\n');
  const bool caps = request.command == RigctlCommand::DumpCaps && answer.error == kRigOk;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    fuzz::Check((byte >= 0x20 && byte < 0x7F) || c == '\n' || (caps && c == '\t'));
  }
  // Only the dumps have empty lines (the state dump's empty lists of preamplifier and
  // attenuator steps, the line before the capabilities' warnings).
  fuzz::Check(request.command == RigctlCommand::DumpState || caps ||
              text.find("\n\n") == std::string::npos);
  if (answer.error != kRigOk) {
    const std::string report = "RPRT -" + std::to_string(answer.error) + "\n";
    fuzz::Check(text.size() >= report.size() &&
                text.compare(text.size() - report.size(), report.size(), report) == 0);
    return;
  }
  switch (request.command) {
    case RigctlCommand::GetFreq:
      fuzz::Check(answer.values.size() == 1 && IsDigits(answer.values[0].second));
      break;
    case RigctlCommand::GetMode:
    case RigctlCommand::GetSplitMode:
      fuzz::Check(answer.values.size() == 2 && civ::ModeOfRigctl(answer.values[0].second) != nullptr &&
                  IsDigits(answer.values[1].second));
      break;
    case RigctlCommand::GetSplitFreq:
      fuzz::Check(answer.values.size() == 1 && IsDigits(answer.values[0].second));
      break;
    case RigctlCommand::GetVfoInfo:
      fuzz::Check(answer.values.size() == 5 && IsDigits(answer.values[0].second) &&
                  civ::ModeOfRigctl(answer.values[1].second) != nullptr);
      break;
    case RigctlCommand::GetPtt:
    case RigctlCommand::GetSplitVfo:
      fuzz::Check(!answer.values.empty() &&
                  (answer.values[0].second == "0" || answer.values[0].second == "1"));
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SharedRigState state;
  std::size_t at = 0;
  const auto Piece = [&]() {
    if (at == size) return std::string();
    const std::size_t declared = data[at++];
    const std::size_t length = std::min(declared, size - at);
    const std::string piece(reinterpret_cast<const char*>(data + at), length);
    at += length;
    return piece;
  };
  while (at < size) {
    const std::string line = Piece();
    if (!IsRequestText(line)) continue;  // the session answers it "RPRT -1" unread
    const std::vector<RigctlRequest> requests = ParseRequestLine(line);
    fuzz::Check(requests.empty() == IsBlankLine(line));
    fuzz::Check(requests.size() <= kMostCommandsOnALine);
    for (RigctlRequest request : requests) {
      const std::vector<std::string> exchanges = ExchangesFor(request, state);
      fuzz::Check(exchanges.empty() || request.error == kRigOk);
      std::vector<std::string> replies;
      for (const std::string& frames : exchanges) {
        const std::vector<std::string> contents = CheckedFrames(frames);
        if (request.command == RigctlCommand::SetFreq) CheckFrequencySet(request, contents);
        replies.push_back(frames + Piece());
      }
      const bool split = request.command == RigctlCommand::GetSplitFreq ||
                         request.command == RigctlCommand::SetSplitFreq ||
                         request.command == RigctlCommand::GetSplitMode ||
                         request.command == RigctlCommand::SetSplitMode;
      if (split && !exchanges.empty()) CheckSplitExchanges(request, exchanges);

      RigctlAnswer answer;
      if (exchanges.empty()) {
        answer = LocalAnswer(request, state);
      } else {
        SharedRigState unchanged = state;
        const std::vector<std::string> silence(exchanges.size());
        fuzz::Check(AnswerFromReplies(request, silence, unchanged).error == kRigTimeout);
        answer = AnswerFromReplies(request, replies, state);
      }
      CheckText(request, answer, FormatAnswer(request, answer));
      fuzz::Check(state.lockMode == "0" || state.lockMode == "1");
      fuzz::Check(state.receiver == "Main" || state.receiver == "Sub");
    }
  }
  return 0;
}
