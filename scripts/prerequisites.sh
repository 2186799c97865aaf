#!/usr/bin/env bash
# The Debian packages this project needs, listed here and nowhere else, and
# their installation.
#
#   scripts/prerequisites.sh        everything: the program, the demo and all tests
#   scripts/prerequisites.sh demo   only what building the program and ./demo.sh need
#
# Installs whichever are missing with apt-get, through sudo when not root.
# When it cannot install them, it prints the exact command to run and exits 1.
set -euo pipefail

# Building and running the program and the demo: the tool chain, libxml2,
# zip (the demo packs the simulated kit), unzip (the program unpacks it), and
# mount and unshare (the demo's private mount namespace).
demo_packages=(cmake g++ make pkg-config libxml2-dev zip unzip mount util-linux)
# The tests as well: GoogleTest, zlib (compressed reference files), PCRE2 (the
# regular-expression tests' oracle), groff (renders the manual page),
# Google Benchmark, clang with its runtime (libFuzzer, for the fuzz corpus
# replay), and newuidmap/newgidmap (uidmap: a normal user's end-to-end
# namespace that maps another uid too).
test_packages=(libgtest-dev libgmock-dev zlib1g-dev libpcre2-dev groff-base libbenchmark-dev
               clang libclang-rt-14-dev uidmap)

case "${1:-all}" in
  demo) wanted=("${demo_packages[@]}") ;;
  all) wanted=("${demo_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 [demo|all]" >&2
    exit 2
    ;;
esac

if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
  echo "prerequisites: WARNING - no dpkg/apt-get here, so nothing was checked or installed." >&2
  echo "prerequisites: this project needs the equivalents of these Debian packages:" >&2
  echo "  ${wanted[*]}" >&2
  exit 0
fi

missing_packages() {
  local p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

mapfile -t missing < <(missing_packages)
if ((${#missing[@]} == 0)); then
  echo "prerequisites: all ${#wanted[@]} packages present"
  exit 0
fi

install_words=(apt-get install -y --no-install-recommends "${missing[@]}")
cannot_install() {
  echo "prerequisites: cannot install the missing packages ($1)." >&2
  echo "prerequisites: run this as root, then try again:" >&2
  echo "  apt-get update && ${install_words[*]}" >&2
  exit 1
}

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  cannot_install "not root, and sudo is not installed"
fi

echo "prerequisites: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update ||
  cannot_install "apt-get update failed"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${install_words[@]}" ||
  cannot_install "apt-get install failed"

mapfile -t missing < <(missing_packages)
if ((${#missing[@]})); then
  install_words=(apt-get install -y --no-install-recommends "${missing[@]}")
  cannot_install "still missing after the installation: ${missing[*]}"
fi
echo "prerequisites: all ${#wanted[@]} packages present"
