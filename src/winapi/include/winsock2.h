// Windows Sockets 2 over the system's sockets.
//
// The C library of this system declares its own fd_set, struct timeval and
// select() from common headers such as <stdlib.h>. This header includes those
// declarations first and then renames the platform's records with macros
// (fd_set -> halvo_fd_set, timeval -> halvo_timeval), so code written for the
// platform gets the platform's records: fd_set holds fd_count and fd_array,
// timeval holds two 32-bit fields. The socket functions have C++ linkage so
// that they never stand in for the C library's functions of the same names.
// u_long is the C library's unsigned long, 64 bits wide here.
#pragma once

#include <windows.h>

#if __has_include(<sys/select.h>)
#include <sys/select.h>
#endif

#undef FD_SETSIZE
#undef FD_SET
#undef FD_CLR
#undef FD_ZERO
#undef FD_ISSET
#define fd_set halvo_fd_set
#define timeval halvo_timeval

#define WSAAPI __stdcall

typedef unsigned char u_char;
typedef unsigned short u_short;
typedef unsigned int u_int;
typedef unsigned long u_long;

typedef UINT_PTR SOCKET;
#define INVALID_SOCKET ((SOCKET)(~0))
#define SOCKET_ERROR (-1)

#ifndef FD_SETSIZE
#define FD_SETSIZE 64
#endif

typedef struct fd_set {
    u_int fd_count;
    SOCKET fd_array[FD_SETSIZE];
} fd_set;

struct timeval {
    LONG tv_sec;
    LONG tv_usec;
};

typedef USHORT ADDRESS_FAMILY;

typedef struct in_addr {
    union {
        struct {
            UCHAR s_b1, s_b2, s_b3, s_b4;
        } S_un_b;
        struct {
            USHORT s_w1, s_w2;
        } S_un_w;
        ULONG S_addr;
    } S_un;
} IN_ADDR, *PIN_ADDR, *LPIN_ADDR;
#define s_addr S_un.S_addr
#define s_host S_un.S_un_b.s_b2
#define s_net S_un.S_un_b.s_b1
#define s_imp S_un.S_un_w.s_w2
#define s_impno S_un.S_un_b.s_b4
#define s_lh S_un.S_un_b.s_b3

typedef struct sockaddr {
    ADDRESS_FAMILY sa_family;
    CHAR sa_data[14];
} SOCKADDR, *PSOCKADDR, *LPSOCKADDR;

typedef struct sockaddr_in {
    ADDRESS_FAMILY sin_family;
    USHORT sin_port;
    IN_ADDR sin_addr;
    CHAR sin_zero[8];
} SOCKADDR_IN, *PSOCKADDR_IN, *LPSOCKADDR_IN;

typedef struct hostent {
    char* h_name;
    char** h_aliases;
    short h_addrtype;
    short h_length;
    char** h_addr_list;
} HOSTENT, *PHOSTENT, *LPHOSTENT;
#define h_addr h_addr_list[0]

typedef struct linger {
    u_short l_onoff;
    u_short l_linger;
} LINGER, *PLINGER, *LPLINGER;

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

// The 64-bit field order of the platform's record.
typedef struct WSAData {
    WORD wVersion;
    WORD wHighVersion;
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
} WSADATA, *LPWSADATA;

#define AF_UNSPEC 0
#define AF_INET 2
#define PF_INET AF_INET
#define SOCK_STREAM 1
#define SOCK_DGRAM 2
#define IPPROTO_IP 0
#define IPPROTO_TCP 6
#define IPPROTO_UDP 17

#define INADDR_ANY ((ULONG)0x00000000)
#define INADDR_LOOPBACK 0x7f000001
#define INADDR_BROADCAST ((ULONG)0xffffffff)
#define INADDR_NONE 0xffffffff

#define SOMAXCONN 0x7fffffff
#define SD_RECEIVE 0x00
#define SD_SEND 0x01
#define SD_BOTH 0x02
#define MSG_OOB 0x1
#define MSG_PEEK 0x2
#define MSG_WAITALL 0x8

#define SOL_SOCKET 0xffff
#define SO_DEBUG 0x0001
#define SO_ACCEPTCONN 0x0002
#define SO_REUSEADDR 0x0004
#define SO_KEEPALIVE 0x0008
#define SO_DONTROUTE 0x0010
#define SO_BROADCAST 0x0020
#define SO_LINGER 0x0080
#define SO_OOBINLINE 0x0100
#define SO_SNDBUF 0x1001
#define SO_RCVBUF 0x1002
#define SO_SNDTIMEO 0x1005
#define SO_RCVTIMEO 0x1006
#define SO_ERROR 0x1007
#define SO_TYPE 0x1008
#define TCP_NODELAY 0x0001

