// CLogger: the component's log. Every piece of text goes to the console
// (unless quiet) and is appended to the component log file, which is opened
// and closed again for each piece.
//
// The file is used only while it is safe to (own_file.h): a regular file of
// the running user's (or root's) own, written by nobody else, in a directory
// nobody else may change. Anything else at the log path (a symlink, a FIFO, a
// directory, another user's file, a file with a second name) is treated as a
// log file that does not open: each write reports "ERROR : Unable to write to
// log file", and no command that would open the path is run
// (CommandsMayAppend).
#ifndef COMPONENT_LOGGER_H
#define COMPONENT_LOGGER_H

#include <string>

class CLogger {
 public:
  // Creates the log directory and file through the shell; the file is not
  // touched where something unsafe stands at its path.
  CLogger();
  ~CLogger();
  CLogger(const CLogger&) = delete;
  CLogger& operator=(const CLogger&) = delete;

  void SetQuiet(bool value) { quiet = value; }
  bool IsQuiet() const { return quiet; }
  const std::string& Path() const { return path; }

  // Whether a command whose redirections append to the log file may be run:
  // false where something unsafe stands at the path, which a shell would
  // follow (a symlink), wait on (a FIFO) or write into (another user's file).
  // Where the directory cannot be reached the command fails by itself, as it
  // always has.
  bool CommandsMayAppend() const;

  // Each writes one piece and returns the logger so that calls chain.
  CLogger& operator<<(const std::string& text);
  CLogger& operator<<(const std::wstring& text);
  CLogger& operator<<(int value);

 private:
  // Writes bytes to the console and appends them to the file.
  void WritePiece(const std::string& bytes);
  // Appends bytes to the file; false when it cannot be opened safely, or a
  // write or its close fails (a full disk, an I/O error).
  bool AppendToFile(const std::string& bytes) const;

  std::string path;
  bool quiet;
  bool noFile;
};

#endif
