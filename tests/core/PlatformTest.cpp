#include "engine/core/File.h"
#include "engine/core/Platform.h"
#include "engine/platform/PlatformLibrary.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <vector>

TEST(PlatformLibrary, ScreenMetricsDefaultAndOverride)
{
    struct Case
    {
        const char* value; // null: unset
        int width, height;
    } cases[] = {
        {nullptr, 320, 480}, {"640x960", 640, 960}, {"480X320", 480, 320},
        {"wide", 320, 480},  {"0x10", 320, 480},    {"100x", 320, 480},
    };
    for (const Case& c : cases)
    {
        if (c.value)
            setenv("COBALT_KEEP_SCREEN", c.value, 1);
        else
            unsetenv("COBALT_KEEP_SCREEN");
        PDL_ScreenMetrics metrics;
        ASSERT_EQ(PDL_GetScreenMetrics(&metrics), PDL_NOERROR);
        EXPECT_EQ(metrics.horizontalPixels, c.width) << (c.value ? c.value : "unset");
        EXPECT_EQ(metrics.verticalPixels, c.height);
        EXPECT_EQ(metrics.horizontalDPI, 160);
        EXPECT_EQ(metrics.verticalDPI, 160);
    }
    unsetenv("COBALT_KEEP_SCREEN");
    EXPECT_EQ(PDL_GetScreenMetrics(nullptr), PDL_EINVALIDINPUT);
}

TEST(PlatformLibrary, DirectoriesFollowTheEnvironment)
{
    TempDirectory data, home;
    ScopedEnvironment dataVariable("COBALT_KEEP_DATA", data.Path() + "/");
    ScopedEnvironment homeVariable("XDG_DATA_HOME", home.Path());
    char buffer[4096];
    ASSERT_GT(Platform_GetDataDirectory(buffer, sizeof(buffer)), 0);
    EXPECT_EQ(std::string(buffer), data.Path());
    ASSERT_GT(Platform_GetSaveDirectory(buffer, sizeof(buffer)), 0);
    EXPECT_EQ(std::string(buffer), home.Path() + "/cobalt-keep");
    EXPECT_EQ(Platform_GetSaveDirectory(buffer, 4), -1); // does not fit

    {
        // Without XDG_DATA_HOME the save directory is under HOME.
        unsetenv("XDG_DATA_HOME");
        ScopedEnvironment fakeHome("HOME", home.Path());
        ASSERT_GT(Platform_GetSaveDirectory(buffer, sizeof(buffer)), 0);
        EXPECT_EQ(std::string(buffer), home.Path() + "/.local/share/cobalt-keep");
        setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
    }
    {
        // Without COBALT_KEEP_DATA the data folder sits beside the executable.
        unsetenv("COBALT_KEEP_DATA");
        ASSERT_GT(Platform_GetDataDirectory(buffer, sizeof(buffer)), 0);
        const std::string path = buffer;
        EXPECT_EQ(path.substr(path.size() - 5), "/data");
        setenv("COBALT_KEEP_DATA", data.Path().c_str(), 1);
    }
}

TEST(PlatformLibrary, RecordsSwitchesAndPrintsTheAddressWithoutABrowser)
{
    PDL_ScreenTimeoutEnable(0);
    EXPECT_EQ(Platform_IsScreenTimeoutEnabled(), 0);
    Vexel::NotifyMusicPlaying(true);
    EXPECT_EQ(Platform_IsMusicPlayingNotified(), 1);
    Vexel::NotifyMusicPlaying(false);
    EXPECT_EQ(Platform_IsMusicPlayingNotified(), 0);

    ScopedEnvironment path("PATH", "/nonexistent");
    testing::internal::CaptureStdout();
    EXPECT_EQ(PDL_LaunchBrowser("http://example.invalid/more"), PDL_NOERROR);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Open in a browser: http://example.invalid/more\n");
    EXPECT_EQ(PDL_LaunchBrowser(""), PDL_EINVALIDINPUT);
}

