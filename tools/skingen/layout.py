"""Where the dialog templates put their controls, in dialog units, and the
mapping onto a background picture that the dialog stretches over its whole
client area: a control at dialog units (x, y) lands at (x * W / width,
y * H / height) of a W x H picture."""


class Map:
    def __init__(self, pic_w, pic_h, dlg_w, dlg_h):
        self.sx, self.sy = pic_w / dlg_w, pic_h / dlg_h

    def x(self, v):
        return v * self.sx

    def y(self, v):
        return v * self.sy

    def rect(self, x, y, w, h):
        return self.x(x), self.y(y), self.x(x + w) - self.x(x), self.y(y + h) - self.y(y)


MAIN_SIZE = (374, 278)
EFFECTS_SIZE = (236, 162)
PRESET_SIZE = (132, 79)

# Thumbs are drawn 3 pixels from a fader's left edge and are 14 pixels wide,
# whatever the skin set: the groove is centred under them.
THUMB_OFFSET = 3
THUMB_WIDTH = 14
GROOVE_CENTRE = THUMB_OFFSET + THUMB_WIDTH / 2.0

# Main panel: playback strips (label, label box, card span, faders).
PLAYBACK = [
    ("Master", (12, 20, 29, 16), (7, 47), [(11, 48, 14, 85), (29, 48, 14, 85)]),
    ("Wave", (53, 20, 29, 16), (49, 88), [(52, 48, 14, 85), (71, 48, 14, 85)]),
    ("SPDIF", (94, 20, 29, 16), (90, 129), [(93, 48, 14, 85), (112, 48, 14, 85)]),
    ("Mic", (128, 20, 29, 16), (131, 157), [(137, 48, 14, 85)]),
    ("CD", (162, 20, 29, 16), (159, 198), [(163, 48, 14, 85), (180, 48, 14, 85)]),
    ("AUX", (204, 20, 29, 16), (200, 239), [(204, 48, 14, 85), (222, 48, 14, 85)]),
    ("Line In", (246, 20, 29, 16), (241, 280), [(245, 48, 14, 85), (264, 48, 14, 85)]),
    ("MIDI", (289, 20, 29, 16), (282, 321), [(287, 48, 14, 85), (305, 48, 14, 85)]),
]
RECORDING = ("Recording", (330, 20, 29, 16), (324, 367), [(328, 51, 12, 63), (346, 51, 15, 63)])
STRIP_TOP, STRIP_BOTTOM = 18, 149

# Output strips: label, centre of the label, faders.
OUTPUTS = [
    ("Front", 219, [(204, 183, 14, 63), (222, 183, 14, 63)]),
    ("Surround", 261, [(245, 183, 14, 63), (264, 183, 14, 63)]),
    ("Center", 292, [(286, 183, 14, 63)]),
    ("LFE", 312, [(305, 183, 14, 63)]),
    ("Back", 345, [(329, 183, 14, 63), (347, 183, 14, 63)]),
]
OUTPUT_CARD = (198, 152, 169, 111)
RATE_DISPLAY = (36, 175, 41, 13)
LEFT_CARD = (3, 152, 82, 121)
SPEAKER_CARD = (88, 152, 107, 121)
TEST_CENTRE = (148, 205)

# Effects panel: the ten band sliders with their labels, the two level sliders.
BANDS = [(92, "31"), (105, "62"), (117, "125"), (130, "250"), (144, "500"),
         (156, "1k"), (169, "2k"), (182, "4k"), (195, "8k"), (209, "16k")]
BAND_Y, BAND_H = 35, 59
SPREAD_SLIDER = (18, 35, 12, 59)
INTENSITY_SLIDER = (59, 35, 12, 59)
