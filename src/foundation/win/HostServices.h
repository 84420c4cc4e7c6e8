#pragma once
#include <cstdint>

#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace MPCalibration::HostServices {

// The host's services, each fetched once per process and cached under its own lock. In the
// foundation, so that the objects of every layer (a unit entry, a calculation) reach the host the
// same way. A failed
// first request falls back to loading the host library beside the running executable (see
// HostServices.cpp) and asks once more; what still fails raises Tarn::XHResult.
Tarn::ComPtr<Host::IRegistrarBase> Registrar();
Tarn::ComPtr<Host::IClassCodeRegistry> ClassCodeRegistry();
Tarn::ComPtr<Host::IMessageDispatcher> MessageDispatcher();
Tarn::ComPtr<Host::IMessageFactory> MessageFactory();
Tarn::ComPtr<Host::IUnitService> UnitService();
Tarn::ComPtr<Host::IUnitListService> UnitListService();

// The 16-bit code the class-code registry gives a class identifier (not shifted).
std::int32_t RegistryCode(REFGUID clsid);

// Drops every cached service (tests that swap hosts within one process).
void ResetForTesting() noexcept;

} // namespace MPCalibration::HostServices
