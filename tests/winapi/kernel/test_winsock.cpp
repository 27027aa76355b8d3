#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "winapi/kernel/kernel_test_support.h"

namespace {

sockaddr_in Loopback(u_short port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

u_short PortOf(SOCKET s)
{
    sockaddr_in address{};
    int length = sizeof address;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&address), &length), 0);
    return ntohs(address.sin_port);
}

TEST(WinsockStartup, CallsBeforeItFailAndItAnswersWithTheVersionItServes)
{
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(gethostbyname("localhost"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    WSADATA data;
    EXPECT_EQ(WSAStartup(0, &data), WSAVERNOTSUPPORTED);
    EXPECT_EQ(WSAStartup(MAKEWORD(2, 2), nullptr), WSAEFAULT);
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
    EXPECT_EQ(data.wHighVersion, MAKEWORD(2, 2));
    ASSERT_EQ(WSAStartup(MAKEWORD(3, 0), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
    // Each successful start-up needs its own clean-up.
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

class Winsock : public ::testing::Test {
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
    }
    void TearDown() override
    {
        for (SOCKET s : {client, server, listener}) {
            if (s != INVALID_SOCKET) closesocket(s);
        }
        EXPECT_EQ(WSACleanup(), 0);
    }

    // A connected pair over the loopback interface.
    void Connect()
    {
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        ASSERT_NE(listener, INVALID_SOCKET);
        sockaddr_in address = Loopback(0);
        ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(listener, SOMAXCONN), 0);
        client = socket(AF_INET, SOCK_STREAM, 0);
        address = Loopback(PortOf(listener));
        ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << WSAGetLastError();
        sockaddr_in peer{};
        int peerLength = sizeof peer;
        server = accept(listener, reinterpret_cast<sockaddr*>(&peer), &peerLength);
        ASSERT_NE(server, INVALID_SOCKET);
        EXPECT_EQ(peer.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    }

    SOCKET listener = INVALID_SOCKET;
    SOCKET client = INVALID_SOCKET;
    SOCKET server = INVALID_SOCKET;
};

TEST_F(Winsock, LoopbackPairCarriesBytesBothWaysAndSelectReportsReadableSocketsOrTimesOut)
{
    Connect();
    ASSERT_EQ(send(client, "hello", 5, 0), 5);
    char buffer[16] = {};
    ASSERT_EQ(recv(server, buffer, sizeof buffer, 0), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    ASSERT_EQ(send(server, "ok", 2, 0), 2);
    ASSERT_EQ(recv(client, buffer, sizeof buffer, 0), 2);
    EXPECT_EQ(shutdown(server, SD_SEND), 0);
    EXPECT_EQ(recv(client, buffer, sizeof buffer, 0), 0);  // orderly close
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(server, &readable);
    FD_SET(server, &readable);  // a second FD_SET of one socket adds nothing
    EXPECT_EQ(readable.fd_count, 1u);
    timeval wait = {0, 20000};
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, &wait), 0);
    EXPECT_EQ(readable.fd_count, 0u);
    ASSERT_EQ(send(client, "x", 1, 0), 1);
    FD_ZERO(&readable);
    FD_SET(server, &readable);
    FD_SET(listener, &readable);
    wait = {5, 0};
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, &wait), 1);
    EXPECT_TRUE(FD_ISSET(server, &readable));
    EXPECT_FALSE(FD_ISSET(listener, &readable));
    u_long pending = 0;
    EXPECT_EQ(ioctlsocket(server, FIONREAD, &pending), 0);
    EXPECT_EQ(pending, 1u);
}

TEST_F(Winsock, ReceiveTimesOutOrWouldBlock)
{
    Connect();
    const DWORD timeout = 50;
    ASSERT_EQ(setsockopt(server, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout), 0);
    DWORD readBack = 0;
    int length = sizeof readBack;
    ASSERT_EQ(getsockopt(server, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&readBack), &length), 0);
    EXPECT_EQ(readBack, 50u);
    EXPECT_EQ(length, static_cast<int>(sizeof(DWORD)));
    char buffer[4];
    EXPECT_EQ(recv(server, buffer, sizeof buffer, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAETIMEDOUT);
    u_long on = 1;
    ASSERT_EQ(ioctlsocket(server, FIONBIO, &on), 0);
    EXPECT_EQ(recv(server, buffer, sizeof buffer, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

TEST_F(Winsock, HostByNameResolvesLocalhostAndDottedAddressesParseAsThePlatformDoes)
{
    hostent* host = gethostbyname("localhost");
    ASSERT_NE(host, nullptr) << WSAGetLastError();
    EXPECT_EQ(host->h_addrtype, AF_INET);
    EXPECT_EQ(host->h_length, 4);
    ASSERT_NE(host->h_addr_list[0], nullptr);
    EXPECT_EQ(static_cast<unsigned char>(host->h_addr[0]), 127);
    EXPECT_EQ(inet_addr("127.0.0.1"), htonl(INADDR_LOOPBACK));
    EXPECT_EQ(inet_addr("10.1.2.3"), htonl(0x0A010203));
    EXPECT_EQ(inet_addr("10.258"), htonl(0x0A000102));
    EXPECT_EQ(inet_addr("0x7f.1"), htonl(0x7F000001));
    EXPECT_EQ(inet_addr("256.1.1.1"), INADDR_NONE);
    EXPECT_EQ(inet_addr("1.2.3.4.5"), INADDR_NONE);
    EXPECT_EQ(inet_addr("host"), INADDR_NONE);
    in_addr address;
    address.s_addr = htonl(0xC0A80001);
    EXPECT_STREQ(inet_ntoa(address), "192.168.0.1");
}

TEST_F(Winsock, ConnectingToAClosedPortSelectingNoSocketsAndClosingWhatIsNoSocketAreRefused)
{
    // A bound socket that does not listen holds a port nobody accepts on.
    listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    address = Loopback(PortOf(listener));
    timeval wait = {0, 0};
    fd_set none;
    FD_ZERO(&none);
    ExpectRefused({
        {"connect to a closed port",
         [&] { return connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == SOCKET_ERROR; },
         WSAECONNREFUSED},
        {"select of no sockets", [&] { return select(0, &none, nullptr, nullptr, &wait) == SOCKET_ERROR; }, WSAEINVAL},
        {"closesocket of no descriptor", [] { return closesocket(static_cast<SOCKET>(987654)) == SOCKET_ERROR; },
         WSAENOTSOCK},
        {"closesocket of standard error", [] { return closesocket(static_cast<SOCKET>(2)) == SOCKET_ERROR; },
         WSAENOTSOCK},
    });
    // Standard error is not a socket and stays open.
    EXPECT_GE(std::fputs("\n", stderr), 0);
    EXPECT_EQ(std::fflush(stderr), 0);
}

}  // namespace
