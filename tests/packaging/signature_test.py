#!/usr/bin/env python3
"""The signature verifier proven on real signatures from elsewhere and on the
cross-built bundle: it accepts them as they are and rejects every copy with
one change (a byte of a code page, of a sealed resource, of Info.plist, a
file added to Resources/).

    signature_test.py <verifier> <samples folder> <Quillarray.plugin | NONE> <scratch folder>

Exit 77 (skipped) only when the samples were not fetched (make deps).
"""
import os
import shutil
import struct
import subprocess
import sys

verifier, samples, bundle, scratch = sys.argv[1:5]
REAL = [
    ("testcafe-browser-tools 2.0.26 (codesign, universal)",
     os.path.join(samples, "testcafe-browser-tools-2.0.26", "bin", "mac", "main")),
    ("@esbuild/darwin-arm64 0.19.12 (Go linker, arm64)",
     os.path.join(samples, "esbuild_darwin-arm64-0.19.12", "bin", "esbuild")),
]
if not all(os.path.isfile(p) for _, p in REAL):
    print(f"SKIPPED: no signature samples in {samples} (make deps fetches them)")
    sys.exit(77)

passed = failed = 0


def run(path):
    r = subprocess.run([sys.executable, verifier, path], capture_output=True, text=True)
    return r.returncode, r.stdout.strip()


def expect(name, path, valid):
    global passed, failed
    code, out = run(path)
    print(out)
    verdict = out.splitlines()[-1] if out else ""
    if (code == 0 and valid and verdict.startswith("VALID:")) or \
            (code == 1 and not valid and verdict.startswith("INVALID:")):
        passed += 1
        print(f"ok: {name}")
    else:
        failed += 1
        print(f"FAILED: {name}: exit {code}, expected {'acceptance' if valid else 'rejection'}")


def flip(path, offset):
    with open(path, "r+b") as f:
        f.seek(offset)
        b = f.read(1)
        f.seek(offset)
        f.write(bytes([b[0] ^ 0x01]))


def code_byte(path):
    """An offset inside the code pages of the file's first slice: its second page."""
    data = open(path, "rb").read(4096)
    if struct.unpack_from(">I", data, 0)[0] == 0xCAFEBABE:
        return struct.unpack_from(">I", data, 8 + 8)[0] + 4096 + 100
    return 4096 + 100


os.makedirs(scratch, exist_ok=True)
for name, path in REAL:
    expect(f"accepts {name}", path, True)
    copy = os.path.join(scratch, os.path.basename(path) + ".tampered")
    shutil.copyfile(path, copy)
    flip(copy, code_byte(copy))
    expect(f"rejects {name} with one code byte changed", copy, False)

if bundle != "NONE":
    expect("accepts the cross-built bundle", bundle, True)

    def tampered(label, change):
        copy = os.path.join(scratch, label, os.path.basename(bundle))
        shutil.rmtree(os.path.dirname(copy), ignore_errors=True)
        shutil.copytree(bundle, copy)
        change(os.path.join(copy, "Contents"))
        expect(f"rejects the bundle with {label.replace('-', ' ')}", copy, False)

    tampered("a-code-byte-changed", lambda c: flip(os.path.join(c, "MacOS", "Quillarray"),
                                                   code_byte(os.path.join(c, "MacOS", "Quillarray"))))
    tampered("a-resource-byte-changed", lambda c: flip(os.path.join(c, "Resources", "Quillarray.rsrc"), 300))
    def edit_info(c):
        # Still a well-formed property list: only the signature can tell.
        path = os.path.join(c, "Info.plist")
        text = open(path, "rb").read()
        at = text.index(b"<string>1.") + len(b"<string>1.")
        open(path, "wb").write(text[:at] + bytes([text[at] ^ 0x01]) + text[at + 1:])

    tampered("an-Info.plist-byte-changed", edit_info)
    tampered("a-file-added-to-Resources",
             lambda c: open(os.path.join(c, "Resources", "extra.txt"), "w").write("not sealed\n"))

print(f"signature verifier: {passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
