#!/usr/bin/python3
"""Makes the page's web font: subset_font.py FONT FAMILY OUT.woff2 TEXT_FILE...

Keeps only the glyphs of the characters in the text files (and printable ASCII), and names the
result FAMILY: the Liberation fonts' licence reserves their name, so a subset, being a modified
version, must carry another one.
"""

import logging
import sys

from fontTools import subset
from fontTools.ttLib import TTFont


def main(font_path, family, out_path, text_paths):
    text = "".join(chr(c) for c in range(0x20, 0x7F))
    for path in text_paths:
        with open(path, encoding="utf-8") as f:
            text += f.read()
    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.notdef_outline = True
    # The browser hints the outlines itself; the fonts' own instructions would double the size.
    options.hinting = False
    font = TTFont(font_path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)

    names = font["name"]
    style = names.getDebugName(2)  # "Regular", "Bold Italic"
    renamed = {
        1: family,
        3: f"{family} {style}",
        4: f"{family} {style}" if style != "Regular" else family,
        6: f"{family}-{style}".replace(" ", ""),
        16: family,
    }
    for record in names.names:
        if record.nameID in renamed:
            record.string = renamed[record.nameID]
    # Nothing may still say the reserved name, in any record.
    for record in names.names:
        if "Liberation" in record.toUnicode() and record.nameID in (1, 3, 4, 6, 16, 17, 18):
            sys.exit(f"subset_font: name {record.nameID} still says {record.toUnicode()!r}")
    font.flavor = "woff2"
    font.save(out_path)


if __name__ == "__main__":
    # Tables the subsetter drops (a font editor's time stamps) are no news.
    logging.getLogger("fontTools.subset").setLevel(logging.ERROR)
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
