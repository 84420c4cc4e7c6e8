#pragma once
#include <cstdint>

#include "foundation/HResult.h"

namespace Tarn {
class ItemReader;
class ItemWriter;
} // namespace Tarn

namespace MPCalibration {

class CalibrationSettings;

// The version of the persisted form that SaveSettings writes.
inline constexpr std::int32_t kSettingsVersion = 2;

// Writes the persisted form, version 2: version, showCalculated, sourceChannel, decimalPlaces,
// rangeTop, rangeBottom, the set size and the strings of stringSet, the parameter text, then
// the unit (prefix index, name, kind). S_OK when the writer's status after the last item is
// not negative, else E_FAIL; single writes are not checked one by one.
[[nodiscard]] Tarn::HResult SaveSettings(Tarn::ItemWriter& writer,
                                         const CalibrationSettings& settings) noexcept;

// Reads a persisted form into `settings`.
// - A version above 2 (as an unsigned number, so negative ones too) returns 0xA0048205 with
//   nothing else read and the record untouched; a version that cannot be read returns E_FAIL,
//   the record untouched.
// - Versions 0 and 1 have no unit block and return the status of the parameter-text read;
//   version 2 returns S_OK, or E_FAIL when the reader's status after the unit is negative.
// - Each field is assigned only when its item was read; fields read before a failure keep
//   their new values, which leaves a record that can still be saved.
// Damaged documents: a negative set size, or one above the reader's RemainingItemsBound(), and
// a parameter text whose coefficient or point count is refused (see ParameterTextReader) fail
// the load at once with E_FAIL. The set's strings are read one at a time and the loop ends at
// the first failed read, so a set size the stream cannot back never loops or allocates beyond
// what the stream holds.
// Running out of memory gives E_OUTOFMEMORY.
[[nodiscard]] Tarn::HResult LoadSettings(Tarn::ItemReader& reader,
                                         CalibrationSettings& settings) noexcept;

} // namespace MPCalibration
