#include "MainWindow.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cmath>

#include <cstdio>
#include <vector>

#include "HostApplication.h"
#include "HostIds.h"
#include "HostText.h"
#include "HostUnitListService.h"
#include "window/win/Dpi.h"
#include "window/win/MessageBox.h"

namespace Vela {
namespace {

constexpr int kDataWindowId = 100;

// The menu's texts come from the string table; a tab in an item's text leads its shortcut.
void AppendItem(HMENU menu, unsigned textId, int command) {
  const std::wstring text = HostString(textId);
  ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), text.c_str());
}

void AppendPopup(HMENU bar, HMENU popup, unsigned textId) {
  const std::wstring text = HostString(textId);
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text.c_str());
}

std::wstring FileName(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The filter text of the file dialogs: '|' in the string table stands for the separating nulls.
std::wstring Filter(unsigned id) {
  std::wstring filter = HostString(id) + L"||";
  for (auto& c : filter)
    if (c == L'|')
      c = L'\0';
  return filter;
}

} // namespace

HWND MainWindow::Create(int clientWidth, int clientHeight) {
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  RegisterWindowClass(CS_HREDRAW | CS_VREDRAW, ::GetSysColorBrush(COLOR_WINDOW));
  const int dpi = Tarn::Window::SystemDpi();
  RECT r{0, 0, Tarn::Window::Scale(clientWidth, dpi), Tarn::Window::Scale(clientHeight, dpi)};
  ::AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = std::min<int>(r.right - r.left, work.right - work.left);
  const int height = std::min<int>(r.bottom - r.top, work.bottom - work.top);
  const std::wstring title = HostString(IDS_APP_TITLE);
  return CreateWindowHandle(0, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, work.left,
                            work.top, width, height, nullptr);
}

void MainWindow::BuildMenu() {
  HMENU bar = ::CreateMenu();
  HMENU file = ::CreatePopupMenu();
  AppendItem(file, IDS_MENU_OPEN, IDM_OPEN);
  AppendItem(file, IDS_MENU_SAVE, IDM_SAVE);
  AppendItem(file, IDS_MENU_SAVE_AS, IDM_SAVE_AS);
  ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendItem(file, IDS_MENU_EXIT, IDM_EXIT);
  HMENU channel = ::CreatePopupMenu();
  AppendItem(channel, IDS_MENU_CALIBRATION, IDM_CALIBRATION);
  HMENU help = ::CreatePopupMenu();
  AppendItem(help, IDS_MENU_HELP_CONTENTS, IDM_HELP_CONTENTS);
  ::AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
  AppendItem(help, IDS_MENU_ABOUT, IDM_ABOUT);
  AppendPopup(bar, file, IDS_MENU_FILE);
  AppendPopup(bar, channel, IDS_MENU_CHANNEL);
  AppendPopup(bar, help, IDS_MENU_HELP);
  ::SetMenu(hwnd(), bar);

  ACCEL keys[] = {
      {FVIRTKEY | FCONTROL, 'O', IDM_OPEN},
      {FVIRTKEY | FCONTROL, 'S', IDM_SAVE},
      {FVIRTKEY | FCONTROL, 'M', IDM_CALIBRATION},
      {FVIRTKEY, VK_F1, IDM_HELP_CONTENTS},
  };
  accelerators_.reset(::CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
}

bool MainWindow::TranslateAccelerator(MSG& message) noexcept {
  return accelerators_ && ::TranslateAcceleratorW(hwnd(), accelerators_.get(), &message) != 0;
}

void MainWindow::UpdateStatus() {
  if (!status_)
    return;
  const Recording& r = workspace_.Rec();
  const int picked = data_.PickedChannel();
  std::wstring channel;
  if (picked >= 0 && static_cast<std::size_t>(picked) < r.ChannelCount()) {
    const auto& c = r.ChannelAt(static_cast<std::size_t>(picked));
    const std::wstring unit = c.DataUnit().empty() ? L"" : L" (" + c.DataUnit() + L")";
    channel = HostString(IDS_STATUS_CHANNEL, {c.name + unit});
  }
  std::wstring selection = HostString(r.BlockCount() ? IDS_STATUS_NO_SELECTION : IDS_EMPTY_WINDOW);
  const auto& s = r.selection;
  if (s.exists && static_cast<std::size_t>(s.endBlock) < r.BlockCount()) {
    const auto& first = r.BlockAt(static_cast<std::size_t>(s.startBlock));
    const auto& last = r.BlockAt(static_cast<std::size_t>(s.endBlock));
    const int decimals = std::clamp(
        static_cast<int>(std::ceil(-std::log10(std::min(first.interval, last.interval)))), 0, 6);
    selection = HostString(IDS_STATUS_SELECTION,
                           {DisplayNumber(first.start + s.startPosition * first.interval, decimals),
                            DisplayNumber(last.start + s.endPosition * last.interval, decimals),
                            std::to_wstring(s.startBlock + 1), std::to_wstring(s.endBlock + 1)});
  }
  ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(channel.c_str()));
  ::SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(selection.c_str()));
}

void MainWindow::UpdateCaption() {
  const std::wstring& path = workspace_.Path();
  const std::wstring name = path.empty() ? HostString(IDS_UNTITLED) : FileName(path);
  const std::wstring caption = name + L" - " + HostString(IDS_APP_TITLE);
  ::SetWindowTextW(hwnd(), caption.c_str());
}

