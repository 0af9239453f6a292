// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_serial.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/device_access.h"
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

}  // namespace

QtSerial::QtSerial(Files& files, std::string devicePath) : QtSerial(files) {
  fixedPath_ = std::move(devicePath);
}

QtSerial::QtSerial(Files& files) : files_(files), links_(files) {
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
  if (!fixedPath_.empty()) return fixedPath_;
  return links_.DevicePath(portNumber);
}

std::string QtSerial::DescribePort(int portNumber) const {
  if (!fixedPath_.empty()) return fixedPath_;
  return links_.Describe(portNumber);
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
  const PortError access = CheckDeviceAccess(device.string(), SerialLockFolders());
  if (access.Failed()) return access;

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
    return {kErrorPermissionDenied, "Permission denied", PermissionAdvice(device.string())};
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
