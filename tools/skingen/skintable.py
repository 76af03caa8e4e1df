#!/usr/bin/env python3
"""The skin pairings and bitmap sizes of panel/res/skin_pairings.txt, read
for the skin generator, and the C++ table the program compiles from them.

    skintable.py --cpp OUTPUT.h     writes the C++ data header
"""
import argparse
import os
from collections import namedtuple

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panel", "res", "skin_pairings.txt")

# One skinned button: its dialog, skin set ("small", "large" or "" where the
# dialog has one set), control ID and six pictures.
Pairing = namedtuple("Pairing", "dialog set control normal down over disabled focus mask")

DIALOGS = ("main", "effects", "preset", "about")
STATES = ("normal", "down", "over", "disabled", "focus", "mask")


class TableError(Exception):
    pass


def _ids(words, where):
    out = []
    for w in words:
        first, _, last = w.partition("-")
        if not first.isdigit() or (last and not last.isdigit()):
            raise TableError(f"{where}: {w!r} is not an ID or a range")
        out.extend(range(int(first), int(last or first) + 1))
    return out


def parse(text, name="skin_pairings.txt"):
    """(pairings, sizes): the pairings in file order, each main-panel row of
    [main both] once per set, and {bitmap ID: (width, height)}."""
    pairings, sizes, section = [], {}, None
    seen = set()
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        where = f"{name}:{number}"
        if not line:
            continue
        if line.startswith("["):
            section = line.strip("[]").split()
            if section[0] not in DIALOGS + ("sizes",):
                raise TableError(f"{where}: unknown section {line}")
            continue
        if section is None:
            raise TableError(f"{where}: a line before the first section")
        if section[0] == "sizes":
            dims, *ids = line.split()
            w, _, h = dims.partition("x")
            if not (w.isdigit() and h.isdigit()):
                raise TableError(f"{where}: {dims!r} is not WIDTHxHEIGHT")
            for i in _ids(ids, where):
                if i in sizes:
                    raise TableError(f"{where}: bitmap {i} has two sizes")
                sizes[i] = (int(w), int(h))
            continue
        controls, sep, pictures = line.partition(":")
        pictures = pictures.split()
        if not sep or len(pictures) != len(STATES):
            raise TableError(f"{where}: want CONTROLS : {' '.join(s.upper() for s in STATES)}")
        dialog = section[0]
        sets = {"both": ["small", "large"]}.get(section[1], [section[1]]) if len(section) > 1 else [""]
        for control in _ids(controls.split(), where):
            for s in sets:
                if (dialog, s, control) in seen:
                    raise TableError(f"{where}: control {control} of {dialog} {s} paired twice")
                seen.add((dialog, s, control))
                pairings.append(Pairing(dialog, s, control, *_ids(pictures, where)))
    for p in pairings:
        missing = [i for i in p[3:] if i and i not in sizes]
        if missing:
            raise TableError(f"{name}: control {p.control} of {p.dialog} names bitmaps without a size {missing}")
    return pairings, sizes


def load(path=DATA):
    with open(path, encoding="utf-8") as f:
        return parse(f.read(), os.path.basename(path))


PAIRINGS, SIZE_OF = load()


def find(dialog, control, set=""):
    """The pairing of a control, or None."""
    for p in PAIRINGS:
        if (p.dialog, p.set, p.control) == (dialog, set, control):
            return p
    return None


def cpp_header(pairings, sizes):
    """The C++ data behind skin_table.h: one array per dialog and set, in
    file order, and the sizes in ID order."""
    out = ["// Written by tools/skingen/skintable.py from panel/res/skin_pairings.txt.",
           "#pragma once", "", "namespace orvane_skin_data {", ""]
    groups = [("kMainSmall", "main", "small"), ("kMainLarge", "main", "large"), ("kEffects", "effects", ""),
              ("kPreset", "preset", ""), ("kAbout", "about", "")]
    for name, dialog, s in groups:
        rows = [p for p in pairings if (p.dialog, p.set) == (dialog, s)]
        out.append(f"inline constexpr SkinPairing {name}[] = {{")
        out += ["    {" + ", ".join(str(v) for v in p[2:]) + "}," for p in rows]
        out += ["};", ""]
    out.append("inline constexpr SkinBitmapSize kSizes[] = {")
    out += [f"    {{{i}, {w}, {h}}}," for i, (w, h) in sorted(sizes.items())]
    out += ["};", "", "}  // namespace orvane_skin_data", ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cpp", required=True, help="the C++ header to write")
    parser.add_argument("--data", default=DATA)
    args = parser.parse_args()
    try:
        pairings, sizes = load(args.data)
    except TableError as e:
        raise SystemExit(f"skintable: {e}")
    text = cpp_header(pairings, sizes)
    # Rewritten only when it changes, so that a new run does not rebuild the program.
    try:
        with open(args.cpp, encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(args.cpp)), exist_ok=True)
    with open(args.cpp, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
