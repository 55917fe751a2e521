#!/usr/bin/env python3
"""Writes samples/multi-sheet.kdf: a press circuit drawn on three sheets.

Sheet 1 (A3) holds the power unit and the directional valve, sheet 2 (A4) the valve manifold as an
inner border with its inner ports, sheet 3 (A4) the cylinder. Every sheet has a frame and a title
block whose attributes carry the values of the header attributes and revisions, as the design
program stores them. The file also has layouts, symbol layers, revisions, sessions, a BOM column
list and a revision-table layout, so that every section of a drawing file is present.

The components come from make-shape-samples.py. Run from anywhere:
python3 scripts/make-sheet-sample.py
"""
import importlib.util
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("shapes", os.path.join(HERE, "make-shape-samples.py"))
shapes = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(shapes)

ROOT = shapes.ROOT
PROJECT = "Press line 7"
DRAWING_NUMBER = "KV-7-100"
CUSTOMER = "Nordpress AB"

# The sheets are drawn at scale 1:2, so a millimetre of paper is 5 drawing units.
SCALE = 0.5
MM = 10 * SCALE
# (format, width mm, height mm, origin in drawing units): sheets side by side, 100 mm apart.
SHEETS = [("A3", 420, 297, (0, 0)), ("A4", 297, 210, (2600, 0)), ("A4", 297, 210, (4585, 0))]


def frame(w, width, height):
    """The frame's line work: the border 10 mm in (20 mm on the left) and the title block."""
    u = lambda mm: round(mm * MM)
    left, bottom, right, top = u(20), u(10), u(width - 10), u(height - 10)
    objs = [shapes.box(left, bottom, right, top)]
    # Title block: 180 x 40 mm in the lower right corner, three rows.
    tl, tb = right - u(180), bottom
    objs.append(shapes.box(tl, tb, right, tb + u(40)))
    for y in (tb + u(13), tb + u(26)):
        objs.append(shapes.line((tl, y), (right, y)))
    objs.append(shapes.line((tl + u(100), tb), (tl + u(100), tb + u(40))))
    return objs, (tl, tb)


def text(caption, p1, height=25):
    return {"kind": "Text", "SymbolType": None, "P1": p1, "keys": {"Height": height, "Caption": caption}}


def title_block(tl, tb, sheet_no, total, paper):
    """Labels and attributes of the title block: values as the header attributes fill them."""
    a = shapes.attribute
    u = lambda mm: round(mm * MM)
    label, value = u(2), u(3)  # text heights
    return [
        text("Project", (tl + u(3), tb + u(30)), label),
        a("PROJECTNAME", PROJECT, (tl + u(20), tb + u(30)), Height=value),
        text("Customer", (tl + u(3), tb + u(17)), label),
        a("CUSTOMER", CUSTOMER, (tl + u(20), tb + u(17)), Height=value),
        text("Drawing", (tl + u(3), tb + u(4)), label),
        a("DRAWINGNUMBER", DRAWING_NUMBER, (tl + u(20), tb + u(4)), Height=value),
        text("Sheet", (tl + u(103), tb + u(30)), label),
        a("PAGE", str(sheet_no), (tl + u(120), tb + u(30)), Height=value),
        text("of", (tl + u(130), tb + u(30)), label),
        a("TOTAL", str(total), (tl + u(138), tb + u(30)), Height=value),
        text("Rev.", (tl + u(103), tb + u(17)), label),
        a("REV2NO", "B", (tl + u(120), tb + u(17)), Height=value),
        text("Size", (tl + u(103), tb + u(4)), label),
        a("PAPERSIZE", paper, (tl + u(120), tb + u(4)), Height=value),
    ]


def write_paper(w, index, fmt, width, height, origin):
    ox, oy = origin
    h = w.handle()
    w.put()
    w.put(1, "PaperSize:")
    w.put(2, f"Handle={h}")
    w.put(2, f"Point1X={ox}")
    w.put(2, f"Point1Y={oy}")
    w.put(2, "HideInOutput=Yes")
    w.put(2, f"Scale={SCALE}")
    w.put()
    w.put(2, f"Width={width}")
    w.put(2, f"Height={height}")
    w.put(2, f"Name={fmt}")
    w.put(2, f"ShortName={fmt}")
    w.put(2, "Border=Frame 10 mm")
    w.put(2, "DrawingHead=Title block KV")
    w.put(2, f"SheetNumber={index}")
    w.put(2, f"X2={width}")
    w.put(2, f"Y2={height}")
    objs, (tl, tb) = frame(w, width, height)
    for o in objs + title_block(tl, tb, index + 1, len(SHEETS), fmt):
        w.obj(2, o, ox, oy)
    w.put(1, "EndPaperSize.")


