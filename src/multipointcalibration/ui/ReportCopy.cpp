#include "multipointcalibration/ui/ReportCopy.h"

#include <cstring>
#include <memory>
#include <string>

#include "foundation/win/UniqueHandle.h"
#include "multipointcalibration/ui/MPCalCopySelect.h"
#include "plotting/CalibrationReport.h"

namespace MPCalibration {
namespace {

struct GlobalFreer {
  void operator()(HGLOBAL memory) const noexcept { ::GlobalFree(memory); }
};

// Empties the clipboard and gives it `handle`; on success the clipboard owns it.
bool Place(HWND owner, UINT format, HANDLE handle) noexcept {
  Tarn::unique_clipboard clipboard = Tarn::unique_clipboard::Open(owner);
  if (!clipboard || !::EmptyClipboard())
    return false;
  return ::SetClipboardData(format, handle) != nullptr;
}

} // namespace

void CopyReport(HWND dialog, const ReportParts& parts, const GUILib::TabulatedTable& points,
                int decimalPlaces) noexcept {
  bool asText = false;
  MPCalCopySelect select(asText);
  (void)select.DoModal(dialog); // closing it any way still copies
  if (asText)
    (void)CopyReportText(dialog, points, decimalPlaces); // failures are not reported
  else
    (void)CopyReportImage(dialog, parts); // failures are not reported
}

bool CopyReportText(HWND owner, const GUILib::TabulatedTable& points, int decimalPlaces) noexcept {
  try {
    const std::wstring text = GUILib::ReportCopyText(points, decimalPlaces);
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    std::unique_ptr<void, GlobalFreer> memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
      return false;
    void* locked = ::GlobalLock(memory.get());
    if (!locked)
      return false;
    std::memcpy(locked, text.c_str(), bytes);
    ::GlobalUnlock(memory.get());
    if (!Place(owner, CF_UNICODETEXT, memory.get()))
      return false;
    (void)memory.release(); // the clipboard's now
    return true;
  } catch (...) {
    return false;
  }
}

bool CopyReportImage(HWND dialog, const ReportParts& parts) noexcept {
  try {
    RECT client{};
    ::GetClientRect(dialog, &client);
    Tarn::unique_henhmetafile picture;
    {
      Tarn::unique_window_dc reference = Tarn::unique_window_dc::Get(dialog);
      if (!reference.get())
        return false;
      const GUILib::Rect frame = GUILib::MetafileFrame(
          {client.right - client.left, client.bottom - client.top},
          ::GetDeviceCaps(reference.get(), HORZSIZE), ::GetDeviceCaps(reference.get(), VERTSIZE),
          ::GetDeviceCaps(reference.get(), HORZRES), ::GetDeviceCaps(reference.get(), VERTRES));
      const RECT frameRect{frame.left, frame.top, frame.right, frame.bottom};
      HDC recording = ::CreateEnhMetaFileW(reference.get(), nullptr, &frameRect, nullptr);
      if (!recording)
        return false;
      try {
        DrawReport(recording, client, parts);
      } catch (...) {
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(recording));
        throw;
      }
      picture.reset(::CloseEnhMetaFile(recording));
    }
    if (!picture || !Place(dialog, CF_ENHMETAFILE, picture.get()))
      return false;
    (void)picture.release(); // the clipboard's now
    return true;
  } catch (...) {
    return false;
  }
}

} // namespace MPCalibration
