#!/usr/bin/env python3
"""Writes samples/pump-unit.kdx: a packed drawing archive of samples/pump-unit.kdf.

The archive holds the drawing at its top level and, in the folder "~PrintPreview", the two
pre-rendered print pages the design program puts there: A4 landscape PDF pages with a drawing
frame and a title block, sheet 1 the circuit in plain line work, sheet 2 its parts list. The PDF
pages are written here by hand (text in the standard Helvetica faces, so no font is embedded);
the ZIP members carry a fixed time stamp, so the same inputs give the same archive.

Run from anywhere: python3 scripts/make-archive-sample.py
"""
import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DRAWING = os.path.join(ROOT, "samples", "pump-unit.kdf")
ARCHIVE = os.path.join(ROOT, "samples", "pump-unit.kdx")

STAMP = (2026, 12, 10, 9, 0, 0)  # the drawing's own date
PAGE_W, PAGE_H = 842, 595  # A4 landscape, points
MM = 72 / 25.4
TITLE = "Pump unit"
DRAWING_NUMBER = "KV-PU-001"

# The parts of the drawing, as its BOM records give them.
PARTS = [
    ("1", "GP1-8-EM075", "Gear pump 8 cm3 with 0.75 kW motor"),
    ("2", "CV10-05", "Check valve, cracking pressure 0.5 bar"),
    ("3", "RV10-210", "Pressure relief valve, 50-210 bar"),
    ("4", "DV06-43C-24DC", "Directional valve 4/3, closed centre, 24 V DC"),
    ("5", "OR06-12", "Fixed orifice 1.2 mm"),
    ("6", "CD40-25-300", "Double-acting cylinder 40/25, stroke 300 mm"),
]


def pdf_text(s):
    return "(" + s.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)") + ")"


class Page:
    """A content stream in points, origin at the lower left corner."""

    def __init__(self):
        self.ops = []

    def width(self, w):
        self.ops.append(f"{w:g} w")

    def line(self, x1, y1, x2, y2):
        self.ops.append(f"{x1:.2f} {y1:.2f} m {x2:.2f} {y2:.2f} l S")

    def rect(self, x, y, w, h):
        self.ops.append(f"{x:.2f} {y:.2f} {w:.2f} {h:.2f} re S")

    def circle(self, cx, cy, r):
        # Four Bezier quarters.
        k = 0.5523 * r
        self.ops.append(
            f"{cx + r:.2f} {cy:.2f} m "
            f"{cx + r:.2f} {cy + k:.2f} {cx + k:.2f} {cy + r:.2f} {cx:.2f} {cy + r:.2f} c "
            f"{cx - k:.2f} {cy + r:.2f} {cx - r:.2f} {cy + k:.2f} {cx - r:.2f} {cy:.2f} c "
            f"{cx - r:.2f} {cy - k:.2f} {cx - k:.2f} {cy - r:.2f} {cx:.2f} {cy - r:.2f} c "
            f"{cx + k:.2f} {cy - r:.2f} {cx + r:.2f} {cy - k:.2f} {cx + r:.2f} {cy:.2f} c S"
        )

    def triangle(self, points, fill=False):
        (x1, y1), (x2, y2), (x3, y3) = points
        op = "f" if fill else "s"
        self.ops.append(f"{x1:.2f} {y1:.2f} m {x2:.2f} {y2:.2f} l {x3:.2f} {y3:.2f} l {op}")

    def text(self, x, y, size, s, bold=False):
        font = "/F2" if bold else "/F1"
        self.ops.append(f"BT {font} {size:g} Tf {x:.2f} {y:.2f} Td {pdf_text(s)} Tj ET")

    def stream(self):
        return ("\n".join(self.ops) + "\n").encode("latin-1")


def frame(page, sheet, sheets, subtitle):
    """Border 10 mm in (20 mm on the left), zone marks and the title block in the lower right."""
    left, bottom, right, top = 20 * MM, 10 * MM, PAGE_W - 10 * MM, PAGE_H - 10 * MM
    page.width(1.2)
    page.rect(left, bottom, right - left, top - bottom)
    page.width(0.4)
    w, h = 180 * MM, 40 * MM
    tl, tb = right - w, bottom
    for i in range(1, 8):
        x = left + (right - left) * i / 8
        page.line(x, top, x, top - 4 * MM)
        if x < tl:  # no marks through the title block
            page.line(x, bottom, x, bottom + 4 * MM)
    for i in range(8):
        x = left + (right - left) * (i + 0.5) / 8
        page.text(x - 3, top - 3.2 * MM, 8, str(i + 1))
    for i, letter in enumerate("DCBA"):
        y = bottom + (top - bottom) * (i + 0.5) / 4
        page.text(left + 1.2 * MM, y - 3, 8, letter)

    page.width(0.8)
    page.rect(tl, tb, w, h)
    page.width(0.4)
    for y in (tb + 13 * MM, tb + 26 * MM):
        page.line(tl, y, right, y)
    page.line(tl + 100 * MM, tb, tl + 100 * MM, tb + h)
    page.text(tl + 2 * MM, tb + 30 * MM, 14, TITLE, bold=True)
    page.text(tl + 2 * MM, tb + 17 * MM, 9, subtitle)
    page.text(tl + 2 * MM, tb + 4 * MM, 8, "Korvane demo works - Hydraulics department")
    page.text(tl + 102 * MM, tb + 30 * MM, 9, "Drawing no. " + DRAWING_NUMBER)
    page.text(tl + 102 * MM, tb + 17 * MM, 9, "Scale 1:1    Date 2026-12-10")
    page.text(tl + 102 * MM, tb + 4 * MM, 10, f"Sheet {sheet} of {sheets}", bold=True)


