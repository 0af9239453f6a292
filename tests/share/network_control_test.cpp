// SPDX-License-Identifier: GPL-3.0-or-later
// The control port on the in-process transceiver and the virtual clock: requests served one
// exchange at a time through the link, shown in the radio window, waiting for the start-up
// synchronisation and the memory window's sequences, and clients that misbehave.
#include "share/network_control.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>

#include "share/fake_listener.h"
#include "support/program_fixture.h"

namespace tavrin::share {
namespace {

using tavrin::testing::Frame;
using testing::FakeListener;

class NetworkControlTest : public tavrin::testing::ProgramFixture {
 protected:
  // The program started and synchronised, sharing on, nothing sent since.
  void StartSharing(int settleMs = 400) {
    WriteConfig();
    Start(Build::Tavrin, settleMs);
    control = std::make_unique<NetworkControl>(*program, listener);
    control->ToggleNetworkControl();
    ClearSent();
  }
  // A client's request line and the time for its exchange.
  std::string Ask(int client, const std::string& line, int ms = 60) {
    listener.Say(client, line + "\n");
    Advance(ms);
    return listener.Heard(client);
  }

  FakeListener listener;
  std::unique_ptr<NetworkControl> control;
};

TEST_F(NetworkControlTest, RequestsReachTheTransceiverAndTheWindowShowsThem) {
  StartSharing();
  listener.Connect(1);
  const struct {
    const char* line;
    const char* answer;
    std::vector<std::string> frames;
    const char* frequencyField;  // radio Text1 afterwards, or nullptr: not checked
  } cases[] = {
      {"f", "14195000\n", {Frame({0x03})}, "14.195.0"},
      {"F 7074000",
       "RPRT 0\n",
       {Frame({0x05, 0x00, 0x40, 0x07, 0x07, 0x00}), Frame({0x03})},
       "07.074.0"},
      {"f", "7074000\n", {}, "07.074.0"},  // the transceiver told it with the setting
      {"M LSB 2400", "RPRT 0\n", {Frame({0x06, 0x00, 0x02}), Frame({0x04})}, nullptr},
      {"m", "LSB\n2400\n", {}, nullptr},
      {"T 1", "RPRT 0\n", {Frame({0x1C, 0x00, 0x01})}, nullptr},
      {"t", "1\n", {Frame({0x1C, 0x00})}, nullptr},
      {"T 0", "RPRT 0\n", {Frame({0x1C, 0x00, 0x00})}, nullptr},
      {"S 1 Sub", "RPRT 0\n", {Frame({0x0F, 0x01})}, nullptr},
      {"s", "1\nSub\n", {Frame({0x0F})}, nullptr},
      {"V Sub", "RPRT 0\n", {Frame({0x07, 0xD1})}, " "},  // the sub receiver, not read yet
      {"V Main", "RPRT 0\n", {Frame({0x07, 0xD0})}, "07.074.0"},
      {"V currVFO", "RPRT 0\n", {}, nullptr},
      {"\\dump_state", nullptr, {}, nullptr},
      {"F 20000",
       "RPRT -9\n",
       {Frame({0x05, 0x00, 0x00, 0x02, 0x00, 0x00}), Frame({0x03})},
       nullptr},
  };
  for (const auto& c : cases) {
    const std::string heard = Ask(1, c.line);
    if (c.answer != nullptr) {
      EXPECT_EQ(heard, c.answer) << c.line;
    }
    EXPECT_EQ(Sent(), c.frames) << c.line;
    if (c.frequencyField != nullptr) {
      EXPECT_EQ(program->radio.Text1, c.frequencyField) << c.line;
    }
    ClearSent();
  }
  EXPECT_EQ(rig.Mode(), sim::kModeLsb);
  EXPECT_FALSE(rig.Transmitting());
  EXPECT_TRUE(rig.Split());
  EXPECT_EQ(program->radio.Text4, "LSB") << "the mode a client set shows";
  EXPECT_NE(program->radio.Text7.find("STATUS = "), std::string::npos);
}

// What a client set moves the window's option marks as the operator's press would, and
// nothing more goes to the transceiver for them.
TEST_F(NetworkControlTest, TheOptionMarksFollowWhatAClientSet) {
  StartSharing();
  listener.Connect(1);
  RadioMain& radio = program->radio;
  const auto marked = [&](const char* caption) {
    return radio.OptionMarked[static_cast<std::size_t>(RadioMain::OptionByCaption(caption))];
  };
  ASSERT_TRUE(marked("Usb") && marked("F2") && marked("Rx"));
  const struct {
    const char* line;
    std::vector<const char*> marks, unmarks;
    std::vector<std::string> frames;
  } cases[] = {
      {"M CW 250", {"Cw", "F3"}, {"Usb", "F2"}, {Frame({0x06, 0x03, 0x03}), Frame({0x04})}},
      {"T 1", {"Tx"}, {"Rx"}, {Frame({0x1C, 0x00, 0x01})}},
      {"T 0", {"Rx"}, {"Tx"}, {Frame({0x1C, 0x00, 0x00})}},
      // A mode the transceiver did not take moves nothing.
      {"M AM 3000", {"Cw", "F3"}, {"Am"}, {Frame({0x06, 0x02, 0x03}), Frame({0x04})}},
  };
  for (const auto& c : cases) {
    if (std::string(c.line) == "M AM 3000") rig.SetSilent(true);
    Ask(1, c.line);
    for (const char* caption : c.marks)
      EXPECT_TRUE(marked(caption)) << c.line << " " << caption << " [" << radio.Text4 << "]";
    for (const char* caption : c.unmarks) EXPECT_FALSE(marked(caption)) << c.line << " " << caption;
    Advance(100);
    EXPECT_EQ(Sent(), c.frames) << c.line;
    ClearSent();
  }
}

// What loggers and digital-mode programs ask that the port once refused or misread: several
// commands on one line (CQRLOG), the capabilities dump (newer CQRLOG), split (WSJT-X, loggers
// of split contacts), the named error answer and the VFO summary (Log4OM). The answers are
// those of rigctld -m 3047 on the same transceiver.
TEST_F(NetworkControlTest, ClientsRequestsThatWereRefusedAreAnsweredAsRigctldAnswersThem) {
  StartSharing();
  listener.Connect(1);
  const std::string ack = Frame({0xFB});
  const struct {
    const char* line;
    const char* answer;
    std::vector<std::string> frames;
  } cases[] = {
      {"fmv", "14195000\nUSB\n2400\nRPRT -11\n", {Frame({0x03}), Frame({0x04})}},
      // Frequency and mode as the transceiver just told them: nothing more to ask.
      {"+f +m +v",
       "get_freq:\nFrequency: 14195000\nRPRT 0\nget_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n"
       "get_vfo:\nRPRT -11\n",
       {}},
      {"f;m", "14195000\nget_mode:;Mode: USB;Passband: 2400;RPRT 0\n", {}},
      {"F 7074000 f", "RPRT 0\n7074000\n",
       {Frame({0x05, 0x00, 0x40, 0x07, 0x07, 0x00}), Frame({0x03})}},
      {"i", "7050000\n", {Frame({0x07, 0xB0}), Frame({0x03}), Frame({0x07, 0xB0})}},
      {"x", "LSB\n0\n", {Frame({0x07, 0xB0}), Frame({0x04}), Frame({0x07, 0xB0})}},
      {"I 14075500", "RPRT 0\n",
       {Frame({0x07, 0xB0}), Frame({0x05, 0x00, 0x55, 0x07, 0x14, 0x00}), Frame({0x03}),
        Frame({0x07, 0xB0})}},
      {"X USB 2400", "RPRT 0\n",
       {Frame({0x07, 0xB0}), Frame({0x06, 0x01, 0x02}), Frame({0x04}), Frame({0x07, 0xB0})}},
      {"+i", "get_split_freq:\nTX Frequency: 14075500\nRPRT 0\n",
       {Frame({0x07, 0xB0}), Frame({0x03}), Frame({0x07, 0xB0})}},
      {"+J 0", "set_rit: 0\nRPRT -11\n", {}},
      {"\\get_vfo_info Main", "7074000\nUSB\n2400\n0\n0\n",
       {Frame({0x03}), Frame({0x04}), Frame({0x0F})}},
      {"+\\get_vfo_info VFOB",
       "get_vfo_info: VFOB\nFreq: 14075500\nMode: USB\nWidth: 2400\nSplit: 0\nSatMode: 0\nRPRT 0\n",
       {Frame({0x07, 0xD1}), Frame({0x03}), Frame({0x07, 0xD1}), Frame({0x04}), Frame({0x07, 0xD0}),
        Frame({0x0F})}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Ask(1, c.line, 200), c.answer) << c.line;
    EXPECT_EQ(Sent(), c.frames) << c.line;
    ClearSent();
  }
  EXPECT_EQ(rig.SubVfo().frequencyHz, 14'075'500);
  EXPECT_EQ(rig.SubVfo().mode, sim::kModeUsb);
  EXPECT_EQ(rig.MainVfo().frequencyHz, 7'074'000) << "the main receiver is left as it was";
  EXPECT_FALSE(rig.SubSelected());
  EXPECT_EQ(program->radio.Text1, "07.074.0") << "the split values are not the operating ones";

  // Newer CQRLOG opens with the capabilities and waits for these lines.
  const std::string caps = Ask(1, "+\\dump_caps");
  for (const char* line : {"dump_caps:\n", "\nCan set Power Stat:\tN\n", "\nCan get VFO:\tN\n",
                           "\nCan send Morse:\tN\n", "\nCan send Voice:\tN\n"})
    EXPECT_NE(caps.find(line), std::string::npos) << line;
  EXPECT_EQ(caps.substr(caps.size() - 7), "RPRT 0\n");
}

// Hamlib's clients read both receivers when they open the rig; the panel then shows the main
// receiver again, where the operator is.
TEST_F(NetworkControlTest, AfterAClientReadTheSubReceiverThePanelShowsTheMainOne) {
  StartSharing();
  listener.Connect(1);
  for (const char* line : {"\\chk_vfo", "\\dump_state", "V Main", "f", "V currVFO", "V Sub", "f",
                           "V currVFO", "s", "V Main", "m", "V currVFO", "\\get_powerstat"})
    Ask(1, line);
  EXPECT_EQ(rig.FrequencyHz(), 14'195'000);
  EXPECT_EQ(program->radio.Text1, "14.195.0");
  EXPECT_EQ(program->station.FrequencyText, "14.195.0");
  EXPECT_EQ(program->radio.Text4, "USB");
  // A client that stays on the sub receiver has the panel show it, as the transceiver does.
  Ask(1, "V Sub");
  EXPECT_EQ(program->radio.Text1, "07.050.0");
  EXPECT_EQ(program->radio.Text4, " ") << "its mode was never read";
  Ask(1, "m");
  EXPECT_EQ(program->radio.Text4, "LSB");
  Ask(1, "V Main");
  EXPECT_EQ(program->radio.Text1, "14.195.0");
  EXPECT_EQ(program->radio.Text4, "USB");
}

// While the transceiver's broadcasts are followed, "f" and "m" are answered from what it told
// (by a broadcast, a read, a setting's read-back) without an exchange, and never stale: a dial
// turned just before is in the answer. Any doubt, or news older than two seconds, sends the
// exchange as before; a setting is always sent.
TEST_F(NetworkControlTest, FrequencyAndModeComeFromWhatTheTransceiverToldUnlessInDoubt) {
  StartSharing();
  listener.Connect(1);
  Ask(1, "fmv");  // read once
  ClearSent();
  const std::vector<std::string> read{Frame({0x03})};
  const struct {
    const char* what;
    std::function<void()> before;
    const char* line;
    const char* answer;
    std::vector<std::string> frames;
  } cases[] = {
      {"told by the reads", [] {}, "f m", "14195000\nUSB\n2400\n", {}},
      {"the dial turned, its broadcast on the line", [&] { rig.TurnDial(1000); Advance(1); },
       "f", "14196000\n", read},
      {"the dial turned, its broadcast in", [&] { rig.TurnDial(1000); Advance(10); }, "f",
       "14197000\n", {}},
      {"a mode picked on the panel", [&] { rig.ChangeMode(sim::kModeCw, 3); Advance(60); }, "m",
       "CW\n250\n", {}},
      {"a setting that changes nothing is sent", [] {}, "F 14197000", "RPRT 0\n",
       {Frame({0x05, 0x00, 0x70, 0x19, 0x14, 0x00}), Frame({0x03})}},
      {"news older than two seconds", [&] { Advance(ToldState::kFreshMs); }, "f", "14197000\n",
       read},
      {"the operator's memory mode (a blank channel)", [&] { program->radio.Mem(); Advance(100); },
       "f", "RPRT -9\n", read},
      {"the operator's VFO mode", [&] { program->radio.Click("Option17"); Advance(100); }, "f",
       "14197000\n", read},
      {"a client's receiver", [&] { Ask(1, "V Sub"); ClearSent(); }, "f", "7050000\n", read},
      {"back on the main receiver", [&] { Ask(1, "V Main"); ClearSent(); }, "f", "14197000\n",
       read},
      {"auto status off", [&] { program->radio.ToggleAutoStatus(); }, "f", "14197000\n", read},
      {"auto status on again", [&] { program->radio.ToggleAutoStatus(); }, "f", "14197000\n", {}},
      {"the dial turned while PTT was asked", [&] {
         listener.Say(1, "t\n");
         Advance(3);
         rig.TurnDial(1000);
         Advance(100);
         listener.Heard(1);
       },
       "f", "14198000\n", {}},
      {"noise on the line", [&] { serial.Line().AddNoise(std::string("\xFE\x13", 2), 0); Advance(10); },
       "f", "14198000\n", read},
      {"the cable pulled and back", [&] {
         serial.Vanish();
         Advance(100);
         serial.PlugBackIn();
         Advance(3000);
       }, "f", "14198000\n", read},
  };
  for (const auto& c : cases) {
    c.before();
    ClearSent();
    EXPECT_EQ(Ask(1, c.line, 100), c.answer) << c.what;
    EXPECT_EQ(Sent(), c.frames) << c.what;
  }
}

// A transceiver whose CI-V transceive is off says nothing when its dial turns: once a read
// finds it elsewhere than it told, every "f" is read until a broadcast is heard again.
TEST_F(NetworkControlTest, AReadThatFindsTheDialMovedUnheardEndsTheAnswersFromWhatWasTold) {
  StartSharing();
  listener.Connect(1);
  rig.SetTransceive(false);
  Ask(1, "f");
  rig.TurnDial(500);
  Advance(ToldState::kFreshMs);
  ClearSent();
  const std::vector<std::string> read{Frame({0x03})};
  for (const auto& [line, answer, frames] :
       {std::tuple{"f", "14195500\n", read}, std::tuple{"f", "14195500\n", read}}) {
    EXPECT_EQ(Ask(1, line), answer);
    EXPECT_EQ(Sent(), frames);
    ClearSent();
  }
  rig.SetTransceive(true);
  rig.TurnDial(500);
  Advance(10);
  EXPECT_EQ(Ask(1, "f"), "14196000\n");
  EXPECT_TRUE(Sent().empty()) << "a broadcast is heard again";
}

TEST_F(NetworkControlTest, ClientsAreServedFirstComeFirstServedOneExchangeAtATime) {
  StartSharing();
  for (const int client : {1, 2, 3}) listener.Connect(client);
  listener.Say(2, "f\n");
  listener.Say(1, "F 7050000\n");
  listener.Say(3, "m\n");
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x03})}) << "one exchange on the line";
  // Each exchange ends as soon as its answer is in, and the next goes out then.
  std::vector<std::pair<int, std::string>> heard;
  for (int ms = 1; ms <= 100 && heard.size() < 3; ++ms) {
    Advance(1);
    for (const int client : {1, 2, 3}) {
      if (std::string answer = listener.Heard(client); !answer.empty())
        heard.emplace_back(client, answer);
    }
  }
  EXPECT_EQ(heard, (std::vector<std::pair<int, std::string>>{
                       {2, "14195000\n"}, {1, "RPRT 0\n"}, {3, "USB\n2400\n"}}));
  EXPECT_EQ(Sent(),
            (std::vector<std::string>{Frame({0x03}), Frame({0x05, 0x00, 0x00, 0x05, 0x07, 0x00}),
                                      Frame({0x03}), Frame({0x04})}));
}

