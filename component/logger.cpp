#include "component/logger.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cwchar>
#include <iostream>

#include "component/own_file.h"
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
  // touch would follow a symlink, and change the times of whatever stands
  // there.
  if (CommandsMayAppend()) RunIgnoringStatus("touch " + path);
}

CLogger::~CLogger() = default;

bool CLogger::CommandsMayAppend() const {
  return ExamineOwnFile(path, kOthersMayRead) != OwnFileState::kUnsafe;
}

bool CLogger::AppendToFile(const std::string& bytes) const {
  // Made as an output file stream would make it, readable by all.
  const int fd = OpenOwnFile(path, O_WRONLY | O_APPEND | O_CREAT, 0666, kOthersMayRead);
  if (fd < 0) return false;
  bool written = true;
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      written = false;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0 && written;
}

// Console and file both take plain bytes through one narrow stream or
// descriptor each, so narrow, wide and integer texts never mix stream
// orientations and none of them is dropped. A text that does not reach the
// file whole, because the file does not open or a write fails, is reported
// once on the console, after its echo.
void CLogger::WritePiece(const std::string& bytes) {
  if (!quiet) std::cout << bytes;
  if (noFile) return;
  if (!AppendToFile(bytes)) std::cout << "ERROR : Unable to write to log file" << std::endl;
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
