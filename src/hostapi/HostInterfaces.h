#pragma once
// The host application's interfaces, as the module calls and implements them and as the
// reference host serves them. One set of declarations for both sides.
//
// Lifecycle of the contract
//  1. The host loads MultipointCalibration.dll and calls DllRegisterClassObjects() once. The module
//     hands its three class objects to the registrar (IRegistrarBase slot 6), the enumerator class
//     first, then the settings class, then the calculation class.
//  2. For a channel, the host asks the calculation class (ICalculationClass slot 11) for an
//     extension object, giving it the document's data source. The extension aggregates the
//     host's channel-calculation object (registrar slot 3) and answers IChannelCalc.
//  3. Settings go back and forth as IPersistObject objects of the settings class; the host
//     saves and loads them through its IObjectStream.
//  4. For every place the host needs calibrated samples it creates an enumerator through the
//     enumerator class (ICalcEnumClass2 slot 11 or 12), calls SetParameters with the parameter
//     text, SetSources with a source IEnumFloatEx, optionally Seek, then Next repeatedly.
//
// Threads: everything is called on the host's user-interface thread; reference counts are
// interlocked, so references may be dropped from any thread. One enumerator is driven by one
// thread at a time.
//
// References: the usual COM rules. An interface returned through an out-argument carries one
// reference that the caller releases; an interface passed in is borrowed for the call. Strings
// cross as ITarnString (one reference per out-argument) or BSTR (the callee allocates, the caller
// frees with SysFreeString; a BSTR out-argument that is not null on entry is freed by the callee).
//
// Slot numbers count from 0 (0-2 are IUnknown). The numbered slots are fixed by the host; every
// slot the module does not use is still declared ("Reserved" methods) so that the later slots sit
// at their positions. Where the host's text leaves a signature open, the choice made here is
// marked "chosen".
//
// Destructor slots: the host's interfaces list their destructor as a slot. It is declared here as
// an ordinary method laid out as a scalar deleting destructor, DeletingDestructor(flags): bit 0 set
// means "free the object"; it returns the object's address. Implementations keep their own C++
// destructor out of the interface, so the slot layout is the same for every compiler. Only the
// owner of the last reference may call it.
//
// Results: every HRESULT is [[nodiscard]]. A caller that has nothing to do with a failure says so
// with a cast to void and the reason beside it.
//
// Null out-pointers: each interface names the status an operation returns when a required
// out-pointer is null, as `nullOut` (a derived interface inherits it); nothing is written then.
// QueryInterface of an object follows its first interface. E_INVALIDARG everywhere except
// IRegistrarBase and IObjectStream, whose host implementations answer E_POINTER, as ITarnString
// does. Out-pointers that a slot's comment calls optional may be null and are then skipped: the
// outputs of IChannelCalc::GetOutputInfo and ICalcEnum::GetOutput, IChannelCalc::GetSettings (S_OK
// with nothing done), and the not-implemented slots, which answer E_NOTIMPL either way.

#include <unknwn.h>
#include <windows.h>

#include <cstdint>

#include "hostapi/ITarnString.h"

namespace Host {

// Identifiers in one place; every interface also names its own as `I::iid`.
#define MPCAL_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)                                \
  inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}

// Host classes reached with CoGetClassObject (context 23).
MPCAL_GUID(CLSID_HostApplication, 0x818DA440, 0x8037, 0x11D3, 0x80, 0xBC, 0x00, 0x50, 0x04, 0xAD,
           0x3C, 0x53);
MPCAL_GUID(CLSID_UnitListService, 0x09C5C1C7, 0x6AEE, 0x4EF7, 0xAD, 0x48, 0x53, 0x01, 0xE8, 0xBC,
           0x37, 0x75);

// Class identifiers whose registry codes the module looks up.
MPCAL_GUID(CLSID_UnitService, 0xC783D4E3, 0x486B, 0x4B18, 0xAE, 0xE6, 0x6F, 0x6C, 0xBE, 0xD5, 0x16,
           0xD5);
MPCAL_GUID(CLSID_HostChannelCalc, 0xC203FC30, 0x7AAA, 0x11D3, 0x80, 0xB9, 0x00, 0x50, 0x04, 0xAD,
           0x3C, 0x53);
MPCAL_GUID(CLSID_MPCalibration, 0xCBECD358, 0x009A, 0x4663, 0x8F, 0x02, 0x4C, 0xF1, 0xEF, 0x89,
           0xFE, 0xFD);
MPCAL_GUID(CLSID_MPCalibrationEnum, 0xDCB4C05B, 0xDBEB, 0x47C1, 0x9C, 0x1B, 0xD3, 0x16, 0xE6, 0x83,
           0x06, 0x4F);

// Kinds of class object.
MPCAL_GUID(KIND_CalculationClass, 0x5388E470, 0xF2ED, 0x11D2, 0x80, 0x9C, 0x00, 0xA0, 0xC9, 0xE2,
           0x64, 0x33);
MPCAL_GUID(KIND_SettingsClass, 0xE058F3B0, 0xDCE3, 0x11D3, 0x80, 0xE8, 0x00, 0xA0, 0xC9, 0xE2, 0x64,
           0x33);
MPCAL_GUID(KIND_EnumeratorClass, 0x8FC37F03, 0x9357, 0x11D4, 0x81, 0x12, 0x00, 0xA0, 0xC9, 0xE2,
           0x64, 0x33);

// Interface identifiers.
MPCAL_GUID(IID_IRegistrarBase, 0x3CAD4551, 0x2F23, 0x11D1, 0x8C, 0xE9, 0x00, 0xC0, 0xD1, 0x57, 0x0D,
           0x74);
MPCAL_GUID(IID_IClassCodeRegistry, 0xE5140871, 0x1524, 0x11D1, 0x8C, 0xCE, 0x00, 0xC0, 0xD1, 0x57,
           0x0D, 0x74);
MPCAL_GUID(IID_IMessageDispatcher, 0x3AEB28D1, 0xCF32, 0x11D1, 0xB2, 0xEC, 0x00, 0x60, 0x08, 0x94,
           0xD7, 0x2A);
MPCAL_GUID(IID_IMessageFactory, 0x3AEB28D2, 0xCF32, 0x11D1, 0xB2, 0xEC, 0x00, 0x60, 0x08, 0x94,
           0xD7, 0x2A);
MPCAL_GUID(IID_IUnitService, 0x8CB4ED60, 0x84EB, 0x11D2, 0x82, 0x08, 0x00, 0xC0, 0xDF, 0xE1, 0x33,
           0x62);
MPCAL_GUID(IID_IUnitListService, 0xF77FA56B, 0xF72F, 0x42F8, 0xAF, 0x63, 0xE5, 0xD8, 0x36, 0x82,
           0xFE, 0x5C);
// chosen: the identifier of the unit list (the collection the unit-list service hands out).
MPCAL_GUID(IID_IUnitCollection, 0x6D1E2C40, 0x8A31, 0x4B7F, 0x9C, 0x55, 0x21, 0x3E, 0x7A, 0x90,
           0x11, 0x4D);
MPCAL_GUID(IID_IUnitName, 0xA1823AB0, 0x984C, 0x48A9, 0x92, 0x81, 0xAF, 0x4A, 0xC5, 0xF4, 0x07,
           0x5F);
MPCAL_GUID(IID_IPersistObject, 0x7B3091F0, 0x7395, 0x11D2, 0x81, 0xF7, 0x00, 0xC0, 0xDF, 0xE1, 0x33,
           0x62);
// Announcing a defined or deleted unit: the host class whose code (x 65536 + 17) makes the
// announcement object, the message family whose code (x 65536 + 9 or 10) it carries, and the
// announcement's three faces.
MPCAL_GUID(CLSID_UnitAnnouncement, 0x4B0E4BC0, 0x0DBD, 0x11D3, 0xB8, 0x70, 0x00, 0x80, 0x48, 0xC3,
           0x6F, 0xE8);
MPCAL_GUID(CLSID_UnitMessageFamily, 0x87D10240, 0x0F0D, 0x11D3, 0xB8, 0x71, 0x00, 0x80, 0x48, 0xC3,
           0x6F, 0xE8);
MPCAL_GUID(IID_IUnitAnnouncement, 0x91A29B31, 0x72DD, 0x410E, 0x97, 0x9D, 0xC0, 0x22, 0x7B, 0xE7,
           0x2C, 0x0F);
MPCAL_GUID(IID_IHostMessageCode, 0xDDEB6100, 0xB63A, 0x11D2, 0xB8, 0x01, 0x00, 0x80, 0x48, 0xC3,
           0x6F, 0xE8);
MPCAL_GUID(IID_IHostMessageItem, 0xD0C7F633, 0x2902, 0x11CF, 0x8E, 0x78, 0x00, 0xC0, 0xDF, 0x48,
           0xDF, 0x77);
// chosen: the identifier of the object the units control announces to.
MPCAL_GUID(IID_IUnitNotifyTarget, 0x3E5B7A62, 0x1C4D, 0x4A8E, 0xB2, 0x19, 0x7D, 0x60, 0xF4, 0x8C,
           0x25, 0x9A);
