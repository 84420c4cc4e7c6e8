#include "foundation/ItemFile.h"

#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>

namespace Tarn {

namespace {

template <class T> void StoreLittleEndian(std::uint8_t* out, T value) noexcept {
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    out[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

template <class T> T LoadLittleEndian(const std::uint8_t* in) noexcept {
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    value |= static_cast<T>(static_cast<T>(in[i]) << (8 * i));
  }
  return value;
}

// Appends the UTF-16 code units of `text` (two bytes each, little-endian).
void AppendUtf16(std::vector<std::uint8_t>& out, std::wstring_view text) {
  const auto put = [&out](std::uint32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  };
  for (const wchar_t c : text) {
    const auto u = static_cast<std::uint32_t>(c);
    if (u < 0x10000u) {
      put(u);
    } else if (u <= 0x10FFFFu) {
      put(0xD800u + ((u - 0x10000u) >> 10));
      put(0xDC00u + ((u - 0x10000u) & 0x3FFu));
    } else {
      put(0xFFFDu); // not a character: no UTF-16 form
    }
  }
}

[[maybe_unused]] bool IsLead(std::uint32_t u) noexcept {
  return u >= 0xD800u && u <= 0xDBFFu;
}
[[maybe_unused]] bool IsTrail(std::uint32_t u) noexcept {
  return u >= 0xDC00u && u <= 0xDFFFu;
}

} // namespace

ItemFileWriter::ItemFileWriter(std::vector<std::uint8_t>& bytes) noexcept : bytes_(&bytes) {
  std::uint8_t header[ItemFile::kHeaderSize];
  std::memcpy(header, ItemFile::kMagic, 4);
  StoreLittleEndian(header + 4, ItemFile::kFormatVersion);
  (void)Put(header, sizeof header);
}

ItemFileWriter::ItemFileWriter(std::ostream& stream) noexcept : stream_(&stream) {
  std::uint8_t header[ItemFile::kHeaderSize];
  std::memcpy(header, ItemFile::kMagic, 4);
  StoreLittleEndian(header + 4, ItemFile::kFormatVersion);
  (void)Put(header, sizeof header);
}

HResult ItemFileWriter::Put(const std::uint8_t* data, std::size_t size) noexcept {
  if (hr::Failed(status_)) {
    return status_;
  }
  try {
    if (bytes_) {
      bytes_->insert(bytes_->end(), data, data + size);
    } else if (!stream_->write(reinterpret_cast<const char*>(data),
                               static_cast<std::streamsize>(size))) {
      status_ = hr::fail;
    }
  } catch (const std::bad_alloc&) {
    status_ = hr::outOfMemory;
  } catch (...) {
    status_ = hr::fail; // a stream that throws on failure
  }
  return status_;
}

HResult ItemFileWriter::PutTagged(std::uint8_t tag, const std::uint8_t* data,
                                  std::size_t size) noexcept {
  std::uint8_t item[1 + 8];
  item[0] = tag;
  std::memcpy(item + 1, data, size);
  return Put(item, 1 + size);
}

HResult ItemFileWriter::WriteInt(std::int32_t value) noexcept {
  std::uint8_t data[4];
  StoreLittleEndian(data, static_cast<std::uint32_t>(value));
  return PutTagged(ItemFile::IntTag, data, sizeof data);
}

HResult ItemFileWriter::WriteDouble(double value) noexcept {
  std::uint8_t data[8];
  StoreLittleEndian(data, std::bit_cast<std::uint64_t>(value));
  return PutTagged(ItemFile::DoubleTag, data, sizeof data);
}

HResult ItemFileWriter::WriteString(std::wstring_view value) noexcept {
  if (hr::Failed(status_)) {
    return status_;
  }
  try {
    std::vector<std::uint8_t> item(1 + 4);
    item[0] = ItemFile::StringTag;
    item.reserve(5 + 2 * value.size());
    AppendUtf16(item, value);
    const std::size_t units = (item.size() - 5) / 2;
    if (units > std::numeric_limits<std::uint32_t>::max()) {
      status_ = hr::fail;
      return status_;
    }
    StoreLittleEndian(item.data() + 1, static_cast<std::uint32_t>(units));
    return Put(item.data(), item.size());
  } catch (const std::bad_alloc&) {
    status_ = hr::outOfMemory;
    return status_;
  }
}

ItemFileReader::ItemFileReader(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {
  if (bytes_.size() < ItemFile::kHeaderSize ||
      std::memcmp(bytes_.data(), ItemFile::kMagic, 4) != 0 ||
      LoadLittleEndian<std::uint32_t>(bytes_.data() + 4) != ItemFile::kFormatVersion) {
    status_ = hr::fail;
    return;
  }
  pos_ = ItemFile::kHeaderSize;
}

std::optional<std::size_t> ItemFileReader::RemainingItemsBound() const noexcept {
  return (bytes_.size() - pos_) / ItemFile::kSmallestItem;
}

const std::uint8_t* ItemFileReader::Take(std::uint8_t tag, std::size_t size) noexcept {
  if (hr::Failed(status_) || bytes_.size() - pos_ < 1 + size || bytes_[pos_] != tag) {
    status_ = hr::fail;
    return nullptr;
  }
  const std::uint8_t* payload = bytes_.data() + pos_ + 1;
  pos_ += 1 + size;
  return payload;
}

HResult ItemFileReader::ReadInt(std::int32_t& value) noexcept {
  const std::uint8_t* data = Take(ItemFile::IntTag, 4);
  if (!data) {
    return hr::fail;
  }
  value = static_cast<std::int32_t>(LoadLittleEndian<std::uint32_t>(data));
  return hr::ok;
}

HResult ItemFileReader::ReadDouble(double& value) noexcept {
  const std::uint8_t* data = Take(ItemFile::DoubleTag, 8);
  if (!data) {
    return hr::fail;
  }
  value = std::bit_cast<double>(LoadLittleEndian<std::uint64_t>(data));
  return hr::ok;
}

HResult ItemFileReader::ReadString(std::wstring& value) noexcept {
  const std::size_t start = pos_;
  const std::uint8_t* lengthBytes = Take(ItemFile::StringTag, 4);
  if (!lengthBytes) {
    return hr::fail;
  }
  const std::size_t units = LoadLittleEndian<std::uint32_t>(lengthBytes);
  // Checked against the bytes that are there before anything is allocated.
  if ((bytes_.size() - pos_) / 2 < units) {
    pos_ = start;
    status_ = hr::fail;
    return status_;
  }
  const std::uint8_t* data = bytes_.data() + pos_;
  try {
    std::wstring text;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
      std::uint32_t unit = LoadLittleEndian<std::uint16_t>(data + 2 * i);
      if constexpr (sizeof(wchar_t) > 2) {
        if (IsLead(unit) && i + 1 < units) {
          const std::uint32_t next = LoadLittleEndian<std::uint16_t>(data + 2 * (i + 1));
          if (IsTrail(next)) {
            unit = 0x10000u + ((unit - 0xD800u) << 10) + (next - 0xDC00u);
            ++i;
          }
        }
      }
      text.push_back(static_cast<wchar_t>(unit));
    }
    value = std::move(text);
  } catch (const std::bad_alloc&) {
    pos_ = start;
    status_ = hr::outOfMemory;
    return status_;
  }
  pos_ += 2 * units;
  return hr::ok;
}

} // namespace Tarn
