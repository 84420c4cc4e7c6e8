#pragma once
#include <windows.h>

namespace Tarn::Window {

// Writes one line about the exception being handled, to the error stream as XTarn does:
// "TARNBOOTLOG: WINDOW: message 0x000F: <text>". Call only inside a catch block.
void LogCaughtInProcedure(UINT message) noexcept;

// After a handler threw: a paint that failed paints nothing, so the window is marked valid and
// the paint message does not come back at once.
void RecoverFromFailedMessage(HWND hwnd, UINT message) noexcept;

} // namespace Tarn::Window
