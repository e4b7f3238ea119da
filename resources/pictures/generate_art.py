#!/usr/bin/env python3
"""Writes every SVG source of Clipwright's artwork and renders the PNGs.

The pictures are drawn from a handful of shared parts (palette, scene
motifs, key bodies, glyphs) so that the toolbar, the controller skin, the
title and the icon speak one visual language.  Run from anywhere:

    python3 resources/pictures/generate_art.py [--svg-only]

PNG rendering needs rsvg-convert (Debian package librsvg2-bin).
"""

import json
import math
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))  # resources/

# ---------------------------------------------------------------- palette
INK = "#1c222b"          # outlines, darkest plastic
BODY_TOP = "#343c49"     # remote body, top of gradient
BODY_BOTTOM = "#232933"  # remote body, bottom of gradient
TRAY = "#1a1f27"         # recessed wells and trays
KEY_TOP = "#4a5464"      # key cap, top
KEY_BOTTOM = "#3a4250"   # key cap, bottom
KEY_EDGE = "#12161c"
GLYPH = "#e3e8ef"        # unlit glyphs and printed key labels
GLYPH_DIM = "#697384"    # glyphs of disabled keys
PRINT = "#98a3b3"        # silk-screen captions on the body
LCD = "#0a0d11"
AMBER = "#ffb02e"        # lit lamps
GREEN = "#3fd47f"        # lit play lamp
RED = "#ff4b4b"          # record and recording
TEAL = "#35c2b5"         # accent: connected deck, brand mark
LAMP_OFF = "#252a32"

SKY_TOP = "#5aa8e8"      # scene A: day landscape
SKY_BOTTOM = "#a9d6f5"
SUN = "#ffd166"
HILL = "#4caf50"
HILL_FAR = "#2e8b57"
DUSK_TOP = "#f2784b"     # scene B: dusk landscape
DUSK_BOTTOM = "#ffc07a"
DUSK_HILL = "#6a3d7a"

FONT = "DejaVu Sans, sans-serif"
FONT_CJK = "Noto Sans CJK JP, sans-serif"

SVG_FILES = []  # (path, width, height, scales)
# The controller's printed labels, by picture file: the program draws them over the picture in
# the user's language (caption keys SK_*), so the pictures themselves carry no text.
LABELS = {}
LABEL_MARK = re.compile(r"<!--label (\{.*?\})-->")


def svg_doc(w, h, body, defs=""):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
        f'viewBox="0 0 {w} {h}">\n<defs>{defs}</defs>\n{body}\n</svg>\n'
    )


def write_svg(rel_path, w, h, body, defs="", scales=(1, 2)):
    path = os.path.join(ROOT, rel_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    labels = [json.loads(m) for m in LABEL_MARK.findall(body)]
    if labels:
        LABELS[os.path.splitext(os.path.basename(rel_path))[0]] = labels
        body = LABEL_MARK.sub("", body)
    with open(path, "w", encoding="utf-8") as f:
        f.write(svg_doc(w, h, body, defs))
    SVG_FILES.append((path, w, h, scales))


def text(x, y, s, size, fill, weight="bold", anchor="middle", family=FONT,
         spacing=0.0, extra=""):
    s = s.replace("&", "&amp;").replace("<", "&lt;")
    return (
        f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" '
        f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}" '
        f'letter-spacing="{spacing}" {extra}>{s}</text>'
    )


def label(key, x, y, s, size, fill, weight="bold", anchor="middle", spacing=0.0, width=None):
    """A printed label of the controller: a mark in the SVG body that write_svg takes out into
    labels.json, with the English text the program draws when the caption file lacks the key.
    width: the room it has on a picture wider than its block (the panel); a longer text is
    drawn smaller."""
    spec = {"caption": key, "text": s, "x": round(x, 2), "y": round(y, 2), "size": size,
            "bold": weight == "bold", "anchor": anchor, "spacing": spacing, "colour": fill}
    if width is not None:
        spec["width"] = width
    return f"<!--label {json.dumps(spec, ensure_ascii=False)}-->"


def shift_labels(body, dy):
    """The label marks of body moved down by dy, as a translate() around them would."""
    def moved(match):
        spec = json.loads(match.group(1))
        spec["y"] = round(spec["y"] + dy, 2)
        return f"<!--label {json.dumps(spec, ensure_ascii=False)}-->"
    return LABEL_MARK.sub(moved, body)


def write_labels():
    path = os.path.join(ROOT, "skin/controller/labels.json")
    with open(path, "w", encoding="utf-8") as f:
        rows = ",\n".join(f"  {json.dumps(n)}: {json.dumps(LABELS[n], ensure_ascii=False)}"
                          for n in sorted(LABELS))
        f.write("{\n" + rows + "\n}\n")


# Greyed pictures: no colour, low contrast, lifted towards white.
GREY_FILTER = (
    '<filter id="greyed" color-interpolation-filters="sRGB">'
    '<feColorMatrix type="saturate" values="0"/>'
    '<feComponentTransfer>'
    '<feFuncR type="linear" slope="0.42" intercept="0.52"/>'
    '<feFuncG type="linear" slope="0.42" intercept="0.52"/>'
    '<feFuncB type="linear" slope="0.42" intercept="0.52"/>'
    '<feFuncA type="linear" slope="0.8"/>'
    '</feComponentTransfer></filter>'
)

# =================================================== toolbar / list pictures
PW, PH = 30, 17  # every effect and transition picture


def scene_a(uid):
    """Day landscape: blue sky, sun, two green hills."""
    defs = (
        f'<linearGradient id="sky{uid}" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{SKY_TOP}"/>'
        f'<stop offset="1" stop-color="{SKY_BOTTOM}"/></linearGradient>'
    )
    body = (
        f'<rect x="0" y="0" width="{PW}" height="{PH}" fill="url(#sky{uid})"/>'
        f'<circle cx="22.5" cy="5" r="2.6" fill="{SUN}"/>'
        f'<path d="M0 12 Q7 6 15 11 T30 10 V17 H0Z" fill="{HILL_FAR}"/>'
        f'<path d="M0 14 Q10 9 19 14 T30 13 V17 H0Z" fill="{HILL}"/>'
    )
    return defs, body


def scene_b(uid):
    """Dusk landscape: warm sky, low sun, purple hill: the next scene."""
    defs = (
        f'<linearGradient id="dusk{uid}" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{DUSK_TOP}"/>'
        f'<stop offset="1" stop-color="{DUSK_BOTTOM}"/></linearGradient>'
    )
    body = (
        f'<rect x="0" y="0" width="{PW}" height="{PH}" fill="url(#dusk{uid})"/>'
        f'<circle cx="8" cy="10" r="3" fill="#fff1c9"/>'
        f'<path d="M0 13 L9 8 L15 12 L22 6 L30 12 V17 H0Z" fill="{DUSK_HILL}"/>'
    )
    return defs, body


def mosaic_blocks(x0, x1, size, uid):
    """Coarse blocks that average scene A's colours."""
    out = []
    y = 0.0
    while y < PH:
        x = x0
        while x < x1:
            cy = y + size / 2
            cx = x + size / 2
            if cy > 12.5:
                c = HILL
            elif cy > 10:
                c = HILL_FAR
            elif abs(cx - 22.5) < 3.5 and cy < 8:
                c = "#e9cf7a"
            else:
                c = "#7fbbe9" if cy < 5 else "#95c9ef"
            w = min(size, x1 - x)
            out.append(f'<rect x="{x:.2f}" y="{y:.2f}" width="{w + 0.05:.2f}" '
                       f'height="{size + 0.05:.2f}" fill="{c}"/>')
            x += size
        y += size
    return "".join(out)


