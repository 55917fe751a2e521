#!/usr/bin/env python3
"""Fails when a source file includes a header from a layer above its own, or when a layer below
qt/ includes a Qt header. The layers of src/, top to bottom, are those of LAYERS."""
import pathlib
import re
import sys

LAYERS = ["app", "shell", "qt", "document", "datasheets", "packages", "components", "objects",
          "model", "render", "platform", "base"]
RANK = {name: len(LAYERS) - i for i, name in enumerate(LAYERS)}
FIRST_WITHOUT_QT = LAYERS.index("qt") + 1
QT_FREE = set(LAYERS[FIRST_WITHOUT_QT:])

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*$|q[a-z]+\.h$)")


def check(src: pathlib.Path) -> list[str]:
    problems = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".hpp", ".cpp", ".cc"):
            continue
        layer = path.relative_to(src).parts[0]
        if layer not in RANK:
            problems.append(f"{path}: folder {layer}/ is not a layer")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            kind, name = match.groups()
            where = f"{path}:{number}"
            if kind == '"':
                target = name.split("/")[0] if "/" in name else layer
                if target not in RANK:
                    problems.append(f"{where}: includes {name} from outside the layers")
                elif RANK[target] > RANK[layer]:
                    problems.append(f"{where}: {layer}/ includes {name} from the layer above, {target}/")
            elif layer in QT_FREE and QT_HEADER.match(name):
                problems.append(f"{where}: {layer}/ is below qt/ and includes the Qt header <{name}>")
    return problems


def main() -> int:
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent
    problems = check(root / "src")
    for p in problems:
        print(p)
    if problems:
        print(f"layering: {len(problems)} include(s) break the layers")
        return 1
    print("layering: every include goes down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
