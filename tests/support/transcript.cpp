#include "tests/support/transcript.h"

namespace test_support {

const char* const kLogPath = "/var/vdl/Component.log";
const char* const kLogFileError = "ERROR : Unable to write to log file\n";

Transcript& Transcript::Add(Kind kind, const std::string& text) {
  texts_.push_back({kind, text});
  return *this;
}

// Each Logged call below is one text as the program logs it: the console
// without a log file shows the error line after each.

Transcript& Transcript::Begin() {
  return Logged("---------------------------------------------------\n")
      .Logged("Loading references...");
}

Transcript& Transcript::Loaded() { return Logged("done.\n").Logged("Performing discovery...\n"); }

Transcript& Transcript::LoadFailed() { return Logged("FAILED!\n"); }

Transcript& Transcript::DazuduKit() {
  return Logged("Preparing the Dazudu Kit...").Logged("done\n");
}

Transcript& Transcript::NoAdapters() { return Logged("WARNING! : No supported adapters found.\n"); }

Transcript& Transcript::SelfDiscovery(bool written) {
  return Logged("Generating self-discovery XML...").Logged(written ? "done.\n" : "FAILED!\n");
}

Transcript& Transcript::NothingDone() { return Logged("NOTICE : No operation was done.\n"); }

Transcript& Transcript::NoHardware() {
  return Logged("ERROR! : No supported hardware was found.\n");
}

Transcript& Transcript::FlashBegins() { return Logged("Performing flash -- DO NOT INTERRUPT!\n"); }

Transcript& Transcript::Engine(const std::string& command, const std::string& output, int code) {
  return EngineStarts(command).EngineOutput(output).EngineEnds(code);
}

Transcript& Transcript::EngineStarts(const std::string& command) {
  return Logged("Executing flash engine: ").Logged(command).Logged("\n");
}

Transcript& Transcript::EngineOutput(const std::string& output) {
  return output.empty() ? *this : Add(Kind::kEngineOutput, output);
}

Transcript& Transcript::EngineEnds(int code) {
  return Logged("Flash Engine exit code: ").Logged(std::to_string(code)).Logged("\n");
}

Transcript& Transcript::Result(const std::string& message) {
  return message.empty() ? *this : Logged(message);
}

Transcript& Transcript::FlashComplete(int code) {
  return Logged("Flash complete [").Logged(std::to_string(code)).Logged("]\n");
}

Transcript& Transcript::WaitNotice() {
  return Add(Kind::kUnlessSilent,
             "NOTICE : Another update is running on this host. Waiting for it to finish...\n");
}

Transcript& Transcript::Usage() {
  return Add(Kind::kDirect,
             "RGXXXXXX.bnrun [options]\n"
             "    options\n"
             "    --------------------------\n"
             "    /f = Force the installation\n"
             "    /s = Execute silently\n"
             "    /d [path] = Perform self-discovery and output to [path]\n");
}

Transcript& Transcript::ParseError() {
  return Usage().Add(Kind::kDirect, "ERROR! : Failed to parse command line\n");
}

std::string Transcript::Console(bool silent) const {
  std::string console;
  for (const Text& t : texts_) {
    if (t.kind == Kind::kDirect || (!silent && t.kind != Kind::kEngineOutput)) console += t.text;
  }
  return console;
}

std::string Transcript::Log() const {
  std::string log;
  for (const Text& t : texts_) {
    if (t.kind == Kind::kLogged || t.kind == Kind::kEngineOutput) log += t.text;
  }
  return log;
}

std::string Transcript::ConsoleWithoutLog(bool silent) const {
  std::string console;
  for (const Text& t : texts_) {
    if (t.kind == Kind::kDirect || (!silent && t.kind != Kind::kEngineOutput)) console += t.text;
    if (t.kind == Kind::kLogged) console += kLogFileError;
  }
  return console;
}

namespace dazudu {

std::string FlashCommand(const std::string& mode, const std::string& log) {
  return "./dzflashStandalone*/lx/dzflash.sh /fc  " + mode + " 1>> " + log + " 2>> " + log +
         " 3>> " + log;
}

const char* const kAllSuccessful = "All updates were successful.  Reboot needed.\n";
const char* const kNothingPerformed =
    "No operation performed.  No updates needed or discovery command executed.\n";
const char* const kAllFailed = "All updates failed.\n";
const char* const kSkippedAllSuccessful =
    "All updates were successful.  Skipped any TX7040RM or VR4400K CNAs.\n";
const char* const kSkippedNoUpdatesNeeded =
    "No updates needed.  Skipped any TX7040RM or VR4400K CNAs.\n";
const char* const kSkippedAllFailed =
    "All updates failed.  Skipped any TX7040RM or VR4400K CNAs.\n";
const char* const kSkippedSomeFailed =
    "Some updates failed.  Skipped any TX7040RM or VR4400K CNAs.\n";
const char* const kSkippedNoHardware =
    "No supported hardware found.  Skipped any TX7040RM or VR4400K CNAs.\n";
const char* const kSkippedNoUpdatesAvailable =
    "No updates available.  Skipped any TX7040RM or VR4400K CNAs.\n";
const char* const kConvergedAdvice =
    "For TX7040RM or VR4400K CNAs, please use the \"Firmware image for offline update\" "
    "(Converged Adapter ISO) tool available on support.trovex.com\n";

}  // namespace dazudu

namespace marqeth {

const char* const kFlashCommand = "./mqu_bootupdate boot --update mqa_boot_fw -a";

}  // namespace marqeth

}  // namespace test_support
