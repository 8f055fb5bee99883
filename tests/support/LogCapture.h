// Collects what the code under test reports through Vexel::Log for as long as
// it lives, instead of letting it reach stderr; the previous sink comes back
// when it goes out of scope.
#pragma once

#include "engine/core/Log.h"

#include <mutex>
#include <string>
#include <vector>

namespace TestSupport
{

class LogCapture : public Vexel::Log::ISink
{
public:
    struct Line
    {
        Vexel::Log::Level::Enum level;
        std::string tag;
        std::string message;
    };

    LogCapture() : previous(Vexel::Log::SetSink(this)) {}
    ~LogCapture() override { Vexel::Log::SetSink(previous); }
    LogCapture(LogCapture const&) = delete;
    LogCapture& operator=(LogCapture const&) = delete;

    void Write(Vexel::Log::Level::Enum level, const char* tag, const char* message) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        lines.push_back(Line{level, tag, message});
    }

    std::vector<Line> Lines()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return lines;
    }

    // The messages alone, in order.
    std::vector<std::string> Messages()
    {
        std::vector<std::string> messages;
        for (Line const& line : Lines())
            messages.push_back(line.message);
        return messages;
    }

    // True when some message contains the text.
    bool Contains(std::string const& text)
    {
        for (Line const& line : Lines())
            if (line.message.find(text) != std::string::npos)
                return true;
        return false;
    }

private:
    Vexel::Log::ISink* previous;
    std::mutex mutex;
    std::vector<Line> lines;
};

} // namespace TestSupport
