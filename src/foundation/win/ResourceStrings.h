#pragma once
#include <windows.h>

#include "foundation/win/TarnString.h"

namespace Tarn {

// Loads string-table texts in the language of the running application. The module has no window
// framework application object, so the application's language is the calling thread's user
// interface language (GetThreadUILanguage). A missing block or entry in that language falls back
// to the platform's default choice. `module` null means the host executable. Identifier 0 and
// missing texts give the empty string, unsubstituted.
TarnString LoadResourceString(HMODULE module, UINT id, bool substitute = true);
// The same for an explicit first language (0 skips straight to the default choice).
TarnString LoadResourceString(HMODULE module, UINT id, bool substitute, LANGID language);

// Makes `module` the source of the module's own texts: installs the string provider that serves
// ModuleString() from its resources and the status message lookup of XTarn (module codes from
// the host executable's string table, other codes from the system). Call once at start-up.
void SetResourceModule(HMODULE module) noexcept;
HMODULE ResourceModule() noexcept;

} // namespace Tarn
