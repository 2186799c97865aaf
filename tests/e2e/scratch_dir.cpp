#include "scratch_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <vector>

namespace e2e {

ScratchDir::ScratchDir(const std::string& base, const std::string& prefix) {
  std::string templ = base + "/" + prefix + "XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (::mkdtemp(buf.data()) != nullptr) path_ = buf.data();
}

ScratchDir::~ScratchDir() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace e2e
