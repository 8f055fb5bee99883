#include "engine/services/BoardProtocol.h"

#include "engine/core/Base64.h"
#include "engine/core/BitReader.h"
#include "engine/core/BitWriter.h"
#include "engine/core/CharCoding.h"
#include "engine/core/Md5.h"
#include "engine/core/RecordSchema.h"
#include "engine/core/StringUtil.h"
#include "engine/core/Xxtea.h"

#include <algorithm>
#include <vector>

namespace Vexel
{
namespace Services
{
namespace BoardProtocol
{

namespace
{
const int RequestCapacity = 256;

// The number after the colon of a "string:N" or "skip:N" word, or fallback.
int WordArgument(std::string const& word, int fallback)
{
    const size_t colon = word.find(':');
    return colon == std::string::npos ? fallback : StringUtil::ParseInt(word.substr(colon + 1));
}
} // namespace

IO::IPackedStream* BuildRequest(Operation::Enum operation, std::string const& gameKey, int32_t board,
                                std::string const& schema, va_list values)
{
    IO::ExpandablePackedStream* stream = new IO::ExpandablePackedStream(RequestCapacity);
    IO::BitWriter writer(stream);
    writer.WriteUInt32(RequestMagic);
    writer.WriteUInt16(uint16_t(operation));
    writer.WriteString(gameKey, MaxKeyLength, IO::CharCoding::Byte);
    writer.WriteInt32(board);
    RecordSchema::EncodeRecord(writer, schema, values);
    writer.WriteRandomPadding();
    return stream;
}

IO::IPackedStream* BuildRequest(Operation::Enum operation, std::string const& gameKey, int32_t board,
                                const char* schema, ...)
{
    va_list values;
    va_start(values, schema);
    IO::IPackedStream* stream =
        BuildRequest(operation, gameKey, board, std::string(schema != nullptr ? schema : ""), values);
    va_end(values);
    return stream;
}

uint128 KeyForUrl(std::string const& baseUrl)
{
    return Md5::ComputeHash(baseUrl.data(), int(baseUrl.size()));
}

std::string EncodeRequest(IO::IPackedStream* request, uint128 const& key)
{
    if (request == nullptr || request->GetLength() < 8 || request->GetLength() % 4 != 0)
        return std::string();
    // Enciphered in a copy: the request stream stays as it was built.
    IO::MemoryBuffer borrowed(request->GetData(), request->GetLength());
    IO::MemoryBuffer* ciphertext = XxteaEncrypt(&borrowed, key, false);
    borrowed.data = nullptr; // the stream keeps its storage
    const std::string text = Base64EncodeBuffer(ciphertext);
    delete ciphertext;
    return text;
}

std::string RequestUrl(std::string const& baseUrl, IO::IPackedStream* request, uint128 const& key)
{
    std::string url;
    url.reserve(1024);
    url += baseUrl;
    url += "?q=";
    url += EncodeRequest(request, key);
    return url;
}

int MinimumRecordBits(std::string const& schema)
{
    std::vector<std::string> words;
    StringUtil::Split(schema, ' ', words);
    int64_t bits = 0;
    for (std::string const& word : words)
    {
        if (word == "int32" || word == "uint32" || word == "float")
            bits += 32;
        else if (word == "bool")
            bits += 1;
        else if (word == "int64" || word == "uint64" || word == "datetime")
            bits += 64;
        else if (word == "byte")
            bits += 8;
        else if (word == "int16" || word == "uint16")
            bits += 16;
        else if (word == "uint128")
            bits += 128;
        else if (word == "uint160")
            bits += 160;
        else if (word == "uint256")
            bits += 256;
        else if (word.compare(0, 6, "string") == 0)
        {
            const int maxLength = WordArgument(word, 256);
            if (maxLength > 0)
                bits += IO::BitLength(unsigned(maxLength));
        }
    }
    return bits > 0x7FFFFFFF ? 0x7FFFFFFF : int(bits);
}

void FreeRows(IO::MemoryBuffer* rows, std::string const& schema)
{
    if (rows == nullptr)
        return;
    const int recordSize = RecordSchema::GetRecordSize(schema);
    if (recordSize > 0 && rows->data != nullptr)
    {
        for (int offset = 0; offset + recordSize <= rows->size; offset += recordSize)
            RecordSchema::ReleaseRecord(schema, rows->data + offset);
    }
    delete rows;
}

Leaderboard::response_t DecodeReply(IO::MemoryBuffer* body, uint128 const& key, std::string const& rowSchema)
{
    const Leaderboard::response_t badBody(BoardStatus::BadBody, nullptr);
    const Leaderboard::response_t badReply(BoardStatus::BadReply, nullptr);
    if (body == nullptr || body->data == nullptr || body->size <= 0)
        return badBody;
    if (XxteaDecrypt(body, key, true) == nullptr)
        return badBody;

    IO::MemoryPackedStream stream(body->data, body->size, body->size, false);
    IO::BitReader reader(&stream);
    const uint32_t magic = reader.ReadUInt32();
    const int32_t length = reader.ReadInt32();
    if (reader.GetErrors() != 0 || magic != ReplyMagic || length > body->size)
        return badReply;
    const int32_t status = reader.ReadInt32();
    const int32_t count = reader.ReadInt32();
    if (reader.GetErrors() != 0)
        return badReply;
    // The client's own pending, cancelled and destroyed states cannot come
    // from the server.
    if (status == BoardStatus::Pending || status == BoardStatus::Cancelled ||
        status == BoardStatus::Destroyed)
        return badReply;
    if (status != BoardStatus::Success || count == 0)
        return Leaderboard::response_t(status, nullptr);

    const int64_t remainingBits = int64_t(body->size) * 8 - reader.GetBitPosition();
    const int minimumBits = MinimumRecordBits(rowSchema);
    int64_t allowed = MaxReplyRows;
    if (minimumBits > 0)
        allowed = std::min<int64_t>(allowed, remainingBits / minimumBits);
    const int recordSize = RecordSchema::GetRecordSize(rowSchema);
    if (count < 0 || count > allowed || recordSize <= 0)
        return badReply;

    IO::MemoryBuffer* rows = new IO::MemoryBuffer(count * recordSize);
    int offset = 0;
    for (int i = 0; i < count; i++)
        offset = RecordSchema::DecodeRecord(reader, rowSchema, &rows->data, offset, rows->size);
    if (reader.GetErrors() != 0)
    {
        FreeRows(rows, rowSchema);
        return badReply;
    }
    return Leaderboard::response_t(BoardStatus::Success, rows);
}

} // namespace BoardProtocol
} // namespace Services
} // namespace Vexel