// chosen: the host's object stream identifier is not fixed by the module's side of the contract.
MPCAL_GUID(IID_IObjectStream, 0x5B7C2A11, 0x3E4D, 0x4F60, 0x8A, 0x1B, 0x6C, 0x2D, 0x9E, 0x03, 0x44,
           0x71);
MPCAL_GUID(IID_IEnumExBase, 0xF28FCF13, 0x679E, 0x444F, 0xA6, 0xD2, 0xF9, 0xBB, 0x28, 0x27, 0xB9,
           0xF5);
MPCAL_GUID(IID_IEnumFloatEx, 0x4236EDC0, 0x23A0, 0x11D3, 0x80, 0xCA, 0x00, 0xA0, 0xC9, 0xE2, 0x64,
           0x33);
MPCAL_GUID(IID_ICalcEnum, 0x532954A4, 0x1807, 0x428B, 0x8A, 0x2B, 0x8B, 0xB7, 0x28, 0x2E, 0x74,
           0xA6);
MPCAL_GUID(IID_ITarnSetCalcVariables, 0x0A191CD4, 0xBA1C, 0x4655, 0x9E, 0xDA, 0x29, 0x73, 0x20,
           0xE0, 0x61, 0xCA);
MPCAL_GUID(IID_IChannelCalc, 0x8FC37F01, 0x9357, 0x11D4, 0x81, 0x12, 0x00, 0xA0, 0xC9, 0xE2, 0x64,
           0x33);
// The host's channel-calculation object: the face the extension returns from CreateCalculation,
// the face it keeps as hostCalc, and the face handed to the data source after an apply.
MPCAL_GUID(IID_IHostCalcResult, 0xCA800C31, 0xF889, 0x11D3, 0x80, 0xEE, 0x00, 0xA0, 0xC9, 0xE2,
           0x64, 0x33);
MPCAL_GUID(IID_IHostChannelCalc, 0x4021A447, 0x7899, 0x11D4, 0x81, 0x10, 0x00, 0xA0, 0xC9, 0xE2,
           0x64, 0x33);
MPCAL_GUID(IID_IHostCalcNotify, 0x4021A446, 0x7899, 0x11D4, 0x81, 0x10, 0x00, 0xA0, 0xC9, 0xE2,
           0x64, 0x33);
MPCAL_GUID(IID_IChannelInfoEx, 0xAD6CD303, 0x7868, 0x4A12, 0xB4, 0xAE, 0x97, 0xC0, 0x2E, 0xE8, 0xF5,
           0xE3);
// chosen: the identifiers of the data source and of the channel information object.
MPCAL_GUID(IID_IHostDataSource, 0x2F6A9D52, 0x7C1B, 0x4E83, 0x9D, 0x04, 0x5A, 0x61, 0xB2, 0x7E,
           0x38, 0xC9);
MPCAL_GUID(IID_IChannelInfo, 0x7E3B15A0, 0x4C2D, 0x4A9E, 0x8F, 0x61, 0x0D, 0x93, 0x2B, 0x47, 0xE5,
           0x16);
// Class objects.
MPCAL_GUID(IID_IVelaClassObject, 0x2EC7CEA3, 0x1D34, 0x11D2, 0xB3, 0x33, 0x00, 0x80, 0x48, 0xC3,
           0x6F, 0xE8);
MPCAL_GUID(IID_ICalculationClass, 0xCA800C32, 0xF889, 0x11D3, 0x80, 0xEE, 0x00, 0xA0, 0xC9, 0xE2,
           0x64, 0x33);
MPCAL_GUID(IID_IPersistClassObject, 0x3AAE4790, 0x6DF9, 0x11D2, 0x81, 0xEF, 0x00, 0xC0, 0xDF, 0xE1,
           0x33, 0x62);
MPCAL_GUID(IID_IGenericClassObject, 0x5FCB46F0, 0x0B1D, 0x11D2, 0xB3, 0x25, 0x00, 0x80, 0x48, 0xC3,
           0x6F, 0xE8);
MPCAL_GUID(IID_ICalcEnumClass2, 0x48436189, 0x60B9, 0x47D1, 0xA1, 0x59, 0x6B, 0xF8, 0xB4, 0x3E,
           0x29, 0x4F);
// The document's face that receives the display-range message after the settings dialog.
MPCAL_GUID(IID_IDocumentTarget, 0x35D41FE2, 0xB563, 0x11D2, 0xB8, 0x01, 0x00, 0x80, 0x48, 0xC3,
           0x6F, 0xE8);
// The host's document, its selection and the channel data behind them, as the settings dialog
// reads them. chosen: every identifier here but the help service's.
MPCAL_GUID(IID_IHostDocument, 0xCB79157B, 0xE2FA, 0x4FCC, 0xB7, 0x5C, 0x35, 0xC2, 0xA9, 0x1A, 0x85,
           0x4A);
MPCAL_GUID(IID_IHostSelection, 0x60216C66, 0xBF1D, 0x41D2, 0x98, 0x11, 0xE6, 0x28, 0xD3, 0x83, 0x38,
           0xFA);
MPCAL_GUID(IID_IChannelDataSource, 0x8BB11988, 0xE0C3, 0x450E, 0xA8, 0x06, 0x59, 0xCF, 0x02, 0x9F,
           0xD3, 0xBF);
MPCAL_GUID(IID_IChannelSettings, 0x2725DCBC, 0xE13D, 0x4339, 0x84, 0x98, 0x3D, 0x13, 0x4E, 0xEF,
           0x34, 0xF1);
MPCAL_GUID(IID_IChannelInformation, 0x8854597C, 0x8B8C, 0x43C9, 0x87, 0x73, 0x51, 0x69, 0xCA, 0xE2,
           0xAE, 0x41);
MPCAL_GUID(IID_IBlockTiming, 0xCA7C5895, 0xD2F1, 0x4CC9, 0x82, 0x94, 0x86, 0x86, 0xCE, 0x35, 0x9A,
           0x05);
// The application service's help face (host class CLSID_UnitListService).
MPCAL_GUID(IID_IHelpService, 0x70380571, 0x34EA, 0x11D3, 0x80, 0x99, 0x00, 0x50, 0x04, 0xAD, 0x3C,
           0x53);
// Printing: the host document's print service (reached by QueryInterface on the document), its
// print manager and print job, and the two faces of a printout the host prints. chosen: every
// identifier here but the print service's.
MPCAL_GUID(IID_IVelaPrintService, 0xCD8A64F4, 0x48D2, 0x11D1, 0x8D, 0x03, 0x00, 0xC0, 0xD1, 0x57,
           0x0D, 0x74);
MPCAL_GUID(IID_IVelaPrintManager, 0xEA5BBE14, 0x07A0, 0x4508, 0x90, 0x97, 0x2F, 0xA5, 0x2B, 0xE9,
           0x8E, 0x1B);
MPCAL_GUID(IID_IVelaPrintJob, 0xB79FEBA4, 0x6B47, 0x4DDA, 0x9B, 0x5B, 0xE2, 0xB8, 0xB4, 0xF1, 0xF1,
           0xA9);
MPCAL_GUID(IID_IVelaPrintout, 0xF1C14DF6, 0xC529, 0x465C, 0xBB, 0xA3, 0xF9, 0x05, 0xA3, 0xC2, 0x3A,
           0x3F);
MPCAL_GUID(IID_IVelaPrintoutType, 0x090A2012, 0x89F4, 0x42A1, 0xB5, 0xE0, 0xFD, 0x8E, 0x7E, 0x43,
           0xD5, 0xE8);
// Scales of the host's controls library: the drag-scale factory is reached through the registrar
// (slot 5) with the class code of {C203FC30-...} and its own low word. chosen: the identifiers of
// the factory, the drag scale, its observer and the axis scale it maps with.
MPCAL_GUID(IID_IDragScaleFactory, 0x6A0C51E4, 0x2B7D, 0x4C19, 0x8E, 0x33, 0x41, 0xD5, 0x0F, 0x92,
           0xA7, 0x6B);
MPCAL_GUID(IID_IDragScale, 0x0E5D9B27, 0x61C8, 0x4F3A, 0xA4, 0x92, 0x7B, 0x13, 0xC6, 0x58, 0xE0,
           0x21);
MPCAL_GUID(IID_IDragScaleObserver, 0xB84F2A16, 0x3D95, 0x47E0, 0x9C, 0x6A, 0x25, 0x8E, 0x01, 0xD7,
           0x4B, 0x3F);
MPCAL_GUID(IID_IAxisScale, 0x5C2E8D41, 0x97AB, 0x4E06, 0xB1, 0x7F, 0x3A, 0x64, 0xC9, 0x12, 0x85,
           0xDE);
MPCAL_GUID(IID_IAxisScaleDefault, 0x9F13C6B8, 0x4E20, 0x4A5D, 0x83, 0xE1, 0x6D, 0xB0, 0x57, 0x2A,
           0x19, 0xC4);
