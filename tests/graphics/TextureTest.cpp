// Textures: the name-keyed cache, the three modes, uploads as GL sees them
// (through the call recorder), GL refusals and the thread hand-offs.
#include "engine/core/AppSettings.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TextureCache.h"
#include "engine/graphics/TextureReference.h"
#include "engine/core/FrameEvents.h"

#include "tests/graphics/TextureFiles.h"
#include "tests/support/Latch.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Vexel::Graphics;

namespace
{
// The first recorded call with this name, or null.
const GL::Call* Find(GL::Recorder const& recorder, std::string const& name)
{
    for (GL::Call const& call : recorder.GetCalls())
        if (call.name == name)
            return &call;
    return nullptr;
}

// A file copied under a name no other test uses, so that each test gets a
// fresh cache entry.
std::string FreshCopy(std::string const& file, std::string const& extension = "")
{
    static int counter = 0;
    const std::string name =
        TextureFiles::Folder() + "/copy" + std::to_string(++counter) + "_" + file + extension;
    const std::vector<uint8_t> bytes = TextureFiles::Read(file);
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return name;
}

std::string FreshName(std::string const& what)
{
    static int counter = 0;
    return "memory:" + what + ":" + std::to_string(++counter);
}

void RaiseAnimating()
{
    Vexel::FrameEvents::Animating.Raise(1.0f / 30.0f);
}
} // namespace

class TextureTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_FALSE(TextureFiles::Folder().empty()) << "make_texture_files.py failed";
    }
};

TEST_F(TextureTest, EmptyTextureIsUploadedOneByOneAndBindsZero)
{
    GL::Recorder recorder;
    EXPECT_TRUE(Texture::Empty.IsUploaded());
    EXPECT_EQ(Texture::Empty.GetWidth(), 1);
    EXPECT_EQ(Texture::Empty.GetHeight(), 1);
    EXPECT_EQ(Texture::Empty.GetTextureName(), 0u);
    EXPECT_EQ(Texture(), Texture::Empty);
    EXPECT_EQ(TextureCache::Find(std::string(10, '\n')), nullptr);
    Texture::Empty.EnsureUploaded();
    Texture::Empty.Bind();
    EXPECT_EQ(recorder.Describe(), "glBindTexture(" + std::to_string(GL_TEXTURE_2D) + ", 0)\n");
}

TEST_F(TextureTest, SameNameSharesOneReferenceAndUploadsOnce)
{
    GL::Recorder recorder;
    const std::string path = FreshCopy("rgba_3x2.png");
    const int countBefore = TextureCache::GetCount();
    Texture a(path, TextureMode::Deferred);
    Texture b(path, TextureMode::Deferred);
    EXPECT_EQ(a, b);
    EXPECT_FALSE(a < b || b < a);
    EXPECT_EQ(a.GetReference(), TextureCache::Find(path));
    EXPECT_EQ(TextureCache::GetCount(), countBefore + 1);
    EXPECT_FALSE(a.IsUploaded());
    a.GetReference()->Load(); // waits for the pool's decode, or does it
    ASSERT_EQ(a.GetReference()->GetState(), TextureState::Decoded);
    EXPECT_EQ(a.GetWidth(), 3);
    EXPECT_EQ(a.GetHeight(), 2);
    EXPECT_TRUE(recorder.GetCalls().empty()) << "decoding makes no GL call";

    b.EnsureUploaded();
    EXPECT_EQ(a.GetReference()->GetState(), TextureState::Uploaded);
    EXPECT_TRUE(a.IsUploaded());
    const GL::Call* upload = Find(recorder, "glTexImage2D");
    ASSERT_NE(upload, nullptr) << recorder.Describe();
    EXPECT_EQ(upload->ints[0], GL_TEXTURE_2D);
    EXPECT_EQ(upload->ints[1], 0);
    EXPECT_EQ(upload->ints[2], GL_RGBA);
    EXPECT_EQ(upload->ints[3], 3);
    EXPECT_EQ(upload->ints[4], 2);
    EXPECT_EQ(upload->ints[5], 0);
    EXPECT_EQ(upload->ints[6], GL_RGBA);
    EXPECT_EQ(upload->ints[7], GL_UNSIGNED_BYTE);
    const GL::Call* filter = Find(recorder, "glTexParameteri");
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->ints, (std::vector<int64_t>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}));
    EXPECT_EQ(Find(recorder, "glEnable")->ints[0], GL_TEXTURE_2D);
    EXPECT_EQ(recorder.Count("glGenTextures"), 1);
    EXPECT_EQ(a.GetReference()->GetPixelByteCount(), 0u); // freed once GL has them

    recorder.Clear();
    a.EnsureUploaded();
    EXPECT_TRUE(recorder.GetCalls().empty());
    a.Bind();
    EXPECT_EQ(recorder.GetCalls().back().ints[1], int64_t(a.GetTextureName()));
    EXPECT_NE(a.GetTextureName(), 0u);
    Texture::Unbind();
    EXPECT_EQ(recorder.GetCalls().back().ints[1], 0);
}

