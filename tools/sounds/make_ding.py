#!/usr/bin/env python3
"""Writes assets/ding.wav: the short bell-like tone played when a played-back record changes
the range and the settings-change alarm is on.

0.4 s, 22050 Hz, 16-bit mono: a 1320 Hz tone with a quieter octave above it, a 5 ms attack and
an exponential decay. Uses only the standard library, so the file is made the same way
everywhere:

    python3 tools/sounds/make_ding.py [OUTPUT]   (default: assets/ding.wav beside this tool)
"""

import math
import os
import struct
import sys
import wave

RATE = 22050
SECONDS = 0.4
FUNDAMENTAL_HZ = 1320.0
ATTACK_S = 0.005
DECAY_PER_S = 9.0
PEAK = 0.6 * 32767


def samples():
    for n in range(int(RATE * SECONDS)):
        t = n / RATE
        envelope = min(1.0, t / ATTACK_S) * math.exp(-DECAY_PER_S * t)
        tone = (math.sin(2 * math.pi * FUNDAMENTAL_HZ * t)
                + 0.35 * math.sin(2 * math.pi * 2 * FUNDAMENTAL_HZ * t)) / 1.35
        yield int(round(PEAK * envelope * tone))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "assets", "ding.wav")
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(default)
    frames = b"".join(struct.pack("<h", s) for s in samples())
    with wave.open(output, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)
    print(output)


if __name__ == "__main__":
    main()
