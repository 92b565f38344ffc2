// The practice server's connections on real loopback sockets: whole packets
// are cut from any chunking, a connection that ends mid-packet is reported
// closed with its partial packet dropped, and the others go on.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>

#include "network.h"
#include "support/loopback.h"

namespace tess::practice {
namespace {

int Connect(uint16_t port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

struct Seen {
  std::map<int, std::vector<Packet>> packets;
  std::vector<int> closed;
};

void PollFor(Network& net, Seen& seen, int rounds) {
  for (int i = 0; i < rounds; ++i)
    net.Poll(20, [&](int conn, const Packet& p) { seen.packets[conn].push_back(p); },
             [&](int conn) { seen.closed.push_back(conn); });
}

TEST(PracticeNetwork, CutsPacketsAndDropsAConnectionThatEndsMidPacket) {
  Network net;
  std::string error;
  ASSERT_TRUE(net.Listen("127.0.0.1", 0, &error)) << error;
  ASSERT_NE(net.Port(), 0);
  const int a = Connect(net.Port()), b = Connect(net.Port());
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  Seen seen;
  PollFor(net, seen, 5);  // both accepted

  // a: one packet and a half in odd chunks, then it closes.
  std::vector<uint8_t> bytes(kPacketSize + 136);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
  ASSERT_TRUE(test::WriteAll(a, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 100)));
  PollFor(net, seen, 3);
  ASSERT_TRUE(test::WriteAll(a, std::vector<uint8_t>(bytes.begin() + 100, bytes.end())));
  PollFor(net, seen, 3);
  close(a);
  // b: two whole packets.
  ASSERT_TRUE(test::WriteAll(b, std::vector<uint8_t>(2 * kPacketSize, 7)));
  PollFor(net, seen, 10);

  ASSERT_EQ(seen.packets.size(), 2u);
  const auto& first = seen.packets.begin()->second;
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0][271], 271 % 256);
  EXPECT_EQ(seen.packets.rbegin()->second.size(), 2u);
  EXPECT_EQ(seen.closed, std::vector<int>{seen.packets.begin()->first});

  // b still gets what is sent to it; a closed connection takes nothing.
  Packet out{};
  out[3] = 18;
  net.Send(seen.packets.rbegin()->first, out);
  net.Send(seen.closed[0], out);
  PollFor(net, seen, 2);
  uint8_t got[kPacketSize];
  size_t n = 0;
  while (n < kPacketSize) {
    const ssize_t r = test::ReadWithin(b, got + n, kPacketSize - n, 2000);
    ASSERT_GT(r, 0);
    n += static_cast<size_t>(r);
  }
  EXPECT_EQ(got[3], 18);
  close(b);
}

}  // namespace
}  // namespace tess::practice
