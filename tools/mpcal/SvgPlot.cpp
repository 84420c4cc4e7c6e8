#include "SvgPlot.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>
#include <vector>

#include "fitting/EvaluateFit.h"
#include "fitting/FitStatistics.h"
#include "fitting/FitType.h"

namespace MPCalTool {
namespace {

struct Range {
  double lo, hi;
};

struct Area {
  double left, top, width, height;
  Range x, y;
  double X(double v) const { return left + (v - x.lo) / (x.hi - x.lo) * width; }
  double Y(double v) const { return top + height - (v - y.lo) / (y.hi - y.lo) * height; }
};

std::string Num(double v) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << std::setprecision(10) << v;
  return text.str();
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      out += c;
    }
  }
  return out;
}

// A range with room around its values; a single value gets a unit either side.
Range Padded(double lo, double hi, double fraction) {
  if (!(hi > lo)) {
    const double half = lo == 0 ? 1 : std::abs(lo) * 0.1;
    return {lo - half, hi + half};
  }
  const double pad = (hi - lo) * fraction;
  return {lo - pad, hi + pad};
}

// Ticks at 1, 2 or 5 times a power of ten, about five over the range.
std::vector<double> Ticks(Range r) {
  const double raw = (r.hi - r.lo) / 5;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double step = raw / power < 1.5 ? power : raw / power < 3.5 ? 2 * power : 5 * power;
  std::vector<double> ticks;
  for (double t = std::ceil(r.lo / step) * step; t <= r.hi + step * 1e-9; t += step)
    ticks.push_back(std::abs(t) < step * 1e-9 ? 0.0 : t);
  return ticks;
}

std::string Label(const char* what, const std::string& unit) {
  return unit.empty() ? what : std::string(what) + " (" + unit + ")";
}

void Axes(std::ostringstream& svg, const Area& a, const std::string& xLabel,
          const std::string& yLabel, const char* name) {
  svg << "<rect class=\"" << name << "\" x=\"" << Num(a.left) << "\" y=\"" << Num(a.top)
      << "\" width=\"" << Num(a.width) << "\" height=\"" << Num(a.height) << "\" data-x-min=\""
      << Num(a.x.lo) << "\" data-x-max=\"" << Num(a.x.hi) << "\" data-y-min=\"" << Num(a.y.lo)
      << "\" data-y-max=\"" << Num(a.y.hi) << "\" fill=\"none\" stroke=\"#444\"/>\n";
  for (const double t : Ticks(a.x)) {
    svg << "<line x1=\"" << Num(a.X(t)) << "\" y1=\"" << Num(a.top) << "\" x2=\"" << Num(a.X(t))
        << "\" y2=\"" << Num(a.top + a.height) << "\" stroke=\"#ddd\"/>"
        << "<text x=\"" << Num(a.X(t)) << "\" y=\"" << Num(a.top + a.height + 16)
        << "\" text-anchor=\"middle\">" << Num(t) << "</text>\n";
  }
  for (const double t : Ticks(a.y)) {
    svg << "<line x1=\"" << Num(a.left) << "\" y1=\"" << Num(a.Y(t)) << "\" x2=\""
        << Num(a.left + a.width) << "\" y2=\"" << Num(a.Y(t)) << "\" stroke=\"#ddd\"/>"
        << "<text x=\"" << Num(a.left - 6) << "\" y=\"" << Num(a.Y(t) + 4)
        << "\" text-anchor=\"end\">" << Num(t) << "</text>\n";
  }
  svg << "<text class=\"x-label\" x=\"" << Num(a.left + a.width / 2) << "\" y=\""
      << Num(a.top + a.height + 34) << "\" text-anchor=\"middle\">" << Escaped(xLabel)
      << "</text>\n"
      << "<text class=\"y-label\" transform=\"translate(" << Num(a.left - 58) << " "
      << Num(a.top + a.height / 2) << ") rotate(-90)\" text-anchor=\"middle\">" << Escaped(yLabel)
      << "</text>\n";
}

} // namespace

SvgPlot::SvgPlot(const MPCalibration::FitRecord& record, std::string rawUnit, std::string unit)
    : record_(record), rawUnit_(std::move(rawUnit)), unit_(std::move(unit)) {}

