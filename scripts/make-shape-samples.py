#!/usr/bin/env python3
"""Writes the component symbols under samples/ and the components section of pump-unit.kdf.

Each symbol is drawn around its insertion point (0, 0) in drawing units (0.1 mm). The schematic
places copies of them with absolute coordinates; its header, revisions and attributes (everything
before the "SYMBOL:" line) are kept as they are in the file.

Run from anywhere: python3 scripts/make-shape-samples.py
"""
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")


def shape(kind, subtype, p1, p2=None, p3=None, **keys):
    return {"kind": kind, "SymbolType": subtype, "P1": p1, "P2": p2, "P3": p3, "keys": keys}


def two(subtype, p1, p2, **keys):
    return shape("2PointSymbol", subtype, p1, p2, **keys)


def three(subtype, p1, p2, p3, **keys):
    return shape("3PointSymbol", subtype, p1, p2, p3, **keys)


def dot(p1, **keys):
    return shape("1PointSymbol", "Dot", p1, Fill="Yes", **keys)


def poly(points, **keys):
    o = shape("PolyLine", None, None, **keys)
    o["points"] = points
    return o


def port(name, inner, outer, caption):
    return {"kind": "Port", "name": name, "P1": inner, "P2": outer, "P3": caption}


def attribute(tag, value, p1, **keys):
    return {"kind": "Attribute", "SymbolType": None, "P1": p1, "keys": {"Tag": tag, "Value": value, **keys}}


def article(code, p1):
    """The article code shown beside the symbol, as the component's attribute."""
    return attribute("_cArticleCode", code, p1, Height=16)


def box(x1, y1, x2, y2, **keys):
    return two("Rectangle", (x1, y1), (x2, y2), **keys)


def line(p1, p2, **keys):
    return two("Line", p1, p2, **keys)


class Symbol:
    def __init__(self, file_name, bom, objects):
        self.file_name, self.bom, self.objects = file_name, bom, objects

    def port(self, name):
        return next(o for o in self.objects if o["kind"] == "Port" and o["name"] == name)


# ---------------------------------------------------------------------------------------------
# The component symbols

PUMP_MOTOR = Symbol("pump-motor.sym", {
    "ArticleCode": "GP1-8-EM075", "Manufacturer": "Korvane", "Description": "Gear pump 8 cm3 with 0.75 kW motor"
}, [
    # Pump circle of radius 40 with its filled triangle pointing up to the pressure port; the
    # shaft stub to the right meets the motor's stub.
    two("Pump1b", (0, 0), (0, 40), Fill="Yes"),
    two("EMotor1", (120, 0), (120, 40)),
    line((0, 40), (0, 80)),
    line((0, -40), (0, -80)),
    # Direction of rotation across the shaft.
    three("Arc", (48, -22), (72, -22), (60, -28)),
    two("Arrow", (64, -27), (72, -22), Fill="Yes", Scale="0.4"),
    port("P", (0, 80), (0, 100), (20, 90)),
    port("S", (0, -80), (0, -100), (20, -90)),
    article("GP1-8-EM075", (170, -8)),
])

# Three positions of 80 x 80: crossed flow on the right, closed centre, straight flow on the left;
# a spring and a solenoid at each end.
VALVE = Symbol("valve-4-3.sym", {
    "ArticleCode": "DV06-43C-24DC", "Manufacturer": "Korvane",
    "Description": "Directional valve 4/3, closed centre, 24 V DC"
}, [
    box(-120, 0, -40, 80), box(-40, 0, 40, 80), box(40, 0, 120, 80),
    # Left position: P to A and B to T.
    two("Arrow", (-100, 4), (-100, 76), Fill="Yes"),
    two("Arrow", (-60, 76), (-60, 4), Fill="Yes"),
    # Centre position: every port closed.
    two("Blocked", (-20, 0), (-20, 16)), two("Blocked", (20, 0), (20, 16)),
    two("Blocked", (-20, 80), (-20, 64)), two("Blocked", (20, 80), (20, 64)),
    # Right position: P to B and A to T.
    two("Arrow", (60, 4), (100, 76), Fill="Yes"),
    two("Arrow", (60, 76), (100, 4), Fill="Yes"),
    # Springs centring the spool, solenoids shifting it.
    two("Spring", (-160, 28), (-120, 52)), two("Spring", (120, 28), (160, 52)),
    box(-190, 20, -160, 60), line((-190, 20), (-160, 60)),
    box(160, 20, 190, 60), line((160, 20), (190, 60)),
    line((-20, 80), (-20, 100)), line((20, 80), (20, 100)),
    line((-20, 0), (-20, -20)), line((20, 0), (20, -20)),
    port("A", (-20, 100), (-20, 120), (-38, 110)), port("B", (20, 100), (20, 120), (38, 110)),
    port("P", (-20, -20), (-20, -40), (-38, -30)), port("T", (20, -20), (20, -40), (38, -30)),
    article("DV06-43C-24DC", (200, 32)),
])

