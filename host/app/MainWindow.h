#pragma once
#include <windows.h>

#include <string>

#include "DataWindow.h"
#include "Workspace.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/BaseWindow.h"

namespace Vela {

// The host program's main window: the menu (File, Channel, Help) with its keyboard accelerators,
// and the data window filling the client area.
class MainWindow final : public Tarn::Window::BaseWindow<MainWindow> {
public:
  static constexpr const wchar_t* ClassName = L"VelaMainWindow";

  explicit MainWindow(ModuleHost& module) : workspace_(module) {}

  // Creates the window (hidden); `clientWidth` x `clientHeight` at 96 dpi, scaled to the screen.
  HWND Create(int clientWidth = 900, int clientHeight = 560);
  // Opens a recording and shows it; on failure tells the user and keeps what was shown.
  bool OpenFile(const std::wstring& path);
  // Saves the document to `path`; on failure tells the user.
  bool SaveFile(const std::wstring& path);
  // Runs a menu command as the menu or an accelerator does.
  void Command(int id);
  // Translates the window's accelerators for a message of the thread's loop.
  bool TranslateAccelerator(MSG& message) noexcept;
  // Whether closing the window ends the thread's message loop (the program's window does).
  void EndLoopOnDestroy(bool end) noexcept { endLoop_ = end; }

  Workspace& Work() noexcept { return workspace_; }
  DataWindow& Data() noexcept { return data_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  void BuildMenu();
  void UpdateCaption();
  // The status bar: the chosen channel and the selected stretch in time and blocks.
  void UpdateStatus();
  void Calibrate();
  void SaveAs();
  int Notify(unsigned textId, UINT icon, const std::wstring& argument = {});

  Workspace workspace_;
  bool endLoop_ = false;
  HWND status_ = nullptr; // a child: destroyed with the window
  DataWindow data_;
  Tarn::unique_any<Tarn::handle_traits<HACCEL, &::DestroyAcceleratorTable>> accelerators_;
};

} // namespace Vela
