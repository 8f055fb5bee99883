// What the scores tests share: a private save folder per test, and whole
// saved files as byte strings.
#pragma once

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ScoresTest
{

// "13 00 ff" -> the three bytes.
inline std::string Hex(std::string const& text)
{
    std::string bytes;
    unsigned value = 0;
    int digits = 0;
    for (char c : text)
    {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0)
            continue;
        value = value * 16 + unsigned(digit);
        if (++digits == 2)
        {
            bytes.push_back(char(value));
            value = 0;
            digits = 0;
        }
    }
    return bytes;
}

template <class T> void Put(std::string& bytes, T value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

template <class T> T Get(std::string const& bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

// Each test gets empty save and data folders through the platform layer's
// environment variables.
class SaveFolderTest : public ::testing::Test
{
protected:
    TempDirectory home, data;
    ScopedEnvironment homeVariable{"XDG_DATA_HOME", home.Path()};
    ScopedEnvironment dataVariable{"COBALT_KEEP_DATA", data.Path()};

    std::string SavePath(std::string const& name) const { return home.Path() + "/cobalt-keep/" + name; }

    bool Exists(std::string const& name) const
    {
        std::ifstream in(SavePath(name), std::ios::binary);
        return in.is_open();
    }

    std::string ReadSaved(std::string const& name) const
    {
        std::ifstream in(SavePath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void WriteSaved(std::string const& name, std::string const& bytes) const
    {
        std::string folder = home.Path() + "/cobalt-keep";
        mkdir(folder.c_str(), 0700);
        std::ofstream out(SavePath(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }

    // Every name in the save folder.
    std::vector<std::string> SavedNames() const
    {
        std::vector<std::string> names;
        DIR* folder = opendir((home.Path() + "/cobalt-keep").c_str());
        if (folder == nullptr)
            return names;
        while (dirent* entry = readdir(folder))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.push_back(entry->d_name);
        closedir(folder);
        return names;
    }
};

} // namespace ScoresTest
