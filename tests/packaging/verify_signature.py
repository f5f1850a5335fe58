#!/usr/bin/env python3
"""Checks a macOS code signature the way the loader and Gatekeeper would
recompute it, on any machine. Written apart from the signer
(packaging/tools/macos_sign.py), so that the two do not share a mistake.

    verify_signature.py <executable>        a bare Mach-O or universal file
    verify_signature.py <Bundle.plugin>     a bundle: also its seal and Info.plist

For every slice: LC_CODE_SIGNATURE is the last load command and its signature
ends the slice; every CodeDirectory in the SuperBlob (the primary one and any
alternates) hashes every page up to codeLimit, and its special slots hold the
hashes of what they bind (the requirements blob; for a bundle Info.plist and
CodeResources). For a bundle: the identifier is CFBundleIdentifier, every
sealed file's SHA-1 and SHA-256 match, and no file outside the seal is present.
Prints one line per finding; exit 0 when everything holds, 1 otherwise.
"""

import hashlib
import os
import plistlib
import struct
import sys

CPU_NAMES = {0x01000007: "x86_64", 0x0100000C: "arm64"}
HASHES = {1: ("sha1", 20), 2: ("sha256", 32), 3: ("sha256-truncated", 20), 4: ("sha384", 48)}


class Invalid(Exception):
    pass


def be32(data, at):
    if at + 4 > len(data):
        raise Invalid(f"blob ends early at {at}")
    return int.from_bytes(data[at:at + 4], "big")


def digest(kind, data):
    name, size = HASHES[kind]
    h = hashlib.new("sha256" if name == "sha256-truncated" else name, data).digest()
    return h[:size]


def slices_of(data):
    """(name, bytes) of every slice."""
    magic = int.from_bytes(data[:4], "big")
    if magic in (0xCAFEBABE, 0xCAFEBABF):
        wide = magic == 0xCAFEBABF
        n = be32(data, 4)
        out, at = [], 8
        entry = 32 if wide else 20
        for _ in range(n):
            cpu = be32(data, at)
            if wide:
                off = int.from_bytes(data[at + 8:at + 16], "big")
                size = int.from_bytes(data[at + 16:at + 24], "big")
            else:
                off, size = be32(data, at + 8), be32(data, at + 12)
            if off + size > len(data):
                raise Invalid("a slice runs past the end of the universal file")
            out.append((CPU_NAMES.get(cpu, hex(cpu)), data[off:off + size]))
            at += entry
        return out
    if int.from_bytes(data[:4], "little") == 0xFEEDFACF:
        cpu = int.from_bytes(data[4:8], "little")
        return [(CPU_NAMES.get(cpu, hex(cpu)), data)]
    raise Invalid("neither a 64-bit Mach-O file nor a universal file")


def signature_of(macho):
    ncmds, sizeofcmds = struct.unpack("<II", macho[16:24])
    filetype = struct.unpack("<I", macho[12:16])[0]
    at, last, text, linkedit = 32, None, None, None
    for i in range(ncmds):
        cmd, size = struct.unpack("<II", macho[at:at + 8])
        if cmd == 0x19:
            name = macho[at + 8:at + 24].rstrip(b"\0")
            fileoff, filesize = struct.unpack("<QQ", macho[at + 40:at + 56])
            if name == b"__TEXT":
                text = (fileoff, filesize)
            elif name == b"__LINKEDIT":
                linkedit = (fileoff, filesize)
        if cmd == 0x1D:
            if i != ncmds - 1:
                raise Invalid("LC_CODE_SIGNATURE is not the last load command")
            last = struct.unpack("<II", macho[at + 8:at + 16])
        at += size
    if at != 32 + sizeofcmds:
        raise Invalid("load commands do not add up to sizeofcmds")
    if last is None:
        raise Invalid("no LC_CODE_SIGNATURE: unsigned")
    dataoff, datasize = last
    if dataoff + datasize != len(macho):
        raise Invalid("the signature does not end the slice")
    if linkedit is None or linkedit[0] + linkedit[1] != len(macho):
        raise Invalid("__LINKEDIT does not cover the signature")
    return dataoff, datasize, filetype, text