def arrow(cx, cy, direction, length=9.0):
    """A white arrow with an ink outline; direction in degrees (0 = right)."""
    h = 2.9
    body = (
        f'<path d="M{-length / 2:.2f} -1.1 H{length / 2 - h:.2f} V-2.9 '
        f'L{length / 2:.2f} 0 L{length / 2 - h:.2f} 2.9 V1.1 H{-length / 2:.2f} Z" '
        f'fill="#ffffff" stroke="{INK}" stroke-width="0.8" stroke-linejoin="round"/>'
    )
    return f'<g transform="translate({cx} {cy}) rotate({direction})">{body}</g>'


def frame_picture(rel_base, defs, content, scales=(1, 2)):
    """Writes normal and greyed forms of a 30x17 picture."""
    clip = (
        f'<clipPath id="pic"><rect x="0.5" y="0.5" width="{PW - 1}" '
        f'height="{PH - 1}" rx="2"/></clipPath>'
    )
    outline = (
        f'<rect x="0.5" y="0.5" width="{PW - 1}" height="{PH - 1}" rx="2" '
        f'fill="none" stroke="{INK}" stroke-width="1"/>'
    )
    body = f'<g clip-path="url(#pic)">{content}</g>{outline}'
    write_svg(rel_base + ".svg", PW, PH, body, defs + clip, scales)
    write_svg(rel_base + "_disabled.svg", PW, PH,
              f'<g filter="url(#greyed)">{body}</g>',
              defs + clip + GREY_FILTER, scales)


EFFECT_NAMES = {
    0: "No effect",
    1: "Sepia",
    2: "Monochrome",
    3: "Solarize",
    4: "Cinema (letterbox)",
    5: "Mosaic",
}

TRANSITION_NAMES = {
    100: "Cut (no transition)",
    101: "White fade",
    102: "Black fade",
    103: "Mosaic fade",
    104: "Monochrome fade",
    105: "Wipe from left (to black)",
    106: "Wipe from right (to black)",
    107: "Wipe from top (to black)",
    108: "Wipe from bottom (to black)",
    109: "Box in (to black)",
    110: "Box out (to black)",
    111: "Overlap wipe from left",
    112: "Overlap wipe from right",
    113: "Overlap wipe from top",
    114: "Overlap wipe from bottom",
    115: "Overlap box in",
    116: "Overlap box out",
    117: "Overlap (dissolve)",
}


def effect_picture(code):
    d, a = scene_a("e")
    if code == 0:
        # The untouched picture with a small "none" badge.
        content = a + (
            f'<circle cx="6" cy="6" r="3.6" fill="#ffffff" stroke="{INK}" stroke-width="0.9"/>'
            f'<path d="M3.6 8.4 L8.4 3.6" stroke="{RED}" stroke-width="1.3"/>'
        )
    elif code == 1:
        d += (
            '<filter id="fx" color-interpolation-filters="sRGB"><feColorMatrix type="matrix" '
            'values="0.393 0.769 0.189 0 0  0.349 0.686 0.168 0 0  '
            '0.272 0.534 0.131 0 0  0 0 0 1 0"/></filter>'
        )
        content = f'<g filter="url(#fx)">{a}</g>'
    elif code == 2:
        d += ('<filter id="fx" color-interpolation-filters="sRGB">'
              '<feColorMatrix type="saturate" values="0"/></filter>')
        content = f'<g filter="url(#fx)">{a}</g>'
    elif code == 3:
        # Solarize: hard tone bands with the darks flipped.
        d += (
            '<filter id="fx" color-interpolation-filters="sRGB"><feComponentTransfer>'
            '<feFuncR type="discrete" tableValues="0.1 1 0.55 0.95"/>'
            '<feFuncG type="discrete" tableValues="0.9 0.2 0.85 0.3"/>'
            '<feFuncB type="discrete" tableValues="0.95 0.35 1 0.1"/>'
            '</feComponentTransfer></filter>'
        )
        content = f'<g filter="url(#fx)">{a}</g>'
    elif code == 4:
        content = a + (
            f'<rect x="0" y="0" width="{PW}" height="3.5" fill="#000000"/>'
            f'<rect x="0" y="{PH - 3.5}" width="{PW}" height="3.5" fill="#000000"/>'
        )
    else:
        content = mosaic_blocks(0, PW, 4.25, "m")
    frame_picture(f"pictures/effects/effect{code}", d, content)


def transition_picture(code):
    da, a = scene_a("a")
    db, b = scene_b("b")
    defs = da
    black = f'<rect x="0" y="0" width="{PW}" height="{PH}" fill="#101216"/>'
    if code == 100:
        # A hard cut: scene A meets scene B at a crisp seam.
        defs += db + '<clipPath id="right"><rect x="15" y="0" width="15" height="17"/></clipPath>'
        content = (a + f'<g clip-path="url(#right)">{b}</g>'
                   '<rect x="14.5" y="0" width="1" height="17" fill="#ffffff"/>')
    elif code in (101, 102):
        tone = "#ffffff" if code == 101 else "#000000"
        defs += (
            f'<linearGradient id="fade" x1="0" y1="0" x2="1" y2="0">'
            f'<stop offset="0.15" stop-color="{tone}" stop-opacity="0"/>'
            f'<stop offset="0.85" stop-color="{tone}" stop-opacity="1"/></linearGradient>'
        )
        content = a + f'<rect x="0" y="0" width="{PW}" height="{PH}" fill="url(#fade)"/>'
    elif code == 103:
        content = (a + mosaic_blocks(10, 18, 2.5, "s") + mosaic_blocks(18, PW, 4.25, "l"))
    elif code == 104:
        defs += (
            '<filter id="mono" color-interpolation-filters="sRGB">'
            '<feColorMatrix type="saturate" values="0"/></filter>'
            '<linearGradient id="mg" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0.2" stop-color="#fff" stop-opacity="0"/>'
            '<stop offset="0.75" stop-color="#fff" stop-opacity="1"/></linearGradient>'
            f'<mask id="mm"><rect x="0" y="0" width="{PW}" height="{PH}" fill="url(#mg)"/></mask>'
        )
        content = a + f'<g mask="url(#mm)"><g filter="url(#mono)">{a}</g></g>'
    elif 105 <= code <= 116:
        kind = (code - 105) % 6
        cover = black
        if code >= 111:
            defs += db
            cover = b
        if kind < 4:
            # The cover has advanced 45 % of the way in the arrow's direction.
            rect, direction, ax, ay = [
                ("0 0 13.5 17", 0, 13.5, 8.5),
                ("16.5 0 13.5 17", 180, 16.5, 8.5),
                ("0 0 30 7.5", 90, 15, 7.5),
                ("0 9.5 30 7.5", 270, 15, 9.5),
            ][kind]
            x, y, w, h = rect.split()
            defs += (f'<clipPath id="cover"><rect x="{x}" y="{y}" width="{w}" '
                     f'height="{h}"/></clipPath>')
            content = (a + f'<g clip-path="url(#cover)">{cover}</g>'
                       + arrow(ax, ay, direction, 8.0 if kind < 2 else 6.5))
        else:
            box_in = kind == 4
            # Box in: the cover closes from the edges; box out: it opens from the middle.
            # Two small triangles tell which way the box edge travels.
            defs += ('<clipPath id="cover"><path fill-rule="evenodd" clip-rule="evenodd" d="'
                     + ("M0 0 H30 V17 H0 Z M8.5 4 H21.5 V13 H8.5 Z" if box_in
                        else "M7.5 3.5 H22.5 V13.5 H7.5 Z") + '"/></clipPath>')
            content = a + f'<g clip-path="url(#cover)">{cover}</g>'
            if box_in:
                content += tri(4.2, 8.5, 5.5, 1, "#ffffff") + tri(25.8, 8.5, 5.5, -1, "#ffffff")
            else:
                content += tri(11.2, 8.5, 5.5, -1, "#ffffff") + tri(18.8, 8.5, 5.5, 1, "#ffffff")
    else:  # 117: the two scenes dissolve into one another
        defs += db + (
            '<linearGradient id="xg" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0.25" stop-color="#fff" stop-opacity="0"/>'
            '<stop offset="0.75" stop-color="#fff" stop-opacity="1"/></linearGradient>'
            f'<mask id="xm"><rect x="0" y="0" width="{PW}" height="{PH}" fill="url(#xg)"/></mask>'
        )
        content = a + f'<g mask="url(#xm)">{b}</g>'
    frame_picture(f"pictures/transitions/trs{code}", defs, content)


