#!/usr/bin/env python3
"""Writes the scale books of the hardening benchmark into FOLDER, each with SIZE elements:
  deep-ncx-SIZE.epub      a table of contents nested SIZE levels deep, on one line;
  wide-opf-SIZE.epub      a one-line package document of SIZE manifest items (700,000: ~50 MB);
  members-SIZE.epub       an archive of SIZE members.
Usage: make_books.py FOLDER KIND SIZE   (KIND: deep-ncx, wide-opf, members)"""
import os
import sys
import zipfile

CONTAINER = ('<?xml version="1.0"?>\n<container version="1.0" '
             'xmlns="urn:oasis:names:tc:opendocument:xmlns:container"><rootfiles>'
             '<rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/>'
             '</rootfiles></container>\n')
CHAPTER = ('<?xml version="1.0" encoding="UTF-8"?>\n<html xmlns="http://www.w3.org/1999/xhtml">'
           '<head><title>c</title></head><body><p>%s</p></body></html>\n')


def package(items, spine):
    return ('<?xml version="1.0" encoding="UTF-8"?><package xmlns="http://www.idpf.org/2007/opf" '
            'version="2.0" unique-identifier="id"><metadata xmlns:dc="http://purl.org/dc/elements/1.1/" '
            'xmlns:opf="http://www.idpf.org/2007/opf"><dc:title>Scale</dc:title><dc:creator>Bench</dc:creator>'
            '<dc:language>en</dc:language><dc:identifier id="id">scale-1</dc:identifier></metadata>'
            '<manifest><item id="ncx" href="toc.ncx" media-type="application/x-dtbncx+xml"/>'
            + items + '</manifest><spine toc="ncx">' + spine + '</spine></package>\n')


def ncx(points):
    return ('<?xml version="1.0" encoding="UTF-8"?><ncx xmlns="http://www.daisy.org/z3986/2005/ncx" '
            'version="2005-1"><head><meta name="dtb:uid" content="scale-1"/></head>'
            '<docTitle><text>Scale</text></docTitle><navMap>' + points + '</navMap></ncx>\n')


def write(path, members):
    with zipfile.ZipFile(path, "w") as book:
        book.writestr(zipfile.ZipInfo("mimetype"), "application/epub+zip", zipfile.ZIP_STORED)
        book.writestr("META-INF/container.xml", CONTAINER, zipfile.ZIP_DEFLATED)
        for name, data in members:
            book.writestr(name, data, zipfile.ZIP_DEFLATED)


def deep_ncx(size):
    opening = "".join('<navPoint id="p%d" playOrder="%d"><navLabel><text>Level %d</text></navLabel>'
                      '<content src="c.xhtml#l%d"/>' % (i, i + 1, i, i) for i in range(size))
    items = '<item id="c" href="c.xhtml" media-type="application/xhtml+xml"/>'
    return [("OEBPS/content.opf", package(items, '<itemref idref="c"/>')),
            ("OEBPS/toc.ncx", ncx(opening + "</navPoint>" * size)),
            ("OEBPS/c.xhtml", CHAPTER % "deep")]


def wide_opf(size):
    items = "".join('<item id="item%07d" href="text/chapter%07d.xhtml" media-type="application/xhtml+xml"/>'
                    % (i, i) for i in range(size))
    points = '<navPoint id="p0" playOrder="1"><navLabel><text>One</text></navLabel><content src="c.xhtml"/></navPoint>'
    items += '<item id="c" href="c.xhtml" media-type="application/xhtml+xml"/>'
    return [("OEBPS/content.opf", package(items, '<itemref idref="c"/>')),
            ("OEBPS/toc.ncx", ncx(points)), ("OEBPS/c.xhtml", CHAPTER % "wide")]


def members(size):
    out = [("OEBPS/text/f%06d.xhtml" % i, CHAPTER % i) for i in range(size - 5)]
    items = '<item id="c" href="text/f000000.xhtml" media-type="application/xhtml+xml"/>'
    points = ('<navPoint id="p0" playOrder="1"><navLabel><text>One</text></navLabel>'
              '<content src="text/f000000.xhtml"/></navPoint>')
    return out + [("OEBPS/content.opf", package(items, '<itemref idref="c"/>')), ("OEBPS/toc.ncx", ncx(points))]


def main():
    folder, kind, size = sys.argv[1], sys.argv[2], int(sys.argv[3])
    make = {"deep-ncx": deep_ncx, "wide-opf": wide_opf, "members": members}[kind]
    path = os.path.join(folder, "%s-%d.epub" % (kind, size))
    write(path, make(size))
    print(path)


if __name__ == "__main__":
    main()
