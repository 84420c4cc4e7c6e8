#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/HResult.h"

namespace Tarn {

// A sequence of typed items written one after another, as the host's object streams hold
// them. Each operation returns a status as the host stream does (negative on failure); Status()
// turns negative after any failed write and stays so.
class ItemWriter {
public:
  virtual ~ItemWriter() = default;
  virtual HResult WriteInt(std::int32_t value) noexcept = 0;
  virtual HResult WriteDouble(double value) noexcept = 0;
  virtual HResult WriteString(std::wstring_view value) noexcept = 0;
  virtual HResult Status() noexcept = 0;
};

// Reads the items back in the order they were written. A read stores into its argument only
// when it succeeds; Status() turns negative after any failed read and stays so.
class ItemReader {
public:
  virtual ~ItemReader() = default;
  virtual HResult ReadInt(std::int32_t& value) noexcept = 0;
  // A 32-bit integer written with WriteInt, read through the stream's long-integer operation.
  virtual HResult ReadLong(std::int32_t& value) noexcept = 0;
  virtual HResult ReadDouble(double& value) noexcept = 0;
  virtual HResult ReadString(std::wstring& value) noexcept = 0;
  virtual HResult Status() noexcept = 0;
  // An upper bound on the number of items left, when the reader knows it (a file does, the
  // host's stream does not). Loaders refuse counts above it before reading anything.
  virtual std::optional<std::size_t> RemainingItemsBound() const noexcept { return std::nullopt; }
};

} // namespace Tarn