# ========================================================= controller skin
CTL_W, CTL_H = 627, 242

# Every widget of the controller window: name -> (x, y, w, h).
KEYS = {
    # transport block
    "btnStepR": (16, 104, 40, 26),
    "btnSlowR": (62, 104, 40, 26),
    "btnEject": (108, 104, 40, 26),
    "btnSlow": (154, 104, 40, 26),
    "btnStep": (200, 104, 40, 26),
    "btnRev": (16, 138, 66, 40),
    "btnPlay": (90, 138, 76, 40),
    "btnFF": (174, 138, 66, 40),
    "btnStop": (16, 186, 66, 40),
    "btnPause": (90, 186, 76, 40),
    "btnRec": (174, 186, 66, 40),
    # jog / shuttle block
    "btnJogR": (254, 204, 40, 24),
    "btnJogF": (302, 204, 40, 24),
    # marking block
    "btnEntry": (360, 104, 108, 30),
    "btnSin": (360, 140, 52, 26),
    "btnSout": (416, 140, 52, 26),
    "btnTrimM": (360, 172, 52, 26),
    "btnTrimP": (416, 172, 52, 26),
    "btnSup": (360, 204, 34, 24),
    "btnSdown": (397, 204, 34, 24),
    "btnSend": (434, 204, 34, 24),
    # under the PROGRAM cover
    "btnGoto": (482, 120, 62, 18),
    "btnPreview": (548, 120, 60, 18),
    "btnAutoRec": (482, 140, 62, 18),
    "btnReview": (548, 140, 60, 18),
    "btnProgEdit": (482, 160, 126, 17),
    # under the RECORD cover
    "btnPreroll": (482, 201, 62, 27),
    "btnEdit": (548, 201, 60, 27),
    # deck strip and window keys
    "btnPlayer": (580, 44, 30, 38),
    "btnMin": (578, 6, 20, 17),
    "btnClose": (601, 6, 20, 17),
}

PICTURES = {
    "imgFPanel": (0, 0, CTL_W, CTL_H),
    "lblScene": (24, 38, 120, 18),
    "lblID": (236, 38, 56, 18),
    "lblCounter": (24, 58, 268, 32),
    "imgDeckp": (316, 36, 100, 56),
    "imgPtoR": (422, 52, 44, 24),
    "imgDeckr": (472, 36, 100, 56),
    "imgLumpPause": (268, 106, 10, 10),
    "imgJog": (262, 124, 72, 72),
    "pnlBtnCover1": (478, 102, 134, 78),
    "imgPgmCover": (478, 102, 134, 78),
    "imgPrgOpen": (478, 102, 134, 15),
    "pnlBtnCover2": (478, 184, 134, 48),
    "imgRecCover": (478, 184, 134, 48),
    "imgRecOpen": (478, 184, 134, 15),
}

LAMP_KEYS = {  # lamp colour of each key that carries a lamp
    "btnRev": AMBER, "btnPlay": GREEN, "btnFF": AMBER, "btnRec": RED,
    "btnSlowR": AMBER, "btnPause": AMBER, "btnSlow": AMBER, "btnStop": AMBER,
}


def tri(cx, cy, size, direction, fill):
    """Equilateral-ish transport triangle pointing right (1) or left (-1)."""
    h = size * 0.62
    if direction > 0:
        d = f"M{cx - h / 2:.2f} {cy - size / 2:.2f} L{cx + h / 2:.2f} {cy:.2f} L{cx - h / 2:.2f} {cy + size / 2:.2f} Z"
    else:
        d = f"M{cx + h / 2:.2f} {cy - size / 2:.2f} L{cx - h / 2:.2f} {cy:.2f} L{cx + h / 2:.2f} {cy + size / 2:.2f} Z"
    return f'<path d="{d}" fill="{fill}" stroke="{fill}" stroke-width="0.8" stroke-linejoin="round"/>'


def curved_arrow(cx, cy, r, clockwise, colour):
    """A three-quarter circle with an arrow head: jog one step."""
    sweep = 1 if clockwise else 0
    a0 = math.radians(200 if clockwise else -20)
    a1 = math.radians(-20 if clockwise else 200)
    x0, y0 = cx + r * math.cos(a0), cy - r * math.sin(a0)
    x1, y1 = cx + r * math.cos(a1), cy - r * math.sin(a1)
    head_dir = -1 if clockwise else 1
    hx = x1
    hy = y1
    head = (f'<path d="M{hx - 2.6:.2f} {hy - 2.2:.2f} L{hx + 2.6:.2f} {hy - 2.2:.2f} '
            f'L{hx:.2f} {hy + 2.0:.2f} Z" fill="{colour}" '
            f'transform="rotate({head_dir * 15} {hx:.2f} {hy:.2f})"/>')
    return (f'<path d="M{x0:.2f} {y0:.2f} A{r} {r} 0 1 {sweep} {x1:.2f} {y1 - 1.2:.2f}" '
            f'fill="none" stroke="{colour}" stroke-width="1.6" stroke-linecap="round"/>' + head)


