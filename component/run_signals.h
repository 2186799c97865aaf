// How hang-ups and termination requests meet a run. The run is unattended
// from start to end and prints "DO NOT INTERRUPT!" before its flash, so
// neither a console that goes away nor a termination request may cut a flash
// short or leave its outcome unlogged.
//
// SIGINT stays as it always was: during the flash, system() ignores it in the
// program while the engine gets it, so an operator's Ctrl-C ends the engine
// and the run reports the engine's code. SIGPIPE: closed_console.h.
#ifndef COMPONENT_RUN_SIGNALS_H
#define COMPONENT_RUN_SIGNALS_H

// Ignores SIGHUP for the whole run, as nohup does, before anything is made or
// started: every command the run starts inherits the ignored disposition, so
// a hang-up cuts neither the kit unpacking, the query nor the flash, and the
// log gets everything. The console output may end; the exit code stays the
// run's own.
void IgnoreHangUps();

// From just before the flash engine starts until the flash's outcome has
// been logged, a SIGTERM to the program does not end it: a handler records
// the request and the run goes on. The request is not blocked: a blocked
// signal would stay blocked in the engine, while a handler returns to the
// default when the engine's shell execs, so a SIGTERM to the whole process
// group still reaches the engine (which then ends with 128 plus the signal).
// A SIGTERM that the program was started with ignored stays ignored.
void HoldTerminationDuringFlash();

// Ends the hold: SIGTERM has its earlier disposition again, and ends the run
// at once if it comes later. Does nothing when no hold is in place (SIGTERM's
// handler is not the one the hold installed).
void ReleaseTermination();

// Whether a SIGTERM arrived during the hold now or last in place.
bool TerminationWasRequested();

#endif
