#include "tests/e2e/harness.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "tests/e2e/private_namespace.h"
#include "tests/e2e/process.h"
#include "tests/support/files.h"
#include "tests/support/scratch_dir.h"

namespace fs = std::filesystem;

namespace e2e {

#ifndef E2E_DEFAULT_BINARY
#error "E2E_DEFAULT_BINARY must name the fc-hba-update executable"
#endif

std::string DefaultBinary() { return E2E_DEFAULT_BINARY; }

namespace {

// Exit status of the setup script when a mount or copy was refused.
constexpr int kSetupRefused = 90;
// Exit status of the setup script when the scenario's own setup failed.
constexpr int kSetupBroken = 91;

// The areas a root file may land in, and how each is made private.
enum class Area { kEtc, kVar, kOverlay };

struct RootTarget {
  std::string path;     // where the file goes inside the namespace
  std::string overlay;  // the directory overlaid for it ("" for /etc and /var)
  Area area;
};

// Follows a symlinked top directory such as /lib -> usr/lib so that the file
// lands in the directory that is actually overlaid.
std::optional<RootTarget> PlaceRootFile(std::string path, std::string* error) {
  if (path.empty() || path[0] != '/') {
    *error = "root path is not absolute: " + path;
    return std::nullopt;
  }
  for (const fs::path& part : fs::path(path)) {
    if (part == ".." || part == ".") {
      *error = "root path must not hold . or .. parts: " + path;
      return std::nullopt;
    }
  }
  static const char* const kTops[] = {"/etc", "/var", "/usr/lib64", "/usr/lib", "/lib64", "/lib"};
  for (int hops = 0; hops < 4; ++hops) {
    bool moved = false;
    for (const char* top : kTops) {
      const std::string prefix = std::string(top) + "/";
      if (path.compare(0, prefix.size(), prefix) != 0) continue;
      std::error_code ec;
      if (fs::is_symlink(top, ec)) {
        const fs::path target = fs::canonical(top, ec);
        if (ec) break;
        path = target.string() + "/" + path.substr(prefix.size());
        moved = true;
        break;
      }
      if (std::string(top) == "/etc") return RootTarget{path, "", Area::kEtc};
      if (std::string(top) == "/var") return RootTarget{path, "", Area::kVar};
      return RootTarget{path, top, Area::kOverlay};
    }
    if (!moved) break;
  }
  *error = "root path outside /etc, /var, /usr/lib, /usr/lib64, /lib, /lib64: " + path;
  return std::nullopt;
}

// A working-dir name must stay inside the working dir: joining an absolute
// name or one that climbs out with ".." would reach the host's own files.
bool InsideWorkDir(const std::string& name) {
  const fs::path p(name);
  if (name.empty() || p.is_absolute()) return false;
  for (const fs::path& part : p)
    if (part == "..") return false;
  return true;
}

std::string TempBase() {
  std::error_code ec;
  std::string base = fs::temp_directory_path(ec).string();
  // A scratch dir under a directory the namespace replaces would vanish.
  for (const char* hidden : {"/var", "/etc", "/sys", "/usr", "/lib"}) {
    const std::string h(hidden);
    if (ec || base == h || base.compare(0, h.size() + 1, h + "/") == 0) return "/tmp";
  }
  return base;
}

// A run that cannot get its namespace: skipped loudly (failed when required).
Outcome Refused(const std::string& reason) {
  ReportRefusal(reason);
  Outcome result;
  result.skipped = true;
  result.skip_reason = reason;
  return result;
}

// Writes a staged file; a failure is reported as the test's own.
bool WriteFile(const fs::path& path, const std::string& content, int mode) {
  if (test_support::WriteFile(path, content, mode)) return true;
  ADD_FAILURE() << "e2e: cannot write " << path.string();
  return false;
}

// The working directories of count runs: one shared, or one each.
std::vector<std::string> WorkDirs(int count, bool sameDir) {
  if (sameDir || count == 1) return {"work"};
  std::vector<std::string> dirs;
  for (int i = 0; i < count; ++i) dirs.push_back("work" + std::to_string(i));
  return dirs;
}

// The master side of a pseudo-terminal, held by the test; the slave is the
// program's console.
struct Terminal {
  int master = -1;
  std::string slave;
  std::string output;  // what the program wrote to it, read so far

