#!/usr/bin/env bash
# Demonstration of fc-hba-update on the simulated Dazudu kit.
#
# Builds the program when needed, then runs it twice in a scratch working
# directory inside a private mount namespace (private /etc overlay with a
# Red Hat release file, empty tmpfs on /var), so the host's /var/vdl is never
# touched: first a self-discovery run (/d), then an update run. It shows the
# console transcripts, the exit codes, the self-discovery XML and the log.
#
# The kit's engine answers its query with two adapters; the reference file
# carries newer firmware for the first one, so the update run flashes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$here/build
fixture=$here/tests/fixtures/dazudu
kit=dzflashStandalone5.1.20

echo "== building fc-hba-update (incremental)"
cmake -S "$here" -B "$build" >/dev/null
cmake --build "$build" -j4 --target fc-hba-update >/dev/null
bin=$build/app/fc-hba-update

if [ "$(id -u)" -ne 0 ] || ! unshare -m --propagation private true 2>/dev/null; then
  echo "demo.sh: NOT RUN - it needs root and private mount namespaces (unshare -m)," >&2
  echo "         so that the program's /etc and /var/vdl stay private to the demo." >&2
  exit 1
fi

scratch=$(mktemp -d /tmp/fchba-demo-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/stage/$kit/lx" "$scratch/work" "$scratch/etc-up" "$scratch/etc-wk"
cp "$fixture/dzflash.sh" "$fixture/demo/query.txt" "$fixture/demo/update_rc" "$scratch/stage/$kit/lx/"
(cd "$scratch/stage" && zip -q -r -X "$scratch/work/$kit.zip" "$kit")
cp "$fixture/demo/reference.xml" "$scratch/work/"

SCRATCH=$scratch BIN=$bin unshare -m --propagation private bash -c '
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
