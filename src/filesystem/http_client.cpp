#include "filesystem/http_client.h"

#include <winsock2.h>

#include <atomic>
#include <cstring>

#include "filesystem/http_response_parser.h"
#include "filesystem/http_url.h"
#include "foundation/critical_section.h"
#include "foundation/engine_log.h"

namespace {

struct UserAgent {
    CriticalSection lock;
    String product = "Halvo";     // guarded by lock
    String version = "15.30.00";  // guarded by lock
    String platform = "Windows";  // guarded by lock
};

UserAgent& TheUserAgent()
{
    static UserAgent agent;
    return agent;
}

std::atomic<int> g_connectTimeout{10000};
std::atomic<int> g_receiveTimeout{30000};

constexpr int kReceiveChunk = 16 * 1024;

void LogUnableToConnect(const HttpUrl& url)
{
    HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: unable to connect to %s:%d.", url.host.GetText(), url.port);
}

void LogOutOfMemory(const char* urlText)
{
    HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: out of memory receiving from '%s'.", urlText);
}

// Winsock for the length of one request.
class WinsockScope {
public:
    WinsockScope()
    {
        WSADATA data;
        m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockScope()
    {
        if (m_started) WSACleanup();
    }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;
    bool IsStarted() const { return m_started; }

private:
    bool m_started;
};

class Socket {
public:
    Socket() : m_socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~Socket()
    {
        if (m_socket != INVALID_SOCKET) closesocket(m_socket);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET Get() const { return m_socket; }

private:
    SOCKET m_socket;
};

String FormatRequest(const HttpUrl& url)
{
    UserAgent& agent = TheUserAgent();
    CriticalSectionScope scope(agent.lock);
    String host = url.port == 80 ? url.host : String::Formatted("%s:%d", url.host.GetText(), url.port);
    String request = String::Formatted("GET %s HTTP/1.0\r\nHost: %s\r\n", url.path.GetText(), host.GetText());
    request.AppendFormat("User-Agent: Mozilla/5.0 (%s/%s; %s)\r\n", agent.product.GetText(), agent.version.GetText(),
                         agent.platform.GetText());
    request.Append("\r\n");
    return request;
}

bool ResolveHost(const HttpUrl& url, sockaddr_in& address)
{
    const hostent* host = gethostbyname(url.host.GetText());
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != 4 || host->h_addr_list == nullptr ||
        host->h_addr_list[0] == nullptr) {
        HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: unable to resolve host '%s'.", url.host.GetText());
        return false;
    }
    address = sockaddr_in();
    address.sin_family = AF_INET;
    address.sin_port = htons(u_short(url.port));
    std::memcpy(&address.sin_addr, host->h_addr_list[0], 4);
    return true;
}

// Connects without blocking and waits at most the connect timeout.
bool Connect(SOCKET handle, const HttpUrl& url, const sockaddr_in& address)
{
    u_long nonBlocking = 1;
    if (ioctlsocket(handle, FIONBIO, &nonBlocking) != 0) {
        LogUnableToConnect(url);
        return false;
    }
    if (connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK && error != WSAEINPROGRESS) {
            LogUnableToConnect(url);
            return false;
        }
        const int timeout = g_connectTimeout.load();
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(handle, &writable);
        FD_SET(handle, &failed);
        timeval wait = {LONG(timeout / 1000), LONG((timeout % 1000) * 1000)};
        const int ready = select(0, nullptr, &writable, &failed, &wait);
        if (ready == 0) {
            HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: connecting to %s:%d timed out after %d ms.", url.host.GetText(),
                    url.port, timeout);
            return false;
        }
        int socketError = 0;
        int length = sizeof(socketError);
        if (ready < 0 || FD_ISSET(handle, &failed) ||
            getsockopt(handle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socketError), &length) != 0 ||
            socketError != 0) {
            LogUnableToConnect(url);
            return false;
        }
    }
    nonBlocking = 0;
    const DWORD receiveTimeout = DWORD(g_receiveTimeout.load());
    const char* timeoutBytes = reinterpret_cast<const char*>(&receiveTimeout);
    const bool configured = ioctlsocket(handle, FIONBIO, &nonBlocking) == 0 &&
                            setsockopt(handle, SOL_SOCKET, SO_RCVTIMEO, timeoutBytes, sizeof(receiveTimeout)) == 0 &&
                            setsockopt(handle, SOL_SOCKET, SO_SNDTIMEO, timeoutBytes, sizeof(receiveTimeout)) == 0;
    if (!configured) LogUnableToConnect(url);
    return configured;
}

