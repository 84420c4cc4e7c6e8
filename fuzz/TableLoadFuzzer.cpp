// The table loader over an arbitrary item file, with a valid header put in front of input that
// lacks one. A refused load must leave the table as it was; a successful one must save a document
// that loads back to the same table and saves to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "foundation/ItemFile.h"
#include "plotting/TablePersistence.h"
#include "plotting/TabulatedData.h"

using namespace GUILib;
using namespace Tarn;

namespace {
std::vector<std::uint8_t> SaveOrTrap(const TabulatedTable& table) {
  std::vector<std::uint8_t> bytes;
  ItemFileWriter writer(bytes);
  if (SaveTable(writer, table) != hr::ok) {
    __builtin_trap();
  }
  return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file;
  if (size < 4 || std::memcmp(data, ItemFile::kMagic, 4) != 0) {
    ItemFileWriter header(file);
  }
  file.insert(file.end(), data, data + size);

  TabulatedTable table;
  (void)table.AddColumn(L"before", L"V"); // the marker a refused load must keep
  (void)table.AppendValue(0, 1.5f);
  const std::vector<std::uint8_t> before = SaveOrTrap(table);
  ItemFileReader reader(file);
  if (LoadTable(reader, table) != hr::ok) {
    if (SaveOrTrap(table) != before) {
      __builtin_trap();
    }
    return 0;
  }
  const std::vector<std::uint8_t> saved = SaveOrTrap(table);
  TabulatedTable again;
  ItemFileReader savedReader(saved);
  if (LoadTable(savedReader, again) != hr::ok || !savedReader.AtEnd() ||
      SaveOrTrap(again) != saved) {
    __builtin_trap();
  }
  return 0;
}
