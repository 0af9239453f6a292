// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One running control program (tavrin, korvid or belmarq): the shared station state, the
// windows, the data file and the CI-V link, which reports to it. main creates one; tests
// create as many as they like, each on its own platform doubles.
#include <string>

#include "app/build_profile.h"
#include "app/setup_main.h"
#include "app/splash_main.h"
#include "app/station.h"
#include "app/synchronisation.h"
#include "civ/civ_link.h"
#include "civ/link_owner.h"
#include "civ/link_recovery.h"
#include "civ/reply_decoder.h"
#include "memory/data_file.h"
#include "memory/data_main.h"
#include "memory/memory_main.h"
#include "platform/platform.h"
#include "radio/compact_panel.h"
#include "radio/radio_main.h"

namespace tavrin {

class ControlProgram : public LinkOwner {
 public:
  explicit ControlProgram(Platform& platform, Build build = Build::Tavrin);
  ~ControlProgram();
  ControlProgram(const ControlProgram&) = delete;
  ControlProgram& operator=(const ControlProgram&) = delete;

  Platform& platform;
  const Build build;
  const BuildProfile& profile;
  Station station;
  RadioMain radio;
  MemoryMain memory;
  SetupMain setup;
  SplashMain splash;
  DataMain data;
  // korvid's radio window: the compact operator panel composed around `radio`.
  CompactPanel panel;
  DataFile dataFile;
  CivLink link;
  LinkRecovery recovery;
  ReplyDecoder decoder;
  Synchronisation synchronisation;

  // The program starts on its splash window.
  void Begin();

  // Start-up, run by the load of the radio window and of the memory window.
  void StartUp();
  void InitFlags();
  void InitFrameStrings();
  void ReadConfig();
  // (Re)opens the serial port from CommPort and CommBaud, with its error dialogs.
  void OpenCommPort();
  // The port opened again with the settings in force and without any box, as for a cable
  // that comes back; true when it is open.
  bool ReopenCommPortQuietly();
  // Shows the fatal box for station.ErrorNumber and ends the program.
  void ReportError();
  void ReportError(int number, const std::string& description);
  // The box of ReportError alone: the program goes on.
  void ShowErrorBox();
  // No identity answer at the end of the synchronisation: the "RADIO NOT READY" box (unless
  // the synchronisation was the link's own after a cable came back: `quiet`), then the
  // program runs on and synchronises as soon as the transceiver answers.
  void RadioNotReady(bool quiet);
  void CloseDataFile();
  // Ends the program at once (after the Exit paths have closed the data file).
  void EndProgram();
  // A build with its own product label and version on the splash.
  [[nodiscard]] std::string ProductName() const;
  [[nodiscard]] std::string VersionText() const;
  // Both status lines: the radio window's Text7 and the memory window's Text9.
  void ShowStatusLine(const std::string& line);

  // What the link reports (LinkOwner).
  void Answered(const std::string& reply) override;
  void Unsolicited(const std::string& bytes) override;
  void Broadcast(const std::string& frame) override;
  void Gone(Absence why) override;
  bool Back(Presence what) override;
  [[nodiscard]] bool MaySend() const override;

 private:
  // One start-up runs StartUp twice (the memory window's load nests a whole run inside the
  // radio window's). Each question is asked once: the port answer given in the first run holds
  // for the second, and a box the first run showed is not shown again.
  struct StartUpAnswers {
    int depth = 0;
    bool portAsked = false;       // the port questions have been asked in this start-up
    std::string commPort;         // what they gave
    bool dataFileFailed = false;  // the data file could not be opened (and that was said)
  };
  StartUpAnswers startUp_;
  // OpenCommPort, with its boxes unless `quiet`.
  void OpenCommPortAsking(bool quiet);
};

// The port number of a "COMn" name: only the fourth character counts ("COM12" is port 1); 0
// when it is not a digit.
int PortNumberOf(const std::string& commPort);

}  // namespace tavrin