TEST_F(TextureTest, DatNamesAreReadFromPngFilesUnderTheRemappedKey)
{
    GL::Recorder recorder;
    const std::string png = FreshCopy("rgb_5x4.png");
    const std::string dat = png.substr(0, png.size() - 4) + ".dat";
    auto& map = Vexel::GetAppSettings()->extensionMap;
    map[".dat"] = ".png";
    Texture texture(dat, TextureMode::Immediate);
    map.erase(".dat");
    EXPECT_EQ(texture.GetReference()->GetName(), png);
    EXPECT_EQ(TextureCache::Find(dat), nullptr);
    EXPECT_TRUE(texture.IsUploaded()); // immediate: decoded and uploaded at once
    EXPECT_EQ(texture.GetWidth(), 5);
}

TEST_F(TextureTest, MissingFileEndsInNoDataAndBindsZero)
{
    GL::Recorder recorder;
    Texture texture(TextureFiles::Path("missing_file.png"), TextureMode::Immediate);
    EXPECT_EQ(texture.GetReference()->GetState(), TextureState::NoData);
    EXPECT_FALSE(texture.IsUploaded());
    EXPECT_EQ(texture.GetWidth(), 0);
    texture.Bind();
    EXPECT_EQ(Find(recorder, "glTexImage2D"), nullptr);
    EXPECT_EQ(recorder.GetCalls().back().ints[1], 0);
}

TEST_F(TextureTest, FrameUploadModeUploadsInTheNextAnimatingPhase)
{
    GL::Recorder recorder;
    Texture texture(FreshCopy("raw_rgba_3x2.raw"), TextureMode::UploadOnFrame);
    texture.GetReference()->Load();
    ASSERT_EQ(texture.GetReference()->GetState(), TextureState::Decoded);
    texture.Bind(); // before the animate phase: texture 0
    EXPECT_EQ(recorder.GetCalls().back().ints[1], 0);
    EXPECT_EQ(Find(recorder, "glTexImage2D"), nullptr);
    RaiseAnimating();
    EXPECT_TRUE(texture.IsUploaded());
    EXPECT_NE(Find(recorder, "glTexImage2D"), nullptr);
    recorder.Clear();
    RaiseAnimating();
    EXPECT_EQ(Find(recorder, "glTexImage2D"), nullptr);
}

TEST_F(TextureTest, FrameUploadFlagSetAfterTheDecodeStillUploads)
{
    GL::Recorder recorder;
    const std::string path = FreshCopy("raw_rgb_3x2.raw");
    Texture first(path, TextureMode::Deferred);
    first.GetReference()->Load();
    ASSERT_EQ(first.GetReference()->GetState(), TextureState::Decoded);
    Texture second(path, TextureMode::UploadOnFrame);
    EXPECT_FALSE(second.IsUploaded());
    RaiseAnimating();
    EXPECT_TRUE(second.IsUploaded());
}

TEST_F(TextureTest, EnsureUploadedBeforeTheAnimatingPhaseUploadsAtOnce)
{
    GL::Recorder recorder;
    Texture texture(FreshCopy("raw_rgb_3x2.raw"), TextureMode::UploadOnFrame);
    texture.EnsureUploaded();
    EXPECT_TRUE(texture.IsUploaded());
    RaiseAnimating(); // the queued upload finds nothing left to do
    EXPECT_EQ(recorder.Count("glTexImage2D"), 1);
}

