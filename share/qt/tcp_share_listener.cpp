// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/qt/tcp_share_listener.h"

#include <QHostAddress>

namespace tavrin::share {

TcpShareListener::TcpShareListener(ViewHub& hub) : hub_(hub) {}

TcpShareListener::~TcpShareListener() { Stop(); }

std::string TcpShareListener::Listen(int port, Events events) {
  Stop();
  events_ = std::move(events);
  auto ipv4 = std::make_unique<QTcpServer>();
  if (!ipv4->listen(QHostAddress::LocalHost, static_cast<quint16>(port)))
    return ipv4->errorString().toStdString();
  servers_.push_back(std::move(ipv4));
  // ::1 only where the machine has it; a port held there by another program is an error.
  auto ipv6 = std::make_unique<QTcpServer>();
  if (ipv6->listen(QHostAddress::LocalHostIPv6, static_cast<quint16>(port))) {
    servers_.push_back(std::move(ipv6));
  } else if (ipv6->serverError() == QAbstractSocket::AddressInUseError) {
    const std::string why = ipv6->errorString().toStdString();
    Stop();
    return why;
  }
  for (const auto& server : servers_) {
    QTcpServer* raw = server.get();
    connect(raw, &QTcpServer::newConnection, this, [this, raw] { Accept(*raw); });
  }
  return {};
}

void TcpShareListener::Stop() {
  for (auto& [client, socket] : sockets_) {
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
  }
  sockets_.clear();
  servers_.clear();
}

void TcpShareListener::Accept(QTcpServer& server) {
  while (QTcpSocket* socket = server.nextPendingConnection()) {
    const int client = nextClient_++;
    // The connections belong to the listener, not to the server that took them: they may
    // outlive a Stop by the moment their deferred deletion takes.
    socket->setParent(this);
    socket->setReadBufferSize(kReadChunk);
    sockets_[client] = socket;
    connect(socket, &QTcpSocket::readyRead, this, [this, client] { Read(client); });
    connect(socket, &QTcpSocket::disconnected, this, [this, client] { Left(client); });
    hub_.Run([this, client] { events_.connected(client); });
    // The client may have been closed at once (too many) or have sent already.
    if (sockets_.count(client) != 0) Read(client);
  }
}

void TcpShareListener::Read(int client) {
  const auto found = sockets_.find(client);
  if (found == sockets_.end()) return;
  QTcpSocket* socket = found->second;
  while (sockets_.count(client) != 0 && socket->bytesAvailable() > 0) {
    const QByteArray bytes = socket->read(kReadChunk);
    hub_.Run([this, client, &bytes] { events_.received(client, bytes.toStdString()); });
  }
}

void TcpShareListener::Left(int client) {
  const auto found = sockets_.find(client);
  if (found == sockets_.end()) return;
  found->second->deleteLater();
  sockets_.erase(found);
  hub_.Run([this, client] { events_.disconnected(client); });
}

void TcpShareListener::Send(int client, const std::string& text) {
  const auto found = sockets_.find(client);
  if (found != sockets_.end()) found->second->write(text.data(), static_cast<qint64>(text.size()));
}

void TcpShareListener::Close(int client) {
  const auto found = sockets_.find(client);
  if (found == sockets_.end()) return;
  QTcpSocket* socket = found->second;
  sockets_.erase(found);
  socket->disconnect(this);
  // What was written still goes out, then the connection closes.
  connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  socket->disconnectFromHost();
  if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
}

}  // namespace tavrin::share
