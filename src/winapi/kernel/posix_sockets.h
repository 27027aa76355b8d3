// The system's sockets, reached without the system's socket headers so that
// the Windows Sockets layer (winsock.cpp, which sees the platform's records
// of the same names) and the system's declarations never meet in one file.
// IPv4 socket addresses cross as bytes: the platform's sockaddr_in and this
// system's have the same layout and the same AF_INET value (2). Every function returns -1 on failure with
// the thread's last error set to a Windows Sockets code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace halvo::kernel::posix_sockets {

enum class SocketOption {
    Debug,
    AcceptConnections,
    ReuseAddress,
    KeepAlive,
    DontRoute,
    Broadcast,
    Linger,  // value: on/off, second value: seconds
    OutOfBandInline,
    SendBuffer,
    ReceiveBuffer,
    SendTimeout,     // milliseconds
    ReceiveTimeout,  // milliseconds
    Error,           // read only: a Windows Sockets code
    Type,            // read only
    NoDelay,
};

// Message flags.
constexpr int kOutOfBand = 1;
constexpr int kPeek = 2;
constexpr int kWaitAll = 4;

// Shutdown directions.
enum class Direction { Receive, Send, Both };

// An IPv4 socket; protocol is 0 or the IANA number (6 TCP, 17 UDP).
int OpenSocket(bool stream, int protocol);
int CloseSocket(int fd);
int Shutdown(int fd, Direction direction);
int Bind(int fd, const void* address, int length);
int Listen(int fd, int backlog);
int Accept(int fd, void* address, int* length);
int Connect(int fd, const void* address, int length);
int Send(int fd, const char* data, int length, int flags, const void* to, int toLength);
int Receive(int fd, char* data, int length, int flags, void* from, int* fromLength);
int SocketName(int fd, void* address, int* length);
int PeerName(int fd, void* address, int* length);
int SetOption(int fd, SocketOption option, int value, int secondValue);
int GetOption(int fd, SocketOption option, int* value, int* secondValue);
int SetNonBlocking(int fd, bool nonBlocking);
int BytesReadable(int fd, int* count);

struct PollEntry {
    int fd;
    bool wantRead, wantWrite, wantExcept;
    bool readable, writable, failed;
};
// Waits up to timeoutMs (negative: without limit); returns how many entries
// became ready in any of the asked ways.
int Poll(PollEntry* entries, int count, int timeoutMs);

// The IPv4 addresses of a host name in network byte order; returns 0 or a
// Windows Sockets code.
int ResolveIPv4(const char* name, std::vector<uint32_t>* addresses, std::string* canonicalName);
int HostName(char* name, int length);

}  // namespace halvo::kernel::posix_sockets
