// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_serial_devices.h"

#include <filesystem>
#include <system_error>

namespace tavrin {

namespace {

// The port handed out: every frame written through it also goes to the log of its device file,
// which outlives the port.
class LoggedPort : public SerialControl {
 public:
  LoggedPort(std::unique_ptr<SimSerial> port, std::vector<std::string>& log)
      : port_(std::move(port)), log_(log) {}

  void SetCommPort(int /*portNumber*/) override {}
  [[nodiscard]] int CommPort() const override { return port_->CommPort(); }
  void SetSettings(const std::string& settings) override { port_->SetSettings(settings); }
  [[nodiscard]] std::string Settings() const override { return port_->Settings(); }
  void SetInputLen(int length) override { port_->SetInputLen(length); }
  [[nodiscard]] bool PortOpen() const override { return port_->PortOpen(); }
  PortError Open() override { return port_->Open(); }
  void Close() override { port_->Close(); }
  void Output(const std::string& bytes) override {
    port_->Output(bytes);
    const std::vector<SentFrame>& frames = port_->SentFrames();
    for (; logged_ < frames.size(); ++logged_) log_.push_back(frames[logged_].bytes);
  }
  std::string Input() override { return port_->Input(); }
  void OnInput(std::function<void()> handler) override { port_->OnInput(std::move(handler)); }

 private:
  std::unique_ptr<SimSerial> port_;
  std::vector<std::string>& log_;
  std::size_t logged_ = 0;
};

}  // namespace

SimSerialDevices::SimSerialDevices(VirtualClock& clock, DeviceFolders folders)
    : clock_(clock), folders_(std::move(folders)) {
  nobody_.SetSilent(true);
}

SimSerialDevices::~SimSerialDevices() = default;

std::string SimSerialDevices::Key(const std::string& path) const {
  std::error_code ec;
  const std::filesystem::path device = std::filesystem::canonical(path, ec);
  return ec ? path : device.string();
}

void SimSerialDevices::Connect(const std::string& path, sim::Transceiver& radio, int baud) {
  Wiring& wiring = wiring_[Key(path)];
  wiring.radio = &radio;
  wiring.baud = baud;
}

void SimSerialDevices::FailOpen(const std::string& path, PortError error) {
  wiring_[Key(path)].error = std::move(error);
}

std::vector<SerialDevice> SimSerialDevices::List() const { return ListSerialDevices(folders_); }

std::unique_ptr<SerialControl> SimSerialDevices::PortOn(const std::string& path) {
  const std::string key = Key(path);
  const auto wired = wiring_.find(key);
  sim::Transceiver& radio =
      wired != wiring_.end() && wired->second.radio != nullptr ? *wired->second.radio : nobody_;
  auto port = std::make_unique<SimSerial>(clock_, radio);
  std::error_code ec;
  if (!std::filesystem::exists(key, ec)) port->SetPortExists(1, false);
  if (wired != wiring_.end()) {
    port->SetRadioBaud(wired->second.baud);
    port->FailOpensWith(wired->second.error);
  }
  return std::make_unique<LoggedPort>(std::move(port), sent_[key]);
}

std::vector<std::string> SimSerialDevices::SentTo(const std::string& path) const {
  const auto log = sent_.find(Key(path));
  return log == sent_.end() ? std::vector<std::string>{} : log->second;
}

}  // namespace tavrin