def circuit(page):
    """Sheet 1: tank, motor and pump, check valve, relief valve, 4/3 valve and cylinder."""
    page.width(0.8)
    # Tank: an open box at the bottom, twice.
    for tx in (150, 420):
        page.line(tx - 15, 150, tx - 15, 135)
        page.line(tx - 15, 135, tx + 15, 135)
        page.line(tx + 15, 135, tx + 15, 150)
    # Motor M and pump with its delivery triangle, on one shaft.
    page.circle(110, 220, 18)
    page.text(104, 215, 14, "M")
    page.line(128, 220, 132, 220)
    page.line(128, 223, 132, 223)
    page.circle(150, 220, 18)
    page.triangle([(150, 238), (144, 228), (156, 228)], fill=True)
    page.line(150, 202, 150, 150)  # suction
    # Delivery line up through the check valve to the valve's P port.
    page.line(150, 238, 150, 280)
    page.circle(150, 292, 6)
    page.line(142, 300, 150, 286)
    page.line(158, 300, 150, 286)
    page.line(150, 298, 150, 330)
    page.line(150, 330, 350, 330)
    # Relief valve from the pressure line to the tank.
    page.line(250, 330, 250, 300)
    page.rect(235, 250, 30, 50)
    page.line(250, 255, 250, 295)
    page.triangle([(250, 295), (246, 287), (254, 287)], fill=True)
    page.line(262, 300, 268, 306)
    page.line(268, 306, 262, 312)
    page.line(250, 250, 250, 180)
    page.line(250, 180, 420, 180)
    page.line(420, 180, 420, 150)
    # The 4/3 valve: three squares, solenoids at both ends.
    x0, y0, s = 300, 360, 40
    for i in range(3):
        page.rect(x0 + i * s, y0, s, s)
    for i, arrows in enumerate([((8, 0), (32, 40)), None, ((8, 40), (32, 0))]):
        if arrows:
            (ax, ay), (bx, by) = arrows
            page.line(x0 + i * s + ax, y0 + ay, x0 + i * s + bx, y0 + by)
    page.line(x0 + s + 10, y0, x0 + s + 10, y0 + 8)
    page.line(x0 + s + 30, y0, x0 + s + 30, y0 + 8)
    page.rect(x0 - 18, y0 + 10, 18, 20)
    page.rect(x0 + 3 * s, y0 + 10, 18, 20)
    page.line(x0 + s + 10, y0, x0 + s + 10, 330)  # P
    page.line(x0 + s + 30, y0, x0 + s + 30, 180)  # T
    # Cylinder with its piston and rod, fed through the orifice.
    page.rect(320, 470, 160, 40)
    page.line(380, 470, 380, 510)
    page.line(380, 490, 530, 490)
    page.line(x0 + s + 10, y0 + s, x0 + s + 10, 440)
    page.line(x0 + s + 10, 440, 340, 440)
    page.line(340, 440, 340, 470)
    page.line(x0 + s + 30, y0 + s, x0 + s + 30, 430)
    page.line(x0 + s + 30, 430, 460, 430)
    page.line(460, 430, 460, 470)
    page.line(455, 445, 465, 455)
    page.line(455, 455, 465, 445)
    for x, y, label in [(80, 244, "1"), (165, 290, "2"), (272, 270, "3"), (425, 385, "4"), (470, 448, "5"),
                        (490, 515, "6")]:
        page.text(x, y, 9, label, bold=True)


def parts_list(page):
    """Sheet 2: the parts list as a table."""
    left, top = 20 * MM + 30, PAGE_H - 10 * MM - 50
    widths = [40, 130, 300]
    row = 22
    page.text(left, top + 12, 14, "Parts list", bold=True)
    page.width(0.6)
    rows = [("Item", "Article code", "Description")] + PARTS
    total = sum(widths)
    for r in range(len(rows) + 1):
        page.line(left, top - r * row, left + total, top - r * row)
    x = left
    for w in [0] + widths:
        x += w
        page.line(x, top, x, top - len(rows) * row)
    for r, cells in enumerate(rows):
        x = left
        for w, cell in zip(widths, cells):
            page.text(x + 5, top - (r + 1) * row + 7, 10, cell, bold=(r == 0))
            x += w


def pdf(page):
    content = page.stream()
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 {PAGE_W} {PAGE_H}] "
        f"/Resources << /Font << /F1 5 0 R /F2 6 0 R >> >> /Contents 4 0 R >>".encode(),
        f"<< /Length {len(content)} >>\nstream\n".encode() + content + b"endstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>",
    ]
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += f"{number} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n".encode()
    out += b"0000000000 65535 f \n"
    for offset in offsets:
        out += f"{offset:010d} 00000 n \n".encode()
    out += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    return bytes(out)


def sheet(number, sheets, subtitle, draw):
    page = Page()
    frame(page, number, sheets, subtitle)
    draw(page)
    return pdf(page)


def member(archive, name, data):
    info = zipfile.ZipInfo(name, date_time=STAMP)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3  # Unix, so that the permissions below are read
    info.external_attr = 0o644 << 16
    archive.writestr(info, data, compresslevel=6)


def main():
    with open(DRAWING, "rb") as f:
        drawing = f.read()
    pages = [
        ("~PrintPreview/Sheet1.pdf", sheet(1, 2, "Hydraulic circuit", circuit)),
        ("~PrintPreview/Sheet2.pdf", sheet(2, 2, "Parts list", parts_list)),
    ]
    with zipfile.ZipFile(ARCHIVE, "w") as archive:
        member(archive, "pump-unit.kdf", drawing)
        for name, data in pages:
            member(archive, name, data)
    print("wrote", os.path.relpath(ARCHIVE, ROOT))


if __name__ == "__main__":
    main()
