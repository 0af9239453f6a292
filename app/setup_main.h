// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The setup window ("System Setup"): port, serial settings, call sign and default data file.
// The window keeps no settings of its own: every click and keystroke writes straight into the
// station's four settings, and Save writes them to KESTRA.INI, re-opens the port and the data
// file. Closing without saving therefore keeps the edits in memory for the rest of the run.
//
// It also shows and chooses the device behind each port: beside each "Com n" option the device
// that port leads to, a list of the serial devices present ("Serial Devices"), a field for any
// other device path, and "Find Transceiver", which asks each device for the transceiver's
// identity. Choosing a device points the marked port's comN link in the station folder at it
// (platform/port_links.h); KESTRA.INI keeps naming the port.
#include <array>
#include <string>
#include <vector>

#include "app/transceiver_finder.h"
#include "platform/clock.h"
#include "platform/serial_devices.h"

namespace tavrin {

class ControlProgram;

class SetupMain {
 public:
  explicit SetupMain(ControlProgram& program);

  std::string Caption = "System Setup";
  std::string Text1 = "Call Sign";   // call-sign field, as typed
  std::string Text2 = "KESTRA.TXT";  // data-file field, as typed
  // Marks of Option1..Option6 (index 0 unused): Option1..3 the port group, Option4..6 the
  // speed group.
  std::array<bool, 7> OptionMarked{};
  bool Loaded = false;
  bool Visible = false;

  // Beside Option1..Option3 (index 0 unused): the device each port leads to on this machine
  // ("/dev/serial/by-id/usb-...", "not connected").
  std::array<std::string, 4> PortDevice{};
  // "Serial Devices": one line per device present, and the line chosen (-1: none).
  std::vector<std::string> DeviceList;
  int DeviceListIndex = -1;
  // "Device Path": any device file, typed.
  std::string Text3;
  // Under "Find Transceiver": what the search does or found, and what a choice did.
  std::string DeviceStatus;

  // Opens the window (running Open) when it is closed; an open window is only brought forward.
  void Show();
  // Option1..Option3: "Com 1".."Com 3".
  void ChoosePort(int option);
  // Option4..Option6: "19200,N,8,1", "9600,N,8,1", "4800,N,8,1".
  void ChooseSpeed(int option);
  // The user typed into a field; `text` is the field's whole text.
  void CallSignChanged(const std::string& text);
  void DataFileChanged(const std::string& text);
  // A line of "Serial Devices" chosen: the marked port (Com 1 when none is marked) now leads
  // to that device.
  void ChooseDevice(int index);
  // The user typed into "Device Path"; `text` is the field's whole text.
  void DevicePathChanged(const std::string& text);
  // "Use Path": the marked port leads to the typed device (asked first when it is not there).
  void UsePath();
  // "Find Transceiver": asks every device present, one device and speed at a time; the first
  // that answers is chosen for the marked port with its speed, and a box tells the outcome.
  void FindTransceiver();
  [[nodiscard]] bool Finding() const { return finder_.Running(); }
  // The line under "Find Transceiver": the device being asked while the search runs, else
  // DeviceStatus.
  [[nodiscard]] std::string StatusLine() const;
  // Reads the devices present and where each port leads again (also every two seconds while
  // the window is open, so that a cable plugged in meanwhile shows up).
  void RefreshDevices();
  void Save();          // Command0, File > Save, Save
  void Quit();          // Command1, File > Quit, Quit
  void Help();          // Help
  void CloseByFrame();  // the frame's close control: no save, no restart box

  // The settings strings of the options, by option number (1..6); empty for other numbers.
  [[nodiscard]] static std::string OptionValue(int option);
  // Bumped each time the window is brought forward, so that a view can raise it.
  int RaiseCount = 0;

  static constexpr int kDeviceRefreshMs = 2000;
  Timer DeviceTimer;

 private:
  void Open();
  void Close();
  // Ends the program after Save or Quit when start-up found no configuration file.
  void RestartIfConfigMissing();
  void MarkOption(int option);
  // The port option marked (1..3), marking Com 1 when none is.
  int PortToChoose();
  // Points the port at `path`; false (a box has said why) when it cannot be done.
  bool LinkPort(int port, const std::string& path);
  void Found(const TransceiverFinder::Outcome& outcome);
  void StopFinding();
  // Opens the program's own port again when "Find Transceiver" closed it and nothing was saved.
  void ReopenOwnPort();

  ControlProgram& program_;
  std::vector<SerialDevice> devices_;
  std::string chosenPath_;  // the device last chosen, kept marked in the list
  TransceiverFinder finder_;
  bool reopenOwnPort_ = false;
};

}  // namespace tavrin
