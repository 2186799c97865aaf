# Whether a private mount namespace can be made here, and how: sourced by
# demo.sh, .ci/run and scripts/e2e-as-user.sh (tests/e2e/private_namespace.cpp
# does the same for the end-to-end tests).
#
#   probe_private_namespace [runner words...]
#
# Tries the ways in order, each by mounting a tmpfs on /var inside a new
# namespace: as root a plain one (unshare -m), then one inside a user
# namespace that maps the user to root (unshare --map-root-user -m). The
# runner words, when given, run each attempt as another user (for example
# "runuser -u someone --"). Returns 0 when a way works, and sets:
#   namespace_words     the unshare words of the first way that works
#                       (an empty array when none does)
#   namespace_how       which way that was
#   namespace_refusals  one line per refused way: "<way>: <what it said>"

probe_private_namespace() {
  local runner=("$@") uid said
  namespace_words=()
  namespace_how=""
  namespace_refusals=""
  uid=$("${runner[@]}" id -u)
  local ways=()
  [ "$uid" = 0 ] && ways+=("as root (unshare -m)|unshare -m --propagation private")
  ways+=("in a user namespace (unshare --map-root-user -m)|unshare --map-root-user -m --propagation private")
  local way how words
  for way in "${ways[@]}"; do
    how=${way%%|*}
    read -r -a words <<<"${way#*|}"
    if said=$("${runner[@]}" "${words[@]}" sh -c 'mount -t tmpfs tmpfs /var' 2>&1); then
      namespace_words=("${words[@]}")
      namespace_how=$how
      return 0
    fi
    namespace_refusals+="$how: ${said:-refused}"$'\n'
  done
  return 1
}
