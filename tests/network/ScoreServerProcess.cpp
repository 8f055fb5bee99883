#include "tests/network/ScoreServerProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace TestSupport
{

namespace
{
using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// The first line the child writes, within the time limit.
std::string ReadFirstLine(int fd, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string line;
    while (MillisecondsLeft(deadline) > 0)
    {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, MillisecondsLeft(deadline)) <= 0)
            break;
        char c;
        const ssize_t got = read(fd, &c, 1);
        if (got <= 0)
            break;
        if (c == '\n')
            return line;
        line.push_back(c);
    }
    return std::string();
}

bool WaitForExit(pid_t pid, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true)
    {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD))
            return true;
        if (MillisecondsLeft(deadline) == 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
} // namespace

ScoreServerProcess::ScoreServerProcess(std::vector<std::string> const& arguments)
{
    std::vector<std::string> words = {COBALT_PYTHON, COBALT_SCORE_SERVER_SCRIPT, "--port", "0",
                                      "--control",   "--exit-with-stdin"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);

    // stdout: the line with the port. stdin: held open by this process only,
    // so that the server stops when the test ends, however it ends.
    int pipeFds[2];
    int lifeline[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return;
    if (pipe2(lifeline, O_CLOEXEC) != 0)
    {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, lifeline[0], STDIN_FILENO);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    close(lifeline[0]);
    if (spawned != 0)
    {
        close(pipeFds[0]);
        close(lifeline[1]);
        return;
    }
    lifelineFd = lifeline[1];
    childPid = pid;
    const std::string line = ReadFirstLine(pipeFds[0], 20000);
    close(pipeFds[0]);
    int readPort = 0;
    int readPid = 0;
    if (std::sscanf(line.c_str(), "PORT %d PID %d", &readPort, &readPid) == 2 && readPort > 0 && readPid > 0)
    {
        port = readPort;
        serverPid = readPid;
    }
    else
    {
        Stop();
    }
}

ScoreServerProcess::~ScoreServerProcess()
{
    Stop();
}

std::string ScoreServerProcess::BaseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

std::string ScoreServerProcess::Control(std::string const& query) const
{
    if (!IsRunning())
        return std::string();
    const std::string reply = PlainHttpGet(port, "/?" + query);
    const size_t bodyStart = reply.find("\r\n\r\n");
    return bodyStart == std::string::npos ? std::string() : reply.substr(bodyStart + 4);
}

void ScoreServerProcess::Stop()
{
    if (lifelineFd >= 0)
        close(lifelineFd);
    lifelineFd = -1;
    if (serverPid > 0 && serverPid != childPid)
        kill(serverPid, SIGTERM);
    if (childPid > 0)
    {
        kill(childPid, SIGTERM);
        if (!WaitForExit(childPid, 5000))
        {
            kill(childPid, SIGKILL);
            WaitForExit(childPid, 5000);
        }
    }
    if (serverPid > 0 && serverPid != childPid)
        kill(serverPid, SIGKILL); // gone already unless a launcher stood in between
    serverPid = -1;
    childPid = -1;
}

std::string PlainHttpGet(int port, std::string const& path, int timeoutMs)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return std::string();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
    {
        const std::string request =
            "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size()))
        {
            const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
            char buffer[4096];
            while (MillisecondsLeft(deadline) > 0)
            {
                pollfd pfd{fd, POLLIN, 0};
                if (poll(&pfd, 1, MillisecondsLeft(deadline)) <= 0)
                    break;
                const ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
                if (got <= 0)
                    break;
                reply.append(buffer, size_t(got));
            }
        }
    }
    close(fd);
    return reply;
}

} // namespace TestSupport
