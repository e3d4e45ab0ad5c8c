# Sourced by every script that runs Windows code under Wine (the tests, the
# benchmarks and scripts/run.sh): a private HOME, no menu or Mono/Gecko side
# effects, and a UTF-8 locale, so that accented file names can be saved, whose
# name Wine reads the user's language from.
# ZORIZA_WINE_ROOT is a folder in the build tree: the locales live there, and
# HOME too unless ZORIZA_WINE_HOME names another. The display is the caller's.
ZORIZA_WINE_ROOT=${ZORIZA_WINE_ROOT:?set ZORIZA_WINE_ROOT to a folder in the build tree}
export HOME="${ZORIZA_WINE_HOME:-$ZORIZA_WINE_ROOT/home}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=${WINEDEBUG:--all}
export LOCPATH="$ZORIZA_WINE_ROOT/locales"
case "${LC_ALL:-}" in *UTF-8*|*utf8*) ;; *) export LC_ALL=C.UTF-8 ;; esac
mkdir -p "$HOME" "$LOCPATH"
# A locale this machine has not generated gets C.UTF-8's data under its own
# name: Wine still takes the language from the name.
[ "$LC_ALL" = C.UTF-8 ] || [ -e "/usr/lib/locale/$LC_ALL" ] || [ -e "$LOCPATH/$LC_ALL" ] ||
  ln -sfn /usr/lib/locale/C.utf8 "$LOCPATH/$LC_ALL"
