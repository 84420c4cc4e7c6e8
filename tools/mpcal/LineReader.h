#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace MPCalTool {

// Reads a text file in large chunks and hands out its lines in batches, so that a recording of
// any length is read with bounded memory. Line ends are "\n" or "\r\n" (the "\r" is dropped); a
// last line without a line end counts as a line.
class LineReader {
public:
  static constexpr std::size_t kChunkSize = std::size_t{1} << 22;
  // A line longer than this is refused rather than buffered without bound.
  static constexpr std::size_t kMaxLineLength = std::size_t{1} << 24;

  // Opens the file; throws ToolError naming it when it cannot be read.
  explicit LineReader(const std::filesystem::path& path);

  // Fills `lines` with the next batch (at least one line unless the file is exhausted). The views
  // stay valid until the next call. False at the end of the file.
  bool NextBatch(std::vector<std::string_view>& lines);

  // 1-based number of the first line of the last batch.
  std::uint64_t FirstLineNumber() const noexcept { return firstLine_; }
  const std::string& DisplayName() const noexcept { return name_; }

private:
  std::ifstream in_;
  std::string name_;
  std::vector<char> buffer_;
  std::size_t consumed_ = 0; // bytes at the front of buffer_ handed out by the last batch
  bool eof_ = false;
  std::uint64_t firstLine_ = 1;
  std::uint64_t nextLine_ = 1;
};

} // namespace MPCalTool
