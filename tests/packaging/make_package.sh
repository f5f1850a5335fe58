#!/usr/bin/env bash
# Runs `make package` exactly as the README gives it, from the project root,
# then checks the ZIP it made (check_zip.cmake).
#   make_package.sh <project root> <cmake> <python3> <signature verifier> <scratch folder>
set -euo pipefail
root=$1 cmake=$2 python=$3 verifier=$4 scratch=$5
cd "$root"
# Not this test's own make flags: the nested builds use their presets' defaults.
env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make package
"$cmake" -DZIP_DIR="$root/build/package" -DPYTHON="$python" -DVERIFIER="$verifier" -DOUT_DIR="$scratch" \
  -P "$(dirname "$0")/check_zip.cmake"
