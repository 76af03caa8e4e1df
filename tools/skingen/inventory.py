"""Every skin bitmap of the program by resource ID: its size and how it is
drawn. Buttons come as normal / down / disabled pictures plus a mask; the
IDs pair up as the dialogs' SetSkin calls use them."""
import buttons as b
import backgrounds
import theme as t

# (width, height) -> resource IDs, the sizes the dialogs and skins rely on.
SIZES = {
    (23, 185): [165], (14, 102): [171], (844, 593): [181],
    (34, 24): [185, 187, 188] + list(range(190, 196)) + list(range(197, 205)),
    (45, 24): list(range(205, 214)) + list(range(222, 226)),
    (19, 14): list(range(214, 219)) + list(range(311, 314)),
    (29, 28): list(range(299, 304)) + list(range(305, 309)) + [310],
    (27, 26): [309], (26, 18): [317, 318, 319, 339, 340],
    (57, 23): [320, 325, 326], (28, 23): [321, 322, 323, 324, 327],
    (24, 98): [328], (15, 13): list(range(329, 338)), (28, 26): [338],
    (39, 21): list(range(341, 348)),
    (58, 48): list(range(348, 367)) + list(range(379, 384)),
    (82, 21): [385, 386, 387, 388] + list(range(390, 395)), (271, 165): [389],
    (57, 22): [395, 396] + list(range(399, 403)) + [406, 407, 408],
    (78, 24): [397, 398, 403, 404, 405], (444, 346): [409], (26, 21): [410, 411],
    (446, 279): [413], (44, 28): list(range(414, 431)), (57, 30): list(range(431, 444)),
    (36, 35): list(range(444, 455)), (24, 18): list(range(455, 460)),
    (32, 22): list(range(460, 465)), (48, 25): list(range(465, 472)),
    (35, 28): [472, 473, 474], (17, 14): list(range(475, 484)), (652, 450): [484],
}
SIZE_OF = {i: size for size, ids in SIZES.items() for i in ids}

# A group of buttons sharing one size, shape and mask:
# (mask ID, shape, tone, [(label, normal ID, down ID, disabled ID or None)]).
GROUPS = [
    # rate flag and sample rates, small and large set
    (188, b.Shape(34, 24), "accent", [
        ("LOCK", 193, 192, None), ("32K", 185, 187, None), ("44.1K", 195, 194, None),
        ("48K", 198, 199, None), ("88.2K", 200, 201, None), ("96K", 202, 203, None),
        ("176.4K", 190, 191, None), ("192K", 204, 197, None)]),
    (416, b.Shape(44, 28), "accent", [
        ("LOCK", 414, 415, None), ("32K", 417, 418, None), ("44.1K", 419, 420, None),
        ("48K", 421, 422, None), ("88.2K", 423, 424, None), ("96K", 425, 426, None),
        ("176.4K", 427, 428, None), ("192K", 429, 430, None)]),
    # S/PDIF output modes
    (213, b.Shape(45, 24), "violet", [
        ("AUTO", 207, 208, 225), ("PCM", 209, 210, 222), ("AC3", 205, 206, 224), ("LOOP", 211, 212, 223)]),
    (431, b.Shape(57, 30), "violet", [
        ("AUTO", 432, 433, 434), ("PCM", 435, 436, 437), ("AC3", 438, 439, 440), ("LOOP", 441, 442, 443)]),
    # speaker layouts; the pictures are larger than their mask, the plate fills the mask
    (309, b.Shape(27, 26), "accent", [
        (b.label_headphones, 307, 308, None), ("2.0", 299, 300, None), ("4.0", 301, 302, None),
        ("5.1", 303, 310, None), ("7.1", 305, 306, None)]),
    (446, b.Shape(36, 35), "accent", [
        (b.label_headphones, 454, 453, None), ("2.0", 451, 452, None), ("4.0", 450, 449, None),
        ("5.1", 448, 447, None), ("7.1", 444, 445, None)]),
    # mute switches, S/PDIF output enable and links (small set; 1203 serves both sets)
    (218, b.Shape(19, 14, r=4), "red", [(b.label_mute, 217, 216, None)]),
    (218, b.Shape(19, 14, r=4), "accent", [(b.label_led, 215, 214, None)]),
    (313, b.Shape(19, 14, r=4), "accent", [(b.label_link, 312, 311, None)]),
    (457, b.Shape(24, 18, r=5), "red", [(b.label_mute, 456, 455, None)]),
    (457, b.Shape(24, 18, r=5), "accent", [(b.label_link, 458, 459, None)]),
    # DC remove and front microphone
    (317, b.Shape(26, 18), "accent", [("DC", 339, 340, None), (b.label_mic, 318, 319, None)]),
    (462, b.Shape(32, 22), "accent", [("DC", 464, 463, None), (b.label_mic, 460, 461, None)]),
    # sound effects, stereo expander, centre/LFE swap
    (341, b.Shape(39, 21), "accent", [("3D", 344, 345, None), ("WIDE", 342, 343, None), ("SWAP", 347, 346, None)]),
    (467, b.Shape(48, 25), "accent", [("3D", 465, 466, None), ("WIDE", 469, 468, None), ("SWAP", 471, 470, None)]),
    # language, effects panel and about panel buttons of the title bar
    (320, b.Shape(57, 23, r=11.5), "accent", [(b.label_language, 326, 325, None)]),
    (327, b.Shape(28, 23, r=6), "accent", [(b.label_fx, 321, 322, None), (b.label_info, 323, 324, None)]),
    (474, b.Shape(35, 28, r=7), "accent", [(b.label_fx, 472, None, None), (b.label_info, 473, None, None)]),
    # recording pages: Mic, Stereo Mix, Line In, Video
    (329, b.Shape(13, 12, r=3), "accent", [
        ("M", 332, 333, None), ("S", 334, 335, None), ("L", 330, 331, None), ("V", 336, 337, None)]),
    (479, b.Shape(17, 14, r=3), "accent", [
        ("M", 477, 478, None), ("S", 480, 481, None), ("L", 475, 476, None), ("V", 482, 483, None)]),
    # the power disc: hide button of the main panel, close button of the others
    (411, b.Shape(26, 21, disc=True), "accent", [(b.label_power, 410, None, None)]),
    # effects panel
    (408, b.Shape(55, 21, r=6), "accent", [
        ("3D", 395, 396, None), ("EQ", 399, 400, None), ("Ev-Init", 401, 402, None), ("RESET", 406, 407, None)]),
    (405, b.Shape(66, 22, r=6), "accent", [("Environ", 397, 398, None), ("Preset", 403, 404, None)]),
    # preset window; 394 is a spare plate without label
    (None, b.Shape(80, 20, r=6), "accent", [
        ("ADD", 385, 386, None), ("DELETE", 387, 388, None), ("EXIT", 390, 391, None),
        ("LOAD", 392, 393, None), ("", 394, None, None)]),
]

