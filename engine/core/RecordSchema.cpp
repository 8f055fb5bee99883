#include "engine/core/RecordSchema.h"

#include "engine/core/BitReader.h"
#include "engine/core/BitWriter.h"
#include "engine/core/DateTime.h"
#include "engine/core/StringUtil.h"
#include "engine/core/WideValues.h"

#include <climits>
#include <cstring>
#include <vector>

namespace RecordSchema
{

namespace
{

struct FieldKind
{
    enum Enum
    {
        Ignored,
        Int32,
        UInt32,
        Bool,
        String,
        Int64,
        UInt64,
        Byte,
        UInt16,
        Int16,
        UInt128,
        UInt160,
        UInt256,
        Float,
        DateTime,
        Skip
    };
};

struct Field
{
    FieldKind::Enum kind;
    int size;     // bytes in a decoded record
    int argument; // maximum length of a string, byte count of a skip
};

const int DefaultStringLength = 256;

// The number after the colon, or fallback when there is none.
int WordArgument(std::string const& word, int fallback)
{
    std::vector<std::string> pieces;
    Vexel::StringUtil::Split(word, ':', pieces);
    return pieces.size() >= 2 ? Vexel::StringUtil::ParseInt(pieces[1]) : fallback;
}

Field ParseWord(std::string const& word)
{
    struct Fixed
    {
        const char* word;
        FieldKind::Enum kind;
        int size;
    };
    static const Fixed fixed[] = {
        {"int32", FieldKind::Int32, 4},       {"uint32", FieldKind::UInt32, 4},
        {"bool", FieldKind::Bool, 1},         {"int64", FieldKind::Int64, 8},
        {"uint64", FieldKind::UInt64, 8},     {"byte", FieldKind::Byte, 1},
        {"uint16", FieldKind::UInt16, 2},     {"int16", FieldKind::Int16, 2},
        {"uint128", FieldKind::UInt128, 16},  {"uint160", FieldKind::UInt160, 20},
        {"uint256", FieldKind::UInt256, 32},  {"float", FieldKind::Float, 4},
        {"datetime", FieldKind::DateTime, 8},
    };
    for (const Fixed& f : fixed)
    {
        if (word == f.word)
            return Field{f.kind, f.size, 0};
    }
    if (word.compare(0, 6, "string") == 0)
        return Field{FieldKind::String, int(sizeof(std::string*)), WordArgument(word, DefaultStringLength)};
    if (word.compare(0, 5, "skip:") == 0)
    {
        const int count = WordArgument(word, 0);
        return Field{FieldKind::Skip, count > 0 ? count : 0, 0};
    }
    return Field{FieldKind::Ignored, 0, 0};
}

// One entry per non-empty word.
std::vector<Field> ParseSchema(std::string const& schema)
{
    std::vector<std::string> words;
    Vexel::StringUtil::Split(schema, ' ', words);
    std::vector<Field> fields;
    fields.reserve(words.size());
    for (std::string const& word : words)
    {
        if (!word.empty())
            fields.push_back(ParseWord(word));
    }
    return fields;
}

int64_t TotalSize(std::vector<Field> const& fields)
{
    int64_t total = 0;
    for (Field const& field : fields)
        total += field.size;
    return total;
}

template <typename T> void Store(uint8_t* at, T const& value)
{
    std::memcpy(at, &value, sizeof(T));
}

} // namespace

int GetRecordSize(std::string const& schema)
{
    const int64_t total = TotalSize(ParseSchema(schema));
    return total > INT_MAX ? INT_MAX : int(total);
}

int GetFieldOffset(std::string const& schema, int fieldIndex)
{
    const std::vector<Field> fields = ParseSchema(schema);
    if (fieldIndex < 0 || size_t(fieldIndex) >= fields.size())
        return -1;
    int64_t offset = 0;
    for (int i = 0; i < fieldIndex; i++)
        offset += fields[size_t(i)].size;
    return offset > INT_MAX ? -1 : int(offset);
}

int DecodeRecord(Vexel::IO::BitReader& reader, std::string const& schema, uint8_t** buffer, int offset,
                 int bufferSize)
{
    const std::vector<Field> fields = ParseSchema(schema);
    if (buffer == nullptr || *buffer == nullptr || offset < 0 ||
        int64_t(offset) + TotalSize(fields) > bufferSize)
    {
        reader.AddError();
        return offset;
    }
    uint8_t* at = *buffer + offset;
    for (Field const& field : fields)
    {
        switch (field.kind)
        {
        case FieldKind::Ignored:
            break;
        case FieldKind::Int32:
            Store(at, reader.ReadInt32());
            break;
        case FieldKind::UInt32:
            Store(at, reader.ReadUInt32());
            break;
        case FieldKind::Bool:
            Store(at, uint8_t(reader.ReadBool() ? 1 : 0));
            break;
        case FieldKind::String:
            Store(at, new std::string(reader.ReadString(field.argument, Vexel::IO::CharCoding::Byte)));
            break;
        case FieldKind::Int64:
            Store(at, reader.ReadInt64());
            break;
        case FieldKind::UInt64:
            Store(at, reader.ReadUInt64());
            break;
        case FieldKind::Byte:
            Store(at, reader.ReadByte());
            break;
        case FieldKind::UInt16:
            Store(at, reader.ReadUInt16());
            break;
        case FieldKind::Int16:
            Store(at, reader.ReadInt16());
            break;
        case FieldKind::UInt128:
            Store(at, reader.ReadUInt128());
            break;
        case FieldKind::UInt160:
            Store(at, reader.ReadUInt160());
            break;
        case FieldKind::UInt256:
            Store(at, reader.ReadUInt256());
            break;
        case FieldKind::Float:
            Store(at, reader.ReadFloat());
            break;
        case FieldKind::DateTime:
            Store(at, Vexel::DateTime::FromInt64(reader.ReadInt64()));
            break;
        case FieldKind::Skip:
            std::memset(at, 0, size_t(field.size));
            break;
        }
        at += field.size;
    }
    return offset + int(at - (*buffer + offset));
}

void ReleaseRecord(std::string const& schema, uint8_t* record)
{
    if (record == nullptr)
        return;
    for (Field const& field : ParseSchema(schema))
    {
        if (field.kind == FieldKind::String)
        {
            std::string* text;
            std::memcpy(&text, record, sizeof(text));
            delete text;
            Store(record, static_cast<std::string*>(nullptr));
        }
        record += field.size;
    }
}

void EncodeRecord(Vexel::IO::BitWriter& writer, std::string const& schema, va_list values)
{
    for (Field const& field : ParseSchema(schema))
    {
        switch (field.kind)
        {
        case FieldKind::Ignored:
        case FieldKind::Skip:
            break;
        case FieldKind::Int32:
            writer.WriteInt32(va_arg(values, int));
            break;
        case FieldKind::UInt32:
            writer.WriteUInt32(va_arg(values, unsigned int));
            break;
        case FieldKind::Bool:
            writer.WriteBool(va_arg(values, int) != 0);
            break;
        case FieldKind::String:
        {
            const std::string* text = va_arg(values, const std::string*);
            writer.WriteString(text != nullptr ? *text : std::string(), field.argument,
                               Vexel::IO::CharCoding::Byte);
            break;
        }
        case FieldKind::Int64:
            writer.WriteInt64(va_arg(values, int64_t));
            break;
        case FieldKind::UInt64:
            writer.WriteUInt64(va_arg(values, uint64_t));
            break;
        case FieldKind::Byte:
            writer.WriteByte(uint8_t(va_arg(values, int)));
            break;
        case FieldKind::UInt16:
            writer.WriteUInt16(uint16_t(va_arg(values, int)));
            break;
        case FieldKind::Int16:
            writer.WriteInt16(int16_t(va_arg(values, int)));
            break;
        case FieldKind::UInt128:
        {
            const uint128* value = va_arg(values, const uint128*);
            writer.WriteUInt128(value != nullptr ? *value : uint128());
            break;
        }
        case FieldKind::UInt160:
        {
            const uint160* value = va_arg(values, const uint160*);
            writer.WriteUInt160(value != nullptr ? *value : uint160());
            break;
        }
        case FieldKind::UInt256:
        {
            const uint256* value = va_arg(values, const uint256*);
            writer.WriteUInt256(value != nullptr ? *value : uint256());
            break;
        }
        case FieldKind::Float:
            writer.WriteFloat(float(va_arg(values, double)));
            break;
        case FieldKind::DateTime:
            writer.WriteInt64(Vexel::DateTime::ToInt64(va_arg(values, double)));
            break;
        }
    }
}

void EncodeRecord(Vexel::IO::BitWriter& writer, const char* schema, ...)
{
    va_list values;
    va_start(values, schema);
    EncodeRecord(writer, std::string(schema != nullptr ? schema : ""), values);
    va_end(values);
}

} // namespace RecordSchema
