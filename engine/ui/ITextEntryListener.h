// Told by a text input when its text is committed with Enter.
#pragma once

namespace Vexel
{
namespace UI
{

class ITextEntryListener
{
public:
    virtual void OnTextCommitted() = 0;

protected:
    virtual ~ITextEntryListener() = default;
};

} // namespace UI
} // namespace Vexel
