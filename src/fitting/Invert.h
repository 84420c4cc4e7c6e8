#pragma once
#include <vector>

namespace ExtLib {

// A square matrix of doubles as a vector of rows.
using Matrix = std::vector<std::vector<double>>;

// The inverse by Crout LU decomposition with implicit partial pivoting. A row of zeros raises
// MtxErr("Singular"); a pivot smaller than 1e-20 in magnitude is replaced by 1e-20, so other
// singular matrices still give a (huge) result.
Matrix Invert(Matrix a);

} // namespace ExtLib
