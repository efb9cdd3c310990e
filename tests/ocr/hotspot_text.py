#!/usr/bin/env python3
"""Reads each hotspot's own line back from the baked page pictures with OCR.

For every page picture of the book's pages, the hotspots of printed text (titles, headings,
lines, word cards) are cut out of the picture, stacked into one image and read by tesseract;
each hotspot's English must come back from its own cut. A hotspot that slid off its text, or
text printed where no hotspot lies over it, fails and is named.

    hotspot_text.py <assets folder> <book folder>
"""
import difflib
import json
import os
import re
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

SCALE_X, SCALE_Y = 2118 / 800, 1526 / 540
FRONT = {2: 0, 4: 1, 1: 2, 3: 3}  # the pictures of the first four page indices


def page_index(picture):
    return FRONT.get(picture, picture - 1)


def items(book, index):
    """The page's items in hotspot order: (kind, English)."""
    out = []
    with open(os.path.join(book, "pages", "%02d.txt" % index), encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            kind, *fields = line.split(" | ")
            if kind in ("title", "heading", "line", "word", "marker"):
                out.append((kind, fields[0]))
    return out


def norm(s):
    return re.sub(r"[^a-z0-9]", "", s.lower())


def read_back(english, text):
    """How much of the English the OCR found in its cut, 0 to 1."""
    e, t = norm(english), norm(text)
    if not e:
        return 1.0
    m = difflib.SequenceMatcher(None, e, t, autojunk=False)
    return sum(b.size for b in m.get_matching_blocks()) / len(e)


def check_picture(assets, book, picture, hotspots, tmp):
    page = items(book, page_index(picture))
    cuts = []
    for number, (x, y, w, h) in hotspots:
        kind, english = page[number - 1]
        if kind == "marker":
            continue
        cuts.append((number, english, (x, y, w, h)))
    results = []
    for number, english, (x, y, w, h) in cuts:
        px, py = int(x * SCALE_X), int(y * SCALE_Y)
        pw, ph = int(w * SCALE_X + 0.999), int(h * SCALE_Y + 0.999)
        png = os.path.join(tmp, "p%02d-%03d.png" % (picture, number))
        subprocess.run(["convert", os.path.join(assets, "pictures", "page-%02d.jpg" % picture), "-crop",
                        "%dx%d+%d+%d" % (pw, ph, px, py), "+repage", "-colorspace", "Gray", "-bordercolor", "white",
                        "-border", "12", png], check=True)
        text = subprocess.run(["tesseract", png, "-", "--psm", "6", "-l", "eng"], capture_output=True, text=True).stdout
        score = read_back(english, text)
        results.append((picture, number, english, text.strip().replace("\n", " / "), score))
    return results


def main():
    assets, book = sys.argv[1], sys.argv[2]
    with open(os.path.join(assets, "layout", "main_pages.json"), encoding="utf-8") as f:
        units = json.load(f)["units"]
    pictures = {}
    for u in units:
        if u["type"] == "PicBox" and u["name"].startswith("图片框底图"):
            pictures[u["name"]] = int(u["name"][len("图片框底图"):])
    per_picture = {}
    for u in units:
        if u["type"] == "TransLabel" and u["name"].startswith("透明标签页") and u.get("parent") in pictures:
            picture = pictures[u["parent"]]
            if picture > 34:  # the word list: cells, not the book's items
                continue
            per_picture.setdefault(picture, []).append((int(u["name"].rsplit("_", 1)[1]), u["place"]))
    with tempfile.TemporaryDirectory() as tmp, ThreadPoolExecutor(2) as pool:
        jobs = [pool.submit(check_picture, assets, book, p, sorted(h), tmp) for p, h in sorted(per_picture.items())]
        results = [r for j in jobs for r in j.result()]
    bad = [r for r in results if r[4] < 0.8]
    for picture, number, english, text, score in bad:
        print("page picture %d, hotspot %d: printed \"%s\", read \"%s\" (%.0f%%)" % (picture, number, english, text, 100 * score))
    print("%d hotspots read back, %d not" % (len(results) - len(bad), len(bad)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
