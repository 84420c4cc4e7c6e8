#include "SvgPlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fitting/EvaluateFit.h"
#include "fitting/Fit.h"
#include "fitting/FitType.h"

namespace MPCalTool {
namespace {

using Element = std::map<std::string, std::string>;

// Every element of one kind with the given class, as attribute maps. Read by hand: a regular
// expression over the curve's long attribute overflows the stack of a Windows thread.
std::vector<Element> Elements(const std::string& svg, const std::string& tag,
                              const std::string& cls) {
  std::vector<Element> found;
  const std::string open = "<" + tag + " ";
  for (std::size_t at = svg.find(open); at != std::string::npos; at = svg.find(open, at + 1)) {
    const std::size_t end = svg.find('>', at);
    Element e;
    std::size_t pos = at + open.size();
    while (true) {
      const std::size_t eq = svg.find("=\"", pos);
      if (eq == std::string::npos || eq > end)
        break;
      const std::size_t close = svg.find('"', eq + 2);
      const std::size_t nameStart = svg.find_last_of(' ', eq) + 1;
      e[svg.substr(nameStart, eq - nameStart)] = svg.substr(eq + 2, close - eq - 2);
      pos = close + 1;
    }
    if (e["class"] == cls)
      found.push_back(e);
  }
  return found;
}

double D(const Element& e, const char* name) {
  return std::stod(e.at(name));
}

struct Mapping {
  Element area;
  double X(double v) const {
    return D(area, "x") + (v - D(area, "data-x-min")) /
                              (D(area, "data-x-max") - D(area, "data-x-min")) * D(area, "width");
  }
  double Y(double v) const {
    return D(area, "y") + D(area, "height") -
           (v - D(area, "data-y-min")) / (D(area, "data-y-max") - D(area, "data-y-min")) *
               D(area, "height");
  }
};

TEST(SvgPlot, PointsResidualsAndCurveLieWhereTheNumbersSay) {
  struct Case {
    std::int32_t type;
    std::vector<double> raw, known;
  };
  const Case cases[] = {
      {MPCalibration::Quadratic, {0.5, 1.48, 2.42, 3.32, 4.18}, {0, 50, 100, 150, 200}},
      {MPCalibration::Logarithmic, {1, 2, 4, 8}, {0.1, 0.68, 1.41, 2.05}},
      {MPCalibration::Linear, {-5, 0, 5}, {10, 0.5, -10}},
  };
  for (const Case& c : cases) {
    MPCalibration::FitRecord r;
    r.fitType = c.type;
    r.rawValues = c.raw;
    r.calibratedValues = c.known;
    ASSERT_TRUE(MPCalibration::Fit(r));
    const std::string svg = SvgPlot(r, "V", "kPa").Render();

    const auto areas = Elements(svg, "rect", "plot-area");
    const auto lowers = Elements(svg, "rect", "residual-area");
    ASSERT_EQ(areas.size(), 1u);
    ASSERT_EQ(lowers.size(), 1u);
    const Mapping main{areas[0]}, lower{lowers[0]};
    // The calibrated range and a little beyond it.
    EXPECT_LT(D(areas[0], "data-x-min"), c.raw.front());
    EXPECT_GT(D(areas[0], "data-x-max"), c.raw.back());

    const auto points = Elements(svg, "circle", "point");
    const auto residuals = Elements(svg, "circle", "residual");
    ASSERT_EQ(points.size(), c.raw.size());
    ASSERT_EQ(residuals.size(), c.raw.size());
    for (std::size_t i = 0; i < c.raw.size(); ++i) {
      EXPECT_NEAR(D(points[i], "cx"), main.X(c.raw[i]), 1e-6);
      EXPECT_NEAR(D(points[i], "cy"), main.Y(c.known[i]), 1e-6);
      double fitted = c.raw[i];
      MPCalibration::EvaluateFit(r.fitType, r.coefficients, &fitted, 1);
      EXPECT_NEAR(D(residuals[i], "cy"), lower.Y(fitted - c.known[i]), 1e-6);
    }

    // The curve passes through the fitted value at each point's raw value.
    const auto curves = Elements(svg, "polyline", "curve");
    ASSERT_EQ(curves.size(), 1u);
    std::vector<std::pair<double, double>> line;
    std::istringstream coordinates(curves[0].at("points"));
    double px = 0, py = 0;
    char comma = 0;
    while (coordinates >> px >> comma >> py)
      line.emplace_back(px, py);
    ASSERT_GT(line.size(), 100u);
    for (const double x : c.raw) {
      double fitted = x;
      MPCalibration::EvaluateFit(r.fitType, r.coefficients, &fitted, 1);
      const double sx = main.X(x);
      const auto after = std::lower_bound(line.begin(), line.end(), std::make_pair(sx, -1e300));
      ASSERT_TRUE(after != line.begin() && after != line.end());
      const auto before = after - 1;
      const double t = (sx - before->first) / (after->first - before->first);
      EXPECT_NEAR(before->second + t * (after->second - before->second), main.Y(fitted), 0.5);
    }

    // Shading beyond the points, and the labels in the units.
    EXPECT_EQ(Elements(svg, "rect", "outside").size(), 4u);
    EXPECT_NE(svg.find(">raw (V)</text>"), std::string::npos);
    EXPECT_NE(svg.find(">calibrated (kPa)</text>"), std::string::npos);
    EXPECT_NE(svg.find(">residual (kPa)</text>"), std::string::npos);
  }
}

} // namespace
} // namespace MPCalTool
