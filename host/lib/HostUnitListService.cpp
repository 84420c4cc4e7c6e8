#include "HostUnitListService.h"

#include "foundation/win/HostBoundary.h"
#include "window/win/MessageBox.h"

namespace Vela {

HostUnitListService* HostUnitListService::Create(Host::IUnitCollection* list) {
  auto* s = new HostUnitListService;
  s->list_.reset(list);
  return s;
}

HRESULT HostUnitListService::GetUnitList(Host::IUnitCollection** list) noexcept {
  if (!list)
    return E_INVALIDARG;
  // The caller owns the added reference.
  list_.CopyTo(list);
  return *list ? S_OK : E_FAIL;
}

HRESULT HostUnitListService::ShowHelp(const wchar_t* topic, const wchar_t* book) noexcept {
  if (!topic)
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    helpCalls_.push_back({topic, book ? book : L""});
    if (helpOwner_)
      Tarn::Window::ShowMessageBox(helpOwner_, topic, book ? book : L"",
                                   MB_OK | MB_ICONINFORMATION);
  });
}

} // namespace Vela
