// The portable status names must match the SDK's values.
#include <windows.h>

#include "foundation/HResult.h"

namespace hr = Tarn::hr;
static_assert(hr::ok == S_OK && hr::falseResult == S_FALSE);
static_assert(hr::fail == E_FAIL && hr::invalidArg == E_INVALIDARG);
static_assert(hr::noInterface == E_NOINTERFACE && hr::notImpl == E_NOTIMPL);
static_assert(hr::pointer == E_POINTER && hr::outOfMemory == E_OUTOFMEMORY);
static_assert(hr::unexpected == E_UNEXPECTED && hr::oldDll == STG_E_OLDDLL);
