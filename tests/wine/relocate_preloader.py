#!/usr/bin/env python3
"""Makes Debian's 32-bit wine preloader usable under qemu-i386 (qemu 7.2).

Where the kernel runs no 32-bit code, wine32 runs through qemu-user. Two
things of the preloader clash with qemu's own memory layout: an almost empty
program segment at 0x08048000 makes qemu reserve most of the address space,
and the low reservation covers qemu's guest stack at 0x40000000. This writes a
copy with that segment dropped and the reservation split around the stack.
"""
import struct
import sys

source, target = sys.argv[1], sys.argv[2]
image = bytearray(open(source, "rb").read())

header_offset = struct.unpack_from("<I", image, 28)[0]
entry_size, entry_count = struct.unpack_from("<HH", image, 42)
for index in range(entry_count):
    entry = header_offset + index * entry_size
    kind, _, address = struct.unpack_from("<III", image, entry)
    if kind == 1 and address == 0x08048000:
        struct.pack_into("<I", image, entry, 0)  # PT_LOAD becomes PT_NULL

ranges = struct.pack("<8I", 0, 0x10000, 0x10000, 0x100000, 0x110000, 0x67EF0000, 0x7F000000, 0x03000000)
at = image.find(ranges)
if at < 0:
    sys.exit("relocate_preloader: reservation table not found; this wine version is not supported")
struct.pack_into("<6I", image, at, 0, 0x10000, 0x10000, 0x3FFE0000, 0x40810000, 0x68000000 - 0x40810000)
open(target, "wb").write(image)
