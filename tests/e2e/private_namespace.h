// How the tests get a private mount namespace in which they may mount: as
// root a plain one (unshare -m), as today; as a normal user, and as root where
// the plain one is refused, one inside a new user namespace that maps the user
// to root (unshare --map-root-user -m), where the kernel allows unprivileged
// user namespaces. Inside either, the program runs as uid 0 and uses its fixed
// paths verbatim.
#ifndef E2E_PRIVATE_NAMESPACE_H
#define E2E_PRIVATE_NAMESPACE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

struct PrivateNamespace {
  std::vector<std::string> unshare;  // the words that run a command in one; empty when refused
  std::string how;                   // which way was taken, for messages
  std::string refusal;               // why neither way works; "" when one does
};

// Probed once per process: the first way in which a tmpfs can be mounted on
// /var inside the new namespace.
const PrivateNamespace& ProbePrivateNamespace();

// The unshare words joined for the shell ("" when refused).
std::string UnshareCommand();

// A test that cannot get its namespace is skipped, loudly. Where the
// environment sets FCHBA_E2E_REQUIRED (CI does, once it has seen namespaces
// work), it fails instead, so that a run that skips them cannot pass.
bool NamespaceRequired();
void ReportRefusal(const std::string& reason);

}  // namespace e2e

// Skips (or, when required, fails) the current test when no private mount
// namespace can be made.
#define E2E_REQUIRE_NAMESPACE()                                                \
  if (const std::string& e2e_refusal = ::e2e::ProbePrivateNamespace().refusal; \
      !e2e_refusal.empty()) {                                                  \
    ::e2e::ReportRefusal(e2e_refusal);                                         \
    GTEST_SKIP() << "E2E SKIPPED: " << e2e_refusal;                            \
  }

#endif
