// The process-wide use count of SDL_net: the first reference initialises it,
// the last one shuts it down. Every GET and every UDP socket holds one while
// it lives.
#pragma once

namespace Vexel
{
namespace Network
{

class NetworkReference
{
public:
    NetworkReference();
    ~NetworkReference();
    NetworkReference(const NetworkReference&) = delete;
    NetworkReference& operator=(const NetworkReference&) = delete;

    // Whether SDL_net came up.
    bool IsReady() const { return ready; }

    // The current count, for tests.
    static int GetCount();

private:
    bool ready;
};

} // namespace Network
} // namespace Vexel
