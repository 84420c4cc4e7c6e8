#include <algorithm>
#include <cstdio>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ToolTestSupport.h"

// The built tool run as a separate process, as scripts and users run it: exit codes, the
// streams and files it leaves. Windows builds check the same behaviour in-process.
#ifndef _WIN32
#include <sys/wait.h>

namespace MPCalTool {
namespace {

using ::testing::HasSubstr;
using Testing::P;
using Testing::ReadFile;
using Testing::TempFolder;
using Testing::WriteFile;

struct ProcessRun {
  int code = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (const char c : arg)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ProcessRun RunProcess(const std::vector<std::string>& args, const TempFolder& folder) {
  std::string command = Quote(MPCAL_EXE);
  for (const std::string& arg : args)
    command += " " + Quote(arg);
  command += " 2>" + Quote(P(folder / "stderr.txt"));
  ProcessRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe)
    return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFile(folder / "stderr.txt");
  std::filesystem::remove(folder / "stderr.txt");
  return run;
}

TEST(Process, FitPrintsTheRecordAndExitsZero) {
  TempFolder folder;
  WriteFile(folder / "p.csv", "0,1\n1,3\n2,5\n");
  const auto run = RunProcess({"fit", "--type", "linear", "--points", P(folder / "p.csv")}, folder);
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out.substr(0, run.out.find("Points:\n")),
            "Linear\ny = 2x + 1\nSSE = 0   R\xC2\xB2 = 1\n"
            "0\t0\tINVALID_UNIT\t0\t0\t2\t1\t2\t3\t0\t1\t2\t1\t3\t5\t\n");
  EXPECT_EQ(run.err, "");
}

TEST(Process, FailuresAreOneLineOnStderrWithTheirExitCode) {
  TempFolder folder;
  WriteFile(folder / "repeat.csv", "0,1\n1,3\n0,5\n");
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"fit", "--type", "linear", "--points", P(folder / "repeat.csv")}, 1, "repeated voltage"},
      {{"fit", "--type", "linear", "--points", P(folder / "nothing.csv")}, 2, "cannot open"},
      {{"apply", "--params", "x", "--in", P(folder / "repeat.csv")}, 2, "missing option --out"},
  };
  for (const Case& c : cases) {
    const auto run = RunProcess(c.args, folder);
    EXPECT_EQ(run.code, c.code) << c.message;
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr(c.message));
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"repeat.csv"});
}

TEST(Process, DemoWritesItsFilesAndNamesThem) {
  TempFolder folder;
  const auto run = RunProcess({"demo", "--out", P(folder / "demo")}, folder);
  ASSERT_EQ(run.code, 0) << run.err;
  for (const char* name :
       {"recording.csv", "points.csv", "calibration.mpcal", "calibrated.csv", "report.txt"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "demo" / name)) << name;
    EXPECT_THAT(run.out, HasSubstr(P(folder / "demo" / name)));
  }
  EXPECT_THAT(run.out, HasSubstr(ReadFile(folder / "demo" / "report.txt")));
  // The five points and the fit through them.
  EXPECT_THAT(run.out, HasSubstr("2nd order polynomial (Quadratic)"));
}

} // namespace
} // namespace MPCalTool
#endif
