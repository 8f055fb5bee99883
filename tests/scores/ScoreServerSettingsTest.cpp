#include "game/scores/LiveScoreService.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

TEST(ScoreServerSettings, DefaultsAndGameKeys)
{
    struct Case
    {
        const char* url;
        const char* key;
        bool online;
        const char* expectedUrl;
        const char* expectedKey;
    } cases[] = {
        {nullptr, nullptr, true, "http://127.0.0.1:12000/", "cobalt-keep"},
        {"http://scores.example:8080/", "abc", true, "http://scores.example:8080/", "abc"},
        {nullptr, "", false, "http://127.0.0.1:12000/", ""},
        {nullptr, "tab\there", false, "http://127.0.0.1:12000/", "tab\there"},
        {nullptr, "0123456789012345678901234567890123456789012345678901234567890123", true,
         "http://127.0.0.1:12000/", "0123456789012345678901234567890123456789012345678901234567890123"},
        {nullptr, "01234567890123456789012345678901234567890123456789012345678901234", false,
         "http://127.0.0.1:12000/", "01234567890123456789012345678901234567890123456789012345678901234"},
    };
    for (auto const& c : cases)
    {
        TestSupport::LogCapture log;
        ScoreServerSettings settings = ScoreServerSettings::Parse(c.url, c.key);
        EXPECT_EQ(settings.online, c.online) << (c.key ? c.key : "(default)");
        EXPECT_EQ(settings.baseUrl, c.expectedUrl);
        EXPECT_EQ(settings.gameKey, c.expectedKey);
        EXPECT_EQ(log.Lines().size(), c.online ? 0u : 1u) << "one line for a malformed key";
    }
}
