#include "tests/component/scratch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "component/own_file.h"
#include "fchba/fixed_paths.h"

Scratch::Scratch() {
  // As the program does at start: the log directory a component makes here
  // is then one that the log may use, whatever mask the tests started with.
  KeepNewFilesFromOthers();
  char current[4096];
  if (getcwd(current, sizeof(current)) != nullptr) previousDir_ = current;
  if (!dir_.ok()) std::abort();
  std::filesystem::create_directories(Dir() + "/root");
  FixedPaths::SetTestRoot(Dir() + "/root");
  if (chdir(Dir().c_str()) != 0) std::abort();
}

Scratch::~Scratch() {
  FixedPaths::SetTestRoot("");
  if (!previousDir_.empty() && chdir(previousDir_.c_str()) != 0) std::abort();
}

std::string Scratch::LogPath() const { return FixedPaths::Resolve(FixedPaths::kLogFile); }

std::string Scratch::ReadLog() const { return test_support::ReadFile(LogPath()); }

void Scratch::Write(const std::string& name, const std::string& content, int mode) const {
  test_support::WriteFile(Dir() + "/" + name, content, mode);
}

bool FileExists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}
