#include "LineReader.h"

#include <cstring>

#include "ToolError.h"

namespace MPCalTool {

LineReader::LineReader(const std::filesystem::path& path)
    : in_(path, std::ios::binary), name_(path.string()) {
  std::error_code ec;
  if (!in_ || std::filesystem::is_directory(path, ec))
    throw ToolError(name_ + ": cannot open the file for reading");
}

bool LineReader::NextBatch(std::vector<std::string_view>& lines) {
  lines.clear();
  if (consumed_ > 0) {
    // The unfinished line of the last chunk moves to the front; the old views die here.
    const std::size_t rest = buffer_.size() - consumed_;
    std::memmove(buffer_.data(), buffer_.data() + consumed_, rest);
    buffer_.resize(rest);
    consumed_ = 0;
  }
  firstLine_ = nextLine_;
  for (;;) {
    const char* data = buffer_.data();
    const std::size_t size = buffer_.size();
    std::size_t start = 0;
    while (start < size) {
      const void* hit = std::memchr(data + start, '\n', size - start);
      if (!hit)
        break;
      const auto end = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
      std::size_t length = end - start;
      if (length > 0 && data[start + length - 1] == '\r')
        --length;
      lines.emplace_back(data + start, length);
      start = end + 1;
    }
    if (eof_ && start < size) {
      std::size_t length = size - start;
      if (data[start + length - 1] == '\r')
        --length;
      lines.emplace_back(data + start, length);
      start = size;
    }
    if (!lines.empty()) {
      consumed_ = start;
      nextLine_ += lines.size();
      return true;
    }
    if (eof_)
      return false;
    if (size > kMaxLineLength)
      throw ToolError(name_ + ":" + std::to_string(nextLine_) + ": line too long");
    buffer_.resize(size + kChunkSize);
    in_.read(buffer_.data() + size, static_cast<std::streamsize>(kChunkSize));
    const auto got = static_cast<std::size_t>(in_.gcount());
    if (in_.bad())
      throw ToolError(name_ + ": read error");
    if (got < kChunkSize)
      eof_ = true;
    buffer_.resize(size + got);
  }
}

} // namespace MPCalTool
