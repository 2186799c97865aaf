// Runs a program without a shell and waits for it, with a time limit.
#ifndef E2E_PROCESS_H
#define E2E_PROCESS_H

#include <string>
#include <vector>

namespace e2e {

struct ProcessResult {
  bool started = false;    // false: fork or exec failed
  int exit_code = -1;      // exit status; 128+N when killed by signal N
  bool timed_out = false;  // killed (with its process group) at the time limit
  std::string output;      // standard output and standard error, interleaved
};

// argv[0] is looked up on PATH. cwd "" keeps the current directory.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& cwd,
                         int timeout_seconds);

}  // namespace e2e

#endif
