#!/usr/bin/env python3
"""Writes the speaker test sound: a mono 16-bit PCM WAV file of three soft
chime strikes (a few inharmonic partials with a quick attack and an
exponential decay), 44.1 kHz, about 1.5 seconds."""
import math
import struct
import sys
import wave

RATE = 44100
STRIKE = 0.5  # seconds between strikes and length of each
PARTIALS = [(880.0, 1.0), (1760.0 * 1.002, 0.45), (2640.0 * 0.997, 0.25), (4400.0, 0.1)]


def strike(n):
    out = []
    for i in range(n):
        t = i / RATE
        attack = min(1.0, t / 0.004)
        decay = math.exp(-t * 7.0)
        fade = min(1.0, (n - i) / (0.01 * RATE))  # no click at the cut
        s = sum(a * math.sin(2 * math.pi * f * t) for f, a in PARTIALS)
        out.append(attack * decay * fade * s / 1.8)
    return out


def main(path):
    n = int(STRIKE * RATE)
    one = strike(n)
    samples = one * 3
    frames = b"".join(struct.pack("<h", int(round(0.6 * 32767 * s))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


if __name__ == "__main__":
    main(sys.argv[1])
