#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "component/logger.h"
#include "tests/component/child_process.h"
#include "tests/component/scratch.h"
#include "tests/support/transcript.h"

namespace {

const std::string kFileError = test_support::kLogFileError;

// Writes a mix of every kind of piece, as the component's messages do.
void WriteMixedPieces(CLogger& log) {
  std::wstring widenedUtf8 = L"caf";
  widenedUtf8 += static_cast<wchar_t>(-61);  // 0xC3 widened byte by byte
  widenedUtf8 += static_cast<wchar_t>(-87);  // 0xA9
  log << "Flash complete [" << 1 << "]\n"
      << "M\xC3\xB6"
         "del\n";
  log << L"wide " << widenedUtf8 << " narrow after wide " << -42 << L" "
      << std::wstring(1, L'\u00e9') << "\n";
}

const std::string kMixedBytes =
    "Flash complete [1]\nM\xC3\xB6"
    "del\n"
    "wide caf\xC3\xA9 narrow after wide -42 \xE9\n";

TEST(LoggerTest, EveryPieceReachesConsoleAndFileInOrder) {
  Scratch scratch;
  CLogger log;
  testing::internal::CaptureStdout();
  WriteMixedPieces(log);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), kMixedBytes);
  EXPECT_EQ(scratch.ReadLog(), kMixedBytes);
}

TEST(LoggerTest, QuietKeepsConsoleCleanButFileComplete) {
  Scratch scratch;
  CLogger log;
  log.SetQuiet(true);
  testing::internal::CaptureStdout();
  WriteMixedPieces(log);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(scratch.ReadLog(), kMixedBytes);
}

TEST(LoggerTest, PiecesWithoutLineEndContinueTheLineAndFileIsAppended) {
  Scratch scratch;
  CLogger log;
  std::ofstream(scratch.LogPath(), std::ios::app) << "earlier run\n";
  log << "Loading references...";
  // Another process appending between two pieces lands between them.
  std::ofstream(scratch.LogPath(), std::ios::app) << "[engine]";
  log << "done.\n";
  EXPECT_EQ(scratch.ReadLog(), "earlier run\nLoading references...[engine]done.\n");
}

TEST(LoggerTest, UnopenableFileReportsEachPieceEvenWhenQuiet) {
  for (bool quiet : {false, true}) {
    SCOPED_TRACE(quiet ? "quiet" : "console");
    Scratch scratch;
    CLogger log;
    std::filesystem::remove(scratch.LogPath());
    std::filesystem::create_directory(
        scratch.LogPath());  // a directory cannot be opened as the file
    log.SetQuiet(quiet);
    testing::internal::CaptureStdout();
    log << "one" << L"two" << 3;
    std::string echo = quiet ? "" : "one";
    std::string expected = echo + kFileError;
    expected += (quiet ? "" : "two") + kFileError;
    expected += (quiet ? "" : "3") + kFileError;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
  }
}

TEST(LoggerTest, MissingLogDirectoryIsReportedNotFatal) {
  Scratch scratch;
  CLogger log;
  std::filesystem::remove_all(std::filesystem::path(scratch.LogPath()).parent_path());
  // A plain file where the directory should be keeps it from being created.
  std::ofstream(std::filesystem::path(scratch.LogPath()).parent_path()) << "";
  testing::internal::CaptureStdout();
  log << "Performing discovery...\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Performing discovery...\n" + kFileError);
}

// Something at the log path that another user could have placed, or could
// change: the constructor does not touch it, no write opens it, each write
// reports the file as one that does not open, and no command may be handed
// the path.
struct UnsafeLogRow {
  const char* name;
  std::function<void(const std::string& dir, const std::string& log)> make;
  const char* watched;   // a file, relative to the log directory, whose bytes must not change
  const char* content;   // its bytes ("" with watched null: nothing is watched)
};

void PrintTo(const UnsafeLogRow& row, std::ostream* os) { *os << row.name; }

class UnsafeLogEntry : public ::testing::TestWithParam<UnsafeLogRow> {};

