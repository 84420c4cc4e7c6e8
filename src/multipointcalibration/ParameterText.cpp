#include "multipointcalibration/ParameterText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>

#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalibration {

namespace {

constexpr wchar_t kTab = L'\t';

// White space of the classic locale.
constexpr bool IsSpace(wchar_t c) noexcept {
  return c == L' ' || (c >= L'\t' && c <= L'\r');
}

constexpr bool IsDigit(wchar_t c) noexcept {
  return c >= L'0' && c <= L'9';
}

template <class Int> void AppendInteger(std::wstring& text, Int value) {
  std::array<char, 24> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  text.append(buffer.data(), result.ptr);
}

void AppendTab(std::wstring& text) {
  text.push_back(kTab);
}

// Converts the ASCII characters of a number token already checked for its shape. from_chars
// is locale-independent, which is the point: the text is classic whatever the process uses.
bool ConvertNumber(std::wstring_view token, double& value) {
  std::array<char, 128> small;
  std::string large;
  char* first = small.data();
  if (token.size() > small.size()) {
    large.resize(token.size());
    first = large.data();
  }
  std::size_t length = 0;
  bool negative = false;
  std::size_t i = 0;
  if (token[0] == L'+' || token[0] == L'-') {
    negative = token[0] == L'-';
    i = 1;
  }
  if (negative) {
    first[length++] = '-';
  }
  for (; i < token.size(); ++i) {
    first[length++] = static_cast<char>(token[i]);
  }
  double parsed = 0.0;
  const auto result = std::from_chars(first, first + length, parsed, std::chars_format::general);
  if (result.ptr != first + length) {
    return false;
  }
  if (result.ec == std::errc()) {
    value = parsed;
    return true;
  }
  if (result.ec != std::errc::result_out_of_range) {
    return false;
  }
  // Out of range: too large fails as a stream read does, too small reads as zero. The decimal
  // exponent of the first significant digit tells the two apart.
  std::int64_t digitsBeforePoint = 0;
  std::int64_t leadingZeros = 0;
  bool seenPoint = false, seenSignificant = false;
  std::int64_t exponent = 0;
  for (std::size_t j = negative || token[0] == L'+' ? 1 : 0; j < token.size(); ++j) {
    const wchar_t c = token[j];
    if (c == L'.') {
      seenPoint = true;
    } else if (IsDigit(c)) {
      if (!seenPoint) {
        ++digitsBeforePoint;
      }
      if (!seenSignificant && c == L'0') {
        ++leadingZeros;
      } else {
        seenSignificant = true;
      }
    } else {
      // The exponent: saturate, its exact size does not matter here.
      std::size_t k = j + 1;
      bool negativeExponent = false;
      if (k < token.size() && (token[k] == L'+' || token[k] == L'-')) {
        negativeExponent = token[k] == L'-';
        ++k;
      }
      for (; k < token.size(); ++k) {
        exponent = std::min<std::int64_t>(exponent * 10 + (token[k] - L'0'), 1'000'000'000);
      }
      if (negativeExponent) {
        exponent = -exponent;
      }
      break;
    }
  }
  const std::int64_t magnitude = digitsBeforePoint - leadingZeros - 1 + exponent;
  if (magnitude >= 0) {
    return false;
  }
  value = negative ? -0.0 : 0.0;
  return true;
}

// The length of "inf", "infinity", "nan" or "nan(" letters, digits, '_' ")" at the start of
// `text`, in any case, as %g writes infinity and NaN and from_chars reads them; 0 for none.
std::size_t NonFiniteLength(std::wstring_view text) noexcept {
  const auto startsWith = [text](std::size_t at, std::wstring_view word) {
    if (text.size() - at < word.size()) {
      return false;
    }
    for (std::size_t j = 0; j < word.size(); ++j) {
      const wchar_t c = text[at + j];
      if ((c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c) != word[j]) {
        return false;
      }
    }
    return true;
  };
  if (startsWith(0, L"inf")) {
    return startsWith(3, L"inity") ? 8 : 3;
  }
  if (!startsWith(0, L"nan")) {
    return 0;
  }
  if (text.size() > 3 && text[3] == L'(') {
    std::size_t j = 4;
    while (j < text.size() &&
           (IsDigit(text[j]) || text[j] == L'_' || (text[j] >= L'a' && text[j] <= L'z') ||
            (text[j] >= L'A' && text[j] <= L'Z'))) {
      ++j;
    }
    if (j < text.size() && text[j] == L')') {
      return j + 1;
    }
  }
  return 3;
}

} // namespace

void AppendParameterNumber(std::wstring& text, double value) {
  std::array<char, 64> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, 6);
  text.append(buffer.data(), result.ptr);
}