MPCAL_GUID(IID_IAxisScaleGrid, 0x3F7A21C5, 0x8D46, 0x4B9E, 0xA2, 0x0C, 0x51, 0xE8, 0x9B, 0x36, 0x7D,
           0x14);
MPCAL_GUID(IID_IAxisScaleLimits, 0xC16E94B2, 0x57D3, 0x4A81, 0x9E, 0x25, 0x0B, 0x7C, 0x43, 0xF1,
           0xA8, 0x6D);

// The host's record data and its observers, the 64-bit sample enumerator and the online data
// sink, as the module's tables offer them to host-style readers. chosen: every identifier here.
MPCAL_GUID(IID_IEnumFloatPix, 0x7A4C2E91, 0x5B30, 0x4D6F, 0x8E, 0x17, 0xC2, 0x9B, 0x40, 0x6D, 0xF3,
           0x58);
MPCAL_GUID(IID_IRecordData, 0x1D8E6B25, 0xA947, 0x4C03, 0xB6, 0x5E, 0x82, 0x1F, 0xD7, 0x39, 0x0A,
           0xC4);
MPCAL_GUID(IID_IRecordDataObserver, 0xE3B5097A, 0x26D1, 0x4F8C, 0x91, 0xA4, 0x5D, 0x70, 0x3C, 0xE8,
           0x12, 0xB6);
MPCAL_GUID(IID_IRecordDataObservers, 0x4F91C3D8, 0x7E52, 0x41A0, 0xA3, 0x6B, 0x09, 0xD4, 0x85, 0x2E,
           0x7C, 0x11);
MPCAL_GUID(IID_IKymoDataObserver, 0x92D04E6C, 0x3A18, 0x4B75, 0x8C, 0x2F, 0xE6, 0x51, 0x0B, 0x97,
           0xA3, 0x4D);
MPCAL_GUID(IID_IKymoDataObservers, 0x6B27F5A3, 0xC8E4, 0x4D19, 0x9F, 0x70, 0x3E, 0xA2, 0x16, 0x5B,
           0xD8, 0x07);
MPCAL_GUID(IID_IOnlineDataSink, 0xB05A8D1F, 0x64C7, 0x4E2B, 0x87, 0xD3, 0x2A, 0x9E, 0x71, 0xC0,
           0x45, 0xF8);

#undef MPCAL_GUID

// CoGetClassObject context the module uses for every host service.
inline constexpr DWORD kServiceContext = 23;

// Registrar class code of the message factory, and the low words of class codes.
inline constexpr std::int32_t kMessageFactoryClassCode = static_cast<std::int32_t>(0x80000007u);
inline constexpr std::int32_t kUnitServiceLowWord = 0;
inline constexpr std::int32_t kHostChannelCalcLowWord = 17;
// chosen: the low word of the drag-scale factory's class code (high word: the registry code of
// CLSID_HostChannelCalc, the controls library's class identifier).
inline constexpr std::int32_t kDragScaleFactoryLowWord = 48;

struct IObjectStream;
struct IPersistObject;
struct IUnitName;
struct IEnumFloatEx;
struct ICalcEnum;

// Two 64-bit integers and a double; the enumerator's own value is {1, 1, 0.0}.
struct RateInfo {
  std::int64_t numerator;
  std::int64_t denominator;
  double offset;
};

// The display scaling handed to the host's calculation: {1 / scale, -(offset x scale)}.
struct OutputScaling {
  double factor;
  double offset;
};

// The source description of an apply: source channel, its flags, and 0x80000000.
struct SourceSpec {
  std::int32_t channel;
  std::uint32_t flags;
  std::uint32_t reserved;
};

// The field block the extension hands to the data source when it asks for an output unit:
// scale, offset, top, bottom, decimals, prefix index, unit flag, laid out in that order at their
// natural alignment (offsets 0, 8, 16, 20, 24, 28, 32).
struct OutputFieldBlock {
  double scale;
  double offset;
  float top;
  float bottom;
  std::int32_t decimals;
  std::int32_t prefixIndex;
  std::int16_t unitFlag;
};

// ---------------------------------------------------------------------------------------------
// Host services

// Registrar: slot 3 create aggregated, 5 get class object, 6 register a module class object.
struct IRegistrarBase : IUnknown {
  static constexpr const GUID& iid = IID_IRegistrarBase;
  static constexpr HRESULT nullOut = E_POINTER;
  // 3: creates the object of `classCode` aggregated under `outer` (may be null) and asks it for
  // `iid`.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateAggregated(IUnknown* outer,
                                                                   std::int32_t classCode,
                                                                   REFIID riid, void** out) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  // 5: the class object registered under `classCode`, asked for `iid`.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetClassObject(std::int32_t classCode,
                                                                 REFIID riid, void** out) = 0;
  // 6: registers a module class object (its IVelaClassObject face). The registrar keeps a
  // reference.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE RegisterClassObject(IUnknown* classObject) = 0;
};

// Class-code registry: slot 3, class identifier -> stable 16-bit code (chosen: written to an
// int32).
struct IClassCodeRegistry : IUnknown {
  static constexpr const GUID& iid = IID_IClassCodeRegistry;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetClassCode(REFGUID clsid,
                                                               std::int32_t* code) = 0;
};

// Message dispatcher: slot 3 delivers a message to a target.
struct IMessageDispatcher : IUnknown {
  static constexpr const GUID& iid = IID_IMessageDispatcher;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Deliver(IUnknown* target, IUnknown* message) = 0;
};

// Message factory: slot 9 makes a message from id, flags and payload (chosen: payload as bytes).
struct IMessageFactory : IUnknown {
  static constexpr const GUID& iid = IID_IMessageFactory;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE MakeMessage(std::uint32_t id, std::uint32_t flags,
                                                              const void* payload,
                                                              std::uint32_t payloadBytes,
                                                              IUnknown** message) = 0;
};

// Unit service: slot 17 makes a unit object from prefix code, name and unit kind.
struct IUnitService : IUnknown {
  static constexpr const GUID& iid = IID_IUnitService;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved9() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved10() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved11() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved12() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved13() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved14() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved15() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved16() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE MakeUnit(std::int32_t prefixIndex,
                                                           ITarnString* name, std::int32_t unitKind,
                                                           IUnitName** unit) = 0;
};

// The host's unit list: the units the user picks from (each call takes 0 as its first argument).
struct IUnitCollection : IUnknown {
  static constexpr const GUID& iid = IID_IUnitCollection;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Count(std::int32_t zero, std::int32_t* count) = 0;
  // 4: chosen: an object over the units in order, which the caller queries for what it needs;
  // the reference host's answers IEnumUnknown, each item answering IUnitName.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Enumerate(std::int32_t zero,
                                                            IUnknown** enumerator) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Find(std::int32_t zero, IUnitName* unit,
                                                       std::int32_t* position) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetAt(std::int32_t zero, std::int32_t position,
                                                        IUnitName** unit) = 0;
  // 7: adds a unit (told of a new output unit); `position` may be null.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Add(std::int32_t zero, IUnitName* unit,
                                                      std::int32_t* position) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Remove(std::int32_t zero, IUnitName* unit) = 0;
};

// The announcement of a unit change (registrar slot 3, no outer object).
struct IUnitAnnouncement : IUnknown {
  static constexpr const GUID& iid = IID_IUnitAnnouncement;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: the unit (chosen: the name as a string the callee copies).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetUnit(ITarnString* name,
                                                          std::int32_t prefixIndex,
                                                          std::int32_t unitKind) = 0;
};

// The announcement's message face: 3 the message code, 4 the message flags.
struct IHostMessageCode : IUnknown {
  static constexpr const GUID& iid = IID_IHostMessageCode;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetCode(std::uint32_t code) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetFlags(std::uint32_t flags) = 0;
};

// The face of the announcement handed to the notify target; the module calls nothing on it.
struct IHostMessageItem : IUnknown {
  static constexpr const GUID& iid = IID_IHostMessageItem;
  static constexpr HRESULT nullOut = E_INVALIDARG;
};

// The host object told of defined and deleted units: slot 3 takes the announcement (borrowed).
struct IUnitNotifyTarget : IUnknown {
  static constexpr const GUID& iid = IID_IUnitNotifyTarget;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Notify(IHostMessageItem* message) = 0;
};

// Unit-list service: slot 3 gives its unit list.
struct IUnitListService : IUnknown {
  static constexpr const GUID& iid = IID_IUnitListService;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetUnitList(IUnitCollection** list) = 0;
};

// ---------------------------------------------------------------------------------------------
// Units and persistence

// A unit: prefix index, name, kind. Every null out-pointer gives E_INVALIDARG.
struct IUnitName : IUnknown {
  static constexpr const GUID& iid = IID_IUnitName;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetPrefixIndex(std::int32_t* index) = 0;
  // withPrefix: the prefix character of the index before the name.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetName(BOOL withPrefix, ITarnString** name) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetUnitKind(std::int32_t* kind) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetPrefixIndex(std::int32_t index) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetName(ITarnString* name) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetUnitKind(BOOL kind) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Clone(IUnitName** copy) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE FormatValue(std::int32_t flags, double value,
                                                              ITarnString** text) = 0;
};

