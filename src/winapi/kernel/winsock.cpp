// Windows Sockets 2 over the system's sockets (see posix_sockets.h). A
// SOCKET is the system's descriptor. Every call but the byte-order helpers,
// inet_addr and inet_ntoa fails with WSANOTINITIALISED until WSAStartup has
// succeeded more often than WSACleanup.
#include <winsock2.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "winapi/kernel/posix_sockets.h"

namespace ps = halvo::kernel::posix_sockets;

namespace {

std::atomic<int> startups{0};

// The timeouts as set, per socket. The system rounds them to its clock tick;
// the platform hands back exactly what was set.
struct SetTimeouts {
    std::mutex lock;
    std::map<std::pair<int, int>, int> milliseconds;  // (descriptor, option name) -> value; guarded by lock
};

SetTimeouts& Timeouts()
{
    static SetTimeouts* timeouts = new SetTimeouts;  // never destroyed: sockets may outlive static destructors
    return *timeouts;
}

void RememberTimeout(int fd, int optname, int value)
{
    SetTimeouts& timeouts = Timeouts();
    std::lock_guard guard(timeouts.lock);
    timeouts.milliseconds[{fd, optname}] = value;
}

bool RecallTimeout(int fd, int optname, int* value)
{
    SetTimeouts& timeouts = Timeouts();
    std::lock_guard guard(timeouts.lock);
    auto found = timeouts.milliseconds.find({fd, optname});
    if (found == timeouts.milliseconds.end()) return false;
    *value = found->second;
    return true;
}

void ForgetTimeouts(int fd)
{
    SetTimeouts& timeouts = Timeouts();
    std::lock_guard guard(timeouts.lock);
    timeouts.milliseconds.erase({fd, SO_SNDTIMEO});
    timeouts.milliseconds.erase({fd, SO_RCVTIMEO});
}

int Fail(int code)
{
    WSASetLastError(code);
    return SOCKET_ERROR;
}

// Checks that sockets are started and that s can be a descriptor.
bool Usable(SOCKET s)
{
    if (startups.load() <= 0) {
        WSASetLastError(WSANOTINITIALISED);
        return false;
    }
    if (s > static_cast<SOCKET>(INT_MAX)) {
        WSASetLastError(WSAENOTSOCK);
        return false;
    }
    return true;
}

bool Started()
{
    if (startups.load() > 0) return true;
    WSASetLastError(WSANOTINITIALISED);
    return false;
}

int Descriptor(SOCKET s) { return static_cast<int>(s); }

// An IPv4 address record of at least the platform's size.
bool IsAddressLengthValid(int length) { return length >= static_cast<int>(sizeof(sockaddr_in)); }

bool OptionOf(int level, int name, ps::SocketOption* option)
{
    if (level == IPPROTO_TCP) {
        if (name != TCP_NODELAY) return false;
        *option = ps::SocketOption::NoDelay;
        return true;
    }
    if (level != SOL_SOCKET) return false;
    switch (name) {
    case SO_DEBUG: *option = ps::SocketOption::Debug; return true;
    case SO_ACCEPTCONN: *option = ps::SocketOption::AcceptConnections; return true;
    case SO_REUSEADDR: *option = ps::SocketOption::ReuseAddress; return true;
    case SO_KEEPALIVE: *option = ps::SocketOption::KeepAlive; return true;
    case SO_DONTROUTE: *option = ps::SocketOption::DontRoute; return true;
    case SO_BROADCAST: *option = ps::SocketOption::Broadcast; return true;
    case SO_LINGER: *option = ps::SocketOption::Linger; return true;
    case SO_OOBINLINE: *option = ps::SocketOption::OutOfBandInline; return true;
    case SO_SNDBUF: *option = ps::SocketOption::SendBuffer; return true;
    case SO_RCVBUF: *option = ps::SocketOption::ReceiveBuffer; return true;
    case SO_SNDTIMEO: *option = ps::SocketOption::SendTimeout; return true;
    case SO_RCVTIMEO: *option = ps::SocketOption::ReceiveTimeout; return true;
    case SO_ERROR: *option = ps::SocketOption::Error; return true;
    case SO_TYPE: *option = ps::SocketOption::Type; return true;
    default: return false;
    }
}

int MessageFlags(int flags, bool* valid)
{
    *valid = (flags & ~(MSG_OOB | MSG_PEEK | MSG_WAITALL)) == 0;
    int neutral = 0;
    if (flags & MSG_OOB) neutral |= ps::kOutOfBand;
    if (flags & MSG_PEEK) neutral |= ps::kPeek;
    if (flags & MSG_WAITALL) neutral |= ps::kWaitAll;
    return neutral;
}

// Parses one part of a dotted address: decimal, octal with a leading 0, or
// hexadecimal with 0x, as the platform's inet_addr accepts.
bool ParseAddressPart(const char*& text, unsigned long long* value)
{
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    } else if (text[0] == '0' && text[1] >= '0' && text[1] <= '9') {
        base = 8;
    }
    unsigned long long result = 0;
    const char* start = text;
    for (;; ++text) {
        int digit;
        const char c = *text;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        if (digit >= base) return false;
        result = result * base + digit;
        if (result > 0xFFFFFFFFull) return false;
    }
    if (text == start && base != 16) return false;
    *value = result;
    return true;
}

