#!/usr/bin/env python3
"""What takes the space of a program: the bytes of code (.text), unwind
tables (.eh_frame) and constants (.rdata) each library or object file puts
into it, read from the linker's map (the win32 build writes bin/Pendo.map
and bin/mondax.map).

usage: bench/size-by-library.py MAP [lib|obj] [COUNT]
"""
import collections
import re
import sys

SECTIONS = ('.text', '.eh_frame', '.rdata')
ENTRY = re.compile(r'^ (\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$')
NAME_ONLY = re.compile(r'^ (\.\S+)$')
REST = re.compile(r'^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$')


def contributions(lines):
    sizes = collections.defaultdict(collections.Counter)
    started = False
    for i, line in enumerate(lines):
        started = started or line.startswith('Linker script and memory map')
        if not started:
            continue
        m = ENTRY.match(line)
        if m:
            section, _, size, source = m.groups()
        else:
            m = NAME_ONLY.match(line)
            rest = REST.match(lines[i + 1]) if m and i + 1 < len(lines) else None
            if not rest:
                continue
            section, size, source = m.group(1), rest.group(2), rest.group(3)
        top = next((s for s in SECTIONS if section.startswith(s)), None)
        if top and int(size, 16):
            sizes[top][source] += int(size, 16)
    return sizes


def main():
    lines = open(sys.argv[1]).read().split('\n')
    by = sys.argv[2] if len(sys.argv) > 2 else 'lib'
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    for section, sources in contributions(lines).items():
        totals = collections.Counter()
        for source, size in sources.items():
            m = re.match(r'(.*?\.a)\((.*)\)', source)
            if by == 'lib':
                key = (m.group(1) if m else source).split('/')[-1]
            else:
                key = m.group(1).split('/')[-1] + '(' + m.group(2) + ')' if m else source.split('/')[-1]
            totals[key] += size
        print('%s %d' % (section, sum(totals.values())))
        for key, size in totals.most_common(count):
            print('  %8d %s' % (size, key))


if __name__ == '__main__':
    main()