std::wstring ToParameterText(const CalibrationSettings& settings) {
  const std::size_t points = settings.PointCount();
  std::wstring text;
  text.reserve(32 + settings.unit.name.size() + 14 * (settings.coefficients.size() + 2 * points));

  AppendInteger(text, settings.fitType);
  AppendTab(text);
  text.push_back(settings.forceOrigin ? L'1' : L'0');
  AppendTab(text);
  if (settings.unit.name.empty()) {
    text.append(kInvalidUnitToken);
  } else {
    const std::wstring_view name =
        std::wstring_view(settings.unit.name).substr(0, ParameterTextReader::kMaxUnitTokenLength);
    for (const wchar_t c : name) {
      text.push_back(c == kTab ? L' ' : c);
    }
  }
  AppendTab(text);
  AppendParameterNumber(text, 0.0);
  AppendTab(text);
  AppendParameterNumber(text, settings.sumSquaredError);
  AppendTab(text);
  AppendInteger(text, settings.coefficients.size());
  AppendTab(text);
  for (const double c : settings.coefficients) {
    AppendParameterNumber(text, c);
    AppendTab(text);
  }
  AppendInteger(text, points);
  AppendTab(text);
  for (std::size_t i = 0; i < points; ++i) {
    AppendParameterNumber(text, settings.rawValues[i]);
    AppendTab(text);
  }
  for (std::size_t i = 0; i < points; ++i) {
    AppendParameterNumber(text, settings.calibratedValues[i]);
    AppendTab(text);
  }
  return text;
}

void ParameterTextReader::SkipWhiteSpace() noexcept {
  while (pos_ < text_.size() && IsSpace(text_[pos_])) {
    ++pos_;
  }
}

bool ParameterTextReader::ReadInteger(std::int64_t& value) noexcept {
  SkipWhiteSpace();
  std::size_t i = pos_;
  bool negative = false;
  if (i < text_.size() && (text_[i] == L'+' || text_[i] == L'-')) {
    negative = text_[i] == L'-';
    ++i;
  }
  if (i >= text_.size() || !IsDigit(text_[i])) {
    return false;
  }
  // Accumulate as a negative number so that the most negative value fits too.
  constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
  std::int64_t accumulated = 0;
  bool overflow = false;
  for (; i < text_.size() && IsDigit(text_[i]); ++i) {
    const int digit = text_[i] - L'0';
    if (accumulated < (lowest + digit) / 10) {
      overflow = true;
    } else {
      accumulated = accumulated * 10 - digit;
    }
  }
  pos_ = i;
  if (overflow || (!negative && accumulated == lowest)) {
    return false;
  }
  value = negative ? accumulated : -accumulated;
  return true;
}

bool ParameterTextReader::ReadInt(std::int32_t& value) noexcept {
  std::int64_t wide = 0;
  if (failed_ || !ReadInteger(wide) || wide < std::numeric_limits<std::int32_t>::min() ||
      wide > std::numeric_limits<std::int32_t>::max()) {
    return Fail();
  }
  value = static_cast<std::int32_t>(wide);
  return true;
}

bool ParameterTextReader::ReadBool(bool& value) noexcept {
  std::int64_t wide = 0;
  if (failed_ || !ReadInteger(wide) || (wide != 0 && wide != 1)) {
    return Fail();
  }
  value = wide == 1;
  return true;
}

