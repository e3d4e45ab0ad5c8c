# Sourced by the set-up scripts: apt's update and install, made to go on past
# an index that a mirror in the middle of a sync serves broken, and to take
# both architectures' halves of a package from one set of versions.
#
#   apt_update              apt-get update, tried three times; a suite whose
#                           index still fails is said in one line and held
#                           back from the installs that follow
#   apt_install [-t SUITE] PACKAGE...
#                           one transaction that never removes or downgrades
#                           what the machine has; when it cannot be done with
#                           a suite held back, one line says why and what to do

apt_sudo=()
[ "$(id -u)" -eq 0 ] || apt_sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
apt_held_back=()   # suites with an index that did not download
apt_failed=()      # those indexes, as apt names them: "bookworm-security/main i386 Packages"

apt_update() {
  local log try
  log=$(mktemp) || return 1
  for try in 1 2 3; do
    [ "$try" -eq 1 ] || sleep $((try * 5))
    if "${apt_sudo[@]}" apt-get update -q 2>&1 | tee "$log"; [ "${PIPESTATUS[0]}" -eq 0 ]; then
      apt_held_back=() apt_failed=()
      rm -f "$log"
      return 0
    fi
  done
  # "Err:8 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
  mapfile -t apt_failed < <(sed -n 's/^Err:[0-9]* [^ ]* //p' "$log" | sort -u)
  rm -f "$log"
  if [ ${#apt_failed[@]} -eq 0 ]; then
    echo "apt-get update failed three times, naming no index; see its output above" >&2
    return 1
  fi
  mapfile -t apt_held_back < <(printf '%s\n' "${apt_failed[@]}" | sed 's|[/ ].*||' | sort -u)
  echo "apt-get update: ${apt_failed[*]} did not download in three tries (a mirror in the middle of a sync?);" \
    "going on with the indexes that did, ${apt_held_back[*]} held back from this set-up's installs" >&2
}

# The machine's own preferences, then each held-back suite below the others:
# nothing new comes from it, and what is installed from it stays as it is.
apt_hold_back_preferences() {
  local suite
  [ ! -f /etc/apt/preferences ] || cat /etc/apt/preferences
  for suite in "${apt_held_back[@]}"; do
    printf '\nPackage: *\nPin: release %s=%s\nPin-Priority: 100\n' a "$suite" n "$suite"
  done
}

apt_install() {
  local log preferences= status options=(-y -q --no-install-recommends --no-remove)
  log=$(mktemp) || return 1
  if [ ${#apt_held_back[@]} -gt 0 ]; then
    preferences=$(mktemp) || return 1
    apt_hold_back_preferences > "$preferences"
    options+=(-o "Dir::Etc::Preferences=$preferences")
  fi
  status=0
  "${apt_sudo[@]}" apt-get install "${options[@]}" "$@" 2>&1 | tee "$log" || status=$?
  [ "$status" -eq 0 ] || apt_explain_failure "$log"
  rm -f "$log" ${preferences:+"$preferences"}
  return "$status"
}

# apt names what it cannot take ("libwine:i386 : Depends:
# libgstreamer-plugins-base1.0-0:i386 (>= 1.0.0) but it is not going to be
# installed", or "... but it is not installable"). With a suite held back,
# the cause is nearly always that package's twin of the machine's own
# architecture, installed from that suite at a version the other suites do
# not have for this architecture.
apt_explain_failure() {
  local unmet dependency twin
  [ ${#apt_held_back[@]} -gt 0 ] || return 0
  unmet=$(sed -n 's/^ *\([^ ]* : .*\)/\1/p' "$1" | head -n 1)
  [ -n "$unmet" ] || return 0
  dependency=$(sed -n 's/.*Depends: \([^ :]*\):[a-z0-9]* .*/\1/p' <<<"$unmet")
  twin=
  [ -z "$dependency" ] || twin=$(dpkg-query -W -f='${Package} ${Version}' "$dependency" 2>/dev/null) || twin=
  echo "set-up: no consistent set of packages with ${apt_held_back[*]} held back (${apt_failed[*]} did not download):" \
    "${twin:+$twin is installed, with no twin of that version for the other architecture; }$unmet." \
    "To do: run the set-up again once the mirror has synced${twin:+, or put ${twin%% *} back to a version the other suites have (apt-cache policy ${twin%% *})}." >&2
}