def place(w, sym, dx, dy, ends, name):
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


def connect(w, ends, a, b, corners=()):
    (ha, pa), (hb, pb) = ends[a], ends[b]
    w.put()
    w.put(1, "ConnectionLine:")
    w.put(2, f"Handle={w.handle()}")
    w.put(2, f"Port1Handle={ha}")
    w.put(2, f"Port2Handle={hb}")
    for x, y in [pa, *corners, pb]:
        w.put(2, "Point:")
        w.put(3, f"X={x}")
        w.put(3, f"Y={y}")
        w.put(2, "End.")
    w.put(1, "End.")


def write_manifold(w, ends):
    """Sheet 2: the valve manifold, an inner border 1600 x 1000 with four inner ports."""
    x1, y1, x2, y2 = 2800, 350, 3700, 950
    border = w.handle()
    ports = [(2, 3000, (3000, y2), "P"), (2, 3500, (3500, y2), "T"), (4, 3150, (3150, y1), "A"),
             (4, 3350, (3350, y1), "B")]
    w.put()
    w.put(1, "IBorder:")
    w.put(2, f"Handle={border}")
    w.put(2, f"Point1X={x1}")
    w.put(2, f"Point1Y={y1}")
    w.put(2, f"Point2X={x2}")
    w.put(2, f"Point2Y={y2}")
    w.put(2, "ProjectBrevindFile=|MB-4P-NG6")
    w.put(2, f"ProjectName={PROJECT}")
    w.put(2, f"ProjectNumber={DRAWING_NUMBER}")
    w.put(2, "ProjectDrawing=Manifold NG6")
    w.put(2, f"ProjectClient={CUSTOMER}")
    w.put(2, "ProjectMaterial=EN-GJS-400")
    w.put(2, "MountingText=4 x M8")
    w.put(2, "MountingFaces=Top;Front")
    for side, pos, _, _ in ports:
        w.put(2, "IPortPoint:")
        w.put(3, f"X={side}")
        w.put(3, f"Y={pos}")
        w.put(2, "END.")
    w.put(2, "Comments:=Ports to ISO 4401")
    w.put(2, "Comments:=Deburr all bores")
    # The inner ports sit on the border, one gap of the border each.
    for side, pos, (px, py), caption in ports:
        h = w.handle()
        w.put()
        w.put(2, "IPort:")
        w.put(3, f"Handle={h}")
        w.put(3, f"Point1X={px}")
        w.put(3, f"Point1Y={py}")
        # The caption centre, just outside the border.
        w.put(3, f"Point2X={px + 25}")
        w.put(3, f"Point2Y={py + (25 if side == 2 else -25)}")
        w.put(3, f"PortText={caption}")
        w.put(3, f"AttachedIBorderHandle={border}")
        w.put(3, f"AttachedIBorderSide={side}")
        w.put(2, "End.")
    w.put(1, "EndIBorder.")
    # An inner line across the block, interrupted where the check valve's ports cross it.
    w.put()
    w.put(1, "ILine:")
    w.put(2, f"Handle={w.handle()}")
    w.put(2, f"Point1X={x1}")
    w.put(2, "Point1Y=550")
    w.put(2, f"Point2X={x2}")
    w.put(2, "Point2Y=550")
    w.put(2, "IPortPoint:")
    w.put(3, "X=3000")
    w.put(3, "Y=550")
    w.put(2, "END.")
    w.put(1, "EndILine.")
    place(w, shapes.CHECK, 3000, 750, ends, "mcheck")
    place(w, shapes.RELIEF, 3500, 700, ends, "mrelief")


