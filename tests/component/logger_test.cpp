#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "component/logger.h"
#include "tests/component/scratch.h"

namespace {

const std::string kFileError = "ERROR : Unable to write to log file\n";

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

}  // namespace
