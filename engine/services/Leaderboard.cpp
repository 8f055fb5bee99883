#include "engine/services/Leaderboard.h"

#include "engine/core/RecordSchema.h"
#include "engine/services/BoardExchange.h"
#include "engine/services/BoardProtocol.h"

#include <cstdarg>

namespace Vexel
{
namespace Services
{

class Leaderboard::Impl
{
public:
    explicit Impl(std::string const& gameKey) : gameKey(gameKey) {}
    std::string gameKey;
};

Leaderboard::Leaderboard(std::string const& gameKey) : impl(new Impl(gameKey))
{
    BoardExchange::Instance().AddRef();
}

Leaderboard::~Leaderboard()
{
    BoardExchange::Instance().Release();
    delete impl;
}

Leaderboard::ResponseTask* Leaderboard::SubmitValues(int32_t board, const char* schema, ...)
{
    va_list values;
    va_start(values, schema);
    IO::IPackedStream* request = BoardProtocol::BuildRequest(
        BoardProtocol::Operation::Submit, impl->gameKey, board, std::string(schema ? schema : ""), values);
    va_end(values);
    return BoardExchange::Instance().Enqueue(request, std::string());
}

Leaderboard::ResponseTask* Leaderboard::QueryValues(int32_t board, const char* rowSchema,
                                                    const char* keySchema, ...)
{
    va_list values;
    va_start(values, keySchema);
    IO::IPackedStream* request =
        BoardProtocol::BuildRequest(BoardProtocol::Operation::Query, impl->gameKey, board,
                                    std::string(keySchema ? keySchema : ""), values);
    va_end(values);
    return BoardExchange::Instance().Enqueue(request, std::string(rowSchema ? rowSchema : ""));
}

std::string const& Leaderboard::GetGameKey() const
{
    return impl->gameKey;
}

int Leaderboard::GetRowCount(response_t const& response, std::string const& rowSchema)
{
    const int recordSize = RecordSchema::GetRecordSize(rowSchema);
    if (response.rows == nullptr || recordSize <= 0)
        return 0;
    return response.rows->size / recordSize;
}

const uint8_t* Leaderboard::GetRow(response_t const& response, std::string const& rowSchema, int index)
{
    if (index < 0 || index >= GetRowCount(response, rowSchema))
        return nullptr;
    return response.rows->data + index * RecordSchema::GetRecordSize(rowSchema);
}

bool Leaderboard::SetServerUrl(std::string const& baseUrl)
{
    return BoardExchange::Instance().SetServerUrl(baseUrl);
}

std::string Leaderboard::GetServerUrl()
{
    return BoardExchange::Instance().GetServerUrl();
}

bool Leaderboard::IsOnline()
{
    return BoardExchange::Instance().IsOnline();
}

void Leaderboard::SetTimeLimit(int milliseconds)
{
    BoardExchange::Instance().SetTimeLimit(milliseconds);
}

} // namespace Services
} // namespace Vexel