def check_code_directory(macho, cd, dataoff, filetype, text, special_expect):
    """Returns a description; raises Invalid on any wrong hash."""
    (magic, length, version, flags, hash_offset, ident_offset, n_special, n_code, code_limit) = \
        struct.unpack(">9I", cd[:36])
    hash_size, hash_type, _platform, page_shift = cd[36], cd[37], cd[38], cd[39]
    if magic != 0xFADE0C02 or length > len(cd):
        raise Invalid("not a CodeDirectory")
    if hash_type not in HASHES or HASHES[hash_type][1] != hash_size:
        raise Invalid(f"hash type {hash_type} with size {hash_size}")
    ident = cd[ident_offset:cd.index(b"\0", ident_offset)].decode()
    if code_limit != dataoff:
        raise Invalid(f"codeLimit {code_limit} is not the signature's offset {dataoff}")
    page = 1 << page_shift if page_shift else code_limit
    if n_code != (code_limit + page - 1) // page:
        raise Invalid(f"{n_code} code slots for {code_limit} bytes")
    for k in range(n_code):
        want = cd[hash_offset + k * hash_size:hash_offset + (k + 1) * hash_size]
        got = digest(hash_type, macho[k * page:min((k + 1) * page, code_limit)])
        if want != got:
            raise Invalid(f"page {k} (bytes {k * page}..) does not match its hash")
    slots = {}
    for s in range(1, n_special + 1):
        slots[s] = cd[hash_offset - s * hash_size:hash_offset - (s - 1) * hash_size]
    for s, content in special_expect.items():
        stored = slots.get(s)
        if content is None:
            if stored is not None and any(stored):
                raise Invalid(f"special slot -{s} binds something that is not there")
            continue
        if stored is None:
            raise Invalid(f"special slot -{s} is missing")
        if stored != digest(hash_type, content):
            raise Invalid(f"special slot -{s} does not match")
    if version >= 0x20400:
        base, limit, seg_flags = struct.unpack(">QQQ", cd[64:88])
        if text is not None and (base, limit) != text:
            raise Invalid(f"exec segment {base:#x}+{limit:#x} is not __TEXT")
        if seg_flags & 1 and filetype != 2:
            raise Invalid("main-binary exec-segment flag on something that is not an executable")
    return ident, (f"CodeDirectory v{version:#x} {HASHES[hash_type][0]} flags {flags:#x} "
                   f"id {ident!r} special slots {n_special} pages {n_code} ok")


def check_slice(name, macho, bundle_parts, report):
    dataoff, datasize, filetype, text = signature_of(macho)
    sig = macho[dataoff:dataoff + datasize]
    if be32(sig, 0) != 0xFADE0CC0:
        raise Invalid("signature is not an embedded-signature SuperBlob")
    length, count = be32(sig, 4), be32(sig, 8)
    if length > datasize:
        raise Invalid("SuperBlob longer than its space")
    blobs = {}
    for k in range(count):
        slot, off = be32(sig, 12 + 8 * k), be32(sig, 16 + 8 * k)
        blobs[slot] = sig[off:off + be32(sig, off + 4)]
    requirements = blobs.get(2)
    expect = {2: requirements}
    if bundle_parts is not None:
        expect[1], expect[3] = bundle_parts["info"], bundle_parts["seal"]
    else:
        # A bare executable binds no Info.plist and no resource seal: those
        # slots, where present, are zero.
        expect[1], expect[3] = None, None
    if 5 in blobs:
        expect[5] = blobs[5]
    directories = [s for s in sorted(blobs) if s == 0 or 0x1000 <= s < 0x1005]
    if 0 not in directories:
        raise Invalid("no CodeDirectory")
    idents = set()
    for slot in directories:
        ident, text_line = check_code_directory(macho, blobs[slot], dataoff, filetype, text, expect)
        idents.add(ident)
        report(f"{name}: slot {slot:#x}: {text_line}")
    if len(idents) != 1:
        raise Invalid("CodeDirectories disagree on the identifier")
    if requirements is not None:
        report(f"{name}: requirements {len(requirements)} bytes, "
               f"CMS {len(blobs[0x10000]) if 0x10000 in blobs else 'absent'}"
               f"{' (empty)' if blobs.get(0x10000) == bytes.fromhex('fade0b0100000008') else ''}")
    return idents.pop()


