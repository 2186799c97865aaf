#include "fchba/shell_pipe.h"

#include <cstdlib>

ShellPipe::ShellPipe(const std::string& command) : stream_(popen(command.c_str(), "r")) {}

ShellPipe::~ShellPipe() {
  if (stream_) pclose(stream_);
}

bool ShellPipe::ReadLine(std::string* line) {
  line->clear();
  if (!stream_) return false;
  char* buffer = nullptr;
  std::size_t capacity = 0;
  const ssize_t length = getline(&buffer, &capacity, stream_);
  if (length >= 0) line->assign(buffer, static_cast<std::size_t>(length));
  std::free(buffer);
  if (length < 0) return false;
  if (!line->empty() && line->back() == '\n') line->pop_back();
  return true;
}
