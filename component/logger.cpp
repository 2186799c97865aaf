#include "component/logger.h"

#include <cwchar>
#include <fstream>
#include <iostream>

#include "component/run_command.h"
#include "fchba/fixed_paths.h"

namespace {

// The bytes a wide stream writes for text under the default C locale. A
// character that the conversion rejects keeps its low 8 bits instead of
// breaking the stream, so text widened byte by byte comes back unchanged and
// nothing after it is lost.
std::string WideToConsoleBytes(const std::wstring& text) {
  std::string bytes;
  std::mbstate_t state{};
  char buffer[32];  // more than any multibyte character needs
  for (wchar_t wc : text) {
    std::size_t n = std::wcrtomb(buffer, wc, &state);
    if (n == static_cast<std::size_t>(-1)) {
      state = std::mbstate_t{};
      bytes.push_back(static_cast<char>(static_cast<unsigned>(wc) & 0xFFu));
    } else {
      bytes.append(buffer, n);
    }
  }
  return bytes;
}

}  // namespace

CLogger::CLogger() : path(FixedPaths::Resolve(FixedPaths::kLogFile)), quiet(false), noFile(false) {
  RunIgnoringStatus("mkdir -p " + FixedPaths::Resolve(FixedPaths::kLogDir));
  RunIgnoringStatus("touch " + path);
}

CLogger::~CLogger() = default;

// Console and file both take plain bytes through one narrow stream each, so
// narrow, wide and integer pieces never mix stream orientations and none of
// them is dropped.
void CLogger::WritePiece(const std::string& bytes) {
  if (!quiet) std::cout << bytes;
  if (noFile) return;
  std::ofstream file(path, std::ios::out | std::ios::app | std::ios::binary);
  if (!file) std::cout << "ERROR : Unable to write to log file" << std::endl;
  file << bytes;
}

CLogger& CLogger::operator<<(const std::string& text) {
  WritePiece(text);
  return *this;
}

CLogger& CLogger::operator<<(const std::wstring& text) {
  WritePiece(WideToConsoleBytes(text));
  return *this;
}

CLogger& CLogger::operator<<(int value) {
  WritePiece(std::to_string(value));
  return *this;
}
