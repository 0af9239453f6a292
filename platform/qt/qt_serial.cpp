// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_serial.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/serial_settings.h"

namespace tavrin {

namespace fs = std::filesystem;

namespace {

const PortError kInvalidPort{kErrorInvalidPort, "Invalid port number"};
const PortError kAlreadyOpen{kErrorPortAlreadyOpen, "Port already open"};
const PortError kInvalidSettings{kErrorInvalidSettings, "Invalid property value"};

QSerialPort::Parity QtParity(char parity) {
  switch (parity) {
    case 'E':
      return QSerialPort::EvenParity;
    case 'O':
      return QSerialPort::OddParity;
    case 'M':
      return QSerialPort::MarkParity;
    case 'S':
      return QSerialPort::SpaceParity;
    default:
      return QSerialPort::NoParity;
  }
}

QSerialPort::StopBits QtStopBits(int halves) {
  if (halves == 3) return QSerialPort::OneAndHalfStop;
  if (halves == 4) return QSerialPort::TwoStop;
  return QSerialPort::OneStop;
}

bool LinkEntryExists(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

}  // namespace

QtSerial::QtSerial(Files& files) : files_(files) {
  QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { DataArrived(); });
  QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                   [this](QSerialPort::SerialPortError error) { ErrorOccurred(error); });
}

QtSerial::~QtSerial() {
  handler_ = nullptr;
  goneHandler_ = nullptr;
  if (port_.isOpen()) port_.close();
}

bool QtSerial::PortOpen() const { return port_.isOpen(); }

std::string QtSerial::DevicePath(int portNumber) const {
  if (portNumber < 1 || portNumber > 255) return {};
  const std::string number = std::to_string(portNumber);
  const fs::path directory(files_.CurrentDirectory());
  for (const std::string& name : {"com" + number, "COM" + number}) {
    if (LinkEntryExists(directory / name)) return (directory / name).string();
  }
  return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::string QtSerial::DescribePort(int portNumber) const {
  const std::string path = DevicePath(portNumber);
  if (path.empty()) return {};
  std::error_code ec;
  const fs::path entry(path);
  std::string text = path;
  if (fs::is_symlink(entry, ec)) {
    text = entry.filename().string() + " -> " + fs::read_symlink(entry, ec).string();
  }
  if (!fs::exists(entry, ec)) text += " (not present)";
  return text;
}

bool QtSerial::DevicePresent(int portNumber) const {
  const std::string path = portNumber == openedPortNumber_ && !openedPath_.empty()
                               ? openedPath_
                               : DevicePath(portNumber);
  std::error_code ec;
  return !path.empty() && fs::exists(path, ec) && !fs::is_directory(path, ec);
}

PortError QtSerial::Open() {
  if (port_.isOpen()) return kAlreadyOpen;
  const auto settings = ParseSerialSettings(settings_);
  if (!settings) return kInvalidSettings;

  const std::string path = DevicePath(portNumber_);
  if (path.empty()) return kInvalidPort;
  std::error_code ec;
  // The link's target, so that every program locks the same device name.
  const fs::path device = fs::canonical(path, ec);
  if (ec || fs::is_directory(device, ec)) return kInvalidPort;

  port_.setPortName(QString::fromStdString(device.string()));
  port_.setBaudRate(settings->baud);
  port_.setParity(QtParity(settings->parity));
  port_.setDataBits(static_cast<QSerialPort::DataBits>(settings->dataBits));
  port_.setStopBits(QtStopBits(settings->stopHalves));
  port_.setFlowControl(QSerialPort::NoFlowControl);
  port_.clearError();
  if (port_.open(QIODevice::ReadWrite)) {
    // No further opens of the device while this program holds it (QSerialPort's lock file
    // only keeps out programs that look for it).
    ::ioctl(static_cast<int>(port_.handle()), TIOCEXCL);
    openedPortNumber_ = portNumber_;
    openedPath_ = path;
    return {};
  }

  const QSerialPort::SerialPortError error = port_.error();
  const std::string description = port_.errorString().toStdString();
  port_.close();
  port_.clearError();
  if (error == QSerialPort::DeviceNotFoundError) return kInvalidPort;
  if (error == QSerialPort::PermissionError) {
    // Either the device's lock is taken or the device is busy (held by another program), or
    // this user may not use the device at all.
    if (::access(device.c_str(), R_OK | W_OK) == 0) return kAlreadyOpen;
  }
  return {kErrorPortDevice, description.empty() ? "Unexpected serial port error" : description};
}

void QtSerial::Close() {
  if (port_.isOpen()) port_.close();
  port_.clearError();
}

void QtSerial::Output(const std::string& bytes) {
  if (!port_.isOpen() || bytes.empty()) return;
  port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  if (port_.isOpen()) port_.flush();
}

std::string QtSerial::Input() {
  if (!port_.isOpen()) return {};
  // Take in what the device holds now, even when no event loop has run since it arrived.
  reading_ = true;
  port_.waitForReadyRead(0);
  reading_ = false;
  if (!port_.isOpen()) return {};
  const QByteArray data = inputLen_ > 0 ? port_.read(inputLen_) : port_.readAll();
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtSerial::DataArrived() {
  // Bytes pulled in by Input itself are read by that same call.
  if (reading_ || !handler_) return;
  handler_();
}

void QtSerial::ErrorOccurred(QSerialPort::SerialPortError error) {
  // A hang-up or an input/output error: the device has gone (cable pulled, simulator stopped).
  if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
      error != QSerialPort::WriteError)
    return;
  if (!port_.isOpen()) return;
  port_.close();
  port_.clearError();
  if (goneHandler_) goneHandler_();
}

}  // namespace tavrin
