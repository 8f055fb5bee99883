#include "engine/core/StringUtil.h"

#include <sstream>

namespace Vexel
{
namespace StringUtil
{

std::vector<std::string>& Split(std::string const& text, char delimiter, std::vector<std::string>& out)
{
    std::istringstream stream(text);
    std::string field;
    while (std::getline(stream, field, delimiter))
        out.push_back(field);
    return out;
}

std::wstring ToWide(std::string const& text)
{
    std::wstring wide(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); i++)
        wide[i] = wchar_t(static_cast<unsigned char>(text[i]));
    return wide;
}

std::string ToNarrow(std::wstring const& text)
{
    std::string narrow(text.size(), '\0');
    for (size_t i = 0; i < text.size(); i++)
        narrow[i] = char(text[i] & 0xFF);
    return narrow;
}

int ParseInt(std::string const& text)
{
    std::istringstream stream(text);
    int value = 0;
    if (!(stream >> value))
        return 0;
    return value;
}

unsigned int ParseUInt(std::string const& text)
{
    // Formatted input would wrap "-1" to a huge value; a sign means no number.
    std::istringstream stream(text);
    stream >> std::ws;
    if (stream.peek() == '-')
        return 0;
    unsigned int value = 0;
    if (!(stream >> value))
        return 0;
    return value;
}

} // namespace StringUtil
} // namespace Vexel
