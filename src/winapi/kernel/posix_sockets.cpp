#include "winapi/kernel/posix_sockets.h"

#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <windows.h>

namespace halvo::kernel::posix_sockets {
namespace {

bool IsNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) != 0;
}

// The Windows Sockets code for a POSIX error. A blocking call that ran out
// of its SO_RCVTIMEO/SO_SNDTIMEO time reports EAGAIN here and WSAETIMEDOUT
// on the platform.
int CodeFromErrno(int error, int fd)
{
    switch (error) {
    case EAGAIN: return fd >= 0 && !IsNonBlocking(fd) ? WSAETIMEDOUT : WSAEWOULDBLOCK;
    case EINPROGRESS: return fd >= 0 && !IsNonBlocking(fd) ? WSAETIMEDOUT : WSAEWOULDBLOCK;
    case EINTR: return WSAEINTR;
    case EBADF:
    case ENOTSOCK: return WSAENOTSOCK;
    case EACCES:
    case EPERM: return WSAEACCES;
    case EFAULT: return WSAEFAULT;
    case EINVAL: return WSAEINVAL;
    case EMFILE:
    case ENFILE: return WSAEMFILE;
    case EALREADY: return WSAEALREADY;
    case EDESTADDRREQ: return WSAEDESTADDRREQ;
    case EMSGSIZE: return WSAEMSGSIZE;
    case EPROTOTYPE: return WSAEPROTOTYPE;
    case ENOPROTOOPT: return WSAENOPROTOOPT;
    case EPROTONOSUPPORT: return WSAEPROTONOSUPPORT;
    case ESOCKTNOSUPPORT: return WSAESOCKTNOSUPPORT;
    case EOPNOTSUPP: return WSAEOPNOTSUPP;
    case EPFNOSUPPORT: return WSAEPFNOSUPPORT;
    case EAFNOSUPPORT: return WSAEAFNOSUPPORT;
    case EADDRINUSE: return WSAEADDRINUSE;
    case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
    case ENETDOWN: return WSAENETDOWN;
    case ENETUNREACH: return WSAENETUNREACH;
    case ENETRESET: return WSAENETRESET;
    case ECONNABORTED: return WSAECONNABORTED;
    case ECONNRESET:
    case EPIPE: return WSAECONNRESET;
    case ENOBUFS:
    case ENOMEM: return WSAENOBUFS;
    case EISCONN: return WSAEISCONN;
    case ENOTCONN: return WSAENOTCONN;
    case ESHUTDOWN: return WSAESHUTDOWN;
    case ETIMEDOUT: return WSAETIMEDOUT;
    case ECONNREFUSED: return WSAECONNREFUSED;
    case EHOSTDOWN: return WSAEHOSTDOWN;
    case EHOSTUNREACH: return WSAEHOSTUNREACH;
    default: return WSAEINVAL;
    }
}

int Fail(int error, int fd)
{
    SetLastError(static_cast<DWORD>(CodeFromErrno(error, fd)));
    return -1;
}

int FailWith(int code)
{
    SetLastError(static_cast<DWORD>(code));
    return -1;
}

int MessageFlags(int flags)
{
    int native = 0;
    if (flags & kOutOfBand) native |= MSG_OOB;
    if (flags & kPeek) native |= MSG_PEEK;
    if (flags & kWaitAll) native |= MSG_WAITALL;
    return native;
}

struct NativeOption {
    int level;
    int name;
};

NativeOption NativeOptionOf(SocketOption option)
{
    switch (option) {
    case SocketOption::Debug: return {SOL_SOCKET, SO_DEBUG};
    case SocketOption::AcceptConnections: return {SOL_SOCKET, SO_ACCEPTCONN};
    case SocketOption::ReuseAddress: return {SOL_SOCKET, SO_REUSEADDR};
    case SocketOption::KeepAlive: return {SOL_SOCKET, SO_KEEPALIVE};
    case SocketOption::DontRoute: return {SOL_SOCKET, SO_DONTROUTE};
    case SocketOption::Broadcast: return {SOL_SOCKET, SO_BROADCAST};
    case SocketOption::Linger: return {SOL_SOCKET, SO_LINGER};
    case SocketOption::OutOfBandInline: return {SOL_SOCKET, SO_OOBINLINE};
    case SocketOption::SendBuffer: return {SOL_SOCKET, SO_SNDBUF};
    case SocketOption::ReceiveBuffer: return {SOL_SOCKET, SO_RCVBUF};
    case SocketOption::SendTimeout: return {SOL_SOCKET, SO_SNDTIMEO};
    case SocketOption::ReceiveTimeout: return {SOL_SOCKET, SO_RCVTIMEO};
    case SocketOption::Error: return {SOL_SOCKET, SO_ERROR};
    case SocketOption::Type: return {SOL_SOCKET, SO_TYPE};
    case SocketOption::NoDelay: return {IPPROTO_TCP, TCP_NODELAY};
    }
    return {SOL_SOCKET, SO_DEBUG};
}

}  // namespace