bool ParameterTextReader::ReadNumber(double& value) noexcept {
  if (failed_) {
    return false;
  }
  SkipWhiteSpace();
  const std::size_t start = pos_;
  std::size_t i = pos_;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < text_.size() && IsDigit(text_[i])) {
      ++i;
    }
    return i - from;
  };
  if (i < text_.size() && (text_[i] == L'+' || text_[i] == L'-')) {
    ++i;
  }
  if (const std::size_t length = NonFiniteLength(text_.substr(i)); length != 0) {
    i += length;
  } else {
    std::size_t mantissaDigits = digits();
    if (i < text_.size() && text_[i] == L'.') {
      ++i;
      mantissaDigits += digits();
    }
    if (mantissaDigits == 0) {
      pos_ = i;
      return Fail();
    }
    if (i < text_.size() && (text_[i] == L'e' || text_[i] == L'E')) {
      ++i;
      if (i < text_.size() && (text_[i] == L'+' || text_[i] == L'-')) {
        ++i;
      }
      if (digits() == 0) {
        // A stream takes the exponent mark and then rejects the number.
        pos_ = i;
        return Fail();
      }
    }
  }
  pos_ = i;
  bool converted = false;
  try {
    converted = ConvertNumber(text_.substr(start, i - start), value);
  } catch (...) {
    converted = false; // only a very long token needs memory; without it the read fails
  }
  return converted || Fail();
}

bool ParameterTextReader::ReadUnitToken(std::wstring& name) {
  if (failed_) {
    return false;
  }
  if (pos_ < text_.size() && text_[pos_] == kTab) {
    ++pos_;
  }
  if (pos_ >= text_.size()) {
    return Fail(); // nothing at all to take
  }
  const std::size_t start = pos_;
  const std::size_t end =
      std::min(text_.find(kTab, start), std::min(text_.size(), start + kMaxUnitTokenLength + 1));
  const std::size_t length = end - start;
  if (length > kMaxUnitTokenLength) {
    pos_ = start + kMaxUnitTokenLength;
    return Fail();
  }
  pos_ = end < text_.size() ? end + 1 : end; // the tab is consumed, not kept
  const std::wstring_view token = text_.substr(start, length);
  if (token == kInvalidUnitToken) {
    name.clear();
    return true;
  }
  std::wstring taken;
  taken.reserve(token.size());
  for (const wchar_t c : token) {
    if (c != L'"') {
      taken.push_back(c);
    }
  }
  name = std::move(taken);
  return true;
}

bool ParameterTextReader::ReadCount(std::size_t& count, std::size_t numbersPerCount) noexcept {
  if (failed_) {
    return false;
  }
  SkipWhiteSpace();
  std::int64_t wide = 0;
  const std::size_t before = pos_;
  if (!ReadInteger(wide)) {
    // Digits that do not fit 64 bits are a count far beyond any text, not a malformed one.
    const bool hadDigits = pos_ != before;
    refused_ = hadDigits;
    return Fail();
  }
  if (wide < 0) {
    refused_ = true;
    return Fail();
  }
  const std::size_t perCount = std::max<std::size_t>(numbersPerCount, 1);
  const std::size_t limit = (Remaining() / 2 + kCountSlack) / perCount;
  if (static_cast<std::uint64_t>(wide) > limit) {
    refused_ = true;
    return Fail();
  }
  count = static_cast<std::size_t>(wide);
  return true;
}

bool ParameterTextReader::ReadNumberList(std::vector<double>& values, std::size_t count) {
  values.assign(count, 0.0);
  for (double& value : values) {
    if (!ReadNumber(value)) {
      return false;
    }
  }
  return true;
}

bool ParameterTextReader::ReadNumbers(std::vector<double>& values) {
  std::size_t count = 0;
  return ReadCount(count) && ReadNumberList(values, count);
}

ParameterTextResult ReadParameterText(std::wstring_view text, CalibrationSettings& settings) {
  ParameterTextReader reader(text);
  settings.unit.unitKind = 0;
  settings.unit.prefixIndex = 1;
  double placeholder = 0.0;
  std::size_t points = 0;
  const bool complete = reader.ReadInt(settings.fitType) && reader.ReadBool(settings.forceOrigin) &&
                        reader.ReadUnitToken(settings.unit.name) &&
                        reader.ReadNumber(placeholder) &&
                        reader.ReadNumber(settings.sumSquaredError) &&
                        reader.ReadNumbers(settings.coefficients) && reader.ReadCount(points, 2);
  if (!complete) {
    return reader.CountRefused() ? ParameterTextResult::Refused : ParameterTextResult::Incomplete;
  }
  // Both vectors take the point count, also when the raw values stop early.
  const bool rawRead = reader.ReadNumberList(settings.rawValues, points);
  const bool calibratedRead = reader.ReadNumberList(settings.calibratedValues, points);
  return rawRead && calibratedRead ? ParameterTextResult::Complete
                                   : ParameterTextResult::Incomplete;
}

} // namespace MPCalibration