// A network exchange ends when every frame it sent has its answer; a transceiver that says
// nothing is given the whole reply window. The panel shows what the window would have shown.
TEST_F(NetworkControlTest, AnExchangeEndsWithItsLastAnswerOrTheReplyWindow) {
  StartSharing();
  listener.Connect(1);
  // Milliseconds until the client hears its answer, at most 100.
  std::string answer;
  const auto answered = [&](const std::string& line) {
    listener.Say(1, line);
    for (int ms = 1; ms <= 100; ++ms) {
      Advance(1);
      answer = listener.Heard(1);
      if (!answer.empty()) return ms;
    }
    return 1000;
  };
  struct Case {
    const char* line;
    int atLeastMs, atMostMs;  // 19200 baud: about 0.52 ms a byte, out, echoed and answered
    const char* frequencyField;
  };
  const Case cases[] = {{"f\n", 8, 14, "14.195.0"},
                        // The frequency set, then read back: two answers.
                        {"F 7050000\n", 14, 30, "07.050.0"}};
  for (const Case& c : cases) {
    const int ms = answered(c.line);
    EXPECT_GE(ms, c.atLeastMs) << c.line;
    EXPECT_LE(ms, c.atMostMs) << c.line;
    EXPECT_EQ(program->radio.Text1, c.frequencyField) << c.line;
    Advance(60);
  }
  rig.SetSilent(true);
  Advance(ToldState::kFreshMs);  // what it told is stale: asked again
  EXPECT_EQ(answered("f\n"), 50);
  EXPECT_EQ(answer, "RPRT -5\n");
}

