// The parameter-text reader over arbitrary text: every byte is one character. Besides the
// sanitizers' checks, a text read completely must write back to a text that reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/ParameterText.h"

using namespace MPCalibration;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text(data, data + size);

  // The enumerator's head read.
  {
    ParameterTextReader reader(text);
    std::int32_t fitType = 0;
    bool forceOrigin = false;
    std::wstring unit;
    double placeholder = 0.0, sumSquaredError = 0.0;
    std::vector<double> coefficients{0.0, 1.0};
    (void)(reader.ReadInt(fitType) && reader.ReadBool(forceOrigin) && reader.ReadUnitToken(unit) &&
           reader.ReadNumber(placeholder) && reader.ReadNumber(sumSquaredError) &&
           reader.ReadNumbers(coefficients));
    if (coefficients.size() > text.size() / 2 + ParameterTextReader::kCountSlack) {
      __builtin_trap(); // the count bound did not hold
    }
  }

  CalibrationSettings settings;
  if (ReadParameterText(text, settings) != ParameterTextResult::Complete) {
    return 0;
  }
  const std::wstring written = settings.ToParameterText();
  CalibrationSettings again;
  if (ReadParameterText(written, again) != ParameterTextResult::Complete ||
      again.ToParameterText() != written) {
    __builtin_trap(); // the written form is not a fixed point
  }
  return 0;
}
