// CLogger: the component's log. Every piece of text goes to the console
// (unless quiet) and is appended to the component log file, which is opened
// and closed again for each piece.
#ifndef COMPONENT_LOGGER_H
#define COMPONENT_LOGGER_H

#include <string>

class CLogger {
 public:
  // Creates the log directory and file through the shell.
  CLogger();
  ~CLogger();
  CLogger(const CLogger&) = delete;
  CLogger& operator=(const CLogger&) = delete;

  void SetQuiet(bool value) { quiet = value; }
  bool IsQuiet() const { return quiet; }
  const std::string& Path() const { return path; }

  // Each writes one piece and returns the logger so that calls chain.
  CLogger& operator<<(const std::string& text);
  CLogger& operator<<(const std::wstring& text);
  CLogger& operator<<(int value);

 private:
  // Writes bytes to the console and appends them to the file.
  void WritePiece(const std::string& bytes);

  std::string path;
  bool quiet;
  bool noFile;
};

#endif
