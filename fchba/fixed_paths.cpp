#include "fchba/fixed_paths.h"

namespace FixedPaths {
namespace {
std::string& TestRoot() {
  static std::string root;
  return root;
}
}  // namespace

std::string Resolve(const char* fixedPath) {
  std::string path(fixedPath);
  if (!path.empty() && path[0] == '/' && !TestRoot().empty()) return TestRoot() + path;
  return path;
}

std::string LogRedirection() {
  const std::string log = Resolve(kLogFile);
  return " 1>> " + log + " 2>> " + log + " 3>> " + log;
}

std::string SysfsFindCommand(const char* name) {
  return "find " + Resolve(kSysRoot) + " -name " + name;
}

void SetTestRoot(const std::string& root) { TestRoot() = root; }

}  // namespace FixedPaths
