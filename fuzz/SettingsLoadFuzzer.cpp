// The settings loader over an arbitrary item file. Input that does not start with the file's
// magic gets a valid header in front, so that the fuzzer spends its time on the items. Any load,
// refused or not, must leave a record that saves; a successful load must save a document that
// loads and saves to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "foundation/ItemFile.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/SettingsPersistence.h"

using namespace MPCalibration;
using namespace Tarn;

namespace {
std::vector<std::uint8_t> SaveOrTrap(const CalibrationSettings& settings) {
  std::vector<std::uint8_t> bytes;
  ItemFileWriter writer(bytes);
  if (SaveSettings(writer, settings) != Tarn::hr::ok) {
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

  CalibrationSettings settings;
  ItemFileReader reader(file);
  const Tarn::HResult status = LoadSettings(reader, settings);
  const std::vector<std::uint8_t> saved = SaveOrTrap(settings);
  if (status != Tarn::hr::ok) {
    return 0;
  }
  CalibrationSettings again;
  ItemFileReader savedReader(saved);
  if (LoadSettings(savedReader, again) != Tarn::hr::ok || !savedReader.AtEnd() ||
      SaveOrTrap(again) != saved) {
    __builtin_trap();
  }
  return 0;
}
