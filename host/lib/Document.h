#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Recording.h"

namespace Vela {

// A recording: channels of float samples, organised in records (blocks). Every record holds one
// block of samples per channel; blocks of one record may differ in length between records.
class Document {
public:
  struct Channel {
    std::wstring name;
    std::wstring unit;
  };
  using Block = std::vector<float>;

  Document() = default;
  explicit Document(std::vector<Channel> channels) : channels_(std::move(channels)) {}

  std::size_t ChannelCount() const noexcept { return channels_.size(); }
  std::size_t RecordCount() const noexcept { return records_.size(); }
  const Channel& ChannelAt(std::size_t channel) const { return channels_.at(channel); }
  const std::vector<Channel>& Channels() const noexcept { return channels_; }

  // Appends a record with one block per channel (blocks.size() == ChannelCount()).
  void AddRecord(std::vector<Block> blocks);
  // The samples of one channel in one record, shared with the enumerators that read them.
  std::shared_ptr<const Block> Samples(std::size_t record, std::size_t channel) const;

  // The raw channels of a recording, one record per block (a calculated channel not yet filled
  // has empty blocks).
  static Document FromRecording(const Recording& recording);

  bool operator==(const Document& other) const;

private:
  std::vector<Channel> channels_;
  // records_[record][channel]
  std::vector<std::vector<std::shared_ptr<const Block>>> records_;
};

// A ramp of `length` samples from `first` to `last` inclusive (a test signal).
Document::Block Ramp(std::size_t length, float first, float last);

} // namespace Vela