def key_glyph(name, w, h, colour, reverse=False):
    cx, cy = w / 2, h / 2 + 1.5
    small = h < 30
    if name == "btnPlay":
        return tri(cx, cy, 14, -1 if reverse else 1, colour)
    if name == "btnPause":
        return (f'<rect x="{cx - 5.5}" y="{cy - 6.5}" width="4" height="13" rx="0.8" fill="{colour}"/>'
                f'<rect x="{cx + 1.5}" y="{cy - 6.5}" width="4" height="13" rx="0.8" fill="{colour}"/>')
    if name == "btnStop":
        return f'<rect x="{cx - 6}" y="{cy - 6}" width="12" height="12" rx="1.2" fill="{colour}"/>'
    if name == "btnFF":
        return tri(cx - 4, cy, 12, 1, colour) + tri(cx + 4, cy, 12, 1, colour)
    if name == "btnRev":
        return tri(cx - 4, cy, 12, -1, colour) + tri(cx + 4, cy, 12, -1, colour)
    if name == "btnRec":
        return f'<circle cx="{cx}" cy="{cy}" r="6.5" fill="{colour}"/>'
    if name in ("btnSlow", "btnSlowR"):
        fwd = name == "btnSlow"
        return (tri(cx + (12 if fwd else -12), cy, 7, 1 if fwd else -1, colour)
                + label("SK_SLOW", cx - (3 if fwd else -3), cy + 2.4, "SLOW", 6.5, colour, spacing=0.1))
    if name in ("btnStep", "btnStepR"):
        fwd = name == "btnStep"
        bar_x = cx + 3.5 if fwd else cx - 5
        return (tri(cx - (1.5 if fwd else -1.5), cy, 9, 1 if fwd else -1, colour)
                + f'<rect x="{bar_x}" y="{cy - 4.5}" width="1.6" height="9" fill="{colour}"/>')
    if name == "btnEject":
        return (f'<path d="M{cx - 6} {cy + 1} L{cx} {cy - 6} L{cx + 6} {cy + 1} Z" fill="{colour}" '
                f'stroke="{colour}" stroke-width="0.6" stroke-linejoin="round"/>'
                f'<rect x="{cx - 6}" y="{cy + 3}" width="12" height="2.4" rx="0.5" fill="{colour}"/>')
    if name in ("btnJogR", "btnJogF"):
        return curved_arrow(cx, cy - 0.5, 5.2, name == "btnJogF", colour)
    if name == "btnSup":
        return f'<path d="M{cx - 5} {cy + 3} L{cx} {cy - 4} L{cx + 5} {cy + 3} Z" fill="{colour}"/>'
    if name == "btnSdown":
        return f'<path d="M{cx - 5} {cy - 3} L{cx} {cy + 4} L{cx + 5} {cy - 3} Z" fill="{colour}"/>'
    if name == "btnSend":
        return (f'<path d="M{cx - 5} {cy - 5} L{cx} {cy + 1.5} L{cx + 5} {cy - 5} Z" fill="{colour}"/>'
                f'<rect x="{cx - 5}" y="{cy + 2.8}" width="10" height="2" rx="0.4" fill="{colour}"/>')
    if name == "btnPlayer":
        return (f'<path d="M{cx - 8} {cy - 4} H{cx + 5}" stroke="{colour}" stroke-width="1.6"/>'
                f'<path d="M{cx + 3} {cy - 7.5} L{cx + 8} {cy - 4} L{cx + 3} {cy - 0.5} Z" fill="{colour}"/>'
                f'<path d="M{cx + 8} {cy + 4} H{cx - 5}" stroke="{colour}" stroke-width="1.6"/>'
                f'<path d="M{cx - 3} {cy + 0.5} L{cx - 8} {cy + 4} L{cx - 3} {cy + 7.5} Z" fill="{colour}"/>')
    if name == "btnMin":
        return f'<rect x="{cx - 4.5}" y="{cy}" width="9" height="1.8" fill="{colour}"/>'
    if name == "btnClose":
        return (f'<path d="M{cx - 4} {cy - 4.5} L{cx + 4} {cy + 3.5} M{cx + 4} {cy - 4.5} '
                f'L{cx - 4} {cy + 3.5}" stroke="{colour}" stroke-width="1.8" stroke-linecap="round"/>')
    labels = {
        "btnEntry": ("SK_ENTRY", "ENTRY"), "btnSin": ("SK_IN", "IN"),
        "btnSout": ("SK_OUT", "OUT"), "btnTrimM": ("SK_TRIMM", "TRIM \u2212"),
        "btnTrimP": ("SK_TRIMP", "TRIM +"), "btnGoto": ("SK_GOTO", "GOTO"),
        "btnPreview": ("SK_PREVIEW", "PREVIEW"), "btnAutoRec": ("SK_AUTOREC", "AUTO REC"),
        "btnReview": ("SK_REVIEW", "REVIEW"), "btnProgEdit": ("SK_MODIFY", "MODIFY SCENE"),
        "btnPreroll": ("SK_PREROLL", "PREROLL"), "btnEdit": ("SK_EDIT", "EDIT"),
    }
    key, caption = labels[name]
    size = 10.5 if name == "btnEntry" else (8 if h < 20 else 9)
    base = cy + size * 0.36 - (1.0 if h < 20 else 0.5)
    out = ""
    if name == "btnAutoRec":
        out += f'<circle cx="{cx - 23}" cy="{base - size * 0.36}" r="2.4" fill="{RED if colour == GLYPH else colour}"/>'
        # The record dot stands left of the label: the label keeps clear of it.
        return out + label(key, cx + 3, base, caption, size, colour, spacing=0.2,
                           width=2 * (3 + 23 - 4))
    return out + label(key, cx, base, caption, size, colour, spacing=0.3)


def key_svg(name, w, h, state, lamp=None, reverse=False):
    """One complete key cap.  state: normal, down, disabled, lit."""
    uid = "k"
    down = state == "down"
    top, bottom = (KEY_BOTTOM, "#333a47") if down else (KEY_TOP, KEY_BOTTOM)
    if state == "disabled":
        top, bottom = "#3a414d", "#323844"
    r = 5 if h >= 24 else 4
    off = 1 if down else 0
    defs = (f'<linearGradient id="cap{uid}" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient>')
    body = ""
    # Shadow under the cap (gone when the key is pressed in).
    if not down:
        body += (f'<rect x="0.5" y="1.5" width="{w - 1}" height="{h - 2}" rx="{r}" '
                 f'fill="{KEY_EDGE}"/>')
    body += (f'<rect x="0.5" y="{0.5 + off}" width="{w - 1}" height="{h - 2}" rx="{r}" '
             f'fill="url(#cap{uid})" stroke="{KEY_EDGE}" stroke-width="1"/>')
    if not down:
        body += (f'<path d="M{r + 1} 1.5 H{w - r - 1}" stroke="#ffffff" stroke-opacity="0.18" '
                 f'stroke-width="1"/>')
    colour = GLYPH_DIM if state == "disabled" else GLYPH
    glyph_offset = off - 1
    if lamp is not None:
        lit = state == "lit"
        lamp_colour = lamp if lit else LAMP_OFF
        lw = min(14, w - 16)
        if lit:
            defs += (f'<filter id="glow" x="-1" y="-2" width="3" height="5">'
                     f'<feGaussianBlur stdDeviation="1.4"/></filter>')
            body += (f'<rect x="{w / 2 - lw / 2}" y="{3.5 + off}" width="{lw}" height="3" rx="1.5" '
                     f'fill="{lamp}" filter="url(#glow)" opacity="0.9"/>')
        body += (f'<rect x="{w / 2 - lw / 2}" y="{3.5 + off}" width="{lw}" height="3" rx="1.5" '
                 f'fill="{lamp_colour}"/>')
        glyph_offset = off + 1.5
        if lit:
            colour = lamp if name != "btnRec" else "#ff7a7a"
        elif name == "btnRec" and state != "disabled":
            colour = "#d9534f"
    elif name == "btnRec":
        colour = "#d9534f"
    glyph = shift_labels(key_glyph(name, w, h, colour, reverse), glyph_offset)
    body += f'<g transform="translate(0 {glyph_offset})">{glyph}</g>'
    return defs, body


# The keyboard's way through the controller: the deck pictures and window keys, then the
# panel left to right (transport, jog/shuttle, mark and trim, scene keys, covers and their keys).
TAB_ORDER = [
    "imgDeckp", "imgDeckr", "btnPlayer", "btnMin", "btnClose", "btnStepR", "btnSlowR", "btnEject",
    "btnSlow", "btnStep", "btnRev", "btnPlay", "btnFF", "btnStop", "btnPause", "btnRec", "imgJog",
    "btnJogR", "btnJogF", "btnEntry", "btnSin", "btnSout", "btnTrimM", "btnTrimP", "btnSup",
    "btnSdown", "btnSend", "imgPgmCover", "imgPrgOpen", "btnGoto", "btnPreview", "btnAutoRec",
    "btnReview", "btnProgEdit", "imgRecCover", "imgRecOpen", "btnPreroll", "btnEdit",
]
# The ring around the key that has the keyboard's focus: the panel's own teal.
FOCUS_COLOUR = "#35c2b5"


def write_layout():
    """Positions of every widget over the panel, for the window code to read."""
    layout = {
        "size": [CTL_W, CTL_H],
        "keys": {n: list(r) for n, r in KEYS.items()},
        "lampKeys": sorted(LAMP_KEYS),
        "pictures": {n: list(r) for n, r in PICTURES.items()},
        "tabOrder": TAB_ORDER,
        "focusColour": FOCUS_COLOUR,
        "dialHit": {"centre": [36, 36], "radius": 35},
    }
    lines = []
    for key, value in layout.items():
        if isinstance(value, dict) and key in ("keys", "pictures"):
            rows = ",\n".join(f'    {json.dumps(n)}: {json.dumps(r)}' for n, r in value.items())
            lines.append(f'  {json.dumps(key)}: {{\n{rows}\n  }}')
        else:
            lines.append(f'  {json.dumps(key)}: {json.dumps(value)}')
    path = os.path.join(ROOT, "skin/controller/layout.json")
    with open(path, "w", encoding="utf-8") as f:
        f.write("{\n" + ",\n".join(lines) + "\n}\n")


