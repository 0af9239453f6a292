// SPDX-License-Identifier: GPL-3.0-or-later
// The one reading of the serial settings string, which the serial port, the simulated line and
// the link's quiet time all follow.
#include "platform/serial_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin {
namespace {

TEST(SerialSettingsTest, ParsesTheSettingsString) {
  struct Case {
    std::string text;
    bool valid;
    int baud;
    char parity;
    int dataBits;
    int stopHalves;
    int bitsPerByte;
  };
  const std::vector<Case> cases = {
      {"19200,N,8,1", true, 19200, 'N', 8, 2, 10},
      {"9600,e,7,2", true, 9600, 'E', 7, 4, 11},
      {"4800,O,5,1.5", true, 4800, 'O', 5, 3, 9},
      {" 1200 , M , 6 , 1 ", true, 1200, 'M', 6, 2, 9},
      {"300,S,8,1", true, 300, 'S', 8, 2, 11},
      {"256000,N,8,1", true, 256000, 'N', 8, 2, 10},
      {"", false, 0, 0, 0, 0, 0},
      {"19200,N,8", false, 0, 0, 0, 0, 0},
      {"19200,N,8,1,1", false, 0, 0, 0, 0, 0},
      {"fast,N,8,1", false, 0, 0, 0, 0, 0},
      {",N,8,1", false, 0, 0, 0, 0, 0},
      {"0,N,8,1", false, 0, 0, 0, 0, 0},
      {"-9600,N,8,1", false, 0, 0, 0, 0, 0},
      {"12345,N,8,1", false, 0, 0, 0, 0, 0},  // no speed the serial control offers
      {"99999999999,N,8,1", false, 0, 0, 0, 0, 0},
      {"19200,Q,8,1", false, 0, 0, 0, 0, 0},
      {"19200,,8,1", false, 0, 0, 0, 0, 0},
      {"19200,N,4,1", false, 0, 0, 0, 0, 0},
      {"19200,N,9,1", false, 0, 0, 0, 0, 0},
      {"19200,N,8,3", false, 0, 0, 0, 0, 0},
      {"19200,N,8,1.0", false, 0, 0, 0, 0, 0},
      {"19200;N;8;1", false, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseSerialSettings(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid) << "'" << c.text << "'";
    if (!parsed) continue;
    EXPECT_EQ(parsed->baud, c.baud) << c.text;
    EXPECT_EQ(parsed->parity, c.parity) << c.text;
    EXPECT_EQ(parsed->dataBits, c.dataBits) << c.text;
    EXPECT_EQ(parsed->stopHalves, c.stopHalves) << c.text;
    EXPECT_EQ(parsed->BitsPerByte(), c.bitsPerByte) << c.text;
  }
}

}  // namespace
}  // namespace tavrin