TEST_F(NetworkControlTest, OneClientsLinesAreAnsweredInOrder) {
  StartSharing();
  listener.Connect(1);
  listener.Say(1, "f\nt\r\n+m\n");
  Advance(200);
  EXPECT_EQ(listener.Heard(1), "14195000\n0\nget_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n");
}

TEST_F(NetworkControlTest, RequestsWaitForTheStartUpSynchronisation) {
  WriteConfig();
  Start(Build::Tavrin, 0);
  control = std::make_unique<NetworkControl>(*program, listener);
  control->ToggleNetworkControl();
  listener.Connect(1);
  listener.Say(1, "f\n");
  ASSERT_NE(program->station.SyncStep, 0);
  Advance(1000);
  EXPECT_EQ(listener.Heard(1), "14195000\n");
  // The five queries of the synchronisation, then the request: never in between.
  const std::vector<std::string> sent = Sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), Frame({0x03}));
  EXPECT_EQ(std::count(sent.begin(), sent.end(), Frame({0x03})), 2);
  EXPECT_EQ(sent.front(), Frame({0x03})) << "the synchronisation's own first query";
}

TEST_F(NetworkControlTest, RequestsWaitForTheOperatorsClickAndAMemorySequenceMakesThemBusy) {
  StartSharing();
  listener.Connect(1);
  program->radio.OpMd();
  listener.Say(1, "f\n");
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x04})});
  Advance(120);
  EXPECT_EQ(listener.Heard(1), "14195000\n");
  EXPECT_EQ(program->radio.Text4, "USB") << "the operator's answer decoded as ever";

  program->memory.ViewRig();
  ASSERT_TRUE(program->memory.Runs("View Rig"));
  ClearSent();
  listener.Say(1, "f\n");
  Advance(RequestQueue::kBusyAfterMs - 100);
  EXPECT_EQ(listener.Heard(1), "");
  Advance(200);
  EXPECT_EQ(listener.Heard(1), "RPRT -14\n");
  for (const std::string& frame : Sent()) EXPECT_NE(frame, Frame({0x03})) << "nothing sent for it";
}