int OpenSocket(bool stream, int protocol)
{
    const int fd = socket(AF_INET, (stream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC, protocol);
    if (fd < 0) return Fail(errno, -1);
    return fd;
}

int CloseSocket(int fd)
{
    // Only sockets are closed: a stray number must not close one of the
    // process's files.
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISSOCK(status.st_mode)) return FailWith(WSAENOTSOCK);
    if (close(fd) != 0 && errno != EINTR) return Fail(errno, -1);
    return 0;
}

int Shutdown(int fd, Direction direction)
{
    const int how = direction == Direction::Receive ? SHUT_RD : direction == Direction::Send ? SHUT_WR : SHUT_RDWR;
    if (shutdown(fd, how) != 0) return Fail(errno, fd);
    return 0;
}

int Bind(int fd, const void* address, int length)
{
    if (bind(fd, static_cast<const sockaddr*>(address), static_cast<socklen_t>(length)) != 0) return Fail(errno, fd);
    return 0;
}

int Listen(int fd, int backlog)
{
    if (listen(fd, backlog) != 0) return Fail(errno, fd);
    return 0;
}

int Accept(int fd, void* address, int* length)
{
    // An accepted socket takes the listening socket's blocking mode, as on the platform.
    const int flags = SOCK_CLOEXEC | (IsNonBlocking(fd) ? SOCK_NONBLOCK : 0);
    socklen_t size = length != nullptr ? static_cast<socklen_t>(*length) : 0;
    int accepted;
    do {
        accepted = accept4(fd, static_cast<sockaddr*>(address), address != nullptr ? &size : nullptr, flags);
    } while (accepted < 0 && errno == EINTR);
    if (accepted < 0) return Fail(errno, fd);
    if (length != nullptr && address != nullptr) *length = static_cast<int>(size);
    return accepted;
}

int Connect(int fd, const void* address, int length)
{
    if (connect(fd, static_cast<const sockaddr*>(address), static_cast<socklen_t>(length)) != 0) {
        return Fail(errno, fd);
    }
    return 0;
}

int Send(int fd, const char* data, int length, int flags, const void* to, int toLength)
{
    ssize_t sent;
    do {
        // MSG_NOSIGNAL: a closed peer gives an error, never a SIGPIPE.
        sent = sendto(fd, data, static_cast<size_t>(length), MessageFlags(flags) | MSG_NOSIGNAL,
                      static_cast<const sockaddr*>(to), static_cast<socklen_t>(toLength));
    } while (sent < 0 && errno == EINTR);
    if (sent < 0) return Fail(errno, fd);
    return static_cast<int>(sent);
}

int Receive(int fd, char* data, int length, int flags, void* from, int* fromLength)
{
    socklen_t size = fromLength != nullptr ? static_cast<socklen_t>(*fromLength) : 0;
    ssize_t received;
    do {
        received = recvfrom(fd, data, static_cast<size_t>(length), MessageFlags(flags), static_cast<sockaddr*>(from),
                            from != nullptr ? &size : nullptr);
    } while (received < 0 && errno == EINTR);
    if (received < 0) return Fail(errno, fd);
    if (from != nullptr && fromLength != nullptr) *fromLength = static_cast<int>(size);
    return static_cast<int>(received);
}

int SocketName(int fd, void* address, int* length)
{
    socklen_t size = static_cast<socklen_t>(*length);
    if (getsockname(fd, static_cast<sockaddr*>(address), &size) != 0) return Fail(errno, fd);
    *length = static_cast<int>(size);
    return 0;
}

int PeerName(int fd, void* address, int* length)
{
    socklen_t size = static_cast<socklen_t>(*length);
    if (getpeername(fd, static_cast<sockaddr*>(address), &size) != 0) return Fail(errno, fd);
    *length = static_cast<int>(size);
    return 0;
}

int SetOption(int fd, SocketOption option, int value, int secondValue)
{
    const NativeOption native = NativeOptionOf(option);
    int result;
    switch (option) {
    case SocketOption::SendTimeout:
    case SocketOption::ReceiveTimeout: {
        const unsigned milliseconds = static_cast<unsigned>(value);
        timeval time{static_cast<time_t>(milliseconds / 1000), static_cast<suseconds_t>(milliseconds % 1000 * 1000)};
        result = setsockopt(fd, native.level, native.name, &time, sizeof time);
        break;
    }
    case SocketOption::Linger: {
        linger setting{value, secondValue};
        result = setsockopt(fd, native.level, native.name, &setting, sizeof setting);
        break;
    }
    case SocketOption::Error:
    case SocketOption::Type:
    case SocketOption::AcceptConnections: return FailWith(WSAENOPROTOOPT);
    default: result = setsockopt(fd, native.level, native.name, &value, sizeof value); break;
    }
    if (result != 0) return Fail(errno, fd);
    return 0;
}

