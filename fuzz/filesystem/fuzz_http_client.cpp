// HVI_HttpGet against a real server on 127.0.0.1 that answers each
// connection with the next response of the input. Responses are separated by
// "<<NEXT>>"; "{port}" stands for the server's port, and "<<CUT>>" marks
// places where the bytes are also cut for the parser (the client reads them
// in whatever pieces the connection gives it).
//
// The outcome of the request is worked out beforehand with the same parser
// and redirect rules on whole responses: the client must agree with it on
// success, status, body and the number of requests, whatever pieces the
// bytes arrive in. A parser that completes a prefix must complete it as the
// whole (the receive loop stops there). Redirects that would leave the
// server make the input uninteresting, so no request ever leaves the machine.
#include <winsock2.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "filesystem/http_client.h"
#include "filesystem/http_response_parser.h"
#include "filesystem/http_url.h"
#include "foundation/engine_log.h"

namespace {

constexpr const char kNext[] = "<<NEXT>>";
constexpr const char kCut[] = "<<CUT>>";
constexpr const char kPortMark[] = "{port}";
constexpr size_t kMostResponses = kMaxHttpRedirects + 2;

// Serves one connection at a time: reads the request head, answers with the
// next scripted response (nothing once they run out) and closes.
class LoopbackServer {
public:
    LoopbackServer()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(m_listener, 16) != 0 || getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            std::abort();
        m_port = ntohs(address.sin_port);
        std::thread([this] { Serve(); }).detach();  // lives as long as the process
    }

    int Port() const { return m_port; }

    void Script(std::vector<std::string> responses)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_responses = std::move(responses);
        m_served = 0;
        m_requests.clear();
    }

    std::vector<std::string> Requests()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_requests;
    }

private:
    void Serve()
    {
        while (true) {
            const SOCKET connection = accept(m_listener, nullptr, nullptr);
            if (connection == INVALID_SOCKET) continue;
            const DWORD timeout = 5000;
            setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
            std::string request;
            char chunk[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int count = recv(connection, chunk, sizeof(chunk), 0);
                if (count <= 0) break;
                request.append(chunk, size_t(count));
            }
            std::string response;
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_requests.push_back(request);
                if (m_served < m_responses.size()) response = m_responses[m_served];
                ++m_served;
            }
            for (size_t sent = 0; sent < response.size();) {
                const int count = send(connection, response.data() + sent, int(response.size() - sent), 0);
                if (count <= 0) break;
                sent += size_t(count);
            }
            closesocket(connection);
        }
    }

    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::mutex m_lock;
    std::vector<std::string> m_responses;  // guarded by m_lock
    size_t m_served = 0;                   // guarded by m_lock
    std::vector<std::string> m_requests;   // guarded by m_lock
};

// Lines the client logs during one request.
std::mutex g_logLock;
std::string g_log;  // guarded by g_logLock

void KeepLogLine(void*, int, bool, const char* text)
{
    std::lock_guard<std::mutex> guard(g_logLock);
    g_log.append(text).push_back('\n');
}

