// End-to-end rig: runs a program (by default the real fc-hba-update) in a
// scratch working directory inside a private mount namespace, so that its
// fixed paths (/etc, /var/vdl, /sys, /usr/lib) are private copies and the
// host is never touched. As root the namespace is a plain one; as a normal
// user it lives in a user namespace that maps the user to root
// (private_namespace.h), so the program runs as uid 0 either way.
//
// Inside the namespace:
//   /etc        overlay on the host's /etc; both release files removed, then
//               Scenario::release written to /etc/redhat-release (unless "")
//   /var        empty tmpfs (read-only when log_dir_unwritable; of var_size
//               bytes when set)
//   /run        empty tmpfs of mode 0755, root's alone as on a host
//   /usr/lib    overlay, only when a root file lands there ("/lib/..." is
//   /usr/lib64  "/usr/lib/..." on this layout)
//   /sys        bind of Scenario::sys_tree (when set)
//   cwd         a fresh scratch directory holding reference.xml and work_files
//   stdout      a file read back into Outcome::out, a console that has gone
//               away, or a pseudo-terminal (Scenario::console)
//   env         E2E_ENGINE_CALLS names a file outside the namespace that the
//               recording Dazudu engine appends to (Outcome::engine_calls)
//
// Before the program starts, Scenario::setup runs as root in there; with
// held_by_other_user a process of uid 65534 holds an flock on that path for
// as long as the program runs; afterwards Scenario::probe runs and what it
// prints comes back in Outcome::probe.
//
// Typical use:
//   e2e::Scenario s;
//   s.args = {"/d", "out.xml"};
//   s.reference = e2e::kEmptyReference;
//   e2e::DazuduKit{{"HBA=DZe120,..."}}.AddTo(s);
//   s.read_back = {"out.xml"};
//   E2E_RUN(o, s);          // GTEST_SKIPs loudly when namespaces are refused
//   EXPECT_EQ(o.exit_code, 3);
#ifndef E2E_HARNESS_H
#define E2E_HARNESS_H

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Where the program's standard output goes.
enum class Console {
  kFile,        // a file, read back into Outcome::out
  kClosedPipe,  // a pipe whose reader closed before the program started
  kClosed,      // no descriptor 1 at all
  kFullDevice,  // /dev/full: every write fails
  // A pseudo-terminal: the program starts in a session of its own with the
  // terminal as its controlling terminal, standard input and output; the
  // test holds the master side (LiveRun::HangUp closes it).
  kTerminal,
};

struct Scenario {
  std::string binary;                    // default: the real fc-hba-update
  std::vector<std::string> args;         // words after the program name
  std::optional<std::string> reference;  // reference.xml text in the working dir; nullopt: none
  struct File {
    std::string name{};     // relative to the working dir; may hold '/'
    std::string content{};  // any bytes
    int mode = 0644;
  };
  std::vector<File> work_files;  // more files in the working dir
  std::vector<std::pair<std::string, std::string>>
      copy_into_work;  // host path -> name in the working dir
  std::vector<std::pair<std::string, std::string>> root_files;  // absolute path inside -> content
  std::vector<std::pair<std::string, std::string>>
      root_copies;                  // absolute path inside -> host file
  std::string sys_tree;             // host dir bound onto /sys; empty: /sys untouched
  bool log_dir_unwritable = false;  // /var read-only, so /var/vdl cannot be made
  std::string release = "Red Hat Enterprise Linux Server release 5.8 (Tikanga)\n";  // "" = none
  std::vector<std::string> read_back;  // working-dir files to read after the run
  int timeout_seconds = 120;           // the run is killed after this long
  Console console = Console::kFile;
  std::string var_size;                // tmpfs size of /var ("64k"); "" = unlimited
  std::vector<std::string> setup;      // shell lines run inside, as root, before the program
  std::string probe;                   // shell text run inside after the program
  std::string umask;                   // the file-creation mask the program starts with
                                       // ("000"); "" = the test's own
  std::string held_by_other_user;      // a path inside that uid 65534 holds an flock on
                                       // while the program runs (OtherUsersAvailable)
};

struct Outcome {
  bool skipped = false;  // namespaces or mounts refused; skip_reason says why
  std::string skip_reason;
  int exit_code = -1;    // the program's exit status; 128+N when killed by signal N
  std::string out, err;  // exact bytes of standard output and standard error
  std::string log;       // /var/vdl/Component.log as the run left it
  bool log_exists = false;
  std::map<std::string, std::string> files;  // read_back name -> content (missing files absent)
  double seconds = 0;                        // wall time of the program alone
  bool timed_out = false;
  std::string engine_calls;  // what the recording engine appended (shared by runs together)
  std::string var_vdl;       // the names in /var/vdl after the run, one a line ("" when none)
  std::string probe;         // what Scenario::probe printed (standard output and error)
};

// Runs the scenario; never touches the host's fixed paths.
Outcome Run(const Scenario& scenario);

// Starts count runs of the scenario at the same time in one namespace, so
// that they share /etc and /var (the log and the run lock); with same_dir
// they share one working directory too, otherwise each has its own copy of
// it. The outcomes come in start order; each holds its own console, exit code
// and read_back files, and the log as all the runs left it.
std::vector<Outcome> RunTogether(const Scenario& scenario, int count, bool same_dir);

