// Which entries at a fixed path the run may use, under the log's rule and
// under the lock's, and that opening one never follows, waits or takes a
// terminal.
#include "component/own_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "tests/component/child_process.h"
#include "tests/component/scratch.h"

namespace {

namespace fs = std::filesystem;

using State = OwnFileState;

// A directory of the test's own (mode 0755) and the entry tested in it.
struct Place {
  std::string dir;
  std::string path;
};

Place MakePlace(const Scratch& scratch) {
  Place place{scratch.Dir() + "/root/var/vdl", scratch.Dir() + "/root/var/vdl/entry"};
  fs::create_directories(place.dir);
  ::chmod(place.dir.c_str(), 0755);
  return place;
}

void MakeFile(const std::string& path, int mode) {
  test_support::WriteFile(path, "kept\n", mode);
  ::chmod(path.c_str(), static_cast<mode_t>(mode));
}

struct EntryRow {
  const char* name;
  std::function<void(const Place&)> make;
  State underLogRule;   // kOthersMayRead
  State underLockRule;  // kOthersMayNotOpen
  bool asRootOnly;
};

void PrintTo(const EntryRow& row, std::ostream* os) { *os << row.name; }

const EntryRow kEntries[] = {
    {"Missing", [](const Place&) {}, State::kUsable, State::kUsable, false},
    {"OwnFileReadableByAll", [](const Place& p) { MakeFile(p.path, 0644); }, State::kUsable,
     State::kUnsafe, false},
    {"OwnFileForItsOwnerAlone", [](const Place& p) { MakeFile(p.path, 0600); }, State::kUsable,
     State::kUsable, false},
    {"OwnFileTheGroupMayWrite", [](const Place& p) { MakeFile(p.path, 0620); }, State::kUnsafe,
     State::kUnsafe, false},
    {"OwnFileAllMayWrite", [](const Place& p) { MakeFile(p.path, 0666); }, State::kUnsafe,
     State::kUnsafe, false},
    {"SymlinkToAnOwnFile",
     [](const Place& p) {
       MakeFile(p.dir + "/target", 0600);
       fs::create_symlink(p.dir + "/target", p.path);
     },
     State::kUnsafe, State::kUnsafe, false},
    {"SymlinkToNothing", [](const Place& p) { fs::create_symlink(p.dir + "/none", p.path); },
     State::kUnsafe, State::kUnsafe, false},
    {"SecondNameOfAFile",
     [](const Place& p) {
       MakeFile(p.dir + "/first", 0600);
       fs::create_hard_link(p.dir + "/first", p.path);
     },
     State::kUnsafe, State::kUnsafe, false},
    {"Fifo", [](const Place& p) { ::mkfifo(p.path.c_str(), 0600); }, State::kUnsafe, State::kUnsafe,
     false},
    {"Directory", [](const Place& p) { fs::create_directory(p.path); }, State::kUnsafe,
     State::kUnsafe, false},
    {"DirectoryOthersMayWrite",
     [](const Place& p) {
       MakeFile(p.path, 0600);
       ::chmod(p.dir.c_str(), 0777);
     },
     State::kUnsafe, State::kUnsafe, false},
    {"DirectoryTheGroupMayWriteEvenSticky",
     [](const Place& p) {
       MakeFile(p.path, 0600);
       ::chmod(p.dir.c_str(), 01775);
     },
     State::kUnsafe, State::kUnsafe, false},
    {"DirectoryIsASymlinkToAnOwnDirectory",
     [](const Place& p) {
       fs::rename(p.dir, p.dir + ".real");
       fs::create_directory_symlink(p.dir + ".real", p.dir);
       MakeFile(p.path, 0600);
     },
     State::kUsable, State::kUsable, false},
    {"DirectoryMissing", [](const Place& p) { fs::remove_all(p.dir); }, State::kUnreachable,
     State::kUnreachable, false},
    {"DirectoryIsAFile",
     [](const Place& p) {
       fs::remove_all(p.dir);
       MakeFile(p.dir, 0600);
     },
     State::kUnreachable, State::kUnreachable, false},
    {"OtherUsersFile",
     [](const Place& p) {
       MakeFile(p.path, 0600);
       if (::chown(p.path.c_str(), 65534, 65534) != 0) ADD_FAILURE() << "chown";
     },
     State::kUnsafe, State::kUnsafe, true},
    {"DirectoryOfAnotherUser",
     [](const Place& p) {
       MakeFile(p.path, 0600);
       if (::chown(p.dir.c_str(), 65534, 65534) != 0) ADD_FAILURE() << "chown";
     },
     State::kUnsafe, State::kUnsafe, true},
};

class OwnFileEntry : public ::testing::TestWithParam<EntryRow> {};

TEST_P(OwnFileEntry, IsJudgedByWhatOthersCouldDoWithIt) {
  const EntryRow& row = GetParam();
  if (row.asRootOnly && ::geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
  Scratch scratch;
  const Place place = MakePlace(scratch);
  row.make(place);
  EXPECT_EQ(ExamineOwnFile(place.path, kOthersMayRead), row.underLogRule);
  EXPECT_EQ(ExamineOwnFile(place.path, kOthersMayNotOpen), row.underLockRule);

  // An open succeeds exactly where the entry is usable, and never makes a
  // file anywhere else.
  for (mode_t rule : {kOthersMayRead, kOthersMayNotOpen}) {
    const State state = ExamineOwnFile(place.path, rule);
    const int fd = OpenOwnFile(place.path, O_WRONLY | O_APPEND | O_CREAT, 0600, rule);
    EXPECT_EQ(fd >= 0, state == State::kUsable) << "rule " << rule;
    if (fd >= 0) ::close(fd);
  }
  EXPECT_FALSE(FileExists(place.dir + "/none"));
}

INSTANTIATE_TEST_SUITE_P(Entries, OwnFileEntry, ::testing::ValuesIn(kEntries), RowName<EntryRow>);

// What stands at the path is left as it was: a symlink's target is neither
// made nor written, a FIFO is not waited on even with a reader, another
// file's second name does not reach that file.
TEST(OwnFileOpen, LeavesWhatItRefusesAsItWas) {
  Scratch scratch;
  const Place place = MakePlace(scratch);
  fs::create_symlink(place.dir + "/elsewhere", place.path);
  EXPECT_LT(OpenOwnFile(place.path, O_WRONLY | O_CREAT, 0600, kOthersMayRead), 0);
  EXPECT_FALSE(FileExists(place.dir + "/elsewhere"));

  fs::remove(place.path);
  ASSERT_EQ(::mkfifo(place.path.c_str(), 0600), 0);
  const int reader = ::open(place.path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_LT(OpenOwnFile(place.path, O_WRONLY | O_APPEND, 0, kOthersMayRead), 0);
  ::close(reader);
  EXPECT_LT(OpenOwnFile(place.path, O_WRONLY | O_APPEND, 0, kOthersMayRead), 0);
}

// A file it makes never carries the bits its rule forbids, and the mask of
// the program only ever gains "no write for others".
TEST(OwnFileMask, WhatTheRunMakesIsNeverWritableByOthers) {
  Scratch scratch;
  const Place place = MakePlace(scratch);
  const ChildResult child = RunInChild([&place](int report) {
    ::umask(0);
    const int fd = OpenOwnFile(place.path, O_WRONLY | O_CREAT, 0666, kOthersMayRead);
    struct stat status {};
    Say(report, fd >= 0 && ::fstat(fd, &status) == 0
                    ? "made " + std::to_string(status.st_mode & 0777) + "\n"
                    : "not made\n");
    for (mode_t started : {0000, 0002, 0022, 0077}) {
      ::umask(started);
      KeepNewFilesFromOthers();
      Say(report, std::to_string(::umask(0)) + "\n");
    }
    return 0;
  });
  EXPECT_EQ(child.exitCode, 0);
  EXPECT_EQ(child.said, "made " + std::to_string(0644) + "\n" + std::to_string(022) + "\n" +
                            std::to_string(022) + "\n" + std::to_string(022) + "\n" +
                            std::to_string(077) + "\n");
}

}  // namespace
