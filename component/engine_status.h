// The exit code of a flash engine run through the shell with system().
#ifndef COMPONENT_ENGINE_STATUS_H
#define COMPONENT_ENGINE_STATUS_H

// Bits 8 to 15 of the status: the shell's exit status, 255 when the shell
// could not be started (-1). A shell that was itself killed by a signal
// leaves those bits 0, which would read as an engine that succeeded; it
// gives 128 plus the signal number instead, the way a shell reports a
// command killed by a signal.
int EngineExitCode(int status);

#endif