TEST_F(NetworkControlTest, BadClientsGetAnErrorOrAreClosedAndTheOthersGoOn) {
  StartSharing();
  listener.Connect(1);
  listener.Connect(2);
  // Bytes that are not text: an error for that line, the next line is served.
  EXPECT_EQ(Ask(1, std::string("f\x01\xFF", 3)), "RPRT -1\n");
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(Ask(1, "f"), "14195000\n");
  ClearSent();
  // A line longer than 1 kB, even without its end: an error and closed.
  listener.Say(2, std::string(1500, 'F'));
  EXPECT_EQ(listener.Heard(2), "RPRT -1\n");
  EXPECT_TRUE(listener.closed.count(2));
  // Seventeen lines at once: closed.
  listener.Connect(3);
  std::string flood;
  for (int i = 0; i < 20; ++i) flood += "T 1\n";
  listener.Say(3, flood);
  EXPECT_TRUE(listener.closed.count(3));
  Advance(200);
  EXPECT_TRUE(Sent().empty()) << "nothing of a flood reaches the transceiver";
  EXPECT_FALSE(rig.Transmitting());
  EXPECT_EQ(Ask(1, "f"), "14195000\n");
  EXPECT_EQ(control->ClientCount(), 1U);
}

TEST_F(NetworkControlTest, AClientThatSaysNothingIsClosed) {
  StartSharing();
  listener.Connect(1);
  listener.Connect(2);
  Advance(ClientSession::kFirstWordMs - 1000);
  EXPECT_EQ(Ask(2, "f"), "14195000\n");
  Advance(1000);
  EXPECT_TRUE(listener.closed.count(1));
  EXPECT_FALSE(listener.closed.count(2)) << "a client that spoke may think a while";
  EXPECT_EQ(control->ClientCount(), 1U);
}

