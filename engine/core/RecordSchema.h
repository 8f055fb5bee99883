// Packs flat records into bit streams and back, driven by a schema text of
// type words separated by blanks: "int32", "uint32", "bool", "string" (or
// "string:N", N = maximum length, 256 when absent), "int64", "uint64",
// "byte", "uint16", "int16", "uint128", "uint160", "uint256", "float",
// "datetime" and "skip:N". Unknown words and the empty words of repeated
// blanks are ignored.
//
// A decoded record is packed without gaps in native byte order. Sizes: 4 for
// int32, uint32 and float; 1 for bool and byte; 2 for int16 and uint16; 8 for
// int64, uint64 and datetime (double seconds); 16, 20, 32 for the wide
// values; a string is a pointer-sized slot holding a new std::string that
// the caller owns (ReleaseRecord deletes them); "skip:N" is N zero bytes in
// the record and nothing on the wire. Use GetFieldOffset rather than
// hard-coded offsets.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

namespace Vexel
{
namespace IO
{
class BitReader;
class BitWriter;
} // namespace IO
} // namespace Vexel

namespace RecordSchema
{

// Bytes one decoded record takes (saturates at INT_MAX).
int GetRecordSize(std::string const& schema);

// Byte offset of a field within a decoded record; fields are counted by the
// non-empty words of the schema, from 0. -1 when there is no such field.
int GetFieldOffset(std::string const& schema, int fieldIndex);

// Reads one record and stores it at *buffer + offset, where the buffer holds
// bufferSize bytes; returns the offset just past the record. When the
// record would not fit, stores and reads nothing, counts one reader error
// and returns offset unchanged. Failed reads leave zero values (a bool reads
// true) and are counted in the reader's errors.
int DecodeRecord(Vexel::IO::BitReader& reader, std::string const& schema, uint8_t** buffer, int offset,
                 int bufferSize);

// Deletes the strings of one decoded record and nulls their slots.
void ReleaseRecord(std::string const& schema, uint8_t* record);

// Writes one value per field word from the argument list: int for int32,
// bool, byte, int16 and uint16; unsigned int for uint32; int64_t or uint64_t
// for the 64-bit words; double for float and datetime (seconds); pointers to
// std::string and to the wide values (null writes "" or zero). Skip and
// unknown words take no argument.
void EncodeRecord(Vexel::IO::BitWriter& writer, std::string const& schema, va_list values);

// Convenience form of the above. Pass explicitly typed arguments: a bare
// literal 0 as the first value would select the va_list form.
void EncodeRecord(Vexel::IO::BitWriter& writer, const char* schema, ...);

} // namespace RecordSchema
