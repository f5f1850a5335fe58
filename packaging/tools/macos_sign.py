#!/usr/bin/env python3
"""Ad-hoc signs a macOS plug-in bundle on any machine, as
`codesign --force --sign - <bundle>` does on a Mac.

    macos_sign.py <Bundle.plugin>

The bundle must be laid out already: Contents/Info.plist (naming the
executable and the identifier), Contents/MacOS/<executable> (a Mach-O file or
a universal file of 64-bit slices), optionally Contents/PkgInfo and files under
Contents/Resources/. In this order it then
  1. seals the resources: Contents/_CodeSignature/CodeResources, with the
     default rules and the SHA-1 and SHA-256 hash of every file they cover;
  2. signs every slice of the executable: an LC_CODE_SIGNATURE load command
     (last) pointing at a signature that ends the slice, made of a SHA-256
     CodeDirectory (ad-hoc, identifier = CFBundleIdentifier, special slots for
     Info.plist, the requirements and CodeResources, one hash per 4096-byte
     page), the empty requirement set and an empty CMS blob. A signature the
     linker left is replaced.
Nothing in the bundle may change afterwards. Both files are written whole or
not at all; on any error the bundle is left as it was and the exit code is 1.
"""

import hashlib
import os
import plistlib
import re
import struct
import sys
import tempfile

PAGE_SHIFT = 12
PAGE = 1 << PAGE_SHIFT

MH_MAGIC_64 = 0xFEEDFACF
FAT_MAGIC = 0xCAFEBABE
MH_EXECUTE = 0x2
LC_SEGMENT_64 = 0x19
LC_CODE_SIGNATURE = 0x1D
CPU_TYPE_ARM64 = 0x0100000C

CSMAGIC_EMBEDDED_SIGNATURE = 0xFADE0CC0
CSMAGIC_CODEDIRECTORY = 0xFADE0C02
CSMAGIC_REQUIREMENTS = 0xFADE0C01
CSMAGIC_BLOBWRAPPER = 0xFADE0B01
CSSLOT_CODEDIRECTORY = 0x0
CSSLOT_REQUIREMENTS = 0x2
CSSLOT_CMS_SIGNATURE = 0x10000
CD_VERSION = 0x20400
CD_HEADER_SIZE = 88
CS_ADHOC = 0x2
HASH_SHA256 = 2
SHA256_SIZE = 32
SPECIAL_SLOTS = 3  # -1 Info.plist, -2 requirements, -3 CodeResources

# The empty requirement set and the empty CMS wrapper of an ad-hoc signature.
EMPTY_REQUIREMENTS = struct.pack(">III", CSMAGIC_REQUIREMENTS, 12, 0)
EMPTY_CMS = struct.pack(">II", CSMAGIC_BLOBWRAPPER, 8)

# codesign's default resource rules: the legacy ones and the version-2 ones.
RULES = {
    "^Resources/": True,
    "^Resources/.*\\.lproj/": {"optional": True, "weight": 1000.0},
    "^Resources/.*\\.lproj/locversion.plist$": {"omit": True, "weight": 1100.0},
    "^Resources/Base\\.lproj/": {"weight": 1010.0},
    "^version.plist$": True,
}
RULES2 = {
    "^.*": True,
    "^[^/]+$": {"nested": True, "weight": 10.0},
    "^(Frameworks|SharedFrameworks|PlugIns|Plug-ins|XPCServices|Helpers|MacOS|Library/(Automator|Spotlight|LoginItems))/":
        {"nested": True, "weight": 10.0},
    ".*\\.dSYM($|/)": {"weight": 11.0},
    "^(.*/)?\\.DS_Store$": {"omit": True, "weight": 2000.0},
    "^Info\\.plist$": {"omit": True, "weight": 20.0},
    "^PkgInfo$": {"omit": True, "weight": 20.0},
    "^version\\.plist$": {"weight": 20.0},
    "^embedded\\.provisionprofile$": {"weight": 20.0},
    "^Resources/": {"weight": 20.0},
    "^Resources/.*\\.lproj/": {"optional": True, "weight": 1000.0},
    "^Resources/.*\\.lproj/locversion.plist$": {"omit": True, "weight": 1100.0},
    "^Resources/Base\\.lproj/": {"weight": 1010.0},
}


