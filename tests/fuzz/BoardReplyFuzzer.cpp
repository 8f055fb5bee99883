// libFuzzer target over what the leaderboard reads from the network: the HTTP
// reply framing (fed in the chunks the input's first byte picks) and the
// reply decoder. The input is taken as a plain reply and enciphered under
// the key first, so that the fuzzer reaches the row decoding; it is also
// offered as it is. Rows that come back must lie within their buffer and
// carry a string in every string slot.
#include "engine/core/RecordSchema.h"
#include "engine/core/Xxtea.h"
#include "engine/network/HttpReplyReader.h"
#include "engine/services/BoardProtocol.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Vexel;
using namespace Vexel::Services;

namespace
{
const std::string RowSchema = "int64 datetime string:3 int32 int32 int32 byte skip:7";

void Check(Leaderboard::response_t const& response)
{
    if (response.rows == nullptr)
        return;
    if (response.status != BoardStatus::Success)
        abort();
    const int recordSize = RecordSchema::GetRecordSize(RowSchema);
    const int count = response.rows->size / recordSize;
    if (count < 1 || count > BoardProtocol::MaxReplyRows || count * recordSize != response.rows->size)
        abort();
    for (int i = 0; i < count; i++)
    {
        const uint8_t* row = response.rows->data + i * recordSize;
        std::string* name;
        std::memcpy(&name, row + RecordSchema::GetFieldOffset(RowSchema, 2), sizeof(name));
        if (name == nullptr || name->size() > 3)
            abort();
    }
}

void Decode(const uint8_t* data, size_t size, uint128 const& key, bool encipher)
{
    IO::MemoryBuffer* body = new IO::MemoryBuffer(int(size));
    if (size)
        std::memcpy(body->data, data, size);
    if (encipher && size >= 8 && size % 4 == 0)
        XxteaEncrypt(body, key, true);
    const Leaderboard::response_t response = BoardProtocol::DecodeReply(body, key, RowSchema);
    Check(response);
    BoardProtocol::FreeRows(response.rows, RowSchema);
    delete body;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > size_t(INT_MAX / 2))
        return 0;
    static const uint128 key = BoardProtocol::KeyForUrl("http://127.0.0.1:12000/");

    Network::HttpReplyReader reader;
    const size_t chunk = size ? size_t(data[0] % 7) + 1 : 1;
    for (size_t at = 0; at < size && !reader.IsDone(); at += chunk)
        reader.Feed(data + at, int(size - at < chunk ? size - at : chunk));
    IO::MemoryBuffer* body = reader.TakeBody();
    if (body && (body->size <= 0 || body->size > Network::HttpReplyReader::MaxBodyBytes))
        abort();
    if (reader.GetResult() == Network::WebResponse::Complete && body == nullptr)
        abort();
    delete body;

    Decode(data, size, key, true);
    Decode(data, size, key, false);
    return 0;
}
