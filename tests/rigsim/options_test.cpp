// SPDX-License-Identifier: GPL-3.0-or-later
// rigsim's command line: the fault options a person or a test puts on the line, and the
// refusals of values that make no sense.
#include "sim/rigsim/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin::rigsim {
namespace {

using Kind = sim::AnswerFault::Kind;

struct Accepted {
  std::vector<std::string> arguments;
  Options expected;
};

Options With(void (*change)(Options&)) {
  Options options;
  change(options);
  return options;
}

TEST(RigsimOptionsTest, FaultOptionsAreRead) {
  const std::vector<Accepted> cases = {
      {{}, Options{}},
      {{"--pull-at", "2.5"}, With([](Options& o) { o.pullAtMicros = 2'500'000; })},
      {{"--pull-after-frames", "7"}, With([](Options& o) { o.pullAfterFrames = 7; })},
      {{"--pull-after-frames", "0"}, With([](Options& o) { o.pullAfterFrames = 0; })},
      {{"--replug-after", "1"}, With([](Options& o) { o.replugAfterMicros = 1'000'000; })},
      {{"--pull-at", "3", "--replug-after", "0.5"}, With([](Options& o) {
         o.pullAtMicros = 3'000'000;
         o.replugAfterMicros = 500'000;
       })},
      {{"--answer-delay", "40"}, With([](Options& o) { o.answerDelayMicros = 40'000; })},
      {{"--answer-delay", "0.52"}, With([](Options& o) { o.answerDelayMicros = 520; })},
      {{"--alter-memory", "5,change,9,a0"}, With([](Options& o) {
         o.memoryFaults = {{5, {Kind::ChangeByte, 9, 0xA0}, 1}};
       })},
      {{"--alter-memory", "101,insert,0,FE,-1", "--alter-memory", "1,drop,12,00,3"},
       With([](Options& o) {
         o.memoryFaults = {{101, {Kind::InsertByte, 0, 0xFE}, -1}, {1, {Kind::DropByte, 12, 0}, 3}};
       })},
      {{"--noise", "1500,FE FE 00 12"}, With([](Options& o) {
         o.noise = {{1'500'000, std::string("\xFE\xFE\x00\x12", 4)}};
       })},
      {{"--noise", "0,fd", "--noise", "20,0102"}, With([](Options& o) {
         o.noise = {{0, "\xFD"}, {20'000, "\x01\x02"}};
       })},
      {{"--stray-bytes", "500"}, With([](Options& o) {
         o.strayBytes = {{500, 0, -1}};
       })},
      {{"--stray-bytes", "20,2,10.5", "--flood", "line"}, With([](Options& o) {
         o.strayBytes = {{20, 2'000'000, 10'500'000}};
         o.floods = {{0, 0, -1}};
       })},
      {{"--flood", "25,1", "--flood", "2.5,0,3"}, With([](Options& o) {
         o.floods = {{25'000, 1'000'000, -1}, {2'500, 0, 3'000'000}};
       })},
      {{"--headless", "--link", "com2", "--baud", "9600"}, With([](Options& o) {
         o.headless = true;
         o.link = "com2";
         o.baud = 9600;
       })},
  };
  for (const Accepted& c : cases) {
    std::string error;
    const auto options = ParseOptions(c.arguments, error);
    ASSERT_TRUE(options.has_value()) << testing::PrintToString(c.arguments) << ": " << error;
    EXPECT_EQ(options->pullAtMicros, c.expected.pullAtMicros);
    EXPECT_EQ(options->pullAfterFrames, c.expected.pullAfterFrames);
    EXPECT_EQ(options->replugAfterMicros, c.expected.replugAfterMicros);
    EXPECT_EQ(options->answerDelayMicros, c.expected.answerDelayMicros);
    EXPECT_EQ(options->memoryFaults.size(), c.expected.memoryFaults.size());
    for (std::size_t i = 0; i < options->memoryFaults.size() && i < c.expected.memoryFaults.size();
         ++i) {
      const MemoryAnswerFault& got = options->memoryFaults[i];
      const MemoryAnswerFault& want = c.expected.memoryFaults[i];
      EXPECT_EQ(got.channel, want.channel);
      EXPECT_EQ(got.fault.kind, want.fault.kind);
      EXPECT_EQ(got.fault.position, want.fault.position);
      EXPECT_EQ(got.fault.byte, want.fault.byte);
      EXPECT_EQ(got.times, want.times);
    }
    EXPECT_EQ(options->noise, c.expected.noise);
    EXPECT_EQ(options->strayBytes, c.expected.strayBytes);
    EXPECT_EQ(options->floods, c.expected.floods);
    EXPECT_EQ(options->link, c.expected.link);
    EXPECT_EQ(options->baud, c.expected.baud);
    EXPECT_EQ(options->headless, c.expected.headless);
  }
}

TEST(RigsimOptionsTest, BadValuesAreRefusedWithTheOptionNamed) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--pull-at", "-1"}, "--pull-at"},
      {{"--pull-at", "soon"}, "--pull-at"},
      {{"--pull-at", "1e30"}, "--pull-at"},
      {{"--pull-after-frames", "-3"}, "--pull-after-frames"},
      {{"--pull-after-frames", "2.5"}, "--pull-after-frames"},
      {{"--replug-after", ""}, "--replug-after"},
      {{"--answer-delay", "nan"}, "--answer-delay"},
      {{"--alter-memory", "0,change,9,a0"}, "--alter-memory"},
      {{"--alter-memory", "102,change,9,a0"}, "--alter-memory"},
      {{"--alter-memory", "5,swap,9,a0"}, "--alter-memory"},
      {{"--alter-memory", "5,change,-1,a0"}, "--alter-memory"},
      {{"--alter-memory", "5,change,9,100"}, "--alter-memory"},
      {{"--alter-memory", "5,change,9,a0,0"}, "--alter-memory"},
      {{"--alter-memory", "5,change,9"}, "--alter-memory"},
      {{"--noise", "FE FE"}, "--noise"},
      {{"--noise", "10,F"}, "--noise"},
      {{"--noise", "10,GG"}, "--noise"},
      {{"--noise", "10,"}, "--noise"},
      {{"--stray-bytes", "0"}, "--stray-bytes"},
      {{"--stray-bytes", "fast"}, "--stray-bytes"},
      {{"--stray-bytes", "500,1,2,3"}, "--stray-bytes"},
      {{"--stray-bytes", "500,-1"}, "--stray-bytes"},
      {{"--flood", "0"}, "--flood"},
      {{"--flood", "lines"}, "--flood"},
      {{"--flood", "line,x"}, "--flood"},
      {{"--baud", "50"}, "--baud"},
      {{"--pull-at", "1", "--pull-after-frames", "2"}, "exclude each other"},
      {{"--pull-at"}, "unknown option"},
      {{"--unplug"}, "unknown option"},
  };
  for (const auto& [arguments, named] : cases) {
    std::string error;
    EXPECT_FALSE(ParseOptions(arguments, error).has_value()) << testing::PrintToString(arguments);
    EXPECT_NE(error.find(named), std::string::npos)
        << testing::PrintToString(arguments) << ": " << error;
  }
}

TEST(RigsimOptionsTest, HelpNamesEveryFaultOption) {
  const std::string usage = Usage();
  for (const char* option :
       {"--pull-at", "--pull-after-frames", "--replug-after", "--alter-memory", "--answer-delay",
        "--noise", "--stray-bytes", "--flood", "SIGUSR1", "SIGUSR2", "Replug cable"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace tavrin::rigsim
