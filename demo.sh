#!/usr/bin/env bash
# Demonstration of fc-hba-update on the simulated Dazudu kit.
#
# Installs any missing prerequisite (scripts/prerequisites.sh demo), builds
# the program when needed (in build-demo/), then runs it twice in a scratch
# working directory inside a private mount namespace (private /etc overlay
# with a Red Hat release file, empty tmpfs on /var), so the host's /var/vdl is
# never touched: first a self-discovery run (/d), then an update run. It shows
# the console transcripts, the exit codes, the self-discovery XML and the log.
#
# As root the namespace is a plain one (unshare -m). As a normal user it lives
# inside a user namespace that maps the user to root (unshare --map-root-user
# -m), where the kernel allows that; the program then runs as uid 0 inside.
#
# The kit's engine answers its query with two adapters; the reference file
# carries newer firmware for the first one, so the update run flashes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$here/build-demo
fixture=$here/tests/fixtures/dazudu
kit=dzflashStandalone5.1.20

"$here/scripts/prerequisites.sh" demo

echo "== building fc-hba-update (incremental)"
cmake -S "$here" -B "$build" -DFCHBA_TESTS=OFF >/dev/null
cmake --build "$build" -j"${FCHBA_JOBS:-$(nproc)}" --target fc-hba-update >/dev/null
bin=$build/app/fc-hba-update

# The first way in which a tmpfs can be mounted on /var inside the namespace.
source "$here/scripts/private_namespace.sh"
if ! probe_private_namespace; then
  echo "demo.sh: NOT RUN - no private mount namespace could be made, so the program's" >&2
  echo "         /etc and /var/vdl could not be kept private to the demo:" >&2
  sed 's/^/         /' <<<"${namespace_refusals%$'\n'}" >&2
  echo "         It needs root with mount rights, or a kernel that allows unprivileged" >&2
  echo "         user namespaces (sysctl user.max_user_namespaces above 0)." >&2
  exit 1
fi
echo "== private mount namespace: made $namespace_how"

scratch=$(mktemp -d /tmp/fchba-demo-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/stage/$kit/lx" "$scratch/work" "$scratch/etc-up" "$scratch/etc-wk"
cp "$fixture/dzflash.sh" "$fixture/demo/query.txt" "$fixture/demo/update_rc" "$scratch/stage/$kit/lx/"
(cd "$scratch/stage" && zip -q -r -X "$scratch/work/$kit.zip" "$kit")
cp "$fixture/demo/reference.xml" "$scratch/work/"

SCRATCH=$scratch BIN=$bin "${namespace_words[@]}" bash -c '
  set -eu
  mount -t overlay overlay -o lowerdir=/etc,upperdir="$SCRATCH/etc-up",workdir="$SCRATCH/etc-wk" /etc
  rm -f /etc/redhat-release /etc/SuSE-release
  echo "Red Hat Enterprise Linux Server release 5.8 (Tikanga)" > /etc/redhat-release
  mount -t tmpfs tmpfs /var
  cd "$SCRATCH/work"

  show() { printf "\n== %s\n" "$1"; }
  run() {
    echo "\$ fc-hba-update${*:+ $*}"
    set +e
    "$BIN" "$@"
    rc=$?
    set -e
    printf "[exit code %d]\n" "$rc"
  }

  show "working directory"
  ls -1
  show "the kit engine answers its query with"
  unzip -p ./*.zip "*/lx/query.txt"

  show "run 1: self-discovery"
  run /d discovery.xml
  show "discovery.xml"
  cat discovery.xml

  show "run 2: update"
  run

  show "what the engine was asked to do"
  cat ./dzflashStandalone*/lx/calls.log

  show "/var/vdl/Component.log (private to this demo)"
  cat /var/vdl/Component.log
'
