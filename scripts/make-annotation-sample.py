#!/usr/bin/env python3
"""Writes samples/annotated-circuit.kdf and the picture it shows, samples/annotated-circuit.png.

A clamping circuit that uses every annotation and hydraulic element kind: a solenoid valve with
two coils and a manual button, a proportional pressure valve, orifices (fixed and adjustable), a
hose with its caption, a pressure switch (signal converter) with its electrical contact and an
electric mark, item numbers with leaders to their components, a loose leader, a revision
triangle with a revision cloud around the change, a photo of the unit and a parts table with a
merged header cell and wrapped text.

Run from anywhere: python3 scripts/make-annotation-sample.py
"""
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")
PICTURE = "annotated-circuit.png"


class Writer:
    def __init__(self):
        self.lines = []
        self.handle = 100

    def next(self):
        self.handle += 1
        return self.handle

    def put(self, depth, text=""):
        self.lines.append(("  " * depth + text) if text else "")

    def keys(self, depth, **keys):
        for k, v in keys.items():
            self.put(depth, f"{k}={v}")

    def record(self, depth, keyword, end="End.", children=None, **keys):
        self.put(depth, keyword + ":")
        self.put(depth + 1, f"Handle={self.next()}")
        self.keys(depth + 1, **keys)
        if children:
            children(depth + 1)
        self.put(depth, end)


def line(w, d, p1, p2, kind="Line", **keys):
    w.record(d, "2PointSymbol", SymbolType=kind, Point1X=p1[0], Point1Y=p1[1], Point2X=p2[0],
             Point2Y=p2[1], **keys)


def box(w, d, p1, p2, **keys):
    w.record(d, "2PointSymbol", SymbolType="Rectangle", Point1X=p1[0], Point1Y=p1[1], Point2X=p2[0],
             Point2Y=p2[1], **keys)


def port(w, d, name, inner, outer):
    w.record(d, "Port", Point1X=inner[0], Point1Y=inner[1], Point2X=outer[0], Point2Y=outer[1],
             Point3X=outer[0] + 12, Point3Y=outer[1] + 12, PortName=name)


def bom(w, d, code, description, item):
    w.put(d, "Bom:")
    w.keys(d + 1, MainItemNumber=item, ArticleCode=code, Manufacturer="Korvane", Description=description)
    w.put(d, "EndBom.")


def item_number(w, d, number, at, arrow_to):
    w.record(d, "ItemNumber", Point1X=at[0], Point1Y=at[1], MainNumber=number, LeaderType=1, BOMIndex=0,
             HasArrow="Yes", ArrowEndPointX=arrow_to[0], ArrowEndPointY=arrow_to[1])


def article(w, d, code, at):
    w.record(d, "Attribute", Point1X=at[0], Point1Y=at[1], Tag="_cArticleCode", Value=code, Height=16)


def configurable_bom(w, d):
    """The valve's records: a configurable main record whose ordering code comes from the options
    chosen, with suppliers and a component attribute, and its coil and plug as accessories."""
    w.put(d, "Bom:")
    w.keys(d + 1, MainItemNumber="1", ArticleCode="DV06-43C-24DC", Manufacturer="Korvane",
           Type="DV06-[Spool]-[Voltage]", Description="Directional valve 4/3, NG6", Weight=1.45, WeightLBS=3.2,
           PMax=315, PMaxPSI=4568, QMax=60, Datasheet="dv06.pdf", Suppliers="Nordhyd;Alpha Fluid;Beta Parts")
    w.put(d + 1, "ComponentAttribute:")
    w.keys(d + 2, AttributeTag="SIZE", AttributeValue="NG6")
    w.put(d + 1, "EndComponentAttribute.")
    w.put(d + 1, "UserFieldList:")
    for tag, value, kind in (("Body material", "Cast iron", "Text"), ("Seal kit", "SK-06-NBR", "List"),
                             ("Max. temperature", "80", "Float")):
        w.put(d + 2, "UserField:")
        w.keys(d + 3, FieldType=kind, FieldTag=tag, FieldValue=value)
        if kind == "Float":
            w.put(d + 3, f"FieldFloatValue={value}")
        w.put(d + 2, "End.")
    w.put(d + 1, "End.")
    w.put(d + 1, "FlexibleCode:")
    for line in ("[Spool]=43C", "43A=Open centre", "43C=Closed centre", "[Voltage]=24DC", "12DC=12 V DC",
                 "24DC=24 V DC", "230AC=230 V AC"):
        w.put(d + 2, line)
    w.put(d + 1, "EndFlexibleCode.")
    w.put(d, "EndBom.")
    for code, description in (("COIL-24DC", "Coil 24 V DC"), ("PLUG-DIN", "Plug DIN 43650")):
        w.put(d, "Bom:")
        w.keys(d + 1, ArticleCode=code, Manufacturer="Korvane", Description=description, HideItemNumber="Yes",
               QuantityManualEntered="Yes", QuantityManualValue=2)
        w.put(d, "EndBom.")


