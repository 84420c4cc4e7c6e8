#include "RecordingConverter.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <limits>
#include <set>
#include <string_view>
#include <vector>

#include "DelimitedLine.h"
#include "LineReader.h"
#include "NumberText.h"
#include "ReplacingFile.h"
#include "ToolError.h"

namespace MPCalTool {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool ParseIndex(std::string_view text, std::size_t& index) {
  if (text.empty())
    return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), index);
  return result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

// The 0-based columns named by `list`, ascending and without repeats.
std::vector<std::size_t> ResolveColumns(const ColumnChoice& choice, std::string_view line,
                                        const std::vector<Field>& fields, bool header) {
  const std::size_t count = fields.size();
  std::set<std::size_t> chosen;
  if (!choice.list) {
    for (std::size_t c = count > 1 ? 1 : 0; c < count; ++c)
      chosen.insert(c);
    return {chosen.begin(), chosen.end()};
  }
  const auto check = [&](std::size_t number, std::string_view item) {
    if (number == 0 || number > count)
      throw ToolError("--columns: column " + std::string(item) + " does not exist (the file has " +
                      std::to_string(count) + " column" + (count == 1 ? "" : "s") + ")");
  };
  std::string_view rest = *choice.list;
  if (Trim(rest).empty())
    return {};
  for (;;) {
    const auto comma = rest.find(',');
    const std::string_view item = Trim(rest.substr(0, comma));
    std::size_t first = 0;
    std::size_t last = 0;
    const auto dash = item.find('-');
    if (ParseIndex(item, first)) {
      check(first, item);
      chosen.insert(first - 1);
    } else if (dash != std::string_view::npos && ParseIndex(Trim(item.substr(0, dash)), first) &&
               ParseIndex(Trim(item.substr(dash + 1)), last)) {
      if (first > last)
        throw ToolError("--columns: the range " + std::string(item) + " runs backwards");
      check(first, item);
      check(last, item);
      for (std::size_t c = first; c <= last; ++c)
        chosen.insert(c - 1);
    } else {
      if (item.empty())
        throw ToolError("--columns: an empty item in the list");
      if (!header)
        throw ToolError("--columns: there is no column named \"" + std::string(item) +
                        "\" (the file has no header line)");
      std::size_t found = count;
      for (std::size_t c = 0; c < count && found == count; ++c) {
        if (DelimitedLine::Text(line, fields[c]) == item)
          found = c;
      }
      if (found == count)
        throw ToolError("--columns: there is no column named \"" + std::string(item) + "\"");
      chosen.insert(found);
    }
    if (comma == std::string_view::npos)
      break;
    rest.remove_prefix(comma + 1);
  }
  return {chosen.begin(), chosen.end()};
}

bool LooksLikeHeader(std::string_view line, const std::vector<Field>& fields) {
  double value = 0.0;
  return std::any_of(fields.begin(), fields.end(), [&](const Field& f) {
    const std::string text = DelimitedLine::Text(line, f);
    return !text.empty() && !ParseNumber(text, value);
  });
}

// A chosen field of one batch: where it stands in its line, and whether it was empty (a missing
// sample, copied as empty).
struct Slot {
  std::uint32_t begin;
  std::uint32_t end;
  bool empty;
};

} // namespace

