#pragma once
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace MPCalibration {

class CalibrationSettings;

// The parameter text is the tab-separated line that carries a record's calculation part to the
// enumerators:
//   fitType, forceOrigin (0/1), unit name ("INVALID_UNIT" when empty), 0 (placeholder),
//   sumSquaredError, k, k coefficients, n, n raw values, n calibrated values
// with one tab after every item and nothing after the last tab. Numbers are written in the
// classic locale whatever the user's locale, with 6 significant digits as %g writes them.

// The token that stands for an empty unit name.
inline constexpr std::wstring_view kInvalidUnitToken = L"INVALID_UNIT";

// Appends `value` as %g with 6 significant digits, classic locale ("0.1", "1e+06", "0.333333").
void AppendParameterNumber(std::wstring& text, double value);

// Writes the whole parameter text of `settings`. The point count is the shorter of the two
// point vectors. A tab inside the unit name would split the token and shift every later item,
// so it is written as a space; a name longer than the reader takes (1023 characters) is cut.
std::wstring ToParameterText(const CalibrationSettings& settings);

// Reads the items of a parameter text one at a time, the way a wide input stream with the
// classic locale reads them (`>>` skipping leading white space), but without a stream.
//
// Every Read... method stores into its argument only when the item was read, and returns
// whether it was. After one failed read the reader is failed and every later read fails too,
// so a caller may read a fixed sequence of items and check Good() or the last result once.
//
// Counts (the coefficient count k and the point count n) are bounded: a negative count, or a
// count whose numbers cannot fit in the text that remains, is refused. Every number takes at
// least two characters (a digit and a separator), so the rule is
//     count * numbersPerCount <= remaining characters / 2 + kCountSlack;
// the slack keeps a text that was merely cut short readable (its vectors get their full
// length, padded with zeros) while a huge count never allocates more than the text's own size
// plus kCountSlack numbers. A refused count fails the reader and sets CountRefused(): the whole
// text reader rejects the text, the enumerator's head read simply stops there.
class ParameterTextReader {
public:
  static constexpr std::size_t kCountSlack = 1024;
  static constexpr std::size_t kMaxUnitTokenLength = 1023;

  // The reader keeps a view: the text must outlive it (hence no temporaries).
  explicit ParameterTextReader(std::wstring_view text) noexcept : text_(text) {}
  template <class T>
  requires std::same_as<T, std::wstring>
  explicit ParameterTextReader(T&&) = delete;

  // A decimal integer (optional sign) that fits 32 bits.
  bool ReadInt(std::int32_t& value) noexcept;
  // An integer that is 0 (false) or 1 (true), as a stream reads a bool; any other value fails.
  bool ReadBool(bool& value) noexcept;
  // A decimal floating-point number: sign, digits, optional '.', digits, optional exponent.
  // Overflow fails; underflow reads as zero or a subnormal value. Unlike a stream, the reader
  // also takes the non-finite values as %g writes them ("inf", "-inf", "nan", also "infinity"
  // and "nan(...)", any case): the writer produces them for an overflowed sum of squares or a
  // non-finite coefficient, and failing there would drop every later item.
  bool ReadNumber(double& value) noexcept;
  // The unit token: one leading tab is skipped, then characters up to the next tab, which is
  // consumed. A token longer than 1023 characters fails. Double quotes are removed, and
  // "INVALID_UNIT" gives the empty name. At the end of the text the token ends too.
  bool ReadUnitToken(std::wstring& name);
  // A count, bounded as described above for `numbersPerCount` numbers per unit of the count.
  bool ReadCount(std::size_t& count, std::size_t numbersPerCount = 1) noexcept;
  // Sets `values` to `count` zeros, even when the reader has already failed, then reads up to
  // `count` numbers into it, stopping at the first failed read. Use after ReadCount, which has
  // bounded `count`. Returns whether all `count` numbers were read.
  bool ReadNumberList(std::vector<double>& values, std::size_t count);
  // ReadCount followed by ReadNumberList: the coefficients.
  bool ReadNumbers(std::vector<double>& values);

  bool Good() const noexcept { return !failed_; }
  bool CountRefused() const noexcept { return refused_; }
  // Characters not yet consumed.
  std::size_t Remaining() const noexcept { return text_.size() - pos_; }

private:
  bool Fail() noexcept {
    failed_ = true;
    return false;
  }
  void SkipWhiteSpace() noexcept;
  // Parses a signed decimal integer into `value`; false on a missing digit or beyond 64 bits.
  bool ReadInteger(std::int64_t& value) noexcept;

  std::wstring_view text_;
  std::size_t pos_ = 0;
  bool failed_ = false;
  bool refused_ = false;
};

// How far ReadParameterText got.
enum class ParameterTextResult {
  Complete,   // every item was read
  Incomplete, // the text ended early or held a malformed item; reading stopped there
  Refused,    // a count was refused (see ParameterTextReader); reading stopped there
};

// Reads a whole parameter text into `settings`: fitType, forceOrigin, unit.name,
// sumSquaredError, coefficients, rawValues and calibratedValues (the placeholder is discarded).
// The unit's kind becomes 0 and its prefix index 1 whatever the text holds. Fields after the
// item where reading stopped keep their values; a vector whose count was read keeps that length
// with zeros in the elements not read.
ParameterTextResult ReadParameterText(std::wstring_view text, CalibrationSettings& settings);

} // namespace MPCalibration