// The host's object stream of typed items. GetStatus turns negative after any failed read or
// write and stays so.
struct IObjectStream : IUnknown {
  static constexpr const GUID& iid = IID_IObjectStream;
  static constexpr HRESULT nullOut = E_POINTER;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetStatus() = 0;                        // 3
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadByte(std::uint8_t* value) = 0;      // 4
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteByte(std::uint8_t value) = 0;      // 5
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadShort(std::int16_t* value) = 0;     // 6
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteShort(std::int16_t value) = 0;     // 7
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadInt(std::int32_t* value) = 0;       // 8
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteInt(std::int32_t value) = 0;       // 9
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadDouble(double* value) = 0;          // 10
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteDouble(double value) = 0;          // 11
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadFloat(float* value) = 0;            // 12
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteFloat(float value) = 0;            // 13
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadInt64(std::int64_t* value) = 0;     // 14
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteInt64(std::int64_t value) = 0;     // 15
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadGuid(GUID* value) = 0;              // 16
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteGuid(REFGUID value) = 0;           // 17
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadString(ITarnString** value) = 0;    // 18
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteString(ITarnString* value) = 0;    // 19
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadObject(IPersistObject** value) = 0; // 20
  // 21: an integer written with WriteInt, read back as a long (32 bits on this platform).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReadLong(std::int32_t* value) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE WriteObject(IPersistObject* value) = 0; // 22
};

// An object the host persists: Load/Save through an object stream; slot 5 gives the class (or
// type) code under which the host recreates it; slot 6 is the destructor slot.
struct IPersistObject : IUnknown {
  static constexpr const GUID& iid = IID_IPersistObject;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Load(IObjectStream* stream) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Save(IObjectStream* stream) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) = 0;
  virtual void* STDMETHODCALLTYPE DeletingDestructor(UINT flags) = 0; // 6
};

// ---------------------------------------------------------------------------------------------
// Sample enumerators

// Slots 3-7 of a sample enumerator, shared by the typed enumerators.
struct IEnumExBase : IUnknown {
  static constexpr const GUID& iid = IID_IEnumExBase;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Clone(IEnumFloatEx** copy) = 0; // 3
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SkipEx(std::int32_t count,
                                                         std::int32_t* skipped) = 0;       // 4
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetPosition(std::int32_t* position) = 0; // 5
  // 6: a 16-bit query the module only forwards (chosen: the host's "is online" flag).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetState16(std::int16_t* value) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetRate(RateInfo* rate) = 0; // 7
};

// A source of float samples. Next returns S_OK when `fetched` == `count`, else a status of its own
// (S_FALSE at the end).
struct IEnumFloatEx : IEnumExBase {
  static constexpr const GUID& iid = IID_IEnumFloatEx;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Next(std::uint32_t count, float* values,
                                                       std::uint32_t* fetched) = 0; // 8
};

// A calculated channel's enumerator.
struct ICalcEnum : IUnknown {
  static constexpr const GUID& iid = IID_ICalcEnum;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) = 0; // 3
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetClass(IUnknown** classObject) = 0; // 4
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetParameters(ITarnString* text,
                                                                std::int32_t* flags) = 0;       // 5
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetParameters(ITarnString** text) = 0;        // 6
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Clone(IUnknown* outer, ICalcEnum** copy) = 0; // 7
  // 8: the first argument is not used (chosen: a pointer-sized host value).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetSources(void* unused, std::int32_t count,
                                                             IUnknown** sources, IUnknown** extras,
                                                             void* context) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Seek(std::int32_t position) = 0; // 9
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ReleaseSource() = 0;             // 10
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE
  GetCapabilities(void* unused, std::int32_t flag,
                  std::int32_t* capabilities) = 0;                  // 11
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved12() = 0; // 12
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved13() = 0; // 13
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetOutput(void** context,
                                                            IUnknown** unit) = 0;           // 14
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetBufferHint(std::int32_t* samples) = 0; // 15
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetKindCode(std::int32_t* code) = 0;      // 16
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetRate(RateInfo* rate) = 0;              // 17
  virtual void* STDMETHODCALLTYPE DeletingDestructor(UINT flags) = 0;                       // 18
};

// Lets the host attach its calculation-variables object to an enumerator.
struct ITarnSetCalcVariables : IUnknown {
  static constexpr const GUID& iid = IID_ITarnSetCalcVariables;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetCalcVariables(IUnknown* variables) = 0;
};

// ---------------------------------------------------------------------------------------------
// The per-channel calculation

// The extension object's face.
struct IChannelCalc : IUnknown {
  static constexpr const GUID& iid = IID_IChannelCalc;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: `reserved` and `b` are host values the extension forwards (chosen: pointer-sized).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetOutputInfo(std::int32_t a, void* reserved,
                                                                IUnitName** unit, RateInfo* rate,
                                                                void* b, std::int32_t* extra) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE
  ApplySettings(IPersistObject* settings,
                std::int16_t recreateEnumerator) = 0;                                         // 4
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetSettings(IPersistObject* settings) = 0;  // 5
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetSettings(IPersistObject** settings) = 0; // 6
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetFlags(std::int32_t* flags) = 0;          // 7
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE NotImplemented8(void** out) = 0;            // 8
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE NotImplemented9(void** out) = 0;            // 9
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE NoOp10() = 0;                               // 10
  virtual void* STDMETHODCALLTYPE DeletingDestructor(UINT flags) = 0;                         // 11
};

// The host's channel-calculation object as the extension uses it (hostCalc).
struct IHostChannelCalc : IUnknown {
  static constexpr const GUID& iid = IID_IHostChannelCalc;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: (1, the source, the output scaling).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetSource(std::int32_t one,
                                                            const SourceSpec* source,
                                                            const OutputScaling* scaling) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  // 5: the parameter text of the applied settings.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetParameterText(ITarnString* text) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  // 7: (creator, channel, dataSource, enumerator).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetEnumerator(IUnknown* creator,
                                                                std::int32_t channel,
                                                                IUnknown* dataSource,
                                                                ICalcEnum* enumerator) = 0;
};

// Channel information as the data source hands it out (slot 12 of the data source).
struct IChannelInfoEx : IUnknown {
  static constexpr const GUID& iid = IID_IChannelInfoEx;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
  // 9: called by GetOutputInfo with (0, a, b).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE NoteOutputInfo(std::int32_t zero, std::int32_t a,
                                                                 void* b) = 0;
};

// The document's data source as the extension uses it.
struct IHostDataSource : IUnknown {
  static constexpr const GUID& iid = IID_IHostDataSource;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
  // 4: an output unit for the field block and the unit name.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetOutputUnit(OutputFieldBlock* fields,
                                                                ITarnString* unitName,
                                                                std::int32_t zero1,
                                                                std::int32_t zero2,
                                                                IUnitName** unit) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
  // 9: (channel, 0x40000000, the host calculation's IHostCalcNotify face) after an apply.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ChannelChanged(std::int32_t channel,
                                                                 std::uint32_t flags,
                                                                 IUnknown* calc) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved10() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved11() = 0;
  // 12: the channel information object (its only argument is the out-argument).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetChannelInfo(IUnknown** info) = 0;
};

// ---------------------------------------------------------------------------------------------
// The document, its selection and its channel data (the settings dialog's view of the host)

// Data kinds the host's channel data operations take.
inline constexpr std::uint32_t kDataKindDefault = 0;
// What a calculation on the channel receives: the samples through the host's units conversion
// when it is active, in the unit without its prefix, volts for a mV channel (chosen).
inline constexpr std::uint32_t kDataKindCalculated = 0x80005001u;
// The channel's samples as recorded.
inline constexpr std::uint32_t kDataKindRaw = 0x80006001u;
// The kind of the channel settings object of IChannelDataSource slot 17.
inline constexpr std::uint32_t kChannelSettingsKind = 0xC0001000u;
// An end offset that reads to the end of the block.
inline constexpr std::int32_t kToBlockEnd = 0x7FFFFFFF;
// The message the settings entry delivers to the document after OK, with DisplayRangePayload.
// chosen: the reference host's document keeps every message it receives, and the host shows the
// calculation it just edited for `channel` (the channel the entry was given) over the payload's
// top and bottom in the internal units of the output, which the calculation's output scaling maps
// onto values: ±32000 is the whole settings range.
inline constexpr std::uint32_t kDisplayRangeMessage = 0x800C004Au;

#pragma pack(push, 4)
// {817, channel, top, bottom}: two 32-bit integers followed by two doubles, 24 bytes.
struct DisplayRangePayload {
  std::int32_t code;
  std::int32_t channel;
  double top;
  double bottom;
};
#pragma pack(pop)
static_assert(sizeof(DisplayRangePayload) == 24);

struct IChannelInformation;
struct IChannelSettings;

