#pragma once

#include "foundation/HResult.h"

namespace Tarn {
class ItemReader;
class ItemWriter;
} // namespace Tarn

namespace GUILib {

class TabulatedTable;

// The persisted form of a table: the column count (int), each column's length (int) in column
// order, then for each column its name (string), its units (string) and its values in row order
// (doubles, which hold every float exactly). S_OK when the writer's status after the last item
// is not negative, else E_FAIL.
[[nodiscard]] Tarn::HResult SaveTable(Tarn::ItemWriter& writer,
                                      const TabulatedTable& table) noexcept;

// Reads a persisted form and, only when all of it was read, replaces the table's columns with it
// (one reset notification); otherwise the table is untouched and the result is E_FAIL.
// A negative count or length is refused at once, and so are counts whose items the reader says
// it cannot hold. Values are read one at a time, so a length the stream cannot back stops at its
// end instead of allocating ahead of what was read. Running out of memory gives E_OUTOFMEMORY.
[[nodiscard]] Tarn::HResult LoadTable(Tarn::ItemReader& reader, TabulatedTable& table) noexcept;

} // namespace GUILib
