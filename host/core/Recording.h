#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace Vela {

// Bad recording input: the message names the line (1-based, 0 when the fault has no line).
class RecordingError : public std::runtime_error {
public:
  RecordingError(std::size_t line, const std::string& what);
  std::size_t Line() const noexcept { return line_; }

private:
  std::size_t line_;
};

// A recording as the host keeps it: channels of float samples organised in blocks (records).
// Every block holds one sample vector per channel, all of the block's length, except that a
// calculated channel's vector stays empty until the host fills it.
class Recording {
public:
  // The host's own linear conversion of a channel's raw values: value = raw x factor + offset,
  // shown in `unit`, applied only when `active`.
  struct UnitsConversion {
    bool active = false;
    double factor = 1.0;
    double offset = 0.0;
    std::wstring unit;
    bool operator==(const UnitsConversion&) const = default;
  };

  struct Channel {
    std::wstring name;
    std::wstring unit;             // the raw samples' unit
    std::uint32_t colour = 0x0000; // trace colour, 0x00BBGGRR
    double top = 10.0;             // display range in raw values
    double bottom = -10.0;
    UnitsConversion conversion;
    bool calculated = false; // filled by the host from a calculation, not imported
    bool operator==(const Channel&) const = default;

    // `raw` in data units: through the conversion when it is active.
    double ToDataUnits(double raw) const noexcept {
      return conversion.active ? raw * conversion.factor + conversion.offset : raw;
    }
    const std::wstring& DataUnit() const noexcept {
      return conversion.active ? conversion.unit : unit;
    }
  };

  struct Block {
    double start = 0.0;    // time of the first sample, seconds
    double interval = 1.0; // seconds between samples
    std::size_t length = 0;
    std::vector<std::vector<float>> samples; // per channel
    bool operator==(const Block&) const = default;
  };

  // The user's selection: sample offsets inside blocks, end inclusive. Kept with the document.
  struct Selection {
    bool exists = false;
    std::int32_t startPosition = 0;
    std::int32_t startBlock = 0;
    std::int32_t endPosition = 0;
    std::int32_t endBlock = 0;
    bool operator==(const Selection&) const = default;
  };

  // Bounds a damaged or hostile input cannot exceed.
  static constexpr std::size_t kMaxChannels = 4096;
  static constexpr std::size_t kMaxSamples = std::size_t{1} << 25; // all channels together

  Recording() = default;

  // Reads a CSV or TSV recording: the first column is time in seconds, every other column a
  // channel; a line with a field that is not a number is a header naming the channels, each as
  // "name" or "name (unit)". Blank lines and '#' comments are skipped; numbers are always in the
  // classic form. A step in time larger than 1.5 sample intervals starts a new block. Throws
  // RecordingError naming the line on anything else, and on the line that would take the
  // recording beyond `maxSamples` samples (all channels together, at most kMaxSamples).
  static Recording ImportCsv(std::string_view text, std::size_t maxSamples = kMaxSamples);

  std::size_t ChannelCount() const noexcept { return channels_.size(); }
  std::size_t BlockCount() const noexcept { return blocks_.size(); }
  const Channel& ChannelAt(std::size_t channel) const { return channels_.at(channel); }
  Channel& ChannelAt(std::size_t channel) { return channels_.at(channel); }
  const std::vector<Channel>& Channels() const noexcept { return channels_; }
  const Block& BlockAt(std::size_t block) const { return blocks_.at(block); }
  const std::vector<Block>& Blocks() const noexcept { return blocks_; }
  // One channel's samples in one block (empty for a calculated channel not yet filled).
  const std::vector<float>& Samples(std::size_t block, std::size_t channel) const {
    return blocks_.at(block).samples.at(channel);
  }
  bool HasData(std::size_t block, std::size_t channel) const {
    return block < blocks_.size() && channel < channels_.size() &&
           !blocks_[block].samples[channel].empty();
  }

  // Adds a channel; every block gets an empty sample vector for it. Returns its index.
  std::size_t AddChannel(Channel channel);
  // Appends a block: one vector per channel, each `length` long or empty (a calculated channel
  // not yet filled). Throws std::invalid_argument otherwise.
  void AddBlock(Block block);
  // Replaces one channel's samples in one block; `samples` is the block's length or empty.
  void SetSamples(std::size_t block, std::size_t channel, std::vector<float> samples);

  // Sets the display range to the range of the channel's finite samples over all blocks, widened
  // to a span of at least 1e-9 of its magnitude (or 1 around zero); (10, -10) when there are
  // none.
  void FitDisplayRange(std::size_t channel);

  Selection selection;

  bool operator==(const Recording& other) const {
    return channels_ == other.channels_ && blocks_ == other.blocks_;
  }

private:
  std::vector<Channel> channels_;
  std::vector<Block> blocks_;
  std::size_t totalSamples_ = 0;
};

// Trace colours given to channels in order (0x00BBGGRR).
std::uint32_t DefaultTraceColour(std::size_t channel) noexcept;

} // namespace Vela
