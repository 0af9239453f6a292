// SPDX-License-Identifier: GPL-3.0-or-later
// The radio window's command table: every control under its design name, and the frame (or
// frames) a click on it puts on the bus.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "radio/radio_main.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::Bytes;
using testing::Frame;
using testing::ProgramFixture;

struct ControlCase {
  const char* name;
  std::vector<std::string> frames;        // what goes out
  std::vector<std::string> answers = {};  // typed into the prompts, in order
};

std::string FrameWith(std::initializer_list<int> head, const std::string& text) {
  return Bytes({0xFE, 0xFE, 0x64, 0xE0}) + Bytes(head) + text + Bytes({0xFD});
}

// After the synchronisation the mode field shows "USB", so the filters send mode byte 01. The
// commands that ask for record values ("Mset", "SetFq", "SetMd") are covered with their prompts
// in the memory command tests.
std::vector<ControlCase> Cases() {
  return {
      {"Command3", {Frame({0x12})}},
      {"Command4", {Frame({0x1C, 0x00})}},
      {"Option1", {Frame({0x1C, 0x00, 0x00})}},
      {"Option2", {Frame({0x1C, 0x00, 0x01})}},
      {"Option3", {Frame({0x06, 0x02})}},
      {"Option4", {Frame({0x06, 0x05})}},
      {"Option5", {Frame({0x06, 0x01})}},
      {"Option6", {Frame({0x06, 0x00})}},
      {"Option7", {Frame({0x06, 0x03})}},
      {"Option8", {Frame({0x06, 0x07})}},
      {"Option9", {Frame({0x06, 0x04})}},
      {"Option10", {Frame({0x06, 0x08})}},
      {"Option34", {Frame({0x06, 0x01, 0x01})}},
      {"Option35", {Frame({0x06, 0x01, 0x02})}},
      {"Option36", {Frame({0x06, 0x01, 0x03})}},
      {"Option11", {Frame({0x12, 0x00})}},
      {"Option12", {Frame({0x12, 0x01})}},
      {"Option13", {Frame({0x07, 0xC0})}},
      {"Option14", {Frame({0x07, 0xC1})}},
      {"Option15", {Frame({0x0F, 0x00})}},
      {"Option16", {Frame({0x0F, 0x01})}},
      {"Option17", {Frame({0x07})}},
      {"Option18", {Frame({0x08})}},
      {"Option19", {Frame({0x07, 0xD0})}},
      {"Option20", {Frame({0x07, 0xD1})}},
      {"Option21", {Frame({0x07, 0xB0})}},
      {"Option22", {Frame({0x07, 0xB1})}},
      {"Option23", {Frame({0x08, 0x00, 0x05}), Frame({0x1A, 0x00, 0x00, 0x05})}, {"5"}},
      {"Option24", {Frame({0x0A})}},
      {"Option25", {Frame({0x1A, 0x00, 0x00, 0x05})}, {"5"}},
      {"Option26", {Frame({0x09})}},
      {"Option28", {Frame({0x0B})}},
      {"Option31", {Frame({0x03})}},
      {"Option32", {Frame({0x04})}},
      {"Option33", {Frame({0x02})}},
      {"Command33",
       {FrameWith({0x1A, 0x05, 0x15}, "AB1CD     "), Frame({0x1A, 0x05, 0x15})},
       {"ab1cd"}},
      {"Command32", {Frame({0x1A, 0x05, 0x15})}},
      {"Command35", {Frame({0x1A, 0x05, 0x16, 0x07, 0x05}), Frame({0x1A, 0x05, 0x16})}, {"07:05"}},
      {"Command34", {Frame({0x1A, 0x05, 0x16})}},
      {"Command2", {Frame({0x14, 0x01, 0x25})}, {"25"}},
      {"Command30", {Frame({0x19, 0x00})}},
      {"Command31", {Frame({0x13, 0x00})}},
      {"Command48", {Frame({0x15, 0x02})}},
      {"Command47", {Frame({0x15, 0x01})}},
      {"Command44", {}},
      {"Command42", {Frame({0x1A, 0x05, 0x00, 0x15})}, {"1a 05 00 15"}},
      {"Command36", {}},
      {"Command1", {}},
      {"Command0", {}}};
}

TEST(CommandTableTest, OptionsAreFoundByCaption) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"Rx", 1},  {"Usb", 5}, {"Rttyr", 10}, {"Ant2", 12}, {"Edge Freq", 33},
      {"F1", 34}, {"F3", 36}, {"Ant", 0},    {"USB", 0},   {"", 0}};
  for (const auto& [caption, option] : cases)
    EXPECT_EQ(RadioMain::OptionByCaption(caption), option) << caption;
}

void PrintTo(const ControlCase& c, std::ostream* out) { *out << c.name; }

// Each control on a program of its own, so that no click changes what the next one sees.
class CommandFramesTest : public ProgramFixture,
                          public ::testing::WithParamInterface<ControlCase> {};

TEST_P(CommandFramesTest, ClickSendsExactlyItsFrames) {
  const ControlCase& c = GetParam();
  ASSERT_NE(FindRadioControl(c.name), nullptr);
  WriteConfig();
  rig.FillDemoChannels();
  ControlProgram& p = Start();
  ASSERT_EQ(p.radio.Text4, "USB");
  ClearSent();
  for (const std::string& answer : c.answers) desktop.Type(answer);
  p.radio.Click(c.name);
  Advance(60);
  EXPECT_EQ(Sent(), c.frames);
  EXPECT_EQ(desktop.PendingInputs(), 0u);
  EXPECT_EQ(desktop.ended, std::string(c.name) == "Command0");
}

INSTANTIATE_TEST_SUITE_P(RadioWindow, CommandFramesTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrin
