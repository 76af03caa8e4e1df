"""How every skin bitmap of the program is drawn, by resource ID. Buttons
come as normal / down / disabled pictures plus a mask, paired as the skin
table (panel/res/skin_pairings.txt) pairs them."""
import buttons as b
import backgrounds
import skintable

# Sizes and pairings come from the program's one skin table.
SIZE_OF = skintable.SIZE_OF

# How the buttons look, by control: (dialog, skin set, shape of the plate,
# tone, [(label, control)]). The table says which pictures and mask each
# control takes; the buttons of a group share one size, shape and mask.
GROUPS = [
    # rate flag and sample rates
    ("main", "small", b.Shape(34, 24), "accent", [
        ("LOCK", 1201), ("32K", 1264), ("44.1K", 1265), ("48K", 1266), ("88.2K", 1267), ("96K", 1268),
        ("176.4K", 1269), ("192K", 1271)]),
    ("main", "large", b.Shape(44, 28), "accent", [
        ("LOCK", 1201), ("32K", 1264), ("44.1K", 1265), ("48K", 1266), ("88.2K", 1267), ("96K", 1268),
        ("176.4K", 1269), ("192K", 1271)]),
    # S/PDIF output modes
    ("main", "small", b.Shape(45, 24), "violet", [("AUTO", 1252), ("PCM", 1249), ("AC3", 1250), ("LOOP", 1251)]),
    ("main", "large", b.Shape(57, 30), "violet", [("AUTO", 1252), ("PCM", 1249), ("AC3", 1250), ("LOOP", 1251)]),
    # speaker layouts; the pictures are larger than their mask, the plate fills the mask
    ("main", "small", b.Shape(27, 26), "accent", [
        (b.label_headphones, 1039), ("2.0", 1040), ("4.0", 1042), ("5.1", 1043), ("7.1", 1052)]),
    ("main", "large", b.Shape(36, 35), "accent", [
        (b.label_headphones, 1039), ("2.0", 1040), ("4.0", 1042), ("5.1", 1043), ("7.1", 1052)]),
    # mute switches, S/PDIF output enable (one picture for both sets) and links
    ("main", "small", b.Shape(19, 14, r=4), "red", [(b.label_mute, 1002), (b.label_mute, 1046)]),
    ("main", "small", b.Shape(19, 14, r=4), "accent", [(b.label_led, 1203), (b.label_link, 1003)]),
    ("main", "large", b.Shape(24, 18, r=5), "red", [(b.label_mute, 1002), (b.label_mute, 1046)]),
    ("main", "large", b.Shape(24, 18, r=5), "accent", [(b.label_link, 1003)]),
    # DC remove and front microphone
    ("main", "small", b.Shape(26, 18), "accent", [("DC", 1262), (b.label_mic, 1263)]),
    ("main", "large", b.Shape(32, 22), "accent", [("DC", 1262), (b.label_mic, 1263)]),
    # sound effects, stereo expander, centre/LFE swap
    ("main", "small", b.Shape(39, 21), "accent", [("3D", 1205), ("WIDE", 1202), ("SWAP", 1204)]),
    ("main", "large", b.Shape(48, 25), "accent", [("3D", 1205), ("WIDE", 1202), ("SWAP", 1204)]),
    # language, effects panel and about panel buttons of the title bar (both sets)
    ("main", "small", b.Shape(57, 23, r=11.5), "accent", [(b.label_language, 1279)]),
    ("main", "small", b.Shape(28, 23, r=6), "accent", [(b.label_fx, 1182), (b.label_info, 1183)]),
    # recording pages: Mic, Stereo Mix, Line In, Video
    ("main", "small", b.Shape(13, 12, r=3), "accent", [("M", 1258), ("S", 1259), ("L", 1260), ("V", 1261)]),
    ("main", "large", b.Shape(17, 14, r=3), "accent", [("M", 1258), ("S", 1259), ("L", 1260), ("V", 1261)]),
    # the power disc: hide button of the main panel, close button of the others
    ("main", "small", b.Shape(26, 21, disc=True), "accent", [(b.label_power, 1006)]),
    # speaker tests; each has a mask of its own
    ("main", "small", b.Shape(32, 30, r=9), "accent", [
        (b.label_test("FL"), 1041), (b.label_test("FR"), 1054), (b.label_test("C"), 1053), (b.label_test("SUB"), 1057),
        (b.label_test("SL"), 1055), (b.label_test("SR"), 1058), (b.label_test("BL"), 1056), (b.label_test("BR"), 1059)]),
    # effects panel
    ("effects", "", b.Shape(55, 21, r=6), "accent", [("3D", 1016), ("EQ", 1011), ("Ev-Init", 1013), ("RESET", 1018)]),
    ("effects", "", b.Shape(66, 22, r=6), "accent", [("Environ", 1012), ("Preset", 1002)]),
    # preset window
    ("preset", "", b.Shape(80, 20, r=6), "accent", [("ADD", 1041), ("DELETE", 1160), ("EXIT", 1159), ("LOAD", 1286)]),
]

# Pictures of the inventory that no dialog pairs: the large set's own title
# bar buttons with their mask, and a spare plate of the preset window.
SPARES = [
    (474, b.Shape(35, 28, r=7), [(b.label_fx, 472), (b.label_info, 473)]),
    (None, b.Shape(80, 20, r=6), [("", 394)]),
]


def _label(l):
    return b.label_text(l) if isinstance(l, str) else l


def drawers():
    """ID -> function returning the picture (a cairo surface). The normal
    picture also serves hover and focus; a down or disabled picture that is
    the normal or down one of the same control is drawn once."""
    d = {}

    def draw(ident, shape, state, lab, tone):
        d[ident] = lambda: b.picture(*SIZE_OF[ident], shape, state, lab, tone)

    for dialog, skin_set, shape, tone, items in GROUPS:
        for label, control in items:
            p = skintable.find(dialog, control, skin_set)
            if p is None:
                raise SystemExit(f"skingen: no pairing for control {control} of {dialog} {skin_set}")
            lab = _label(label)
            for ident in {p.normal, p.over, p.focus} - {0}:
                draw(ident, shape, "normal", lab, tone)
            if p.down and p.down != p.normal:
                draw(p.down, shape, "down", lab, tone)
            if p.disabled and p.disabled not in (p.normal, p.down):
                draw(p.disabled, shape, "disabled", lab, "accent")
            if p.mask:
                d[p.mask] = lambda ident=p.mask, shape=shape: b.mask(*SIZE_OF[ident], shape)
    for mask_id, shape, items in SPARES:
        for label, ident in items:
            draw(ident, shape, "normal", _label(label), "accent")
        if mask_id:
            d[mask_id] = lambda ident=mask_id, shape=shape: b.mask(*SIZE_OF[ident], shape)
    d.update(backgrounds.drawers())
    return d
