#!/usr/bin/env python3
"""Writes sample.orvd byte by byte, independently of the program, from the values listed
in sample.json (what the file must load as)."""
import math
import struct

def semi(deg):
    return int(math.trunc(deg * 11930464.0))

def text(s, width):
    b = s.encode('cp1252')[:width]
    return b + b'\0' * (width - len(b))

def waypoint(ident, lat, lon, comment, symbol, display):
    return text(ident, 6) + struct.pack('<ii', semi(lat), semi(lon)) + text(comment, 40) + \
        struct.pack('<hB', symbol, display)

home = waypoint('HOME', 52.5, 13.4, 'Zuhause Straße', 1, 0)
peak = waypoint('GIPFEL', -33.9, -70.25, 'A' * 40, 15, 2)
assert len(home) == 57 and len(peak) == 57

track = [(47.25, 8.5, 0, 1), (47.2501, 8.5002, 86400, 0), (-0.5, -0.5, 0xFFFFFFFF, 1)]
trackbytes = b''.join(struct.pack('<iiIB', semi(a), semi(o), t, n) for a, o, t, n in track)

correction = home + peak + b'\0' * 6 + struct.pack('<dd', 12.5, 1.25) + text('Karte Nord', 41) + b'\0' * 7
assert len(correction) == 184
grid = b'\0' * 64 + struct.pack('<dddd', 1000.0, 650.5, 0, 0) + text('G' * 41, 41) + b'\0' * 7
assert len(grid) == 144

data = (b'WayPts\0\0' + struct.pack('<h', 2) + home + peak +
        b'TrkPts\0\0' + struct.pack('<h', 3) + trackbytes +
        b'MapCorr\0' + struct.pack('<H', 1) + correction +
        b'MapGrid\0' + struct.pack('<H', 1) + grid)
open('sample.orvd', 'wb').write(data)

# What the file must load as, in the form of `orvi info --json`.
import json

def deg(s):
    return s * 8.381903171539307e-08

def wp_json(ident, lat, lon, comment, symbol, display):
    return {'ident': ident, 'comment': comment, 'latitude': deg(semi(lat)), 'longitude': deg(semi(lon)),
            'latitudeSemicircles': semi(lat), 'longitudeSemicircles': semi(lon),
            'symbol': symbol, 'display': display,
            'name': ident, 'altitude': None, 'depth': None, 'time': None}

home_j = wp_json('HOME', 52.5, 13.4, 'Zuhause Straße', 1, 0)
peak_j = wp_json('GIPFEL', -33.9, -70.25, 'A' * 40, 15, 2)
expected = {
    'format': 'orvd',
    'waypoints': [home_j, peak_j],
    'trackpoints': [{'latitude': deg(semi(a)), 'longitude': deg(semi(o)), 'latitudeSemicircles': semi(a),
                     'longitudeSemicircles': semi(o), 'time': t, 'newTrack': bool(n), 'altitude': None}
                    for a, o, t, n in track],
    # A point with newTrack set starts a track; a GPS 12 gives tracks no name or colour.
    'tracks': [{'name': '', 'color': None, 'first': 0, 'count': 2},
               {'name': '', 'color': None, 'first': 2, 'count': 1}],
    'routes': [],
    'correctionSets': [{'name': 'Karte Nord', 'rotation': 12.5, 'scale': 1.25, 'reference': home_j, 'target': peak_j}],
    'gridPresets': [{'name': 'G' * 41, 'latitudeScale': 1000.0, 'longitudeScale': 650.5}],
}
with open('sample.json', 'w', encoding='utf-8') as f:
    json.dump(expected, f, indent=2, ensure_ascii=False)
    f.write('\n')
