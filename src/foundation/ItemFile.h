#pragma once
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/PersistItems.h"

namespace Tarn {

// The typed-item file: the portable form of an object stream, used for settings files and by
// the reference host's file streams. All numbers are little-endian whatever the platform:
//   header  "MPIF" (4 bytes), format version (uint32, currently 1)
//   items   a type byte, then
//             1 int32     4 bytes
//             2 double    8 bytes, IEEE 754 binary64
//             3 string    length in UTF-16 code units (uint32), then the code units (2 bytes
//                         each); supplementary characters are surrogate pairs in the file and
//                         single characters where wchar_t is 32 bits wide
// A file holds the items and nothing after them.
namespace ItemFile {
inline constexpr std::uint8_t kMagic[4] = {'M', 'P', 'I', 'F'};
inline constexpr std::uint32_t kFormatVersion = 1;
inline constexpr std::size_t kHeaderSize = 8;
enum Tag : std::uint8_t { IntTag = 1, DoubleTag = 2, StringTag = 3 };
// The smallest item (an int32, or the length of an empty string) with its type byte.
inline constexpr std::size_t kSmallestItem = 5;
} // namespace ItemFile

// Writes an item file into a byte vector or a binary output stream; the header goes first, at
// construction. Status() turns negative (E_FAIL, or E_OUTOFMEMORY) after a failed write and
// every later write fails too.
class ItemFileWriter final : public ItemWriter {
public:
  explicit ItemFileWriter(std::vector<std::uint8_t>& bytes) noexcept;
  explicit ItemFileWriter(std::ostream& stream) noexcept;

  HResult WriteInt(std::int32_t value) noexcept override;
  HResult WriteDouble(double value) noexcept override;
  HResult WriteString(std::wstring_view value) noexcept override;
  HResult Status() noexcept override { return status_; }

private:
  HResult Put(const std::uint8_t* data, std::size_t size) noexcept;
  HResult PutTagged(std::uint8_t tag, const std::uint8_t* data, std::size_t size) noexcept;

  std::vector<std::uint8_t>* bytes_ = nullptr;
  std::ostream* stream_ = nullptr;
  HResult status_ = hr::ok;
};

// Reads an item file from bytes that must outlive the reader. A bad header makes the status
// negative at once. Every read checks the type byte and that the item lies inside the bytes
// before touching or allocating anything: a truncated or damaged file gives a failed read
// (E_FAIL) and a negative status, never a read past the end or an allocation larger than the
// file. After a failed read every later read fails too.
class ItemFileReader final : public ItemReader {
public:
  explicit ItemFileReader(std::span<const std::uint8_t> bytes) noexcept;

  HResult ReadInt(std::int32_t& value) noexcept override;
  HResult ReadLong(std::int32_t& value) noexcept override { return ReadInt(value); }
  HResult ReadDouble(double& value) noexcept override;
  HResult ReadString(std::wstring& value) noexcept override;
  HResult Status() noexcept override { return status_; }
  // The bytes left divided by the smallest item's size.
  std::optional<std::size_t> RemainingItemsBound() const noexcept override;

  // True when every byte has been read and no read failed.
  bool AtEnd() const noexcept { return status_ >= 0 && pos_ == bytes_.size(); }

private:
  // The `size` payload bytes of an item of type `tag`, or null (and a failed status).
  const std::uint8_t* Take(std::uint8_t tag, std::size_t size) noexcept;

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  HResult status_ = hr::ok;
};

} // namespace Tarn
