#include "engine/network/HttpReplyReader.h"
#include "engine/network/HttpUrl.h"
#include "engine/network/NetworkReference.h"
#include "engine/network/WebClient.h"

#include "tests/network/CannedHttpServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

using Vexel::IO::MemoryBuffer;
using Vexel::Network::HttpReplyReader;
using Vexel::Network::HttpUrl;
using Vexel::Network::WebClient;
using Vexel::Network::WebResponse;

namespace
{

TEST(HttpUrl, SplitsHostPortAndPath)
{
    struct Case
    {
        const char* url;
        const char* host;
        unsigned port;
        const char* path;
    };
    const Case cases[] = {
        {"http://127.0.0.1:12000/?q=abc", "127.0.0.1", 12000, "/?q=abc"},
        {"http://example.org", "example.org", 80, "/"},
        {"http://example.org/", "example.org", 80, "/"},
        {"http://host:8080/?q=a+b/c==#frag", "host", 8080, "/?q=a+b/c=="},
        {"http://host:81/some/path?x=1", "host", 81, "/?x=1"}, // the path before the query is not sent
        {"http://host:9/#only-fragment", "host", 9, "/"},
        {"", "", 80, "/"},
    };
    for (Case const& c : cases)
    {
        const HttpUrl parts = HttpUrl::Parse(c.url);
        EXPECT_EQ(c.host, parts.host) << c.url;
        EXPECT_EQ(c.port, parts.port) << c.url;
        EXPECT_EQ(c.path, parts.path) << c.url;
    }
}

TEST(HttpUrl, RequestTextEndsWithThreeLineBreaks)
{
    const HttpUrl parts = HttpUrl::Parse("http://127.0.0.1:12000/?q=abc");
    EXPECT_EQ("GET /?q=abc HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n\r\n", parts.GetRequestText());
}

TEST(HttpUrl, BaseUrlForm)
{
    const std::pair<const char*, bool> cases[] = {
        {"http://127.0.0.1:12000/", true},
        {"http://scores.example:80/", true},
        {"http://127.0.0.1:12000", false},
        {"https://127.0.0.1:12000/", false},
        {"http://127.0.0.1/", false},
        {"http://:12000/", false},
        {"http://h:0/", false},
        {"http://h:65536/", false},
        {"http://h:12000/x/", false},
        {"http://h:12a/", false},
        {"http://h st:1/", false},
        {"", false},
    };
    for (auto const& c : cases)
        EXPECT_EQ(c.second, HttpUrl::IsBaseUrl(c.first)) << c.first;
}

struct ReplyCase
{
    const char* name;
    std::string bytes;
    WebResponse::Enum result;
    const char* body; // null: no body handed out
};

std::string Reply(std::string const& statusLine, std::string const& headers, std::string const& body)
{
    return "HTTP/1.1 " + statusLine + "\r\n" + headers + "\r\n" + body;
}

TEST(HttpReplyReader, StatusLinesAndFraming)
{
    const ReplyCase cases[] = {
        {"200 with five bytes", Reply("200 OK", "Content-Length: 5\r\n", "hello"), WebResponse::Complete,
         "hello"},
        {"lower-case header", Reply("200 OK", "content-length: 5\r\n", "hello"), WebResponse::Complete,
         "hello"},
        {"bytes past the body ignored", Reply("200 OK", "Content-Length: 2\r\n", "hello"),
         WebResponse::Complete, "he"},
        {"zero length", Reply("200 OK", "Content-Length: 0\r\n", ""), WebResponse::Incomplete, nullptr},
        {"no length", Reply("200 OK", "Server: x\r\n", "hello"), WebResponse::Incomplete, nullptr},
        {"body cut short", Reply("200 OK", "Content-Length: 9\r\n", "hel"), WebResponse::Incomplete,
         "hel\0\0\0\0\0\0"},
        {"body over 64 KB", Reply("200 OK", "Content-Length: 65537\r\n", "x"), WebResponse::Incomplete,
         nullptr},
        {"404", Reply("404 Not Found", "Content-Length: 5\r\n", "hello"), WebResponse::NotFound, nullptr},
        {"500", Reply("500 Internal Server Error", "", ""), WebResponse::ServerError, nullptr},
        {"503", Reply("503 Service Unavailable", "", ""), WebResponse::ServerError, nullptr},
        {"401", Reply("401 Unauthorized", "", ""), WebResponse::Unauthorized, nullptr},
        {"403", Reply("403 Forbidden", "", ""), WebResponse::Unauthorized, nullptr},
        {"unknown status", Reply("418 I'm a teapot", "Content-Length: 1\r\n", "x"),
         WebResponse::UnknownStatus, nullptr},
        {"status text only in a later line", "HTTP/1.1 302 Found\r\nX: 200 OK\r\n\r\n",
         WebResponse::UnknownStatus, nullptr},
        {"header never ends", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", WebResponse::Incomplete, nullptr},
        {"nothing at all", "", WebResponse::Incomplete, nullptr},
    };
    for (ReplyCase const& c : cases)
    {
        // Whole, and one byte at a time: the outcome must not depend on how the bytes arrive.
        for (int chunk : {int(c.bytes.size()) + 1, 1})
        {
            HttpReplyReader reader;
            for (size_t at = 0; at < c.bytes.size(); at += size_t(chunk))
            {
                const size_t count = std::min(size_t(chunk), c.bytes.size() - at);
                reader.Feed(reinterpret_cast<const uint8_t*>(c.bytes.data()) + at, int(count));
            }
            EXPECT_EQ(c.result, reader.GetResult()) << c.name;
            MemoryBuffer* body = reader.TakeBody();
            if (c.body == nullptr)
            {
                EXPECT_EQ(nullptr, body) << c.name;
            }
            else
            {
                ASSERT_NE(nullptr, body) << c.name;
                const std::string expected =
                    c.name == std::string("body cut short") ? std::string(c.body, 9) : c.body;
                EXPECT_EQ(expected, std::string(reinterpret_cast<char*>(body->data), size_t(body->size)))
                    << c.name;
            }
            delete body;
        }
    }
}

TEST(HttpReplyReader, HeaderIsCappedAt8KB)
{
    HttpReplyReader reader;
    const std::string endless = "HTTP/1.1 200 OK\r\nX: " + std::string(9000, 'a');
    EXPECT_FALSE(reader.Feed(reinterpret_cast<const uint8_t*>(endless.data()), int(endless.size())));
    EXPECT_TRUE(reader.IsDone());
    EXPECT_EQ(WebResponse::Incomplete, reader.GetResult());
}

// Loopback cases: a real socket, the client under test on one side.
class WebClientTest : public ::testing::Test
{
protected:
    WebResponse::Enum Get(std::string const& url, std::string* body = nullptr, int limitMs = 5000)
    {
        WebClient client;
        client.SetTimeLimit(limitMs);
        MemoryBuffer* received = nullptr;
        const WebResponse::Enum result = client.Download(url, received);
        if (body)
            *body =
                received ? std::string(reinterpret_cast<char*>(received->data), size_t(received->size)) : "";
        delete received;
        return result;
    }
};

TEST_F(WebClientTest, FetchesABodyAndSendsTheRequestText)
{
    TestSupport::CannedHttpServer server(
        Reply("200 OK", "Content-Length: 5\r\nConnection: close\r\n", "hello"));
    std::string body;
    EXPECT_EQ(WebResponse::Complete, Get(server.Url("?q=abc"), &body));
    EXPECT_EQ("hello", body);
    const auto requests = server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(0u, requests[0].find("GET /?q=abc HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
    EXPECT_EQ(0, Vexel::Network::NetworkReference::GetCount()); // released after the GET
}

TEST_F(WebClientTest, StatusesOverASocket)
{
    const std::pair<std::string, WebResponse::Enum> cases[] = {
        {Reply("200 OK", "Content-Length: 0\r\n", ""), WebResponse::Incomplete},
        {Reply("404 Not Found", "Content-Length: 5\r\n", "hello"), WebResponse::NotFound},
        {Reply("503 Service Unavailable", "", ""), WebResponse::ServerError},
        {Reply("403 Forbidden", "", ""), WebResponse::Unauthorized},
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", WebResponse::Incomplete}, // header never ends: closed
        {Reply("200 OK", "Content-Length: 10\r\n", "short"), WebResponse::Incomplete},
    };
    for (auto const& c : cases)
    {
        TestSupport::CannedHttpServer server(c.first);
        EXPECT_EQ(c.second, Get(server.Url("?q=x"))) << c.first;
    }
}

TEST_F(WebClientTest, SilentServerTimesOut)
{
    TestSupport::CannedHttpServer server("", true);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WebResponse::Incomplete, Get(server.Url("?q=x"), nullptr, 300));
    // Bounded by the limit, not by the server (generous margin for loaded machines).
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST_F(WebClientTest, StopFlagEndsTheWait)
{
    TestSupport::CannedHttpServer server("", true);
    std::atomic<bool> stop{false};
    std::thread stopper(
        [&stop]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            stop = true;
        });
    WebClient client; // default 10 s limit: only the flag can end this early
    MemoryBuffer* body = nullptr;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WebResponse::Incomplete, client.Download(server.Url("?q=x"), body, &stop));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
    EXPECT_EQ(nullptr, body);
    stopper.join();
}

TEST_F(WebClientTest, NoServerAndNoHost)
{
    int freePort;
    {
        TestSupport::CannedHttpServer probe(""); // take a free port, then let it go
        freePort = probe.Port();
    }
    EXPECT_EQ(WebResponse::Incomplete, Get("http://127.0.0.1:" + std::to_string(freePort) + "/?q=x"));
    EXPECT_EQ(WebResponse::Incomplete, Get("http://:12000/?q=x")); // no host: no listening socket either
}

TEST_F(WebClientTest, BackgroundDownloadOnThePool)
{
    TestSupport::CannedHttpServer server(Reply("200 OK", "Content-Length: 3\r\n", "abc"));
    WebClient client;
    WebClient::DownloadTaskType* task = client.BeginDownload(server.Url("?q=1"));
    task->Wait();
    const WebClient::DownloadResult result = task->GetResult();
    EXPECT_EQ(WebResponse::Complete, result.item1);
    ASSERT_NE(nullptr, result.item2);
    EXPECT_EQ("abc", std::string(reinterpret_cast<char*>(result.item2->data), 3));
    delete result.item2;
    task->Release();
}

} // namespace
