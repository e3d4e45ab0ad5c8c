# Sourced by the scripts that run Windows code under Wine: a private HOME, no
# menu or Mono/Gecko side effects, and a UTF-8 locale so that accented file
# names can be saved.
ZORIZA_WINE_ROOT=${ZORIZA_WINE_ROOT:?set ZORIZA_WINE_ROOT to a folder in the build tree}
export HOME="$ZORIZA_WINE_ROOT/home"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=${WINEDEBUG:--all}
export LOCPATH="$ZORIZA_WINE_ROOT/locales"
export LC_ALL=${LC_ALL:-C.UTF-8}
[ "$LC_ALL" = C ] || [ "$LC_ALL" = POSIX ] && export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME"