TEST(PlatformLibrary, DeviceIdentityIsMadeOnceAndKept)
{
    TempDirectory home;
    ScopedEnvironment homeVariable("XDG_DATA_HOME", home.Path());
    char first[66];
    ASSERT_EQ(PDL_GetUniqueID(first, sizeof(first)), PDL_NOERROR);
    ASSERT_EQ(std::string(first).size(), 64u);
    EXPECT_EQ(std::string(first).find_first_not_of("0123456789abcdef"), std::string::npos);
    char second[66];
    ASSERT_EQ(PDL_GetUniqueID(second, sizeof(second)), PDL_NOERROR);
    EXPECT_STREQ(first, second);
    char tooSmall[10];
    EXPECT_EQ(PDL_GetUniqueID(tooSmall, sizeof(tooSmall)), PDL_EINVALIDINPUT);

    // The identity reaches the engine as a uint256 of the same digits.
    const uint256 id = Vexel::Platform::GetDeviceId();
    EXPECT_EQ(id, uint256::Parse(first));
    EXPECT_FALSE(id.IsZero());
}

// A damaged identity is said once (which file, what was wrong), kept aside
// under a name of its own, and a new identity takes its place; a missing
// one is simply made.
TEST(PlatformLibrary, ADamagedDeviceIdentityIsSaidAndKeptAside)
{
    struct Case
    {
        const char* what;
        std::string content;
        char kind; // 'f' a file of that content, 'd' a folder with a file in it, 'p' a pipe
        const char* said;
    };
    const std::string random = std::string("\x7f\x45\x4c\x46\x02\x01\x01\x00", 8) + std::string(90, '\xa5');
    const Case cases[] = {
        {"empty", "", 'f', "is empty"},
        {"cut short", std::string(40, 'c') + "\n", 'f', "is cut short (40 of 64 hexadecimal digits)"},
        {"cut short without a newline", std::string(63, '0'), 'f', "is cut short (63 of 64"},
        {"random bytes", random, 'f', "byte 0 is 0x7f, not a hexadecimal digit"},
        {"digits then junk", std::string(20, 'f') + "zz" + std::string(50, 'f'), 'f', "byte 20 is 0x7a"},
        {"a folder", "", 'd', "cannot be read (Is a directory)"},
        {"a pipe, which must not hang the start", "", 'p', "is empty"},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.what);
        TempDirectory home;
        ScopedEnvironment homeVariable("XDG_DATA_HOME", home.Path());
        const std::string folder = home.Path() + "/cobalt-keep";
        const std::string path = folder + "/device.id";
        mkdir(folder.c_str(), 0700);
        if (c.kind == 'd')
        {
            mkdir(path.c_str(), 0700);
            WriteText(path + "/inside", "kept too");
        }
        else if (c.kind == 'p')
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        else
            WriteText(path, c.content);

        Platform_ForgetDeviceId();
        TestSupport::LogCapture log;
        char id[66];
        ASSERT_EQ(PDL_GetUniqueID(id, sizeof(id)), PDL_NOERROR);
        EXPECT_EQ(std::string(id).size(), 64u);
        EXPECT_EQ(std::string(id).find_first_not_of("0123456789abcdef"), std::string::npos);
        EXPECT_EQ(ReadText(path), std::string(id) + "\n") << "the new identity is kept";
        struct stat aside;
        if (c.kind == 'd')
            EXPECT_EQ(ReadText(path + ".damaged/inside"), "kept too");
        else if (c.kind == 'p')
            EXPECT_TRUE(lstat((path + ".damaged").c_str(), &aside) == 0 && S_ISFIFO(aside.st_mode));
        else
            EXPECT_EQ(ReadText(path + ".damaged"), c.content) << "the damaged one is kept aside";

        char again[66];
        ASSERT_EQ(PDL_GetUniqueID(again, sizeof(again)), PDL_NOERROR);
        EXPECT_STREQ(again, id);
        const std::vector<TestSupport::LogCapture::Line> lines = log.Lines();
        ASSERT_EQ(lines.size(), 1u) << "said once";
        EXPECT_EQ(lines[0].tag, "platform");
        EXPECT_NE(lines[0].message.find("\"" + path + "\""), std::string::npos) << lines[0].message;
        EXPECT_NE(lines[0].message.find(c.said), std::string::npos) << lines[0].message;
        EXPECT_NE(lines[0].message.find("\"" + path + ".damaged\""), std::string::npos) << lines[0].message;
    }
    Platform_ForgetDeviceId();
}

