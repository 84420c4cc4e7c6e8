// velahost: a small host program that loads the calibration module from its folder.
//   velahost demo OUT.doc        makes a recording, calibrates two channels, saves the document
//   velahost dump DOC [OUT.txt]  opens a document and prints every calibrated channel's samples
//   velahost fallback            loads the module without serving the host classes itself, so
//                                that the module registers the host library on its own
//   velahost open [FILE]         the windowed program, showing the recording FILE (.csv)
// The exit code is 0 on success; every run ends by checking that no module object is alive.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "HostApplication.h"
#include "HostSession.h"
#include "InProcessHost.h"
#include "MainWindow.h"
#include "ModuleHost.h"
#include "foundation/win/UniqueHandle.h"

namespace {

using Vela::Calibration;
using Vela::Document;

std::shared_ptr<const Document> DemoDocument() {
  auto doc = std::make_shared<Document>(std::vector<Document::Channel>{
      {L"Pressure", L"V"}, {L"Temperature", L"V"}, {L"Reference", L"V"}});
  doc->AddRecord(
      {Vela::Ramp(1000, -1.0f, 9.0f), Vela::Ramp(1000, 0.0f, 5.0f), Vela::Ramp(1000, 2.0f, 3.0f)});
  doc->AddRecord(
      {Vela::Ramp(700, 4.0f, -2.0f), Vela::Ramp(700, 1.0f, 2.0f), Vela::Ramp(700, 0.5f, 0.25f)});
  return doc;
}

std::vector<Calibration> DemoCalibrations() {
  Calibration pressure;
  pressure.fitType = 0;
  pressure.coefficients = {1.0, 2.0};
  pressure.rawValues = {0.0, 1.0};
  pressure.calibratedValues = {1.0, 3.0};
  pressure.unitName = L"mmHg";
  pressure.sourceChannel = 0;
  Calibration temperature;
  temperature.fitType = 1;
  temperature.coefficients = {0.5, 1.0, 0.25};
  temperature.rawValues = {0.0, 1.0, 2.0};
  temperature.calibratedValues = {0.5, 1.75, 3.5};
  temperature.unitName = L"degC";
  temperature.sourceChannel = 1;
  return {pressure, temperature};
}

int Report(const wchar_t* what, HRESULT hr) {
  std::fwprintf(stderr, L"velahost: %ls failed (0x%08lX)\n", what, static_cast<unsigned long>(hr));
  return 1;
}

int Dump(const Vela::HostSession& session, std::FILE* out) {
  const Document& doc = session.Doc();
  for (std::size_t c = 0; c < doc.ChannelCount(); ++c) {
    if (!session.HasCalculation(c))
      continue;
    for (std::size_t r = 0; r < doc.RecordCount(); ++r) {
      std::vector<float> samples;
      const HRESULT hr = session.Calibrated(c, r, samples);
      if (FAILED(hr))
        return Report(L"reading calibrated samples", hr);
      std::fwprintf(out, L"channel %zu record %zu samples %zu\n", c, r, samples.size());
      for (float v : samples)
        std::fwprintf(out, L"%.9g\n", static_cast<double>(v));
    }
  }
  return 0;
}

// The windowed program: its main window and the thread's message loop until it closes.
int RunWindow(Vela::ModuleHost& module, const wchar_t* path) {
  Vela::MainWindow window(module);
  if (!window.Create())
    return Report(L"creating the main window", HRESULT_FROM_WIN32(GetLastError()));
  window.EndLoopOnDestroy(true);
  ::ShowWindow(window.hwnd(), SW_SHOWDEFAULT);
  if (path)
    window.OpenFile(path);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.TranslateAccelerator(message))
      continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

int Run(Vela::ModuleHost& module, int argc, wchar_t** argv) {
  const std::wstring command = argv[1];
  if (command == L"open" && argc <= 3)
    return RunWindow(module, argc == 3 ? argv[2] : nullptr);
  Vela::HostSession session(module);
  if (command == L"demo" && argc == 3) {
    session.Open(DemoDocument());
    const auto calibrations = DemoCalibrations();
    for (std::size_t c = 0; c < calibrations.size(); ++c)
      if (const HRESULT hr = session.Calibrate(c, calibrations[c]); FAILED(hr))
        return Report(L"calibrating", hr);
    if (const HRESULT hr = session.Save(argv[2]); FAILED(hr))
      return Report(L"saving", hr);
    return 0;
  }
  if (command == L"dump" && (argc == 3 || argc == 4)) {
    if (const HRESULT hr = session.Load(argv[2]); FAILED(hr))
      return Report(L"opening the document", hr);
    Tarn::unique_file file(argc == 4 ? _wfopen(argv[3], L"w") : nullptr);
    std::FILE* out = argc == 4 ? file.get() : stdout;
    if (!out)
      return Report(L"opening the output", E_FAIL);
    return Dump(session, out);
  }
  if (command == L"fallback" && argc == 2) {
    // Calibrates a channel and reads it back through the services the module found itself.
    session.Open(DemoDocument());
    if (const HRESULT hr = session.Calibrate(0, DemoCalibrations()[0]); FAILED(hr))
      return Report(L"calibrating", hr);
    std::vector<float> samples;
    if (const HRESULT hr = session.Calibrated(0, 0, samples); FAILED(hr))
      return Report(L"reading calibrated samples", hr);
    const std::size_t expected = session.Doc().Samples(0, 0)->size();
    std::wprintf(L"fallback: %zu calibrated samples\n", samples.size());
    return samples.size() == expected ? 0 : 4;
  }
  std::fwprintf(stderr,
                L"usage: velahost demo OUT.doc | dump DOC [OUT.txt] | fallback | open [FILE]\n");
  return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr,
                  L"usage: velahost demo OUT.doc | dump DOC [OUT.txt] | fallback | open [FILE]\n");
    return 2;
  }
  const bool fallback = std::wstring(argv[1]) == L"fallback";
  // In fallback mode the process serves no host classes, so the module loads Vela.dll.
  std::unique_ptr<Vela::InProcessHost> host;
  if (!fallback) {
    host = std::make_unique<Vela::InProcessHost>();
    if (FAILED(host->Status()))
      return Report(L"starting the host", host->Status());
  }
  int result = 0;
  {
    Vela::ModuleHost module;
    if (const HRESULT hr = module.Load(); FAILED(hr))
      return Report(L"loading the module", hr);
    result = Run(module, argc, argv);
    if (!fallback)
      Vela::HostApplication::Instance().Clear();
    const std::int32_t live = module.LiveObjects();
    if (live > 0) {
      std::fwprintf(stderr, L"velahost: %d module objects still alive\n", live);
      result = result ? result : 3;
    }
  }
  return result;
}
