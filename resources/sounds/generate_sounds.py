#!/usr/bin/env python3
"""Synthesises the controller's four short sounds as 16-bit 44.1 kHz mono WAV.

    101  cover opened or closed: a soft two-part plastic clack
    102  dial pressed in: a short, low click
    103  dial released: a lighter, higher click
    104  preview beep at the corrected in and out points: a clean tone

Only the standard library is used, and the noise has a fixed seed, so the
files come out byte for byte the same on every run.
"""

import math
import os
import random
import struct
import wave

RATE = 44100
HERE = os.path.dirname(os.path.abspath(__file__))


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def decaying_tone(freq, seconds, decay, amp, phase=0.0):
    """A sine whose level falls by e every `decay` seconds."""
    n = int(RATE * seconds)
    return [amp * math.exp(-i / (RATE * decay)) * math.sin(phase + 2 * math.pi * freq * i / RATE)
            for i in range(n)]


def noise_burst(seconds, decay, amp, seed, smooth):
    """Decaying noise, low-passed by a one-pole filter (smooth in 0..1)."""
    rng = random.Random(seed)
    n = int(RATE * seconds)
    out, y = [], 0.0
    for i in range(n):
        y = smooth * y + (1 - smooth) * rng.uniform(-1, 1)
        out.append(amp * math.exp(-i / (RATE * decay)) * y)
    return out


def mix(*tracks, offsets=None):
    offsets = offsets or [0.0] * len(tracks)
    length = max(int(RATE * off) + len(t) for t, off in zip(tracks, offsets))
    out = [0.0] * length
    for t, off in zip(tracks, offsets):
        start = int(RATE * off)
        for i, v in enumerate(t):
            out[start + i] += v
    return out


def envelope(samples, attack, release):
    """Linear fade in and out so that no sound starts or ends with a click."""
    n = len(samples)
    a, r = int(RATE * attack), int(RATE * release)
    for i in range(n):
        g = 1.0
        if a and i < a:
            g = i / a
        if r and i >= n - r:
            g = min(g, (n - 1 - i) / r)
        samples[i] *= g
    return samples


def write(name, samples, peak=0.7):
    top = max(abs(v) for v in samples) or 1.0
    scale = peak / top
    frames = b"".join(struct.pack("<h", int(round(v * scale * 32767))) for v in samples)
    with wave.open(os.path.join(HERE, name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)
    print(f"{name}: {len(samples) / RATE * 1000:.0f} ms")


def cover_clack():
    # The lid swings (a soft thump) and then latches (a smaller click).
    thump = mix(decaying_tone(150, 0.05, 0.012, 0.9),
                noise_burst(0.03, 0.004, 0.6, 101, 0.55))
    latch = mix(decaying_tone(1900, 0.025, 0.004, 0.5),
                noise_burst(0.02, 0.003, 0.5, 102, 0.3))
    return envelope(mix(thump, latch, offsets=[0.0, 0.045]) + silence(0.02), 0.001, 0.01)


def dial_press():
    return envelope(mix(decaying_tone(620, 0.06, 0.010, 0.8),
                        decaying_tone(2300, 0.02, 0.0025, 0.45),
                        noise_burst(0.015, 0.002, 0.35, 103, 0.4)), 0.0005, 0.008)


def dial_release():
    return envelope(mix(decaying_tone(940, 0.05, 0.007, 0.7),
                        decaying_tone(3200, 0.015, 0.002, 0.4),
                        noise_burst(0.01, 0.0015, 0.3, 104, 0.3)), 0.0005, 0.008)


def preview_beep():
    # D6 with a quiet octave: bright enough to hear over tape audio, not shrill.
    seconds = 0.16
    n = int(RATE * seconds)
    tone = [0.8 * math.sin(2 * math.pi * 1175 * i / RATE)
            + 0.12 * math.sin(2 * math.pi * 2350 * i / RATE) for i in range(n)]
    return envelope(tone, 0.008, 0.04)


def main():
    write("sound101.wav", cover_clack(), 0.6)
    write("sound102.wav", dial_press(), 0.55)
    write("sound103.wav", dial_release(), 0.45)
    write("sound104.wav", preview_beep(), 0.5)


if __name__ == "__main__":
    main()
