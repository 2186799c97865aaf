#include "tests/support/scratch_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <vector>

namespace test_support {

namespace {

namespace fs = std::filesystem;

// Overlayfs leaves its work directory with mode 000. Root removes it anyway;
// a normal user (the user-namespace way) must first give itself access.
void OpenUp(const fs::path& dir) {
  std::error_code ec;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) OpenUp(it->path());
  }
}

}  // namespace

ScratchDir::ScratchDir(const std::string& base, const std::string& prefix) {
  const std::string templ = base + "/" + prefix + "XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (::mkdtemp(buf.data()) != nullptr) path_ = buf.data();
}

ScratchDir::~ScratchDir() {
  if (path_.empty()) return;
  std::error_code ec;
  fs::remove_all(path_, ec);
  if (!ec) return;
  OpenUp(path_);
  fs::remove_all(path_, ec);
}

}  // namespace test_support