// The per-thread record that gethostbyname hands out, as on the platform.
struct HostRecord {
    hostent entry{};
    std::string name;
    std::vector<uint32_t> addresses;
    std::vector<char*> addressList;
    char* aliases[1] = {nullptr};
};
thread_local HostRecord hostRecord;
thread_local char dottedAddress[16];

}  // namespace

int WSAAPI WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData)
{
    if (lpWSAData == nullptr) return WSAEFAULT;
    const BYTE major = LOBYTE(wVersionRequested);
    const BYTE minor = HIBYTE(wVersionRequested);
    if (major == 0) return WSAVERNOTSUPPORTED;  // versions 1.0 to 2.2 are served
    std::memset(lpWSAData, 0, sizeof *lpWSAData);
    // Versions above 2.2 are answered with 2.2, versions below with themselves.
    lpWSAData->wVersion = major > 2 || (major == 2 && minor >= 2) ? MAKEWORD(2, 2) : wVersionRequested;
    lpWSAData->wHighVersion = MAKEWORD(2, 2);
    std::strcpy(lpWSAData->szDescription, "WinSock 2.0");
    std::strcpy(lpWSAData->szSystemStatus, "Running");
    startups.fetch_add(1);
    return 0;
}

int WSAAPI WSACleanup(void)
{
    int current = startups.load();
    do {
        if (current <= 0) return Fail(WSANOTINITIALISED);
    } while (!startups.compare_exchange_weak(current, current - 1));
    return 0;
}

int WSAAPI WSAGetLastError(void) { return static_cast<int>(GetLastError()); }

void WSAAPI WSASetLastError(int iError) { SetLastError(static_cast<DWORD>(iError)); }

SOCKET WSAAPI socket(int af, int type, int protocol)
{
    if (!Started()) return INVALID_SOCKET;
    if (af != AF_INET) {
        WSASetLastError(WSAEAFNOSUPPORT);
        return INVALID_SOCKET;
    }
    if (type != SOCK_STREAM && type != SOCK_DGRAM) {
        WSASetLastError(WSAESOCKTNOSUPPORT);
        return INVALID_SOCKET;
    }
    if (protocol != 0 && protocol != (type == SOCK_STREAM ? IPPROTO_TCP : IPPROTO_UDP)) {
        WSASetLastError(WSAEPROTONOSUPPORT);
        return INVALID_SOCKET;
    }
    const int fd = ps::OpenSocket(type == SOCK_STREAM, protocol);
    return fd < 0 ? INVALID_SOCKET : static_cast<SOCKET>(fd);
}

int WSAAPI closesocket(SOCKET s)
{
    if (!Usable(s)) return SOCKET_ERROR;
    ForgetTimeouts(Descriptor(s));
    return ps::CloseSocket(Descriptor(s));
}

int WSAAPI shutdown(SOCKET s, int how)
{
    if (!Usable(s)) return SOCKET_ERROR;
    if (how != SD_RECEIVE && how != SD_SEND && how != SD_BOTH) return Fail(WSAEINVAL);
    const ps::Direction direction = how == SD_RECEIVE ? ps::Direction::Receive
                                    : how == SD_SEND  ? ps::Direction::Send
                                                      : ps::Direction::Both;
    return ps::Shutdown(Descriptor(s), direction);
}

