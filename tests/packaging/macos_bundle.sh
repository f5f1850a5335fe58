#!/usr/bin/env bash
# Inspects the cross-built macOS bundle with LLVM's tools: what dyld and the
# host see of it before running any code. Nothing here loads it.
#   macos_bundle.sh <llvm-objdump> <llvm-nm> <Quillarray.plugin> <libSystem .tbd>
#                   <minimum macOS> <folder of the generated, checked resources>
#                   <python3> <signature verifier>
# Exit 77 (skipped) only when the cross build or the tools are missing.
set -u
objdump=$1 nm=$2 bundle=$3 tbd=$4 min_os=$5 resources=$6 python=$7 verifier=$8

if [ "$bundle" = NONE ]; then
  echo "SKIPPED: no Zig or ld64.lld when this build was configured, so no bundle was built (make deps installs them)"
  exit 77
fi
for tool in "$objdump" "$nm"; do
  if [ ! -x "$tool" ]; then
    echo "SKIPPED: llvm-objdump or llvm-nm not found (make deps installs llvm)"
    exit 77
  fi
done
binary=$bundle/Contents/MacOS/Quillarray
if [ ! -f "$binary" ]; then
  echo "FAILED: $binary was not built"
  exit 1
fi

passed=0 failed=0
check() {  # check <name> <expected> <actual>
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
    echo "ok: $1"
  else
    failed=$((failed + 1))
    printf 'FAILED: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}
words() { tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# Both processors' slices, each a complete bundle executable of its own.
slices=$("$objdump" --macho --universal-headers "$binary" | awk '$1 == "cputype" {print $2}' | words)
check "a universal file of an x86_64 and an arm64 slice" "CPU_TYPE_X86_64 CPU_TYPE_ARM64" "$slices"
for arch in x86_64 arm64; do
cpu=$([ $arch = x86_64 ] && echo X86_64 || echo ARM64)
# The Mach header: magic, processor, file type.
header=$("$objdump" --macho --arch=$arch --private-header "$binary" | awk '$1 ~ /^MH_MAGIC/ {print $1, $2, $5}')
check "$arch: a 64-bit Mach-O bundle" "MH_MAGIC_64 $cpu BUNDLE" "$header"

# What dyld exports (the export trie) and the external symbols defined.
exports=$("$objdump" --macho --arch=$arch --exports-trie "$binary" | awk '$1 ~ /^0x/ {print $2}' | sort | words)
check "$arch: exports only the two entry points" "_EffectMain _PluginDataEntryFunction" "$exports"
defined=$("$nm" --arch=$arch --extern-only --defined-only --format=just-symbols "$binary" | sort | words)
check "$arch: defines no other external symbol" "_EffectMain _PluginDataEntryFunction" "$defined"

# Load commands: libSystem alone, no search paths, built for the documented macOS.
headers=$("$objdump" --macho --arch=$arch --private-headers "$binary")
dylibs=$("$objdump" --macho --arch=$arch --dylibs-used "$binary" | awk 'NR > 1 {print $1}' | words)
check "$arch: links only libSystem" "/usr/lib/libSystem.B.dylib" "$dylibs"
check "$arch: has no run-path search paths" "0" "$(grep -c 'cmd LC_RPATH' <<<"$headers")"
build=$(awk '/cmd LC_BUILD_VERSION/ {b = 1} b && $1 == "platform" {p = $2} b && $1 == "minos" {print p, $2; exit}' \
  <<<"$headers")
check "$arch: built for macOS $min_os and later" "macos $min_os" "$build"
# The signature's load command comes last, as the loader requires.
last=$(awk '$1 == "cmd" {c = $2} END {print c}' <<<"$headers")
check "$arch: LC_CODE_SIGNATURE is the last load command" "LC_CODE_SIGNATURE" "$last"

# Every symbol it takes from outside is one libSystem exports for this
# processor: the symbol lists of the .tbd's export sections whose targets
# name <arch>-macos.
provided=$(awk -v want="$arch-macos" '
  /^--- / { section = "" }
  /^[a-z-]+:/ { section = $1 }
  section != "exports:" && section != "reexports:" { next }
  {
    line = $0
    if (match(line, /^ *(- )?[a-z-]+:/)) {
      key = substr(line, RSTART, RLENGTH)
      line = substr(line, RSTART + RLENGTH)
      sub(/^ *(- )?/, "", key)
      if (key == "targets:") { x86 = 0 }
    }
    gsub(/[][,'"'"']/, " ", line)
    n = split(line, token, " ")
    for (i = 1; i <= n; i++) {
      if (key == "targets:" && token[i] == want) { x86 = 1 }
      if (x86 && (key == "symbols:" || key == "weak-symbols:" || key == "thread-local-symbols:")) { print token[i] }
    }
  }' "$tbd" | sort -u)
undefined=$("$nm" --arch=$arch --undefined-only --format=just-symbols "$binary" | sort -u)
check "$arch: libSystem stubs read" "yes" "$(grep -qx _malloc <<<"$provided" && echo yes || echo no)"
check "$arch: takes symbols from outside" "yes" "$([ -n "$undefined" ] && echo yes || echo no)"
missing=$(comm -23 <(echo "$undefined") <(echo "$provided") | words)
check "$arch: every undefined symbol is libSystem's" "" "$missing"

done

# The bundle: its four files, the generated ones exactly as test_packaging
# parse them.
files=$(cd "$bundle" && find . -type f | sed 's|^\./||' | sort | words)
check "holds the executable, Info.plist, PkgInfo, the resource file and the seal" \
  "Contents/Info.plist Contents/MacOS/Quillarray Contents/PkgInfo Contents/Resources/Quillarray.rsrc Contents/_CodeSignature/CodeResources" "$files"
for f in Info.plist PkgInfo Resources/Quillarray.rsrc; do
  same=$(cmp -s "$resources/$(basename "$f")" "$bundle/Contents/$f" && echo same || echo different)
  check "Contents/$f is the generated $(basename "$f")" same "$same"
done

# The signature, recomputed: every page of both slices, the special slots,
# every sealed file, nothing unsealed.
verdict=$("$python" "$verifier" "$bundle")
echo "$verdict"
check "the verifier accepts the bundle's signature" "VALID: $bundle" "$(tail -n 1 <<<"$verdict")"

echo "macos bundle: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
