#pragma once
#include <cmath>

namespace Tarn {

// The two transcendental functions of the calibration arithmetic, shared by the fit evaluation
// and the channel enumerator so both give the same samples on every build. The natural
// logarithm is taken in single precision; the exponential in double precision.
inline float LogFloat(float x) noexcept { return std::log(x); }
inline double ExpDouble(double x) noexcept { return std::exp(x); }

} // namespace Tarn