#define IOCPARM_MASK 0x7f
#define IOC_OUT 0x40000000
#define IOC_IN 0x80000000
#define _IOR(x, y, t) (IOC_OUT | (((long)sizeof(t) & IOCPARM_MASK) << 16) | ((x) << 8) | (y))
#define _IOW(x, y, t) (IOC_IN | (((long)sizeof(t) & IOCPARM_MASK) << 16) | ((x) << 8) | (y))
#define FIONREAD _IOR('f', 127, u_int)
#define FIONBIO _IOW('f', 126, u_int)

int WSAAPI WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
int WSAAPI WSACleanup(void);
int WSAAPI WSAGetLastError(void);
void WSAAPI WSASetLastError(int iError);

SOCKET WSAAPI socket(int af, int type, int protocol);
int WSAAPI closesocket(SOCKET s);
int WSAAPI shutdown(SOCKET s, int how);
int WSAAPI bind(SOCKET s, const struct sockaddr* name, int namelen);
int WSAAPI listen(SOCKET s, int backlog);
SOCKET WSAAPI accept(SOCKET s, struct sockaddr* addr, int* addrlen);
int WSAAPI connect(SOCKET s, const struct sockaddr* name, int namelen);
int WSAAPI send(SOCKET s, const char* buf, int len, int flags);
int WSAAPI recv(SOCKET s, char* buf, int len, int flags);
int WSAAPI sendto(SOCKET s, const char* buf, int len, int flags, const struct sockaddr* to, int tolen);
int WSAAPI recvfrom(SOCKET s, char* buf, int len, int flags, struct sockaddr* from, int* fromlen);
int WSAAPI getsockname(SOCKET s, struct sockaddr* name, int* namelen);
int WSAAPI getpeername(SOCKET s, struct sockaddr* name, int* namelen);
int WSAAPI setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen);
int WSAAPI getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen);
int WSAAPI ioctlsocket(SOCKET s, long cmd, u_long* argp);
int WSAAPI select(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const struct timeval* timeout);
struct hostent* WSAAPI gethostbyname(const char* name);
int WSAAPI gethostname(char* name, int namelen);
unsigned long WSAAPI inet_addr(const char* cp);
char* WSAAPI inet_ntoa(struct in_addr in);
int WSAAPI __WSAFDIsSet(SOCKET fd, fd_set* set);

inline u_short WSAAPI htons(u_short hostshort) { return __builtin_bswap16(hostshort); }
inline u_short WSAAPI ntohs(u_short netshort) { return __builtin_bswap16(netshort); }
inline u_long WSAAPI htonl(u_long hostlong) { return __builtin_bswap32((UINT32)hostlong); }
inline u_long WSAAPI ntohl(u_long netlong) { return __builtin_bswap32((UINT32)netlong); }

#define FD_ZERO(set) (((fd_set*)(set))->fd_count = 0)
#define FD_ISSET(fd, set) __WSAFDIsSet((SOCKET)(fd), (fd_set*)(set))
#define FD_SET(fd, set)                                                                          \
    do {                                                                                         \
        u_int halvo_i_;                                                                          \
        for (halvo_i_ = 0; halvo_i_ < ((fd_set*)(set))->fd_count; ++halvo_i_) {                  \
            if (((fd_set*)(set))->fd_array[halvo_i_] == (SOCKET)(fd)) break;                     \
        }                                                                                        \
        if (halvo_i_ == ((fd_set*)(set))->fd_count && ((fd_set*)(set))->fd_count < FD_SETSIZE) { \
            ((fd_set*)(set))->fd_array[halvo_i_] = (SOCKET)(fd);                                 \
            ((fd_set*)(set))->fd_count++;                                                        \
        }                                                                                        \
    } while (0)
#define FD_CLR(fd, set)                                                                              \
    do {                                                                                             \
        u_int halvo_i_;                                                                              \
        for (halvo_i_ = 0; halvo_i_ < ((fd_set*)(set))->fd_count; ++halvo_i_) {                      \
            if (((fd_set*)(set))->fd_array[halvo_i_] == (SOCKET)(fd)) {                              \
                while (halvo_i_ + 1 < ((fd_set*)(set))->fd_count) {                                  \
                    ((fd_set*)(set))->fd_array[halvo_i_] = ((fd_set*)(set))->fd_array[halvo_i_ + 1]; \
                    ++halvo_i_;                                                                      \
                }                                                                                    \
                ((fd_set*)(set))->fd_count--;                                                        \
                break;                                                                               \
            }                                                                                        \
        }                                                                                            \
    } while (0)
