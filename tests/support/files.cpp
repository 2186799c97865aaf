#include "tests/support/files.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace test_support {

std::optional<std::string> ReadFileIfAny(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string ReadFile(const std::string& path) { return ReadFileIfAny(path).value_or(""); }

bool WriteFile(const std::string& path, const std::string& content, int mode) {
  const std::filesystem::path file(path);
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  return out && chmod(path.c_str(), static_cast<mode_t>(mode)) == 0;
}

}  // namespace test_support
