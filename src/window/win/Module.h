#pragma once
#include <windows.h>

#include "foundation/win/UniqueHandle.h"

#include <cstddef>
#include <span>

namespace Tarn::Window {

// The module whose resources, window classes and activation context the layer uses. Unless
// set, the module that holds this code: the extension DLL in the host, the executable in a test.
HINSTANCE ModuleInstance() noexcept;
void SetModuleInstance(HINSTANCE module) noexcept;

// The activation context made from the module's manifest resource 2 (common controls version 6),
// created once per module; null when the module has no such manifest.
HANDLE ModuleActivationContext() noexcept;
// Makes that context active until the cookie dies; an inactive cookie when there is none.
[[nodiscard]] unique_actctx_cookie ActivateModuleContext() noexcept;
// Registers the common control classes the module's windows use, inside the module's context.
bool InitModuleControls() noexcept;

// The bytes of resource `name` of `type` in `language`; when that language has none, the one
// the platform picks. Empty when missing. `module` null means ModuleInstance().
std::span<const std::byte> FindResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name,
                                             LANGID language) noexcept;

} // namespace Tarn::Window
