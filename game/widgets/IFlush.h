// Implemented by the owner of a page's two shared sprite batches (the main
// screen): page titles and text elements call it at the start of their draw,
// so that the sprites queued before them lie beneath their text.
#pragma once

class IFlush
{
public:
    // Draws at once everything queued so far in the first (normal) batch.
    virtual void FlushFirstBatch() = 0;
    // The same for the second (highlight) batch.
    virtual void FlushSecondBatch() = 0;

protected:
    ~IFlush() = default;
};
