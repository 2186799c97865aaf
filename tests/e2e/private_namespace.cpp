#include "tests/e2e/private_namespace.h"

#include <unistd.h>

#include <cstdlib>

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

}  // namespace

const PrivateNamespace& ProbePrivateNamespace() {
  static const PrivateNamespace probed = [] {
    const Way plain{{"unshare", "-m", "--propagation", "private"}, "as root (unshare -m)"};
    const Way user{{"unshare", "--map-root-user", "-m", "--propagation", "private"},
                   "in a user namespace (unshare --map-root-user -m)"};
    std::vector<Way> ways;
    if (::geteuid() == 0) ways.push_back(plain);
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