ConversionSummary RecordingConverter::Convert(const std::filesystem::path& input,
                                              const std::filesystem::path& output) const {
  ConversionSummary summary;
  std::optional<ReplacingFile> out;
  {
    LineReader reader(input);
    out.emplace(output);
    const std::string& name = reader.DisplayName();
    bool sawContent = false;
    char separator = ',';
    std::vector<std::size_t> chosen;
    std::vector<std::string> columnNames;
    std::vector<std::string_view> lines;
    std::vector<Field> fields;
    std::vector<Slot> slots;
    std::vector<float> values;
    std::vector<std::uint32_t> outsideValues; // values outside the guard's range, this batch
    std::vector<std::uint32_t> slotEnds;      // per line: slots used up to and including the line

    const auto where = [&](std::size_t lineIndex) {
      return name + ":" + std::to_string(reader.FirstLineNumber() + lineIndex) + ": ";
    };
    const auto columnLabel = [&](std::size_t c) {
      std::string label = "column " + std::to_string(c + 1);
      if (c < columnNames.size() && !columnNames[c].empty())
        label += " (\"" + columnNames[c] + "\")";
      return label;
    };

    while (reader.NextBatch(lines)) {
      slots.clear();
      values.clear();
      outsideValues.clear();
      slotEnds.clear();
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.size() > UINT32_MAX)
          throw ToolError(where(i) + "line too long");
        if (DelimitedLine::IsSkippable(line)) {
          slotEnds.push_back(static_cast<std::uint32_t>(slots.size()));
          continue;
        }
        if (!sawContent) {
          sawContent = true;
          separator = DelimitedLine::DetectSeparator(line);
          if (!DelimitedLine::Split(line, separator, fields))
            throw ToolError(where(i) + "a quoted field is not closed");
          const bool header = LooksLikeHeader(line, fields);
          chosen = ResolveColumns(columns_, line, fields, header);
          summary.columns = chosen.size();
          if (header) {
            for (const Field& f : fields)
              columnNames.push_back(DelimitedLine::Text(line, f));
          }
          if (guard_) {
            for (const std::size_t c : chosen)
              summary.outside.push_back({columnLabel(c), 0});
          }
          if (header) {
            slotEnds.push_back(static_cast<std::uint32_t>(slots.size()));
            continue;
          }
        }
        ++summary.rows;
        if (!chosen.empty()) {
          if (!DelimitedLine::Split(line, separator, fields))
            throw ToolError(where(i) + "a quoted field is not closed");
          if (fields.size() <= chosen.back())
            throw ToolError(where(i) + columnLabel(chosen.back()) + " is missing (the line has " +
                            std::to_string(fields.size()) + " field" +
                            (fields.size() == 1 ? "" : "s") + ")");
          for (std::size_t k = 0; k < chosen.size(); ++k) {
            const std::size_t c = chosen[k];
            const Field& f = fields[c];
            double value = 0.0;
            bool empty = false;
            if (!f.quoted) {
              const std::string_view text = line.substr(f.begin, f.end - f.begin);
              if (!ParseNumber(text, value)) {
                empty = Trim(text).empty();
                if (!empty)
                  throw ToolError(where(i) + columnLabel(c) + ": \"" + std::string(Trim(text)) +
                                  "\" is not a number");
              }
            } else {
              const std::string text = DelimitedLine::Text(line, f);
              if (!ParseNumber(text, value)) {
                empty = text.empty();
                if (!empty)
                  throw ToolError(where(i) + columnLabel(c) + ": \"" + text + "\" is not a number");
              }
            }
            slots.push_back(
                {static_cast<std::uint32_t>(f.begin), static_cast<std::uint32_t>(f.end), empty});
            // The host's channels hold floats: the value is narrowed before it is calibrated.
            float sample = static_cast<float>(value);
            if (guard_ && !empty && (sample < guard_->lowest || sample > guard_->highest)) {
              ++summary.outside[k].samples;
              outsideValues.push_back(static_cast<std::uint32_t>(values.size()));
              if (guard_->policy == RangeGuard::Policy::Clamp)
                sample =
                    static_cast<float>(sample < guard_->lowest ? guard_->lowest : guard_->highest);
            }
            values.push_back(sample);
          }
        }
        slotEnds.push_back(static_cast<std::uint32_t>(slots.size()));
      }

      if (calibrate_) {
        const auto begin = std::chrono::steady_clock::now();
        calibrator_.Apply(values.data(), values.size());
        summary.calibrationSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
      }
      if (guard_ && guard_->policy == RangeGuard::Policy::NaN) {
        for (const std::uint32_t v : outsideValues)
          values[v] = std::numeric_limits<float>::quiet_NaN();
      }

      std::string& buffer = out->Buffer();
      std::size_t slot = 0;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        std::size_t cursor = 0;
        for (; slot < slotEnds[i]; ++slot) {
          const Slot& s = slots[slot];
          buffer.append(line.data() + cursor, s.begin - cursor);
          if (!s.empty) {
            AppendShortestFloat(buffer, values[slot]);
            ++summary.samples;
          }
          cursor = s.end;
        }
        buffer.append(line.data() + cursor, line.size() - cursor);
        buffer += '\n';
        out->FlushIfFull();
      }
      summary.lines += lines.size();
    }
    if (!sawContent)
      throw ToolError(
          name + (summary.lines == 0 ? ": the file is empty" : ": the file holds no data lines"));
  }
  // The input is closed by now, so the output may replace it even where open files cannot be
  // renamed over.
  out->Commit();
  return summary;
}

} // namespace MPCalTool