CHECK = Symbol("check-valve.sym", {
    "ArticleCode": "CV10-05", "Manufacturer": "Korvane", "Description": "Check valve, cracking pressure 0.5 bar"
}, [
    # Ball on its seat: free flow upwards, from A to B.
    two("CheckValve", (0, -30), (0, 30)),
    line((0, -30), (0, -60)),
    line((0, 30), (0, 60)),
    port("A", (0, -60), (0, -80), (18, -70)),
    port("B", (0, 60), (0, 80), (18, 70)),
    article("CV10-05", (36, -8)),
])

RELIEF = Symbol("relief-valve.sym", {
    "ArticleCode": "RV10-210", "Manufacturer": "Korvane", "Description": "Pressure relief valve, 50-210 bar"
}, [
    box(-40, -40, 40, 40),
    # Normally closed: the flow arrow stands beside the P-T line.
    two("Arrow", (14, -34), (14, 34), Fill="Yes"),
    # Adjustable spring on the right, pilot pressure from P on the left.
    two("Spring", (40, -12), (84, 12)),
    two("Arrow", (46, -22), (86, 24), Fill="Yes", Scale="0.6"),
    line((0, -40), (0, -80)),
    line((0, 40), (0, 80)),
    poly([(0, -64), (-64, -64), (-64, 0), (-40, 0)], LineType="Pilot"),
    dot((0, -64)),
    port("P", (0, -80), (0, -100), (18, -90)),
    port("T", (0, 80), (0, 100), (18, 90)),
    article("RV10-210", (48, -60)),
])

ORIFICE = Symbol("orifice.sym", {
    "ArticleCode": "OR06-12", "Manufacturer": "Korvane", "Description": "Fixed orifice 1.2 mm"
}, [
    # The two arcs face each other across the flow line.
    two("Orifice", (0, -24), (0, 24)),
    line((0, -60), (0, 60)),
    port("A", (0, -60), (0, -80), (18, -70)),
    port("B", (0, 60), (0, 80), (18, 70)),
    article("OR06-12", (30, -8)),
])

CYLINDER = Symbol("cylinder.sym", {
    "ArticleCode": "CD40-25-300", "Manufacturer": "Korvane",
    "Description": "Double-acting cylinder 40/25, stroke 300 mm"
}, [
    box(0, 0, 240, 60),
    box(60, 0, 68, 60, Fill="Yes"),
    box(68, 24, 320, 36),
    line((20, 0), (20, -20)),
    line((220, 0), (220, -20)),
    port("A", (20, -20), (20, -40), (2, -30)),
    port("B", (220, -20), (220, -40), (238, -30)),
    article("CD40-25-300", (0, 72)),
])

TANK = Symbol("tank", {"ArticleCode": "", "Manufacturer": "", "Description": "Tank"}, [
    poly([(-40, 30), (-40, 0), (40, 0), (40, 30)]),
    port("T", (0, 10), (0, 30), (20, 14)),
])

SYMBOLS = [PUMP_MOTOR, VALVE, CHECK, RELIEF, ORIFICE, CYLINDER]


# ---------------------------------------------------------------------------------------------
# Writing records


class Writer:
    def __init__(self):
        self.lines = []
        self.next_handle = 1

    def handle(self):
        h = self.next_handle
        self.next_handle += 1
        return h

    def put(self, depth=0, text=""):
        self.lines.append(("  " * depth + text) if text else "")

    def bom(self, depth, bom):
        self.put(depth, "Bom:")
        for k, v in bom.items():
            self.put(depth + 1, f"{k}={v}")
        self.put(depth, "EndBom.")

    def obj(self, depth, o, dx=0, dy=0):
        """Writes one object moved by (dx, dy); returns its handle."""
        h = self.handle()
        self.put()
        self.put(depth, o["kind"] + ":")
        if o["kind"] == "Port":
            self.put(depth + 1, f"Handle={h}")
        else:
            if o["SymbolType"]:
                self.put(depth + 1, f"SymbolType={o['SymbolType']}")
            self.put(depth + 1, f"Handle={h}")
            for k, v in o["keys"].items():
                self.put(depth + 1, f"{k}={v}")
        for n in (1, 2, 3):
            p = o.get(f"P{n}")
            if p is not None:
                self.put(depth + 1, f"Point{n}X={p[0] + dx}")
                self.put(depth + 1, f"Point{n}Y={p[1] + dy}")
        for p in o.get("points", []):
            self.put(depth + 1, f"Point={p[0] + dx},{p[1] + dy}")
        if o["kind"] == "Port":
            self.put(depth + 1, f"PortName={o['name']}")
        self.put(depth, "End.")
        return h

    def text(self):
        return "\r\n".join(self.lines) + "\r\n"