int WSAAPI bind(SOCKET s, const struct sockaddr* name, int namelen)
{
    if (!Usable(s)) return SOCKET_ERROR;
    if (name == nullptr || !IsAddressLengthValid(namelen)) return Fail(WSAEFAULT);
    return ps::Bind(Descriptor(s), name, static_cast<int>(sizeof(sockaddr_in)));
}

int WSAAPI listen(SOCKET s, int backlog)
{
    if (!Usable(s)) return SOCKET_ERROR;
    return ps::Listen(Descriptor(s), backlog == SOMAXCONN || backlog > 4096 ? 4096 : (backlog < 0 ? 0 : backlog));
}

SOCKET WSAAPI accept(SOCKET s, struct sockaddr* addr, int* addrlen)
{
    if (!Usable(s)) return INVALID_SOCKET;
    if (addr != nullptr && (addrlen == nullptr || !IsAddressLengthValid(*addrlen))) {
        WSASetLastError(WSAEFAULT);
        return INVALID_SOCKET;
    }
    const int fd = ps::Accept(Descriptor(s), addr, addr != nullptr ? addrlen : nullptr);
    return fd < 0 ? INVALID_SOCKET : static_cast<SOCKET>(fd);
}

int WSAAPI connect(SOCKET s, const struct sockaddr* name, int namelen)
{
    if (!Usable(s)) return SOCKET_ERROR;
    if (name == nullptr || !IsAddressLengthValid(namelen)) return Fail(WSAEFAULT);
    return ps::Connect(Descriptor(s), name, static_cast<int>(sizeof(sockaddr_in)));
}

int WSAAPI send(SOCKET s, const char* buf, int len, int flags) { return sendto(s, buf, len, flags, nullptr, 0); }

int WSAAPI recv(SOCKET s, char* buf, int len, int flags) { return recvfrom(s, buf, len, flags, nullptr, nullptr); }

int WSAAPI sendto(SOCKET s, const char* buf, int len, int flags, const struct sockaddr* to, int tolen)
{
    if (!Usable(s)) return SOCKET_ERROR;
    if (len < 0 || (buf == nullptr && len > 0)) return Fail(WSAEFAULT);
    if (to != nullptr && !IsAddressLengthValid(tolen)) return Fail(WSAEFAULT);
    bool valid;
    const int neutral = MessageFlags(flags, &valid);
    if (!valid) return Fail(WSAEOPNOTSUPP);
    return ps::Send(Descriptor(s), buf, len, neutral, to, to != nullptr ? static_cast<int>(sizeof(sockaddr_in)) : 0);
}

int WSAAPI recvfrom(SOCKET s, char* buf, int len, int flags, struct sockaddr* from, int* fromlen)
{
    if (!Usable(s)) return SOCKET_ERROR;
    if (len < 0 || (buf == nullptr && len > 0)) return Fail(WSAEFAULT);
    if (from != nullptr && (fromlen == nullptr || !IsAddressLengthValid(*fromlen))) return Fail(WSAEFAULT);
    bool valid;
    const int neutral = MessageFlags(flags, &valid);
    if (!valid) return Fail(WSAEOPNOTSUPP);
    return ps::Receive(Descriptor(s), buf, len, neutral, from, from != nullptr ? fromlen : nullptr);
}

int WSAAPI getsockname(SOCKET s, struct sockaddr* name, int* namelen)
{
    if (!Usable(s)) return SOCKET_ERROR;
    if (name == nullptr || namelen == nullptr || !IsAddressLengthValid(*namelen)) return Fail(WSAEFAULT);
    return ps::SocketName(Descriptor(s), name, namelen);
}

int WSAAPI getpeername(SOCKET s, struct sockaddr* name, int* namelen)
{
    if (!Usable(s)) return SOCKET_ERROR;
    if (name == nullptr || namelen == nullptr || !IsAddressLengthValid(*namelen)) return Fail(WSAEFAULT);
    return ps::PeerName(Descriptor(s), name, namelen);
}

