#include "fitting/Invert.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "fitting/MtxErr.h"

namespace ExtLib {

Matrix Invert(Matrix a) {
  constexpr double kTinyPivot = 1e-20;
  const std::size_t n = a.size();
  for (const auto& row : a) {
    if (row.size() != n)
      throw MtxErr(L"Singular");
  }

  std::vector<double> scale(n);
  for (std::size_t i = 0; i < n; ++i) {
    double largest = 0.0;
    for (double v : a[i])
      largest = std::max(largest, std::fabs(v));
    if (largest == 0.0)
      throw MtxErr(L"Singular");
    scale[i] = 1.0 / largest;
  }

  std::vector<std::size_t> permutation(n);
  for (std::size_t j = 0; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      double sum = a[i][j];
      for (std::size_t k = 0; k < i; ++k)
        sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
    }
    double largest = 0.0;
    std::size_t pivotRow = j;
    for (std::size_t i = j; i < n; ++i) {
      double sum = a[i][j];
      for (std::size_t k = 0; k < j; ++k)
        sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
      const double weight = scale[i] * std::fabs(sum);
      if (weight >= largest) { // on equal weights the later row wins
        largest = weight;
        pivotRow = i;
      }
    }
    if (pivotRow != j) {
      std::swap(a[pivotRow], a[j]);
      std::swap(scale[pivotRow], scale[j]);
    }
    permutation[j] = pivotRow;
    if (std::fabs(a[j][j]) < kTinyPivot)
      a[j][j] = kTinyPivot;
    for (std::size_t i = j + 1; i < n; ++i)
      a[i][j] /= a[j][j];
  }

  Matrix inverse(n, std::vector<double>(n, 0.0));
  std::vector<double> b(n);
  for (std::size_t column = 0; column < n; ++column) {
    std::fill(b.begin(), b.end(), 0.0);
    b[column] = 1.0;
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t swapped = permutation[i];
      double sum = b[swapped];
      b[swapped] = b[i];
      for (std::size_t k = 0; k < i; ++k)
        sum -= a[i][k] * b[k];
      b[i] = sum;
    }
    for (std::size_t i = n; i-- > 0;) {
      double sum = b[i];
      for (std::size_t k = i + 1; k < n; ++k)
        sum -= a[i][k] * b[k];
      b[i] = sum / a[i][i];
    }
    for (std::size_t i = 0; i < n; ++i)
      inverse[i][column] = b[i];
  }
  return inverse;
}

} // namespace ExtLib