def write_symbol_file(sym):
    w = Writer()
    for t in [f"* {sym.file_name}", "* Symbol File", "* 10-12-2026", "* 09:00:00", "", "SymbolFile:", "",
              "Header:", "  FileType=Symbol", "  FileVersion=1.0.0-100", "End.", "", "SYMBOL:", "  Handle=-1"]:
        w.lines.append(t)
    w.put()
    w.bom(1, sym.bom)
    for o in sym.objects:
        w.obj(1, o)
    w.put(0, "End.")
    w.put()
    w.put(0, "End.")
    with open(os.path.join(ROOT, sym.file_name), "w", newline="") as f:
        f.write(w.text())


# ---------------------------------------------------------------------------------------------
# The schematic: a power unit moving a cylinder through a 4/3 valve, with a check valve after the
# pump, a relief valve on the pressure line and an orifice in the A line.

PLACES = [  # (name, symbol, insertion point)
    ("pump", PUMP_MOTOR, (-20, -100)),
    ("check", CHECK, (-20, 160)),
    ("relief", RELIEF, (180, 140)),
    ("valve", VALVE, (0, 300)),
    ("orifice", ORIFICE, (-20, 540)),
    ("cylinder", CYLINDER, (-140, 720)),
    ("tank1", TANK, (-20, -260)),
    ("tank2", TANK, (340, 160)),
    ("tank3", TANK, (80, 190)),
]

NODES = {"n1": (-20, 40)}

# (from, to, corners between them); ends are "component.port" or node names.
LINES = [
    ("pump.P", "n1", []),
    ("n1", "check.A", []),
    ("n1", "relief.P", []),
    ("check.B", "valve.P", []),
    ("valve.A", "orifice.A", []),
    ("orifice.B", "cylinder.A", [(-20, 650), (-120, 650)]),
    ("valve.B", "cylinder.B", [(20, 640), (80, 640)]),
    ("relief.T", "tank2.T", [(180, 260), (340, 260)]),
    ("valve.T", "tank3.T", [(20, 240), (80, 240)]),
    ("pump.S", "tank1.T", []),
]


def write_schematic():
    path = os.path.join(ROOT, "pump-unit.kdf")
    with open(path, newline="") as f:
        head = f.read().replace("\r\n", "\n")
    head = head[: head.index("\nSYMBOL:\n") + 1]
    w = Writer()
    w.lines = head.rstrip("\n").split("\n")
    w.put()
    w.put(0, "SYMBOL:")
    w.put(1, "Handle=-1")
    ends = {}
    for name, sym, (dx, dy) in PLACES:
        w.put()
        w.put(1, "Symbol:")
        w.put(2, f"Handle={w.handle()}")
        w.put(2, f"Point1X={dx}")
        w.put(2, f"Point1Y={dy}")
        w.put()
        w.bom(2, sym.bom)
        for o in sym.objects:
            h = w.obj(2, o, dx, dy)
            if o["kind"] == "Port":
                ends[f"{name}.{o['name']}"] = (h, (o["P2"][0] + dx, o["P2"][1] + dy))
        w.put(1, "End.")
    for name, (x, y) in NODES.items():
        ends[name] = (w.obj(1, {"kind": "ConnectionNode", "SymbolType": None, "keys": {}, "P1": (x, y)}), (x, y))
    # Lines last: a reader that does not know their point records loses nothing else.
    for a, b, corners in LINES:
        (ha, pa), (hb, pb) = ends[a], ends[b]
        w.put()
        w.put(1, "ConnectionLine:")
        w.put(2, f"Handle={w.handle()}")
        w.put(2, f"Port1Handle={ha}")
        w.put(2, f"Port2Handle={hb}")
        for x, y in [pa] + corners + [pb]:
            w.put(2, "Point:")
            w.put(3, f"X={x}")
            w.put(3, f"Y={y}")
            w.put(2, "End.")
        w.put(1, "End.")
    w.put(0, "End.")
    w.put()
    w.put(0, "End.")
    with open(path, "w", newline="") as f:
        f.write(w.text())


if __name__ == "__main__":
    for s in SYMBOLS:
        write_symbol_file(s)
    write_schematic()