def write_keys():
    for name, (x, y, w, h) in KEYS.items():
        lamp = LAMP_KEYS.get(name)
        states = ["normal", "down", "disabled"] + (["lit"] if lamp else [])
        for state in states:
            suffix = "" if state == "normal" else "_" + state
            defs, body = key_svg(name, w, h, state, lamp)
            write_svg(f"skin/controller/{name}{suffix}.svg", w, h, body, defs)
        if name == "btnPlay":
            for state in ("normal", "lit"):
                suffix = "_rev" + ("" if state == "normal" else "_lit")
                defs, body = key_svg(name, w, h, state, lamp, reverse=True)
                write_svg(f"skin/controller/{name}{suffix}.svg", w, h, body, defs)


def camcorder(colour, body_fill, lens_fill):
    return (
        f'<rect x="18" y="14" width="52" height="26" rx="5" fill="{body_fill}" stroke="{colour}" stroke-width="1.6"/>'
        f'<path d="M70 20 L84 15 V39 L70 34 Z" fill="{body_fill}" stroke="{colour}" stroke-width="1.6" stroke-linejoin="round"/>'
        f'<circle cx="84" cy="27" r="6" fill="{lens_fill}" stroke="{colour}" stroke-width="1.6"/>'
        f'<rect x="24" y="8" width="20" height="6" rx="2" fill="{body_fill}" stroke="{colour}" stroke-width="1.4"/>'
        f'<circle cx="32" cy="27" r="7" fill="none" stroke="{colour}" stroke-width="1.4"/>'
        f'<circle cx="32" cy="27" r="2" fill="{colour}"/>'
        f'<circle cx="52" cy="27" r="7" fill="none" stroke="{colour}" stroke-width="1.4"/>'
        f'<circle cx="52" cy="27" r="2" fill="{colour}"/>'
    )


def vcr(colour, body_fill, slot_fill):
    return (
        f'<rect x="10" y="14" width="80" height="24" rx="4" fill="{body_fill}" stroke="{colour}" stroke-width="1.6"/>'
        f'<rect x="18" y="20" width="36" height="5" rx="1.5" fill="{slot_fill}" stroke="{colour}" stroke-width="1.2"/>'
        f'<rect x="62" y="19" width="21" height="9" rx="1.5" fill="{slot_fill}" stroke="{colour}" stroke-width="1.2"/>'
        f'<circle cx="22" cy="32" r="1.6" fill="{colour}"/><circle cx="28" cy="32" r="1.6" fill="{colour}"/>'
        f'<circle cx="34" cy="32" r="1.6" fill="{colour}"/>'
        f'<rect x="14" y="38" width="8" height="3" fill="{colour}"/><rect x="78" y="38" width="8" height="3" fill="{colour}"/>'
    )


def write_decks():
    w, h = 100, 56
    for deck, key, caption in (("imgDeckp", "SK_PLAYER", "PLAYER"),
                               ("imgDeckr", "SK_RECORDER", "RECORDER")):
        for state in ("grey", "lit", "red"):
            accent = {"grey": "#5d6675", "lit": TEAL, "red": RED}[state]
            fill = {"grey": "#2a3039", "lit": "#1f3b3c", "red": "#42242a"}[state]
            inner = {"grey": "#20252d", "lit": "#15292b", "red": "#2c171b"}[state]
            defs = ('<filter id="glow" x="-0.2" y="-0.3" width="1.4" height="1.6">'
                    '<feGaussianBlur stdDeviation="1.8"/></filter>')
            draw = camcorder if deck == "imgDeckp" else vcr
            body = f'<rect x="0" y="0" width="{w}" height="{h}" rx="6" fill="{inner}"/>'
            shape = draw(accent, fill, inner)
            if state != "grey":
                body += f'<g filter="url(#glow)" opacity="0.75">{shape}</g>'
            body += shape
            body += label(key, 50, 52, caption, 7.5,
                          accent if state != "grey" else "#7b8594", spacing=0.8)
            if state == "red":
                body += (f'<circle cx="{92}" cy="8" r="3.2" fill="{RED}" filter="url(#glow)"/>'
                         f'<circle cx="92" cy="8" r="2.6" fill="{RED}"/>')
            elif state == "lit":
                body += f'<circle cx="92" cy="8" r="2.6" fill="{TEAL}"/>'
            else:
                body += f'<circle cx="92" cy="8" r="2.6" fill="{LAMP_OFF}"/>'
            write_svg(f"skin/controller/{deck}_{state}.svg", w, h, body, defs)


def write_arrow():
    w, h = 44, 24
    for state, colour in (("idle", "#5d6675"), ("lit", AMBER)):
        shape = (f'<path d="M4 9 H28 V3.5 L40 12 L28 20.5 V15 H4 Z" fill="{colour}" '
                 f'stroke="{INK}" stroke-width="1" stroke-linejoin="round"/>')
        defs = ('<filter id="glow" x="-0.3" y="-0.5" width="1.6" height="2">'
                '<feGaussianBlur stdDeviation="2"/></filter>')
        body = (f'<g filter="url(#glow)" opacity="0.85">{shape}</g>' if state == "lit" else "") + shape
        write_svg(f"skin/controller/imgPtoR_{state}.svg", w, h, body, defs)


def write_dial():
    size, c = 72, 36
    for mode in ("shuttle", "jog"):
        defs = (
            '<radialGradient id="knob" cx="0.4" cy="0.35" r="0.75">'
            f'<stop offset="0" stop-color="#5a6576"/><stop offset="1" stop-color="#2c333e"/></radialGradient>'
            '<radialGradient id="dimple" cx="0.5" cy="0.6" r="0.6">'
            f'<stop offset="0" stop-color="#2a3039"/><stop offset="1" stop-color="#414a58"/></radialGradient>'
        )
        body = f'<circle cx="{c}" cy="{c}" r="35" fill="{INK}"/>'
        body += f'<circle cx="{c}" cy="{c}" r="34" fill="url(#knob)" stroke="#12161c" stroke-width="1"/>'
        # Grip ridges round the rim.
        for i in range(36):
            a = math.radians(i * 10)
            x0, y0 = c + 30 * math.cos(a), c + 30 * math.sin(a)
            x1, y1 = c + 33.5 * math.cos(a), c + 33.5 * math.sin(a)
            body += (f'<line x1="{x0:.2f}" y1="{y0:.2f}" x2="{x1:.2f}" y2="{y1:.2f}" '
                     f'stroke="#1d232b" stroke-width="1.2"/>')
        body += f'<circle cx="{c}" cy="{c}" r="29" fill="none" stroke="#ffffff" stroke-opacity="0.08"/>'
        if mode == "shuttle":
            # Speed marks: the ladder from reverse search to forward search.
            for i, deg in enumerate((-150, -120, -90, -60, -30)):
                pass
            ticks = [(-60, 3.0), (-40, 2.2), (-20, 1.6), (0, 1.4), (20, 1.6), (40, 2.2), (60, 3.0)]
            for deg, r in ticks:
                a = math.radians(deg - 90)
                x, y = c + 23 * math.cos(a), c + 23 * math.sin(a)
                col = TEAL if deg else GLYPH
                body += f'<circle cx="{x:.2f}" cy="{y:.2f}" r="{r / 1.6:.2f}" fill="{col}"/>'
            body += tri(c - 13, c + 4, 7, -1, GLYPH) + tri(c - 9, c + 4, 7, -1, GLYPH)
            body += tri(c + 9, c + 4, 7, 1, GLYPH) + tri(c + 13, c + 4, 7, 1, GLYPH)
            body += label("SK_SHUTTLE", c, c + 19, "SHUTTLE", 7, TEAL, spacing=0.6)
        else:
            body += f'<circle cx="{c}" cy="{c}" r="16" fill="url(#dimple)" stroke="#1d232b" stroke-width="1"/>'
            body += f'<circle cx="{c + 8}" cy="{c - 8}" r="3.2" fill="#1d232b" stroke="#5a6576" stroke-width="0.8"/>'
            for deg in range(0, 360, 30):
                a = math.radians(deg)
                x, y = c + 23 * math.cos(a), c + 23 * math.sin(a)
                body += f'<circle cx="{x:.2f}" cy="{y:.2f}" r="0.9" fill="{AMBER}"/>'
            body += label("SK_JOG", c, c + 4, "JOG", 8.5, AMBER, spacing=0.8)
        write_svg(f"skin/controller/imgJog_{mode}.svg", size, size, body, defs)


