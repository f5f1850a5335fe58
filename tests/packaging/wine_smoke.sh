#!/usr/bin/env bash
# Runs the Windows smoke loader on the .aex under Wine, in a Wine prefix of
# its own inside the build folder. Exit 77 (skipped) only when Wine or the
# cross build is missing.
#   wine_smoke.sh <wine> <smoke_loader.exe> <Quillarray.aex> <prefix folder>
set -u
wine=$1 loader=$2 aex=$3 prefix=$4

if [ -z "$wine" ] || [ ! -x "$wine" ]; then
  echo "SKIPPED: Wine not found when this build was configured (make deps installs wine64)"
  exit 77
fi
if [ "$loader" = NONE ]; then
  echo "SKIPPED: x86_64-w64-mingw32-g++ not found, so nothing was cross-built (make deps installs g++-mingw-w64-x86-64)"
  exit 77
fi
for f in "$loader" "$aex"; do
  if [ ! -f "$f" ]; then
    echo "FAILED: $f was not built"
    exit 1
  fi
done

export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko install prompts on the first start, and no display.
export WINEDLLOVERRIDES="mscoree=;mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"

# Wine maps the Unix root to drive Z:.
to_windows() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

# The first start creates the prefix, which takes from seconds to a minute.
"$wine" "$(to_windows "$loader")" "$(to_windows "$aex")" </dev/null
rc=$?

# Stop this prefix's wineserver so that nothing outlives the test.
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=$(dirname "$wine")/wineserver64
[ -x "$server" ] || server=$(command -v wineserver || true)
if [ -n "$server" ]; then
  "$server" -k >/dev/null 2>&1 || true
fi
exit $rc