bool SendAll(SOCKET handle, const String& request, const char* urlText)
{
    int sent = 0;
    while (sent < request.GetLength()) {
        const int result = send(handle, request.GetText() + sent, request.GetLength() - sent, 0);
        if (result <= 0) {
            HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: unable to send the request to '%s'.", urlText);
            return false;
        }
        sent += result;
    }
    return true;
}

// Receives until the parser has a complete response or refuses it.
bool ReceiveResponse(SOCKET handle, const char* urlText, ByteBuffer& received, HttpResponse& response)
{
    char chunk[kReceiveChunk];
    while (true) {
        const int count = recv(handle, chunk, sizeof(chunk), 0);
        if (count < 0) {
            if (WSAGetLastError() == WSAETIMEDOUT)
                HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: no answer from '%s' within %d ms.", urlText,
                        g_receiveTimeout.load());
            else
                HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: receiving from '%s' failed.", urlText);
            return false;
        }
        if (count > 0 && !received.WriteBytes(chunk, count)) {
            LogOutOfMemory(urlText);
            return false;
        }
        const HttpParseState state =
            HVI_ParseHttpResponse(received.GetData(), received.GetSize(), count == 0, response);
        if (state == HttpParseState::Complete) return true;
        if (state == HttpParseState::Malformed) {
            HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: the response from '%s' is invalid: %s.", urlText, response.error);
            return false;
        }
    }
}

// One request and its response.
bool Exchange(const HttpUrl& url, ByteBuffer& received, HttpResponse& response)
{
    const String urlText = HVI_FormatHttpUrl(url);
    sockaddr_in address;
    if (!ResolveHost(url, address)) return false;
    Socket connection;
    if (connection.Get() == INVALID_SOCKET) {
        HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: unable to create a socket.");
        return false;
    }
    return Connect(connection.Get(), url, address) &&
           SendAll(connection.Get(), FormatRequest(url), urlText.GetText()) &&
           ReceiveResponse(connection.Get(), urlText.GetText(), received, response);
}

bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307; }

}  // namespace

bool HVI_HttpGet(const char* url, HttpGetResult& out)
{
    out.status = 0;
    out.body.Free();
    out.url.Assign(url);
    HttpUrl current;
    if (!HVI_ParseHttpUrl(url, current)) {
        HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: '%s' is not a valid http:// URL.", url ? url : "");
        return false;
    }
    WinsockScope winsock;
    if (!winsock.IsStarted()) {
        HVI_Log(HV_LOG_ERROR, "HVI_HttpGet: unable to start Winsock.");
        return false;
    }
    for (int redirects = 0;; ++redirects) {
        out.url = HVI_FormatHttpUrl(current);
        ByteBuffer received;
        HttpResponse response;
        if (!Exchange(current, received, response)) return false;
        out.status = response.status;
        if (IsRedirect(response.status)) {
            if (redirects == kMaxHttpRedirects) {
                HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: too many redirects from '%s'.", url);
                return false;
            }
            HttpUrl next;
            if (!HVI_ResolveHttpLocation(current, response.location.GetText(), next)) {
                HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: the redirect from '%s' to '%s' cannot be followed.",
                        out.url.GetText(), response.location.GetText());
                return false;
            }
            current = next;
            continue;
        }
        if (response.status < 200 || response.status > 299) {
            HVI_Log(HV_LOG_WARNING, "HVI_HttpGet: '%s' answered with status %d.", out.url.GetText(), response.status);
            return false;
        }
        if (!out.body.WriteBytes(received.GetData() + response.headerSize, int(response.bodySize))) {
            LogOutOfMemory(out.url.GetText());
            return false;
        }
        return true;
    }
}

void HVI_SetHttpTimeouts(int connectMilliseconds, int receiveMilliseconds)
{
    g_connectTimeout.store(connectMilliseconds < 1 ? 1 : connectMilliseconds);
    g_receiveTimeout.store(receiveMilliseconds < 1 ? 1 : receiveMilliseconds);
}

void HVI_SetHttpUserAgent(const char* product, const char* version, const char* platform)
{
    UserAgent& agent = TheUserAgent();
    CriticalSectionScope scope(agent.lock);
    agent.product.Assign(product);
    agent.version.Assign(version);
    agent.platform.Assign(platform);
}
