#pragma once
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace MPCalTool {

// An output file that appears only when it is complete. The text goes to a temporary file in the
// target's folder (so that the final rename stays on one file system) and `Commit` renames it
// over the target; a file that is destroyed without `Commit`, after a failure or an exception,
// removes its temporary file and leaves any previous target untouched.
class ReplacingFile {
public:
  static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

  // Creates the temporary file; throws ToolError when it cannot.
  explicit ReplacingFile(std::filesystem::path target);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Buffers `text`; writes to the file when the buffer is full.
  void Write(std::string_view text);
  // The buffer itself, for callers that format straight into it; call Flush... when it grows.
  std::string& Buffer() noexcept { return buffer_; }
  // Writes the buffer out when it holds at least kBufferSize bytes.
  void FlushIfFull() {
    if (buffer_.size() >= kBufferSize)
      Flush();
  }

  // Writes the rest, closes the file and renames it over the target; throws ToolError when any
  // write, the close or the rename failed.
  void Commit();

  const std::filesystem::path& Target() const noexcept { return target_; }

private:
  void Flush();
  [[noreturn]] void Fail(const std::string& what);

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream out_;
  std::string buffer_;
  bool committed_ = false;
};

} // namespace MPCalTool