  bool Open() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return false;
    const char* name = ::ptsname(master);
    if (name == nullptr) return false;
    slave = name;
    // Raw: the program's bytes come out as written, line ends included.
    termios mode {};
    if (::tcgetattr(master, &mode) != 0) return false;
    ::cfmakeraw(&mode);
    if (::tcsetattr(master, TCSANOW, &mode) != 0) return false;
    const int flags = ::fcntl(master, F_GETFL);
    return flags >= 0 && ::fcntl(master, F_SETFL, flags | O_NONBLOCK) == 0;
  }

  // Takes in what is waiting on the master side, without blocking.
  void Drain() {
    if (master < 0) return;
    char chunk[4096];
    for (;;) {
      const ssize_t n = ::read(master, chunk, sizeof chunk);
      if (n > 0) {
        output.append(chunk, static_cast<size_t>(n));
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        break;
      }
    }
  }

  void Close() {
    Drain();
    if (master >= 0) ::close(master);
    master = -1;
  }

  ~Terminal() { Close(); }
};

// Lines that prepare the program's standard output in its run's subshell.
std::string ConsoleSetup(Console console) {
  if (console != Console::kClosedPipe) return "";
  // Opened read-write first, so that opening the writer does not block; then
  // the only reader is closed before the program starts.
  return "  mkfifo \"$S/pipe$i\" || exit 1\n"
         "  exec 3<>\"$S/pipe$i\" 4>\"$S/pipe$i\" 3<&-\n";
}

// The redirection of the program's standard output.
std::string ConsoleRedirection(Console console) {
  switch (console) {
    case Console::kFile:
      break;
    case Console::kClosedPipe:
      return ">&4 4>&-";
    case Console::kClosed:
      return ">&-";
    case Console::kFullDevice:
      return ">/dev/full";
    case Console::kTerminal:
      return "<\"$TTY\" >\"$TTY\"";
  }
  return "</dev/null >\"$S/out$i\"";
}

// How the program is started: as it is, or (live) in a session of its own
// that writes its process id to pid<i> first; on a terminal that session
// takes the terminal as its controlling terminal.
std::string Launcher(Console console, bool live) {
  const bool terminal = console == Console::kTerminal;
  if (!live && !terminal) return "";
  return std::string("sh -c 'echo $$ >\"$0\"; exec setsid ") + (terminal ? "-c " : "") +
         "\"$@\"' \"$S/pid$i\" ";
}

// Starts a process of uid 65534 that holds an flock on path, and waits until
// it does.
std::string OtherUserHolder(const std::string& path) {
  const std::string q = ShellQuote(path);
  return "setpriv --reuid=65534 --regid=65534 --clear-groups sh -c "
         "'exec 9<\"$0\" && flock -x 9 && exec sleep 600' " +
         q +
         " 2>>\"$S/setup.err\" &\n"
         "holder=$!\n"
         "n=0\n"
         "while flock -n " +
         q +
         " true; do\n"
         "  n=$((n + 1)); [ $n -lt 600 ] || broken 'uid 65534 did not take its lock on " +
         path +
         "'\n"
         "  sleep 0.05\n"
         "done\n";
}

// Builds the script that sets up the namespace and runs the program count
// times at once, each in a subshell with the files out<i>, err<i>, rc<i> and
// time<i>. The program and its arguments arrive as "$@".
std::string BuildScript(const std::string& s, const Scenario& sc,
                        const std::vector<std::pair<RootTarget, std::string>>& files,
                        const std::set<std::string>& overlays, int count,
                        const std::vector<std::string>& workDirs, bool live,
                        const std::string& tty) {
  const std::string q = ShellQuote(s);
  std::ostringstream o;
  o << "S=" << q << "\n"
    << "fail() { echo \"$*\" >> \"$S/setup.err\"; exit " << kSetupRefused << "; }\n"
    << "broken() { echo \"$*\" >> \"$S/setup.err\"; exit " << kSetupBroken << "; }\n"
    << "mount -t overlay overlay -o "
       "lowerdir=/etc,upperdir=\"$S/ov/etc/up\",workdir=\"$S/ov/etc/wk\" /etc"
       " || fail 'overlay on /etc refused'\n"
    << "rm -f /etc/redhat-release /etc/SuSE-release || fail 'cannot remove the release files'\n";
  if (!sc.release.empty())
    o << "cp \"$S/release\" /etc/redhat-release || fail 'cannot write /etc/redhat-release'\n";
  o << "mount -t tmpfs " << (sc.var_size.empty() ? "" : "-o size=" + sc.var_size + " ")
    << "tmpfs /var || fail 'tmpfs on /var refused'\n"
    << "mount -t tmpfs -o mode=0755 tmpfs /run || fail 'tmpfs on /run refused'\n";
  int n = 0;
  for (const std::string& dir : overlays) {
    o << "mount -t overlay overlay -o lowerdir=" << dir << ",upperdir=\"$S/ov/" << n
      << "/up\",workdir=\"$S/ov/" << n << "/wk\" " << dir << " || fail 'overlay on " << dir
      << " refused'\n";
    ++n;
  }
  for (const auto& [target, staged] : files) {
    const std::string dest = ShellQuote(target.path);
    o << "mkdir -p \"$(dirname " << dest << ")\" && cp " << ShellQuote(staged) << " " << dest
      << " || fail 'cannot place " << target.path << "'\n";
  }
  for (const std::string& line : sc.setup)
    o << "{ " << line << "\n} 2>>\"$S/setup.err\" || broken " << ShellQuote("setup failed: " + line)
      << "\n";
  // A bind remount changes this mount alone, which a user namespace may do.
  if (sc.log_dir_unwritable)
    o << "mount -o remount,bind,ro /var || fail 'read-only /var refused'\n";
  if (!sc.sys_tree.empty())
    o << "mount --bind " << ShellQuote(sc.sys_tree) << " /sys || fail 'bind on /sys refused'\n";
  for (const std::string& dir : workDirs)
    o << "cd \"$S/" << dir << "\" || fail 'no working directory'\n";
  if (!sc.held_by_other_user.empty()) o << OtherUserHolder(sc.held_by_other_user);
  o << "export E2E_ENGINE_CALLS=\"$S/engine-calls\"\n";
  if (live) o << "export E2E_ENGINE_GATE=\"$S/gate\"\n";
  if (!tty.empty()) o << "TTY=" << ShellQuote(tty) << "\n";
  o << "run_one() (\n"
    << "  i=$1; cd \"$2\" || exit 1; shift 2\n"
    << ConsoleSetup(sc.console) << (sc.umask.empty() ? "" : "  umask " + sc.umask + "\n")
    << "  start=$(date +%s%N)\n"
    << "  " << Launcher(sc.console, live) << "\"$@\" "
    << (sc.console == Console::kFile || sc.console == Console::kTerminal ? "" : "</dev/null ")
    << ConsoleRedirection(sc.console) << " 2>\"$S/err$i\"\n"
    << "  echo $? >\"$S/rc$i\"\n"
    << "  echo \"$start $(date +%s%N)\" >\"$S/time$i\"\n"
    << ")\n";
  o << "runs=\n";
  for (int i = 0; i < count; ++i) {
    const std::string& dir = workDirs[static_cast<size_t>(i) % workDirs.size()];
    o << "run_one " << i << " \"$S/" << dir << "\" \"$@\"" << (count > 1 ? " &\nruns=\"$runs $!\"" : "")
      << "\n";
  }
  o << "[ -z \"$runs\" ] || wait $runs\n";
  if (!sc.held_by_other_user.empty()) o << "kill $holder; wait $holder\n";
  if (!sc.probe.empty()) o << "{\n" << sc.probe << "\n} >\"$S/probe\" 2>&1\n";
  // Only a regular file is copied: reading a FIFO there would wait.
  o << "if [ -f /var/vdl/Component.log ]; then cp /var/vdl/Component.log \"$S/log\"; fi\n"
    << "if [ -d /var/vdl ]; then ls -A /var/vdl >\"$S/vdl\"; fi\n"
    << "exit 0\n";
  return o.str();
}

}  // namespace

