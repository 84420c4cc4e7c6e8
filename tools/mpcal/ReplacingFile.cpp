#include "ReplacingFile.h"

#include <atomic>
#include <chrono>
#include <system_error>

#include "ToolError.h"

namespace MPCalTool {
namespace {

// A name no other writer picks: the target's own name, the time and a per-process counter. An
// existing file of that name is never opened.
std::filesystem::path TemporaryName(const std::filesystem::path& target, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::filesystem::path name = target;
  name += ".tmp" + std::to_string(static_cast<unsigned long long>(ticks) % 1000000007ull) + "-" +
          std::to_string(counter++) + "-" + std::to_string(attempt);
  return name;
}

} // namespace

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
  std::error_code ec;
  if (std::filesystem::is_directory(target_, ec))
    throw ToolError(target_.string() + ": is a folder, not a file");
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temporary_ = TemporaryName(target_, attempt);
    if (std::filesystem::exists(temporary_, ec))
      continue;
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (out_)
      break;
    throw ToolError(target_.string() + ": cannot create a file in its folder");
  }
  if (!out_.is_open())
    throw ToolError(target_.string() + ": cannot create a temporary file in its folder");
  buffer_.reserve(kBufferSize + 4096);
}

ReplacingFile::~ReplacingFile() {
  if (!committed_) {
    out_.close();
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
  }
}

void ReplacingFile::Write(std::string_view text) {
  buffer_.append(text);
  FlushIfFull();
}

void ReplacingFile::Flush() {
  if (!buffer_.empty()) {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }
  if (!out_)
    Fail("write error (is the disk full?)");
}

void ReplacingFile::Fail(const std::string& what) {
  throw ToolError(target_.string() + ": " + what);
}

void ReplacingFile::Commit() {
  Flush();
  out_.close();
  if (out_.fail())
    Fail("write error while closing the file");
  std::error_code ec;
  std::filesystem::rename(temporary_, target_, ec);
  if (ec)
    Fail("cannot replace the file: " + ec.message());
  committed_ = true;
}

} // namespace MPCalTool
