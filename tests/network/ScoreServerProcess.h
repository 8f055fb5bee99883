// Starts tools/scoreserver/scoreserver.py on a free port for one test and
// stops it by its own process id. Control queries go over a plain socket of
// their own, not through the client under test.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace TestSupport
{

class ScoreServerProcess
{
public:
    // Always "--port 0 --control"; the arguments are added after them.
    explicit ScoreServerProcess(std::vector<std::string> const& arguments = {});
    ~ScoreServerProcess();
    ScoreServerProcess(ScoreServerProcess const&) = delete;
    ScoreServerProcess& operator=(ScoreServerProcess const&) = delete;

    bool IsRunning() const { return serverPid > 0; }
    int Port() const { return port; }
    // "http://127.0.0.1:<port>/"
    std::string BaseUrl() const;
    // GET /?<query>; the reply body, "" when the server cannot be reached.
    std::string Control(std::string const& query) const;
    // Stops the server (SIGTERM, then SIGKILL after 5 s) and reaps it.
    void Stop();

private:
    int lifelineFd = -1; // the write end of the server's stdin
    pid_t childPid = -1;
    pid_t serverPid = -1;
    int port = 0;
};

// A plain HTTP GET of a path on 127.0.0.1:port, read until the server closes
// (at most timeoutMs); the whole reply, header included.
std::string PlainHttpGet(int port, std::string const& path, int timeoutMs = 5000);

} // namespace TestSupport
