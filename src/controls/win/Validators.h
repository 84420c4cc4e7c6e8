#pragma once
#include <windows.h>

#include "controls/RangeValidation.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace TarnControls {

class ErrorProvider;

enum class TransferDirection { Get, Set };

// What an edit asks of the validator set on it: a filter for typed characters, a whole-text
// check, the report of an invalid text, and the optional transfer of the value to a buffer.
class Validator {
public:
  virtual ~Validator() = default;
  virtual bool IsValidInput(wchar_t c) const = 0;
  virtual bool IsValid(std::wstring_view text) const = 0;
  // Tells the user that the text of `field` is invalid.
  virtual void Error(HWND field) = 0;
  // Moves the value between the text and `buffer` when transfer is on; the bytes transferred.
  virtual std::size_t Transfer(std::wstring& text, void* buffer, TransferDirection direction) = 0;

  void SetTransfer(bool on) noexcept { transfer_ = on; }
  bool TransferEnabled() const noexcept { return transfer_; }

private:
  bool transfer_ = false;
};

// A whole-number range; its report is a message box.
class TarnRangeValidator : public Validator {
public:
  TarnRangeValidator(long min, long max) noexcept;
  bool IsValidInput(wchar_t c) const override;
  bool IsValid(std::wstring_view text) const override;
  void Error(HWND field) override;
  // A 32-bit integer.
  std::size_t Transfer(std::wstring& text, void* buffer, TransferDirection direction) override;
  WholeRange Range() const noexcept { return range_; }

private:
  WholeRange range_;
};

// The same range reported through an error provider (a message box without one).
class LongRangeValidatorErrProv : public TarnRangeValidator {
public:
  LongRangeValidatorErrProv(long min, long max, ErrorProvider* provider) noexcept
      : TarnRangeValidator(min, max), mErrorProvider(provider) {}
  void Error(HWND field) override;

private:
  ErrorProvider* mErrorProvider;
};

// A floating-point range: note the order of the arguments, maximum first. Its numbers are read
// and written with the user's decimal separator.
class FltRangeValidator : public Validator {
public:
  FltRangeValidator(double max, double min);
  bool IsValidInput(wchar_t c) const override;
  bool IsValid(std::wstring_view text) const override;
  void Error(HWND field) override;
  // A double, written in general notation with 6 digits.
  std::size_t Transfer(std::wstring& text, void* buffer, TransferDirection direction) override;
  DecimalRange Range() const noexcept { return range_; }

protected:
  const std::wstring& Separator() const noexcept { return separator_; }

private:
  DecimalRange range_;
  std::wstring separator_;
  std::wstring filter_;
};

class FltRangeValidatorErrProv : public FltRangeValidator {
public:
  FltRangeValidatorErrProv(double max, double min, ErrorProvider* provider)
      : FltRangeValidator(max, min), mErrorProvider(provider) {}
  void Error(HWND field) override;

private:
  ErrorProvider* mErrorProvider;
};

// Shows a range message in a message box: owned by the active window, task-modal when none.
void ShowRangeMessage(HWND field, const std::wstring& text);

} // namespace TarnControls