def write_jog_lamp():
    for state in ("off", "on"):
        defs = ('<filter id="glow" x="-1" y="-1" width="3" height="3">'
                '<feGaussianBlur stdDeviation="1.3"/></filter>')
        body = f'<circle cx="5" cy="5" r="4.5" fill="{INK}"/>'
        if state == "on":
            body += f'<circle cx="5" cy="5" r="3.6" fill="{AMBER}" filter="url(#glow)"/>'
        body += f'<circle cx="5" cy="5" r="3.3" fill="{AMBER if state == "on" else LAMP_OFF}"/>'
        body += '<circle cx="4" cy="4" r="1" fill="#ffffff" fill-opacity="0.45"/>'
        write_svg(f"skin/controller/imgLumpPause_{state}.svg", 10, 10, body, defs)


# A cover's name and its OPEN or CLOSE share the lid's strip: the name takes this much of it.
COVER_NAME_W = 62


def cover_lid(w, h, key, caption, accent, closed):
    defs = (f'<linearGradient id="lid" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="#56606f"/><stop offset="1" stop-color="#3b4350"/></linearGradient>')
    if closed:
        body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="6" fill="url(#lid)" '
                f'stroke="{KEY_EDGE}"/>'
                f'<rect x="0.5" y="0.5" width="{w - 1}" height="13" rx="6" fill="#2f3641"/>'
                f'<rect x="0.5" y="7" width="{w - 1}" height="7" fill="#2f3641"/>'
                f'<path d="M6 14.5 H{w - 6}" stroke="{KEY_EDGE}"/>'
                f'<path d="M6 15.5 H{w - 6}" stroke="#ffffff" stroke-opacity="0.15"/>'
                f'<rect x="6" y="4" width="5" height="6" rx="1" fill="{accent}"/>'
                + label(key, 16, 11, caption, 8, GLYPH, anchor="start", spacing=0.8, width=COVER_NAME_W)
                + label("SK_OPEN", w - 8, 11, "OPEN \u25BC", 7, PRINT, anchor="end", spacing=0.4,
                        width=w - 24 - COVER_NAME_W))
        # A shallow finger grip near the free edge of the lid.
        gy = h - 10
        body += (f'<rect x="{w / 2 - 22}" y="{gy}" width="44" height="5" rx="2.5" fill="#2f3641"/>'
                 f'<path d="M{w / 2 - 20} {gy + 0.8} H{w / 2 + 20}" stroke="#000" stroke-opacity="0.35"/>')
        for i in range(3):
            yy = h / 2 + 2 + i * 6 - 8
            body += (f'<path d="M18 {yy} H{w - 18}" stroke="#ffffff" stroke-opacity="0.05" '
                     f'stroke-width="2"/>')
    else:
        body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="4" fill="#2f3641" '
                f'stroke="{KEY_EDGE}"/>'
                f'<path d="M5 {h - 2.5} H{w - 5}" stroke="#ffffff" stroke-opacity="0.18"/>'
                f'<rect x="6" y="4" width="5" height="6" rx="1" fill="{accent}"/>'
                + label(key, 16, 11, caption, 8, GLYPH, anchor="start", spacing=0.8, width=COVER_NAME_W)
                + label("SK_CLOSE", w - 8, 11, "CLOSE \u25B2", 7, PRINT, anchor="end", spacing=0.4,
                        width=w - 24 - COVER_NAME_W))
    return defs, body


def write_covers():
    for name, open_name, key, caption, accent, h in (
        ("imgPgmCover", "imgPrgOpen", "SK_PROGRAM", "PROGRAM", TEAL, 78),
        ("imgRecCover", "imgRecOpen", "SK_RECORD", "RECORD", RED, 48),
    ):
        defs, body = cover_lid(134, h, key, caption, accent, True)
        write_svg(f"skin/controller/{name}.svg", 134, h, body, defs)
        defs, body = cover_lid(134, 15, key, caption, accent, False)
        write_svg(f"skin/controller/{open_name}.svg", 134, 15, body, defs)


def write_panel():
    w, h = CTL_W, CTL_H
    defs = (
        f'<linearGradient id="body" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{BODY_TOP}"/><stop offset="1" stop-color="{BODY_BOTTOM}"/></linearGradient>'
        '<linearGradient id="lcd" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="#141a20"/><stop offset="1" stop-color="{LCD}"/></linearGradient>'
        '<radialGradient id="well" cx="0.5" cy="0.45" r="0.55">'
        f'<stop offset="0.8" stop-color="{TRAY}"/><stop offset="1" stop-color="#2c333e"/></radialGradient>'
    )
    b = (f'<rect x="0" y="0" width="{w}" height="{h}" rx="12" fill="url(#body)"/>'
         f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="11.5" fill="none" '
         f'stroke="#ffffff" stroke-opacity="0.12"/>'
         f'<rect x="1.5" y="1.5" width="{w - 3}" height="{h - 3}" rx="10.5" fill="none" '
         f'stroke="#000000" stroke-opacity="0.35"/>')
    # Header strip: brand mark and name; the whole strip is a drag handle.
    b += (f'<rect x="14" y="9" width="10" height="10" rx="2.5" fill="{TEAL}"/>'
          f'<path d="M17.5 11.5 L21.5 14 L17.5 16.5 Z" fill="{INK}"/>'
          + text(30, 18.5, "Clipwright", 11, GLYPH, anchor="start", spacing=0.3)
          + label("SK_DECKCTL", 102, 18.5, "DECK CONTROLLER", 7.5, PRINT, weight="normal",
                  anchor="start", spacing=1.2, width=144))
    for i in range(4):  # grip lines
        b += f'<path d="M{250 + i * 0} {10 + i * 3} H560" stroke="#000" stroke-opacity="0.18"/>'
    # Display window for scene, id and counter.
    b += (f'<rect x="14" y="32" width="286" height="62" rx="6" fill="url(#lcd)" stroke="#000" '
          f'stroke-opacity="0.6"/>'
          f'<path d="M20 93.5 H294" stroke="#ffffff" stroke-opacity="0.12"/>')
    # Deck strip.
    b += (f'<rect x="310" y="32" width="302" height="62" rx="6" fill="{TRAY}" fill-opacity="0.55"/>'
          f'<path d="M316 93.5 H606" stroke="#ffffff" stroke-opacity="0.1"/>')
    # Separators between the blocks of the lower half.
    for x in (247.5, 350.5, 473.5):
        b += (f'<path d="M{x} 104 V228" stroke="#000" stroke-opacity="0.35"/>'
              f'<path d="M{x + 1} 104 V228" stroke="#fff" stroke-opacity="0.06"/>')
    # Key wells: a shallow recess under every key so pressing looks natural.
    for name, (x, y, kw, kh) in KEYS.items():
        if name in ("btnMin", "btnClose"):
            continue
        b += (f'<rect x="{x - 1.5}" y="{y - 1.5}" width="{kw + 3}" height="{kh + 3}" rx="6" '
              f'fill="{TRAY}" fill-opacity="0.7"/>')
    # Trays under the two covers.
    for (x, y, cw, ch) in (PICTURES["pnlBtnCover1"], PICTURES["pnlBtnCover2"]):
        b += (f'<rect x="{x}" y="{y}" width="{cw}" height="{ch}" rx="6" fill="{TRAY}"/>'
              f'<path d="M{x + 4} {y + ch - 0.5} H{x + cw - 4}" stroke="#fff" stroke-opacity="0.08"/>')
    # Dial well and the jog lamp's caption.
    jx, jy, jw, _ = PICTURES["imgJog"]
    b += f'<circle cx="{jx + 36}" cy="{jy + 37}" r="41" fill="url(#well)"/>'
    lx, ly, _, _ = PICTURES["imgLumpPause"]
    b += (f'<circle cx="{lx + 5}" cy="{ly + 5}" r="6" fill="{TRAY}"/>'
          + label("SK_JOG", lx + 15, ly + 8, "JOG", 7, PRINT, anchor="start", spacing=0.8,
                  width=40))
    # Small printed captions near keys whose glyphs are pictograms only.
    b += label("SK_JOGSHUTTLE", 298, 237.5, "JOG / SHUTTLE", 6.5, PRINT, spacing=0.6, width=96)
    b += label("SK_TRANSPORT", 128, 237.5, "TRANSPORT", 6.5, PRINT, spacing=0.8, width=226)
    b += label("SK_SCENE", 414, 237.5, "SCENE  \u25B2 \u25BC END", 6.5, PRINT, spacing=0.6,
               width=118)
    b += label("SK_MARK", 410, 101.5, "MARK", 6.5, PRINT, spacing=1.0, width=118)
    write_svg("skin/controller/imgFPanel.svg", w, h, b, defs)


