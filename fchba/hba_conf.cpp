#include "fchba/hba_conf.h"

#include <cstddef>

namespace {

constexpr std::size_t kNameCapacity = 64;   // 63 characters + NUL
constexpr std::size_t kPathCapacity = 256;  // 255 characters + NUL

bool IsPathCharacter(char c) {
  return c == '_' || c == '.' || c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z');
}

}  // namespace

std::string FilterHbaConfPath(const std::string& path) {
  std::size_t end = 0;
  while (end < path.size() && IsPathCharacter(path[end])) ++end;
  return path.substr(0, end);
}

bool ParseHbaConfLine(const std::string& rawLine, HbaConfEntry* entry) {
  // The text ends at a NUL byte as well as at the first newline.
  std::string line(rawLine.c_str());
  if (line.empty() || line[0] == '#' || line[0] == '\n') return false;
  const std::size_t newline = line.find('\n');
  if (newline != std::string::npos) line.erase(newline);

  std::size_t separator = line.find('\t');
  if (separator == std::string::npos) separator = line.find(' ');
  if (separator == std::string::npos) return false;

  const std::string name = line.substr(0, separator);
  const std::size_t pathStart = line.find_first_not_of(" \t", separator + 1);
  if (name.empty() || pathStart == std::string::npos) return false;

  // The emptiness test above is made before the filter: a path that begins
  // with a filtered character still makes an entry, with an empty path.
  const std::string path = FilterHbaConfPath(line.substr(pathStart));
  // A path that does not fit its table field cannot be loaded as written;
  // cutting it would load some other file, so the line is dropped.
  if (path.size() >= kPathCapacity) return false;

  entry->name = name.substr(0, kNameCapacity - 1);
  entry->path = path;
  return true;
}

bool ReadHbaConfLine(std::FILE* file, std::string* line) {
  line->clear();
  bool readAny = false;
  int c;
  while ((c = std::getc(file)) != EOF) {
    readAny = true;
    if (c == '\n') break;
    line->push_back(static_cast<char>(c));
  }
  return readAny;
}
