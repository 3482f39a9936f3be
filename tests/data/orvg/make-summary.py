#!/usr/bin/env python3
"""Writes the summary-information streams byte by byte, independently of the program, with a
readable dump of each beside it.

summary-new.bin      a new map's summary: created at CREATED, page count 1, application
                     name "Skizel", everything else as constructed.
summary-foreign.bin  a stream as another program might write it: another header, a foreign
                     section before the summary section, properties in another order,
                     properties the program does not use, a dictionary with a name that is
                     not last.
"""
import struct

SUMMARY = bytes.fromhex('E0859FF2F94F6810AB9108002B27B3D9')
USER = bytes.fromhex('05D5CDD59C2E1B10939708002B2CF9AE')
CREATED = 133000000000000000  # 2022-06-18 04:26:40 UTC


def pad4(b):
    return b + b'\0' * (-len(b) % 4)


def i2(v):
    return ('I2 %d' % v, pad4(struct.pack('<Ih', 2, v)))


def i4(v):
    return ('I4 %d' % v, pad4(struct.pack('<Ii', 3, v)))


def filetime(v):
    return ('FILETIME %d' % v, pad4(struct.pack('<IQ', 64, v)))


def lpstr(s):
    b = s.encode('cp1252') + b'\0'
    return ('LPSTR %r' % s, pad4(struct.pack('<II', 30, len(b)) + b))


def blob(typ, data):
    return ('type %d, %d bytes' % (typ, len(data)), pad4(struct.pack('<II', typ, len(data)) + data))


def lpstr_vector(items):
    body = struct.pack('<I', len(items))
    for s in items:
        b = s.encode('cp1252') + b'\0'
        body += struct.pack('<I', len(b)) + b
    return ('vector of LPSTR %r' % items, pad4(struct.pack('<I', 0x101E) + body))


def dictionary(names, padded):
    b = struct.pack('<I', len(names))
    for pid, name in names:
        n = name.encode('cp1252') + b'\0'
        b += struct.pack('<II', pid, len(n)) + n
    return ('dictionary %r' % names, pad4(b) if padded else b)


def section(props):
    """props: list of (id, (legend, bytes)). Returns (bytes, dump lines)."""
    table_end = 8 + 8 * len(props)
    offsets, values, pos = [], b'', table_end
    for pid, (legend, b) in props:
        offsets.append(pos)
        values += b
        pos += len(b)
    size = table_end + len(values)
    out = struct.pack('<II', size, len(props))
    for (pid, _), off in zip(props, offsets):
        out += struct.pack('<II', pid, off)
    lines = ['  section size %d, %d properties' % (size, len(props))]
    for (pid, (legend, b)), off in zip(props, offsets):
        lines.append('  +%3d id 0x%08X  %-5d bytes  %s' % (off, pid, len(b), legend))
    return out + values, lines


def property_set(version, os_version, clsid, sections):
    head = struct.pack('<HHI', 0xFFFE, version, os_version) + clsid + struct.pack('<I', len(sections))
    first = len(head) + 20 * len(sections)
    body, entries, lines, pos = b'', b'', [], first
    for fmtid, props in sections:
        pad = -pos % 4
        body += b'\0' * pad
        pos += pad
        data, dump = section(props)
        entries += fmtid + struct.pack('<I', pos)
        lines.append('section %s at %d' % (fmtid.hex().upper(), pos))
        lines += dump
        body += data
        pos += len(data)
    out = head + entries + body
    header = ['byte order 0xFFFE, version %d, OS version 0x%08X, class id %s, %d sections, %d bytes'
              % (version, os_version, clsid.hex().upper(), len(sections), len(out))]
    return out, header + lines


def write(name, data, lines):
    with open(name + '.bin', 'wb') as f:
        f.write(data)
    with open(name + '.txt', 'w') as f:
        f.write('\n'.join(lines) + '\n\n')
        for i in range(0, len(data), 16):
            f.write('%04X  %s\n' % (i, data[i:i + 16].hex(' ').upper()))


new_props = [
    (1, i2(1252)),
    (2, lpstr('')), (3, lpstr('')), (4, lpstr('')), (5, lpstr('')), (6, lpstr('')),
    (7, lpstr('')), (8, lpstr('')),
    (9, lpstr('0')),
    (10, filetime(0)), (11, filetime(0)), (13, filetime(0)), (12, filetime(CREATED)),
    (14, i4(1)), (15, i4(0)), (16, i4(0)),
    (18, lpstr('Skizel')),
    (0x80000002, i4(0)),
    (0, dictionary([(0, '')], padded=False)),
]
data, lines = property_set(0, 0x00020105, SUMMARY, [(SUMMARY, new_props)])
assert len(data) == 421 and data[-13:] == bytes([1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0])
write('summary-new', data, lines)

user_props = [
    (2, i4(7)),
    (0, dictionary([(0, '')], padded=False)),  # 13 bytes: the next section needs padding
]
foreign_props = [
    (1, i2(1252)),
    (18, lpstr('Textprogramm 9.0')),
    (2, lpstr('Karte Süd')),
    (4, lpstr('Anna')),
    (0, dictionary([(0, ''), (0x20, 'Orte')], padded=True)),
    (0x20, lpstr_vector(['a', 'bc'])),
    (9, lpstr('41')),
    (10, filetime(12345678900)),
    (12, filetime(CREATED)),
    (19, i4(2)),
    (17, blob(71, bytes([0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0xAB]))),
]
data, lines = property_set(0, 0x0002000A, bytes(16), [(USER, user_props), (SUMMARY, foreign_props)])
write('summary-foreign', data, lines)