def check_seal(contents, executable, seal_bytes, report):
    seal = plistlib.loads(seal_bytes)
    files2 = seal.get("files2", {})
    listed = set()
    for rel, entry in files2.items():
        path = os.path.join(contents, rel)
        if not os.path.isfile(path):
            if isinstance(entry, dict) and entry.get("optional"):
                continue
            raise Invalid(f"sealed file {rel} is missing")
        data = open(path, "rb").read()
        if isinstance(entry, dict) and "hash2" in entry and entry["hash2"] != hashlib.sha256(data).digest():
            raise Invalid(f"sealed file {rel} does not match its SHA-256")
        if isinstance(entry, dict) and "hash" in entry and entry["hash"] != hashlib.sha1(data).digest():
            raise Invalid(f"sealed file {rel} does not match its SHA-1")
        listed.add(rel)
    for rel, entry in seal.get("files", {}).items():
        sha1 = entry if isinstance(entry, bytes) else entry.get("hash")
        path = os.path.join(contents, rel)
        if os.path.isfile(path) and hashlib.sha1(open(path, "rb").read()).digest() != sha1:
            raise Invalid(f"sealed file {rel} does not match its legacy SHA-1")
    # Everything in the bundle is sealed, bound or the executable itself.
    for root, _, names in os.walk(contents):
        for n in names:
            rel = os.path.relpath(os.path.join(root, n), contents).replace(os.sep, "/")
            if rel in ("Info.plist", "PkgInfo", "MacOS/" + executable) or rel.startswith("_CodeSignature/"):
                continue
            if rel not in listed:
                raise Invalid(f"{rel} is in the bundle but not in the seal")
    report(f"seal: {len(listed)} file(s) in files2 match, nothing unsealed")


def verify(path, report):
    bundle_parts = None
    if os.path.isdir(path):
        contents = os.path.join(path, "Contents")
        info_bytes = open(os.path.join(contents, "Info.plist"), "rb").read()
        info = plistlib.loads(info_bytes)
        executable = info["CFBundleExecutable"]
        seal_bytes = open(os.path.join(contents, "_CodeSignature", "CodeResources"), "rb").read()
        check_seal(contents, executable, seal_bytes, report)
        bundle_parts = {"info": info_bytes, "seal": seal_bytes, "id": info["CFBundleIdentifier"]}
        path = os.path.join(contents, "MacOS", executable)
    data = open(path, "rb").read()
    for name, macho in slices_of(data):
        ident = check_slice(name, macho, bundle_parts, report)
        if bundle_parts is not None and ident != bundle_parts["id"]:
            raise Invalid(f"{name}: identifier {ident!r} is not CFBundleIdentifier {bundle_parts['id']!r}")


def main(argv):
    if len(argv) != 2 or not os.path.exists(argv[1]):
        print("usage: verify_signature.py <executable or bundle>", file=sys.stderr)
        return 2
    try:
        verify(argv[1], print)
    except Invalid as e:
        print(f"INVALID: {argv[1]}: {e}")
        return 1
    except Exception as e:  # a damaged file of any kind: rejected, never a crash
        print(f"INVALID: {argv[1]}: unreadable ({type(e).__name__}: {e})")
        return 1
    print(f"VALID: {argv[1]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