int MainWindow::Notify(unsigned textId, UINT icon, const std::wstring& argument) {
  return Tarn::Window::ShowMessageBox(hwnd(), HostString(textId, {argument}),
                                      HostString(IDS_APP_TITLE), MB_OK | icon);
}

bool MainWindow::OpenFile(const std::wstring& path) {
  std::wstring error;
  if (FAILED(workspace_.Open(path, error))) {
    Notify(IDS_OPEN_FAILED, MB_ICONERROR, FileName(path) + L"\n\n" + error);
    return false;
  }
  data_.SetRecording(&workspace_.Rec());
  UpdateCaption();
  UpdateStatus();
  return true;
}

bool MainWindow::SaveFile(const std::wstring& path) {
  if (const HRESULT hr = workspace_.Save(path); FAILED(hr)) {
    wchar_t code[16];
    std::swprintf(code, std::size(code), L"0x%08lX", static_cast<unsigned long>(hr));
    Notify(IDS_SAVE_FAILED, MB_ICONERROR, FileName(path) + L" (" + code + L")");
    return false;
  }
  UpdateCaption();
  return true;
}

void MainWindow::SaveAs() {
  // A recording imported from CSV is offered as a document of the same name.
  std::wstring name = FileName(workspace_.Path());
  if (!workspace_.IsDocument() && !name.empty())
    name = name.substr(0, name.find_last_of(L'.')) + L".vdoc";
  wchar_t path[MAX_PATH] = L"";
  name.copy(path, MAX_PATH - 1);
  const std::wstring filter = Filter(IDS_DOCUMENT_FILTER);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"vdoc";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (::GetSaveFileNameW(&ofn))
    SaveFile(path);
}

void MainWindow::Calibrate() {
  const int channel = data_.PickedChannel();
  if (channel < 0) {
    Notify(IDS_NO_CHANNEL, MB_ICONINFORMATION);
    return;
  }
  const HRESULT hr = workspace_.EditCalibration(hwnd(), static_cast<std::size_t>(channel));
  if (hr == S_FALSE || hr == Workspace::kRefusedAndTold)
    return;
  if (FAILED(hr)) {
    wchar_t code[16];
    std::swprintf(code, std::size(code), L"0x%08lX", static_cast<unsigned long>(hr));
    Notify(IDS_CALIBRATION_FAILED, MB_ICONERROR, code);
    return;
  }
  data_.Refresh();
  UpdateStatus();
}

void MainWindow::Command(int id) {
  switch (id) {
  case IDM_OPEN: {
    wchar_t path[MAX_PATH] = L"";
    const std::wstring filter = Filter(IDS_FILE_FILTER);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (::GetOpenFileNameW(&ofn))
      OpenFile(path);
    break;
  }
  case IDM_SAVE:
    if (workspace_.IsDocument())
      SaveFile(workspace_.Path());
    else
      SaveAs();
    break;
  case IDM_SAVE_AS:
    SaveAs();
    break;
  case IDM_CALIBRATION:
    Calibrate();
    break;
  case IDM_HELP_CONTENTS: {
    // Through the same service the module's help buttons use, so both look alike.
    const std::wstring topic = HostString(IDS_HELP_TOPIC);
    const std::wstring book = HostString(IDS_HELP_BOOK);
    (void)HostApplication::Instance().ApplicationService().ShowHelp(topic.c_str(), book.c_str());
    break;
  }
  case IDM_ABOUT:
    Notify(IDS_ABOUT_TEXT, MB_ICONINFORMATION);
    break;
  case IDM_EXIT:
    ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    break;
  default:
    break;
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CREATE:
    HostApplication::Instance().ApplicationService().SetHelpOwner(hwnd());
    BuildMenu();
    data_.Create(hwnd(), kDataWindowId);
    status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                                0, 0, 0, hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    UpdateCaption();
    UpdateStatus();
    return 0;
  case WM_SIZE: {
    ::SendMessageW(status_, WM_SIZE, 0, 0);
    RECT bar{};
    ::GetWindowRect(status_, &bar);
    const int statusHeight = status_ ? bar.bottom - bar.top : 0;
    ::MoveWindow(data_.hwnd(), 0, 0, LOWORD(lParam), std::max(0, HIWORD(lParam) - statusHeight),
                 TRUE);
    int parts[] = {LOWORD(lParam) * 2 / 5, -1};
    ::SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    return 0;
  }
  case WM_SETFOCUS:
    ::SetFocus(data_.hwnd());
    return 0;
  case WM_DPICHANGED: {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  case WM_COMMAND:
    if (LOWORD(wParam) == kDataWindowId) {
      UpdateStatus();
      return 0;
    }
    Command(LOWORD(wParam));
    return 0;
  case WM_CLOSE:
    ::DestroyWindow(hwnd());
    return 0;
  case WM_DESTROY: {
    // Only this window's own claim is dropped: another main window may have taken it since.
    HostUnitListService& service = HostApplication::Instance().ApplicationService();
    if (service.HelpOwner() == hwnd())
      service.SetHelpOwner(nullptr);
    workspace_.Close();
    if (endLoop_)
      ::PostQuitMessage(0);
    return 0;
  }
  }
  return DefaultHandle(message, wParam, lParam);
}

} // namespace Vela
