#include "window/win/Module.h"

#include <commctrl.h>

#include <atomic>
#include <mutex>

namespace Tarn::Window {
namespace {

HINSTANCE ThisModule() noexcept {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::atomic<HINSTANCE> g_module{nullptr};

// One context per module: a test may switch the module the layer uses.
struct ContextCache {
  std::mutex lock;
  HINSTANCE module = nullptr;
  bool made = false;
  unique_hactctx context;
};

ContextCache& Cache() noexcept {
  static ContextCache cache;
  return cache;
}

} // namespace

HINSTANCE ModuleInstance() noexcept {
  HINSTANCE module = g_module.load();
  return module ? module : ThisModule();
}

void SetModuleInstance(HINSTANCE module) noexcept {
  g_module.store(module);
}

HANDLE ModuleActivationContext() noexcept {
  ContextCache& cache = Cache();
  std::lock_guard guard(cache.lock);
  const HINSTANCE module = ModuleInstance();
  if (!cache.made || cache.module != module) {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = module;
    request.lpResourceName = MAKEINTRESOURCEW(2);
    wchar_t path[MAX_PATH] = {};
    // CreateActCtxW reads the manifest through the module's file name.
    ::GetModuleFileNameW(module, path, MAX_PATH);
    request.lpSource = path;
    cache.context.reset(::CreateActCtxW(&request));
    cache.module = module;
    cache.made = true;
  }
  return cache.context ? cache.context.get() : nullptr;
}

unique_actctx_cookie ActivateModuleContext() noexcept {
  return unique_actctx_cookie::Activate(ModuleActivationContext());
}

bool InitModuleControls() noexcept {
  auto context = ActivateModuleContext();
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES |
                   ICC_TAB_CLASSES | ICC_LINK_CLASS;
  return ::InitCommonControlsEx(&controls) != FALSE;
}

std::span<const std::byte> FindResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name,
                                             LANGID language) noexcept {
  if (!module)
    module = ModuleInstance();
  HRSRC info = ::FindResourceExW(module, type, name, language);
  if (!info)
    info = ::FindResourceW(module, name, type);
  HGLOBAL handle = info ? ::LoadResource(module, info) : nullptr;
  const void* data = handle ? ::LockResource(handle) : nullptr;
  if (!data)
    return {};
  return {static_cast<const std::byte*>(data), ::SizeofResource(module, info)};
}

} // namespace Tarn::Window
