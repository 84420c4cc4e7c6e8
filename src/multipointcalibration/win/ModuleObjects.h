#pragma once
#include <windows.h>

#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/VelaClassInfo.h"

// The module's class objects, built during static initialisation in the order calculation class,
// settings class, enumerator class, each pushing itself onto the registration list.
namespace MPCalibration::ModuleObjects {

// The module (DLL or test executable) whose resources hold the string table; known before
// DllMain runs.
HMODULE ThisModule() noexcept;

const VelaClassInfo& CalculationClassInfo() noexcept;
const VelaClassInfo& SettingsClassInfo() noexcept;
const VelaClassInfo& EnumeratorClassInfo() noexcept;

// Borrowed: the objects live as long as the module.
Host::ICalculationClass* CalculationClass() noexcept;
Host::IPersistClassObject* SettingsClass() noexcept;
Host::ICalcEnumClass2* EnumeratorClass() noexcept;

// Hands every class object on the registration list, from its head, to the registrar's register
// operation. S_OK when all were taken, else the first failure (the others are still offered).
[[nodiscard]] HRESULT RegisterClassObjects(Host::IRegistrarBase& registrar) noexcept;

} // namespace MPCalibration::ModuleObjects
