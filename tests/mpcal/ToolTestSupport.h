#pragma once
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"

namespace MPCalTool::Testing {

// A fresh folder under the system's temporary folder, removed with its contents afterwards.
class TempFolder {
public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("mpcal-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& Path() const { return path_; }
  // The names of the files in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct ToolRun {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs a command line through the tool's entry point, as main does.
inline ToolRun RunMpcal(std::vector<std::string> args) {
  std::ostringstream out;
  std::ostringstream err;
  ToolRun run;
  run.code = RunTool(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

inline std::string P(const std::filesystem::path& path) {
  return path.string();
}

} // namespace MPCalTool::Testing
