// A console whose reader has gone away (a closed pipe) must end only the
// console output, never the run: the log keeps everything and the exit code
// stays the run's own.
#ifndef COMPONENT_CLOSED_CONSOLE_H
#define COMPONENT_CLOSED_CONSOLE_H

// Makes a write to a pipe without a reader fail with EPIPE instead of ending
// the process with SIGPIPE. SIGPIPE is caught by a handler that does nothing
// rather than ignored: a caught signal returns to its default when a child
// execs, an ignored one would stay ignored in the shell, unzip and the flash
// engine. A SIGPIPE that the program was started with ignored is left so, as
// its children have always had it.
void KeepRunningWhenConsoleCloses();

#endif
