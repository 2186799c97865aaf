// A shell command whose standard output is read line by line.
#ifndef FCHBA_SHELL_PIPE_H
#define FCHBA_SHELL_PIPE_H

#include <cstdio>
#include <string>

class ShellPipe {
 public:
  // Starts the command; one that cannot be started reads as empty output.
  explicit ShellPipe(const std::string& command);
  ~ShellPipe();
  ShellPipe(const ShellPipe&) = delete;
  ShellPipe& operator=(const ShellPipe&) = delete;

  // The next line, whole and without its newline; false at the end.
  bool ReadLine(std::string* line);

 private:
  std::FILE* stream_;
};

#endif
