// Files at fixed paths that the run writes or locks (the log, the run lock),
// used only where nobody else can have placed or changed them.
//
// A fixed path is usable when its directory belongs to the running user or to
// root and nobody else may write to it, and what stands at the path is either
// nothing yet or a regular file of the running user's own (or root's), with
// this one name and without the mode bits the caller forbids. Anything else
// may have been placed by another user, or can be replaced by one at any
// moment: a symlink (it would make the run create or write the file it points
// to), a FIFO (an open would wait for a reader), a device, a directory,
// another user's file, a file with a second name elsewhere, or a file or
// directory that others may write to. Such a path is never opened for writing
// and never handed to a command that would open it.
#ifndef COMPONENT_OWN_FILE_H
#define COMPONENT_OWN_FILE_H

#include <sys/types.h>

#include <string>

enum class OwnFileState {
  kUsable,       // a trusted directory; the entry is missing or the user's own file
  kUnsafe,       // something another user placed or can change (see above)
  kUnreachable,  // the directory cannot be opened (missing, not searchable)
};

// Mode bits that make a file another user's to use: the log may be read by
// others but written by nobody else; the lock file may not even be opened
// by anybody else, since an open for reading suffices to hold an flock.
constexpr mode_t kOthersMayRead = 022;
constexpr mode_t kOthersMayNotOpen = 066;

// What stands at path, examined without opening the entry.
OwnFileState ExamineOwnFile(const std::string& path, mode_t forbidden);

// Opens path with flags (O_CREAT makes it with mode) only where it is usable,
// and checks what was opened once more; never follows a symlink at the last
// component, never waits on a FIFO, never takes a terminal. The descriptor
// is close-on-exec; -1 where the path is unsafe or the open fails.
int OpenOwnFile(const std::string& path, int flags, mode_t mode, mode_t forbidden);

// Adds "no write for group and others" to the file-creation mask, whatever
// mask the program was started with, so that what the run makes (and what
// the commands it starts make) is writable by nobody else. A stricter mask
// is kept as it is.
void KeepNewFilesFromOthers();

#endif