TEST_F(TextureTest, UploadParametersPerFormat)
{
    struct Row
    {
        const char* file;
        GLenum internalFormat, format;
    };
    const Row rows[] = {
        {"raw_alpha_3x2.raw", GL_ALPHA, GL_ALPHA},
        {"raw_luminance_alpha_3x2.raw", GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA},
        {"raw_rgb_3x2.raw", GL_RGB, GL_RGB},
        // ES 1.1 has no GL_BGR: the bytes are swapped instead.
        {"raw_bgr_3x2.raw", GL_RGB, GL_RGB},
        {"pvr32_4x2.pvr", GL_RGBA, GL_RGBA},
    };
    for (Row const& row : rows)
    {
        SCOPED_TRACE(row.file);
        GL::Recorder recorder;
        Texture texture(FreshCopy(row.file), TextureMode::Immediate);
        ASSERT_TRUE(texture.IsUploaded()) << recorder.Describe();
        const GL::Call* upload = Find(recorder, "glTexImage2D");
        ASSERT_NE(upload, nullptr);
        EXPECT_EQ(upload->ints[2], row.internalFormat);
        EXPECT_EQ(upload->ints[6], row.format);
    }
}

TEST_F(TextureTest, BgrBytesAreSwappedBeforeAnEsUpload)
{
    GL::Recorder recorder;
    Texture texture(FreshCopy("raw_bgr_3x2.raw"), TextureMode::Deferred);
    texture.GetReference()->Load();
    ASSERT_EQ(texture.GetReference()->GetGLFormat(), GL::kBgr);
    const uint8_t* pixels = texture.GetReference()->GetPixels();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels[0], TextureFiles::Value(0, 0, 0));
    // The recorder sees the pointer; the bytes it pointed at are freed after
    // the upload, so check them through a second texture's decode instead.
    texture.EnsureUploaded();
    EXPECT_EQ(Find(recorder, "glTexImage2D")->ints[6], GL_RGB);
}

TEST_F(TextureTest, PvrtcUploadsCompressedOnlyWithTheExtension)
{
    {
        GL::Recorder recorder(GL::kPvrtcExtension);
        Texture texture(FreshCopy("pvrtc2_alpha_4x4.pvr"), TextureMode::Immediate);
        ASSERT_TRUE(texture.IsUploaded()) << recorder.Describe();
        const GL::Call* upload = Find(recorder, "glCompressedTexImage2D");
        ASSERT_NE(upload, nullptr);
        EXPECT_EQ(upload->ints[0], GL_TEXTURE_2D);
        EXPECT_EQ(upload->ints[2], 0x8C03);
        EXPECT_EQ(upload->ints[3], 4);
        EXPECT_EQ(upload->ints[4], 4);
        EXPECT_EQ(upload->ints[6], 32); // max(32, 4 * 4 * 2 / 8)
        EXPECT_EQ(Find(recorder, "glTexImage2D"), nullptr);
    }
    {
        GL::Recorder recorder;
        Texture texture(FreshCopy("pvrtc2_alpha_4x4.pvr"), TextureMode::Immediate);
        EXPECT_EQ(texture.GetReference()->GetState(), TextureState::Loading);
        EXPECT_EQ(Find(recorder, "glCompressedTexImage2D"), nullptr);
        EXPECT_EQ(Find(recorder, "glGenTextures"), nullptr);
    }
}

TEST_F(TextureTest, RefusedUploadIsNeverReportedAsUploaded)
{
    GL::Recorder recorder;
    recorder.FailNext("glTexImage2D", GL_INVALID_ENUM);
    Texture texture(FreshCopy("raw_rgba_3x2.raw"), TextureMode::Immediate);
    EXPECT_FALSE(texture.IsUploaded());
    EXPECT_EQ(texture.GetReference()->GetState(), TextureState::Loading);
    EXPECT_EQ(texture.GetTextureName(), 0u);
    const GL::Call* deleted = Find(recorder, "glDeleteTextures");
    ASSERT_NE(deleted, nullptr) << recorder.Describe();
    EXPECT_EQ(deleted->ints, (std::vector<int64_t>{1, Find(recorder, "glGenTextures")->ints[1]}));
    recorder.Clear();
    texture.EnsureUploaded(); // never tried again
    EXPECT_TRUE(recorder.GetCalls().empty());
}

TEST_F(TextureTest, NoTextureNameFromGLKeepsThePixelsForALaterTry)
{
    GL::UseNullBackend(); // GenTextures yields 0
    Texture texture(FreshCopy("raw_rgb_3x2.raw"), TextureMode::Immediate);
    EXPECT_EQ(texture.GetReference()->GetState(), TextureState::Decoded);
    EXPECT_EQ(texture.GetReference()->GetPixelByteCount(), 18u);
    GL::Recorder recorder;
    texture.EnsureUploaded();
    EXPECT_TRUE(texture.IsUploaded());
}

