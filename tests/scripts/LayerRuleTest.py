#!/usr/bin/env python3
"""Fails when a file under src/ includes a header of a layer above its own.

    LayerRuleTest.py <src folder> <layers, bottom up, separated by ";">

A portable layer (src/<layer>/, its win32/ folder left out) may include its
own headers and those of the layers below it. src/platform/win32/ may include
platform/ (with its win32/) and common/; src/ui/win32/ everything portable
below app/, and platform/win32/; src/main/, the composition roots, anything.
No portable file includes a win32/ header. Only includes that name a folder
of src/ ("scan/...") are looked at: the system's and the generated headers
are nobody's layer.
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/([^"]*)"')


def layer_of(relative):
    """(layer, in_win32) of a path below src/."""
    parts = relative.split("/")
    return parts[0], len(parts) > 2 and parts[1] == "win32"


def allowed_targets(layer, win32, order):
    """The (layer, win32) pairs a file of this place may include."""
    if layer == "main":
        return None  # anything
    if win32 and layer == "platform":
        return {("common", False), ("platform", False), ("platform", True)}
    if win32 and layer == "ui":
        below_app = order[: order.index("app")]
        return {(name, False) for name in below_app} | {("platform", True), ("ui", True)}
    if win32:
        return set()
    return {(name, False) for name in order[: order.index(layer) + 1]}


def place(layer, win32):
    return f"{layer}/win32" if win32 else layer


def violations(src, order):
    found = []
    known = set(order) | {"main"}
    for folder, _, files in os.walk(src):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, src).replace(os.sep, "/")
            layer, win32 = layer_of(relative)
            if layer not in known:
                found.append(f"{relative}: in no layer (a folder of src/ that the layer order does not name)")
                continue
            targets = allowed_targets(layer, win32, order)
            with open(path, encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match or match.group(1) not in known:
                        continue
                    included = f"{match.group(1)}/{match.group(2)}"
                    target = layer_of(included)
                    if targets is None or target in targets:
                        continue
                    found.append(f"{relative}:{number}: includes {included}, of {place(*target)}, "
                                 f"which {place(layer, win32)} may not include")
    return sorted(found)


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    src, order = sys.argv[1], [name for name in sys.argv[2].split(";") if name]
    found = violations(src, order)
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) against the layer order: {' < '.join(order)}")
        return 1
    print(f"every include keeps the layer order: {' < '.join(order)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
