#!/usr/bin/env bash
# Runs the end-to-end tests (ctest label e2e) once as an unprivileged user, so
# that the user-namespace way is proven beside the root one. Run as root: it
# creates the system user fchba-e2e when missing (with a block of subordinate
# ids, so that its namespace maps another uid too), copies the source tree into
# a scratch directory that user owns, and there, as that user, builds the
# end-to-end suites and runs them with FCHBA_E2E_REQUIRED set, so a skipped
# test fails. Where the machine does not allow this it says why ("NOT RUN")
# and exits 0. Either way it adds its line to the closing summary
# (scripts/test_summary.sh), and prints that summary when run alone.
#
#   scripts/e2e-as-user.sh   (FCHBA_JOBS sets the compile and test jobs, default
#                             nproc; FCHBA_WERROR=ON makes warnings errors)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${FCHBA_JOBS:-$(nproc)}
werror=${FCHBA_WERROR:-OFF}
user=fchba-e2e

source "$root/scripts/test_summary.sh"
summary_open
scratch=""
finish() {
  local rc=$?
  if [ -n "$scratch" ]; then rm -rf "$scratch"; fi
  if summary_owned; then summary_print; fi
  exit "$rc"
}
trap finish EXIT

not_run() {
  echo "e2e-as-user: NOT RUN - $*" >&2
  summary_line e2e-as-user "NOT RUN - $*"
  exit 0
}

if [ "$(id -u)" -ne 0 ]; then
  not_run "this already is an unprivileged user ($(id -un)); ./test.sh runs the end-to-end tests as it"
fi
if ! id -u "$user" >/dev/null 2>&1; then
  command -v useradd >/dev/null || not_run "useradd is missing, so the user $user cannot be made"
  useradd --system --user-group --no-create-home --home-dir /nonexistent \
    --shell /usr/sbin/nologin "$user" || not_run "useradd could not make the user $user"
  echo "e2e-as-user: made the system user $user"
fi
# A block of subordinate ids, so that the user's namespace maps uid 65534 too
# and the tests that act as another user run here as well: the first free
# block of 65,536 ids above every block already given out.
if ! grep -q "^$user:" /etc/subuid 2>/dev/null || ! grep -q "^$user:" /etc/subgid 2>/dev/null; then
  start=$(cat /etc/subuid /etc/subgid 2>/dev/null |
    awk -F: 'BEGIN { end = 100000 } NF == 3 && $2 + $3 > end { end = $2 + $3 } END { print end }')
  usermod --add-subuids "$start-$((start + 65535))" --add-subgids "$start-$((start + 65535))" "$user" ||
    not_run "usermod could not give the user $user subordinate ids"
  echo "e2e-as-user: gave $user the subordinate ids $start-$((start + 65535))"
fi
as_user() { runuser -u "$user" -- "$@"; }

source "$root/scripts/private_namespace.sh"
if ! probe_private_namespace as_user; then
  not_run "the user $user cannot make a private mount namespace inside a user namespace" \
          "(${namespace_refusals%$'\n'}); unprivileged user namespaces are off here"
fi

scratch=$(mktemp -d /tmp/fchba-e2e-user-XXXXXX)
chown "$user:" "$scratch"
chmod 0755 "$scratch"
as_user mkdir "$scratch/src"
tar -C "$root" --exclude='./build*' --exclude=./.git --exclude=./fuzz/corpus-new -cf - . |
  as_user tar -C "$scratch/src" -xf -

echo "e2e-as-user: building and running the end-to-end tests as $user (uid $(id -u "$user"))"
rc=0
as_user env HOME="$scratch" FCHBA_E2E_REQUIRED=1 bash -c '
  set -euo pipefail
  cmake -S "$1/src" -B "$1/build" -DFCHBA_WERROR="$3"
  cmake --build "$1/build" -j"$2" --target e2e_tests
  ctest --test-dir "$1/build" -L e2e -j"$2" --output-on-failure --no-tests=error \
    --output-junit "$1/build/test-results.xml"
' e2e-as-user "$scratch" "$jobs" "$werror" || rc=$?
if [ -f "$scratch/build/test-results.xml" ]; then
  summary_suite e2e-as-user "$scratch/build/test-results.xml"
else
  summary_line e2e-as-user "NOT RUN - the configure or the build failed (above)"
fi
if [ "$rc" -ne 0 ]; then exit "$rc"; fi
echo "e2e-as-user: every end-to-end test passed as $user, inside a user namespace"