std::string ShellQuote(const std::string& word) {
  std::string out = "'";
  for (char c : word) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "'";
}

namespace {

// A scenario laid out in its scratch directory, ready to run.
struct Staged {
  std::unique_ptr<test_support::ScratchDir> scratch;
  fs::path s;
  std::vector<std::string> workDirs;
  std::vector<std::string> argv;  // what runs the namespace script
  Terminal terminal;              // the console, for Console::kTerminal
  bool ok = false;
};

// Lays the scenario out; false in ok when that failed (each failure was
// reported where it happened).
void Stage(const Scenario& sc, int count, bool same_dir, bool live, Staged& st) {
  st.scratch = std::make_unique<test_support::ScratchDir>(TempBase(), "fchba-e2e-");
  if (!st.scratch->ok()) {
    ADD_FAILURE() << "e2e: cannot make a scratch directory under " << TempBase();
    return;
  }
  const fs::path s = st.scratch->path();
  st.s = s;
  st.workDirs = WorkDirs(count, same_dir);
  const std::vector<std::string>& workDirs = st.workDirs;
  fs::create_directories(s / "ov/etc/up");
  fs::create_directories(s / "ov/etc/wk");

  bool ok = true;
  std::vector<std::string> names = sc.read_back;
  for (const Scenario::File& f : sc.work_files) names.push_back(f.name);
  for (const auto& copy : sc.copy_into_work) names.push_back(copy.second);
  for (const std::string& name : names) {
    if (InsideWorkDir(name)) continue;
    ADD_FAILURE() << "e2e: working-dir name leaves the working dir: " << name;
    return;
  }
  for (const std::string& dir : workDirs) {
    const fs::path work = s / dir;
    fs::create_directories(work);
    if (sc.reference) ok &= WriteFile(work / "reference.xml", *sc.reference, 0644);
    for (const Scenario::File& f : sc.work_files) ok &= WriteFile(work / f.name, f.content, f.mode);
    for (const auto& [host, name] : sc.copy_into_work) {
      std::error_code ec;
      const fs::path dest = work / name;
      if (dest.has_parent_path()) fs::create_directories(dest.parent_path(), ec);
      fs::copy(host, dest, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
      if (ec) {
        ADD_FAILURE() << "e2e: cannot copy " << host << " into the working dir: " << ec.message();
        ok = false;
      }
    }
  }
  if (!sc.release.empty()) ok &= WriteFile(s / "release", sc.release, 0644);

  // Stage the root files; the script copies them into place after mounting.
  std::vector<std::pair<RootTarget, std::string>> staged;
  std::set<std::string> overlays;
  auto stage = [&](const std::string& inside, const std::string* content, const std::string* host) {
    std::string error;
    const std::optional<RootTarget> target = PlaceRootFile(inside, &error);
    if (!target) {
      ADD_FAILURE() << "e2e: " << error;
      ok = false;
      return;
    }
    const fs::path file = s / "stage" / std::to_string(staged.size());
    if (content) {
      ok &= WriteFile(file, *content, 0755);
    } else {
      std::error_code ec;
      fs::create_directories(file.parent_path(), ec);
      fs::copy_file(*host, file, ec);
      if (ec) {
        ADD_FAILURE() << "e2e: cannot read root copy source " << *host << ": " << ec.message();
        ok = false;
        return;
      }
    }
    if (target->area == Area::kOverlay) overlays.insert(target->overlay);
    staged.emplace_back(*target, file.string());
  };
  for (const auto& [inside, content] : sc.root_files) stage(inside, &content, nullptr);
  for (const auto& [inside, host] : sc.root_copies) stage(inside, nullptr, &host);
  for (int i = 0; i < static_cast<int>(overlays.size()); ++i) {
    fs::create_directories(s / "ov" / std::to_string(i) / "up");
    fs::create_directories(s / "ov" / std::to_string(i) / "wk");
  }
  if (sc.console == Console::kTerminal && !st.terminal.Open()) {
    ADD_FAILURE() << "e2e: cannot open a pseudo-terminal: " << std::strerror(errno);
    ok = false;
  }
  if (!ok) return;
  if (!WriteFile(s / "run.sh", BuildScript(s.string(), sc, staged, overlays, count, workDirs, live,
                                           st.terminal.slave),
                 0755))
    return;

  // The script changes directory before it starts the program.
  std::string binary = sc.binary.empty() ? DefaultBinary() : sc.binary;
  if (binary.find('/') != std::string::npos) binary = fs::absolute(binary).string();
  st.argv = ProbePrivateNamespace().unshare;
  st.argv.insert(st.argv.end(), {"sh", (s / "run.sh").string(), binary});
  st.argv.insert(st.argv.end(), sc.args.begin(), sc.args.end());
  st.ok = true;
}

// The outcomes of a staged run that has ended.
std::vector<Outcome> Collect(const Scenario& sc, int count, Staged& st, const ProcessResult& run) {
  std::vector<Outcome> results(count);
  const fs::path& s = st.s;
  if (run.timed_out) {
    ADD_FAILURE() << "e2e: the run took longer than " << sc.timeout_seconds << " s and was killed";
  }
  if (run.started && run.exit_code == kSetupRefused) {
    return std::vector<Outcome>(
        count, Refused("the private namespace (" + ProbePrivateNamespace().how +
                       ") could not be set up: " + test_support::ReadFile(s / "setup.err") +
                       run.output));
  }
  if (run.started && run.exit_code == kSetupBroken) {
    ADD_FAILURE() << "e2e: the scenario's setup failed: " << test_support::ReadFile(s / "setup.err")
                  << run.output;
    return results;
  }
  st.terminal.Drain();

  const std::optional<std::string> log = test_support::ReadFileIfAny(s / "log");
  for (int i = 0; i < count; ++i) {
    Outcome& result = results[static_cast<size_t>(i)];
    const std::string n = std::to_string(i);
    result.timed_out = run.timed_out;
    const std::optional<std::string> rc = test_support::ReadFileIfAny(s / ("rc" + n));
    if (rc) {
      result.exit_code = std::atoi(rc->c_str());
    } else if (!run.timed_out) {
      ADD_FAILURE() << "e2e: the run script ended without running the program: " << run.output;
    }
    result.out = sc.console == Console::kTerminal ? st.terminal.output
                                                   : test_support::ReadFile(s / ("out" + n));
    result.err = test_support::ReadFile(s / ("err" + n));
    result.log_exists = log.has_value();
    result.log = log.value_or("");
    result.engine_calls = test_support::ReadFile(s / "engine-calls");
    result.var_vdl = test_support::ReadFile(s / "vdl");
    result.probe = test_support::ReadFile(s / "probe");
    const fs::path work = s / st.workDirs[static_cast<size_t>(i) % st.workDirs.size()];
    for (const std::string& name : sc.read_back) {
      const std::optional<std::string> content = test_support::ReadFileIfAny(work / name);
      if (content) result.files[name] = *content;
    }
    long long start = 0, end = 0;
    std::istringstream(test_support::ReadFileIfAny(s / ("time" + n)).value_or("0 0")) >> start >>
        end;
    result.seconds = static_cast<double>(end - start) / 1e9;
  }
  return results;
}

// Whether a signal sent to pid has been taken: it is no longer pending, or
// the process is gone.
bool SignalTaken(int pid, int sig) {
  std::istringstream status(test_support::ReadFile("/proc/" + std::to_string(pid) + "/status"));
  std::string line;
  const unsigned long long bit = 1ULL << (sig - 1);
  while (std::getline(status, line)) {
    if (line.rfind("State:", 0) == 0 && line.find("Z") != std::string::npos) return true;
    for (const char* field : {"SigPnd:", "ShdPnd:"}) {
      if (line.rfind(field, 0) != 0) continue;
      if (std::stoull(line.substr(std::strlen(field)), nullptr, 16) & bit) return false;
    }
  }
  return true;
}

}  // namespace

Outcome Run(const Scenario& sc) { return RunTogether(sc, 1, true).front(); }

std::vector<Outcome> RunTogether(const Scenario& sc, int count, bool same_dir) {
  if (count < 1) count = 1;
  const PrivateNamespace& ns = ProbePrivateNamespace();
  if (!ns.refusal.empty()) return std::vector<Outcome>(count, Refused(ns.refusal));
  Staged st;
  Stage(sc, count, same_dir, false, st);
  if (!st.ok) return std::vector<Outcome>(count);
  const ProcessResult run = RunProcess(st.argv, "", sc.timeout_seconds);
  return Collect(sc, count, st, run);
}

EngineRecord ReadEngineRecord(const std::string& engine_calls) {
  EngineRecord record;
  std::istringstream lines(engine_calls);
  std::string line;
  int running = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("start ", 0) == 0) {
      ++record.calls;
      if (running++ > 0) ++record.overlaps;
    } else if (line.rfind("end ", 0) == 0) {
      ++record.ended;
      --running;
    } else if (line.rfind("sigpipe ", 0) == 0) {
      record.sigpipe += line + "\n";
    }
  }
  return record;
}

