#include "tests/e2e/private_namespace.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/e2e/process.h"

namespace e2e {

namespace {

struct Way {
  std::vector<std::string> unshare;
  const char* how;
};

// The least that every test does inside: mount a tmpfs on /var. Returns ""
// when that works, else what was said.
std::string Attempt(const Way& way) {
  std::vector<std::string> argv = way.unshare;
  argv.insert(argv.end(), {"sh", "-c", "mount -t tmpfs tmpfs /var"});
  const ProcessResult r = RunProcess(argv, "", 30);
  if (r.started && r.exit_code == 0) return "";
  if (!r.started) return "unshare could not be started";
  std::string said = r.output;
  while (!said.empty() && said.back() == '\n') said.pop_back();
  return said.empty() ? "exit code " + std::to_string(r.exit_code) : said;
}

// The start of the first block of at least 65,535 subordinate ids that file
// (/etc/subuid or /etc/subgid) gives the running user, by name or by uid;
// "" when it gives none. Lines are "owner:start:count".
std::string SubordinateBlock(const char* file) {
  const uid_t uid = ::getuid();
  const struct passwd* pw = ::getpwuid(uid);
  const std::string name = pw ? pw->pw_name : "";
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string owner, start, count;
    if (!std::getline(fields, owner, ':') || !std::getline(fields, start, ':') ||
        !std::getline(fields, count))
      continue;
    if (owner != name && owner != std::to_string(uid)) continue;
    if (std::strtoll(count.c_str(), nullptr, 10) >= 65535) return start;
  }
  return "";
}

// In a user namespace, the user as root and its subordinate ids as uids and
// gids 1 to 65535, so that tests can act as another user (uid 65534) too.
// Needs newuidmap and newgidmap (package uidmap) and a block of subordinate
// ids; where either is missing the attempt fails and the next way is tried.
bool SubordinateWay(Way& way) {
  const std::string uids = SubordinateBlock("/etc/subuid");
  const std::string gids = SubordinateBlock("/etc/subgid");
  if (uids.empty() || gids.empty()) return false;
  way.unshare = {"unshare",
                 "--map-user=0",
                 "--map-group=0",
                 "--map-users=" + uids + ",1,65535",
                 "--map-groups=" + gids + ",1,65535",
                 "-m",
                 "--propagation",
                 "private"};
  way.how = "in a user namespace with the user's subordinate ids (unshare --map-users -m)";
  return true;
}

}  // namespace

const PrivateNamespace& ProbePrivateNamespace() {
  static const PrivateNamespace probed = [] {
    const Way plain{{"unshare", "-m", "--propagation", "private"}, "as root (unshare -m)"};
    const Way user{{"unshare", "--map-root-user", "-m", "--propagation", "private"},
                   "in a user namespace (unshare --map-root-user -m)"};
    std::vector<Way> ways;
    Way subordinate;
    if (::geteuid() == 0) {
      ways.push_back(plain);
    } else if (SubordinateWay(subordinate)) {
      ways.push_back(subordinate);
    }
    ways.push_back(user);

    PrivateNamespace ns;
    std::string refused;
    for (const Way& way : ways) {
      const std::string said = Attempt(way);
      if (said.empty()) {
        ns.unshare = way.unshare;
        ns.how = way.how;
        return ns;
      }
      refused += std::string(refused.empty() ? "" : "; ") + way.how + ": " + said;
    }
    ns.refusal = "no private mount namespace with a tmpfs on /var could be made (" + refused +
                 "). The end-to-end tests need root with mount rights, or a kernel that allows "
                 "unprivileged user namespaces (sysctl user.max_user_namespaces above 0, and "
                 "kernel.unprivileged_userns_clone=1 where that setting exists)";
    return ns;
  }();
  return probed;
}

std::string UnshareCommand() {
  std::string command;
  for (const std::string& word : ProbePrivateNamespace().unshare) {
    command += (command.empty() ? "" : " ") + word;
  }
  return command;
}

bool NamespaceRequired() {
  const char* required = std::getenv("FCHBA_E2E_REQUIRED");
  return required && *required && std::string(required) != "0";
}

void ReportRefusal(const std::string& reason) {
  if (NamespaceRequired()) {
    ADD_FAILURE() << "E2E NOT RUN although FCHBA_E2E_REQUIRED is set: " << reason;
  }
}

}  // namespace e2e
