// The registry of text inputs and the one focused input. Main thread only.
#pragma once

namespace Vexel
{
namespace UI
{

class ITextInputInterface;

void RegisterTextInput(ITextInputInterface* input);
// Clears the focus when it was this input and passes it on.
void UnregisterTextInput(ITextInputInterface* input);
// Null when no input has the focus.
ITextInputInterface* GetFocusedTextInput();
// Used by inputs that take the focus.
void SetFocusedTextInput(ITextInputInterface* input);
// Drops a focus that is no longer focusable; with none, focuses the first
// focusable registered input (in pointer order), if any.
void RefreshTextFocus();
// Makes every input unfocusable, so nothing is focused afterwards.
void ClearTextFocus();
bool IsTextInputRegistered(ITextInputInterface* input);
int GetRegisteredTextInputCount();

} // namespace UI
} // namespace Vexel
