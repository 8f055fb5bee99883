#include "tools/assetgen/AudioFiles.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace AssetGen
{

namespace
{

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

bool WriteFileAtomically(std::string const& path, std::vector<uint8_t> const& bytes, std::string& error)
{
    std::string temporary = path + ".part";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f)
    {
        error = "cannot write " + temporary;
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace

std::vector<int16_t> ToPcm16(std::vector<double> const& samples)
{
    std::vector<int16_t> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
    {
        double v = std::round(samples[i] * 32767.0);
        out[i] = int16_t(v > 32767.0 ? 32767.0 : (v < -32768.0 ? -32768.0 : v));
    }
    return out;
}

bool WriteWav(std::string const& path, std::vector<int16_t> const& samples, int rate, std::string& error)
{
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    PutU32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1); // PCM
    PutU16(out, 1); // mono
    PutU32(out, uint32_t(rate));
    PutU32(out, uint32_t(rate) * 2);
    PutU16(out, 2);  // bytes per frame
    PutU16(out, 16); // bits per sample
    PutTag(out, "data");
    PutU32(out, dataBytes);
    for (int16_t s : samples)
        PutU16(out, uint16_t(s));
    return WriteFileAtomically(path, out, error);
}

bool WriteLoopMp3(std::string const& path, std::vector<float> const& left, std::vector<float> const& right,
                  int rate, int kbps, std::string& error)
{
    // Frames of the loop's end before it and of its start after it: more
    // than the encoder's delay and look-ahead, and than the one frame of
    // overlap a decoder carries into the next.
    const size_t leadFrames = 4, tailFrames = 6;
    const size_t length = left.size();
    if (length == 0 || length % kMp3FrameSamples != 0 || right.size() != length)
    {
        error = "the loop for " + path + " is not a whole number of MP3 frames";
        return false;
    }
    const size_t loopFrames = length / kMp3FrameSamples;
    const size_t lead = leadFrames * kMp3FrameSamples, tail = tailFrames * kMp3FrameSamples;
    std::vector<float> inLeft, inRight;
    for (size_t i = 0; i < lead + length + tail; ++i)
    {
        size_t at = (i + length - lead % length) % length;
        inLeft.push_back(left[at]);
        inRight.push_back(right[at]);
    }

    lame_global_flags* lame = lame_init();
    if (!lame)
    {
        error = "cannot start the MP3 encoder for " + path;
        return false;
    }
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 0);
    lame_set_disable_reservoir(lame, 1);
    if (lame_init_params(lame) < 0)
    {
        lame_close(lame);
        error = "the MP3 encoder refused its settings for " + path;
        return false;
    }
    std::vector<uint8_t> stream;
    const int chunk = 8192;
    std::vector<unsigned char> buffer(size_t(chunk * 5 / 4 + 7200));
    bool ok = true;
    for (size_t at = 0; at < inLeft.size() && ok; at += chunk)
    {
        int n = int(std::min<size_t>(chunk, inLeft.size() - at));
        int bytes = lame_encode_buffer_ieee_float(lame, inLeft.data() + at, inRight.data() + at, n,
                                                  buffer.data(), int(buffer.size()));
        ok = bytes >= 0;
        if (ok)
            stream.insert(stream.end(), buffer.begin(), buffer.begin() + bytes);
    }
    if (ok)
    {
        int bytes = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
        ok = bytes >= 0;
        if (ok)
            stream.insert(stream.end(), buffer.begin(), buffer.begin() + bytes);
    }
    lame_close(lame);
    if (!ok)
    {
        error = "the MP3 encoder failed on " + path;
        return false;
    }

    // Split the stream at its frame headers (MPEG-1 layer III, constant
    // bit rate: 144 x bit rate / sample rate bytes, one more when padded).
    std::vector<size_t> starts;
    for (size_t at = 0; at + 4 <= stream.size();)
    {
        if (stream[at] != 0xFF || (stream[at + 1] & 0xFE) != 0xFA)
        {
            error = "the MP3 encoder wrote something other than frames for " + path;
            return false;
        }
        starts.push_back(at);
        at += size_t(144 * kbps * 1000 / rate) + ((stream[at + 2] >> 1) & 1);
    }
    if (starts.size() < leadFrames + loopFrames + 1)
    {
        error = "the MP3 encoder wrote too few frames for " + path;
        return false;
    }
    std::vector<uint8_t> out(stream.begin() + long(starts[leadFrames]),
                             stream.begin() + long(starts[leadFrames + loopFrames]));
    return WriteFileAtomically(path, out, error);
}

} // namespace AssetGen