TEST(PlatformLibrary, DamagedIdentitiesKeptAsideAreNeverReplaced)
{
    TempDirectory home;
    ScopedEnvironment homeVariable("XDG_DATA_HOME", home.Path());
    const std::string path = home.Path() + "/cobalt-keep/device.id";
    mkdir((home.Path() + "/cobalt-keep").c_str(), 0700);
    WriteText(path + ".damaged", "first");
    WriteText(path + ".damaged.1", "second");

    TestSupport::LogCapture log;
    for (const char* damage : {"third", "fourth"})
    {
        WriteText(path, damage);
        Platform_ForgetDeviceId();
        char id[66];
        ASSERT_EQ(PDL_GetUniqueID(id, sizeof(id)), PDL_NOERROR);
    }
    EXPECT_EQ(ReadText(path + ".damaged"), "first");
    EXPECT_EQ(ReadText(path + ".damaged.1"), "second");
    EXPECT_EQ(ReadText(path + ".damaged.2"), "third");
    EXPECT_EQ(ReadText(path + ".damaged.3"), "fourth");
    EXPECT_EQ(log.Lines().size(), 2u);
    EXPECT_TRUE(log.Contains("\"" + path + ".damaged.3\""));

    // A sound identity, upper-case digits and a trailing newline or not, is
    // read without a word and left as it is.
    const std::string sound = std::string(32, 'A') + std::string(32, '7');
    WriteText(path, sound);
    Platform_ForgetDeviceId();
    char id[66];
    ASSERT_EQ(PDL_GetUniqueID(id, sizeof(id)), PDL_NOERROR);
    EXPECT_EQ(std::string(id), std::string(32, 'a') + std::string(32, '7'));
    EXPECT_EQ(ReadText(path), sound);
    EXPECT_EQ(log.Lines().size(), 2u);
    Platform_ForgetDeviceId();
}

TEST(PlatformQueries, ScreenMetricsAndTimeoutSwitch)
{
    EXPECT_EQ(Vexel::Platform::GetScreenSize(), Vector2(320, 480));
    EXPECT_EQ(Vexel::Platform::GetRotatedScreenSize(), Vector2(480, 320));
    EXPECT_EQ(Vexel::Platform::GetScreenDpi(), Vector2(0, 0));

    // The remembered value starts false: false first does not reach the platform.
    PDL_ScreenTimeoutEnable(1);
    Vexel::Platform::SetScreenTimeoutEnabled(false);
    EXPECT_EQ(Platform_IsScreenTimeoutEnabled(), 1);
    Vexel::Platform::SetScreenTimeoutEnabled(true);
    EXPECT_EQ(Platform_IsScreenTimeoutEnabled(), 1);
    EXPECT_TRUE(Vexel::Platform::IsScreenTimeoutEnabled());
    PDL_ScreenTimeoutEnable(0);
    Vexel::Platform::SetScreenTimeoutEnabled(true); // unchanged: no call
    EXPECT_EQ(Platform_IsScreenTimeoutEnabled(), 0);
    Vexel::Platform::SetScreenTimeoutEnabled(false);
    EXPECT_EQ(Platform_IsScreenTimeoutEnabled(), 0);

    Vexel::Platform::SetScreenMetrics(640, 960, Vector2(160, 160));
    EXPECT_EQ(Vexel::Platform::GetScreenWidth(), 640);
    EXPECT_EQ(Vexel::Platform::GetScreenHeight(), 960);
    EXPECT_EQ(Vexel::Platform::GetScreenDpi(), Vector2(160, 160));
    Vexel::Platform::SetScreenMetrics(320, 480, Vector2(0, 0));

    EXPECT_EQ(Vexel::Platform::AppendExtension("Menu", "mp3"), "Menu.mp3");
    EXPECT_EQ(Vexel::Platform::GetPlatformId(), 2);
    EXPECT_FALSE(Vexel::Platform::IsOtherMusicPlaying());
}

