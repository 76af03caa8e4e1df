#!/usr/bin/python3
"""Writes the hand-made seed inputs of the fuzz corpora (run once; the
corpora then grow with what the fuzzer keeps)."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def put(harness, name, data):
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def chunk(cid, body):
    pad = b"\0" if len(body) % 2 else b""
    return cid + struct.pack("<I", len(body)) + body + pad


def pcm(channels, rate, bits, tag=1):
    align = channels * bits // 8
    return struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)


def extensible(bits):
    base = pcm(1, 44100, bits, 0xFFFE)
    sub_format = bytes.fromhex("0100000000001000800000aa00389b71")
    return base + struct.pack("<HHI", 22, bits, 4) + sub_format


def wave(*chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wave_seeds():
    ramp = b"".join(struct.pack("<h", k * 300) for k in range(64))
    put("wave", "mono16.wav", wave(chunk(b"fmt ", pcm(1, 8000, 16)), chunk(b"data", ramp)))
    # odd data size: the pad byte after it
    put("wave", "mono8-odd.wav", wave(chunk(b"fmt ", pcm(1, 22050, 8)), chunk(b"data", bytes(range(33)))))
    put("wave", "stereo.wav", wave(chunk(b"fmt ", pcm(2, 44100, 16)), chunk(b"data", ramp)))
    put("wave", "extensible.wav", wave(chunk(b"fmt ", extensible(16)), chunk(b"data", ramp[:40])))
    put("wave", "list-first.wav", wave(chunk(b"LIST", b"INFOISFT" + struct.pack("<I", 5) + b"test\0\0"),
                                       chunk(b"fmt ", pcm(1, 48000, 24)), chunk(b"data", bytes(48))))
    put("wave", "no-data.wav", wave(chunk(b"fmt ", pcm(1, 8000, 16))))
    put("wave", "fmt-18.wav", wave(chunk(b"fmt ", pcm(1, 11025, 16) + b"\0\0"), chunk(b"data", ramp[:20])))


def state_seeds():
    put("state_file", "defaults.ini", b"""# Orvane virtual card state.
channels = 8
spdif_out = 1
expander = 1
playing = 1
os_version = 5.1
ds_speaker_config = 4
sample_rate = 00 08
spdif_out_word = 01 00 02 00
audio3d = 00 00 00 00 00 05
speaker_mode = 00 00 00
""")
    put("state_file", "faults.ini", b"""channels = 6
fault.property = 0x100D,0x1004
fault.short = 0x1001:20
fault.vanish_after = 3
wave_devices = 0
""")
    put("state_file", "mixer.ini", b"""channels = 2
mixer.0.0.m.volume = 65535 0
mixer.0.0.0.mute = 1
mixer.0.1.2.swap = 1
mixer.1.0.m.mux = 0 0 0 0 1 0
mixer.fault.no_controls = 0.4
mixer.fault.unknown_units = 2.m
recording.absent = 0
""")
    # the card throws on its first request, as the tests can ask it to
    put("state_file", "throw.ini", b"fault.throw = 1\nchannels = 6\n")
    put("state_file", "odd-values.ini", b"channels = 0x7\r\nos_version = 6.\r\n sample_rate=zz 1FF\r\n=\r\n# x = y\r\n")


def fader_seeds():
    def rec(minimum, maximum, steps, flags, left, right, drag):
        return struct.pack("<7I", minimum, maximum, steps, flags, left, right, drag)
    put("fader", "volume-stereo.bin", rec(0, 65535, 192, 0x70, 49152, 30000, 40))
    put("fader", "main-mono.bin", rec(0, 65535, 192, 0x12, 65535, 0, 100))
    put("fader", "balance.bin", rec(0, 65535, 384, 0x53, 1000, 60000, 120))
    put("fader", "no-steps.bin", rec(10, 5, 0, 0x41, 7, 9, 0))


def effects_seeds():
    put("graphic_eq", "graphiceq.txt", b"GraphicEQ: 20 -7.6; 21 -7.5; 100 -3; 1000 0; 5000 2.5; 19871 -2.1\n")
    put("graphic_eq", "ten-gains-bom-crlf.txt", b"\xef\xbb\xbf# exported\r\n2.4, 0, -1.2, 0, 0, 0.6, 0, 0, 3, 6\r\n")
    put("graphic_eq", "beyond-range.txt", b"GraphicEQ: 31 30; 16000 -30\n")
    put("graphic_eq", "bad.txt", b"GraphicEQ: 31; x 2;;\n")
    ten_band = "Preamp: -6.1 dB\r\n" + "".join(
        "Filter %d: ON PK Fc %d Hz Gain %.1f dB Q 1.41\r\n" % (i + 1, hz, 5.2 - i)
        for i, hz in enumerate([31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000]))
    put("graphic_eq", "ten-band-filters.txt", ten_band.encode())
    put("graphic_eq", "ten-band-utf16.txt", b"\xff\xfe" + ten_band.encode("utf-16-le"))
    put("graphic_eq", "parametric.txt",
        b"Preamp: -6.2 dB\nFilter 1: ON LSC Fc 105 Hz Gain 5.5 dB Q 0.70\n"
        b"Filter 2: ON PK Fc 2300 Hz Gain -3.1 dB Q 2.1\nFilter 3: OFF PK Fc 500 Hz Gain 1 dB Q 1\n"
        b"Filter 4: ON HSC Fc 10000 Hz Gain -2.4 dB Q 0.70\nFilter: ON HS Fc 12000 Hz Gain 1 dB\n")
    put("graphic_eq", "preamp-graphiceq.txt", b"Preamp: -3 dB\nGraphicEQ: 20 8; 1000 14; 20000 10\n")
    put("preset_section", "two.bin", b"Rock=Rock\0Jazz=Jazz\0\0")
    put("preset_section", "odd.bin", b"=\0noequals\0a==b\0")


if __name__ == "__main__":
    wave_seeds()
    state_seeds()
    fader_seeds()
    effects_seeds()
    sys.exit(0)
