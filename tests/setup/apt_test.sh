#!/usr/bin/env bash
# The set-up's apt steps against a stand-in apt-get on the PATH that plays a
# mirror in the middle of a sync: an index that fails to download for a few
# tries or for good, and an install that cannot be made consistent.
set -uo pipefail
library=$(cd "$(dirname "$0")/../../scripts" && pwd)/apt.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
failures=0

cat > "$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "$*" >> "$FAKE/calls"
case "$1" in
  update)
    tries=$(( $(cat "$FAKE/updates" 2>/dev/null || echo 0) + 1 )); echo "$tries" > "$FAKE/updates"
    [ "$tries" -gt "$UPDATE_FAILURES" ] && { echo "Hit:1 http://mirror bookworm InRelease"; exit 0; }
    printf '%s\n' "$UPDATE_ERROR" "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
  install)
    for option in "$@"; do
      case "$option" in Dir::Etc::Preferences=*) cp "${option#*=}" "$FAKE/preferences" ;; esac
    done
    [ "$INSTALL_STATUS" -eq 0 ] || printf '%s\n' "The following packages have unmet dependencies:" \
      " libwine:i386 : Depends: libgst-base:i386 (>= 1.0.0) but it is not installable" \
      "E: Unable to correct problems, you have held broken packages."
    exit "$INSTALL_STATUS" ;;
esac
FAKE
cat > "$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
[ "${*: -1}" = libgst-base ] && printf 'libgst-base 1.22.0-3+deb12u7'
FAKE
chmod +x "$work/bin/"*

stale="Err:8 http://mirror/debian-security bookworm-security/main i386 Packages"
# name | update failures | update error | install status | apt_update status | apt_install status |
#   updates tried | what the output must say, ';'-separated | held back? (yes/no)
cases=(
  "synced at the second try|1|$stale|0|0|0|2|Hit:1|no"
  "stale for good|9|$stale|0|0|0|3|did not download in three tries;bookworm-security/main i386 Packages;bookworm-security held back|yes"
  "fails naming no index|9|E: Could not get lock /var/lib/apt/lists/lock|0|1|-|3|naming no index|no"
  "no consistent set|9|$stale|100|0|100|3|libgst-base 1.22.0-3+deb12u7 is installed;bookworm-security/main i386 Packages did not download;To do: run the set-up again|yes"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name UPDATE_FAILURES UPDATE_ERROR INSTALL_STATUS want_update want_install want_tries want_lines held <<<"$row"
  export FAKE=$work/$RANDOM UPDATE_FAILURES UPDATE_ERROR INSTALL_STATUS
  mkdir -p "$FAKE"
  output=$( (
    PATH=$work/bin:$PATH
    sleep() { :; }
    . "$library"
    apt_sudo=()
    apt_update; echo "update status $?"
    [ "$want_update" -ne 0 ] || { apt_install wine wine32:i386; echo "install status $?"; }
  ) 2>&1 )
  fail() { echo "FAIL $name: $1"; echo "$output" | sed 's/^/    /'; failures=$((failures + 1)); }
  grep -qx "update status $want_update" <<<"$output" || fail "apt_update should return $want_update"
  [ "$want_update" -ne 0 ] || grep -qx "install status $want_install" <<<"$output" || fail "apt_install should return $want_install"
  IFS=';' read -ra lines <<<"$want_lines"
  for line in "${lines[@]}"; do grep -qF -- "$line" <<<"$output" || fail "no \"$line\""; done
  [ "$(grep -c '^update' "$FAKE/calls")" -eq "$want_tries" ] || fail "apt-get update should be tried $want_tries times"
  if [ "$want_update" -eq 0 ]; then
    grep -q -- '^install .*--no-remove' "$FAKE/calls" || fail "the install may remove packages"
    ! grep -q -- 'allow-downgrades' "$FAKE/calls" || fail "the install may downgrade packages"
  fi
  if [ "$held" = yes ]; then
    grep -qzP 'Pin: release n=bookworm-security\nPin-Priority: 100' "$FAKE/preferences" 2>/dev/null \
      || fail "bookworm-security is not held back for the install"
  elif [ -e "$FAKE/preferences" ]; then
    fail "a suite was held back though every index downloaded"
  fi
done
[ "$failures" -eq 0 ] && echo "every case of the set-up's apt steps passed"
exit $((failures > 0))
