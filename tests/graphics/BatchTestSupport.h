// Helpers shared by the batch tests: uploaded textures that need no GL, a
// compact trace of the GL calls a recorder saw, and the expected quad of a
// sprite.
#pragma once

#include "engine/graphics/GL.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TextureReference.h"
#include "engine/graphics/VertexFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace BatchTest
{

// An already uploaded texture with this GL name; lives until the process ends.
inline Vexel::Graphics::Texture UploadedTexture(unsigned glName)
{
    static std::vector<std::unique_ptr<Vexel::Graphics::TextureReference>> keep;
    keep.emplace_back(
        new Vexel::Graphics::TextureReference("batch-test-" + std::to_string(glName), glName, 16, 16, 0));
    return Vexel::Graphics::Texture(keep.back().get());
}

// One short line per call: "bind 7", "blend 770 1", "enable 3042",
// "disable 3042", "draw 4" (glDrawElements with its index count), "arrays 0 300"
// (glDrawArrays), "push", "pop", "mult", "vp" / "tp" / "cp" (array pointers),
// "on 32884" / "off 32884" (client states). Anything else by its GL name.
inline std::vector<std::string> Trace(Vexel::Graphics::GL::Recorder const& recorder)
{
    std::vector<std::string> out;
    for (auto const& call : recorder.GetCalls())
    {
        std::ostringstream line;
        auto const& n = call.name;
        if (n == "glBindTexture")
            line << "bind " << call.ints[1];
        else if (n == "glBlendFunc")
            line << "blend " << call.ints[0] << " " << call.ints[1];
        else if (n == "glEnable")
            line << "enable " << call.ints[0];
        else if (n == "glDisable")
            line << "disable " << call.ints[0];
        else if (n == "glDrawElements")
            line << "draw " << call.ints[1];
        else if (n == "glDrawArrays")
            line << "arrays " << call.ints[1] << " " << call.ints[2];
        else if (n == "glPushMatrix")
            line << "push";
        else if (n == "glPopMatrix")
            line << "pop";
        else if (n == "glMultMatrixf")
            line << "mult";
        else if (n == "glVertexPointer")
            line << "vp";
        else if (n == "glTexCoordPointer")
            line << "tp";
        else if (n == "glColorPointer")
            line << "cp";
        else if (n == "glEnableClientState")
            line << "on " << call.ints[0];
        else if (n == "glDisableClientState")
            line << "off " << call.ints[0];
        else
            line << n;
        out.push_back(line.str());
    }
    return out;
}

// Only the lines that start with one of the prefixes.
inline std::vector<std::string> Filter(std::vector<std::string> const& trace,
                                       std::vector<std::string> const& prefixes)
{
    std::vector<std::string> out;
    for (auto const& line : trace)
    {
        for (auto const& prefix : prefixes)
        {
            if (line.compare(0, prefix.size(), prefix) == 0)
            {
                out.push_back(line);
                break;
            }
        }
    }
    return out;
}

// The recorded calls with this name.
inline std::vector<Vexel::Graphics::GL::Call> CallsNamed(Vexel::Graphics::GL::Recorder const& recorder,
                                                         std::string const& name)
{
    std::vector<Vexel::Graphics::GL::Call> out;
    for (auto const& call : recorder.GetCalls())
    {
        if (call.name == name)
            out.push_back(call);
    }
    return out;
}

// The memory a recorded pointer argument pointed at (still alive: batches
// keep their arrays between frames).
template <class T> const T* Pointer(Vexel::Graphics::GL::Call const& call, size_t argument)
{
    return reinterpret_cast<const T*>(static_cast<uintptr_t>(call.ints[argument]));
}

// The vertices one glDrawElements drew, given the last glVertexPointer
// before it (stride 20) and its 16-bit indices.
inline std::vector<Vexel::Graphics::Geometry::VertexP2T2C>
DrawnVertices(Vexel::Graphics::GL::Call const& vertexPointer, Vexel::Graphics::GL::Call const& draw)
{
    const auto* vertices = Pointer<Vexel::Graphics::Geometry::VertexP2T2C>(vertexPointer, 3);
    const auto* indices = Pointer<uint16_t>(draw, 3);
    std::vector<Vexel::Graphics::Geometry::VertexP2T2C> out;
    for (int64_t i = 0; i < draw.ints[1]; ++i)
        out.push_back(vertices[indices[i]]);
    return out;
}

// The quad of a sprite centred at (100, 50), 16 x 8, unrotated, showing the
// texture's top-left quarter in this colour: top-left, top-right,
// bottom-left, bottom-right.
inline void ExpectCentredQuad(std::vector<Vexel::Graphics::Geometry::VertexP2T2C> const& quad, Color color)
{
    ASSERT_EQ(quad.size(), 4u);
    const float expected[4][4] = {
        {92, 46, 0, 0}, {108, 46, 0.5f, 0}, {92, 54, 0, 0.5f}, {108, 54, 0.5f, 0.5f}};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(quad[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(quad[i].y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(quad[i].u, expected[i][2]) << i;
        EXPECT_FLOAT_EQ(quad[i].v, expected[i][3]) << i;
        EXPECT_EQ(quad[i].color, color);
    }
}

} // namespace BatchTest
