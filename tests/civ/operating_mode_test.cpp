// SPDX-License-Identifier: GPL-3.0-or-later
// The operating mode the filter options send: read from a mode answer, kept or forgotten by
// what the window sends.
#include "civ/operating_mode.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "civ/decoder_state.h"
#include "sim/hex.h"

namespace tavrin {
namespace {

TEST(OperatingMode, TheModeAnswerInACollectedReply) {
  const std::string echo = "FE FE 64 E0 04 FD ";
  const std::vector<std::pair<std::string, std::optional<unsigned char>>> cases = {
      {echo + "FE FE E0 64 04 03 01 FD", 0x03},
      {"FE FE E0 64 04 08 02 FD", 0x08},
      {echo + "FE FE E0 64 04 03 01", std::nullopt},     // cut short
      {echo + "FE FE E0 64 04 06 01 FD", std::nullopt},  // no such mode
      {echo + "FE FE E0 64 FA FD", std::nullopt},
      {"FE FE 00 64 01 03 01 FD", std::nullopt},  // a broadcast is decoded on its own way
      {"", std::nullopt}};
  for (const auto& [hex, mode] : cases) EXPECT_EQ(ModeAnswerIn(sim::FromHex(hex)), mode) << hex;
}

TEST(OperatingMode, SentCommandsKeepSetOrForgetIt) {
  // Command bytes; the mode known afterwards, starting from CW (03).
  const std::vector<std::pair<std::string, int>> cases = {
      {"06 01", 0x01}, {"06 07 03", 0x07}, {"06 06", -1},      {"07", -1},
      {"07 D1", -1},   {"08 00 05", -1},   {"0A", -1},         {"0B", -1},
      {"04", 0x03},    {"03", 0x03},       {"1C 00 01", 0x03}, {"05 00 50 25 14 00", 0x03}};
  for (const auto& [hex, known] : cases) {
    DecoderState state;
    state.LastOperatingMode = 0x03;
    NoteSentCommand(state, sim::FromHex(hex));
    EXPECT_EQ(state.LastOperatingMode, known) << hex;
  }
}

}  // namespace
}  // namespace tavrin