# Speaker-test buttons: (label, normal, down, mask); each has a mask of its own.
TESTS = [("FL", 354, 355, 356), ("FR", 349, 350, 348), ("C", 379, 380, 357), ("SUB", 351, 352, 353),
         ("SL", 381, 382, 358), ("SR", 359, 360, 361), ("BL", 383, 362, 363), ("BR", 364, 365, 366)]
TEST_SHAPE = b.Shape(32, 30, r=9)

# The effects panel's disabled look of its button 1182.
DISABLED_EFFECTS = 338


def _label(l):
    return b.label_text(l) if isinstance(l, str) else l


def drawers():
    """ID -> function returning the picture (a cairo surface)."""
    d = {}
    for mask_id, shape, tone, items in GROUPS:
        for label, normal, down, disabled in items:
            size = SIZE_OF[normal]
            lab = _label(label)
            d[normal] = lambda size=size, shape=shape, lab=lab, tone=tone: b.picture(*size, shape, "normal", lab, tone)
            if down:
                d[down] = lambda size=size, shape=shape, lab=lab, tone=tone: b.picture(*size, shape, "down", lab, tone)
            if disabled:
                d[disabled] = lambda size=size, shape=shape, lab=lab: b.picture(*size, shape, "disabled", lab)
        if mask_id:
            d[mask_id] = lambda size=SIZE_OF[mask_id], shape=shape: b.mask(*size, shape)
    for label, normal, down, mask_id in TESTS:
        lab = b.label_test(label)
        d[normal] = lambda lab=lab: b.picture(58, 48, TEST_SHAPE, "normal", lab)
        d[down] = lambda lab=lab: b.picture(58, 48, TEST_SHAPE, "down", lab)
        d[mask_id] = lambda: b.mask(58, 48, TEST_SHAPE)
    d[DISABLED_EFFECTS] = lambda: b.picture(28, 26, b.Shape(28, 23, r=6), "disabled", b.label_fx)
    d.update(backgrounds.drawers())
    return d
