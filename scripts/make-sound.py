#!/usr/bin/env python3
"""Writes res/sound.wav: a short, quiet click (a few milliseconds of a decaying tone)."""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.035          # seconds
FREQUENCY = 1800.0      # Hz
VOLUME = 0.18           # of full scale: quiet

def samples():
    n = int(RATE * LENGTH)
    for i in range(n):
        t = i / RATE
        envelope = math.exp(-t * 140.0) * min(1.0, i / 24.0)
        yield int(32767 * VOLUME * envelope * math.sin(2 * math.pi * FREQUENCY * t))

def main(path):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", s) for s in samples()))

if __name__ == "__main__":
    main(sys.argv[1])
