#include "HostPrintJob.h"

#include <winspool.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "foundation/XHResult.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/UniqueHandle.h"

namespace Vela {
namespace {

constexpr int kMargin = 7; // dialog units
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;
constexpr int kPictureId = 100;

std::wstring Environment(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0)
    return {};
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

std::wstring DefaultPrinter() {
  DWORD size = 0;
  ::GetDefaultPrinterW(nullptr, &size);
  if (size == 0)
    return {};
  std::wstring name(size, L'\0');
  if (!::GetDefaultPrinterW(name.data(), &size))
    return {};
  name.resize(std::wcslen(name.c_str()));
  return name;
}

// An in-memory dialog template: a picture and the Print and Cancel buttons, placed when the
// dialog starts.
class PreviewTemplate {
public:
  explicit PreviewTemplate(const std::wstring& caption) {
    Word(LOWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    Word(HIWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    Word(0), Word(0); // extended style
    Word(3);          // items
    Word(0), Word(0), Word(100), Word(100);
    Word(0), Word(0); // no menu, standard class
    Text(caption);
    Word(8);
    Text(L"MS Shell Dlg");
    Item(WS_CHILD | WS_VISIBLE | SS_BITMAP, kPictureId, 0x0082, L"");
    Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 0x0080, L"Print");
    Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 0x0080, L"Cancel");
  }
  const DLGTEMPLATE* get() const noexcept {
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
  }

private:
  void Word(std::uint16_t w) { words_.push_back(w); }
  void Text(const std::wstring& text) {
    for (wchar_t c : text)
      Word(static_cast<std::uint16_t>(c));
    Word(0);
  }
  void Item(DWORD style, std::uint16_t id, std::uint16_t atom, const wchar_t* text) {
    if (words_.size() % 2)
      Word(0); // items start on a DWORD
    Word(LOWORD(style)), Word(HIWORD(style));
    Word(0), Word(0);
    Word(0), Word(0), Word(10), Word(10);
    Word(id);
    Word(0xFFFF), Word(atom);
    Text(text);
    Word(0);
  }

