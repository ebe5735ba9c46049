#!/usr/bin/env python3
"""Writes the unpacked folder of a large EPUB 2 book: CHAPTERS chapters of text and
PICTURES incompressible pictures (like JPEG data), about 50 MB in all by default."""
import os
import random
import sys

def main():
    folder = sys.argv[1]
    chapters = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    pictures = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    rng = random.Random(20261209)
    words = ["lorem", "ipsum", "dolor", "sit", "amet", "책", "편집", "문단", "그림", "chapter",
             "reader", "river", "mountain", "evening", "letter", "window", "garden", "무엇"]
    oebps = os.path.join(folder, "OEBPS")
    os.makedirs(os.path.join(oebps, "text"), exist_ok=True)
    os.makedirs(os.path.join(oebps, "images"), exist_ok=True)
    os.makedirs(os.path.join(folder, "META-INF"), exist_ok=True)
    with open(os.path.join(folder, "mimetype"), "w") as f:
        f.write("application/epub+zip")
    with open(os.path.join(folder, "META-INF", "container.xml"), "w") as f:
        f.write('<?xml version="1.0"?>\n<container version="1.0" '
                'xmlns="urn:oasis:names:tc:opendocument:xmlns:container">\n<rootfiles>'
                '<rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/>'
                '</rootfiles>\n</container>\n')
    for p in range(1, pictures + 1):
        with open(os.path.join(oebps, "images", "p%04d.jpg" % p), "wb") as f:
            f.write(rng.randbytes(rng.randint(100_000, 130_000)))
    for c in range(1, chapters + 1):
        paragraphs = []
        for _ in range(24):
            paragraphs.append("<p>" + " ".join(rng.choice(words) for _ in range(45)) + "</p>")
        if c <= pictures:
            paragraphs.append('<p><img src="../images/p%04d.jpg" alt=""/></p>' % c)
        with open(os.path.join(oebps, "text", "ch%04d.xhtml" % c), "w", encoding="utf-8") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n<html xmlns="http://www.w3.org/1999/xhtml">'
                    "<head><title>%d</title></head><body><h1>Chapter %d</h1>\n%s\n</body></html>\n"
                    % (c, c, "\n".join(paragraphs)))
    items = ['<item id="ncx" href="toc.ncx" media-type="application/x-dtbncx+xml"/>']
    items += ['<item id="ch%04d" href="text/ch%04d.xhtml" media-type="application/xhtml+xml"/>' % (c, c)
              for c in range(1, chapters + 1)]
    items += ['<item id="p%04d" href="images/p%04d.jpg" media-type="image/jpeg"/>' % (p, p)
              for p in range(1, pictures + 1)]
    spine = ['<itemref idref="ch%04d"/>' % c for c in range(1, chapters + 1)]
    with open(os.path.join(oebps, "content.opf"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<package xmlns="http://www.idpf.org/2007/opf" '
                'version="2.0" unique-identifier="uid">\n<metadata xmlns:dc="http://purl.org/dc/elements/1.1/">'
                '<dc:title>Large book</dc:title><dc:identifier id="uid">bench</dc:identifier>'
                '<dc:language>ko</dc:language></metadata>\n<manifest>\n%s\n</manifest>\n'
                '<spine toc="ncx">\n%s\n</spine>\n</package>\n' % ("\n".join(items), "\n".join(spine)))
    points = ['<navPoint id="n%d" playOrder="%d"><navLabel><text>Chapter %d</text></navLabel>'
              '<content src="text/ch%04d.xhtml"/></navPoint>' % (c, c, c, c) for c in range(1, chapters + 1)]
    with open(os.path.join(oebps, "toc.ncx"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<ncx xmlns="http://www.daisy.org/z3986/2005/ncx/" '
                'version="2005-1"><head/><docTitle><text>Large book</text></docTitle>\n<navMap>\n%s\n'
                '</navMap></ncx>\n' % "\n".join(points))

if __name__ == "__main__":
    main()
