#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "browser/NetworkGate.h"

namespace {

// A socket closed with its scope.
class TSocket {
public:
  TSocket(int family, int type) : FHandle(socket(family, type | SOCK_CLOEXEC, 0)) {}
  ~TSocket() {
    if (FHandle >= 0) close(FHandle);
  }
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;
  int Handle() const { return FHandle; }

private:
  int FHandle;
};

sockaddr_in Loopback(in_port_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = port;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// Binds the socket to a free port on 127.0.0.1 and returns that address.
sockaddr_in BoundLoopback(const TSocket& socket) {
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  EXPECT_EQ(bind(socket.Handle(), reinterpret_cast<sockaddr*>(&address), length), 0);
  EXPECT_EQ(getsockname(socket.Handle(), reinterpret_cast<sockaddr*>(&address), &length), 0);
  return address;
}

int ConnectTo(const sockaddr_in& address) {
  TSocket client(AF_INET, SOCK_STREAM);
  errno = 0;
  return connect(client.Handle(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0
                                                                                                    : errno;
}

int Pending(const TSocket& socket) {
  char byte;
  return static_cast<int>(recv(socket.Handle(), &byte, 1, MSG_DONTWAIT));
}

class NetworkGateTest : public testing::Test {
protected:
  void TearDown() override { SetNetworkClosed(false); }
};

TEST_F(NetworkGateTest, ClosedItRefusesEveryInternetRouteAndOpenedItLetsThemThrough) {
  TSocket listener(AF_INET, SOCK_STREAM);
  const sockaddr_in server = BoundLoopback(listener);
  ASSERT_EQ(listen(listener.Handle(), 4), 0);
  TSocket receiver(AF_INET, SOCK_DGRAM);
  const sockaddr_in datagrams = BoundLoopback(receiver);
  const auto* to = reinterpret_cast<const sockaddr*>(&datagrams);
  TSocket sender(AF_INET, SOCK_DGRAM);

  SetNetworkClosed(true);
  EXPECT_TRUE(NetworkClosed());
  EXPECT_EQ(ConnectTo(server), ENETUNREACH);
  errno = 0;
  EXPECT_EQ(sendto(sender.Handle(), "x", 1, 0, to, sizeof datagrams), -1);
  EXPECT_EQ(errno, ENETUNREACH);
  char byte = 'x';
  iovec part{&byte, 1};
  msghdr message{};
  message.msg_name = const_cast<sockaddr_in*>(&datagrams);
  message.msg_namelen = sizeof datagrams;
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  EXPECT_EQ(sendmsg(sender.Handle(), &message, 0), -1);
  mmsghdr messages[2] = {{message, 0}, {message, 0}};
  messages[0].msg_hdr.msg_name = nullptr;  // a later message's address is checked too
  EXPECT_EQ(sendmmsg(sender.Handle(), messages, 2, 0), -1);
  EXPECT_EQ(Pending(receiver), -1) << "a datagram got through";
  addrinfo* found = nullptr;
  EXPECT_EQ(getaddrinfo("localhost", "80", nullptr, &found), EAI_AGAIN);

  SetNetworkClosed(false);
  EXPECT_EQ(ConnectTo(server), 0);
  EXPECT_EQ(sendto(sender.Handle(), "x", 1, 0, to, sizeof datagrams), 1);
  EXPECT_EQ(sendmsg(sender.Handle(), &message, 0), 1);
  ASSERT_EQ(getaddrinfo("127.0.0.1", "80", nullptr, &found), 0);
  freeaddrinfo(found);
}

TEST_F(NetworkGateTest, LocalSocketsPassAClosedGate) {
  char folder[] = "/tmp/vorn-gate-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s/socket", folder);
  const auto* to = reinterpret_cast<const sockaddr*>(&address);
  TSocket listener(AF_UNIX, SOCK_STREAM);
  ASSERT_EQ(bind(listener.Handle(), to, sizeof address), 0);
  ASSERT_EQ(listen(listener.Handle(), 1), 0);

  SetNetworkClosed(true);
  TSocket client(AF_UNIX, SOCK_STREAM);
  EXPECT_EQ(connect(client.Handle(), to, sizeof address), 0) << std::strerror(errno);

  unlink(address.sun_path);
  rmdir(folder);
}

}  // namespace