std::string SvgPlot::Render() const {
  const MPCalibration::FitStatistics stats = MPCalibration::ComputeFitStatistics(record_);
  const std::size_t n = record_.PointCount();
  const std::vector<double> raw(record_.rawValues.begin(), record_.rawValues.begin() + n);
  const std::vector<double> known(record_.calibratedValues.begin(),
                                  record_.calibratedValues.begin() + n);
  const auto [rawLo, rawHi] = std::minmax_element(raw.begin(), raw.end());
  Range x = Padded(*rawLo, *rawHi, 0.1);
  // A logarithm has nothing to draw at or below zero.
  if (record_.fitType == MPCalibration::Logarithmic && *rawLo > 0 && x.lo <= 0)
    x.lo = *rawLo / 2;

  constexpr int kSamples = 400;
  std::vector<double> cx(kSamples + 1);
  for (int i = 0; i <= kSamples; ++i)
    cx[i] = x.lo + (x.hi - x.lo) * i / kSamples;
  std::vector<double> cy = cx;
  MPCalibration::EvaluateFit(record_.fitType, record_.coefficients, cy);

  double yLo = *std::min_element(known.begin(), known.end());
  double yHi = *std::max_element(known.begin(), known.end());
  for (const double v : cy) {
    if (std::isfinite(v)) {
      yLo = std::min(yLo, v);
      yHi = std::max(yHi, v);
    }
  }
  const Area main{90, 30, kWidth - 120, 300, x, Padded(yLo, yHi, 0.05)};
  double largest = 0;
  for (const double r : stats.residuals)
    largest = std::max(largest, std::abs(r));
  const double rr = largest > 0 ? largest * 1.2 : 1.0;
  const Area lower{90, 400, kWidth - 120, 100, x, {-rr, rr}};

  std::ostringstream svg;
  svg.imbue(std::locale::classic());
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Num(kWidth) << "\" height=\""
      << Num(kHeight) << "\" viewBox=\"0 0 " << Num(kWidth) << " " << Num(kHeight)
      << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  for (const Area* a : {&main, &lower}) {
    svg << "<rect class=\"outside\" x=\"" << Num(a->left) << "\" y=\"" << Num(a->top)
        << "\" width=\"" << Num(a->X(*rawLo) - a->left) << "\" height=\"" << Num(a->height)
        << "\" fill=\"#eee\"/>\n"
        << "<rect class=\"outside\" x=\"" << Num(a->X(*rawHi)) << "\" y=\"" << Num(a->top)
        << "\" width=\"" << Num(a->left + a->width - a->X(*rawHi)) << "\" height=\""
        << Num(a->height) << "\" fill=\"#eee\"/>\n";
  }
  Axes(svg, main, Label("raw", rawUnit_), Label("calibrated", unit_), "plot-area");
  Axes(svg, lower, Label("raw", rawUnit_), Label("residual", unit_), "residual-area");

  svg << "<polyline class=\"curve\" fill=\"none\" stroke=\"#1f5fbf\" stroke-width=\"1.5\" "
         "points=\"";
  bool first = true;
  for (int i = 0; i <= kSamples; ++i) {
    if (!std::isfinite(cy[i]))
      continue;
    // Clipped to the panel: an exponential may leave it far behind.
    const double py = std::clamp(main.Y(cy[i]), main.top - 1, main.top + main.height + 1);
    svg << (first ? "" : " ") << Num(main.X(cx[i])) << "," << Num(py);
    first = false;
  }
  svg << "\"/>\n";
  svg << "<line x1=\"" << Num(lower.left) << "\" y1=\"" << Num(lower.Y(0)) << "\" x2=\""
      << Num(lower.left + lower.width) << "\" y2=\"" << Num(lower.Y(0)) << "\" stroke=\"#888\"/>\n";
  for (std::size_t i = 0; i < n; ++i) {
    svg << "<circle class=\"point\" cx=\"" << Num(main.X(raw[i])) << "\" cy=\""
        << Num(main.Y(known[i])) << "\" r=\"4\" fill=\"#d04020\"/>\n";
    svg << "<circle class=\"residual\" cx=\"" << Num(lower.X(raw[i])) << "\" cy=\""
        << Num(lower.Y(stats.residuals[i])) << "\" r=\"3.5\" fill=\"#d04020\"/>\n";
  }
  svg << "</svg>\n";
  return svg.str();
}

} // namespace MPCalTool
