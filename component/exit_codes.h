// The process exit codes of the component. A vendor flash operation returns
// the same three codes where its outcome means the same; some engine codes it
// passes through unchanged.
#ifndef COMPONENT_EXIT_CODES_H
#define COMPONENT_EXIT_CODES_H

// The flash engine updated the adapters.
constexpr int kExitSuccess = 1;
// Nothing was flashed: usage shown, a self-discovery run, nothing to do, or no
// supported hardware (and the engine's own "no operation performed").
constexpr int kExitNothingDone = 3;
// A command-line error, an unreadable reference file, a failed discovery, or
// a failed flash.
constexpr int kExitFailure = 7;

#endif
