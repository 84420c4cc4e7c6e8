#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ToolTestSupport.h"

namespace MPCalTool {
namespace {

using Testing::P;
using Testing::RunMpcal;
using Testing::TempFolder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

TEST(ThroughputCommand, ReportsEveryCaseOnOneTimeBaseAndLeavesNoFiles) {
  TempFolder folder;
  const auto run = RunMpcal({"throughput", "--rows", "2000", "--dir", P(folder.Path())});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].rfind("apply on 2000 rows x 4 columns", 0), 0u) << lines[0];
  int cases = 0;
  int calibrated = 0;
  for (const std::string& line : lines) {
    if (line.rfind("  ", 0) == 0 && line.find(" rows/s (CPU ") != std::string::npos)
      ++cases;
    if (line.find("calibrating: ") != std::string::npos) {
      ++calibrated;
      // The calibration's share and the extra time are both taken against the CPU time.
      EXPECT_NE(line.find(" % of the CPU time; CPU time over the run without calibration: "),
                std::string::npos)
          << line;
    }
  }
  EXPECT_EQ(cases, 6) << run.out;
  EXPECT_EQ(calibrated, 4) << run.out;
  EXPECT_TRUE(folder.Names().empty());
}

TEST(ThroughputCommand, RefusesARowCountThatIsNotAWholeNumberInRange) {
  for (const char* rows : {"0", "1.5", "-3", "1e11", "many"}) {
    const auto run = RunMpcal({"throughput", "--rows", rows});
    EXPECT_EQ(run.code, 2) << rows;
    EXPECT_NE(run.err.find("--rows"), std::string::npos) << rows << ": " << run.err;
  }
}

} // namespace
} // namespace MPCalTool
