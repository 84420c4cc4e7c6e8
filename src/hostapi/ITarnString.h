#pragma once
#include <windows.h>

#include <oaidl.h>
#include <unknwn.h>

// The host's reference-counted string. The module's own strings (Tarn::TarnString) implement it
// too, so texts cross between the host and the module in both directions without copying.
//
// QueryInterface answers IUnknown, IID_ITarnString and IID_ITarnString2. The slots after the
// three IUnknown operations are part of the contract with the host and must keep their order.
// Truth values are VARIANT_BOOL: -1 (VARIANT_TRUE) or 0. Lengths and capacities are in UTF-16
// code units without the terminator unless a slot says otherwise.
inline constexpr IID IID_ITarnString = {
    0x2D3B7EC5, 0xBF24, 0x11CF, {0x97, 0xE6, 0x00, 0xC0, 0xDF, 0x49, 0x26, 0x97}};
inline constexpr IID IID_ITarnString2 = {
    0x3904AA0E, 0x3E8D, 0x11D1, {0x99, 0x7F, 0x00, 0xC0, 0xDF, 0x49, 0x26, 0x97}};

struct ITarnString : public IUnknown {
  // A null out-pointer gives E_POINTER.
  static constexpr HRESULT nullOut = E_POINTER;
  // 3: replaces the text by a BSTR's; null empties the string. E_FAIL when the string is shared
  // or when the text and its terminator do not fit the capacity (no reallocation).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetFromBSTR(BSTR text) = 0;
  // 4: a new BSTR copy of the text. A BSTR already in *text is freed first; an empty string
  // gives null. E_POINTER for a null argument.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetBSTR(BSTR* text) = 0;
  // 5: -1 when the text is empty, else 0.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE IsEmpty(VARIANT_BOOL* empty) = 0;
  // 6: the length of the text.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetLength(LONG* length) = 0;
  // 7: -1 when `other` holds the same text (code-unit equality), else 0. A string of another
  // implementation is compared through its BSTR (slot 4); a null `other` counts as empty.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE IsEqual(ITarnString* other,
                                                          VARIANT_BOOL* equal) = 0;
  // 8: -1 when the representation has more than one reference, else 0.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE IsShared(VARIANT_BOOL* shared) = 0;
  // 9: the kind of the implementation, returned directly (9 for the module's strings).
  virtual LONG STDMETHODCALLTYPE GetKind() = 0;
  // 10: copies the text and its terminator into `buffer` of `byteSize` bytes; E_FAIL when it
  // does not fit (the buffer is then left untouched).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CopyTo(WCHAR* buffer, ULONG byteSize) = 0;
  // 11: the length and the size of one character in bytes (2).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetLengthAndCharSize(LONG* length,
                                                                       LONG* charSize) = 0;
  // 12: the capacity without the terminator (stored capacity - 1).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetCapacity(LONG* capacity) = 0;
  // 13: a new empty string of the same kind with capacity max(hint + 1, 8); the caller owns
  // the one reference in *created.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateEmpty(LONG capacityHint,
                                                              ITarnString** created) = 0;
  // 14: a VT_BSTR variant with a copy of the text (an empty string gives a null BSTR). The
  // variant is treated as uninitialised output.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetVariant(VARIANT* value) = 0;
  // 15: the length, returned directly.
  virtual LONG STDMETHODCALLTYPE Length() = 0;
  // 16: frees the representation. Called by Release when the last reference goes; a caller
  // may call it only while it holds the only reference (E_FAIL otherwise, nothing is freed).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Destroy() = 0;
  // 17: does nothing (S_OK).
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Reserved() = 0;
  // 18: the address of the characters (terminated). Valid while the caller holds a reference
  // and nobody changes the text.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetChars(const WCHAR** chars) = 0;
  // 19: the destructor slot, laid out as a scalar deleting destructor (one slot, a flags
  // argument whose bit 0 asks to free the memory, returns the object's address) so that the
  // table matches the host's. Only the owner of the last reference may call it.
  virtual void* STDMETHODCALLTYPE DeletingDestructor(UINT flags) = 0;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(ITarnString, 0x2D3B7EC5, 0xBF24, 0x11CF, 0x97, 0xE6, 0x00, 0xC0, 0xDF, 0x49, 0x26,
                0x97)
#endif