# ================================================================ title
TITLE_W, TITLE_H = 480, 280
PIKA = (40, 66, 56, 56)  # where imgPika sits on the title picture


def reel_mark(frame, size=56):
    """The animated mark: a tape reel whose glint swells (2, 3) and rests (1)."""
    c = size / 2
    turn = {1: 0, 2: 20, 3: 40}[frame]
    glow = {1: 0.0, 2: 0.55, 3: 1.0}[frame]
    defs = ('<radialGradient id="hub" cx="0.5" cy="0.5" r="0.5">'
            f'<stop offset="0" stop-color="#dff7f4"/><stop offset="1" stop-color="{TEAL}"/></radialGradient>'
            '<filter id="soft" x="-0.5" y="-0.5" width="2" height="2"><feGaussianBlur stdDeviation="2.2"/></filter>')
    # A reel: a teal flange with three round windows and a light hub.
    body = (f'<circle cx="{c}" cy="{c}" r="{c - 3}" fill="{TEAL}" stroke="#1b7f76" stroke-width="1.5"/>'
            f'<circle cx="{c}" cy="{c}" r="{c - 7}" fill="none" stroke="#ffffff" stroke-opacity="0.25"/>')
    for i in range(3):
        a = math.radians(turn + i * 120 - 90)
        hx, hy = c + (c * 0.5) * math.cos(a), c + (c * 0.5) * math.sin(a)
        body += f'<circle cx="{hx:.2f}" cy="{hy:.2f}" r="{c * 0.27:.2f}" fill="#10151b"/>'
    body += f'<circle cx="{c}" cy="{c}" r="{c * 0.22:.2f}" fill="url(#hub)"/>'
    body += f'<circle cx="{c}" cy="{c}" r="{c * 0.08:.2f}" fill="#10151b"/>'
    if glow > 0:
        sx, sy = c + 14, c - 14
        r = 6 + 6 * glow
        body += (f'<circle cx="{sx}" cy="{sy}" r="{r * 0.7:.2f}" fill="#ffffff" opacity="{0.55 * glow:.2f}" filter="url(#soft)"/>'
                 f'<path d="M{sx} {sy - r:.2f} L{sx + 1.4} {sy - 1.4} L{sx + r:.2f} {sy} L{sx + 1.4} {sy + 1.4} '
                 f'L{sx} {sy + r:.2f} L{sx - 1.4} {sy + 1.4} L{sx - r:.2f} {sy} L{sx - 1.4} {sy - 1.4} Z" '
                 f'fill="#ffffff" opacity="{0.6 + 0.4 * glow:.2f}"/>')
    return defs, body


def write_title(variant):
    w, h = TITLE_W, TITLE_H
    light = variant == "oem"
    bg0, bg1 = ("#f4f6f9", "#dfe5ec") if light else ("#1d232c", "#2c3542")
    fg = INK if light else "#f2f5f8"
    sub = "#51606f" if light else "#a9b6c4"
    defs = (f'<linearGradient id="bg" x1="0" y1="0" x2="1" y2="1">'
            f'<stop offset="0" stop-color="{bg0}"/><stop offset="1" stop-color="{bg1}"/></linearGradient>')
    b = f'<rect x="0" y="0" width="{w}" height="{h}" fill="url(#bg)"/>'
    # A film strip sweeping across the lower part.
    strip_y = 184
    b += (f'<g transform="rotate(-5 {w / 2} {strip_y})" opacity="{0.22 if light else 0.35}">'
          f'<rect x="-20" y="{strip_y}" width="{w + 40}" height="44" fill="{TEAL}"/>')
    for i in range(-1, 26):
        x = i * 20
        b += (f'<rect x="{x + 4}" y="{strip_y + 4}" width="10" height="6" rx="1.5" fill="{bg0}"/>'
              f'<rect x="{x + 4}" y="{strip_y + 34}" width="10" height="6" rx="1.5" fill="{bg0}"/>')
    for i in range(6):
        b += (f'<rect x="{i * 82 - 6}" y="{strip_y + 13}" width="70" height="18" rx="2" '
              f'fill="{bg0}" opacity="0.6"/>')
    b += '</g>'
    # The mark in its resting frame (imgPika paints the animation over it).
    mdefs, mark = reel_mark(1)
    defs += mdefs
    px, py, _, _ = PIKA
    b += f'<g transform="translate({px} {py})">{mark}</g>'
    b += text(108, 108, "Clipwright", 50, fg, anchor="start", spacing=-0.5)
    b += f'<rect x="110" y="120" width="56" height="4" rx="2" fill="{TEAL}"/>'
    if variant == "jpn":
        b += text(110, 150, "ビデオ編集コントローラ", 19, sub, weight="bold", anchor="start",
                  family=FONT_CJK, spacing=1.0)
    elif variant == "eng":
        b += text(110, 148, "Video Edit Controller", 17, sub, weight="normal", anchor="start", spacing=0.8)
    else:
        b += text(110, 148, "Edit Controller for Home Video", 15, sub, weight="normal",
                  anchor="start", spacing=0.6)
    b += (f'<path d="M24 246.5 H{w - 24}" stroke="{sub}" stroke-opacity="0.35"/>'
          + text(24, 266, "Tarn bus  \u00B7  player \u2192 recorder", 11, sub, weight="normal",
                 anchor="start", spacing=0.4))
    # The right end of the bottom band is left clear for the version labels.
    name = {"eng": "imgENG", "jpn": "imgJPN", "oem": "imgOEM"}[variant]
    write_svg(f"pictures/title/{name}.svg", w, h, b, defs)


