#include "foundation/FormatText.h"

#include <climits>

namespace Tarn {

FormatText::FormatText(std::wstring_view format) : format_(format) {
  map_.fill(-1);
  bool escaped = false;
  std::size_t i = 0;
  while (i < format_.size()) {
    if (format_[i] != L'%') {
      ++i;
      continue;
    }
    if (i + 1 < format_.size() && format_[i + 1] == L'%') {
      escaped = true;
      i += 2;
      continue;
    }
    // Only digits directly after the percent sign make a number: a space or a sign in front of
    // them ("50 % 3") is literal text.
    std::size_t j = i + 1;
    long n = 0;
    while (j < format_.size() && format_[j] >= L'0' && format_[j] <= L'9') {
      n = n > (LONG_MAX - 9) / 10 ? LONG_MAX : n * 10 + (format_[j] - L'0');
      ++j;
    }
    if (j == i + 1 || n == 0) {
      ++i;
      continue;
    }
    if (j < format_.size() && format_[j] == L'\\')
      ++j;
    if (n > highest_)
      highest_ = n > INT_MAX ? INT_MAX : static_cast<int>(n);
    if (n <= kMaxArgument && static_cast<int>(placeholders_.size()) < kMaxPlaceholders) {
      map_[n] = static_cast<int>(placeholders_.size());
      placeholders_.push_back({i, j, escaped, static_cast<int>(n)});
      escaped = false;
    }
    i = j;
  }
  trailingEscaped_ = escaped;
}

bool FormatText::usesArgument(int argument) const noexcept {
  return argument >= 1 && argument <= kMaxArgument && map_[argument] >= 0;
}

void FormatText::appendLiteral(std::wstring& out, std::size_t from, std::size_t to,
                               bool escaped) const {
  if (!escaped) {
    out.append(format_, from, to - from);
    return;
  }
  for (std::size_t k = from; k < to; ++k) {
    out += format_[k];
    if (format_[k] == L'%' && k + 1 < to && format_[k + 1] == L'%')
      ++k;
  }
}

std::wstring FormatText::assemble(const std::vector<std::wstring>& outputs) const {
  std::wstring out;
  std::size_t pos = 0;
  for (std::size_t p = 0; p < placeholders_.size(); ++p) {
    const Placeholder& ph = placeholders_[p];
    appendLiteral(out, pos, ph.start, ph.escapedBefore);
    // A marker whose argument a later marker took over stays empty.
    const auto index = static_cast<std::size_t>(ph.argument - 1);
    if (map_[ph.argument] == static_cast<int>(p) && index < outputs.size())
      out += outputs[index];
    pos = ph.end;
  }
  appendLiteral(out, pos, format_.size(), trailingEscaped_);
  return out;
}

} // namespace Tarn
