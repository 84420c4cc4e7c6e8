#include "Recording.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "foundation/Utf8.h"

namespace Vela {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Splits a line into field texts; a field may be quoted, with "" for one quote inside.
bool SplitLine(std::string_view line, char separator, std::vector<std::string>& fields) {
  fields.clear();
  std::size_t i = 0;
  for (;;) {
    std::string field;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t') && line[i] != separator)
      ++i;
    if (i < line.size() && line[i] == '"') {
      ++i;
      for (;;) {
        if (i >= line.size())
          return false;
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += line[i++];
      }
      while (i < line.size() && line[i] != separator)
        ++i;
    } else {
      const std::size_t end = std::min(line.find(separator, i), line.size());
      field = std::string(Trim(line.substr(i, end - i)));
      i = end;
    }
    fields.push_back(std::move(field));
    if (i >= line.size())
      return true;
    ++i; // the separator
  }
}

// The classic form whatever the process locale: from_chars never looks at it.
bool ParseNumber(std::string_view text, double& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  if (text.empty() || text.front() == '+')
    return false;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  return result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

// "name (unit)" -> name, unit; a name without a parenthesised tail has no unit.
void SplitNameAndUnit(const std::string& field, std::wstring& name, std::wstring& unit) {
  const std::string_view text = Trim(field);
  const auto open = text.rfind('(');
  if (text.size() > 2 && text.back() == ')' && open != std::string_view::npos && open > 0) {
    name = Tarn::FromUtf8(Trim(text.substr(0, open)));
    unit = Tarn::FromUtf8(Trim(text.substr(open + 1, text.size() - open - 2)));
    if (!name.empty())
      return;
  }
  name = Tarn::FromUtf8(text);
  unit.clear();
}

std::string LineText(std::size_t line, const std::string& what) {
  return line ? "line " + std::to_string(line) + ": " + what : what;
}

} // namespace

RecordingError::RecordingError(std::size_t line, const std::string& what)
    : std::runtime_error(LineText(line, what)), line_(line) {}

std::uint32_t DefaultTraceColour(std::size_t channel) noexcept {
  static constexpr std::uint32_t colours[] = {0x000000C0, 0x00C00000, 0x00008000, 0x00800080,
                                              0x00008080, 0x00808000, 0x00404040, 0x000080FF};
  return colours[channel % std::size(colours)];
}

std::size_t Recording::AddChannel(Channel channel) {
  if (channels_.size() >= kMaxChannels)
    throw std::length_error("too many channels");
  for (Block& b : blocks_)
    b.samples.emplace_back();
  channels_.push_back(std::move(channel));
  return channels_.size() - 1;
}

void Recording::AddBlock(Block block) {
  if (block.samples.size() != channels_.size())
    throw std::invalid_argument("one sample vector per channel");
  std::size_t added = 0;
  for (const auto& s : block.samples) {
    if (!s.empty() && s.size() != block.length)
      throw std::invalid_argument("a channel's samples differ from the block's length");
    added += s.size();
  }
  if (totalSamples_ + added > kMaxSamples)
    throw std::length_error("too many samples");
  totalSamples_ += added;
  blocks_.push_back(std::move(block));
}

void Recording::SetSamples(std::size_t block, std::size_t channel, std::vector<float> samples) {
  std::vector<float>& target = blocks_.at(block).samples.at(channel);
  if (!samples.empty() && samples.size() != blocks_[block].length)
    throw std::invalid_argument("samples differ from the block's length");
  if (totalSamples_ - target.size() + samples.size() > kMaxSamples)
    throw std::length_error("too many samples");
  totalSamples_ = totalSamples_ - target.size() + samples.size();
  target = std::move(samples);
}

void Recording::FitDisplayRange(std::size_t channel) {
  Channel& c = channels_.at(channel);
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (const Block& b : blocks_)
    for (float v : b.samples[channel])
      if (std::isfinite(v)) {
        low = std::min(low, static_cast<double>(v));
        high = std::max(high, static_cast<double>(v));
      }
  if (!(low <= high) || !std::isfinite(high - low)) {
    c.top = 10.0;
    c.bottom = -10.0;
    return;
  }
  const double least = std::max(std::abs(high), std::abs(low)) * 1e-9;
  if (high - low < least || high == low) {
    const double half = least > 0 ? least : 0.5;
    low -= half;
    high += half;
  }
  c.top = high;
  c.bottom = low;
}

Recording Recording::ImportCsv(std::string_view text, std::size_t maxSamples) {
  maxSamples = std::min(maxSamples, kMaxSamples);
  if (text.substr(0, 3) == "\xEF\xBB\xBF")
    text.remove_prefix(3);
  Recording r;
  std::vector<std::string> fields;
  std::vector<std::vector<float>> columns; // the open block's samples per channel
  std::size_t lineNumber = 0;
  std::size_t columnCount = 0;
  char separator = ',';
  bool sawContent = false;
  double blockStart = 0.0;
  double lastTime = 0.0;
  double step = 0.0;  // first time step of the open block, 0 while unknown
  double guide = 0.0; // the step of earlier blocks, for a block of one row
  std::size_t rows = 0;

  const auto closeBlock = [&] {
    if (rows == 0)
      return;
    Block b;
    b.start = blockStart;
    b.length = rows;
    b.interval = rows > 1 ? (lastTime - blockStart) / static_cast<double>(rows - 1)
                          : (guide > 0 ? guide : 1.0);
    if (rows > 1 && guide == 0)
      guide = step;
    b.samples = std::move(columns);
    columns.assign(columnCount - 1, {});
    r.AddBlock(std::move(b));
    rows = 0;
    step = 0;
  };

  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    const std::string_view content = Trim(line);
    if (content.empty() || content.front() == '#')
      continue;
    if (!sawContent) {
      sawContent = true;
      separator = line.find('\t') != std::string_view::npos ? '\t' : ',';
    }
    if (!SplitLine(line, separator, fields))
      throw RecordingError(lineNumber, "a quoted field is not closed");
    if (columnCount == 0) {
      if (fields.size() < 2)
        throw RecordingError(lineNumber, "a recording needs a time column and a channel column");
      if (fields.size() - 1 > kMaxChannels)
        throw RecordingError(lineNumber, "too many channels");
      columnCount = fields.size();
      columns.assign(columnCount - 1, {});
      double unused = 0.0;
      const bool header = std::any_of(fields.begin(), fields.end(), [&](const std::string& f) {
        return !Trim(f).empty() && !ParseNumber(f, unused);
      });
      for (std::size_t c = 1; c < columnCount; ++c) {
        Channel channel;
        if (header)
          SplitNameAndUnit(fields[c], channel.name, channel.unit);
        if (channel.name.empty())
          channel.name = L"Channel " + std::to_wstring(c);
        channel.colour = DefaultTraceColour(c - 1);
        r.AddChannel(std::move(channel));
      }
      if (header)
        continue;
    }
    if (fields.size() != columnCount)
      throw RecordingError(lineNumber, "the line has " + std::to_string(fields.size()) +
                                           " fields, the recording " + std::to_string(columnCount));
    double time = 0.0;
    if (!ParseNumber(fields[0], time) || !std::isfinite(time))
      throw RecordingError(lineNumber, "the time \"" + fields[0] + "\" is not a finite number");
    if (rows > 0) {
      const double delta = time - lastTime;
      if (!(delta > 0))
        throw RecordingError(lineNumber, "the time does not increase");
      const double expected = step > 0 ? step : guide;
      if (expected > 0 && delta > 1.5 * expected)
        closeBlock();
      else if (step == 0)
        step = delta;
    }
    if (rows == 0)
      blockStart = time;
    if (r.totalSamples_ + (rows + 1) * (columnCount - 1) > maxSamples)
      throw RecordingError(lineNumber, "the recording holds too many samples");
    for (std::size_t c = 1; c < columnCount; ++c) {
      double value = 0.0;
      if (!ParseNumber(fields[c], value))
        throw RecordingError(lineNumber, "column " + std::to_string(c + 1) + ": \"" + fields[c] +
                                             "\" is not a number");
      // The host's channels hold floats.
      columns[c - 1].push_back(static_cast<float>(value));
    }
    lastTime = time;
    ++rows;
  }
  if (columnCount == 0)
    throw RecordingError(0, "the file holds no recording");
  closeBlock();
  if (r.BlockCount() == 0)
    throw RecordingError(0, "the file holds no samples");
  for (std::size_t c = 0; c < r.ChannelCount(); ++c)
    r.FitDisplayRange(c);
  return r;
}

} // namespace Vela
