#!/usr/bin/env bash
# Runs the placement driver natively and as aarch64 code under qemu and
# compares the outputs bit for bit.
#   compare.sh <native driver> <aarch64 driver | NONE> <qemu-aarch64> <scratch folder>
# Exit 77 (skipped) only where the aarch64 driver was not built or qemu
# cannot run it.
set -u
native=$1 arm=$2 qemu=$3 out=$4
scenes=400

if [ "$arm" = NONE ]; then
  echo "SKIPPED: no Zig when this build was configured, so no aarch64 driver (make deps installs it)"
  exit 77
fi
if [ -z "$qemu" ] || [ ! -x "$qemu" ]; then
  echo "SKIPPED: qemu-aarch64-static not found (make deps installs qemu-user-static)"
  exit 77
fi
if ! "$qemu" "$arm" 1 >/dev/null 2>&1; then
  echo "SKIPPED: $qemu cannot run aarch64 code on this machine"
  exit 77
fi
"$native" $scenes >"$out/native.txt" || { echo "FAILED: the native driver failed"; exit 1; }
"$qemu" "$arm" $scenes >"$out/arm64.txt" || { echo "FAILED: the aarch64 driver failed under qemu"; exit 1; }
summary=$(tail -n 1 "$out/native.txt")
lines=$(wc -l <"$out/native.txt")
differences=$(diff "$out/native.txt" "$out/arm64.txt" | grep -c '^[<>]')
echo "x86_64 vs arm64 (qemu): $summary, $lines lines compared, differences: $differences"
if [ "$differences" -ne 0 ]; then
  diff "$out/native.txt" "$out/arm64.txt" | head -n 10
  exit 1
fi
