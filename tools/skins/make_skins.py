#!/usr/bin/python3
"""Draws every image of the station and writes them as Windows bitmaps.

Offers: the skin bitmaps of panekit32 (panekit/resources/skins/*.bmp and
panekit/resources/skins.rc), the program's display animation and icon
(shell/resources/display/ and shell/resources/program_bitmaps.rc).

All 8-bit images share one 256-entry colour table: entries 0-15 are the
sixteen classic VGA colours (the 4-bit images use exactly these), 16-79 a
grey ramp that is dense in the darks, and 80-255 are fitted to the artwork
by a deterministic median cut. Output is reproducible byte for byte; run
with --check to regenerate into a temporary directory and compare.

Needs Debian's python3-pil and fonts-dejavu-core.
"""

import argparse
import filecmp
import math
import os
import struct
import sys
import tempfile

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SKIN_DIR = os.path.join("panekit", "resources", "skins")
SKIN_RC = os.path.join("panekit", "resources", "skins.rc")
DISPLAY_DIR = os.path.join("shell", "resources", "display")
DISPLAY_RC = os.path.join("shell", "resources", "program_bitmaps.rc")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# ---------------------------------------------------------------- colours

BLACK = (0, 0, 0)
PANEL_TOP = (38, 40, 47)
PANEL_BOTTOM = (24, 25, 30)
PANEL_LIGHT = (86, 91, 104)
PANEL_DARK = (6, 6, 8)
POCKET = (13, 14, 17)
ENGRAVE = (132, 140, 156)
CYAN = (0, 255, 255)
CYAN_DIM = (0, 150, 150)
CYAN_UNLIT = (0, 44, 48)
YELLOW = (255, 236, 0)
YELLOW_DIM = (150, 130, 0)
RED = (236, 32, 24)
GREEN = (40, 230, 70)
KEY_TOP = (92, 97, 110)
KEY_BOTTOM = (58, 61, 70)
KEY_LIGHT = (150, 157, 172)
KEY_SHADE = (26, 27, 31)
KEY_SUNK = (40, 42, 48)
INK_UP = (232, 236, 244)
INK_PRESSED = (168, 174, 186)
INK_LATCHED = YELLOW
LED_OFF = (34, 36, 40)

VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def grey_ramp():
    """64 greys with a faint steel tint, spaced densely in the darks."""
    ramp = []
    for i in range(64):
        v = 255.0 * (i / 63.0) ** 1.7
        tint = 1.0 + 0.12 * (1.0 - i / 63.0)
        ramp.append((round(v), round(v * (1 + (tint - 1) / 3)), min(255, round(v * tint))))
    return ramp


BOLD = "DejaVuSans-Bold.ttf"
CONDENSED = "DejaVuSansCondensed-Bold.ttf"


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)

# ---------------------------------------------------------------- drawing


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def vgradient(img, box, top, bottom):
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    n = max(1, y1 - y0)
    for y in range(y0, y1 + 1):
        d.line([(x0, y), (x1, y)], fill=mix(top, bottom, (y - y0) / n))


def bevel(d, box, light, dark):
    x0, y0, x1, y1 = box
    d.line([(x0, y1), (x0, y0), (x1, y0)], fill=light)
    d.line([(x0 + 1, y1), (x1, y1), (x1, y0 + 1)], fill=dark)


def text(d, xy, s, face, fill, anchor="mm", crisp=False):
    """Draws s; crisp keeps only the solid half of the antialiased glyphs,
    for the 4-bit images."""
    if not crisp:
        d.text(xy, s, font=face, fill=fill, anchor=anchor)
        return
    mask = Image.new("L", d.im.size)
    ImageDraw.Draw(mask).text(xy, s, font=face, fill=255, anchor=anchor)
    solid = mask.point(lambda v: 255 if v >= 112 else 0)
    d.bitmap((0, 0), solid, fill=fill)


def fitted(s, width, size, name=BOLD):
    """The largest face, bold and then condensed bold, in which s fits width."""
    for face_name in (name, CONDENSED):
        for pt in range(size, 6, -1):
            face = font(face_name, pt)
            if face.getlength(s) <= width:
                return face
    return font(CONDENSED, 7)


def engraved(d, xy, s, face, anchor="mm"):
    x, y = xy
    text(d, (x, y + 1), s, face, PANEL_DARK, anchor)
    text(d, (x, y), s, face, ENGRAVE, anchor)


def panel(w, h):
    """The dark hardware plate every panel is cut from."""
    img = Image.new("RGB", (w, h))
    vgradient(img, (0, 0, w - 1, h - 1), PANEL_TOP, PANEL_BOTTOM)
    d = ImageDraw.Draw(img)
    bevel(d, (0, 0, w - 1, h - 1), PANEL_LIGHT, PANEL_DARK)
    for x, y in ((5, 5), (w - 6, 5), (5, h - 6), (w - 6, h - 6)):
        d.ellipse([x - 2, y - 2, x + 2, y + 2], fill=(70, 74, 84), outline=PANEL_DARK)
        d.line([(x - 1, y), (x + 1, y)], fill=PANEL_DARK)
    return img, d


