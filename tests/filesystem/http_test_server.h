#pragma once

#include <winsock2.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A real HTTP server on 127.0.0.1 on a port of the system's choice, serving
// one connection at a time on a thread of its own. The handler gets the
// request head and returns the raw bytes to send before closing; kNoAnswer
// makes the server keep the connection open without a word until it stops.
class HttpTestServer {
public:
    using Handler = std::function<std::string(const std::string& request)>;
    static inline const std::string kNoAnswer = "<no answer>";

    explicit HttpTestServer(Handler handler) : m_handler(std::move(handler))
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = LoopbackAddress(0);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_listener, 8);
        int length = sizeof(address);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~HttpTestServer()
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_stopping = true;
        }
        m_stopped.notify_all();
        // A connection of our own wakes the accept so that the thread sees the stop.
        SOCKET wake = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = LoopbackAddress(m_port);
        connect(wake, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        m_thread.join();
        closesocket(wake);
        closesocket(m_listener);
        WSACleanup();
    }

    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int Port() const { return m_port; }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

    std::vector<std::string> Requests()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_requests;
    }

    static sockaddr_in LoopbackAddress(int port)
    {
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(u_short(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

private:
    void Serve()
    {
        while (true) {
            SOCKET connection = accept(m_listener, nullptr, nullptr);
            {
                std::lock_guard<std::mutex> guard(m_lock);
                if (m_stopping) {
                    if (connection != INVALID_SOCKET) closesocket(connection);
                    return;
                }
            }
            if (connection == INVALID_SOCKET) continue;
            Answer(connection);
            closesocket(connection);
        }
    }

    void Answer(SOCKET connection)
    {
        const DWORD timeout = 5000;
        setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
        std::string request;
        char chunk[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int count = recv(connection, chunk, sizeof(chunk), 0);
            if (count <= 0) break;
            request.append(chunk, size_t(count));
        }
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_requests.push_back(request);
        }
        const std::string response = m_handler(request);
        if (response == kNoAnswer) {
            std::unique_lock<std::mutex> guard(m_lock);
            m_stopped.wait(guard, [this] { return m_stopping; });
            return;
        }
        size_t sent = 0;
        while (sent < response.size()) {
            const int count = send(connection, response.data() + sent, int(response.size() - sent), 0);
            if (count <= 0) break;
            sent += size_t(count);
        }
    }

    Handler m_handler;
    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_lock;
    std::condition_variable m_stopped;    // signalled when m_stopping is set
    bool m_stopping = false;              // guarded by m_lock
    std::vector<std::string> m_requests;  // guarded by m_lock
};

// The first line of a request: "GET /path HTTP/1.0".
inline std::string RequestLine(const std::string& request) { return request.substr(0, request.find("\r\n")); }
