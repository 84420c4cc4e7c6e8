#pragma once
#include <windows.h>

#include "controls/ErrorProviderModel.h"
#include "controls/win/BalloonHelp.h"
#include "controls/win/Popup.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/ControlSubclass.h"

#include <functional>
#include <memory>
#include <string>

namespace TarnControls {

// The error marker beside a field: the static control 105 of a dialog made an icon square that
// shows an error, warning or information glyph and explains it in a balloon or a hover popup.
// The owner sets title and text and shows the provider to mark an error, hides it to clear it.
class ErrorProvider : public Tarn::Window::ControlSubclass {
public:
  explicit ErrorProvider(int flags = kErrorProviderDefaultFlags) noexcept : mFlags(flags) {}
  ~ErrorProvider() override;

  // Subclasses control 105 of `dialog` and sets it up (flags, notify style, icon square, images).
  bool Attach(HWND dialog);

  void SetTitle(std::wstring title) { mTitle = std::move(title); }
  void SetText(std::wstring text) { mText = std::move(text); }
  void SetLinkText(std::wstring text) { mLinkText = std::move(text); }
  void SetClickHandler(std::function<void()> handler) { mClickHandler = std::move(handler); }
  void SetLinkHandler(std::function<void()> handler) { mLinkHandler = std::move(handler); }
  // Before Attach; Attach keeps one glyph and one trigger of them.
  void SetFlags(int flags) noexcept { mFlags = flags; }

  const std::wstring& Title() const noexcept { return mTitle; }
  const std::wstring& Text() const noexcept { return mText; }
  int Flags() const noexcept { return mFlags; }
  // Shows or hides the marker; hiding also closes its balloon and popup.
  void Show(bool show);
  bool IsShown() const noexcept;

  bool HasImages() const noexcept { return static_cast<bool>(mImages); }
  int IconSize() const noexcept { return iconSize_; }
  int HoverTime() const noexcept { return pointer_.hoverTime(); }
  const Tarn::Popup* CurrentPopup() const noexcept { return mPopup.get(); }
  const WTL::CBalloonHelp* CurrentBalloon() const noexcept { return balloon_.get(); }

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void MakeImages();
  void Paint();
  void Carry(const ErrorProviderPointer::Actions& actions);
  void ShowBalloon();
  void ShowPopup();
  void ClosePopup() noexcept;

  int mFlags;
  Tarn::unique_himagelist mImages;
  std::wstring mTitle;
  std::wstring mText;
  std::wstring mLinkText;
  std::function<void()> mClickHandler;
  std::function<void()> mLinkHandler;
  std::unique_ptr<Tarn::Popup> mPopup;
  std::unique_ptr<WTL::CBalloonHelp> balloon_;
  ErrorProviderPointer pointer_;
  int iconSize_ = kErrorIconSize;
};

} // namespace TarnControls