TEST_P(UnsafeLogEntry, IsNeitherTouchedNorWritten) {
  const UnsafeLogRow& row = GetParam();
  Scratch scratch;
  const std::string log = scratch.LogPath();
  const std::string dir = std::filesystem::path(log).parent_path();
  std::filesystem::create_directories(dir);
  row.make(dir, log);
  struct stat before {};
  ::lstat(log.c_str(), &before);

  CLogger logger;  // would touch the path
  EXPECT_FALSE(logger.CommandsMayAppend());
  testing::internal::CaptureStdout();
  logger << "one" << L"two" << 3;
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "one" + kFileError + "two" + kFileError + "3" + kFileError);

  struct stat after {};
  ASSERT_EQ(::lstat(log.c_str(), &after), 0);
  EXPECT_EQ(after.st_mtime, before.st_mtime);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_FALSE(FileExists(dir + "/elsewhere"));
  if (row.watched != nullptr) {
    EXPECT_EQ(test_support::ReadFile(dir + "/" + row.watched), row.content);
  }
}

// Old times, which a touch would change.
void BackDate(const std::string& path) {
  const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, UnsafeLogEntry,
    ::testing::Values(
        UnsafeLogRow{"SymlinkToAFileElsewhere",
                     [](const std::string& dir, const std::string& log) {
                       std::filesystem::create_symlink(dir + "/elsewhere", log);
                       BackDate(log);
                     },
                     nullptr, ""},
        UnsafeLogRow{"Fifo",
                     [](const std::string&, const std::string& log) {
                       ::mkfifo(log.c_str(), 0644);
                       BackDate(log);
                     },
                     nullptr, ""},
        UnsafeLogRow{"SecondNameOfAFileElsewhere",
                     [](const std::string& dir, const std::string& log) {
                       test_support::WriteFile(dir + "/precious", "precious\n", 0644);
                       std::filesystem::create_hard_link(dir + "/precious", log);
                       BackDate(log);
                     },
                     "precious", "precious\n"},
        UnsafeLogRow{"FileOthersMayWrite",
                     [](const std::string&, const std::string& log) {
                       test_support::WriteFile(log, "before\n", 0666);
                       ::chmod(log.c_str(), 0666);
                       BackDate(log);
                     },
                     "Component.log", "before\n"},
        UnsafeLogRow{"DirectoryOthersMayWrite",
                     [](const std::string& dir, const std::string& log) {
                       test_support::WriteFile(log, "before\n", 0644);
                       ::chmod(dir.c_str(), 0777);
                       BackDate(log);
                     },
                     "Component.log", "before\n"}),
    RowName<UnsafeLogRow>);

// Where the directory cannot be reached at all, a command fails by itself,
// as it always has; it is handed the path as before.
TEST(LoggerCommands, MayAppendToAnOwnFileOrWhereTheDirectoryIsMissing) {
  Scratch scratch;
  CLogger log;
  EXPECT_TRUE(log.CommandsMayAppend());
  std::filesystem::remove(scratch.LogPath());
  EXPECT_TRUE(log.CommandsMayAppend());
  std::filesystem::remove_all(std::filesystem::path(scratch.LogPath()).parent_path());
  EXPECT_TRUE(log.CommandsMayAppend());
}

// A write that fails once the file has opened (a full disk, here the file
// size limit): each text that did not reach the file whole reports it once,
// after its echo; the echo goes on unchanged.
TEST(LoggerWrites, FailedWriteIsReportedForEachTextItCuts) {
  struct Row {
    rlim_t limit;
    std::vector<std::string> texts;
    std::string said;
    std::string file;
  };
  const Row rows[] = {
      // The first two fill the file; each later one fails whole.
      {10, {"01234", "56789", "abc", "4"}, "0123456789abc" + kFileError + "4" + kFileError,
       "0123456789"},
      // Only the start of the text fits.
      {4, {"0123456789"}, "0123456789" + kFileError, "0123"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.limit);
    Scratch scratch;
    const ChildResult child = RunInChild([&row](int report) {
      CLogger log;
      ::dup2(report, 1);
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{row.limit, row.limit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      for (const std::string& text : row.texts) log << text;
      std::cout.flush();
      return 0;
    });
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_EQ(child.said, row.said);
    EXPECT_EQ(scratch.ReadLog(), row.file);
  }
}

}  // namespace
