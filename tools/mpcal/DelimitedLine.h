#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace MPCalTool {

// One field of a delimited line: where it stands in the line and its text without the quotes.
struct Field {
  std::size_t begin = 0; // offset of the field's first character in the line
  std::size_t end = 0;   // offset one past its last character
  bool quoted = false;   // the field was enclosed in double quotes
};

// Splitting of one line of a CSV or TSV file. Fields may be enclosed in double quotes, inside
// which the separator is text and "" stands for one quote; a field cannot span lines.
class DelimitedLine {
public:
  // The separator of a file, from its first content line: a tab when the line holds one, else a
  // comma.
  static char DetectSeparator(std::string_view line) noexcept;

  // True when the line is to be passed over as content: empty, blank or a '#' comment.
  static bool IsSkippable(std::string_view line) noexcept;

  // Splits `line` into `fields` (cleared first). False when a quote is left open.
  static bool Split(std::string_view line, char separator, std::vector<Field>& fields);

  // The text of a field: quotes removed and "" turned into ", blanks around an unquoted field
  // trimmed.
  static std::string Text(std::string_view line, const Field& field);
};

} // namespace MPCalTool
