#!/usr/bin/env python3
"""A one-page PDF of lines of text in a standard font, written by hand for the demo and the benchmarks.

    scripts/text_pdf.py OUT WIDTH HEIGHT FONT SIZE LEFT TOP LEADING [--title TITLE] LINE...

The page is WIDTH x HEIGHT points; the first line's baseline stands at LEFT, TOP, each next one LEADING lower.
"""
import sys


def write_text_pdf(path, width, height, font, size, left, top, leading, lines, title=None):
    content = b"".join(b"BT /F1 %g Tf %g %g Td (%s) Tj ET\n" % (size, left, top - leading * i, line.encode("latin-1"))
                       for i, line in enumerate(lines))
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
               b"<< /Type /Pages /Kids [4 0 R] /Count 1 >>",
               b"<< /Type /Font /Subtype /Type1 /BaseFont /%s >>" % font.encode(),
               b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %g %g] /Resources << /Font << /F1 3 0 R >> >> "
               b"/Contents 5 0 R >>" % (width, height),
               b"<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content)]
    if title:
        objects.append(b"<< /Title (%s) >>" % title.encode("latin-1"))
    pdf, offsets = b"%PDF-1.7\n", []
    for number, body in enumerate(objects, 1):
        offsets.append(len(pdf))
        pdf += b"%d 0 obj\n%s\nendobj\n" % (number, body)
    xref = len(pdf)
    info = b" /Info 6 0 R" if title else b""
    pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    pdf += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
    pdf += b"trailer\n<< /Size %d /Root 1 0 R%s >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, info, xref)
    with open(path, "wb") as file:
        file.write(pdf)


if __name__ == "__main__":
    args = sys.argv[1:]
    title = None
    if "--title" in args:
        at = args.index("--title")
        title = args[at + 1]
        del args[at:at + 2]
    if len(args) < 8:
        raise SystemExit(__doc__)
    out, width, height, font, size, left, top, leading, *lines = args
    write_text_pdf(out, float(width), float(height), font, float(size), float(left), float(top), float(leading),
                   lines, title)
