// The line rules of the HBA-API library registry ("/etc/hba.conf"): one
// library per line, its name, a separator and its path; "#" in column one
// starts a comment.
#ifndef FCHBA_HBA_CONF_H
#define FCHBA_HBA_CONF_H

#include <cstdio>
#include <string>

struct HbaConfEntry {
  std::string name;  // at most 63 characters (longer names are cut)
  std::string path;  // after the path filter; at most 255 characters
};

// Parses one line (with or without its newline). Returns false for a line
// that makes no library entry.
bool ParseHbaConfLine(const std::string& line, HbaConfEntry* entry);

// Cuts a path at its first character other than "_", ".", "/", a digit or an
// ASCII letter.
std::string FilterHbaConfPath(const std::string& path);

// Reads the next physical line (newline excluded) into line, whole, however
// long it is: a valid entry followed by a long run of blanks is still one
// line, and no part of a long line is ever taken for a line of its own.
// Returns false at the end of the file.
bool ReadHbaConfLine(std::FILE* file, std::string* line);

#endif