class SignError(Exception):
    pass


def align(value, to):
    return (value + to - 1) // to * to


def rule_for(rules, path):
    """The matching rule of highest weight (a bare `true` weighs 1), or None."""
    best = None
    for pattern, rule in rules.items():
        if re.search(pattern, path):
            attrs = rule if isinstance(rule, dict) else {}
            weight = attrs.get("weight", 1.0)
            if best is None or weight > best[0]:
                best = (weight, attrs)
    return None if best is None else best[1]


def resource_seal(contents, executable):
    """CodeResources for the files under `contents`, relative to it."""
    files, files2 = {}, {}
    for root, dirs, names in os.walk(contents):
        dirs.sort()
        for name in sorted(names):
            full = os.path.join(root, name)
            rel = os.path.relpath(full, contents).replace(os.sep, "/")
            if rel == "MacOS/" + executable or rel.startswith("_CodeSignature/"):
                continue
            if os.path.islink(full) or not os.path.isfile(full):
                raise SignError(f"{rel}: only plain files can be sealed")
            with open(full, "rb") as f:
                data = f.read()
            sha1, sha256 = hashlib.sha1(data).digest(), hashlib.sha256(data).digest()
            rule2 = rule_for(RULES2, rel)
            if rule2 is not None and not rule2.get("omit"):
                if rule2.get("nested"):
                    # Nested code must be signed code of its own; this signer
                    # makes no such thing.
                    raise SignError(f"{rel} would count as nested code; put resources under Resources/")
                entry = {"hash": sha1, "hash2": sha256}
                if rule2.get("optional"):
                    entry["optional"] = True
                files2[rel] = entry
            rule = rule_for(RULES, rel)
            if rule is not None and not rule.get("omit"):
                files[rel] = {"hash": sha1, "optional": True} if rule.get("optional") else sha1
    seal = {"files": files, "files2": files2, "rules": RULES, "rules2": RULES2}
    xml = plistlib.dumps(seal, fmt=plistlib.FMT_XML, sort_keys=True)
    # Weights as codesign writes them: whole numbers, <real>1000</real>.
    return re.sub(rb"<real>(\d+)\.0</real>", rb"<real>\1</real>", xml)


def load_commands(macho):
    magic, cputype, _, filetype, ncmds, sizeofcmds = struct.unpack_from("<IiiIII", macho, 0)
    if magic != MH_MAGIC_64:
        raise SignError("not a 64-bit little-endian Mach-O slice")
    commands, at = [], 32
    for _ in range(ncmds):
        cmd, size = struct.unpack_from("<II", macho, at)
        if size < 8 or at + size > 32 + sizeofcmds:
            raise SignError("load commands run past their size")
        commands.append((cmd, at, size))
        at += size
    return cputype, filetype, sizeofcmds, commands


def segment(macho, commands, name):
    for cmd, at, _ in commands:
        if cmd == LC_SEGMENT_64 and macho[at + 8:at + 24].rstrip(b"\0") == name:
            return at
    raise SignError(f"no {name.decode()} segment")


def first_section_offset(macho, commands):
    """File offset of the first section's data: the load commands must end before it."""
    first = len(macho)
    for cmd, at, _ in commands:
        if cmd == LC_SEGMENT_64:
            nsects = struct.unpack_from("<I", macho, at + 64)[0]
            for k in range(nsects):
                sect = at + 72 + 80 * k
                size, offset = struct.unpack_from("<QI", macho, sect + 40)
                if offset and size:
                    first = min(first, offset)
    return first