int WSAAPI setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen)
{
    if (!Usable(s)) return SOCKET_ERROR;
    ps::SocketOption option;
    if (!OptionOf(level, optname, &option))
        return Fail(level == SOL_SOCKET || level == IPPROTO_TCP ? WSAENOPROTOOPT : WSAEINVAL);
    if (optval == nullptr) return Fail(WSAEFAULT);
    if (option == ps::SocketOption::Linger) {
        if (optlen < static_cast<int>(sizeof(linger))) return Fail(WSAEFAULT);
        linger setting;
        std::memcpy(&setting, optval, sizeof setting);
        return ps::SetOption(Descriptor(s), option, setting.l_onoff, setting.l_linger);
    }
    // Boolean options may be given as a single byte; everything else is a
    // 32-bit value (timeouts: a DWORD of milliseconds).
    int value;
    if (optlen >= static_cast<int>(sizeof(DWORD))) {
        DWORD word;
        std::memcpy(&word, optval, sizeof word);
        value = static_cast<int>(word);
    } else if (optlen >= 1 && option != ps::SocketOption::SendTimeout && option != ps::SocketOption::ReceiveTimeout) {
        value = static_cast<unsigned char>(optval[0]);
    } else {
        return Fail(WSAEFAULT);
    }
    if (ps::SetOption(Descriptor(s), option, value, 0) != 0) return SOCKET_ERROR;
    if (option == ps::SocketOption::SendTimeout || option == ps::SocketOption::ReceiveTimeout) {
        RememberTimeout(Descriptor(s), optname, value);
    }
    return 0;
}

int WSAAPI getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen)
{
    if (!Usable(s)) return SOCKET_ERROR;
    ps::SocketOption option;
    if (!OptionOf(level, optname, &option))
        return Fail(level == SOL_SOCKET || level == IPPROTO_TCP ? WSAENOPROTOOPT : WSAEINVAL);
    if (optval == nullptr || optlen == nullptr) return Fail(WSAEFAULT);
    int value;
    int secondValue;
    if (option == ps::SocketOption::Linger) {
        if (*optlen < static_cast<int>(sizeof(linger))) return Fail(WSAEFAULT);
        if (ps::GetOption(Descriptor(s), option, &value, &secondValue) != 0) return SOCKET_ERROR;
        const linger setting{static_cast<u_short>(value), static_cast<u_short>(secondValue)};
        std::memcpy(optval, &setting, sizeof setting);
        *optlen = static_cast<int>(sizeof setting);
        return 0;
    }
    if (*optlen < static_cast<int>(sizeof(DWORD))) return Fail(WSAEFAULT);
    if (ps::GetOption(Descriptor(s), option, &value, &secondValue) != 0) return SOCKET_ERROR;
    if (level == SOL_SOCKET) RecallTimeout(Descriptor(s), optname, &value);
    const DWORD word = static_cast<DWORD>(value);
    std::memcpy(optval, &word, sizeof word);
    *optlen = static_cast<int>(sizeof word);
    return 0;
}

int WSAAPI ioctlsocket(SOCKET s, long cmd, u_long* argp)
{
    if (!Usable(s)) return SOCKET_ERROR;
    if (argp == nullptr) return Fail(WSAEFAULT);
    const unsigned long command = static_cast<unsigned long>(cmd) & 0xFFFFFFFFul;
    if (command == (static_cast<unsigned long>(FIONBIO) & 0xFFFFFFFFul)) {
        return ps::SetNonBlocking(Descriptor(s), *argp != 0);
    }
    if (command == (static_cast<unsigned long>(FIONREAD) & 0xFFFFFFFFul)) {
        int count = 0;
        if (ps::BytesReadable(Descriptor(s), &count) != 0) return SOCKET_ERROR;
        *argp = static_cast<u_long>(count);
        return 0;
    }
    return Fail(WSAEINVAL);
}