// The user's selection in the document: start and end each as (sample offset, block index), the
// end inclusive. Every slot is chosen.
struct IHostSelection : IUnknown {
  static constexpr const GUID& iid = IID_IHostSelection;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: TRUE when a selection exists.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE HasSelection(BOOL* exists) = 0;
  // 4: the extent; S_FALSE with nothing written when there is no selection.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetExtent(std::int32_t* startPosition,
                                                            std::int32_t* startBlock,
                                                            std::int32_t* endPosition,
                                                            std::int32_t* endBlock) = 0;
  // 5: replaces the extent (a selection exists afterwards). An end position equal to its block's
  // length stands for the block's last sample. E_INVALIDARG for a block or offset outside the
  // recording or an end before the start.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetExtent(std::int32_t startPosition,
                                                            std::int32_t startBlock,
                                                            std::int32_t endPosition,
                                                            std::int32_t endBlock) = 0;
};

// Whether the host's own units conversion is active on a channel (IChannelDataSource slot 17).
// Every slot is chosen.
struct IChannelSettings : IUnknown {
  static constexpr const GUID& iid = IID_IChannelSettings;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE IsUnitsConversionActive(BOOL* active) = 0; // 3
  // 4: data value = raw value x factor + offset (1 and 0 when the conversion is not active).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetConversion(double* factor, double* offset) = 0;
};

// One channel's information, for the whole recording or one block. Every slot is chosen; the
// only kind answered is kDataKindRaw (E_INVALIDARG otherwise).
struct IChannelInformation : IUnknown {
  static constexpr const GUID& iid = IID_IChannelInformation;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: a raw value in data units (through the host's units conversion when it is active).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ConvertValue(std::uint32_t kind, double value,
                                                               double* converted) = 0;
  // 4: the unit of the data values (one reference).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetUnits(std::uint32_t kind,
                                                           IUnitName** unit) = 0;
};

// A block's timing (IChannelDataSource slot 13), which the dialog hands on to the enumerator
// class unchanged. chosen.
struct IBlockTiming : IUnknown {
  static constexpr const GUID& iid = IID_IBlockTiming;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: the time of the block's first sample and the sample interval, in seconds.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetTiming(double* start, double* interval) = 0;
};

// The document's channel data source (IHostDocument slot 54). A face of its own: slot 9 here is
// the block length, where IHostDataSource has ChannelChanged. Blocks and channels count from 0;
// a block or channel outside the recording gives E_INVALIDARG.
struct IChannelDataSource : IUnknown {
  static constexpr const GUID& iid = IID_IChannelDataSource;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
  // 9: the number of samples of a block.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetBlockLength(std::int32_t block,
                                                                 std::int32_t* length) = 0;
  // 10: (0, block, channel): whether the channel has samples in the block (chosen slot).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE HasData(std::uint32_t zero, std::int32_t block,
                                                          std::int32_t channel, BOOL* has) = 0;
  // 11: a reader over samples start..end (inclusive) of one block, end clamped to the block's
  // last sample (kToBlockEnd reads to it). chosen: the slot, and the block passed after the
  // channel. E_INVALIDARG for a start outside the block or an end before the start.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE OpenReader(std::uint32_t kind,
                                                             std::int32_t channel,
                                                             std::int32_t block, std::int32_t start,
                                                             std::int32_t end,
                                                             IEnumFloatEx** reader) = 0;
  // 12: (kDataKindRaw, block, channel): the channel's information for one block (chosen slot).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetBlockChannelInfo(
      std::uint32_t kind, std::int32_t block, std::int32_t channel, IChannelInformation** info) = 0;
  // 13: (kDataKindCalculated, block): the block's timing, an IBlockTiming (chosen slot).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetTimingInfo(std::uint32_t kind,
                                                                std::int32_t block,
                                                                IUnknown** timing) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved14() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved15() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved16() = 0;
  // 17: (kChannelSettingsKind, block, channel): the channel's settings object. The block may be
  // -2 (no selection): the channel's settings do not depend on the block.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE
  GetChannelSettings(std::uint32_t kind, std::int32_t block, std::int32_t channel,
                     IChannelSettings** settings) = 0;
};

// The host's document as the settings entry receives it. Slots 8 and 54 are fixed; the others
// are chosen.
struct IHostDocument : IUnknown {
  static constexpr const GUID& iid = IID_IHostDocument;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: the channel's trace colour (0x00BBGGRR); S_FALSE with `colour` unchanged when the host has
  // none for the channel.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetTraceColour(std::int32_t channel,
                                                                 COLORREF* colour) = 0;
  // 4: (0, channel, 2): the channel's display range in raw values; S_FALSE with both left
  // unchanged when the host has none.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetDisplayRange(std::int32_t zero,
                                                                  std::int32_t channel,
                                                                  std::int32_t two, double* top,
                                                                  double* bottom) = 0;
  // 5: (0, channel): the channel-level information.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetChannelInfo(std::int32_t zero,
                                                                 std::int32_t channel,
                                                                 IChannelInformation** info) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  // 8: the selection object.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetSelection(IHostSelection** selection) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved9() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved10() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved11() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved12() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved13() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved14() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved15() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved16() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved17() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved18() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved19() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved20() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved21() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved22() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved23() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved24() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved25() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved26() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved27() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved28() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved29() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved30() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved31() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved32() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved33() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved34() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved35() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved36() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved37() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved38() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved39() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved40() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved41() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved42() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved43() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved44() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved45() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved46() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved47() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved48() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved49() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved50() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved51() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved52() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved53() = 0;
  // 54: the channel data source for a data kind (the settings entry passes kDataKindDefault).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetDataSource(std::uint32_t kind,
                                                                IChannelDataSource** source) = 0;
};

// The document's face that receives host messages (IMessageDispatcher::Deliver hands them on).
struct IDocumentTarget : IUnknown {
  static constexpr const GUID& iid = IID_IDocumentTarget;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: one message (borrowed). chosen.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Receive(IUnknown* message) = 0;
};

// The application service's help (host class CLSID_UnitListService).
struct IHelpService : IUnknown {
  static constexpr const GUID& iid = IID_IHelpService;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: shows `topic` of the help book `book`. chosen: the slot and the string types.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ShowHelp(const wchar_t* topic,
                                                           const wchar_t* book) = 0;
};

// ---------------------------------------------------------------------------------------------
// Printing
//
// The module prints through the host: it asks the document for its print service, the service
// for its print manager, the manager for a print job, and hands the job a printout. The job asks
// the printout for its pages and has it draw each one into a device context the job owns. Every
// slot of the service, the manager and the job is chosen.

// A printout as the host prints it. The slot order is fixed.
struct IVelaPrintout : IUnknown {
  static constexpr const GUID& iid = IID_IVelaPrintout;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: the printout's flags.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetFlags(std::int32_t* flags) = 0;
  // 4: the title as a new BSTR (null when the title is empty); a BSTR already in `title` is
  // freed first.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetTitle(BSTR* title) = 0;
  // 5: the page rectangle and where pages are drawn: on `dc` alone, or, with `printer`, on `dc` as
  // a preview of what `printer` would print. The handles stay the caller's (chosen: borrowed
  // until the next call or the printout's release).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetDeviceContexts(const RECT* page, HDC dc,
                                                                    HDC printer) = 0;
  // 6: the number of pages.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetPageCount(std::int32_t* count) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE BeginPrinting() = 0; // 7: no effect
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE EndPrinting() = 0;   // 8: no effect
  // 9: whether `page` (from 0) lies at or beyond the last page count reported (chosen: -1 or 0).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE IsPastEnd(std::int32_t page,
                                                            std::int32_t* past) = 0;
  // 10: draws `page` into the context of the last slot-5 call and leaves it as it was.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE PrintPage(std::int32_t page) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE BeginDocument() = 0; // 11: no effect
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE EndDocument() = 0;   // 12: no effect
  // 13: a constant (chosen: S_OK).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Constant() = 0;
  // 14: the object the printout was made for (the print service), with a new reference.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetSite(IUnknown** site) = 0;
  // 15: the page painter behind slot 10.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE PaintPage(std::int32_t page) = 0;
  // 16: the page count behind slot 6.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CountPages(std::int32_t* count) = 0;
};

// The printout's page choice and options. The slot order is fixed.
struct IVelaPrintoutType : IUnknown {
  static constexpr const GUID& iid = IID_IVelaPrintoutType;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: the pages to print, replacing the earlier choice: bit p of `words[p / 32]` for page p
  // (chosen: 32-bit words; no words, an empty choice, prints every page).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetPageSet(const std::uint32_t* words,
                                                             std::int32_t wordCount) = 0;
  // 4: whether `page` is left out: never with an empty choice, else unless its bit is set
  // (chosen: -1 or 0).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE IsPageExcluded(std::int32_t page,
                                                                 std::int32_t* excluded) = 0;
  // 5: options = bits | (options with the bits of `mask` cleared).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetOptions(std::int32_t bits,
                                                             std::int32_t mask) = 0;
  // 6: the options.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetOptions(std::int32_t* options) = 0;
};