std::vector<std::string> Split(const std::string& text, const char* separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t found; (found = text.find(separator, start)) != std::string::npos;
         start = found + std::strlen(separator))
        parts.push_back(text.substr(start, found - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307; }

// What the request must come to.
struct Expected {
    bool ok = false;
    int status = 0;
    std::string body;
    size_t requests = 0;
};

// Follows the responses as the client should; false when a redirect would
// lead away from the server.
bool Predict(const std::vector<std::string>& responses, const HttpUrl& start, Expected& expected)
{
    HttpUrl current = start;
    for (int redirects = 0;; ++redirects) {
        const std::string empty;
        const std::string& bytes = size_t(redirects) < responses.size() ? responses[size_t(redirects)] : empty;
        ++expected.requests;
        HttpResponse response;
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        if (HVI_ParseHttpResponse(data, int64_t(bytes.size()), true, response) != HttpParseState::Complete) return true;
        expected.status = response.status;
        if (IsRedirect(response.status)) {
            HttpUrl next;
            if (redirects == kMaxHttpRedirects || !HVI_ResolveHttpLocation(current, response.location.GetText(), next))
                return true;
            if (!(next.host == start.host) || next.port != start.port) return false;
            current = next;
            continue;
        }
        if (response.status >= 200 && response.status <= 299) {
            expected.ok = true;
            expected.body.assign(bytes, size_t(response.headerSize), size_t(response.bodySize));
        }
        return true;
    }
}

// The bytes up to each cut, as received so far, against the whole response.
void CheckPieces(const std::string& whole, const std::vector<size_t>& cuts)
{
    const auto* data = reinterpret_cast<const uint8_t*>(whole.data());
    HttpResponse complete;
    const HttpParseState final = HVI_ParseHttpResponse(data, int64_t(whole.size()), true, complete);
    for (const size_t cut : cuts) {
        HttpResponse partial;
        const HttpParseState state = HVI_ParseHttpResponse(data, int64_t(cut), false, partial);
        if (state == HttpParseState::Malformed && final == HttpParseState::Complete) std::abort();
        if (state == HttpParseState::Complete &&
            (final != HttpParseState::Complete || partial.status != complete.status ||
             partial.headerSize != complete.headerSize || partial.bodySize != complete.bodySize))
            std::abort();
    }
}

// A request line must be "GET <target> HTTP/1.0" with a target that cannot
// break out of the line.
void CheckRequest(const std::string& request)
{
    if (request.rfind("GET /", 0) != 0) std::abort();
    const size_t lineEnd = request.find("\r\n");
    const size_t version = request.find(" HTTP/1.0\r\n");
    if (lineEnd == std::string::npos || version == std::string::npos || version + 9 != lineEnd) std::abort();
    for (size_t i = 4; i < version; ++i) {
        const unsigned char byte = static_cast<unsigned char>(request[i]);
        if (byte <= 0x20 || byte >= 0x7f) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static LoopbackServer* server = [] {
        HVI_SetLogSink(KeepLogLine, nullptr);
        HVI_SetHttpTimeouts(2000, 5000);
        return new LoopbackServer;  // never deleted: its thread runs until the process ends
    }();
    const std::string port = std::to_string(server->Port());
    std::vector<std::string> responses;
    for (const std::string& part : Split(std::string(reinterpret_cast<const char*>(data), size), kNext)) {
        if (responses.size() == kMostResponses) break;
        std::string whole;
        std::vector<size_t> cuts;
        for (const std::string& piece : Split(ReplaceAll(part, kPortMark, port), kCut)) {
            whole += piece;
            cuts.push_back(whole.size());
        }
        cuts.pop_back();
        CheckPieces(whole, cuts);
        responses.push_back(std::move(whole));
    }

    const std::string url = "http://127.0.0.1:" + port + "/start";
    HttpUrl start;
    Expected expected;
    if (!HVI_ParseHttpUrl(url.c_str(), start) || !Predict(responses, start, expected)) return 0;
    {
        std::lock_guard<std::mutex> guard(g_logLock);
        g_log.clear();
    }
    server->Script(responses);
    HttpGetResult result;
    const bool ok = HVI_HttpGet(url.c_str(), result);
    const std::vector<std::string> requests = server->Requests();
    for (const std::string& request : requests) CheckRequest(request);
    {
        // A machine short of sockets or ports says nothing about the client.
        std::lock_guard<std::mutex> guard(g_logLock);
        if (g_log.find("unable to connect") != std::string::npos || g_log.find("unable to create") != std::string::npos)
            return 0;
    }
    if (ok != expected.ok || result.status != expected.status || requests.size() != expected.requests) std::abort();
    if (ok && (result.body.GetSize() != int64_t(expected.body.size()) ||
               (!expected.body.empty() &&
                std::memcmp(result.body.GetData(), expected.body.data(), expected.body.size()) != 0)))
        std::abort();
    return 0;
}