int WSAAPI select(int, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const struct timeval* timeout)
{
    if (!Started()) return SOCKET_ERROR;
    std::vector<ps::PollEntry> entries;
    auto add = [&](fd_set* set, int kind) {
        if (set == nullptr) return true;
        if (set->fd_count > FD_SETSIZE) return false;
        for (u_int index = 0; index < set->fd_count; ++index) {
            const SOCKET s = set->fd_array[index];
            if (s > static_cast<SOCKET>(INT_MAX)) return false;
            ps::PollEntry* entry = nullptr;
            for (auto& known : entries) {
                if (known.fd == Descriptor(s)) entry = &known;
            }
            if (entry == nullptr) {
                entries.push_back({Descriptor(s), false, false, false, false, false, false});
                entry = &entries.back();
            }
            if (kind == 0) entry->wantRead = true;
            if (kind == 1) entry->wantWrite = true;
            if (kind == 2) entry->wantExcept = true;
        }
        return true;
    };
    if (!add(readfds, 0) || !add(writefds, 1) || !add(exceptfds, 2)) return Fail(WSAENOTSOCK);
    // The platform refuses a select with no socket at all.
    if (entries.empty()) return Fail(WSAEINVAL);
    int timeoutMs = -1;
    if (timeout != nullptr) {
        if (timeout->tv_sec < 0 || timeout->tv_usec < 0) return Fail(WSAEINVAL);
        const long long total = static_cast<long long>(timeout->tv_sec) * 1000 + (timeout->tv_usec + 999) / 1000;
        timeoutMs = total > INT_MAX ? INT_MAX : static_cast<int>(total);
    }
    if (ps::Poll(entries.data(), static_cast<int>(entries.size()), timeoutMs) < 0) return SOCKET_ERROR;
    auto keepReady = [&](fd_set* set, int kind) {
        if (set == nullptr) return 0;
        u_int kept = 0;
        for (u_int index = 0; index < set->fd_count; ++index) {
            const SOCKET s = set->fd_array[index];
            for (const auto& entry : entries) {
                if (entry.fd != Descriptor(s)) continue;
                const bool ready = kind == 0 ? entry.readable : kind == 1 ? entry.writable : entry.failed;
                if (ready) set->fd_array[kept++] = s;
                break;
            }
        }
        set->fd_count = kept;
        return static_cast<int>(kept);
    };
    return keepReady(readfds, 0) + keepReady(writefds, 1) + keepReady(exceptfds, 2);
}

int WSAAPI __WSAFDIsSet(SOCKET fd, fd_set* set)
{
    for (u_int index = 0; index < set->fd_count; ++index) {
        if (set->fd_array[index] == fd) return 1;
    }
    return 0;
}

struct hostent* WSAAPI gethostbyname(const char* name)
{
    if (!Started()) return nullptr;
    if (name == nullptr) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    HostRecord& record = hostRecord;
    record.addresses.clear();
    const int status = ps::ResolveIPv4(name, &record.addresses, &record.name);
    if (status != 0) {
        WSASetLastError(status);
        return nullptr;
    }
    record.addressList.clear();
    for (uint32_t& address : record.addresses) record.addressList.push_back(reinterpret_cast<char*>(&address));
    record.addressList.push_back(nullptr);
    record.entry.h_name = record.name.data();
    record.entry.h_aliases = record.aliases;
    record.entry.h_addrtype = AF_INET;
    record.entry.h_length = 4;
    record.entry.h_addr_list = record.addressList.data();
    return &record.entry;
}

int WSAAPI gethostname(char* name, int namelen)
{
    if (!Started()) return SOCKET_ERROR;
    if (name == nullptr || namelen <= 0) return Fail(WSAEFAULT);
    return ps::HostName(name, namelen);
}

unsigned long WSAAPI inet_addr(const char* cp)
{
    if (cp == nullptr || cp[0] == '\0') return INADDR_NONE;
    unsigned long long parts[4];
    int count = 0;
    const char* text = cp;
    for (;;) {
        if (count == 4 || !ParseAddressPart(text, &parts[count])) return INADDR_NONE;
        ++count;
        if (*text == '.') {
            ++text;
            continue;
        }
        // Anything after the address other than spaces makes it invalid.
        while (*text == ' ') ++text;
        if (*text != '\0') return INADDR_NONE;
        break;
    }
    // "a.b.c.d", "a.b.c" (c: 16 bits), "a.b" (b: 24 bits), "a" (32 bits).
    unsigned long long host = 0;
    for (int index = 0; index < count - 1; ++index) {
        if (parts[index] > 0xFF) return INADDR_NONE;
        host |= parts[index] << (24 - 8 * index);
    }
    const int lastBits = 32 - 8 * (count - 1);
    if (lastBits < 32 && parts[count - 1] >> lastBits != 0) return INADDR_NONE;
    host |= parts[count - 1];
    return htonl(static_cast<u_long>(host));
}

char* WSAAPI inet_ntoa(struct in_addr in)
{
    const unsigned char* bytes = &in.S_un.S_un_b.s_b1;
    std::snprintf(dottedAddress, sizeof dottedAddress, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return dottedAddress;
}
