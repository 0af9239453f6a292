// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt shell of a control program: the window system's clock, boxes and serial port, the
// working directory, the program itself and the views of the windows its build shows. main
// creates one after QApplication and calls Begin; the event loop does the rest.
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/control_program.h"
#include "platform/files.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_serial.h"
#include "platform/qt/qt_serial_devices.h"
#include "platform/qt/view_hub.h"

namespace tavrin {

// Makes the view of one window of the program. A view is a widget that is also a View.
using ViewMaker = std::function<std::unique_ptr<QWidget>(ControlProgram&, ViewHub&)>;

// The maker of a view class constructed as ViewT(window, hub) on one window of the program:
// ViewOf<SetupMainView>(&ControlProgram::setup).
template <class ViewT, class WindowT>
ViewMaker ViewOf(WindowT ControlProgram::*window) {
  return [window](ControlProgram& program, ViewHub& hub) -> std::unique_ptr<QWidget> {
    return std::make_unique<ViewT>(program.*window, hub);
  };
}

// The windows of the tavrin program, in the order they are drawn (the last on top).
std::vector<ViewMaker> TavrinViews();
// korvid: the splash, the compact operator panel and the setup window. Its memory window is
// never shown and has no view.
std::vector<ViewMaker> KorvidViews();
// belmarq: the splash, the data file window, the memory window and the setup window. Its radio
// window only carries the port and the memory commands and has no view.
std::vector<ViewMaker> BelmarqViews();

// The whole of a build's main: the application, the program with the build's window set on
// its splash, and the event loop until the program ends.
int RunProgram(int argc, char* argv[], Build build, const std::vector<ViewMaker>& views);

// The serial control as the program sees it: bytes arriving are handled by the program's input
// handler and then every window is redrawn, as after a click or a timer tick.
class RefreshingSerial : public SerialControl {
 public:
  RefreshingSerial(SerialControl& port, ViewHub& hub) : port_(port), hub_(hub) {}

  void SetCommPort(int portNumber) override { port_.SetCommPort(portNumber); }
  [[nodiscard]] int CommPort() const override { return port_.CommPort(); }
  void SetSettings(const std::string& settings) override { port_.SetSettings(settings); }
  [[nodiscard]] std::string Settings() const override { return port_.Settings(); }
  void SetInputLen(int length) override { port_.SetInputLen(length); }
  [[nodiscard]] bool PortOpen() const override { return port_.PortOpen(); }
  PortError Open() override { return port_.Open(); }
  void Close() override { port_.Close(); }
  void Output(const std::string& bytes) override { port_.Output(bytes); }
  std::string Input() override { return port_.Input(); }
  void OnInput(std::function<void()> handler) override;
  void OnGone(std::function<void()> handler) override;
  [[nodiscard]] bool DevicePresent(int portNumber) const override {
    return port_.DevicePresent(portNumber);
  }
  [[nodiscard]] std::string DescribePort(int portNumber) const override {
    return port_.DescribePort(portNumber);
  }

 private:
  SerialControl& port_;
  ViewHub& hub_;
};

class ProgramView {
 public:
  ProgramView(Build build, const std::vector<ViewMaker>& views);
  ~ProgramView();
  ProgramView(const ProgramView&) = delete;
  ProgramView& operator=(const ProgramView&) = delete;

  // Starts the program on its splash window and draws every window.
  void Begin();

  [[nodiscard]] ControlProgram& Program() { return *program_; }
  [[nodiscard]] ViewHub& Hub() { return hub_; }
  [[nodiscard]] std::vector<QWidget*> Windows() const;

 private:
  ViewHub hub_;
  QtClock clock_;
  QtDesktop desktop_;
  Files files_;
  QtSerial serial_;
  RefreshingSerial refreshingSerial_;
  QtSerialDevices devices_;
  Platform platform_;
  std::unique_ptr<ControlProgram> program_;
  std::vector<std::unique_ptr<QWidget>> views_;
};

}  // namespace tavrin
