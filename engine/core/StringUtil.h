// The few string conversions the engine needs.
#pragma once

#include <string>
#include <vector>

namespace Vexel
{
namespace StringUtil
{

// Appends every field between delimiters to out (not cleared first) and
// returns it. Two delimiters in a row give an empty field; a delimiter at
// the very end adds none; an empty text adds nothing.
std::vector<std::string>& Split(std::string const& text, char delimiter, std::vector<std::string>& out);

// Each byte widened as an unsigned value; each wide character cut to 8 bits.
std::wstring ToWide(std::string const& text);
std::string ToNarrow(std::wstring const& text);

// The number at the start of the text (leading white space skipped); 0 when
// there is none.
int ParseInt(std::string const& text);
unsigned int ParseUInt(std::string const& text);

} // namespace StringUtil
} // namespace Vexel