def sign_slice(macho, identifier, special_hashes):
    macho = bytearray(macho)
    cputype, filetype, sizeofcmds, commands = load_commands(macho)
    # Drop a signature already there (ld64.lld signs arm64 output itself).
    for index, (cmd, at, size) in enumerate(commands):
        if cmd == LC_CODE_SIGNATURE:
            if index != len(commands) - 1:
                raise SignError("the existing LC_CODE_SIGNATURE is not the last load command")
            dataoff = struct.unpack_from("<I", macho, at + 8)[0]
            linkedit = segment(macho, commands, b"__LINKEDIT")
            fileoff = struct.unpack_from("<Q", macho, linkedit + 40)[0]
            del macho[dataoff:]
            struct.pack_into("<Q", macho, linkedit + 48, dataoff - fileoff)
            macho[at:at + size] = bytes(size)
            struct.pack_into("<II", macho, 16, len(commands) - 1, sizeofcmds - size)
            cputype, filetype, sizeofcmds, commands = load_commands(macho)
            break
    text = segment(macho, commands, b"__TEXT")
    linkedit = segment(macho, commands, b"__LINKEDIT")
    text_fileoff, text_filesize = struct.unpack_from("<QQ", macho, text + 40)
    le_vmsize, le_fileoff, le_filesize = struct.unpack_from("<QQQ", macho, linkedit + 32)
    if le_fileoff + le_filesize != len(macho):
        raise SignError("__LINKEDIT does not end the slice")
    end_of_commands = 32 + sizeofcmds
    if first_section_offset(macho, commands) - end_of_commands < 16:
        raise SignError("no room after the load commands for LC_CODE_SIGNATURE (link with -headerpad)")

    dataoff = align(len(macho), 16)
    code_slots = (dataoff + PAGE - 1) // PAGE
    ident = identifier.encode() + b"\0"
    hash_offset = CD_HEADER_SIZE + len(ident) + SPECIAL_SLOTS * SHA256_SIZE
    cd_length = hash_offset + code_slots * SHA256_SIZE
    blobs_offset = 12 + 3 * 8
    total = blobs_offset + cd_length + len(EMPTY_REQUIREMENTS) + len(EMPTY_CMS)
    datasize = align(total, 16)

    # The header as it will be signed: the new load command, __LINKEDIT
    # grown over the signature.
    macho.extend(bytes(dataoff - len(macho)))
    struct.pack_into("<IIII", macho, end_of_commands, LC_CODE_SIGNATURE, 16, dataoff, datasize)
    struct.pack_into("<II", macho, 16, len(commands) + 1, sizeofcmds + 16)
    page = 0x4000 if cputype == CPU_TYPE_ARM64 else 0x1000
    new_filesize = dataoff + datasize - le_fileoff
    struct.pack_into("<Q", macho, linkedit + 32, max(le_vmsize, align(new_filesize, page)))
    struct.pack_into("<Q", macho, linkedit + 48, new_filesize)

    exec_flags = 1 if filetype == MH_EXECUTE else 0
    cd = bytearray(struct.pack(
        ">IIIIIIIIIBBBBIIIIQQQQ",
        CSMAGIC_CODEDIRECTORY, cd_length, CD_VERSION, CS_ADHOC, hash_offset, CD_HEADER_SIZE,
        SPECIAL_SLOTS, code_slots, dataoff, SHA256_SIZE, HASH_SHA256, 0, PAGE_SHIFT, 0, 0, 0, 0, 0,
        text_fileoff, text_filesize, exec_flags))
    assert len(cd) == CD_HEADER_SIZE
    cd += ident
    for digest in reversed(special_hashes):  # slot -3 first, -1 last
        cd += digest
    for start in range(0, dataoff, PAGE):
        cd += hashlib.sha256(macho[start:min(start + PAGE, dataoff)]).digest()
    assert len(cd) == cd_length

    superblob = struct.pack(">III", CSMAGIC_EMBEDDED_SIGNATURE, total, 3)
    superblob += struct.pack(">II", CSSLOT_CODEDIRECTORY, blobs_offset)
    superblob += struct.pack(">II", CSSLOT_REQUIREMENTS, blobs_offset + cd_length)
    superblob += struct.pack(">II", CSSLOT_CMS_SIGNATURE, blobs_offset + cd_length + len(EMPTY_REQUIREMENTS))
    superblob += bytes(cd) + EMPTY_REQUIREMENTS + EMPTY_CMS
    macho += superblob + bytes(datasize - total)
    return bytes(macho)