  std::vector<std::uint16_t> words_;
};

// The preview's state lives in the dialog's DWLP_USER for its life.
struct Preview {
  HBITMAP page;
  SIZE size;
};

// Places the picture at the margin and the buttons under it at the right, and sizes the dialog
// around them.
void LayOutPreview(HWND dialog, const Preview& preview) {
  RECT units{kMargin, kButtonGap, kButtonWidth, kButtonHeight};
  ::MapDialogRect(dialog, &units);
  const int margin = units.left, gap = units.top, buttonWidth = units.right;
  const int buttonHeight = units.bottom;
  ::SetWindowPos(::GetDlgItem(dialog, kPictureId), nullptr, margin, margin, preview.size.cx,
                 preview.size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  const int buttonTop = margin + preview.size.cy + margin;
  const int right = margin + preview.size.cx;
  ::SetWindowPos(::GetDlgItem(dialog, IDCANCEL), nullptr, right - buttonWidth, buttonTop,
                 buttonWidth, buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(::GetDlgItem(dialog, IDOK), nullptr, right - 2 * buttonWidth - gap, buttonTop,
                 buttonWidth, buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frame{0, 0, right + margin, buttonTop + buttonHeight + margin};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  // Centred in the work area, where the whole of it shows.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  ::SetWindowPos(dialog, nullptr,
                 work.left + std::max<LONG>((work.right - work.left - width) / 2, 0),
                 work.top + std::max<LONG>((work.bottom - work.top - height) / 2, 0), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK PreviewProcedure(HWND dialog, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
  switch (message) {
  case WM_INITDIALOG: {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    const auto& preview = *reinterpret_cast<const Preview*>(lParam);
    ::SendDlgItemMessageW(dialog, kPictureId, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(preview.page));
    LayOutPreview(dialog, preview);
    return TRUE;
  }
  case WM_COMMAND:
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
      ::EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    }
    return FALSE;
  default:
    return FALSE;
  }
}

// The first page drawn as the printer would print it, at its printed size on the screen, onto a
// white bitmap as wide as the page and as high as the part the page rectangle takes.
Tarn::unique_hbitmap DrawPreview(Host::IVelaPrintout& printout, HDC printer, const RECT& page,
                                 SIZE& size) {
  const Tarn::unique_window_dc screen = Tarn::unique_window_dc::Get(nullptr);
  // The printed size on the screen, smaller where that would not leave room for the buttons.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int shownHeight = page.bottom + page.top;
  int numerator = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
  int denominator = std::max(::GetDeviceCaps(printer, LOGPIXELSX), 1);
  const int room = (work.bottom - work.top) * 3 / 4;
  if (::MulDiv(shownHeight, numerator, denominator) > room) {
    numerator = room;
    denominator = shownHeight;
  }
  size = {::MulDiv(::GetDeviceCaps(printer, HORZRES), numerator, denominator),
          ::MulDiv(shownHeight, numerator, denominator)};
  Tarn::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
  Tarn::unique_hdc memory(::CreateCompatibleDC(screen.get()));
  if (!bitmap || !memory)
    Tarn::ThrowIfFailed(E_OUTOFMEMORY);
  {
    const Tarn::unique_select_object selected(memory.get(), bitmap.get());
    const RECT all{0, 0, size.cx, size.cy};
    ::FillRect(memory.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    Tarn::ThrowIfFailed(printout.SetDeviceContexts(&page, memory.get(), printer));
    const HRESULT drawn = printout.PrintPage(0);
    (void)printout.SetDeviceContexts(&page, nullptr, nullptr); // lets go of the memory context
    Tarn::ThrowIfFailed(drawn);
  }
  return bitmap;
}

bool Excluded(Host::IVelaPrintout& printout, std::int32_t page) {
  Tarn::ComPtr<Host::IVelaPrintoutType> type;
  if (FAILED(printout.QueryInterface(Host::IVelaPrintoutType::iid, type.put_void())))
    return false;
  std::int32_t excluded = 0;
  return SUCCEEDED(type->IsPageExcluded(page, &excluded)) && excluded;
}

} // namespace

RECT HostPrintJob::PageRectangle(SIZE printable, SIZE dotsPerInch) noexcept {
  const int side = dotsPerInch.cx / 2;
  const int top = dotsPerInch.cy / 2;
  const int width = std::max<int>(printable.cx - 2 * side, 1);
  const int height = std::max(std::min<int>(width * 3 / 4, printable.cy - 2 * top), 1);
  return {side, top, side + width, top + height};
}

HRESULT HostPrintJob::Print(Host::IVelaPrintout* printout, std::int32_t mode) noexcept {
  if (!printout)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    const std::wstring name = DefaultPrinter();
    if (name.empty())
      return HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME);
    const Tarn::unique_hdc printer(::CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr));
    if (!printer)
      return HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME);
    const RECT page = PageRectangle(
        {::GetDeviceCaps(printer.get(), HORZRES), ::GetDeviceCaps(printer.get(), VERTRES)},
        {::GetDeviceCaps(printer.get(), LOGPIXELSX), ::GetDeviceCaps(printer.get(), LOGPIXELSY)});

    std::int32_t pages = 0;
    Tarn::ThrowIfFailed(printout->GetPageCount(&pages));
    Tarn::unique_bstr title;
    Tarn::ThrowIfFailed(printout->GetTitle(title.addressof()));
    const std::wstring documentName = title ? title.get() : L"";

    if (mode == Host::kPrintWithPreview) {
      Preview preview{};
      const Tarn::unique_hbitmap shown = DrawPreview(*printout, printer.get(), page, preview.size);
      preview.page = shown.get();
      const PreviewTemplate dialog(L"Print Preview - " + documentName);
      const INT_PTR answer =
          ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.get(), ::GetActiveWindow(),
                                    &PreviewProcedure, reinterpret_cast<LPARAM>(&preview));
      if (answer != IDOK)
        return answer == IDCANCEL ? S_FALSE : E_FAIL;
    }

    const std::wstring file = Environment(kFileVariable);
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = documentName.c_str();
    info.lpszOutput = file.empty() ? nullptr : file.c_str();
    if (::StartDocW(printer.get(), &info) <= 0)
      return E_FAIL;
    HRESULT result = S_OK;
    for (std::int32_t p = 0; p < pages && SUCCEEDED(result); ++p) {
      if (Excluded(*printout, p))
        continue;
      if (::StartPage(printer.get()) <= 0) {
        result = E_FAIL;
        break;
      }
      result = printout->SetDeviceContexts(&page, printer.get(), nullptr);
      if (SUCCEEDED(result))
        result = printout->PrintPage(p);
      if (::EndPage(printer.get()) <= 0 && SUCCEEDED(result))
        result = E_FAIL;
    }
    (void)printout->SetDeviceContexts(&page, nullptr, nullptr); // the printer context goes away
    if (FAILED(result)) {
      ::AbortDoc(printer.get());
      return result;
    }
    return ::EndDoc(printer.get()) > 0 ? S_OK : E_FAIL;
  });
}

} // namespace Vela