TEST_F(NetworkControlTest, AClientThatLeavesMidRequestIsForgotten) {
  StartSharing();
  listener.Connect(1);
  listener.Connect(2);
  listener.Connect(3);
  listener.Say(1, "f\n");    // on the line
  listener.Say(2, "T 1\n");  // waiting
  listener.Say(3, "m\n");
  listener.Leave(1);
  listener.Leave(2);
  Advance(200);
  EXPECT_EQ(listener.Heard(3), "USB\n2400\n");
  EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x03}), Frame({0x04})}))
      << "the waiting request of the client that left is never sent";
  EXPECT_FALSE(rig.Transmitting());
  EXPECT_EQ(control->ClientCount(), 1U);
}

TEST_F(NetworkControlTest, AtMostFourClientsAndAStormOfConnections) {
  StartSharing();
  for (int client = 1; client <= 100; ++client) {
    listener.Connect(client);
    if (client % 2 == 0) listener.Say(client, "T 1");  // no line end: never a request
    if (client > 4) {
      EXPECT_TRUE(listener.closed.count(client)) << client;
    }
  }
  EXPECT_EQ(control->ClientCount(), 4U);
  EXPECT_EQ(control->TitleNote(), " - shared on port 4532, 4 clients");
  for (int client = 2; client <= 4; ++client) listener.Leave(client);
  Advance(10);
  EXPECT_EQ(control->TitleNote(), " - shared on port 4532, 1 client");
  EXPECT_EQ(Ask(1, "f"), "14195000\n");
  EXPECT_TRUE(Sent() == std::vector<std::string>{Frame({0x03})});
  EXPECT_FALSE(rig.Transmitting());
}

