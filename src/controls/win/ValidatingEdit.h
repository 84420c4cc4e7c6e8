#pragma once
#include <windows.h>

#include "controls/win/Validators.h"
#include "window/win/ControlSubclass.h"

#include <memory>
#include <string>

namespace TarnControls {

class ErrorProvider;

// An edit of a dialog template (text limit 255) with an optional validator and error provider.
// With a provider the text is checked again after every typed character and after every change
// of the text (delete, cut and paste type no character), and the provider shows the result.
class ValidatingEdit : public Tarn::Window::ControlSubclass {
public:
  static constexpr int kTextLimit = 255;

  ValidatingEdit() = default;
  ~ValidatingEdit() override;

  // Subclasses control `id` of `dialog`.
  bool Attach(HWND dialog, int id);

  // Whether the whole text parses as the field's number type.
  virtual bool IsTextValid() const = 0;
  virtual void SetErrorProvider(ErrorProvider* provider) { mErrorProvider = provider; }
  ErrorProvider* GetErrorProvider() const noexcept { return mErrorProvider; }

  // Takes the validator, replacing (and deleting) the previous one.
  void SetValidator(std::unique_ptr<Validator> validator) noexcept {
    mValidator = std::move(validator);
  }
  Validator* GetValidator() const noexcept { return mValidator.get(); }

  std::wstring Text() const;
  void SetText(const std::wstring& text);
  // The check a dialog makes before it closes: true when the text is valid. An invalid field
  // without a provider reports through its validator; one with a provider already shows it.
  bool Validate();
  // Checks the text and shows or clears the provider's marker.
  void Revalidate();

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  ErrorProvider* mErrorProvider = nullptr;

private:
  static LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data) noexcept;
  void DetachParent() noexcept;

  std::unique_ptr<Validator> mValidator;
  HWND parent_ = nullptr;
};

class IntEdit : public ValidatingEdit {
public:
  bool IsTextValid() const override;
  // Sets a range validator that reports through `provider` (or a message box without one) and
  // keeps the current validator's range (the whole 32-bit range when there is none).
  void SetErrorProvider(ErrorProvider* provider) override;
  long GetValue() const;
  void SetValue(long value);
};

class DoubleEdit : public ValidatingEdit {
public:
  bool IsTextValid() const override;
  void SetErrorProvider(ErrorProvider* provider) override;
  // Writes with mPrecision digits (9 when below 1), fixed with the point shown when mFixed.
  void SetValue(double value);
  // The text's number rounded to mPrecision significant digits.
  double GetValue() const;
  void SetPrecision(int precision) noexcept { mPrecision = precision; }
  void SetFixed(bool fixed) noexcept { mFixed = fixed; }
  int GetPrecision() const noexcept { return mPrecision; }
  bool GetFixed() const noexcept { return mFixed; }

private:
  int mPrecision = 0;
  bool mFixed = false;
};

} // namespace TarnControls
