#include "foundation/win/ResourceStrings.h"

#include "foundation/ModuleStrings.h"
#include "foundation/win/StatusMessages.h"

#include <atomic>
#include <optional>

namespace Tarn {
namespace {

std::atomic<HMODULE> g_module{nullptr};

// The text of entry `id` in a string-table block, or nothing when the block or entry is missing.
// A block holds 16 entries, each a 16-bit length followed by that many code units; the walk is
// bounded by the resource size so a damaged block cannot be read past its end.
std::optional<std::wstring_view> FindEntry(HMODULE module, UINT id,
                                           std::optional<LANGID> language) {
  const auto block = MAKEINTRESOURCEW(static_cast<WORD>((id >> 4) + 1));
  HRSRC info = language ? FindResourceExW(module, RT_STRING, block, *language)
                        : FindResourceW(module, block, RT_STRING);
  if (!info)
    return std::nullopt;
  HGLOBAL handle = LoadResource(module, info);
  const auto* data = handle ? static_cast<const WCHAR*>(LockResource(handle)) : nullptr;
  if (!data)
    return std::nullopt;
  const std::size_t units = SizeofResource(module, info) / sizeof(WCHAR);
  std::size_t pos = 0;
  for (UINT entry = 0; entry < (id & 15); ++entry) {
    if (pos >= units)
      return std::nullopt;
    pos += 1 + data[pos];
  }
  if (pos >= units || data[pos] == 0 || pos + 1 + data[pos] > units)
    return std::nullopt;
  return std::wstring_view(reinterpret_cast<const wchar_t*>(data + pos + 1), data[pos]);
}

std::wstring ModuleResourceString(std::uint32_t id) {
  return LoadResourceString(g_module.load(), id, true).str();
}

} // namespace

TarnString LoadResourceString(HMODULE module, UINT id, bool substitute, LANGID language) {
  if (id == 0)
    return {};
  if (!module)
    module = GetModuleHandleW(nullptr);
  std::optional<std::wstring_view> text;
  if (language != 0)
    text = FindEntry(module, id, language);
  if (!text)
    text = FindEntry(module, id, std::nullopt);
  if (!text)
    return {};
  if (!substitute)
    return TarnString(*text);
  std::wstring work(*text);
  SubstituteProductNames(work);
  return TarnString(work);
}

TarnString LoadResourceString(HMODULE module, UINT id, bool substitute) {
  return LoadResourceString(module, id, substitute, GetThreadUILanguage());
}

void SetResourceModule(HMODULE module) noexcept {
  g_module.store(module);
  SetModuleStringProvider(&ModuleResourceString);
  InstallStatusMessages();
}

HMODULE ResourceModule() noexcept {
  return g_module.load();
}

} // namespace Tarn
