// Expected transcripts: every text the program writes on the console and in
// its log, held here once for all the suites, and a builder that appends
// them in the order a run writes them. A test builds the run it expects and
// compares the program's console and log with Console() and Log() byte for
// byte.
//
// The texts are written out here, never read from the program, so a text
// that changes in the program fails every test that sees it until it is
// changed here too, in one place.
//
//   const Transcript t =
//       Transcript().Begin().Loaded().DazuduKit().SelfDiscovery();
//   EXPECT_EQ(o.out, t.Console());
//   EXPECT_EQ(o.log, t.Log());
//
// Each call returns the transcript itself; keep a finished one by value, as
// above, never as a reference to a temporary.
#ifndef TESTS_SUPPORT_TRANSCRIPT_H
#define TESTS_SUPPORT_TRANSCRIPT_H

#include <string>
#include <vector>

namespace test_support {

// The log file's fixed path, as the engines' redirections name it.
extern const char* const kLogPath;

// The line the console shows after each text that did not reach the log
// file (also when silent).
extern const char* const kLogFileError;

class Transcript {
 public:
  // The run sequence, each call the texts of one step.
  Transcript& Begin();                             // the line of dashes, "Loading references..."
  Transcript& Loaded();                            // "done.", then "Performing discovery..."
  Transcript& LoadFailed();                        // "FAILED!": no reference file could be read
  Transcript& DazuduKit();                         // "Preparing the Dazudu Kit...done"
  Transcript& NoAdapters();                        // the inventory route found no adapter
  Transcript& SelfDiscovery(bool written = true);  // "Generating self-discovery XML..."
  Transcript& NothingDone();                       // the notice: no upgrade, no force
  Transcript& NoHardware();                        // the error: forced, no device
  Transcript& FlashBegins();                       // "Performing flash -- DO NOT INTERRUPT!"

  // The flash engine's run: the command line as logged, what the engine
  // appends to the log itself (never on the console), and its exit code.
  Transcript& Engine(const std::string& command, const std::string& output, int code);
  Transcript& EngineStarts(const std::string& command);
  Transcript& EngineOutput(const std::string& output);
  Transcript& EngineEnds(int code);
  // A result message as logged after the engine's code; "" adds nothing.
  Transcript& Result(const std::string& message);
  Transcript& FlashComplete(int code);  // "Flash complete [code]"

  // Console only, never logged.
  Transcript& WaitNotice();  // another run holds the lock (not when silent)
  Transcript& Usage();       // the usage lines (also when silent)
  Transcript& ParseError();  // the usage lines, then the command-line error

  // What the console shows: with silent, only the texts that bypass the log.
  std::string Console(bool silent = false) const;
  // What the log file holds: the logged texts and the engine's own output.
  std::string Log() const;
  // The console where no logged text reaches the log file: each one is
  // followed by kLogFileError, also when silent; the engine's output is lost.
  std::string ConsoleWithoutLog(bool silent = false) const;

 private:
  enum class Kind {
    kLogged,        // echoed unless silent, and appended to the log
    kEngineOutput,  // appended to the log by the engine
    kDirect,        // written to the console whatever the options
    kUnlessSilent,  // written to the console unless silent
  };
  struct Text {
    Kind kind;
    std::string text;
  };
  Transcript& Add(Kind kind, const std::string& text);
  Transcript& Logged(const std::string& text) { return Add(Kind::kLogged, text); }

  std::vector<Text> texts_;
};

// The Dazudu engine: its logged command line and its result messages.
namespace dazudu {

// The update command as logged; mode is "/update", or "/f" when forced.
std::string FlashCommand(const std::string& mode, const std::string& log = kLogPath);

extern const char* const kAllSuccessful;     // engine code 0
extern const char* const kNothingPerformed;  // 1
extern const char* const kAllFailed;         // 2 to 6
// Codes 11 to 16, each followed by kConvergedAdvice.
extern const char* const kSkippedAllSuccessful;
extern const char* const kSkippedNoUpdatesNeeded;
extern const char* const kSkippedAllFailed;
extern const char* const kSkippedSomeFailed;
extern const char* const kSkippedNoHardware;
extern const char* const kSkippedNoUpdatesAvailable;
extern const char* const kConvergedAdvice;

}  // namespace dazudu

namespace marqeth {

// The boot update command as logged.
extern const char* const kFlashCommand;

}  // namespace marqeth

}  // namespace test_support

#endif