def glass(d, box):
    """Black display window sunk into the plate."""
    x0, y0, x1, y1 = box
    d.rectangle(box, fill=BLACK)
    bevel(d, box, PANEL_DARK, PANEL_LIGHT)
    d.rectangle([x0 + 1, y0 + 1, x1 - 1, y1 - 1], outline=(4, 4, 6))


def pocket(d, box):
    """Dark recess behind a row of keys."""
    d.rectangle(box, fill=POCKET)
    bevel(d, box, PANEL_DARK, PANEL_LIGHT)


def title(d, xy, s, size=15, sub=None):
    engraved(d, xy, s, font(BOLD, size))
    x, y = xy
    d.line([(x - 24, y + size // 2 + 3), (x + 24, y + size // 2 + 3)], fill=CYAN_DIM)
    if sub:
        engraved(d, (x, y + size // 2 + 11), sub, font(BOLD, 8))


# ---------------------------------------------------------------- keys

UP, PRESSED, LATCHED = "up", "pressed", "latched"
INK = {UP: INK_UP, PRESSED: INK_PRESSED, LATCHED: INK_LATCHED}


def key(w, h, state, draw_content, vis=None, led=True):
    """A key face of w x h; only the vis x vis_h corner is ever seen (the
    panels place some keys smaller than their faces), so the key is drawn
    there and the rest stays black. draw_content(d, cx, cy, ink) puts the
    legend; a pressed key shifts it by one pixel."""
    vw, vh = vis if vis else (w, h)
    img = Image.new("RGB", (w, h), BLACK)
    box = (0, 0, vw - 1, vh - 1)
    d = ImageDraw.Draw(img)
    if state == UP:
        vgradient(img, (1, 1, vw - 2, vh - 2), KEY_TOP, KEY_BOTTOM)
        bevel(d, (1, 1, vw - 2, vh - 2), KEY_LIGHT, KEY_SHADE)
    else:
        top = (30, 31, 36) if state == PRESSED else (46, 48, 56)
        vgradient(img, (1, 1, vw - 2, vh - 2), top, KEY_SUNK)
        bevel(d, (1, 1, vw - 2, vh - 2), (12, 12, 14), (84, 88, 100))
    d.rectangle(box, outline=BLACK)
    shift = 1 if state == PRESSED else 0
    cx, cy = (vw - 1) / 2 + shift, (vh - 1) / 2 + shift
    if led and vh >= 17:
        # A lamp strip along the bottom edge: lit while latched.
        colour = YELLOW if state == LATCHED else LED_OFF
        d.line([(vw // 2 - 8 + shift, vh - 4 + shift), (vw // 2 + 7 + shift, vh - 4 + shift)],
               fill=colour)
        cy -= 1
    draw_content(d, cx, cy, INK[state])
    return img


def legend(s, size=9, face=BOLD):
    def draw(d, cx, cy, ink):
        text(d, (cx, cy), s, font(face, size), ink)
    return draw


def tri(d, cx, cy, half, right, ink, width=None):
    """Solid triangle pointing left or right, 2*half+1 rows tall."""
    width = width if width is not None else half + 1
    x = round(cx)
    y = round(cy)
    if right:
        pts = [(x, y - half), (x, y + half), (x + width - 1, y)]
    else:
        pts = [(x, y - half), (x, y + half), (x - width + 1, y)]
    d.polygon(pts, fill=ink)


def sym_play(d, cx, cy, ink):
    tri(d, cx - 3, cy, 5, True, ink, 8)


def sym_pause(d, cx, cy, ink):
    x, y = round(cx), round(cy)
    d.rectangle([x - 4, y - 5, x - 2, y + 5], fill=ink)
    d.rectangle([x + 2, y - 5, x + 4, y + 5], fill=ink)


def sym_stop(d, cx, cy, ink):
    x, y = round(cx), round(cy)
    d.rectangle([x - 5, y - 5, x + 5, y + 5], fill=ink)


def sym_ff(d, cx, cy, ink):
    tri(d, cx - 6, cy, 5, True, ink, 6)
    tri(d, cx, cy, 5, True, ink, 6)


def sym_rew(d, cx, cy, ink):
    tri(d, cx + 6, cy, 5, False, ink, 6)
    tri(d, cx, cy, 5, False, ink, 6)


def sym_skip_fwd(d, cx, cy, ink):
    tri(d, cx - 8, cy, 5, True, ink, 6)
    tri(d, cx - 2, cy, 5, True, ink, 6)
    x, y = round(cx), round(cy)
    d.rectangle([x + 4, y - 5, x + 6, y + 5], fill=ink)


def sym_skip_back(d, cx, cy, ink):
    tri(d, cx + 8, cy, 5, False, ink, 6)
    tri(d, cx + 2, cy, 5, False, ink, 6)
    x, y = round(cx), round(cy)
    d.rectangle([x - 6, y - 5, x - 4, y + 5], fill=ink)


def sym_record(d, cx, cy, ink):
    x, y = round(cx), round(cy)
    fill = mix(RED, INK_PRESSED, 0.35) if ink == INK_PRESSED else RED
    if ink == INK_LATCHED:
        d.ellipse([x - 7, y - 7, x + 7, y + 7], fill=(90, 10, 8))
        fill = (255, 70, 50)
    d.ellipse([x - 5, y - 5, x + 5, y + 5], fill=fill)


def sym_power(d, cx, cy, ink):
    x, y = round(cx), round(cy)
    d.arc([x - 5, y - 5, x + 5, y + 5], 300, 240, fill=ink, width=2)
    d.line([(x, y - 6), (x, y)], fill=ink, width=2)


def sym_eject(d, cx, cy, ink):
    x, y = round(cx), round(cy)
    d.polygon([(x - 6, y + 1), (x + 6, y + 1), (x, y - 5)], fill=ink)
    d.rectangle([x - 6, y + 3, x + 6, y + 4], fill=ink)


def sym_repeat(d, cx, cy, ink):
    x, y = round(cx), round(cy)
    d.rounded_rectangle([x - 8, y - 4, x + 8, y + 4], radius=3, outline=ink, width=2)
    # Arrow heads on the loop: top runs right, bottom runs left.
    d.polygon([(x + 1, y - 7), (x + 1, y - 1), (x + 4, y - 4)], fill=ink)
    d.polygon([(x - 1, y + 1), (x - 1, y + 7), (x - 4, y + 4)], fill=ink)


def with_text(sym, s, size=8):
    """Symbol on the left, word on the right."""
    def draw(d, cx, cy, ink):
        sym(d, cx - 12, cy, ink)
        text(d, (cx + 8, cy), s, font(BOLD, size), ink)
    return draw


# ---------------------------------------------------------------- lamps


def lamp(w, h, lit, word, vis_w=None, crisp=False, size=9):
    """Indicator face: grey word when dark, yellow when lit."""
    vw = vis_w or w
    img = Image.new("RGB", (w, h), BLACK)
    d = ImageDraw.Draw(img)
    if lit:
        body, edge, ink = (74, 62, 0), YELLOW_DIM, (255, 255, 0)
        if crisp:
            body, edge, ink = VGA[3], VGA[11], VGA[11]
    else:
        body, edge, ink = (30, 31, 35), (70, 72, 78), (150, 152, 158)
        if crisp:
            body, edge, ink = VGA[0], VGA[8], VGA[7]
    d.rectangle([0, 0, vw - 1, h - 1], fill=body, outline=edge)
    text(d, ((vw - 1) / 2, (h - 1) / 2), word, font(BOLD, size), ink, crisp=crisp)
    return img


# ---------------------------------------------------------------- backgrounds

TRANSPORT_POCKET = (88, 60, 413, 82)


def meter_dark_segments(d):
    """The level meter as the WAVE panel draws it when stopped."""
    dark = [(0, 128, 128)] * 5 + [(128, 128, 0)] * 2 + [(128, 0, 0)] * 2
    for i in range(9):
        x = 412 + 12 * i
        for base in (22, 36):
            for k in (0, 2, 4, 6):
                d.line([(x + 8 - k, base + k // 2), (x + 14 - k, base + k // 2)], fill=dark[i])


def bg_launcher():
    img, d = panel(640, 41)
    logo = font(BOLD, 17)
    text(d, (10, 12), "sonikbay", logo, CYAN, anchor="lm")
    text(d, (11 + d.textlength("sonikbay", font=logo), 12), "32", logo, YELLOW, anchor="lm")
    engraved(d, (10, 30), "MEDIA STATION", font(BOLD, 8), anchor="lm")
    pocket(d, (106, 24, 533, 40))
    for i in range(14):
        x = 548 + i * 6
        d.rectangle([x, 8, x + 2, 19], fill=POCKET, outline=PANEL_DARK)
    return img


def player_panel(w, h, name, glass_box, right_title=True):
    img, d = panel(w, h)
    glass(d, glass_box)
    pocket(d, TRANSPORT_POCKET)
    if right_title:
        title(d, (596, 28), name, sub="PLAYER")
    return img, d


def bg_cd():
    img, d = player_panel(639, 83, "CD", (94, 2, 537, 60), right_title=False)
    engraved(d, (596, 9), "CD PLAYER", font(BOLD, 8))
    small = font(BOLD, 7)
    text(d, (518, 13), "TOTAL", small, CYAN_DIM)
    text(d, (518, 33), "TIME", small, CYAN_DIM)
    engraved(d, (596, 75), "REPEAT", font(BOLD, 7))
    return img


def bg_midi():
    img, d = player_panel(639, 83, "MIDI", (94, 2, 537, 60))
    return img


def bg_wave():
    img, d = player_panel(640, 83, "WAVE", (94, 2, 553, 60))
    pocket(d, (431, 60, 521, 82))
    small = font(BOLD, 7)
    text(d, (405, 24), "L", small, CYAN)
    text(d, (405, 37), "R", small, CYAN)
    for label, x in (("-10", 444), ("-5", 480), ("0", 504)):
        text(d, (x, 31), label, small, CYAN_DIM)
    text(d, (533, 31), "dB", small, CYAN_DIM)
    meter_dark_segments(d)
    return img


def bg_playlist():
    img, d = panel(640, 84)
    glass(d, (94, 2, 557, 60))
    pocket(d, (88, 61, 557, 83))
    small = font(BOLD, 7)
    text(d, (101, 10), "TOTAL", small, CYAN_DIM, anchor="lm")
    text(d, (101, 36), "TIME", small, CYAN_DIM, anchor="lm")
    title(d, (598, 28), "MULTI", size=13, sub="PLAYLIST")
    return img


def bg_mixer():
    img, d = panel(640, 83)
    glass(d, (92, 2, 152, 68))
    glass(d, (145, 2, 553, 20))
    d.rectangle([146, 3, 151, 19], fill=BLACK)
    strips = [(147, 185), (200, 219), (234, 272), (279, 317), (324, 362), (369, 407),
              (414, 452), (466, 485), (499, 537)]
    for x0, x1 in strips:
        pocket(d, (x0 - 2, 21, x1 + 2, 70))
    title(d, (596, 28), "MIX", sub="MIXER")
    return img


def bg_video():
    """The VIDEO panel's plate, 106 high: keys on the left, the picture's
    window, the text display and the transport row, the name on the right."""
    img, d = panel(639, 106)
    glass(d, (80, 7, 212, 98))
    glass(d, (220, 2, 553, 62))
    pocket(d, (216, 69, 545, 93))
    title(d, (596, 40), "VIDEO", sub="PLAYER")
    return img


def bg_video_label(state):
    """4040 is the VIDEO panel's hidden launcher key; 4041 is the pressed
    key."""
    if state == UP:
        return key(47, 24, UP, legend("VIDEO", 9), led=False)
    return key(45, 25, PRESSED, legend("VIDEO", 9), led=False)


def bg_efx():
    img, d = panel(224, 259)
    engraved(d, (112, 11), "ROOM PRESETS", font(BOLD, 8))
    names = font(BOLD, 8)
    for name, x in (("HALL1", 30), ("HALL2", 83), ("CHURCH", 138), ("DISCO", 190)):
        text(d, (x, 71), name, names, CYAN)
    pocket(d, (91, 78, 133, 119))
    d.line([(8, 136), (215, 136)], fill=PANEL_DARK)
    d.line([(8, 137), (215, 137)], fill=PANEL_LIGHT)
    for name, x in (("TREBLE", 58), ("BASS", 111), ("WIDE", 163)):
        text(d, (x, 151), name, names, CYAN)
        pocket(d, (x - 12, 158, x + 12, 211))
        for y in range(165, 206, 8):
            d.line([(x - 16, y), (x - 14, y)], fill=ENGRAVE)
    engraved(d, (100, 229), "3D STAGE", font(BOLD, 8))
    return img


# ---------------------------------------------------------------- small faces


def slider_track(lit):
    img = Image.new("RGB", (19, 48), POCKET)
    d = ImageDraw.Draw(img)
    bevel(d, (0, 0, 18, 47), PANEL_DARK, PANEL_LIGHT)
    slot = CYAN if lit else (60, 64, 72)
    d.rectangle([8, 3, 10, 44], fill=BLACK)
    d.line([(9, 4), (9, 43)], fill=mix(slot, BLACK, 0.35))
    tick = CYAN_DIM if lit else (70, 74, 84)
    for y in range(4, 45, 5):
        d.line([(3, y), (5, y)], fill=tick)
        d.line([(13, y), (15, y)], fill=tick)
    return img


def source_key(state):
    img = Image.new("RGB", (13, 7), BLACK)
    d = ImageDraw.Draw(img)
    if state == UP:
        d.rectangle([1, 1, 11, 5], fill=(70, 74, 84))
        bevel(d, (1, 1, 11, 5), KEY_LIGHT, KEY_SHADE)
    elif state == PRESSED:
        d.rectangle([1, 1, 11, 5], fill=(34, 36, 40))
        bevel(d, (1, 1, 11, 5), (12, 12, 14), (84, 88, 100))
    else:
        d.rectangle([1, 1, 11, 5], fill=YELLOW)
        d.line([(2, 2), (10, 2)], fill=(255, 250, 170))
        d.line([(1, 5), (11, 5)], fill=YELLOW_DIM)
    return img


def mute_key(state):
    # Latched means the channel sounds; a released key is muted.
    def draw(d, cx, cy, ink):
        face = font(BOLD, 8)
        if state == LATCHED:
            d.ellipse([4, 3, 8, 7], fill=GREEN)
            text(d, (cx + 4, cy), "ON", face, INK_UP)
        else:
            d.ellipse([4 + (state == PRESSED), 3 + (state == PRESSED),
                       8 + (state == PRESSED), 7 + (state == PRESSED)], fill=(120, 20, 16))
            text(d, (cx + 4, cy), "MUTE", face, (255, 110, 90) if state == UP else INK_PRESSED)
    return key(44, 11, state, draw)


def preset_key(state):
    img = Image.new("RGB", (46, 46), BLACK)
    d = ImageDraw.Draw(img)
    w, h = 42, 43
    d.rounded_rectangle([0, 0, w - 1, h - 1], radius=6, fill=(16, 17, 20))
    shift = 1 if state == PRESSED else 0
    ring = YELLOW if state == LATCHED else (64, 68, 78)
    d.ellipse([4 + shift, 4 + shift, w - 5 + shift, h - 5 + shift], fill=ring)
    inner_top = KEY_TOP if state == UP else ((34, 36, 41) if state == PRESSED else (60, 62, 70))
    inner_bottom = KEY_BOTTOM if state == UP else KEY_SUNK
    r = [7 + shift, 7 + shift, w - 8 + shift, h - 8 + shift]
    mask = Image.new("L", (46, 46))
    ImageDraw.Draw(mask).ellipse(r, fill=255)
    grad = Image.new("RGB", (46, 46))
    vgradient(grad, (0, r[1], 45, r[3]), inner_top, inner_bottom)
    img.paste(grad, (0, 0), mask)
    if state == UP:
        d.arc(r, 160, 300, fill=KEY_LIGHT)
    cx, cy = (w - 1) / 2 + shift, (h - 1) / 2 + shift
    dot = YELLOW if state == LATCHED else LED_OFF
    d.ellipse([cx - 3, cy - 3, cx + 3, cy + 3], fill=dot, outline=BLACK)
    return img


def manual_key(state):
    def draw(d, cx, cy, ink):
        text(d, (cx, cy - 4), "MAN", font(BOLD, 9), ink)
        text(d, (cx, cy + 6), "UAL", font(BOLD, 9), ink)
    return key(37, 35, state, draw, vis=(36, 35))


def stage_key(state):
    def draw(d, cx, cy, ink):
        on = YELLOW if state == LATCHED else LED_OFF
        d.ellipse([5, cy - 2, 9, cy + 2], fill=on)
        text(d, (cx + 4, cy), "3D", font(BOLD, 10), ink)
    return key(39, 20, state, draw, led=False)


# ---------------------------------------------------------------- display art


def bar_heights(bars, frame, seed):
    """Heights 0..1 of a spectrum that loops over ten frames."""
    out = []
    for b in range(bars):
        env = 1.0 - 0.45 * (b / bars) ** 0.8
        phase = (b * 7 + seed) % 10 / 10.0
        k = 1 + (b * 3 + seed) % 3
        a = 0.5 + 0.5 * math.sin(2 * math.pi * (k * frame / 10.0 + phase))
        c = 0.5 + 0.5 * math.sin(2 * math.pi * (frame / 10.0 + b / bars))
        out.append(min(1.0, env * (0.35 + 0.6 * a + 0.25 * c)))
    return out


def spectrum(w, h, frame):
    """Segmented spectrum display; frame None is the idle display."""
    img = Image.new("RGB", (w, h), BLACK)
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, h - 1], outline=(0, 70, 76))
    rows = (h - 4) // 2
    bars = (w - 4) // 5
    x0 = (w - bars * 5 + 1) // 2
    heights = bar_heights(bars, frame, 3) if frame is not None else [0] * bars
    for b in range(bars):
        lit = round(heights[b] * rows)
        x = x0 + b * 5
        for r in range(rows):
            y = h - 3 - 2 * r
            level = r / max(1, rows - 1)
            if r < lit:
                colour = CYAN if level < 0.6 else (YELLOW if level < 0.85 else RED)
                if r == lit - 1:
                    colour = mix(colour, (255, 255, 255), 0.35)
            else:
                colour = CYAN_UNLIT
            d.line([(x, y), (x + 3, y)], fill=colour)
    return img


def icon_art(size):
    """The program icon; transparent outside its rounded plate."""
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, size - 1, size - 1], radius=size // 6, fill=(40, 42, 50),
                        outline=(120, 128, 144))
    bars = [0.45, 0.8, 1.0, 0.65, 0.35] if size >= 32 else [0.5, 1.0, 0.7]
    bw = (size - 8) // len(bars)
    base = size - 5
    top = 5
    for i, v in enumerate(bars):
        x = 4 + i * bw + (size - 8 - bw * len(bars)) // 2
        y = base - round((base - top) * v)
        d.rectangle([x, y, x + bw - 2, base], fill=CYAN)
        d.rectangle([x, y, x + bw - 2, y + (1 if size < 32 else 2)], fill=YELLOW)
    return img


# ---------------------------------------------------------------- inventory


def keys3(base, w, h, draw, vis=None, states=(UP, PRESSED, LATCHED), sizes=None, led=True):
    """Faces id, id+1, id+2 of one key."""
    out = []
    for i, state in enumerate(states):
        fw, fh = sizes[i] if sizes else (w, h)
        out.append((base + i, 8, lambda s=state, fw=fw, fh=fh: key(fw, fh, s, draw, vis, led)))
    return out


def panekit_images():
    """(id, bits, draw) for every image of panekit32."""
    imgs = [
        (1999, 8, bg_launcher), (122, 8, bg_cd), (4053, 8, bg_midi), (1016, 8, bg_wave),
        (4054, 8, bg_playlist), (1017, 8, bg_mixer), (7021, 8, bg_efx),
        (4040, 8, lambda: bg_video_label(UP)), (4041, 8, lambda: bg_video_label(PRESSED)),
        (4047, 8, bg_video),
    ]
    # Transport keys: the panels place them 43 to 45 pixels wide.
    transport = [(1002, sym_stop, 43), (1004, sym_ff, 44), (1006, sym_rew, 44),
                 (1008, sym_skip_fwd, 45), (1010, sym_skip_back, 43), (4000, sym_play, 43),
                 (4004, sym_pause, 43), (1022, sym_record, 45)]
    for base, sym, vis_w in transport:
        states = (UP, PRESSED, LATCHED) if base in (4000, 4004, 1022) else (UP, PRESSED)
        imgs += keys3(base, 45, 21, sym, vis=(vis_w, 21), states=states)
    imgs += keys3(1020, 48, 18, sym_power, vis=(46, 18), states=(UP, PRESSED),
                  sizes=[(48, 18), (46, 18)])
    launcher = [(2000, "CD", 51), (2003, "MIDI", 52), (2006, "WAVE", 55), (2009, "MIX", 48),
                (7030, "MULTI", 47), (7040, "CONFIG", 48), (1040, "LIST", 52), (4049, "3D", 58)]
    for base, word, w in launcher:
        sizes = [(w, 14), (w, 13), (w, 13)] if base == 2000 else None
        vis_w = 48 if base == 1040 else w
        imgs += keys3(base, w, 14, launcher_legend(word, vis_w), vis=(vis_w, 14 if base != 2000 else 13),
                      sizes=sizes)
    imgs += keys3(1014, 48, 18, sym_eject, vis=(47, 18), states=(UP, PRESSED))
    imgs += keys3(2012, 48, 18, legend("OPEN"), vis=(47, 18), states=(UP, PRESSED))
    imgs += keys3(4034, 48, 18, sym_repeat)
    imgs += keys3(4038, 48, 18, legend("NAME"), states=(UP, PRESSED))
    imgs += keys3(1030, 48, 18, legend("LOCK"), vis=(46, 18),
                  sizes=[(48, 18), (46, 18), (46, 18)])
    imgs += keys3(4032, 60, 24, legend("DISC"), states=(UP,))
    imgs += keys3(4042, 60, 24, legend("WINDOW"), sizes=[(60, 24), (61, 24), (60, 24)])
    imgs += keys3(4024, 138, 18, legend("WAVE LOCK"),
                  sizes=[(138, 18), (39, 17), (138, 18)])
    imgs += keys3(4028, 88, 21, with_text(lambda d, cx, cy, ink: tri(d, cx - 10, cy, 4, True,
                                                                       ink, 5), "SOURCE"),
                  vis=(84, 21), states=(UP, PRESSED))
    for i, state in enumerate((UP, PRESSED, LATCHED)):
        imgs.append((4055 + i, 8, lambda s=state: mute_key(s)))
        imgs.append((1161 + i, 8, lambda s=state: preset_key(s)))
        imgs.append((1165 + i, 8, lambda s=state: manual_key(s)))
        imgs.append((1070 + i, 8, lambda s=state: stage_key(s)))
        imgs.append((7017 + i, 8, lambda s=state: source_key(s)))
    imgs.append((7025, 8, lambda: slider_track(False)))
    imgs.append((7026, 8, lambda: slider_track(True)))
    for base, word in ((4012, "MIDI"), (4009, "CD"), (113, "WAVE")):
        for lit in (0, 1):
            imgs.append((base + lit, 8, lambda lit=lit, word=word: lamp(39, 12, lit, word)))
    for lit in (0, 1):
        imgs.append((4045 + lit, 4,
                     lambda lit=lit: lamp(40, 16, lit, "VIDEO", crisp=True, size=9)))
    # The WAVE panel places its source lamps 32, 28, 40 and 56 pixels wide.
    for base, word, vis_w in ((4016, "LINE", 36), (4018, "CD", 32), (4020, "MIC", 28),
                              (4022, "LOOP", 36)):
        for lit in (0, 1):
            imgs.append((base + lit, 8,
                         lambda lit=lit, word=word, v=vis_w: lamp(36, 11, lit, word, v, size=8)))
    return imgs


def launcher_legend(word, vis_w):
    face = fitted(word, vis_w - 16, 9)

    def draw(d, cx, cy, ink):
        lamp_on = YELLOW if ink == INK_LATCHED else LED_OFF
        shift = 1 if ink == INK_PRESSED else 0
        d.rectangle([4 + shift, 5 + shift, 6 + shift, 7 + shift], fill=lamp_on)
        text(d, (cx + 4, cy), word, face, ink)
    return draw


def display_images():
    imgs = [(104, 8, lambda: spectrum(158, 20, None))]
    imgs += [(105 + f, 8, lambda f=f: spectrum(158, 20, f)) for f in range(10)]
    imgs.append((135, 8, lambda: spectrum(138, 18, None)))
    imgs += [(4031 + f, 8, lambda f=f: spectrum(138, 18, f)) for f in range(10)]
    return imgs


# ---------------------------------------------------------------- palette


def median_cut(colours, count):
    """colours: list of ((r, g, b), weight); returns up to count averages."""
    boxes = [sorted(colours)]
    while len(boxes) < count:
        best, best_score = None, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3)]
            score = max(spans) * sum(w for _, w in box) ** 0.5
            if score > best_score:
                best, best_score = i, score
        if best is None:
            break
        box = boxes.pop(best)
        spans = [max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3)]
        axis = spans.index(max(spans))
        box.sort(key=lambda c: (c[0][axis], c[0]))
        total = sum(w for _, w in box)
        acc, cut = 0, 1
        for j, (_, w) in enumerate(box):
            acc += w
            if acc >= total / 2:
                cut = min(max(1, j + 1), len(box) - 1)
                break
        boxes += [box[:cut], box[cut:]]
    out = []
    for box in boxes:
        total = sum(w for _, w in box)
        out.append(tuple(round(sum(c[k] * w for c, w in box) / total) for k in range(3)))
    return out


def distance(a, b):
    dr, dg, db = a[0] - b[0], a[1] - b[1], a[2] - b[2]
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db


class Palette:
    def __init__(self, fixed, images):
        counts = {}
        for img in images:
            for n, c in img.getcolors(1 << 20):
                counts[c] = counts.get(c, 0) + n
        fitted = [(c, n ** 0.5) for c, n in counts.items()
                  if min(distance(c, f) for f in fixed) > 12]
        extra = median_cut(fitted, 256 - len(fixed)) if fitted else []
        extra = sorted(set(extra) - set(fixed), key=lambda c: (sum(c), c))
        while len(fixed) + len(extra) < 256:
            extra.append((0, 0, 0))
        self.colours = fixed + extra[:256 - len(fixed)]
        self.memo = {}

    def index(self, c, limit):
        key_ = (c, limit)
        if key_ not in self.memo:
            best = min(range(limit), key=lambda i: (distance(c, self.colours[i]), i))
            self.memo[key_] = best
        return self.memo[key_]

    def map(self, img, bits):
        limit = 1 << bits
        w, h = img.size
        px = img.load()
        return [[self.index(px[x, y], limit) for x in range(w)] for y in range(h)]


# ---------------------------------------------------------------- file formats


def dib(width, height, bits, colours, rows, header_height=None):
    """BITMAPINFOHEADER, colour table and bottom-up pixel rows."""
    stride = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bits == 8:
            line += bytes(row)
        elif bits == 4:
            for x in range(0, width, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < width else 0
                line.append(hi << 4 | lo)
        elif bits == 1:
            for x in range(0, width, 8):
                byte = 0
                for k in range(8):
                    if x + k < width and row[x + k]:
                        byte |= 0x80 >> k
                line.append(byte)
        line += bytes(stride - len(line))
        data += line
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    header = struct.pack("<IiiHHIIiiII", 40, width, header_height or height, 1, bits, 0,
                         len(data), 0, 0, 0, 0)
    return header, table, bytes(data)


def bmp_bytes(width, height, bits, colours, rows):
    header, table, data = dib(width, height, bits, colours, rows)
    offset = 14 + len(header) + len(table)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + header + table + data


def ico_bytes(entries):
    """entries: (size, bits, colours, rows, clear) where clear marks the
    transparent pixels, which hold colour 0 (black) as the format wants."""
    images = []
    for size, bits, colours, rows, clear in entries:
        rows = [[0 if c else v for v, c in zip(row, crow)] for row, crow in zip(rows, clear)]
        header, table, xor = dib(size, size, bits, colours, rows, header_height=2 * size)
        _, _, mask = dib(size, size, 1, [], clear)
        images.append((size, bits, header + table + xor + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, blob in images:
        out += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 0, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blob for _, _, blob in images)


# ---------------------------------------------------------------- output


def rc_text(comment, lines):
    return comment + "".join(line + "\n" for line in lines)


def generate(root):
    skins = [(i, bits, draw()) for i, bits, draw in panekit_images()]
    display = [(i, bits, draw()) for i, bits, draw in display_images()]
    icons = [icon_art(32), icon_art(16)]
    fixed = VGA + grey_ramp()
    palette = Palette(fixed, [img for _, _, img in skins + display] +
                      [img.convert("RGB") for img in icons])

    files = {}
    skin_lines = []
    for ident, bits, img in sorted(skins, key=lambda t: t[0]):
        colours = palette.colours[:1 << bits]
        rows = palette.map(img, bits)
        files[os.path.join(SKIN_DIR, "%d.bmp" % ident)] = bmp_bytes(*img.size, bits, colours, rows)
        skin_lines.append('%d BITMAP "skins/%d.bmp"' % (ident, ident))
    display_lines = ['SONIKBAY ICON "display/sonikbay.ico"']
    for ident, bits, img in sorted(display, key=lambda t: t[0]):
        rows = palette.map(img, bits)
        files[os.path.join(DISPLAY_DIR, "%d.bmp" % ident)] = bmp_bytes(
            *img.size, bits, palette.colours, rows)
        display_lines.append('%d BITMAP "display/%d.bmp"' % (ident, ident))
    icon_entries = []
    for bits in (4, 8):
        for img in icons:
            alpha = img.getchannel("A")
            clear = [[int(alpha.getpixel((x, y)) < 128) for x in range(img.size[0])]
                     for y in range(img.size[1])]
            icon_entries.append((img.size[0], bits, palette.colours[:1 << bits],
                                 palette.map(img.convert("RGB"), bits), clear))
    files[os.path.join(DISPLAY_DIR, "sonikbay.ico")] = ico_bytes(icon_entries)
    files[SKIN_RC] = rc_text(
        "// Skin bitmaps of panekit32. Generated by tools/skins/make_skins.py; do not edit.\n",
        skin_lines).encode()
    files[DISPLAY_RC] = rc_text(
        "// The program's icon and display animation. Generated by tools/skins/make_skins.py;\n"
        "// do not edit.\n", display_lines).encode()
    for rel, blob in files.items():
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(blob)
    return sorted(files), {i: img for i, _, img in skins}, {i: img for i, _, img in display}


def contact_sheet(path, skins, display, scale=2):
    """All images on one PNG, each at 1:1 and enlarged, for looking at."""
    items = sorted(skins.items()) + [("p%d" % k, v) for k, v in sorted(display.items())]
    tiles = []
    for name, img in items:
        big = img.resize((img.size[0] * scale, img.size[1] * scale), Image.NEAREST)
        tiles.append((str(name), img, big))
    width = 1400
    x = y = 0
    row_h = 0
    placed = []
    for name, img, big in tiles:
        w = img.size[0] + big.size[0] + 12
        h = max(big.size[1], 12) + 14
        if x + w > width:
            x, y, row_h = 0, y + row_h, 0
        placed.append((x, y, name, img, big))
        x += w
        row_h = max(row_h, h)
    sheet = Image.new("RGB", (width, y + row_h), (200, 200, 200))
    d = ImageDraw.Draw(sheet)
    for x, y, name, img, big in placed:
        d.text((x, y), name, fill=(0, 0, 0), font=font(BOLD, 9))
        sheet.paste(img, (x, y + 12))
        sheet.paste(big, (x + img.size[0] + 4, y + 12))
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="regenerate into a temporary directory and compare")
    parser.add_argument("--sheet", metavar="PNG", help="also write a contact sheet")
    args = parser.parse_args()
    if args.check:
        with tempfile.TemporaryDirectory() as tmp:
            names, _, _ = generate(tmp)
            stale = [n for n in names if not os.path.exists(os.path.join(ROOT, n)) or
                     not filecmp.cmp(os.path.join(tmp, n), os.path.join(ROOT, n), shallow=False)]
            for name in stale:
                print("differs:", name)
            print("%d files, %d differ" % (len(names), len(stale)))
            return 1 if stale else 0
    names, skins, display = generate(ROOT)
    if args.sheet:
        contact_sheet(args.sheet, skins, display)
    print("wrote %d files" % len(names))
    return 0


if __name__ == "__main__":
    sys.exit(main())