def component(w, code, description, item, body):
    w.put(1, "")
    w.put(1, "Symbol:")
    w.put(2, f"Handle={w.next()}")
    if code.startswith("DV06"):
        configurable_bom(w, 2)
    else:
        bom(w, 2, code, description, item)
    body(w, 2)
    w.put(1, "End.")


def valve(w, d):
    # A 4/3 valve body of three squares with a coil and a manual button on each side.
    for i in range(3):
        box(w, d, (100 + 80 * i, 400), (180 + 80 * i, 480))
    line(w, d, (120, 410), (160, 470), kind="Arrow")
    line(w, d, (280, 470), (280, 410), kind="Arrow")
    w.record(d, "Solenoid", Point1X=100, Point1Y=420, Point2X=60, Point2Y=460, **{"Button Side": "True"})
    w.record(d, "Solenoid", Point1X=340, Point1Y=420, Point2X=380, Point2Y=460, **{"Button Top": "True"})
    w.record(d, "Electric", Point1X=220, Point1Y=500)
    for name, x in (("A", 200), ("B", 240)):
        port(w, d, name, (x, 480), (x, 520))
    for name, x in (("P", 200), ("T", 240)):
        port(w, d, name, (x, 400), (x, 360))
    article(w, d, "DV06-43C-24DC", (400, 440))
    item_number(w, d, "1", (40, 560), (100, 480))


def proportional(w, d):
    box(w, d, (560, 400), (620, 480))
    w.record(d, "Solenoid", Point1X=620, Point1Y=420, Point2X=660, Point2Y=460, proportional="True")
    port(w, d, "P", (590, 400), (590, 360))
    port(w, d, "T", (590, 480), (590, 520))
    article(w, d, "PRV10-210", (680, 440))
    item_number(w, d, "2", (700, 560), (620, 480))


def orifices(w, d):
    w.record(d, "Orifice", Point1X=200, Point1Y=620, Point2X=200, Point2Y=700, Filled="True")
    w.record(d, "Orifice", Point1X=240, Point1Y=620, Point2X=240, Point2Y=700, Restrictor="True")
    port(w, d, "1", (200, 620), (200, 600))
    port(w, d, "2", (240, 620), (240, 600))
    article(w, d, "OR06-12", (270, 660))
    item_number(w, d, "3", (320, 720), (240, 680))


def pressure_switch(w, d):
    w.record(d, "SignalConverter", Point1X=560, Point1Y=620, Point2X=640, Point2Y=680,
             Input="Pressure", Output="ElecSwitch")
    w.record(d, "ElectricalContact", Point1X=660, Point1Y=620, Point2X=700, Point2Y=680,
             ContactType="SwitchContact")
    port(w, d, "P", (600, 620), (600, 600))
    article(w, d, "PS-250", (720, 650))
    item_number(w, d, "4", (760, 720), (700, 660))


def hose(w, d):
    def caption(depth):
        w.record(depth, "Attribute", Point1X=420, Point1Y=250, Tag="HOSE TYPE", Height=16)

    w.record(d, "Hose", children=caption, Point1X=200, Point1Y=300, Point2X=590, Point2Y=300,
             Connection1="DKOL 12L", Connection2="DKOL 12L 90", HoseLength=1250.5, HoseNumber="H1",
             PMax=250, Description="2SN DN10", HoseType="<conn1> / <conn2> L=<length>")


