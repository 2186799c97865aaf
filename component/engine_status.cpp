#include "component/engine_status.h"

#include <sys/wait.h>

int EngineExitCode(int status) {
  if (status != -1 && WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return (status & 0xFF00) >> 8;
}
