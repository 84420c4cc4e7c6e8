#pragma once
#include <cstdint>

namespace Tarn {

// 32-bit status codes as the host sees them. Portable code cannot include <windows.h>, so the
// values the module reports are named here once; the Windows build checks them against the SDK.
using HResult = std::int32_t;

namespace hr {
inline constexpr HResult ok = 0;
inline constexpr HResult falseResult = 1;
inline constexpr HResult notImpl = static_cast<HResult>(0x80004001u);
inline constexpr HResult noInterface = static_cast<HResult>(0x80004002u);
inline constexpr HResult pointer = static_cast<HResult>(0x80004003u);
inline constexpr HResult fail = static_cast<HResult>(0x80004005u);
inline constexpr HResult unexpected = static_cast<HResult>(0x8000FFFFu);
inline constexpr HResult outOfMemory = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult invalidArg = static_cast<HResult>(0x80070057u);
inline constexpr HResult oldDll = static_cast<HResult>(0x80030105u); // STG_E_OLDDLL
// The module's own codes: facility 4, customer bit, low word 0x8200..0x821E.
inline constexpr HResult newerFormat = static_cast<HResult>(0xA0048205u);
inline constexpr std::uint32_t moduleCodeFirst = 0xA0048200u;
inline constexpr std::uint32_t moduleCodeLast = 0xA004821Eu;

constexpr bool Succeeded(HResult h) noexcept {
  return h >= 0;
}
constexpr bool Failed(HResult h) noexcept {
  return h < 0;
}
} // namespace hr

} // namespace Tarn
