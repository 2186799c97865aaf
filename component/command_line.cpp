#include <cstring>
#include <iostream>

#include "component/base_cmp.h"

namespace {

bool IsOneOf(const char* word, std::initializer_list<const char*> options) {
  for (const char* option : options) {
    if (std::strcmp(word, option) == 0) return true;
  }
  return false;
}

}  // namespace

int CBaseCmp::ParseCommandLine(int argc, const char* const* argv) {
  for (int i = 0; i < argc; ++i) {
    const char* word = argv[i];
    if (word == nullptr) continue;
    if (IsOneOf(word, {"/s", "-s"})) {
      silent = true;
      log.SetQuiet(true);
    } else if (IsOneOf(word, {"/f", "-f", "/e", "-e", "/g", "-g"})) {
      force = true;
    } else if (IsOneOf(word, {"/h", "-h", "--help", "/?", "-?"})) {
      // The words an administrator tries first for help show the usage and
      // run nothing, rather than being ignored into a flash.
      PrintUsage();
      return kCommandLineUsage;
    } else if (IsOneOf(word, {"/d", "-d"})) {
      discoveryMode = true;
      if (i + 1 >= argc || argv[i + 1] == nullptr) {
        PrintUsage();
        return kCommandLineError;
      }
      discoveryPath = argv[++i];
    }
  }
  return kCommandLineRun;
}

void CBaseCmp::PrintUsage() {
  std::cout << "RGXXXXXX.bnrun [options]" << std::endl;
  std::cout << "    options" << std::endl;
  std::cout << "    --------------------------" << std::endl;
  std::cout << "    /f = Force the installation" << std::endl;
  std::cout << "    /s = Execute silently" << std::endl;
  std::cout << "    /d [path] = Perform self-discovery and output to [path]" << std::endl;
}
