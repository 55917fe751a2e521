#!/usr/bin/env python3
"""Writes samples/dv06.pdf: a one-page datasheet of the directional valve in
samples/annotated-circuit.kdf, found beside the drawing by "Show Datasheet...". Plain PDF 1.4 with
the standard Helvetica font, written byte for byte so that the file never changes."""
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "samples", "dv06.pdf")


def text(x, y, size, s):
    s = s.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")
    return f"BT /F1 {size} Tf {x} {y} Td ({s}) Tj ET\n"


def page_content():
    c = "0.1 0.3 0.6 rg 40 760 515 50 re f\n1 1 1 rg\n"
    c += text(56, 778, 22, "DV06  Directional valve 4/3, NG6")
    c += "0 0 0 rg\n"
    rows = [("Nominal size", "NG6 (ISO 4401-03)"), ("Max. pressure", "315 bar (4568 psi)"),
            ("Max. flow", "60 l/min"), ("Weight", "1.45 kg"), ("Spools", "43A open centre, 43C closed centre"),
            ("Coil voltages", "12 V DC, 24 V DC, 230 V AC"), ("Seal kit", "SK-06-NBR")]
    y = 720
    for name, value in rows:
        c += text(56, y, 12, name) + text(220, y, 12, value)
        c += f"0.7 0.7 0.7 RG 56 {y - 6} m 540 {y - 6} l S\n"
        y -= 24
    # The valve's symbol: two squares with arrows, drawn as lines.
    c += "0 0 0 RG 2 w 200 420 80 80 re S 280 420 80 80 re S\n"
    c += "1 w 215 440 m 265 480 l S 295 480 m 345 440 l S 180 460 m 200 460 l S 360 460 m 380 460 l S\n"
    c += text(56, 380, 10, "Ordering code: DV06-[Spool]-[Voltage], e.g. DV06-43C-24DC")
    return c


def main():
    content = page_content().encode("latin-1")
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(content) + content + b"endstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    ]
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for i, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % i + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for o in offsets:
        out += b"%010d 00000 n \n" % o
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    with open(OUT, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
