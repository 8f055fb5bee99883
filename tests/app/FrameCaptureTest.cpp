// Screenshot requests and the pixel rows of a saved frame.
#include "app/FrameCapture.h"

#include <gtest/gtest.h>

using Vexel::App::FrameCapture;

TEST(FrameCaptureTest, Requests)
{
    FrameCapture capture;
    std::string error;
    ASSERT_TRUE(capture.Parse("splash:s.png,1:a.png,30:b.png,1:c.png", &error)) << error;
    EXPECT_EQ((std::vector<std::string>{"s.png"}), capture.GetPaths(FrameCapture::kSplashFrame));
    EXPECT_EQ((std::vector<std::string>{"a.png", "c.png"}), capture.GetPaths(1));
    EXPECT_EQ((std::vector<std::string>{"b.png"}), capture.GetPaths(30));
    EXPECT_TRUE(capture.GetPaths(2).empty());
    EXPECT_FALSE(capture.IsEmpty());

    // A path may hold colons; only the first one separates.
    ASSERT_TRUE(capture.Parse("7:/tmp/a:b.png", &error)) << error;
    EXPECT_EQ((std::vector<std::string>{"/tmp/a:b.png"}), capture.GetPaths(7));

    for (const char* bad :
         {"", "5", "5:", ":a.png", "0:a.png", "-3:a.png", "x:a.png", "1:a.png,", "2a:b.png"})
    {
        EXPECT_FALSE(capture.Parse(bad, &error)) << bad;
        EXPECT_TRUE(capture.IsEmpty()) << bad;
    }
}

TEST(FrameCaptureTest, RowsAreTurnedTopFirstAndMadeOpaque)
{
    // 2 x 3 pixels, bottom row first as GL reads them; alpha as the never
    // written destination alpha leaves it.
    std::vector<uint8_t> pixels = {
        1, 1, 1, 0, 2, 2, 2, 7, // bottom
        3, 3, 3, 0, 4, 4, 4, 0, // middle
        5, 5, 5, 9, 6, 6, 6, 0, // top
    };
    FrameCapture::ToImageRows(pixels, 2, 3);
    const std::vector<uint8_t> expected = {
        5, 5, 5, 255, 6, 6, 6, 255, 3, 3, 3, 255, 4, 4, 4, 255, 1, 1, 1, 255, 2, 2, 2, 255,
    };
    EXPECT_EQ(expected, pixels);

    std::vector<uint8_t> tooShort(10, 0);
    FrameCapture::ToImageRows(tooShort, 2, 3); // left alone
    EXPECT_EQ(std::vector<uint8_t>(10, 0), tooShort);
}
