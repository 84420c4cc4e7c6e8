#pragma once
#include <exception>
#include <string>
#include <utility>

namespace ExtLib {

// Raised by the matrix inversion for a matrix with a zero row ("Singular"); the fit statistics
// catch it and reject the fit.
class MtxErr : public std::exception {
public:
  explicit MtxErr(std::wstring message) : message_(std::move(message)) {}

  const std::wstring& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return "ExtLib::MtxErr"; }

private:
  std::wstring message_;
};

} // namespace ExtLib