// One print run. chosen.
struct IVelaPrintJob : IUnknown {
  static constexpr const GUID& iid = IID_IVelaPrintJob;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: prints the printout's pages (borrowed). `mode` kPrintWithPreview shows the first page
  // and asks before printing; 0 prints at once. S_OK printed, S_FALSE cancelled by the user.
  //
  // The reference host prints on the default printer; when the environment variable
  // VELA_PRINT_FILE names a path it prints into that file instead (the printer driver's output,
  // PostScript with Wine's driver). Its preview is a modal window "Print Preview" with the
  // first page and the buttons Print (IDOK) and Cancel (IDCANCEL).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Print(IVelaPrintout* printout,
                                                        std::int32_t mode) = 0;
};

// chosen: the value of IVelaPrintJob::Print's mode that asks for a preview first.
inline constexpr std::int32_t kPrintWithPreview = 1;

// Makes print jobs. chosen.
struct IVelaPrintManager : IUnknown {
  static constexpr const GUID& iid = IID_IVelaPrintManager;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: a new print job.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateJob(IVelaPrintJob** job) = 0;
};

// The document's print service ({CD8A64F4-...}, by QueryInterface on the host document). chosen:
// its slots.
struct IVelaPrintService : IUnknown {
  static constexpr const GUID& iid = IID_IVelaPrintService;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: the print manager.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetPrintManager(IVelaPrintManager** manager) = 0;
};

// ---------------------------------------------------------------------------------------------
// Class objects

// Slots common to the module's class objects.
struct IVelaClassObject : IUnknown {
  static constexpr const GUID& iid = IID_IVelaClassObject;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) = 0; // 3
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetKind(const GUID** kind) = 0;       // 4
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetName(BSTR* name) = 0;              // 5
  // 6: S_OK when `kind` is this object's kind identifier (by address or value), else S_FALSE.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE IsKind(const GUID* kind) = 0;
};

// Calculation class.
struct ICalculationClass : IVelaClassObject {
  static constexpr const GUID& iid = IID_ICalculationClass;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetDisplayName(ITarnString** name) = 0; // 7
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE
  GetDescription(ITarnString** description) = 0;                                     // 8
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetFlags(std::int32_t* flags) = 0; // 9
  // 10: chosen: the unused host arguments are pointer-sized.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE EditSettings(HWND parent, void* unused1,
                                                               IUnknown* document, void* unused2,
                                                               std::int32_t channel,
                                                               IPersistObject* existing,
                                                               IPersistObject** out) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateCalculation(std::int32_t channel,
                                                                    IUnknown* dataSource,
                                                                    IUnknown** out) = 0; // 11
};

// Settings class.
struct IPersistClassObject : IVelaClassObject {
  static constexpr const GUID& iid = IID_IPersistClassObject;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateInstance(REFIID riid, void** out) = 0; // 7
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateAndLoad(IObjectStream* stream,
                                                                IPersistObject** out) = 0; // 8
};

// Enumerator class.
struct ICalcEnumClass2 : IVelaClassObject {
  static constexpr const GUID& iid = IID_ICalcEnumClass2;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetDisplayName(ITarnString** name) = 0; // 7
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE
  GetDescription(ITarnString** description) = 0;                                     // 8
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetFlags(std::int32_t* flags) = 0; // 9
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE NotImplemented10(void** out) = 0;  // 10
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateEnum(IUnknown* params,
                                                             ICalcEnum** out) = 0; // 11
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateEnumAggregated(IUnknown* outer,
                                                                       IUnknown* params,
                                                                       IUnknown** out) = 0; // 12
};

// ---------------------------------------------------------------------------------------------
// Scales (the host's controls library). Every slot below is chosen.

// One axis: the map between values and pixels, pixel = (value + offset) * factor, relative to
// the top (vertical) or left (horizontal) end of the axis. "High" is the top or right end.
struct IAxisScale : IUnknown {
  static constexpr const GUID& iid = IID_IAxisScale;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetRange(double* high, double* low) = 0; // 3
  // 4: refuses (a negative status, the range unchanged) a zero, reversed or non-finite span.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetRange(double high, double low) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetTransform(double* factor,
                                                               double* offset) = 0; // 5
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE PixelToValue(double pixel,
                                                               double* value) = 0; // 6
};

// An axis scale that remembers a default range (the first range it was given).
struct IAxisScaleDefault : IUnknown {
  static constexpr const GUID& iid = IID_IAxisScaleDefault;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: S_OK when a default range exists, S_FALSE when not.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE HasDefaultRange() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ResetToDefault() = 0; // 4
};

// chosen: where the grid goes, a choice of the scale (its tick positions). Optional: a graph over
// a scale without it draws no grid.
struct IAxisScaleGrid : IUnknown {
  static constexpr const GUID& iid = IID_IAxisScaleGrid;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: the first grid line and the spacing of the lines, in pixels from the axis' start end (as
  // the transform counts them); S_FALSE when the scale has no grid to offer.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetGrid(double* first, double* spacing) = 0;
};

// chosen: the extreme values a scale can show, which typed ranges are checked against. Optional:
// a scale without it cannot have typed ranges checked.
struct IAxisScaleLimits : IUnknown {
  static constexpr const GUID& iid = IID_IAxisScaleLimits;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetLimits(double* upper, double* lower) = 0; // 3
};

struct IDragScale;

// Told of a drag scale's changes, in this order of slots. `scale` is the scale that changed
// (borrowed); (factor, offset) is its transform after the change, as IAxisScale::GetTransform
// gives it. Observers answer S_OK, or S_FALSE when they did nothing.
struct IDragScaleObserver : IUnknown {
  static constexpr const GUID& iid = IID_IDragScaleObserver;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: the user pressed the button on the scale.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE DragStarted(IDragScale* scale) = 0;
  // 4: the range changes under a drag in progress (redraw at once).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Dragging(IDragScale* scale, double factor,
                                                           double offset) = 0;
  // 5: the range changed: a drag ended with a new range, or SetRange from code.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE RangeChanged(IDragScale* scale, double factor,
                                                               double offset) = 0;
  // 6: the user released the button.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE DragEnded(IDragScale* scale) = 0;
  // 7: the transform changed with the range kept (the scale was moved or resized).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE TransformChanged(IDragScale* scale, double factor,
                                                                   double offset) = 0;
  // 8: asks whether the observer lets the scale take `option`; the answer is a constant status.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE QueryOption(IDragScale* scale,
                                                              std::uint32_t option) = 0;
};

// A vertical or horizontal scale control: ticks at 1-2-5 steps with labels and the unit; the user
// drags its middle to pan and an end to stretch. The object also answers IOleWindow (its window),
// IAxisScale and IAxisScaleDefault (its map).
struct IDragScale : IUnknown {
  static constexpr const GUID& iid = IID_IDragScale;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetTitle(const wchar_t* title) = 0;    // 3
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetUnitLabel(const wchar_t* unit) = 0; // 4
  // 5: (top, bottom) for a vertical scale, (right, left) for a horizontal one; refused (negative
  // status, range kept) when the span is zero, reversed or not finite; the same range again is
  // answered S_FALSE and tells nobody.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetRange(double top, double bottom) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetRange(double* top, double* bottom) = 0; // 6
  // 7: the window's rectangle in its parent's client coordinates.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetPosition(const RECT* rect) = 0;
  // 8: the thickness the scale needs (width of a vertical scale, height of a horizontal one) for
  // its labels: measured on `dc` with its selected font when `dc` is given, else on the screen
  // with a font `fontHeight` pixels high (0: the scale's own font).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CalcSize(HDC dc, std::int32_t fontHeight,
                                                           std::int32_t* thickness) = 0;
  // 9: stored and told to the observers (QueryOption). chosen: a non-zero option shows the title
  // beside the unit ("Title (unit)"); with 0 the scale shows the unit alone.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetOption(std::uint32_t option) = 0;
  // 10, 11: observers are held with a reference until detached or the scale's window goes.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Attach(IDragScaleObserver* observer) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Detach(IDragScaleObserver* observer) = 0;
  // 12: the scale's map (one reference).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetAxisScale(IAxisScale** scale) = 0;
  // 13: draws the scale into `dc` inside `rect` (a printout or metafile), with the dc's font.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Draw(HDC dc, const RECT* rect) = 0;
};

