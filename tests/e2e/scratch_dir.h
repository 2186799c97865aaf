// A fresh directory that is removed with everything in it when the object goes.
#ifndef E2E_SCRATCH_DIR_H
#define E2E_SCRATCH_DIR_H

#include <string>

namespace e2e {

class ScratchDir {
 public:
  ScratchDir(const std::string& base, const std::string& prefix);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace e2e

#endif
