#include "component/run_command.h"

#include <cstdio>
#include <cstdlib>

std::string RunCommand(const std::string& command) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "ERROR";
  std::string output;
  char chunk[128];
  // Whole chunks are appended by their byte count, so NUL bytes and lines
  // longer than one chunk are kept as the command wrote them.
  for (;;) {
    std::size_t n = std::fread(chunk, 1, sizeof(chunk), pipe);
    output.append(chunk, n);
    if (n < sizeof(chunk)) break;
  }
  pclose(pipe);
  return output;
}

void RunIgnoringStatus(const std::string& command) {
  int status = std::system(command.c_str());
  (void)status;
}
