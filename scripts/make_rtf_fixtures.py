#!/usr/bin/python3
"""Writes the RTF test fixtures with real word processors.

Needs LibreOffice Writer (soffice) and AbiWord, which the project itself does not depend on:
the committed .rtf files are what the tests read; run this only to renew them.
Usage: scripts/make_rtf_fixtures.py [output folder, default tests/data/richtext]
"""
import base64
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib


def tiny_png():
    """A 4 x 4 red-and-blue checkerboard PNG."""
    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b""
    for y in range(4):
        rows += b"\x00" + b"".join(
            (b"\xff\x00\x00" if (x + y) % 2 == 0 else b"\x00\x00\xff") for x in range(4))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 4, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


# The paragraphs both documents hold; the tests assert exactly this text.
LATIN = "Accents: áéíöü čřšžťďň łśźżąę ő ű"
CYRILLIC = "Кириллица: Привет, мир"
GREEK = "Ελληνικά: αβγ δέλτα"
CJK = "CJK: 日本語 中文 한국어"

FODT = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:font-face-decls>
  <style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'" style:font-pitch="variable"/>
  <style:font-face style:name="Liberation Serif" svg:font-family="'Liberation Serif'" style:font-pitch="variable"/>
  <style:font-face style:name="Liberation Mono" svg:font-family="'Liberation Mono'" style:font-pitch="fixed"/>
  <style:font-face style:name="DejaVu Sans" svg:font-family="'DejaVu Sans'" style:font-pitch="variable"/>
 </office:font-face-decls>
 <office:styles>
  <style:default-style style:family="paragraph">
   <style:text-properties style:font-name="Liberation Serif" fo:font-size="12pt"/>
  </style:default-style>
 </office:styles>
 <office:automatic-styles>
  <style:style style:name="Sans11" style:family="text"><style:text-properties style:font-name="Liberation Sans" fo:font-size="11pt"/></style:style>
  <style:style style:name="Serif20" style:family="text"><style:text-properties style:font-name="Liberation Serif" fo:font-size="20pt"/></style:style>
  <style:style style:name="Mono8" style:family="text"><style:text-properties style:font-name="Liberation Mono" fo:font-size="8pt"/></style:style>
  <style:style style:name="DejaVu36" style:family="text"><style:text-properties style:font-name="DejaVu Sans" fo:font-size="36pt"/></style:style>
  <style:style style:name="Bold" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
  <style:style style:name="Italic" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
  <style:style style:name="Under" style:family="text"><style:text-properties style:text-underline-style="solid" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
  <style:style style:name="Strike" style:family="text"><style:text-properties style:text-line-through-style="solid"/></style:style>
  <style:style style:name="Red" style:family="text"><style:text-properties fo:color="#ff0000"/></style:style>
  <style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm"/><style:header-style/><style:footer-style/></style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Standard" style:page-layout-name="pm1">
   <style:header><text:p>Header text</text:p></style:header>
   <style:footer><text:p>Footer text</text:p></style:footer>
  </style:master-page>
 </office:master-styles>
 <office:body>
  <office:text>
   <text:p><text:span text:style-name="Sans11">Sans 11 </text:span><text:span text:style-name="Serif20">Serif 20 </text:span><text:span text:style-name="Mono8">Mono 8 </text:span><text:span text:style-name="DejaVu36">DejaVu 36</text:span></text:p>
   <text:p>Plain <text:span text:style-name="Bold">bold</text:span> <text:span text:style-name="Italic">italic</text:span> <text:span text:style-name="Under">underline</text:span> <text:span text:style-name="Strike">strike</text:span> <text:span text:style-name="Red">red</text:span></text:p>
   <text:p>{LATIN}</text:p>
   <text:p>{CYRILLIC}</text:p>
   <text:p>{GREEK}</text:p>
   <text:p>{CJK}</text:p>
   <text:p>Note<text:note text:id="n1" text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>Footnote body</text:p></text:note-body></text:note> after</text:p>
   <text:p>Picture:<draw:frame draw:name="img" text:anchor-type="as-char" svg:width="1cm" svg:height="1cm"><draw:image><office:binary-data>{PNG}</office:binary-data></draw:image></draw:frame>end</text:p>
   <table:table table:name="T">
    <table:table-column table:number-columns-repeated="2"/>
    <table:table-row><table:table-cell><text:p>A1</text:p></table:table-cell><table:table-cell><text:p>B1</text:p></table:table-cell></table:table-row>
    <table:table-row><table:table-cell><text:p>A2</text:p></table:table-cell><table:table-cell><text:p>B2</text:p></table:table-cell></table:table-row>
   </table:table>
   <text:p>Link: <text:a xlink:type="simple" xlink:href="https://example.org/">example</text:a> done</text:p>
  </office:text>
 </office:body>
</office:document>
"""

HTML = """<html><head><meta charset="utf-8"><title>t</title></head><body>
<p><span style="font-family:'Liberation Sans';font-size:11pt">Sans 11 </span><span style="font-family:'Liberation Serif';font-size:20pt">Serif 20 </span><span style="font-family:'Liberation Mono';font-size:8pt">Mono 8 </span><span style="font-family:'DejaVu Sans';font-size:36pt">DejaVu 36</span></p>
<p>Plain <b>bold</b> <i>italic</i> <u>underline</u> <s>strike</s> <span style="color:#ff0000">red</span></p>
<p>{LATIN}</p>
<p>{CYRILLIC}</p>
<p>{GREEK}</p>
<p>{CJK}</p>
<p>Picture:<img src="data:image/png;base64,{PNG}" width="16" height="16">end</p>
<table border="1"><tr><td>A1</td><td>B1</td></tr><tr><td>A2</td><td>B2</td></tr></table>
<p>Link: <a href="https://example.org/">example</a> done</p>
</body></html>
"""


def fill(template):
    png = base64.b64encode(tiny_png()).decode()
    return (template.replace("{LATIN}", LATIN).replace("{CYRILLIC}", CYRILLIC)
            .replace("{GREEK}", GREEK).replace("{CJK}", CJK).replace("{PNG}", png))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "tests", "data", "richtext")
    with tempfile.TemporaryDirectory() as work:
        fodt = os.path.join(work, "libreoffice.fodt")
        html = os.path.join(work, "abiword.html")
        with open(fodt, "w", encoding="utf-8") as f:
            f.write(fill(FODT))
        with open(html, "w", encoding="utf-8") as f:
            f.write(fill(HTML))
        env = dict(os.environ, HOME=work)  # a throw-away LibreOffice profile
        subprocess.run(["soffice", "--headless", "--convert-to", "rtf", "--outdir", work, fodt],
                       check=True, env=env, stdout=subprocess.DEVNULL)
        subprocess.run(["abiword", "--to=rtf", "-o", os.path.join(work, "abiword.rtf"), html],
                       check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.copy(os.path.join(work, "libreoffice.rtf"), os.path.join(out, "rtf_libreoffice.rtf"))
        shutil.copy(os.path.join(work, "abiword.rtf"), os.path.join(out, "rtf_abiword.rtf"))


if __name__ == "__main__":
    main()