bool OtherUsersAvailable() {
  const PrivateNamespace& ns = ProbePrivateNamespace();
  if (!ns.refusal.empty()) return false;
  for (const std::string& word : ns.unshare)
    if (word == "--map-root-user") return false;
  return true;
}

struct LiveRun::State {
  Scenario scenario;
  Staged staged;
  Outcome skipped;
  std::thread runner;
  std::atomic<bool> done{false};
  ProcessResult result;
  bool finished = false;
  int pid = -1;
  std::chrono::steady_clock::time_point deadline;

  // Polls until ready() or the run has ended or the time is up.
  template <typename Ready>
  bool Await(Ready ready) {
    while (!ready()) {
      if (done || std::chrono::steady_clock::now() > deadline) return ready();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }
};

LiveRun::LiveRun(const Scenario& scenario) : state_(new State) {
  State& st = *state_;
  st.scenario = scenario;
  st.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(scenario.timeout_seconds);
  const PrivateNamespace& ns = ProbePrivateNamespace();
  if (!ns.refusal.empty()) {
    st.skipped = Refused(ns.refusal);
    st.done = true;
    return;
  }
  Stage(scenario, 1, true, true, st.staged);
  if (!st.staged.ok) {
    st.done = true;
    return;
  }
  st.runner = std::thread([&st] {
    st.result = RunProcess(st.staged.argv, "", st.scenario.timeout_seconds);
    st.done = true;
  });
}

LiveRun::~LiveRun() {
  if (!state_->finished) Finish();
  delete state_;
}

bool LiveRun::skipped() const { return state_->skipped.skipped; }

const std::string& LiveRun::skip_reason() const { return state_->skipped.skip_reason; }

bool LiveRun::WaitForFlash() {
  State& st = *state_;
  if (!st.staged.ok) return false;
  const fs::path calls = st.staged.s / "engine-calls";
  return st.Await([&] {
    std::istringstream lines(test_support::ReadFile(calls));
    std::string line;
    while (std::getline(lines, line))
      if (line.rfind("start ", 0) == 0 && line.find(" /q ") == std::string::npos) return true;
    return false;
  });
}

int LiveRun::program() {
  State& st = *state_;
  if (st.pid > 0 || !st.staged.ok) return st.pid;
  const fs::path file = st.staged.s / "pid0";
  st.Await([&] { return !test_support::ReadFile(file).empty(); });
  const std::string text = test_support::ReadFile(file);
  if (!text.empty()) st.pid = std::atoi(text.c_str());
  return st.pid;
}

void LiveRun::Signal(int sig, bool wholeGroup) {
  const int pid = program();
  if (pid <= 0) {
    ADD_FAILURE() << "e2e: the program never started, so it cannot be signalled";
    return;
  }
  if (::kill(wholeGroup ? -pid : pid, sig) != 0)
    ADD_FAILURE() << "e2e: kill(" << (wholeGroup ? -pid : pid) << ", " << sig
                  << ") failed: " << std::strerror(errno);
  if (!state_->Await([&] { return SignalTaken(pid, sig); }))
    ADD_FAILURE() << "e2e: the program did not take signal " << sig;
}

void LiveRun::HangUp() {
  State& st = *state_;
  const int pid = program();
  st.staged.terminal.Close();
  if (pid > 0 && !st.Await([&] { return SignalTaken(pid, SIGHUP); }))
    ADD_FAILURE() << "e2e: the program did not take the hang-up";
}

void LiveRun::ReleaseEngine() {
  State& st = *state_;
  if (st.staged.ok) WriteFile(st.staged.s / "gate", "", 0644);
}

Outcome LiveRun::Finish() {
  State& st = *state_;
  if (st.finished) {
    ADD_FAILURE() << "e2e: a live run is finished once";
    return Outcome();
  }
  st.finished = true;
  if (!st.staged.ok) return st.skipped;
  ReleaseEngine();
  st.runner.join();
  // A run that timed out leaves the program's own session behind.
  if (st.result.timed_out && st.pid > 0) ::kill(-st.pid, SIGKILL);
  return Collect(st.scenario, 1, st.staged, st.result).front();
}

}  // namespace e2e