def revision(w):
    # The change of revision B: the proportional valve, marked with a cloud and a triangle.
    w.put(1, "")
    w.record(1, "PolyLine", SymbolType="Revision cloud", children=lambda d: [
        w.put(d, f"Point={x},{y}") for x, y in ((530, 340), (820, 340), (820, 540), (530, 540), (530, 340))])
    w.record(1, "RevTriangle", Point1X=860, Point1Y=560, Note="Proportional valve added",
             children=lambda d: w.record(d, "Attribute", Point1X=860, Point1Y=575,
                                         Tag="REVTRIANGLE NUMBER", Value="B", Height=20))


def photo_and_table(w):
    w.put(1, "")
    w.record(1, "Image", Point1X=900, Point1Y=100, Point2X=1200, Point2Y=300, ImageFileName=PICTURE)
    w.record(1, "Leader", Point1X=950, Point1Y=380, MainNumber="5", HasArrow="Yes", ArrowEndPointX=1000,
             ArrowEndPointY=300)

    def cells(d):
        # One width per column and one height per row, then the cells row by row.
        for width in (60, 300, 60):
            w.put(d, f"ColWidth={width}")
        for height in (40, 90, 70, 70):
            w.put(d, f"RowHeight={height}")

        def cell(content, **keys):
            w.put(d, "StringCellStart:")
            w.keys(d + 1, Content=content, **keys)
            w.put(d, "StringCellEnd.")

        # The header is one cell over the first two columns.
        cell("Part", MergeHandle=1, ColSpan=2, RowSpan=1)
        cell("", MergeHandle=1, ColSpan=-1, RowSpan=-1)
        cell("Qty")
        rows = [("1", "Directional valve 4/3 with two coils and manual override", "1"),
                ("2", "Proportional pressure relief valve", "1"),
                ("3", "Orifice plate, fixed and adjustable", "2")]
        for pos, text, qty in rows:
            cell(pos)
            cell(text, WordWrap="Yes")
            cell(qty)

    w.record(1, "Table", children=cells, Point1X=880, Point1Y=760, ColCount=3, RowCount=4, HeaderRows=1,
             InnerGrid="Yes", OuterGrid="Yes")


def png(width, height, pixel):
    """A true-colour PNG of the given size, each pixel from pixel(x, y) -> (r, g, b)."""
    raw = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def photo(x, y):
    """A power unit against a wall: a blue tank, a grey motor, a red valve block."""
    if 20 <= x < 220 and 100 <= y < 180:
        return (40, 80, 160)
    if 40 <= x < 110 and 40 <= y < 100:
        return (120, 120, 130)
    if 140 <= x < 200 and 60 <= y < 100:
        return (190, 40, 40)
    return (225 - y // 4, 225 - y // 4, 215 - y // 4)


def write_sample():
    w = Writer()
    w.lines = ["* annotated-circuit.kdf", "* Symbol File", "* 10-12-2026", "* 09:00:00", "", "SymbolFile:", "",
               "Header:", "  FileType=Schematic", "  FileVersion=1.0.0-100", "End.",
               "", "AttributeList:", "  Attribute:", "    Tag=PROJECTNAME", "    Value=Clamping unit",
               "  EndAttribute.", "EndAttributeList.", "", "SYMBOL:", "  Handle=-1"]
    component(w, "DV06-43C-24DC", "Directional valve 4/3, 24 V DC", "1", valve)
    component(w, "PRV10-210", "Proportional pressure relief valve", "2", proportional)
    component(w, "OR06-12", "Orifice plate", "3", orifices)
    component(w, "PS-250", "Pressure switch 250 bar", "4", pressure_switch)
    w.put(1, "")
    hose(w, 1)
    revision(w)
    photo_and_table(w)
    w.put(0, "End.")
    w.put(0, "")
    w.put(0, "End.")
    with open(os.path.join(ROOT, "annotated-circuit.kdf"), "w", newline="") as f:
        f.write("\r\n".join(w.lines) + "\r\n")
    with open(os.path.join(ROOT, PICTURE), "wb") as f:
        f.write(png(240, 180, photo))


if __name__ == "__main__":
    write_sample()
