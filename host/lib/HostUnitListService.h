#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// One call of the help service.
struct HelpCall {
  std::wstring topic;
  std::wstring book;
  bool operator==(const HelpCall&) const = default;
};

// The application service's class object: slot 3 of its unit-list face gives the host's unit
// list; its help face records every topic asked for and, once the host program has a window to
// own it, shows the topic in a small window.
class HostUnitListService final
    : public Tarn::ComObject<HostUnitListService, Host::IUnitListService, Host::IHelpService> {
public:
  // A new service over `list` (the service keeps a reference) with one reference for the caller.
  static HostUnitListService* Create(Host::IUnitCollection* list);

  std::vector<HelpCall> HelpCalls() const { return helpCalls_; }
  // The window that owns the help window; none (the default) records the calls only.
  void SetHelpOwner(HWND owner) noexcept { helpOwner_ = owner; }
  HWND HelpOwner() const noexcept { return helpOwner_; }
  void ClearHelpCalls() noexcept { helpCalls_.clear(); }

  HRESULT STDMETHODCALLTYPE GetUnitList(Host::IUnitCollection** list) noexcept override;
  HRESULT STDMETHODCALLTYPE ShowHelp(const wchar_t* topic, const wchar_t* book) noexcept override;

private:
  using Base = Tarn::ComObject<HostUnitListService, Host::IUnitListService, Host::IHelpService>;
  friend Base;
  HostUnitListService() = default;
  ~HostUnitListService() = default;
  Tarn::ComPtr<Host::IUnitCollection> list_;
  std::vector<HelpCall> helpCalls_;
  HWND helpOwner_ = nullptr;
};

} // namespace Vela