// One run started in the background, so that a test can act on it while it
// flashes. The program runs in a session of its own, so its process group
// holds it and what it starts, as a job-control shell would give it; a
// recording kit's engine, once it has started its update call, waits until
// ReleaseEngine. Not copyable; the destructor releases the engine and waits
// for the run (ending the program's group when the run timed out).
class LiveRun {
 public:
  explicit LiveRun(const Scenario& scenario);
  ~LiveRun();
  LiveRun(const LiveRun&) = delete;
  LiveRun& operator=(const LiveRun&) = delete;

  bool skipped() const;
  const std::string& skip_reason() const;

  // Waits until the engine has started its update call; false when the run
  // ended first, or after the scenario's time limit.
  bool WaitForFlash();
  // The program's process id, which is also its process group's; -1 when it
  // never started.
  int program();
  // Sends sig to the program alone or to its whole process group, then waits
  // until the program has taken it (caught, ignored or ended by it).
  void Signal(int sig, bool wholeGroup);
  // Closes the master side of the pseudo-terminal (Console::kTerminal), as a
  // dropped connection does: the kernel hangs the terminal up. Waits until
  // the program has taken the hang-up.
  void HangUp();
  // Lets the waiting engine go on.
  void ReleaseEngine();
  // Waits for the run to end and returns its outcome.
  Outcome Finish();

 private:
  struct State;
  State* state_;
};

// What a recording kit's engine wrote to Outcome::engine_calls.
struct EngineRecord {
  int calls = 0;        // calls started
  int ended = 0;        // calls that ran to their end
  int overlaps = 0;     // calls that started while another one was running
  std::string sigpipe;  // the "sigpipe ..." lines
};
EngineRecord ReadEngineRecord(const std::string& engine_calls);

// Whether a test can act as another local user (uid 65534) inside the
// namespace: as root, yes; in a user namespace, which maps only the user
// running the tests, no.
bool OtherUsersAvailable();

// The real executable built by this tree.
std::string DefaultBinary();

// Directory of the simulated Dazudu kit sources (tests/fixtures/dazudu).
std::string DazuduFixtureDir();

// Quotes a word for the POSIX shell.
std::string ShellQuote(const std::string& word);

// A reference.xml that is well formed and names no device.
extern const char* const kEmptyReference;

// One reference device, as the reference file carries it. Every field is
// written, empty ones with an empty value; with_bios false leaves out "bios".
struct RefDevice {
  std::string device_id{};
  std::string model{};
  std::string firmware{};
  std::string bios{};
  std::string boot{};
  std::string duration = "120";
  std::string type = "FC";
  bool with_bios = true;  // false: no "bios" element at all
};

// A reference.xml holding the given devices.
std::string ReferenceXml(const std::vector<RefDevice>& devices);

// The simulated Dazudu kit: "dzflashStandalone<version>.zip" holding
// "dzflashStandalone<version>/lx/dzflash.sh" plus its answer files.
//   query mode  ("/q /fc"): prints query_output (query_lines joined, each
//                           followed by "\n", unless query_output is set)
//   update mode ("/fc ... /update" or "/fc ... /f"): writes one line each to
//                           stdout, stderr and fd 3, exits with update_rc
// Every call appends its arguments, one line per call, to
// "dzflashStandalone<version>/lx/calls.log" in the working directory.
// A recording kit's engine also appends "start <dir> <args>" and
// "end <dir> <args>" lines around each call to $E2E_ENGINE_CALLS, and "sigpipe
// default" or "sigpipe ignored" as the engine sees SIGPIPE; each call takes
// 0.3 s, so that calls of runs at the same time would overlap.
struct DazuduKit {
  std::vector<std::string> query_lines;
  int update_rc = 0;
  std::string version = "5.1.20";
  std::optional<std::string> query_output = std::nullopt;  // raw output, overrides query_lines
  bool recording = false;

  std::string ZipName() const;    // "dzflashStandalone<version>.zip"
  std::string CallsLog() const;   // working-dir path of calls.log (for read_back)
  std::string QueryText() const;  // what query mode prints

  // Builds the zip in dir and returns its path; "" on failure.
  std::string BuildZip(const std::string& dir) const;
  // Adds the zip to the scenario's working directory (ADD_FAILURE on error).
  void AddTo(Scenario& scenario) const;
};

}  // namespace e2e

// Runs scenario into a new variable var, skipping the test loudly when the
// machine refuses private mount namespaces (failing it instead when
// FCHBA_E2E_REQUIRED is set).
#define E2E_RUN(var, scenario)                     \
  const ::e2e::Outcome var = ::e2e::Run(scenario); \
  if (var.skipped) GTEST_SKIP() << "E2E SKIPPED: " << var.skip_reason

// Skips the current test loudly when a live run was skipped.
#define E2E_LIVE_SKIP_IF_SKIPPED(run) \
  if ((run).skipped()) GTEST_SKIP() << "E2E SKIPPED: " << (run).skip_reason()

// Skips the current test loudly where no other user can be had (in a user
// namespace without subordinate ids); the pass as root runs it.
#define E2E_REQUIRE_OTHER_USERS()                                                  \
  if (!::e2e::OtherUsersAvailable())                                               \
  GTEST_SKIP() << "E2E SKIPPED: this test acts as uid 65534, which the private "        \
                  "namespace of a normal user maps only where the user has subordinate " \
                  "ids (/etc/subuid, /etc/subgid) and newuidmap (package uidmap); it "   \
                  "runs where the tests run as root"

// Skips the current test loudly when an outcome was skipped.
#define E2E_SKIP_IF_SKIPPED(outcome) \
  if ((outcome).skipped) GTEST_SKIP() << "E2E SKIPPED: " << (outcome).skip_reason

#endif
