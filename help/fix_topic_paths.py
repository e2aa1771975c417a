#!/usr/bin/env python3
"""Rewrites the context table of a .chm built by chmcmd 3.2.2.

That chmcmd stores each [ALIAS] topic of the context table (#IVB and the
#STRINGS it points into) as the absolute path of the page on the build
machine, which no help viewer finds inside the file. This writes a copy
whose context table names the pages relative to the file's root, as
Microsoft's compiler does, and refuses a file it does not understand.

usage: fix_topic_paths.py project.hhp built.chm fixed.chm
"""
import os
import re
import struct
import sys

ITSF_HEADER_SECTIONS = 0x38
ITSF_CONTENT_OFFSET = 0x58


def fail(message):
    sys.exit("fix_topic_paths: " + message)


def read_encint(data, at):
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def encint(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def project_topics(hhp_path):
    """The (context number, page) pairs of the project, by [ALIAS] and [MAP]."""
    text = open(hhp_path, encoding="ascii").read()
    sections = {}
    current = None
    for line in text.splitlines():
        line = line.split(";", 1)[0].strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].upper(), [])
        elif line and current is not None:
            current.append(line)
    aliases = dict(line.split("=", 1) for line in sections.get("ALIAS", []))
    topics = []
    for line in sections.get("MAP", []):
        match = re.fullmatch(r"#define\s+(\w+)\s+(\d+)", line)
        if not match:
            fail("unreadable [MAP] line: " + line)
        name, number = match.group(1), int(match.group(2))
        if name not in aliases:
            fail(name + " has a number but no page in [ALIAS]")
        topics.append((number, aliases[name].strip().replace("\\", "/")))
    if not topics:
        fail("the project maps no context")
    return topics


def listing_chunks(data):
    """ITSP directory: (chunk size, quickref density, offsets of PMGL chunks)."""
    itsp_offset = struct.unpack_from("<Q", data, ITSF_HEADER_SECTIONS + 16)[0]
    if data[itsp_offset:itsp_offset + 4] != b"ITSP":
        fail("no ITSP directory")
    header_length, _, chunk_size, density = struct.unpack_from("<IIII", data, itsp_offset + 8)
    chunk_count = struct.unpack_from("<I", data, itsp_offset + 0x2C)[0]
    first = itsp_offset + header_length
    chunks = [first + i * chunk_size for i in range(chunk_count)]
    return chunk_size, density, [c for c in chunks if data[c:c + 4] == b"PMGL"]


def read_chunk(data, chunk, chunk_size):
    free = struct.unpack_from("<I", data, chunk + 4)[0]
    at, end = chunk + 20, chunk + chunk_size - free
    entries = []
    while at < end:
        length, at = read_encint(data, at)
        name = bytes(data[at:at + length])
        at += length
        section, at = read_encint(data, at)
        offset, at = read_encint(data, at)
        size, at = read_encint(data, at)
        entries.append([name, section, offset, size])
    return entries


def write_chunk(header, entries, chunk_size, density):
    body = bytearray()
    starts = []
    for name, section, offset, size in entries:
        starts.append(len(body))
        body += encint(len(name)) + name + encint(section) + encint(offset) + encint(size)
    # Every step-th entry is indexed from the chunk's end; counted as chmcmd
    # counts them, so that the chunks it wrote round-trip unchanged.
    step = 1 + (1 << density)
    quickref = [starts[i] for i in range(step - 1, len(entries), step)]
    tail = b"".join(struct.pack("<H", q) for q in reversed(quickref)) + struct.pack("<H", len(entries))
    free = chunk_size - 20 - len(body)
    if free < len(tail):
        fail("the directory chunk has no room for the new entries")
    chunk = bytearray(header[:20]) + body + bytes(free - len(tail)) + tail
    struct.pack_into("<I", chunk, 4, free)
    return chunk


def main():
    if len(sys.argv) != 4:
        fail("usage: fix_topic_paths.py project.hhp built.chm fixed.chm")
    hhp_path, built_path, fixed_path = sys.argv[1:]
    topics = project_topics(hhp_path)
    data = bytearray(open(built_path, "rb").read())
    if data[:4] != b"ITSF":
        fail(built_path + " is not a compiled help file")
    content_offset = struct.unpack_from("<Q", data, ITSF_CONTENT_OFFSET)[0]
    chunk_size, density, chunks = listing_chunks(data)

    listing = [(chunk, read_chunk(data, chunk, chunk_size)) for chunk in chunks]

    # chmcmd's #STRINGS holds nothing but the topic paths after its leading
    # NUL; anything else would be referenced by offsets this cannot keep.
    old_strings = None
    for chunk, entries in listing:
        for name, section, offset, size in entries:
            if name == b"/#STRINGS":
                old_strings = size
    if old_strings is None:
        fail("the file has no context table")

    strings = bytearray(b"\0")
    ivb = bytearray()
    for number, page in topics:
        ivb += struct.pack("<II", number, len(strings))
        strings += page.encode("ascii") + b"\0"
    ivb = struct.pack("<I", len(ivb)) + ivb

    # chmcmd writes each topic once as the full path of the page, and one
    # NUL more at the end: the old table's size tells whether these are its
    # pages, and nothing else.
    folder = os.path.dirname(os.path.abspath(hhp_path)) + "/"
    expected = len(strings) + len(topics) * len(folder.encode()) + 1
    if old_strings != expected:
        fail("the context table is %d bytes, not the %d of %d pages under %s"
             % (old_strings, expected, len(topics), folder))

    # The new streams go uncompressed at the end of the file (section 0).
    strings_offset = len(data) - content_offset
    data += strings
    ivb_offset = len(data) - content_offset
    data += ivb
    replaced = {b"/#STRINGS": (strings_offset, len(strings)), b"/#IVB": (ivb_offset, len(ivb))}
    for chunk, entries in listing:
        if write_chunk(data[chunk:chunk + 20], entries, chunk_size, density) != data[chunk:chunk + chunk_size]:
            fail("a directory chunk is not laid out as expected")
        touched = False
        for entry in entries:
            if entry[0] in replaced:
                entry[1], (entry[2], entry[3]) = 0, replaced.pop(entry[0])
                touched = True
        if touched:
            data[chunk:chunk + chunk_size] = write_chunk(data[chunk:chunk + 20], entries, chunk_size, density)
    if replaced:
        fail("the file has no #IVB")

    # Header section 0 records the file's length.
    section0 = struct.unpack_from("<Q", data, ITSF_HEADER_SECTIONS)[0]
    struct.pack_into("<Q", data, section0 + 8, len(data))
    open(fixed_path, "wb").write(data)


if __name__ == "__main__":
    main()