def write_title_frames():
    _, _, w, h = PIKA
    for frame in (1, 2, 3):
        defs, body = reel_mark(frame, w)
        write_svg(f"pictures/title/imgPika{frame}.svg", w, h, body, defs)


# ======================================================= main window button
def write_imgctl():
    size = 46
    for state in ("normal", "pressed", "hover"):
        top, bottom = {"normal": (BODY_TOP, BODY_BOTTOM), "pressed": ("#262c35", "#1e232b"),
                       "hover": ("#3f4958", "#2b323d")}[state]
        defs = (f'<linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
                f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/></linearGradient>')
        # A small remote: display, dial, two rows of keys, and the play lamp.
        b = (f'<rect x="3.5" y="5.5" width="39" height="35" rx="6" fill="url(#g)" stroke="{INK}"/>'
             f'<rect x="8" y="10" width="16" height="7" rx="1.5" fill="{LCD}"/>'
             f'<rect x="10" y="12.5" width="9" height="2" fill="{RED}"/>'
             f'<circle cx="33" cy="14.5" r="5" fill="#2c333e" stroke="{PRINT}" stroke-width="1"/>'
             f'<circle cx="33" cy="14.5" r="1.5" fill="{AMBER if state == "hover" else PRINT}"/>')
        for row in range(2):
            for col in range(4):
                x = 8 + col * 8
                y = 22 + row * 8.5
                lit = state != "pressed" and row == 0 and col == 1
                b += f'<rect x="{x}" y="{y}" width="6.5" height="6" rx="1.5" fill="{KEY_TOP}"/>'
                if lit:
                    b += tri(x + 3.25, y + 3, 3.6, 1, GREEN)
        b += f'<rect x="8" y="22" width="6.5" height="6" rx="1.5" fill="{KEY_TOP}"/>'
        b += tri(11.25, 25, 3.6, 1, GLYPH)
        b += f'<circle cx="27.25" cy="34" r="1.7" fill="{RED}"/>'
        write_svg(f"pictures/main/imgCtl_{state}.svg", size, size, b, defs)


# ========================================================= cursor and icon
def write_cursor():
    size = 32
    c = 15.5  # hotspot (15, 15): the centre pixel of the cross
    arm, half = 11, 3
    d = (f"M{c - half} {c - arm} H{c + half} V{c - half} H{c + arm} V{c + half} "
         f"H{c + half} V{c + arm} H{c - half} V{c + half} H{c - arm} V{c - half} H{c - half} Z")
    b = (f'<path d="{d}" fill="#ffffff" stroke="#000000" stroke-width="1.6" stroke-linejoin="miter"/>'
         f'<rect x="{c - 0.5}" y="{c - 0.5}" width="1" height="1" fill="#000000"/>'
         # A small stacked-rows badge: "copies of rows".
         f'<rect x="22.5" y="22.5" width="8" height="4" fill="{TEAL}" stroke="#000" stroke-width="1"/>'
         f'<rect x="20.5" y="26.5" width="8" height="4" fill="#ffffff" stroke="#000" stroke-width="1"/>')
    write_svg("pictures/cursors/curplus.svg", size, size, b, "", scales=(1, 2))


def write_icon():
    s = 256
    defs = (f'<linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="#3b4553"/><stop offset="1" stop-color="#1f252e"/></linearGradient>'
            f'<linearGradient id="scr" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{SKY_TOP}"/><stop offset="1" stop-color="{SKY_BOTTOM}"/></linearGradient>'
            '<clipPath id="scrclip"><rect x="52" y="64" width="152" height="96" rx="8"/></clipPath>')
    b = (f'<rect x="12" y="12" width="232" height="232" rx="52" fill="url(#bg)"/>'
         f'<rect x="13" y="13" width="230" height="230" rx="51" fill="none" stroke="#fff" stroke-opacity="0.12" stroke-width="2"/>'
         # The clip: a picture frame with a scene in it.
         f'<rect x="44" y="56" width="168" height="112" rx="14" fill="{INK}"/>'
         f'<g clip-path="url(#scrclip)"><rect x="52" y="64" width="152" height="96" fill="url(#scr)"/>'
         f'<circle cx="170" cy="92" r="13" fill="{SUN}"/>'
         f'<path d="M52 136 Q92 108 132 130 T204 124 V160 H52 Z" fill="{HILL_FAR}"/>'
         f'<path d="M52 148 Q104 122 150 146 T204 140 V160 H52 Z" fill="{HILL}"/></g>'
         # Sprocket holes along the top and bottom: it is film, it is tape.
         + "".join(f'<rect x="{60 + i * 28}" y="40" width="14" height="9" rx="3" fill="{TEAL}"/>'
                   for i in range(6))
         + "".join(f'<rect x="{60 + i * 28}" y="175" width="14" height="9" rx="3" fill="{TEAL}"/>'
                   for i in range(6))
         # The controller's play and record lamps.
         + f'<circle cx="92" cy="210" r="13" fill="{GREEN}"/>'
         + tri(92.5, 210, 13, 1, INK)
         + f'<circle cx="164" cy="210" r="13" fill="{RED}"/>'
         + f'<rect x="112" y="206" width="32" height="8" rx="4" fill="{PRINT}"/>')
    write_svg("icons/clipwright.svg", s, s, b, defs, scales=())


def write_small_icon():
    """16 and 32 px need fewer, bigger shapes: the frame, the scene, one lamp."""
    s = 32
    b = (f'<rect x="1" y="1" width="30" height="30" rx="7" fill="#2b323d"/>'
         f'<rect x="4" y="6" width="24" height="16" rx="2.5" fill="{SKY_TOP}"/>'
         f'<circle cx="22" cy="11" r="2.5" fill="{SUN}"/>'
         f'<path d="M4 17 Q11 12 17 16 T28 15 V19.5 A2.5 2.5 0 0 1 25.5 22 H6.5 A2.5 2.5 0 0 1 4 19.5 Z" fill="{HILL}"/>'
         f'<rect x="6" y="3" width="3" height="2" fill="{TEAL}"/><rect x="12" y="3" width="3" height="2" fill="{TEAL}"/>'
         f'<rect x="18" y="3" width="3" height="2" fill="{TEAL}"/><rect x="24" y="3" width="3" height="2" fill="{TEAL}"/>'
         f'<circle cx="10" cy="26.5" r="2.6" fill="{GREEN}"/><circle cx="22" cy="26.5" r="2.6" fill="{RED}"/>')
    write_svg("icons/clipwright-small.svg", s, s, b, "", scales=())


ICON_SIZES = (16, 32, 48, 64, 128, 256)


# ================================================================ render
def render():
    for path, w, h, scales in SVG_FILES:
        base = path[:-4]
        for scale in scales:
            out = base + (".png" if scale == 1 else f"@{scale}x.png")
            subprocess.run(["rsvg-convert", "-w", str(w * scale), "-h", str(h * scale),
                            path, "-o", out], check=True)
    for size in ICON_SIZES:
        icon = os.path.join(ROOT, "icons/clipwright-small.svg" if size <= 32 else "icons/clipwright.svg")
        out = os.path.join(ROOT, f"icons/clipwright-{size}.png")
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), icon, "-o", out],
                       check=True)


def main():
    for code in range(6):
        effect_picture(code)
    for code in range(100, 118):
        transition_picture(code)
    write_layout()
    write_keys()
    write_decks()
    write_arrow()
    write_dial()
    write_jog_lamp()
    write_covers()
    write_panel()
    write_labels()
    for variant in ("eng", "jpn", "oem"):
        write_title(variant)
    write_title_frames()
    write_imgctl()
    write_cursor()
    write_icon()
    write_small_icon()
    if "--svg-only" not in sys.argv:
        render()
    print(f"{len(SVG_FILES)} SVG sources written")


if __name__ == "__main__":
    main()
