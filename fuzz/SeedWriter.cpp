// Writes the seed corpora of the fuzz targets from real saves of typical and unusual records:
//   mpcal_fuzz_seeds <corpus folder>
// fills <folder>/fuzz_settings_load with item files and <folder>/fuzz_parameter_text with the
// parameter texts (one byte per character; the texts are ASCII).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/ItemFile.h"
#include "multipointcalibration/SettingsPersistence.h"

using namespace MPCalibration;
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
  WriteText(text / "malformed.txt", L"2\t0\tV\t0\t0\t3\t1\tx\t");
  WriteText(text / "negative_count.txt", L"0\t1\tmV\t0\t0\t-1\t");
  WriteText(text / "exponents.txt", L"6 1\tA\t0 1e-320 2 -1.5E+3 .5 2 1. 2 3 4");
  return 0;
}
