#pragma once
#include <cstdint>

#include "ModuleHost.h"

namespace VelaTest {

// The module loaded once for the whole test run by the in-process host (DllRegisterClassObjects
// is called once per process, as the host does).
Vela::ModuleHost& Module();
// The module's live object count, or -1 when the module does not report one.
std::int32_t LiveModuleObjects();

} // namespace VelaTest
