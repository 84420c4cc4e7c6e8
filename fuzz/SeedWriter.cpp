// Writes the seed corpora of the fuzz targets from real saves of typical and unusual records:
//   mpcal_fuzz_seeds <corpus folder>
// fills <folder>/fuzz_settings_load with item files and <folder>/fuzz_parameter_text with the
// parameter texts (one byte per character; the texts are ASCII), and <folder>/fuzz_table_load with
// saved tables.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "foundation/ItemFile.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/SettingsPersistence.h"
#include "plotting/TablePersistence.h"
#include "plotting/TabulatedData.h"

using namespace MPCalibration;
using namespace Tarn;
namespace fs = std::filesystem;

namespace {

std::vector<CalibrationSettings> Records() {
  std::vector<CalibrationSettings> records(1); // fresh
  CalibrationSettings linear;
  linear.showCalculated = true;
  linear.sourceChannel = 0;
  linear.unit.name = L"mmHg";
  linear.coefficients = {0.5, 2};
  linear.rawValues = {0, 1};
  linear.calibratedValues = {0.5, 2.5};
  records.push_back(linear);
  CalibrationSettings quintic;
  quintic.fitType = 4;
  quintic.forceOrigin = true;
  quintic.unit = {{1, 9}, L"degrees C"};
  quintic.sumSquaredError = 1.25e-7;
  quintic.coefficients = {0, 1.5, -0.25, 3e-3, -4e-5, 1.0 / 3};
  for (int i = 0; i < 12; ++i) {
    quintic.rawValues.push_back(0.123456789 * i);
    quintic.calibratedValues.push_back(1e6 * i - 17.5);
  }
  quintic.rangeTop = 1200;
  quintic.rangeBottom = -50;
  quintic.decimalPlaces = 1;
  records.push_back(quintic);
  CalibrationSettings pointToPoint;
  pointToPoint.fitType = 7;
  pointToPoint.unit.name = L"\"in\"";
  pointToPoint.coefficients = {0, 0, 1, 10, 2, 40};
  pointToPoint.rawValues = {0, 1, 2, 3, 4};
  pointToPoint.calibratedValues = {0, 10, 40};
  pointToPoint.stringSet = {L"", L"alpha", L"beta"};
  records.push_back(pointToPoint);
  return records;
}

// An empty table, the curve window's six columns, and columns of unequal lengths holding the
// values a float column can hold.
std::vector<GUILib::TabulatedTable> Tables() {
  std::vector<GUILib::TabulatedTable> tables(3);
  GUILib::TabulatedTable& curve = tables[1];
  (void)curve.SetColumnCount(6); // the fresh columns are valid below
  (void)curve.SetColumnName(0, L"Raw Values");
  (void)curve.SetColumnUnits(0, L"mV");
  (void)curve.SetColumnName(1, L"Fitted Values");
  (void)curve.SetColumnUnits(1, L"mmHg");
  for (int i = 0; i < 101; ++i) {
    (void)curve.AppendValue(0, 0.1f * static_cast<float>(i));
    (void)curve.AppendValue(1, 2.0f * static_cast<float>(i) + 0.5f);
  }
  for (int c = 2; c < 6; ++c)
    for (int i = 0; i < 4; ++i)
      (void)curve.AppendValue(c, static_cast<float>(i * (c % 2 ? 2 : 1)));
  GUILib::TabulatedTable& odd = tables[2];
  (void)odd.AddColumn(L"", L"");
  (void)odd.AddColumn(L"x \u00b0C", L"\u00b5V");
  (void)odd.AddColumn(L"empty", L"");
  const float special[] = {
      std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -0.0f,
      std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max()};
  (void)odd.AppendValues(0, special);
  (void)odd.AppendValue(1, 1.0f);
  return tables;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const fs::path& path, const std::wstring& text) {
  WriteFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: mpcal_fuzz_seeds <corpus folder>\n";
    return 2;
  }
  const fs::path load = fs::path(argv[1]) / "fuzz_settings_load";
  const fs::path text = fs::path(argv[1]) / "fuzz_parameter_text";
  fs::create_directories(load);
  fs::create_directories(text);
  int n = 0;
  for (const CalibrationSettings& record : Records()) {
    std::vector<std::uint8_t> bytes;
    ItemFileWriter writer(bytes);
    if (SaveSettings(writer, record) != Tarn::hr::ok) {
      return 1;
    }
    WriteFile(load / ("save" + std::to_string(n) + ".mpif"), bytes);
    WriteText(text / ("text" + std::to_string(n) + ".txt"), record.ToParameterText());
    // The same record as a version-1 document (no unit block).
    std::vector<std::uint8_t> old;
    ItemFileWriter v1(old);
    (void)v1.WriteInt(1);
    (void)v1.WriteInt(record.showCalculated);
    (void)v1.WriteInt(record.sourceChannel);
    (void)v1.WriteInt(record.decimalPlaces);
    (void)v1.WriteDouble(record.rangeTop);
    (void)v1.WriteDouble(record.rangeBottom);
    (void)v1.WriteInt(static_cast<std::int32_t>(record.stringSet.size()));
    for (const auto& s : record.stringSet) {
      (void)v1.WriteString(s);
    }
    (void)v1.WriteString(record.ToParameterText());
    WriteFile(load / ("version1_" + std::to_string(n) + ".mpif"), old);
    ++n;
  }
  const fs::path tables = fs::path(argv[1]) / "fuzz_table_load";
  fs::create_directories(tables);
  n = 0;
  for (const GUILib::TabulatedTable& table : Tables()) {
    std::vector<std::uint8_t> bytes;
    ItemFileWriter writer(bytes);
    if (GUILib::SaveTable(writer, table) != Tarn::hr::ok) {
      return 1;
    }
    WriteFile(tables / ("table" + std::to_string(n++) + ".mpif"), bytes);
  }
  WriteText(text / "malformed.txt", L"2\t0\tV\t0\t0\t3\t1\tx\t");
  WriteText(text / "negative_count.txt", L"0\t1\tmV\t0\t0\t-1\t");
  WriteText(text / "exponents.txt", L"6 1\tA\t0 1e-320 2 -1.5E+3 .5 2 1. 2 3 4");
  return 0;
}
