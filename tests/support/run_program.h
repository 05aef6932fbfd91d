#pragma once
// Runs a program with arguments and optional standard input, capturing its output and exit code.

#include <filesystem>
#include <string>
#include <vector>

namespace zelt::test_support {

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "");

// zeltctl as built beside the tests.
inline ProgramResult RunZeltctl(const std::vector<std::string>& args,
                                const std::string& input = "") {
  return RunProgram(ZELTCTL_PATH, args, input);
}

// A fresh empty folder under the system's temporary folder, removed when this object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string ReadText(const std::string& path);

}  // namespace zelt::test_support