TEST_F(NetworkControlTest, QuitAnswersAndCloses) {
  StartSharing();
  listener.Connect(1);
  EXPECT_EQ(Ask(1, "q"), "RPRT 0\n");
  EXPECT_TRUE(listener.closed.count(1));
}

TEST_F(NetworkControlTest, TheCheckItemListensOnPort4532UntilUnchecked) {
  WriteConfig();
  Start();
  NetworkControl share(*program, listener);
  EXPECT_FALSE(share.Checked()) << "off at every start";
  EXPECT_EQ(share.TitleNote(), "");
  share.ToggleNetworkControl();
  EXPECT_TRUE(share.Checked());
  EXPECT_TRUE(listener.listening);
  EXPECT_EQ(listener.listenedPort, 4532);
  EXPECT_EQ(share.TitleNote(), " - shared on port 4532, 0 clients");
  listener.Connect(1);
  share.ToggleNetworkControl();
  EXPECT_FALSE(share.Checked());
  EXPECT_FALSE(listener.listening);
  EXPECT_EQ(share.ClientCount(), 0U);
  EXPECT_EQ(ReadFile("KESTRA.INI"),
            tavrin::testing::IniText({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"}))
      << "nothing of it is stored";
}

TEST_F(NetworkControlTest, APortInUseIsReportedAndTheItemStaysUnchecked) {
  WriteConfig();
  Start();
  desktop.boxes.clear();
  listener.refuseWith = "The bound address is already in use";
  NetworkControl share(*program, listener);
  share.ToggleNetworkControl();
  EXPECT_FALSE(share.Checked());
  EXPECT_EQ(tavrin::testing::BoxTexts(desktop),
            std::vector<std::string>{"Network Control Error: Port 4532 cannot be opened for "
                                     "Network Control ... The bound address is already in use"});
}

TEST_F(NetworkControlTest, BroadcastsStillFollowTheDialWhileShared) {
  StartSharing();
  listener.Connect(1);
  listener.Say(1, "f\n");
  rig.TurnDial(1000);  // while the request is on the line
  Advance(200);
  EXPECT_EQ(listener.Heard(1), "14196000\n");
  EXPECT_EQ(program->radio.Text1, "14.196.0");
  rig.TurnDial(1000);  // while nothing is asked
  Advance(200);
  EXPECT_EQ(program->radio.Text1, "14.197.0");
  EXPECT_NE(program->radio.Text7.find("AUTO = "), std::string::npos);
  EXPECT_EQ(Ask(1, "f"), "14197000\n");
}

}  // namespace
}  // namespace tavrin::share