int GetOption(int fd, SocketOption option, int* value, int* secondValue)
{
    const NativeOption native = NativeOptionOf(option);
    int result;
    *secondValue = 0;
    switch (option) {
    case SocketOption::SendTimeout:
    case SocketOption::ReceiveTimeout: {
        timeval time{};
        socklen_t size = sizeof time;
        result = getsockopt(fd, native.level, native.name, &time, &size);
        *value = static_cast<int>(time.tv_sec * 1000 + time.tv_usec / 1000);
        break;
    }
    case SocketOption::Linger: {
        linger setting{};
        socklen_t size = sizeof setting;
        result = getsockopt(fd, native.level, native.name, &setting, &size);
        *value = setting.l_onoff;
        *secondValue = setting.l_linger;
        break;
    }
    default: {
        socklen_t size = sizeof *value;
        result = getsockopt(fd, native.level, native.name, value, &size);
        if (result == 0 && option == SocketOption::Error && *value != 0) *value = CodeFromErrno(*value, -1);
        break;
    }
    }
    if (result != 0) return Fail(errno, fd);
    return 0;
}

int SetNonBlocking(int fd, bool nonBlocking)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0) return Fail(errno, -1);
    if (fcntl(fd, F_SETFL, nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) != 0) return Fail(errno, -1);
    return 0;
}

int BytesReadable(int fd, int* count)
{
    if (ioctl(fd, FIONREAD, count) != 0) return Fail(errno, -1);
    return 0;
}

int Poll(PollEntry* entries, int count, int timeoutMs)
{
    std::vector<pollfd> watched(static_cast<size_t>(count));
    for (int index = 0; index < count; ++index) {
        short events = 0;
        if (entries[index].wantRead) events |= POLLIN;
        if (entries[index].wantWrite) events |= POLLOUT;
        if (entries[index].wantExcept) events |= POLLPRI;
        watched[index] = {entries[index].fd, events, 0};
    }
    int result;
    do {
        result = poll(watched.data(), static_cast<nfds_t>(count), timeoutMs);
    } while (result < 0 && errno == EINTR);
    if (result < 0) return Fail(errno, -1);
    int ready = 0;
    for (int index = 0; index < count; ++index) {
        PollEntry& entry = entries[index];
        const short got = watched[index].revents;
        if (got & POLLNVAL) return FailWith(WSAENOTSOCK);
        // A failed connection attempt shows as an exception, not as writable;
        // a closed or reset connection shows as readable.
        entry.failed = entry.wantExcept && (got & (POLLPRI | POLLERR)) != 0;
        entry.writable = entry.wantWrite && (got & POLLOUT) != 0 && (got & POLLERR) == 0;
        entry.readable = entry.wantRead && (got & (POLLIN | POLLHUP | POLLERR)) != 0;
        if (entry.failed || entry.writable || entry.readable) ++ready;
    }
    return ready;
}

int ResolveIPv4(const char* name, std::vector<uint32_t>* addresses, std::string* canonicalName)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* results = nullptr;
    const int status = getaddrinfo(name, nullptr, &hints, &results);
    if (status != 0) {
        switch (status) {
        case EAI_AGAIN: return WSATRY_AGAIN;
        case EAI_NONAME:
        case EAI_NODATA:
        case EAI_FAMILY: return WSAHOST_NOT_FOUND;
        case EAI_MEMORY: return WSAENOBUFS;
        default: return WSANO_RECOVERY;
        }
    }
    *canonicalName = results->ai_canonname != nullptr ? results->ai_canonname : name;
    for (const addrinfo* result = results; result != nullptr; result = result->ai_next) {
        const uint32_t address = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr.s_addr;
        bool seen = false;
        for (uint32_t known : *addresses) seen = seen || known == address;
        if (!seen) addresses->push_back(address);
    }
    freeaddrinfo(results);
    return addresses->empty() ? WSANO_DATA : 0;
}

int HostName(char* name, int length)
{
    if (gethostname(name, static_cast<size_t>(length)) != 0) return Fail(errno == ENAMETOOLONG ? EFAULT : errno, -1);
    return 0;
}

}  // namespace halvo::kernel::posix_sockets
