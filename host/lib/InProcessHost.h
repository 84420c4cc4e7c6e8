#pragma once
#include <windows.h>

namespace Vela {

// Serves this process's host classes to extensions: initialises the object system (OLE) and
// registers the host application class and the unit-list service class with
// CoRegisterClassObject (in-process, multiple use), so that CoGetClassObject on this thread
// finds them. The destructor revokes the registrations and clears what the host recorded and
// kept (module class objects, units), then uninitialises.
class InProcessHost {
public:
  InProcessHost();
  ~InProcessHost();
  InProcessHost(const InProcessHost&) = delete;
  InProcessHost& operator=(const InProcessHost&) = delete;

  // S_OK when both classes are registered.
  HRESULT Status() const noexcept { return status_; }

private:
  HRESULT status_ = E_FAIL;
  bool initialised_ = false;
  DWORD hostCookie_ = 0;
  DWORD unitListCookie_ = 0;
};

} // namespace Vela
