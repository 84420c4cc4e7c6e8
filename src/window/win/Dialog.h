#pragma once
#include <windows.h>

namespace Tarn::Window {

// Which template a dialog is made from: `name` is MAKEINTRESOURCEW(id) or a resource name,
// looked up in `language` (0: the calling thread's user interface language), falling back to the
// platform's choice, in `module` (null: ModuleInstance()).
struct DialogTemplate {
  LPCWSTR name = nullptr;
  LANGID language = 0;
  HMODULE module = nullptr;
};

// A dialog made from a template, modal or modeless. The object lives in the dialog's DWLP_USER
// from its first message (WM_SETFONT and WM_MEASUREITEM come before WM_INITDIALOG) to
// WM_NCDESTROY. A modeless dialog still open is destroyed with the object. An exception from a
// handler is logged and the message gets the dialog manager's default handling.
class Dialog {
public:
  explicit Dialog(DialogTemplate source) noexcept : source_(source) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  // Runs the dialog modally: the value given to End, or -1 when the template is missing or the
  // dialog cannot be made.
  INT_PTR DoModal(HWND parent) noexcept;
  // Makes the dialog modeless (not yet shown unless its template says WS_VISIBLE); null on
  // failure.
  HWND Create(HWND parent) noexcept;
  // Closes the dialog: EndDialog when modal, DestroyWindow when modeless. For a modeless dialog
  // the value is kept as Result().
  void End(INT_PTR result) noexcept;

  HWND hwnd() const noexcept { return hwnd_; }
  HWND Item(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }
  bool IsModal() const noexcept { return modal_; }
  INT_PTR Result() const noexcept { return result_; }
  static Dialog* FromHandle(HWND hwnd) noexcept;

protected:
  // Translates one message; FALSE leaves it to the dialog manager. Overrides handle their own
  // messages and pass the rest here, which calls the handlers below.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The result of WM_INITDIALOG: true lets the dialog manager set the focus.
  virtual bool OnInitDialog() { return true; }
  // true when the command was handled. The default: IDOK ends with IDOK when CanClose() agrees,
  // IDCANCEL ends with IDCANCEL.
  virtual bool OnCommand(int id, int code, HWND control);
  virtual bool CanClose() { return true; }
  // The result of a message that needs one (WM_CTLCOLOR... excepted): call, then return TRUE.
  void SetMessageResult(LRESULT result) noexcept;

private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  const DLGTEMPLATE* FindTemplate() const noexcept;

  DialogTemplate source_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  INT_PTR result_ = 0;
};

} // namespace Tarn::Window
