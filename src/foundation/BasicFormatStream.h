#pragma once
#include "foundation/FormatText.h"

#include <iomanip>
#include <ios>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <type_traits>
#include <vector>

namespace Tarn {

template <class T> struct IsStreamManipulator : std::false_type {};
template <> struct IsStreamManipulator<decltype(std::setprecision(0))> : std::true_type {};
template <> struct IsStreamManipulator<decltype(std::setw(0))> : std::true_type {};
template <> struct IsStreamManipulator<decltype(std::setfill(L' '))> : std::true_type {};
template <> struct IsStreamManipulator<decltype(std::setbase(10))> : std::true_type {};
template <>
struct IsStreamManipulator<decltype(std::setiosflags(std::ios_base::fmtflags{}))> : std::true_type {
};
template <>
struct IsStreamManipulator<decltype(std::resetiosflags(std::ios_base::fmtflags{}))>
    : std::true_type {};

// A message stream: each value written with << is one argument (the first is %1, the second
// %2, ...), formatted as a wide stream would with the global locale and the manipulators written
// so far. When the argument with the highest marker number has been written the finished text
// goes to the target buffer. A format without markers goes to the buffer at once and the values
// written after it are appended as by a plain stream.
class BasicFormatStream {
public:
  BasicFormatStream(std::wstring_view format, std::wstreambuf& target);
  BasicFormatStream(const BasicFormatStream&) = delete;
  BasicFormatStream& operator=(const BasicFormatStream&) = delete;
  virtual ~BasicFormatStream() = default;

  template <class T> BasicFormatStream& operator<<(const T& value) {
    if constexpr (IsStreamManipulator<T>::value) {
      formatter_ << value;
    } else {
      formatter_.str(std::wstring());
      formatter_.clear();
      formatter_ << value;
      addArgument(formatter_.str());
    }
    return *this;
  }
  BasicFormatStream& operator<<(std::ios_base& (*manipulator)(std::ios_base&)) {
    formatter_ << manipulator;
    return *this;
  }
  BasicFormatStream& operator<<(std::wostream& (*manipulator)(std::wostream&)) {
    formatter_ << manipulator;
    return *this;
  }

  // The stream that formats the arguments (for imbue, precision, flags).
  std::wostream& formatter() noexcept { return formatter_; }
  bool complete() const noexcept { return complete_; }
  // Writes the text now when not all expected arguments came: the missing ones stay empty.
  void finish();

private:
  void addArgument(std::wstring output);

  FormatText format_;
  std::wstreambuf& target_;
  std::wostringstream formatter_;
  std::vector<std::wstring> outputs_;
  int written_ = 0;
  bool complete_ = false;
};

// A message stream whose result is a std::wstring.
class OFormatWStringStream : private std::wstringbuf, public BasicFormatStream {
public:
  explicit OFormatWStringStream(std::wstring_view format)
      : BasicFormatStream(format, static_cast<std::wstringbuf&>(*this)) {}
  // The finished text (finishing it first when arguments are missing).
  std::wstring str() {
    finish();
    return std::wstringbuf::str();
  }
};

} // namespace Tarn
