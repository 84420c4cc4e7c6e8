#include "foundation/BasicFormatStream.h"

namespace Tarn {

BasicFormatStream::BasicFormatStream(std::wstring_view format, std::wstreambuf& target)
    : format_(format), target_(target) {
  if (!format_.hasPlaceholders()) {
    target_.sputn(format_.text().data(), static_cast<std::streamsize>(format_.text().size()));
    complete_ = true;
  }
}

void BasicFormatStream::addArgument(std::wstring output) {
  if (!format_.hasPlaceholders()) {
    target_.sputn(output.data(), static_cast<std::streamsize>(output.size()));
    return;
  }
  if (complete_)
    return;
  const int argument = ++written_;
  if (format_.usesArgument(argument)) {
    if (outputs_.size() < static_cast<std::size_t>(argument))
      outputs_.resize(static_cast<std::size_t>(argument));
    outputs_[static_cast<std::size_t>(argument - 1)] = std::move(output);
  }
  if (argument == format_.expectedArguments())
    finish();
}

void BasicFormatStream::finish() {
  if (complete_)
    return;
  complete_ = true;
  const std::wstring text = format_.assemble(outputs_);
  target_.sputn(text.data(), static_cast<std::streamsize>(text.size()));
  outputs_.clear();
}

} // namespace Tarn
