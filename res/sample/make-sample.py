#!/usr/bin/env python3
"""Writes sample.orvd, the data the simulated receiver of `orviedit --simulator` holds:
waypoints around the Zugersee and a day's hike as the track log (two segments)."""
import math
import struct

def semi(deg):
    return int(math.trunc(deg * 11930464.0))

def text(s, width):
    b = s.encode('cp1252')[:width]
    return b + b'\0' * (width - len(b))

def waypoint(ident, lat, lon, comment, symbol, display=0):
    return (text(ident, 6) + struct.pack('<ii', semi(lat), semi(lon)) + text(comment, 40) +
            struct.pack('<hB', symbol, display))

waypoints = [
    waypoint('ZUG   ', 47.16620, 8.51540, 'Bahnhof Zug', 3),
    waypoint('HAUS  ', 47.17310, 8.52010, 'Zuhause', 1),
    waypoint('TANKE ', 47.17980, 8.50870, 'Tankstelle Baar', 2),
    waypoint('HAFEN ', 47.16160, 8.50960, 'Bootshafen', 5, 2),
    waypoint('ANKER ', 47.14510, 8.49490, 'Ankerplatz Seemitte', 6),
    waypoint('FISCH ', 47.12640, 8.48350, 'Guter Fischplatz', 4),
    waypoint('ZUGBRG', 47.14740, 8.54110, 'Zugerberg Bergstation', 10),
    waypoint('ROSSBG', 47.06920, 8.57160, 'Wildspitz, Rossberg', 10, 2),
    waypoint('CAMP  ', 47.11880, 8.47380, 'Campingplatz Cham', 11),
    waypoint('ENTE  ', 47.18060, 8.47920, 'Vogelschutzgebiet', 12),
    waypoint('HIRSCH', 47.13230, 8.56400, 'Wildbeobachtung', 13),
    waypoint('BOJE  ', 47.15420, 8.48190, 'Boje Nord', 14),
    waypoint('WRACK ', 47.13770, 8.48920, 'Tauchplatz', 7),
    waypoint('AUSFAH', 47.18550, 8.49630, 'Ausfahrt Baar', 8),
    waypoint('GIPFEL', 47.13490, 8.53010, 'Aussichtspunkt Hochwacht', 0),
    waypoint('WETTER', 47.15960, 8.52740, 'Wetterstation', 15),
]

# A hike from Zug up to the Zugerberg and along the ridge, then (new track) down to the lake.
points = []
start = 1129766400 - 631065600 + 7 * 3600  # 2005-10-20 07:00 UTC in receiver seconds
t = start
lat, lon = 47.16620, 8.51540
heading = 100.0
for i in range(600):
    new = 1 if i in (0, 420) else 0
    if i == 420:
        t += 1800  # a rest, then a new track
    points.append(struct.pack('<iiIB', semi(lat), semi(lon), t, new))
    step = 0.018 + 0.006 * math.sin(i / 9.0)  # km between fixes
    heading += 9.0 * math.sin(i / 23.0) + (2.5 if i > 420 else -0.8)
    lat += step * math.cos(math.radians(heading)) / 111.317
    lon += step * math.sin(math.radians(heading)) / (111.317 * math.cos(math.radians(lat)))
    t += 15 + (i % 4)

data = (b'WayPts\0\0' + struct.pack('<h', len(waypoints)) + b''.join(waypoints) +
        b'TrkPts\0\0' + struct.pack('<h', len(points)) + b''.join(points))
open('sample.orvd', 'wb').write(data)
