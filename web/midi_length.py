#!/usr/bin/env python3
"""Prints (or writes to the second argument) the length in seconds of a standard MIDI file up to the end of its longest track: where
FluidSynth's player starts the song again."""
import struct
import sys


def variable(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def main(path, out=None):
    data = open(path, "rb").read()
    if data[:4] != b"MThd":
        sys.exit(f"{path}: not a MIDI file")
    _, tracks, division = struct.unpack(">HHH", data[8:14])
    if division & 0x8000:
        sys.exit(f"{path}: SMPTE time is not supported")
    pos = 8 + struct.unpack(">I", data[4:8])[0]
    tempos = []  # (tick, microseconds per quarter note)
    end = 0
    for _ in range(tracks):
        if data[pos:pos + 4] != b"MTrk":
            sys.exit(f"{path}: a track is missing")
        size = struct.unpack(">I", data[pos + 4:pos + 8])[0]
        pos += 8
        stop = pos + size
        tick = 0
        status = 0
        while pos < stop:
            delta, pos = variable(data, pos)
            tick += delta
            if data[pos] & 0x80:
                status = data[pos]
                pos += 1
            if status == 0xFF:
                kind = data[pos]
                length, pos = variable(data, pos + 1)
                if kind == 0x51:
                    tempos.append((tick, int.from_bytes(data[pos:pos + 3], "big")))
                pos += length
            elif status in (0xF0, 0xF7):
                length, pos = variable(data, pos)
                pos += length
            else:
                pos += 1 if status & 0xF0 in (0xC0, 0xD0) else 2
        end = max(end, tick)
        pos = stop
    seconds = 0.0
    last_tick, tempo = 0, 500000
    for tick, new_tempo in sorted(tempos):
        if tick >= end:
            break
        seconds += (tick - last_tick) * tempo / division / 1e6
        last_tick, tempo = tick, new_tempo
    seconds += (end - last_tick) * tempo / division / 1e6
    text = f"{seconds:.6f}\n"
    if out:
        open(out, "w").write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main(*sys.argv[1:3])
