#pragma once
#include "hostapi/ITarnString.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace Tarn {

// The reference-counted, copy-on-write wide string shared with the host. The handle holds one
// reference to a representation that implements ITarnString and keeps the characters right
// behind its header; every empty string shares one process-wide representation.
class TarnString {
public:
  TarnString() noexcept;
  TarnString(const wchar_t* text);
  TarnString(std::wstring_view text);
  TarnString(const std::wstring& text) : TarnString(std::wstring_view(text)) {}
  TarnString(const TarnString& other) noexcept;
  TarnString(TarnString&& other) noexcept;
  ~TarnString();
  TarnString& operator=(const TarnString& other) noexcept;
  TarnString& operator=(TarnString&& other) noexcept;
  TarnString& operator=(std::wstring_view text);

  // Takes the text of any ITarnString: the module's own by sharing its representation, a
  // foreign one by copying its text. Null gives the empty string. The caller keeps its reference.
  static TarnString FromHost(ITarnString* host);
  // Adopts a reference the caller owned (the module's own representation or a foreign one).
  static TarnString AdoptHost(ITarnString* host);

  std::wstring str() const { return std::wstring(c_str(), size()); }
  std::wstring_view view() const noexcept { return {c_str(), size()}; }
  const wchar_t* c_str() const noexcept { return chars_; }
  std::size_t size() const noexcept;
  bool empty() const noexcept { return size() == 0; }
  // Usable characters without reallocation (the stored capacity less the terminator).
  std::size_t capacity() const noexcept;
  // True when more than one handle or host reference shares the representation.
  bool shared() const noexcept;

  TarnString& append(std::wstring_view text);
  TarnString& operator+=(std::wstring_view text) { return append(text); }
  TarnString& operator+=(wchar_t c) { return append(std::wstring_view(&c, 1)); }
  void clear() noexcept;

  // Writable access for stream buffers: unshares the representation and guarantees room for
  // `capacity` characters plus the terminator, keeping the text.
  wchar_t* reserve(std::size_t capacity);
  // Sets the length after writing through reserve(); the terminator is written here.
  void setLength(std::size_t length) noexcept;

  // The representation's interface, borrowed: valid while this handle lives unchanged.
  ITarnString* get() const noexcept;
  // Gives up this handle's reference; the caller owns it now. The handle becomes empty.
  [[nodiscard]] ITarnString* release() noexcept;

  friend bool operator==(const TarnString& a, const TarnString& b) noexcept {
    return a.chars_ == b.chars_ || a.view() == b.view();
  }
  friend bool operator==(const TarnString& a, std::wstring_view b) noexcept {
    return a.view() == b;
  }
  friend bool operator==(const TarnString& a, const std::wstring& b) noexcept {
    return a.view() == b;
  }
  friend bool operator==(const TarnString& a, const wchar_t* b) noexcept {
    return a.view() == std::wstring_view(b ? b : L"");
  }

private:
  explicit TarnString(wchar_t* chars) noexcept : chars_(chars) {}
  wchar_t* chars_;
};

} // namespace Tarn
