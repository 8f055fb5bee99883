// Whole files read and written as text, for tests that plant and inspect
// saved files byte for byte.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline std::string ReadText(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(std::string const& path, std::string const& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}
