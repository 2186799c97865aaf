// A fresh directory that is removed with everything in it when the object
// goes, also where a test left directories without access (an overlay's work
// directory has mode 000).
#ifndef TESTS_SUPPORT_SCRATCH_DIR_H
#define TESTS_SUPPORT_SCRATCH_DIR_H

#include <string>

namespace test_support {

class ScratchDir {
 public:
  // Makes base/prefixXXXXXX (mkdtemp: the X's become letters and digits).
  ScratchDir(const std::string& base, const std::string& prefix);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // False when the directory could not be made; path() is then "".
  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace test_support

#endif