// The controls library's factory of scales.
struct IDragScaleFactory : IUnknown {
  static constexpr const GUID& iid = IID_IDragScaleFactory;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: creates a scale window in `parent` at `rect`. The four creation values are (start end
  // offset, end end offset, minimum thickness, orientation): the offsets (usually negative) move
  // the ends of the value axis inward from the window's ends, and orientation is 0 for a
  // vertical, 1 for a horizontal scale. `parent` null: a scale without window, for drawing only.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE
  CreateScale(HWND parent, const RECT* rect, std::int32_t startOffset, std::int32_t endOffset,
              std::int32_t minimumThickness, std::int32_t orientation, IDragScale** scale) = 0;
};

// ---------------------------------------------------------------------------------------------
// Record data. Every slot below is chosen.

// A float sample enumerator with 64-bit positions, for readers that map rows to display pixels.
// Slots 3-8 as IEnumExBase and IEnumFloatEx with the positions widened; 9 goes back to the
// enumerator's first row.
struct IEnumFloatPix : IUnknown {
  static constexpr const GUID& iid = IID_IEnumFloatPix;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Clone(IEnumFloatPix** copy) = 0; // 3
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Skip(std::int64_t count,
                                                       std::int64_t* skipped) = 0;         // 4
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetPosition(std::int64_t* position) = 0; // 5
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetState16(std::int16_t* value) = 0;     // 6
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetRate(RateInfo* rate) = 0;             // 7
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Next(std::uint32_t count, float* values,
                                                       std::uint32_t* fetched) = 0; // 8
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reset() = 0;                      // 9
};

// The flags a reader passes for a channel's enumerator: all of its samples, as recorded.
inline constexpr std::uint32_t kRecordEnumFlags = 0xC0000000u;
// A start or end position that sets no limit.
inline constexpr std::int64_t kRecordNoLimit = 2147483647;

// Applied to one value as (value + offset) x factor.
struct RecordValueScaling {
  double factor;
  double offset;
};

// A recording as channels of float samples. Channels count from 0; a channel out of range gives
// E_INVALIDARG. A reader that finds a slot not implemented (E_NOTIMPL) does without it.
struct IRecordData : IUnknown {
  static constexpr const GUID& iid = IID_IRecordData;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetChannelCount(std::int32_t* count) = 0; // 3
  // 4: S_OK when the channel holds at least one value, S_FALSE when it holds none.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE HasData(std::int32_t channel) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetChannelTitle(std::int32_t channel,
                                                                  BSTR* title) = 0; // 5
  // 6: samples [start, end) with kRecordEnumFlags (other flags: E_INVALIDARG); a start outside
  // 0..2147483647 gives E_INVALIDARG.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateEnum(std::int32_t channel,
                                                             std::uint32_t flags,
                                                             std::int64_t start, std::int64_t end,
                                                             IEnumFloatEx** out) = 0;
  // 7: samples [start, end) with 64-bit positions; a negative start gives E_INVALIDARG.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreatePixEnum(std::int32_t channel,
                                                                std::int64_t start,
                                                                std::int64_t end,
                                                                IEnumFloatPix** out) = 0;
  // 8: one sample, scaled when `scaling` is not null; a row outside the channel: E_INVALIDARG.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetValue(std::int32_t channel, std::int64_t row,
                                                           const RecordValueScaling* scaling,
                                                           float* value) = 0;
  // 9: the display position of sample `row` at `pixelsPerRow`; E_INVALIDARG before the data.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE MapPosition(std::int64_t row, double pixelsPerRow,
                                                              double* position) = 0;
  // 10: the part of the recording a reader is meant to show (kRecordNoLimit for no limit).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetRange(std::int64_t* start,
                                                           std::int64_t* end) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetSampleInterval(double* seconds) = 0; // 11
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetChannelUnits(std::int32_t channel,
                                                                  IUnitName** units) = 0; // 12
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetBlockCount(std::int32_t* count) = 0; // 13
};

// Told when a recording's data was replaced as a whole.
struct IRecordDataObserver : IUnknown {
  static constexpr const GUID& iid = IID_IRecordDataObserver;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE DataReset() = 0; // 3
};

// Told by how many samples a growing recording's length changed (negative when it shrank).
struct IKymoDataObserver : IUnknown {
  static constexpr const GUID& iid = IID_IKymoDataObserver;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE LengthChanged(std::int64_t delta) = 0; // 3
};

// The record's observer lists. Each observer holds a reference until it is removed; removing one
// that was not added gives E_FAIL, adding null E_INVALIDARG.
struct IRecordDataObservers : IUnknown {
  static constexpr const GUID& iid = IID_IRecordDataObservers;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE AdviseRecord(IRecordDataObserver* o) = 0;   // 3
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE UnadviseRecord(IRecordDataObserver* o) = 0; // 4
};

struct IKymoDataObservers : IUnknown {
  static constexpr const GUID& iid = IID_IKymoDataObservers;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE AdviseLength(IKymoDataObserver* o) = 0;   // 3
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE UnadviseLength(IKymoDataObserver* o) = 0; // 4
};

// Where a producer of online data appends rows. Changes are told as the record's other changes
// are: at once, or merged while the producer has suspended and sent by its ResumeAndFlush.
struct IOnlineDataSink : IUnknown {
  static constexpr const GUID& iid = IID_IOnlineDataSink;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // 3: `rows` rows of `columns` values each, row after row; `columns` must be the channel count.
  // Each value goes to the end of its channel. While notifications are on, the rows are flushed
  // at once, so the length observers hear of them where the record tells its length.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE AppendRows(std::uint32_t rows,
                                                             std::uint32_t columns,
                                                             const float* values) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Suspend() = 0; // 4
  // 5: resumes; S_OK and what was merged is sent when that turns notifications on, else S_FALSE.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ResumeAndFlush() = 0;
};

// The module's export, called once by the host after loading.
using DllRegisterClassObjectsFn = HRESULT(STDAPICALLTYPE*)();

} // namespace Host

// __uuidof for the interfaces above (MinGW spelling), so ComPtr::QueryTo<I> works.
#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(Host::IRegistrarBase, 0x3CAD4551, 0x2F23, 0x11D1, 0x8C, 0xE9, 0x00, 0xC0, 0xD1,
                0x57, 0x0D, 0x74)
__CRT_UUID_DECL(Host::IClassCodeRegistry, 0xE5140871, 0x1524, 0x11D1, 0x8C, 0xCE, 0x00, 0xC0, 0xD1,
                0x57, 0x0D, 0x74)
__CRT_UUID_DECL(Host::IMessageDispatcher, 0x3AEB28D1, 0xCF32, 0x11D1, 0xB2, 0xEC, 0x00, 0x60, 0x08,
                0x94, 0xD7, 0x2A)
__CRT_UUID_DECL(Host::IMessageFactory, 0x3AEB28D2, 0xCF32, 0x11D1, 0xB2, 0xEC, 0x00, 0x60, 0x08,
                0x94, 0xD7, 0x2A)
__CRT_UUID_DECL(Host::IUnitService, 0x8CB4ED60, 0x84EB, 0x11D2, 0x82, 0x08, 0x00, 0xC0, 0xDF, 0xE1,
                0x33, 0x62)
__CRT_UUID_DECL(Host::IUnitCollection, 0x6D1E2C40, 0x8A31, 0x4B7F, 0x9C, 0x55, 0x21, 0x3E, 0x7A,
                0x90, 0x11, 0x4D)
__CRT_UUID_DECL(Host::IUnitListService, 0xF77FA56B, 0xF72F, 0x42F8, 0xAF, 0x63, 0xE5, 0xD8, 0x36,
                0x82, 0xFE, 0x5C)
__CRT_UUID_DECL(Host::IUnitAnnouncement, 0x91A29B31, 0x72DD, 0x410E, 0x97, 0x9D, 0xC0, 0x22, 0x7B,
                0xE7, 0x2C, 0x0F)
__CRT_UUID_DECL(Host::IHostMessageCode, 0xDDEB6100, 0xB63A, 0x11D2, 0xB8, 0x01, 0x00, 0x80, 0x48,
                0xC3, 0x6F, 0xE8)
__CRT_UUID_DECL(Host::IHostMessageItem, 0xD0C7F633, 0x2902, 0x11CF, 0x8E, 0x78, 0x00, 0xC0, 0xDF,
                0x48, 0xDF, 0x77)
__CRT_UUID_DECL(Host::IUnitNotifyTarget, 0x3E5B7A62, 0x1C4D, 0x4A8E, 0xB2, 0x19, 0x7D, 0x60, 0xF4,
                0x8C, 0x25, 0x9A)
__CRT_UUID_DECL(Host::IUnitName, 0xA1823AB0, 0x984C, 0x48A9, 0x92, 0x81, 0xAF, 0x4A, 0xC5, 0xF4,
                0x07, 0x5F)
__CRT_UUID_DECL(Host::IObjectStream, 0x5B7C2A11, 0x3E4D, 0x4F60, 0x8A, 0x1B, 0x6C, 0x2D, 0x9E, 0x03,
                0x44, 0x71)
__CRT_UUID_DECL(Host::IPersistObject, 0x7B3091F0, 0x7395, 0x11D2, 0x81, 0xF7, 0x00, 0xC0, 0xDF,
                0xE1, 0x33, 0x62)
__CRT_UUID_DECL(Host::IEnumExBase, 0xF28FCF13, 0x679E, 0x444F, 0xA6, 0xD2, 0xF9, 0xBB, 0x28, 0x27,
                0xB9, 0xF5)
