// The radio window's command table: every control under its design name and exact caption,
// and the frame (or frames) a click on it puts on the bus.
#include <gtest/gtest.h>

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
  const char* caption;
  std::vector<std::string> answers;  // typed into the prompts, in order
  std::vector<std::string> frames;   // what goes out
};

std::string FrameWith(std::initializer_list<int> head, const std::string& text) {
  return Bytes({0xFE, 0xFE, 0x64, 0xE0}) + Bytes(head) + text + Bytes({0xFD});
}

// After the synchronisation the mode field shows "USB", so the filters send mode byte 01. The
// commands that ask for record values ("Mset", "SetFq", "SetMd") are covered with their prompts
// in the memory command tests.
const std::vector<ControlCase>& Cases() {
  static const std::vector<ControlCase> cases = {
      {"Command3", "Ant", {}, {Frame({0x12})}},
      {"Command4", "R/T", {}, {Frame({0x1C, 0x00})}},
      {"Option1", "Rx", {}, {Frame({0x1C, 0x00, 0x00})}},
      {"Option2", "Tx", {}, {Frame({0x1C, 0x00, 0x01})}},
      {"Option3", "Am", {}, {Frame({0x06, 0x02})}},
      {"Option4", "Fm", {}, {Frame({0x06, 0x05})}},
      {"Option5", "Usb", {}, {Frame({0x06, 0x01})}},
      {"Option6", "Lsb", {}, {Frame({0x06, 0x00})}},
      {"Option7", "Cw", {}, {Frame({0x06, 0x03})}},
      {"Option8", "Cwr", {}, {Frame({0x06, 0x07})}},
      {"Option9", "Rtty", {}, {Frame({0x06, 0x04})}},
      {"Option10", "Rttyr", {}, {Frame({0x06, 0x08})}},
      {"Option34", "F1", {}, {Frame({0x06, 0x01, 0x01})}},
      {"Option35", "F2", {}, {Frame({0x06, 0x01, 0x02})}},
      {"Option36", "F3", {}, {Frame({0x06, 0x01, 0x03})}},
      {"Option11", "Ant1", {}, {Frame({0x12, 0x00})}},
      {"Option12", "Ant2", {}, {Frame({0x12, 0x01})}},
      {"Option13", "Du0", {}, {Frame({0x07, 0xC0})}},
      {"Option14", "Du1", {}, {Frame({0x07, 0xC1})}},
      {"Option15", "Spl0", {}, {Frame({0x0F, 0x00})}},
      {"Option16", "Spl1", {}, {Frame({0x0F, 0x01})}},
      {"Option17", "Vfo", {}, {Frame({0x07})}},
      {"Option18", "Mem", {}, {Frame({0x08})}},
      {"Option19", "Main", {}, {Frame({0x07, 0xD0})}},
      {"Option20", "Sub", {}, {Frame({0x07, 0xD1})}},
      {"Option21", "Chng", {}, {Frame({0x07, 0xB0})}},
      {"Option22", "Equal", {}, {Frame({0x07, 0xB1})}},
      {"Option23", "Msel", {"5"}, {Frame({0x08, 0x00, 0x05}), Frame({0x1A, 0x00, 0x00, 0x05})}},
      {"Option24", "M>V", {}, {Frame({0x0A})}},
      {"Option25", "Mrd", {"5"}, {Frame({0x1A, 0x00, 0x00, 0x05})}},
      {"Option26", "Mwr", {}, {Frame({0x09})}},
      {"Option27", "Mset", {}, {}},  // frames: see FramedCases
      {"Option28", "Mclr", {}, {Frame({0x0B})}},
      {"Option29", "SetFq", {}, {}},
      {"Option30", "SetMd", {}, {}},
      {"Option31", "OpFq", {}, {Frame({0x03})}},
      {"Option32", "OpMd", {}, {Frame({0x04})}},
      {"Option33", "Edge Freq", {}, {Frame({0x02})}},
      {"Command33",
       "Set Call ",
       {"ab1cd"},
       {FrameWith({0x1A, 0x05, 0x15}, "AB1CD     "), Frame({0x1A, 0x05, 0x15})}},
      {"Command32", "Call ", {}, {Frame({0x1A, 0x05, 0x15})}},
      {"Command35",
       "Set Time",
       {"07:05"},
       {Frame({0x1A, 0x05, 0x16, 0x07, 0x05}), Frame({0x1A, 0x05, 0x16})}},
      {"Command34", "Time", {}, {Frame({0x1A, 0x05, 0x16})}},
      {"Command2", "Set Vol", {"25"}, {Frame({0x14, 0x01, 0x25})}},
      {"Command30", "Rig Id", {}, {Frame({0x19, 0x00})}},
      {"Command31", "Voice", {}, {Frame({0x13, 0x00})}},
      {"Command48", "S-Meter ", {}, {Frame({0x15, 0x02})}},
      {"Command47", "Squelch Status ", {}, {Frame({0x15, 0x01})}},
      {"Command44", "Auto Status Toggle", {}, {}},
      {"Command42", "Manual Commands  ", {"1a 05 00 15"}, {Frame({0x1A, 0x05, 0x00, 0x15})}},
      {"Command36", "Clear Status", {}, {}},
      {"Command1", "go to    Memory Window ", {}, {}},
      {"Command0", "Exit", {}, {}},
  };
  return cases;
}

TEST(CommandTableTest, EveryControlUnderItsDesignNameAndExactCaption) {
  const auto& table = RadioControls();
  ASSERT_EQ(table.size(), Cases().size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_STREQ(table[i].name, Cases()[i].name);
    EXPECT_STREQ(table[i].caption, Cases()[i].caption) << table[i].name;
    EXPECT_EQ(FindRadioControl(Cases()[i].name), &table[i]);
  }
  EXPECT_EQ(FindRadioControl("Option99"), nullptr);
}

TEST(CommandTableTest, OptionsAreFoundByCaption) {
  const struct {
    const char* caption;
    int option;
  } cases[] = {{"Rx", 1},  {"Usb", 5}, {"Rttyr", 10}, {"Ant2", 12}, {"Edge Freq", 33},
               {"F1", 34}, {"F3", 36}, {"Ant", 0},    {"USB", 0},   {"", 0}};
  for (const auto& c : cases)
    EXPECT_EQ(RadioMain::OptionByCaption(c.caption), c.option) << c.caption;
}

class CommandFramesTest : public ProgramFixture,
                          public ::testing::WithParamInterface<ControlCase> {};

TEST_P(CommandFramesTest, ClickSendsExactlyItsFrames) {
  const ControlCase& c = GetParam();
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

// The controls whose frames are listed here (all but the three record commands).
std::vector<ControlCase> FramedCases() {
  std::vector<ControlCase> framed;
  for (const ControlCase& c : Cases()) {
    const std::string name = c.name;
    if (name != "Option27" && name != "Option29" && name != "Option30") framed.push_back(c);
  }
  return framed;
}

INSTANTIATE_TEST_SUITE_P(RadioWindow, CommandFramesTest, ::testing::ValuesIn(FramedCases()),
                         [](const ::testing::TestParamInfo<ControlCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tavrin
