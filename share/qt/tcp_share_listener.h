// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The control port on Qt Network: one QTcpServer on 127.0.0.1 and one on ::1 (when the machine
// has IPv6), never on any other address. Each connection is a client number; what the
// clients send is handed on as it comes, at most kReadChunk bytes at a time, and the socket
// buffers are bounded so that a client that floods costs little.
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <map>
#include <memory>
#include <vector>

#include "platform/qt/view_hub.h"
#include "share/share_listener.h"

namespace tavrin::share {

class TcpShareListener : public QObject, public ShareListener {
 public:
  explicit TcpShareListener(ViewHub& hub);
  ~TcpShareListener() override;
  TcpShareListener(const TcpShareListener&) = delete;
  TcpShareListener& operator=(const TcpShareListener&) = delete;

  std::string Listen(int port, Events events) override;
  void Stop() override;
  void Send(int client, const std::string& text) override;
  void Close(int client) override;

  static constexpr qint64 kReadChunk = 4096;

 private:
  void Accept(QTcpServer& server);
  void Read(int client);
  void Left(int client);

  ViewHub& hub_;
  Events events_;
  std::vector<std::unique_ptr<QTcpServer>> servers_;
  std::map<int, QTcpSocket*> sockets_;
  int nextClient_ = 1;
};

}  // namespace tavrin::share