__CRT_UUID_DECL(Host::IEnumFloatEx, 0x4236EDC0, 0x23A0, 0x11D3, 0x80, 0xCA, 0x00, 0xA0, 0xC9, 0xE2,
                0x64, 0x33)
__CRT_UUID_DECL(Host::ICalcEnum, 0x532954A4, 0x1807, 0x428B, 0x8A, 0x2B, 0x8B, 0xB7, 0x28, 0x2E,
                0x74, 0xA6)
__CRT_UUID_DECL(Host::ITarnSetCalcVariables, 0x0A191CD4, 0xBA1C, 0x4655, 0x9E, 0xDA, 0x29, 0x73,
                0x20, 0xE0, 0x61, 0xCA)
__CRT_UUID_DECL(Host::IChannelCalc, 0x8FC37F01, 0x9357, 0x11D4, 0x81, 0x12, 0x00, 0xA0, 0xC9, 0xE2,
                0x64, 0x33)
__CRT_UUID_DECL(Host::IHostChannelCalc, 0x4021A447, 0x7899, 0x11D4, 0x81, 0x10, 0x00, 0xA0, 0xC9,
                0xE2, 0x64, 0x33)
__CRT_UUID_DECL(Host::IChannelInfoEx, 0xAD6CD303, 0x7868, 0x4A12, 0xB4, 0xAE, 0x97, 0xC0, 0x2E,
                0xE8, 0xF5, 0xE3)
__CRT_UUID_DECL(Host::IHostDataSource, 0x2F6A9D52, 0x7C1B, 0x4E83, 0x9D, 0x04, 0x5A, 0x61, 0xB2,
                0x7E, 0x38, 0xC9)
__CRT_UUID_DECL(Host::IHostDocument, 0xCB79157B, 0xE2FA, 0x4FCC, 0xB7, 0x5C, 0x35, 0xC2, 0xA9, 0x1A,
                0x85, 0x4A)
__CRT_UUID_DECL(Host::IHostSelection, 0x60216C66, 0xBF1D, 0x41D2, 0x98, 0x11, 0xE6, 0x28, 0xD3,
                0x83, 0x38, 0xFA)
__CRT_UUID_DECL(Host::IChannelDataSource, 0x8BB11988, 0xE0C3, 0x450E, 0xA8, 0x06, 0x59, 0xCF, 0x02,
                0x9F, 0xD3, 0xBF)
__CRT_UUID_DECL(Host::IChannelSettings, 0x2725DCBC, 0xE13D, 0x4339, 0x84, 0x98, 0x3D, 0x13, 0x4E,
                0xEF, 0x34, 0xF1)
__CRT_UUID_DECL(Host::IChannelInformation, 0x8854597C, 0x8B8C, 0x43C9, 0x87, 0x73, 0x51, 0x69, 0xCA,
                0xE2, 0xAE, 0x41)
__CRT_UUID_DECL(Host::IBlockTiming, 0xCA7C5895, 0xD2F1, 0x4CC9, 0x82, 0x94, 0x86, 0x86, 0xCE, 0x35,
                0x9A, 0x05)
__CRT_UUID_DECL(Host::IHelpService, 0x70380571, 0x34EA, 0x11D3, 0x80, 0x99, 0x00, 0x50, 0x04, 0xAD,
                0x3C, 0x53)
__CRT_UUID_DECL(Host::IDocumentTarget, 0x35D41FE2, 0xB563, 0x11D2, 0xB8, 0x01, 0x00, 0x80, 0x48,
                0xC3, 0x6F, 0xE8)
__CRT_UUID_DECL(Host::IVelaClassObject, 0x2EC7CEA3, 0x1D34, 0x11D2, 0xB3, 0x33, 0x00, 0x80, 0x48,
                0xC3, 0x6F, 0xE8)
__CRT_UUID_DECL(Host::ICalculationClass, 0xCA800C32, 0xF889, 0x11D3, 0x80, 0xEE, 0x00, 0xA0, 0xC9,
                0xE2, 0x64, 0x33)
__CRT_UUID_DECL(Host::IPersistClassObject, 0x3AAE4790, 0x6DF9, 0x11D2, 0x81, 0xEF, 0x00, 0xC0, 0xDF,
                0xE1, 0x33, 0x62)
__CRT_UUID_DECL(Host::ICalcEnumClass2, 0x48436189, 0x60B9, 0x47D1, 0xA1, 0x59, 0x6B, 0xF8, 0xB4,
                0x3E, 0x29, 0x4F)
__CRT_UUID_DECL(Host::IDragScaleFactory, 0x6A0C51E4, 0x2B7D, 0x4C19, 0x8E, 0x33, 0x41, 0xD5, 0x0F,
                0x92, 0xA7, 0x6B)
__CRT_UUID_DECL(Host::IDragScale, 0x0E5D9B27, 0x61C8, 0x4F3A, 0xA4, 0x92, 0x7B, 0x13, 0xC6, 0x58,
                0xE0, 0x21)
__CRT_UUID_DECL(Host::IDragScaleObserver, 0xB84F2A16, 0x3D95, 0x47E0, 0x9C, 0x6A, 0x25, 0x8E, 0x01,
                0xD7, 0x4B, 0x3F)
__CRT_UUID_DECL(Host::IAxisScale, 0x5C2E8D41, 0x97AB, 0x4E06, 0xB1, 0x7F, 0x3A, 0x64, 0xC9, 0x12,
                0x85, 0xDE)
__CRT_UUID_DECL(Host::IAxisScaleDefault, 0x9F13C6B8, 0x4E20, 0x4A5D, 0x83, 0xE1, 0x6D, 0xB0, 0x57,
                0x2A, 0x19, 0xC4)
__CRT_UUID_DECL(Host::IAxisScaleGrid, 0x3F7A21C5, 0x8D46, 0x4B9E, 0xA2, 0x0C, 0x51, 0xE8, 0x9B,
                0x36, 0x7D, 0x14)
__CRT_UUID_DECL(Host::IAxisScaleLimits, 0xC16E94B2, 0x57D3, 0x4A81, 0x9E, 0x25, 0x0B, 0x7C, 0x43,
                0xF1, 0xA8, 0x6D)
__CRT_UUID_DECL(Host::IEnumFloatPix, 0x7A4C2E91, 0x5B30, 0x4D6F, 0x8E, 0x17, 0xC2, 0x9B, 0x40, 0x6D,
                0xF3, 0x58)
__CRT_UUID_DECL(Host::IRecordData, 0x1D8E6B25, 0xA947, 0x4C03, 0xB6, 0x5E, 0x82, 0x1F, 0xD7, 0x39,
                0x0A, 0xC4)
__CRT_UUID_DECL(Host::IRecordDataObserver, 0xE3B5097A, 0x26D1, 0x4F8C, 0x91, 0xA4, 0x5D, 0x70, 0x3C,
                0xE8, 0x12, 0xB6)
__CRT_UUID_DECL(Host::IRecordDataObservers, 0x4F91C3D8, 0x7E52, 0x41A0, 0xA3, 0x6B, 0x09, 0xD4,
                0x85, 0x2E, 0x7C, 0x11)
__CRT_UUID_DECL(Host::IKymoDataObserver, 0x92D04E6C, 0x3A18, 0x4B75, 0x8C, 0x2F, 0xE6, 0x51, 0x0B,
                0x97, 0xA3, 0x4D)
__CRT_UUID_DECL(Host::IKymoDataObservers, 0x6B27F5A3, 0xC8E4, 0x4D19, 0x9F, 0x70, 0x3E, 0xA2, 0x16,
                0x5B, 0xD8, 0x07)
__CRT_UUID_DECL(Host::IOnlineDataSink, 0xB05A8D1F, 0x64C7, 0x4E2B, 0x87, 0xD3, 0x2A, 0x9E, 0x71,
                0xC0, 0x45, 0xF8)
__CRT_UUID_DECL(Host::IVelaPrintService, 0xCD8A64F4, 0x48D2, 0x11D1, 0x8D, 0x03, 0x00, 0xC0, 0xD1,
                0x57, 0x0D, 0x74)
__CRT_UUID_DECL(Host::IVelaPrintManager, 0xEA5BBE14, 0x07A0, 0x4508, 0x90, 0x97, 0x2F, 0xA5, 0x2B,
                0xE9, 0x8E, 0x1B)
__CRT_UUID_DECL(Host::IVelaPrintJob, 0xB79FEBA4, 0x6B47, 0x4DDA, 0x9B, 0x5B, 0xE2, 0xB8, 0xB4, 0xF1,
                0xF1, 0xA9)
__CRT_UUID_DECL(Host::IVelaPrintout, 0xF1C14DF6, 0xC529, 0x465C, 0xBB, 0xA3, 0xF9, 0x05, 0xA3, 0xC2,
                0x3A, 0x3F)
__CRT_UUID_DECL(Host::IVelaPrintoutType, 0x090A2012, 0x89F4, 0x42A1, 0xB5, 0xE0, 0xFD, 0x8E, 0x7E,
                0x43, 0xD5, 0xE8)
#endif