HEAD = """* multi-sheet.kdf
* Symbol File
* 10-12-2026
* 09:00:00

SymbolFile:

Header:
  FileType=Schematic
  FileVersion=1.0.0-100
  StartX=0
  StartY=0
  Zoom=1000
  KeyWords=press line; three sheets
  GroupDrawMode=Main
  IsMultiSheetFile=Yes
  ProjectType=Internal
  ItemLayoutHeight=30
  ItemLayoutBorder=Circle
End.

AttributeList:
  Attribute:
    Tag=PROJECTNAME
    Value={project}
  EndAttribute.
  Attribute:
    Tag=DRAWINGNUMBER
    Value={number}
  EndAttribute.
  Attribute:
    Tag=CUSTOMER
    Value={customer}
  EndAttribute.
  Attribute:
    Tag=REV2NO
    Value=B
  EndAttribute.
  Attribute:
    Tag=REV2DESCRIPTION
    Value=Manifold moved to its own sheet
  EndAttribute.
  Attribute:
    Tag=REV2DRAWNBY
    Value=K. Lind
  EndAttribute.
EndAttributeList.

Revision:
  Number=A
  Code=R-001
  Date=46000
  Description=First issue
  DrawnBy=K. Lind
  CheckedBy=M. Berg
EndRevision.

Session:
  Date=46000
  Seconds=5400
  Remark=Layout of sheet 1
EndSession.

Session:
  Date=46001
  Seconds=7260
  Remark=Manifold sheet
EndSession.

RevisionLayout:
  RowHeight=6
  TextHeight=3
  Align=2
  ShowHeader=Yes
  RevisionColumn:
    ColumnType=Revision
    ColumnWidth=12
    ColumnTitle=Rev.
  EndRevisionColumn.
  RevisionColumn:
    ColumnType=Description
    ColumnWidth=80
    ColumnTitle=Change
  EndRevisionColumn.
EndRevisionLayout.

BOMColumnList:
  FontName=Arial
  TextHeight=3
  BOMColumn:
    ColumnType=ItemNumber
    ColumnWidth=10
    ColumnTitle=Pos.
  End.
  BOMColumn:
    ColumnType=ArticleCode
    ColumnWidth=40
    ColumnTitle=Article
  End.
  BOMColumn:
    ColumnType=Quantity
    ColumnWidth=10
    ColumnTitle=Qty
  End.
End.

SymbolLayerList:
  SymbolLayer:
    Name=Hydraulics
  EndSymbolLayer.
  SymbolLayer:
    Name=Text
    State=Partial
    HideSub=Notes
    HideSub=Dimensions
  EndSymbolLayer.
EndSymbolLayerList.

LayoutList:
{layouts}EndLayoutList.
"""

LAYOUT = """  Layout:
    DrawingHeadName=Title block KV
    PaperSizeName={fmt}
    BorderName=Frame 10 mm
    BOMLayoutName=Standard
    SheetIndex={index}
    ConnectionLineColors=Main
    Language=English
    TextBlockList:
      TextBlock:
        Name=Notes
        TextHeight=2.5
        Text=All pressures in bar
        Text=Oil: HLP 46
      EndTextBlock.
    EndTextBlockList.
    InsertBlockList:
      InsertBlock:
        BlockType=DefaultDrawingHead
        Align=Bottom Right
        Visible=Yes
      EndInsertBlock.
      InsertBlock:
        BlockType=TextBlock
        FileName=Notes
        Align=Top Left
        OffsetX=10
        AttachedToFace,=0
      EndInsertBlock.
    EndInsertBlockList.
    AttributeList:
      Attribute:
        Tag=LAYOUTNUMBER
        Value={number}
      EndAttribute.
    EndAttributeList.
  EndLayout.
"""


def write_sample():
    layouts = "".join(LAYOUT.format(fmt=f, index=i, number=i + 1) for i, (f, _, _, _) in enumerate(SHEETS))
    head = HEAD.format(project=PROJECT, number=DRAWING_NUMBER, customer=CUSTOMER, layouts=layouts)
    w = shapes.Writer()
    w.next_handle = 1000
    w.lines = head.rstrip("\n").split("\n")
    w.put()
    w.put(0, "SYMBOL:")
    w.put(1, "Handle=-1")
    for i, (fmt, width, height, origin) in enumerate(SHEETS):
        write_paper(w, i, fmt, width, height, origin)
    ends = {}
    # Sheet 1: the power unit and the valve, placed in the middle of the A3 frame.
    for name, sym, (dx, dy) in [("pump", shapes.PUMP_MOTOR, (800, 450)), ("check", shapes.CHECK, (800, 710)),
                                ("relief", shapes.RELIEF, (1000, 690)), ("valve", shapes.VALVE, (820, 850)),
                                ("tank1", shapes.TANK, (800, 290)), ("tank2", shapes.TANK, (1160, 710))]:
        place(w, sym, dx, dy, ends, name)
    connect(w, ends, "pump.P", "check.A")
    connect(w, ends, "check.B", "valve.P")
    connect(w, ends, "pump.S", "tank1.T")
    connect(w, ends, "relief.T", "tank2.T", [(1000, 810), (1160, 810)])
    # Sheet 2: the manifold.
    write_manifold(w, ends)
    # Sheet 3: the cylinder with its orifice.
    place(w, shapes.ORIFICE, 5200, 450, ends, "orifice")
    place(w, shapes.CYLINDER, 5080, 630, ends, "cylinder")
    connect(w, ends, "orifice.B", "cylinder.A", [(5200, 560), (5100, 560)])
    w.put(0, "End.")
    w.put()
    w.put(0, "End.")
    with open(os.path.join(ROOT, "multi-sheet.kdf"), "w", newline="") as f:
        f.write(w.text())


if __name__ == "__main__":
    write_sample()
