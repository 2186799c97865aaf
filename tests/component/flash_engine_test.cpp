// The flash engine run shared by the vendor components: a termination
// request that arrives while the engine runs waits for its outcome, and a
// log path that is not safe is never handed to the engine's shell.
#include "component/vendors/flash_engine.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "component/run_signals.h"
#include "tests/component/child_process.h"
#include "tests/component/scratch.h"
#include "tests/support/transcript.h"

namespace {

// An engine that asks its program to end, then finishes its work.
const char* const kEngine =
    "#!/bin/sh\n"
    "echo started > started\n"
    "kill -TERM \"$(cat program.pid)\"\n"
    "echo 'engine finished'\n"
    "exit 0\n";

TEST(FlashEngineRun, TerminationRequestWaitsForTheEngine) {
  Scratch scratch;
  scratch.Write("engine.sh", kEngine, 0755);
  const ChildResult child = RunInChild([](int report) {
    CLogger log;
    log.SetQuiet(true);
    test_support::WriteFile("program.pid", std::to_string(::getpid()), 0644);
    const int code = RunFlashEngine(log, "./engine.sh", ShownCommand::kBare, nullptr);
    Say(report,
        "code " + std::to_string(code) + (TerminationWasRequested() ? ", requested\n" : "\n"));
    ReleaseTermination();
    return 0;
  });
  EXPECT_EQ(child.exitCode, 0);
  EXPECT_EQ(child.said, "code 0, requested\n");
  EXPECT_EQ(scratch.ReadLog(),
            test_support::Transcript().Engine("./engine.sh", "engine finished\n", 0).Log());
}

TEST(FlashEngineRun, UnsafeLogPathIsNeverHandedToTheShell) {
  Scratch scratch;
  scratch.Write("engine.sh", kEngine, 0755);
  const std::string log = scratch.LogPath();
  std::filesystem::create_directories(std::filesystem::path(log).parent_path());
  std::filesystem::create_symlink(log + ".elsewhere", log);
  CLogger logger;
  testing::internal::CaptureStdout();
  const int code = RunFlashEngine(logger, "./engine.sh", ShownCommand::kBare, nullptr);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(code, 2);
  EXPECT_FALSE(FileExists("started"));
  EXPECT_FALSE(FileExists(log + ".elsewhere"));
  EXPECT_EQ(
      out,
      test_support::Transcript().EngineStarts("./engine.sh").EngineEnds(2).ConsoleWithoutLog());
}

}  // namespace
