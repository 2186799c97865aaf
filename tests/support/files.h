// Whole-file reads and writes for the tests.
#ifndef TESTS_SUPPORT_FILES_H
#define TESTS_SUPPORT_FILES_H

#include <optional>
#include <string>

namespace test_support {

// The file's bytes, or nothing when it cannot be opened.
std::optional<std::string> ReadFileIfAny(const std::string& path);
// The file's bytes; "" when it cannot be opened.
std::string ReadFile(const std::string& path);

// Writes the bytes to path (its parent directories are made) and gives it the
// mode; false when any of that fails.
bool WriteFile(const std::string& path, const std::string& content, int mode = 0644);

}  // namespace test_support

#endif
