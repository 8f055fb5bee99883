// A one-connection-at-a-time HTTP stand-in on a free loopback port: it reads
// each request up to its blank line, keeps its text, and answers with the
// canned bytes; then it closes, or keeps the connection open without a word
// until it is destroyed (holdOpen). For the client's status and framing
// cases, which a real server would never produce on demand.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace TestSupport
{

class CannedHttpServer
{
public:
    explicit CannedHttpServer(std::string reply, bool holdOpen = false)
        : reply(std::move(reply)), holdOpen(holdOpen)
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(listener, 8) != 0)
            return;
        socklen_t length = sizeof(address);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        thread = std::thread([this] { Serve(); });
    }

    ~CannedHttpServer()
    {
        stopping = true;
        if (thread.joinable())
            thread.join();
        if (listener >= 0)
            close(listener);
    }

    int Port() const { return port; }
    std::string Url(std::string const& rest = "") const
    {
        return "http://127.0.0.1:" + std::to_string(port) + "/" + rest;
    }

    std::vector<std::string> Requests()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return requests;
    }

private:
    bool Ready(int fd, int ms)
    {
        pollfd pfd{fd, POLLIN, 0};
        return poll(&pfd, 1, ms) > 0;
    }

    void Serve()
    {
        while (!stopping)
        {
            if (!Ready(listener, 20))
                continue;
            const int connection = accept(listener, nullptr, nullptr);
            if (connection < 0)
                continue;
            std::string request;
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (!stopping && request.find("\r\n\r\n") == std::string::npos &&
                   std::chrono::steady_clock::now() < deadline)
            {
                if (!Ready(connection, 20))
                    continue;
                char buffer[1024];
                const ssize_t got = recv(connection, buffer, sizeof(buffer), 0);
                if (got <= 0)
                    break;
                request.append(buffer, size_t(got));
            }
            {
                std::lock_guard<std::mutex> lock(mutex);
                requests.push_back(request);
            }
            send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
            while (holdOpen && !stopping)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            close(connection);
        }
    }

    std::string reply;
    bool holdOpen;
    int listener = -1;
    int port = 0;
    std::atomic<bool> stopping{false};
    std::mutex mutex;
    std::vector<std::string> requests;
    std::thread thread;
};

} // namespace TestSupport