def sign_executable(data, identifier, special_hashes):
    if len(data) >= 4 and struct.unpack_from(">I", data, 0)[0] == FAT_MAGIC:
        count = struct.unpack_from(">I", data, 4)[0]
        if count == 0 or 8 + 20 * count > len(data):
            raise SignError("universal header is damaged")
        slices = []
        for k in range(count):
            cputype, subtype, offset, size, _ = struct.unpack_from(">iiIII", data, 8 + 20 * k)
            if offset + size > len(data):
                raise SignError("a slice runs past the end of the file")
            slices.append((cputype, subtype, sign_slice(data[offset:offset + size], identifier, special_hashes)))
        # Slices 16 KiB aligned, as lipo places them.
        out = bytearray(struct.pack(">II", FAT_MAGIC, count))
        offset = align(8 + 20 * count, 1 << 14)
        placed = []
        for cputype, subtype, signed in slices:
            out += struct.pack(">iiIII", cputype, subtype, offset, len(signed), 14)
            placed.append((offset, signed))
            offset = align(offset + len(signed), 1 << 14)
        for at, signed in placed:
            out.extend(bytes(at - len(out)))
            out.extend(signed)
        return bytes(out)
    return sign_slice(data, identifier, special_hashes)


def write_whole(path, data, mode=None):
    folder = os.path.dirname(path)
    fd, tmp = tempfile.mkstemp(dir=folder, prefix=".sign-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        if mode is not None:
            os.chmod(tmp, mode)
        return tmp
    except BaseException:
        os.unlink(tmp)
        raise


def sign_bundle(bundle):
    contents = os.path.join(bundle, "Contents")
    info_path = os.path.join(contents, "Info.plist")
    try:
        with open(info_path, "rb") as f:
            info_bytes = f.read()
        info = plistlib.loads(info_bytes)
    except (OSError, plistlib.InvalidFileException, ValueError) as e:
        raise SignError(f"cannot read {info_path}: {e}")
    identifier, executable = info.get("CFBundleIdentifier"), info.get("CFBundleExecutable")
    if not isinstance(identifier, str) or not identifier or not isinstance(executable, str) or not executable:
        raise SignError("Info.plist names no CFBundleIdentifier or CFBundleExecutable")
    exe_path = os.path.join(contents, "MacOS", executable)
    try:
        with open(exe_path, "rb") as f:
            exe = f.read()
    except OSError as e:
        raise SignError(f"cannot read the executable: {e}")

    seal = resource_seal(contents, executable)
    special = [hashlib.sha256(info_bytes).digest(), hashlib.sha256(EMPTY_REQUIREMENTS).digest(),
               hashlib.sha256(seal).digest()]
    try:
        signed = sign_executable(exe, identifier, special)
    except struct.error:
        raise SignError(f"{exe_path} is truncated or not a Mach-O file")

    seal_dir = os.path.join(contents, "_CodeSignature")
    os.makedirs(seal_dir, exist_ok=True)
    tmp_seal = write_whole(os.path.join(seal_dir, "CodeResources"), seal, 0o644)
    try:
        tmp_exe = write_whole(exe_path, signed, os.stat(exe_path).st_mode & 0o777)
    except BaseException:
        os.unlink(tmp_seal)
        raise
    os.replace(tmp_seal, os.path.join(seal_dir, "CodeResources"))
    os.replace(tmp_exe, exe_path)


def main(argv):
    if len(argv) != 2 or not os.path.isdir(os.path.join(argv[1], "Contents")):
        print("usage: macos_sign.py <Bundle.plugin>  (a folder with Contents/Info.plist and Contents/MacOS/)",
              file=sys.stderr)
        return 2
    try:
        sign_bundle(argv[1])
    except SignError as e:
        print(f"macos_sign.py: {argv[1]}: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
