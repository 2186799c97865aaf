#include "tests/e2e/harness.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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
  }
  return ">\"$S/out$i\"";
}

// Builds the script that sets up the namespace and runs the program count
// times at once, each in a subshell with the files out<i>, err<i>, rc<i> and
// time<i>. The program and its arguments arrive as "$@".
std::string BuildScript(const std::string& s, const Scenario& sc,
                        const std::vector<std::pair<RootTarget, std::string>>& files,
                        const std::set<std::string>& overlays, int count,
                        const std::vector<std::string>& workDirs) {
  const std::string q = ShellQuote(s);
  std::ostringstream o;
  o << "S=" << q << "\n"
    << "fail() { echo \"$*\" >> \"$S/setup.err\"; exit " << kSetupRefused << "; }\n"
    << "mount -t overlay overlay -o "
       "lowerdir=/etc,upperdir=\"$S/ov/etc/up\",workdir=\"$S/ov/etc/wk\" /etc"
       " || fail 'overlay on /etc refused'\n"
    << "rm -f /etc/redhat-release /etc/SuSE-release || fail 'cannot remove the release files'\n";
  if (!sc.release.empty())
    o << "cp \"$S/release\" /etc/redhat-release || fail 'cannot write /etc/redhat-release'\n";
  o << "mount -t tmpfs tmpfs /var || fail 'tmpfs on /var refused'\n";
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
  // A bind remount changes this mount alone, which a user namespace may do.
  if (sc.log_dir_unwritable)
    o << "mount -o remount,bind,ro /var || fail 'read-only /var refused'\n";
  if (!sc.sys_tree.empty())
    o << "mount --bind " << ShellQuote(sc.sys_tree) << " /sys || fail 'bind on /sys refused'\n";
  for (const std::string& dir : workDirs)
    o << "cd \"$S/" << dir << "\" || fail 'no working directory'\n";
  o << "export E2E_ENGINE_CALLS=\"$S/engine-calls\"\n"
    << "run_one() (\n"
    << "  i=$1; cd \"$2\" || exit 1; shift 2\n"
    << ConsoleSetup(sc.console) << "  start=$(date +%s%N)\n"
    << "  \"$@\" </dev/null " << ConsoleRedirection(sc.console) << " 2>\"$S/err$i\"\n"
    << "  echo $? >\"$S/rc$i\"\n"
    << "  echo \"$start $(date +%s%N)\" >\"$S/time$i\"\n"
    << ")\n";
  for (int i = 0; i < count; ++i) {
    const std::string& dir = workDirs[static_cast<size_t>(i) % workDirs.size()];
    o << "run_one " << i << " \"$S/" << dir << "\" \"$@\"" << (count > 1 ? " &" : "") << "\n";
  }
  o << "wait\n"
    << "if [ -e /var/vdl/Component.log ]; then cp /var/vdl/Component.log \"$S/log\"; fi\n"
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

Outcome Run(const Scenario& sc) { return RunTogether(sc, 1, true).front(); }

std::vector<Outcome> RunTogether(const Scenario& sc, int count, bool same_dir) {
  if (count < 1) count = 1;
  const PrivateNamespace& ns = ProbePrivateNamespace();
  if (!ns.refusal.empty()) return std::vector<Outcome>(count, Refused(ns.refusal));
  std::vector<Outcome> results(count);

  test_support::ScratchDir scratch(TempBase(), "fchba-e2e-");
  if (!scratch.ok()) {
    ADD_FAILURE() << "e2e: cannot make a scratch directory under " << TempBase();
    return results;
  }
  const fs::path s = scratch.path();
  const std::vector<std::string> workDirs = WorkDirs(count, same_dir);
  fs::create_directories(s / "ov/etc/up");
  fs::create_directories(s / "ov/etc/wk");

  bool ok = true;
  std::vector<std::string> names = sc.read_back;
  for (const Scenario::File& f : sc.work_files) names.push_back(f.name);
  for (const auto& copy : sc.copy_into_work) names.push_back(copy.second);
  for (const std::string& name : names) {
    if (InsideWorkDir(name)) continue;
    ADD_FAILURE() << "e2e: working-dir name leaves the working dir: " << name;
    return results;
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
  if (!ok) return results;  // each failure was reported where it happened
  if (!WriteFile(s / "run.sh", BuildScript(s.string(), sc, staged, overlays, count, workDirs),
                 0755))
    return results;

  // The script changes directory before it starts the program.
  std::string binary = sc.binary.empty() ? DefaultBinary() : sc.binary;
  if (binary.find('/') != std::string::npos) binary = fs::absolute(binary).string();
  std::vector<std::string> argv = ns.unshare;
  argv.insert(argv.end(), {"sh", (s / "run.sh").string(), binary});
  argv.insert(argv.end(), sc.args.begin(), sc.args.end());
  const ProcessResult run = RunProcess(argv, "", sc.timeout_seconds);
  if (run.timed_out) {
    ADD_FAILURE() << "e2e: the run took longer than " << sc.timeout_seconds << " s and was killed";
  }
  if (run.started && run.exit_code == kSetupRefused) {
    return std::vector<Outcome>(
        count, Refused("the private namespace (" + ns.how + ") could not be set up: " +
                       test_support::ReadFile(s / "setup.err") + run.output));
  }

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
    result.out = test_support::ReadFile(s / ("out" + n));
    result.err = test_support::ReadFile(s / ("err" + n));
    result.log_exists = log.has_value();
    result.log = log.value_or("");
    result.engine_calls = test_support::ReadFile(s / "engine-calls");
    result.var_vdl = test_support::ReadFile(s / "vdl");
    const fs::path work = s / workDirs[static_cast<size_t>(i) % workDirs.size()];
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

}  // namespace e2e