TEST_F(TextureTest, FromMemoryTheFirstBytesWinAndImmediateModeDoesNotUpload)
{
    GL::Recorder recorder;
    const std::string name = FreshName("font");
    const std::vector<uint8_t> raw = TextureFiles::Read("raw_alpha_3x2.raw");
    std::vector<uint8_t> padded(5 + raw.size(), 0xEE);
    std::copy(raw.begin(), raw.end(), padded.begin() + 5);
    Texture first(name, padded.data(), 5, int(raw.size()), TextureMode::Immediate);
    EXPECT_EQ(first.GetReference()->GetState(), TextureState::Decoded);
    EXPECT_EQ(first.GetReference()->GetFormatCode(), 0x8FFu);
    EXPECT_TRUE(recorder.GetCalls().empty());

    const std::vector<uint8_t> png = TextureFiles::Read("rgba_3x2.png");
    Texture second(name, png.data(), 0, int(png.size()), TextureMode::Immediate);
    EXPECT_EQ(first, second);
    EXPECT_EQ(second.GetReference()->GetFormatCode(), 0x8FFu);

    // Deferred: decoded on the pool.
    Texture pooled(FreshName("font"), png.data(), 0, int(png.size()), TextureMode::Deferred);
    pooled.GetReference()->Load();
    EXPECT_EQ(pooled.GetReference()->GetFormatCode(), 0x200000u);

    // No bytes at all, or fewer than four: no data.
    Texture nothing(FreshName("font"), nullptr, 0, 10, TextureMode::Immediate);
    EXPECT_EQ(nothing.GetReference()->GetState(), TextureState::NoData);
    Texture tiny(FreshName("font"), png.data(), 0, 3, TextureMode::Immediate);
    EXPECT_EQ(tiny.GetReference()->GetState(), TextureState::NoData);
}

TEST_F(TextureTest, ConcurrentCreationMakesOneReferencePerName)
{
    GL::Recorder recorder;
    const std::string fileName = FreshCopy("raw_rgba_3x2.raw");
    const std::string memoryName = FreshName("shared");
    const std::vector<uint8_t> png = TextureFiles::Read("rgba_3x2.png");
    const int kThreads = 6;
    TestSupport::Latch gate; // starts the threads together
    std::vector<TextureReference*> fromFile(kThreads), fromMemory(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
    {
        threads.emplace_back(
            [&, i]()
            {
                gate.Wait();
                fromFile[i] =
                    Texture(fileName, i % 2 == 0 ? TextureMode::Deferred : TextureMode::UploadOnFrame)
                        .GetReference();
                Texture memory(memoryName, png.data(), 0, int(png.size()), TextureMode::Deferred);
                fromMemory[i] = memory.GetReference();
                fromMemory[i]->Load();
            });
    }
    gate.CountDown();
    for (std::thread& thread : threads)
        thread.join();
    for (int i = 1; i < kThreads; ++i)
    {
        EXPECT_EQ(fromFile[i], fromFile[0]);
        EXPECT_EQ(fromMemory[i], fromMemory[0]);
    }
    EXPECT_EQ(fromMemory[0]->GetState(), TextureState::Decoded);
    fromFile[0]->Load();
    RaiseAnimating();
    EXPECT_EQ(fromFile[0]->GetState(), TextureState::Uploaded);
}

TEST_F(TextureTest, FrameUploadsRaceDecodesWithoutDeadlock)
{
    // Workers decode and queue uploads while the main thread keeps running
    // the Animating phase; every texture ends uploaded.
    GL::Recorder recorder;
    std::vector<Texture> textures;
    for (int i = 0; i < 24; ++i)
        textures.emplace_back(FreshCopy(i % 2 ? "raw_alpha_3x2.raw" : "rgba_3x2.png"),
                              TextureMode::UploadOnFrame);
    for (int round = 0; round < 8; ++round)
        RaiseAnimating();
    for (Texture const& texture : textures)
        texture.GetReference()->Load();
    RaiseAnimating();
    for (Texture const& texture : textures)
        EXPECT_TRUE(texture.IsUploaded()) << texture.GetReference()->GetName();
    EXPECT_EQ(TextureCache::GetPendingUploadCount(), 0);
}
