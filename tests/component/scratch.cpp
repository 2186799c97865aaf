#include "tests/component/scratch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fchba/fixed_paths.h"

Scratch::Scratch() {
  char current[4096];
  if (getcwd(current, sizeof(current)) != nullptr) previousDir_ = current;
  char pattern[] = "/tmp/component-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  dir_ = made ? made : "/tmp";
  std::filesystem::create_directories(dir_ + "/root");
  FixedPaths::SetTestRoot(dir_ + "/root");
  if (chdir(dir_.c_str()) != 0) std::abort();
}

Scratch::~Scratch() {
  FixedPaths::SetTestRoot("");
  if (!previousDir_.empty() && chdir(previousDir_.c_str()) != 0) std::abort();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string Scratch::LogPath() const { return FixedPaths::Resolve(FixedPaths::kLogFile); }

std::string Scratch::ReadLog() const { return ReadFile(LogPath()); }

void Scratch::Write(const std::string& name, const std::string& content, int mode) const {
  std::filesystem::path path = std::filesystem::path(dir_) / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  chmod(path.c_str(), static_cast<mode_t>(mode));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}