class FileTest : public ::testing::Test
{
protected:
    TempDirectory data, home;
    ScopedEnvironment dataVariable{"COBALT_KEEP_DATA", data.Path()};
    ScopedEnvironment homeVariable{"XDG_DATA_HOME", home.Path()};
    std::string SaveDirectory() const { return home.Path() + "/cobalt-keep"; }
};

TEST_F(FileTest, WritesGoToTheSaveDirectoryAndReadsPreferIt)
{
    WriteText(data.File("prefs.prf"), "shipped");
    int size = 0;
    uint8_t* bytes = Vexel::IO::File::ReadAllBytes("prefs.prf", false, &size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "shipped");
    delete[] bytes;

    std::ofstream* out = Vexel::IO::File::OpenWrite("prefs.prf");
    ASSERT_NE(out, nullptr);
    *out << "saved!";
    delete out;
    EXPECT_EQ(ReadText(SaveDirectory() + "/prefs.prf"), "saved!");
    EXPECT_EQ(ReadText(data.File("prefs.prf")), "shipped"); // data directory untouched

    bytes = Vexel::IO::File::ReadAllBytes("prefs.prf", false, &size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "saved!");
    delete[] bytes;
    struct stat info;
    EXPECT_NE(stat((SaveDirectory() + "/prefs.prf.tmp").c_str(), &info), 0); // no temporary left
}

TEST_F(FileTest, FailedWriteKeepsThePreviousFile)
{
    std::ofstream* out = Vexel::IO::File::OpenWrite("state.sav");
    ASSERT_NE(out, nullptr);
    *out << "version one";
    delete out;

    out = Vexel::IO::File::OpenWrite("state.sav");
    ASSERT_NE(out, nullptr);
    *out << "half";
    out->setstate(std::ios::badbit); // as a failing disk would
    delete out;
    EXPECT_EQ(ReadText(SaveDirectory() + "/state.sav"), "version one");
}

TEST_F(FileTest, MissingEmptyAndNamelessFiles)
{
    int size = 123;
    EXPECT_EQ(Vexel::IO::File::ReadAllBytes("missing.bin", false, &size), nullptr);
    EXPECT_EQ(size, -1);
    WriteText(data.File("empty.bin"), "");
    EXPECT_EQ(Vexel::IO::File::ReadAllBytes("empty.bin", false, &size), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(Vexel::IO::File::OpenRead("", false), nullptr);
    EXPECT_EQ(Vexel::IO::File::OpenWrite(""), nullptr);
    EXPECT_EQ(Vexel::IO::File::ReadStreamToEnd(nullptr, &size), nullptr);
    EXPECT_EQ(size, -1);

    // Absolute paths are used as given.
    WriteText(home.File("absolute.bin"), "abc");
    uint8_t* bytes = Vexel::IO::File::ReadAllBytes(home.File("absolute.bin"), true, &size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(size, 3);
    delete[] bytes;
}

TEST_F(FileTest, ReadStreamToEndRestoresThePosition)
{
    WriteText(data.File("ten.bin"), "0123456789");
    std::ifstream* in = Vexel::IO::File::OpenRead("ten.bin", false);
    ASSERT_NE(in, nullptr);
    in->seekg(4);
    int size = 0;
    uint8_t* bytes = Vexel::IO::File::ReadStreamToEnd(in, &size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "0123456789");
    EXPECT_EQ(in->tellg(), std::streampos(4));
    delete[] bytes;
    delete in;
}
