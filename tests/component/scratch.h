// A scratch working directory for one test: the process moves into it, and
// every fixed path of the program is moved under its "root" subdirectory.
#ifndef TESTS_COMPONENT_SCRATCH_H
#define TESTS_COMPONENT_SCRATCH_H

#include <gtest/gtest.h>

#include <string>

#include "tests/support/files.h"
#include "tests/support/scratch_dir.h"

class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::string& Dir() const { return dir_.path(); }
  // The log file of components built while this scratch exists.
  std::string LogPath() const;
  std::string ReadLog() const;

  // Writes a file relative to the working directory (parents are created).
  void Write(const std::string& name, const std::string& content, int mode = 0644) const;

 private:
  test_support::ScratchDir dir_{"/tmp", "component-test-"};
  std::string previousDir_;
};

// Test names of table rows that carry a name.
template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

bool FileExists(const std::string& path);

#endif
