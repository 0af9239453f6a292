// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes of the CI-V protocol as this transceiver speaks it: the link's own codes, the
// addresses on the bus, and the command and sub-command bytes the suite sends and decodes.
#include <cstddef>
#include <initializer_list>
#include <string>

namespace tavrin::civ {

// --- The link's own codes: no value may put them inside a frame ------------------------
inline constexpr unsigned char kPreamble = 0xFE;   // a frame begins with two of them
inline constexpr unsigned char kEnd = 0xFD;        // a frame ends with it
inline constexpr unsigned char kCollision = 0xFC;  // two stations spoke at once
inline constexpr unsigned char kAccepted = 0xFB;   // the transceiver took a setting ("OK")
inline constexpr unsigned char kRefused = 0xFA;    // the transceiver refused it ("NG")
// In the first data byte of an answer: nothing to report (a blank memory channel).
inline constexpr unsigned char kNoData = 0xFF;

// FA to FE: the bytes a frame may not carry as data.
[[nodiscard]] constexpr bool IsLinkCode(unsigned char byte) {
  return byte >= kRefused && byte <= kPreamble;
}
// The first character of a text whose byte is a link code, or the empty text.
std::string FirstLinkCodeCharacter(const std::string& text);

// --- Addresses ---------------------------------------------------------------------------
inline constexpr unsigned char kRigAddress = 0x64;
inline constexpr unsigned char kControllerAddress = 0xE0;
// What the transceiver sends on its own (transceive) goes to every station.
inline constexpr unsigned char kBroadcastAddress = 0x00;

// --- Commands ----------------------------------------------------------------------------
// Broadcast by the transceiver when its front panel changes the frequency or the mode.
inline constexpr unsigned char kFrequencyBroadcast = 0x00;
inline constexpr unsigned char kModeBroadcast = 0x01;
inline constexpr unsigned char kReadBandEdges = 0x02;
inline constexpr unsigned char kReadFrequency = 0x03;
inline constexpr unsigned char kReadMode = 0x04;
inline constexpr unsigned char kSetFrequency = 0x05;
inline constexpr unsigned char kSetMode = 0x06;       // mode [filter]
inline constexpr unsigned char kSelectVfo = 0x07;     // alone: VFO mode; or a sub-command
inline constexpr unsigned char kSelectMemory = 0x08;  // alone: memory mode; or a channel code
inline constexpr unsigned char kMemoryWrite = 0x09;   // VFO into the memory channel
inline constexpr unsigned char kMemoryToVfo = 0x0A;
inline constexpr unsigned char kMemoryClear = 0x0B;
inline constexpr unsigned char kSplit = 0x0F;           // 00 off, 01 on
inline constexpr unsigned char kAntenna = 0x12;         // alone: read; 00 or 01: select
inline constexpr unsigned char kVoice = 0x13;           // 00: announce
inline constexpr unsigned char kLevel = 0x14;           // 01: audio level
inline constexpr unsigned char kMeter = 0x15;           // 01 squelch, 02 S-meter
inline constexpr unsigned char kIdentity = 0x19;        // 00: the transceiver's address
inline constexpr unsigned char kMemoryContents = 0x1A;  // 00: a channel; 05: settings
inline constexpr unsigned char kRxTx = 0x1C;            // 00: receive or transmit

// Sub-commands, after the command they belong to.
inline constexpr unsigned char kVfoExchange = 0xB0;  // after 07
inline constexpr unsigned char kVfoEqualize = 0xB1;
inline constexpr unsigned char kDualWatchOff = 0xC0;
inline constexpr unsigned char kDualWatchOn = 0xC1;
inline constexpr unsigned char kMainReceiver = 0xD0;
inline constexpr unsigned char kSubReceiver = 0xD1;
inline constexpr unsigned char kAudioLevel = 0x01;    // after 14
inline constexpr unsigned char kSquelchState = 0x01;  // after 15
inline constexpr unsigned char kSMeter = 0x02;
inline constexpr unsigned char kReadIdentity = 0x00;   // after 19
inline constexpr unsigned char kMemoryChannel = 0x00;  // after 1A
inline constexpr unsigned char kSettings = 0x05;       // after 1A, then one of:
inline constexpr unsigned char kCallSignSetting = 0x15;
inline constexpr unsigned char kClockSetting = 0x16;
inline constexpr unsigned char kReceiveTransmit = 0x00;  // after 1C, then:
inline constexpr unsigned char kReceive = 0x00;
inline constexpr unsigned char kTransmit = 0x01;
inline constexpr unsigned char kVoiceAll = 0x00;  // after 13

// The reply to the identity query: its own echo (7 bytes), then the answer (8).
inline constexpr std::size_t kIdentityReplyLength = 15;

// Command bytes as a byte string: Bytes({kMeter, kSquelchState}).
std::string Bytes(std::initializer_list<unsigned char> bytes);

}  // namespace tavrin::civ
