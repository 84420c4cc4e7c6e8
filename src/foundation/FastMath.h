#pragma once
#include <bit>
#include <cmath>
#include <cstdint>

namespace Tarn {

// The two transcendental functions of the calibration arithmetic, shared by the fit evaluation
// and the channel enumerator so that both give the same samples on every build. The natural
// logarithm is taken in single precision, the exponential in double precision.
//
// They are our own rather than the C library's: the Windows toolchain's static math library
// computes both with x87 code at tens of nanoseconds a call, and the enumerator calls them for
// every sample the host displays or exports. Both are table driven, inline for the common case
// and branch to an out-of-line routine for the rare arguments.
//
// LogFloat evaluates ln(x) in double precision to about 2^-50 relative error and rounds once, so
// it gives the correctly rounded float nearly always. ExpDouble is within 0.52 ulp.

namespace FastMathDetail {

struct LogEntry {
  double invc; // about 1/c for the centre c of a subinterval, with at most 29 significant bits
  double logc; // -ln(invc)
};
struct ExpEntry {
  double hi;   // 2^(j/128) rounded
  double tail; // (2^(j/128) - hi) / hi
};

inline constexpr int kLogTableBits = 7;
inline constexpr int kExpTableBits = 7;
extern const LogEntry kLogTable[1 << kLogTableBits];
extern const ExpEntry kExpTable[1 << kExpTableBits];

// Normal floats are split as x = 2^k * z with z in [0.699, 1.398), so that ln(x) near 1 is
// computed without cancellation (k = 0 and the two subintervals around 1 use c = 1).
inline constexpr std::uint32_t kLogOffset = 0x3f330000;
inline constexpr double kLn2 = 0x1.62e42fefa39efp-1;

// x = n * ln2/128 + r, with n*kLn2HiN exact for |n| < 2^18 (35 significant bits).
inline constexpr double kInvLn2N = 0x1.71547652b82fep+7;
inline constexpr double kLn2HiN = 0x1.62e42fef8p-8;
inline constexpr double kLn2LoN = 0x1.1cf79abc9e3b4p-43;
// Adding 1.5 * 2^52 rounds to an integer that then sits in the low mantissa bits.
inline constexpr double kRoundShift = 0x1.8p52;

// Two doubles in one register (GCC and Clang vector types; SSE2 on every x86-64). Each lane
// performs exactly the scalar operations, so paired and single results are the same.
using Double2 = double __attribute__((vector_size(16)));
using Float2 = float __attribute__((vector_size(8)));

// A positive normal float split as x = 2^k * z, with z near the centre c of a table subinterval.
struct LogSplit {
  double k;
  double z;
  const LogEntry* entry;
};

inline LogSplit SplitLog(std::uint32_t ix) noexcept {
  const std::uint32_t tmp = ix - kLogOffset;
  const std::uint32_t i = (tmp >> (23 - kLogTableBits)) % (1u << kLogTableBits);
  const std::int32_t k = static_cast<std::int32_t>(tmp) >> 23;
  const std::uint32_t iz = ix - (tmp & 0xff800000u);
  return {static_cast<double>(k), static_cast<double>(std::bit_cast<float>(iz)), &kLogTable[i]};
}

// ln(x) = k ln2 + ln(c) + ln(1 + r) with r = z/c - 1, before the rounding to float.
template <class T> inline T LogSum(T k, T z, T invc, T logc) noexcept {
  // Exact: z has 24 significant bits and invc at most 29, and the product is close to 1.
  const T r = z * invc - 1.0;
  // ln(1 + r) for |r| < 2^-7; the first omitted term is below 2^-52 relative.
  T q = r * (1.0 / 7) - 1.0 / 6;
  q = q * r + 1.0 / 5;
  q = q * r - 1.0 / 4;
  q = q * r + 1.0 / 3;
  q = q * r - 1.0 / 2;
  const T p = r + (r * r) * q;
  return (k * kLn2 + logc) + p;
}

// ln(x) for the bit pattern of a positive normal float.
inline float LogOfNormal(std::uint32_t ix) noexcept {
  const LogSplit s = SplitLog(ix);
  return static_cast<float>(LogSum(s.k, s.z, s.entry->invc, s.entry->logc));
}

// The same for two positive normal floats at once, widened back to double.
inline Double2 LogOfNormal2(std::uint32_t ix0, std::uint32_t ix1) noexcept {
  const LogSplit a = SplitLog(ix0), b = SplitLog(ix1);
  const Double2 sum =
      LogSum(Double2{a.k, b.k}, Double2{a.z, b.z}, Double2{a.entry->invc, b.entry->invc},
             Double2{a.entry->logc, b.entry->logc});
  return __builtin_convertvector(__builtin_convertvector(sum, Float2), Double2);
}

// True for the bit pattern of a positive normal float, the arguments of LogOfNormal.
constexpr bool IsPositiveNormal(std::uint32_t ix) noexcept {
  return ix - 0x00800000u < 0x7f800000u - 0x00800000u;
}

float LogSpecial(float x) noexcept;
double ExpSpecial(double x) noexcept;

// Splits exp(x) into the table entry 2^(n/128) and the relative remainder, leaving the scaling
// by 2^(n >> 7) to the caller.
struct ExpReduced {
  std::int64_t n;
  double tail; // exp(x) = 2^(n/128) * (1 + tail), with 2^(n/128) from the table's hi
};

inline ExpReduced ReduceExp(double x) noexcept {
  double kd = x * kInvLn2N + kRoundShift;
  const std::int64_t n = static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(kd) -
                                                   std::bit_cast<std::uint64_t>(kRoundShift));
  kd -= kRoundShift;
  const double r = (x - kd * kLn2HiN) - kd * kLn2LoN;
  // expm1(r) for |r| <= ln2/256; the first omitted term is below 2^-70.
  double q = 1.0 / 720;
  q = q * r + 1.0 / 120;
  q = q * r + 1.0 / 24;
  q = q * r + 1.0 / 6;
  q = q * r + 1.0 / 2;
  const double p = r + (r * r) * q;
  return {n, kExpTable[n & ((1 << kExpTableBits) - 1)].tail + p};
}

// 2^(j/128) * 2^exponent for the table entry of n, as long as the exponent keeps it normal.
inline double ExpScale(std::int64_t n, std::int64_t exponent) noexcept {
  const std::uint64_t bits =
      std::bit_cast<std::uint64_t>(kExpTable[n & ((1 << kExpTableBits) - 1)].hi) +
      (static_cast<std::uint64_t>(exponent) << 52);
  return std::bit_cast<double>(bits);
}

} // namespace FastMathDetail

// Natural logarithm of a float: -inf for +-0, NaN for negative arguments and NaN.
inline float LogFloat(float x) noexcept {
  const std::uint32_t ix = std::bit_cast<std::uint32_t>(x);
  // Zero, subnormals, negatives, infinity and NaN take the slow way.
  if (!FastMathDetail::IsPositiveNormal(ix)) [[unlikely]]
    return FastMathDetail::LogSpecial(x);
  return FastMathDetail::LogOfNormal(ix);
}

// e^x in double precision: +inf above 709.78, 0 below -745.13, subnormal results in between.
inline double ExpDouble(double x) noexcept {
  if (!(std::fabs(x) < 708.0)) [[unlikely]]
    return FastMathDetail::ExpSpecial(x);
  const FastMathDetail::ExpReduced e = FastMathDetail::ReduceExp(x);
  const double scale = FastMathDetail::ExpScale(e.n, e.n >> FastMathDetail::kExpTableBits);
  return scale + scale * e.tail;
}

} // namespace Tarn
