#include "Document.h"

#include <stdexcept>

namespace Vela {

void Document::AddRecord(std::vector<Block> blocks) {
  if (blocks.size() != channels_.size())
    throw std::invalid_argument("one block per channel");
  std::vector<std::shared_ptr<const Block>> record;
  record.reserve(blocks.size());
  for (auto& b : blocks)
    record.push_back(std::make_shared<const Block>(std::move(b)));
  records_.push_back(std::move(record));
}

std::shared_ptr<const Document::Block> Document::Samples(std::size_t record,
                                                         std::size_t channel) const {
  return records_.at(record).at(channel);
}

Document Document::FromRecording(const Recording& recording) {
  std::vector<Channel> channels;
  for (const auto& c : recording.Channels())
    channels.push_back({c.name, c.unit});
  Document d(std::move(channels));
  for (const auto& b : recording.Blocks())
    d.AddRecord(b.samples);
  return d;
}

bool Document::operator==(const Document& other) const {
  if (channels_.size() != other.channels_.size() || records_.size() != other.records_.size())
    return false;
  for (std::size_t c = 0; c < channels_.size(); ++c)
    if (channels_[c].name != other.channels_[c].name ||
        channels_[c].unit != other.channels_[c].unit)
      return false;
  for (std::size_t r = 0; r < records_.size(); ++r)
    for (std::size_t c = 0; c < channels_.size(); ++c)
      if (*records_[r][c] != *other.records_[r][c])
        return false;
  return true;
}

Document::Block Ramp(std::size_t length, float first, float last) {
  Document::Block b(length);
  for (std::size_t i = 0; i < length; ++i)
    b[i] = length > 1
               ? first + (last - first) * static_cast<float>(i) / static_cast<float>(length - 1)
               : first;
  return b;
}

} // namespace Vela
