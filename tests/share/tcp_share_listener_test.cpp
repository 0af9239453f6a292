// SPDX-License-Identifier: GPL-3.0-or-later
// The control port's server on Qt Network, with real sockets on the loopback address: clients
// arrive, speak, are answered, closed, or leave; a storm of connections is taken in stride.
#ifdef STATION_QT_TESTS
#include "share/qt/tcp_share_listener.h"

#include <gtest/gtest.h>

#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <vector>

#include "share/qt_application.h"

namespace tavrin::share {
namespace {

using testing::Application;

int FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

class TcpShareListenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application();
    port = FreePort();
    ASSERT_EQ(listener.Listen(port, {[this](int c) { connected.push_back(c); },
                                     [this](int c, const std::string& b) { heard[c] += b; },
                                     [this](int c) { left.push_back(c); }}),
              "");
  }
  std::unique_ptr<QTcpSocket> Client() {
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return socket->state() == QAbstractSocket::ConnectedState; }, 2000));
    return socket;
  }
  static void Settle(int ms = 50) { QTest::qWait(ms); }

  ViewHub hub;
  TcpShareListener listener{hub};
  int port = 0;
  std::vector<int> connected;
  std::map<int, std::string> heard;
  std::vector<int> left;
};

TEST_F(TcpShareListenerTest, ClientsSpeakAreAnsweredAndLeave) {
  auto first = Client();
  auto second = Client();
  first->write("f\n");
  second->write("m\n");
  Settle();
  ASSERT_EQ(connected, (std::vector<int>{1, 2}));
  EXPECT_EQ(heard[1], "f\n");
  EXPECT_EQ(heard[2], "m\n");
  listener.Send(1, "14195000\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return first->bytesAvailable() > 0; }, 2000));
  EXPECT_EQ(first->readAll().toStdString(), "14195000\n");
  second->disconnectFromHost();
  Settle();
  EXPECT_EQ(left, std::vector<int>{2});
}

TEST_F(TcpShareListenerTest, AClosedClientGetsWhatWasSentThenTheEnd) {
  auto client = Client();
  Settle();
  listener.Send(1, "RPRT -1\n");
  listener.Close(1);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return client->state() == QAbstractSocket::UnconnectedState; }, 2000));
  EXPECT_EQ(client->readAll().toStdString(), "RPRT -1\n");
  EXPECT_TRUE(left.empty()) << "no event for a close of its own";
  listener.Send(1, "late\n");  // a closed client is nobody: nothing happens
}

TEST_F(TcpShareListenerTest, AStormOfConnectionsIsTakenInStride) {
  for (int i = 0; i < 100; ++i) {
    auto client = Client();
    client->write("T 1");
    client->abort();
  }
  Settle(300);
  EXPECT_EQ(connected.size(), 100U);
  EXPECT_EQ(left.size(), connected.size());
  auto client = Client();
  client->write("f\n");
  Settle();
  EXPECT_EQ(heard[connected.back()], "f\n");
}

TEST_F(TcpShareListenerTest, OnlyTheLoopbackAddressesListen) {
  for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
    if (address.isLoopback() || address.protocol() != QAbstractSocket::IPv4Protocol) continue;
    QTcpSocket outside;
    outside.connectToHost(address, static_cast<quint16>(port));
    EXPECT_FALSE(
        QTest::qWaitFor([&] { return outside.state() == QAbstractSocket::ConnectedState; }, 500))
        << address.toString().toStdString();
  }
  QTcpSocket ipv6;
  ipv6.connectToHost(QHostAddress::LocalHostIPv6, static_cast<quint16>(port));
  if (QTest::qWaitFor([&] { return ipv6.state() == QAbstractSocket::ConnectedState; }, 1000)) {
    Settle();
    EXPECT_EQ(connected.size(), 1U) << "::1 is served too";
  }
}

TEST_F(TcpShareListenerTest, APortHeldElsewhereIsNamedAndStopFreesIt) {
  TcpShareListener second(hub);
  EXPECT_NE(second.Listen(port, {}), "");
  listener.Stop();
  EXPECT_EQ(second.Listen(port, {[](int) {}, [](int, const std::string&) {}, [](int) {}}), "");
}

}  // namespace
}  // namespace tavrin::share
#endif
