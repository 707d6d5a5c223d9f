#!/usr/bin/python3
"""Draw every Velumo picture: the default skin (art/skin/) and the resource
artwork (src/res/art/).

Run from anywhere with:  /usr/bin/python3 art/draw_art.py
Needs Pillow and the DejaVu TrueType fonts (Debian: fonts-dejavu-core).
The output is deterministic: the same script always gives the same files.
"""

import io
import math
import os
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont, ImageOps

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SKIN_DIR = os.path.join(HERE, "skin")
RES_DIR = os.path.join(ROOT, "src", "res", "art")

FONT_DIR = "/usr/share/fonts/truetype/dejavu"

SS = 4  # supersampling factor for anti-aliased shapes

# --------------------------------------------------------------------------
# Palette (shared by the skin, the icons and the splash picture)
# --------------------------------------------------------------------------
OUTSIDE = (160, 160, 160)        # pixels outside the window shape (neutral)
EDGE = (58, 52, 40)              # outer 1 px outline of the window
PAPER_TOP = (253, 248, 231)      # body paper, gradient top
PAPER_BOTTOM = (244, 232, 198)   # body paper, gradient bottom
PAPER_SHADE = (226, 210, 166)    # darker paper (fold, bevel shadow)
RULE = (214, 224, 226)           # faint ruled lines on the paper
MARGIN = (228, 150, 136)         # red margin line of a note pad
TEAL_DARK = (12, 58, 66)         # title band, bottom
TEAL = (24, 92, 101)             # title band, top / accents
TEAL_LIGHT = (140, 200, 196)     # tagline on the band
AMBER = (230, 150, 44)           # hover accent
AMBER_DARK = (178, 104, 18)
NOTE_YELLOW = (255, 221, 102)    # sticky-note yellow
NOTE_YELLOW_DARK = (236, 186, 64)
NOTE_CREAM = (252, 236, 196)
INK = (44, 58, 60)               # button text
LIST_BG = (250, 250, 246)        # area covered by the note list control
GREY_FACE = (236, 233, 225)      # disabled face
GREY_TEXT = (168, 162, 148)      # disabled text
MAGENTA = (255, 0, 255)          # transparent colour of listicons.bmp

# --------------------------------------------------------------------------
# Main window layout in client pixels (x, y, width, height).  These are the
# main window's button rectangles and the note list placement, fixed by the
# program: the artwork has to match them exactly.
# --------------------------------------------------------------------------
WIN_W, WIN_H = 545, 260
LOGO_RECT = (19, 18, 101, 94)
COMMAND_RECTS = [
    ((19, 139, 101, 19), "Add note", "add"),
    ((19, 164, 101, 19), "Delete note", "delete"),
    ((19, 189, 101, 19), "Schedule", "clock"),
    ((19, 214, 101, 19), "Help", "help"),
]
MINIMISE_RECT = (517, 221, 17, 22)
LIST_RECT = (149, 32, 358, 213)

BAND_H = 26          # height of the teal title band used for dragging
CORNER_R = 18        # corner radius of the window outline
DOG_EAR = 14         # size of the folded bottom-right corner
STATES = ("normal", "over", "down", "disabled")


# --------------------------------------------------------------------------
# Small drawing helpers
# --------------------------------------------------------------------------
def font(size, bold=False):
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def mix(a, b, t):
    """Blend colour a towards colour b by t (0..1)."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vgradient(size, top, bottom):
    w, h = size
    col = Image.new("RGB", (1, h))
    for y in range(h):
        col.putpixel((0, y), mix(top, bottom, y / max(1, h - 1)))
    return col.resize((w, h))


def aa_mask(size, draw_fn):
    """Coverage mask (mode L) of shapes drawn by draw_fn(draw, s) at SS x.

    draw_fn gets an ImageDraw and the scale; coordinates it uses must be
    multiplied by the scale.  The result is downsampled to 'size'."""
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    draw_fn(ImageDraw.Draw(big), SS)
    return big.resize((w, h), Image.BOX)


def rrect_mask(size, box, radius):
    """Anti-aliased rounded rectangle; box = (x0, y0, x1, y1) exclusive."""
    x0, y0, x1, y1 = box

    def fn(d, s):
        d.rounded_rectangle((x0 * s, y0 * s, x1 * s - 1, y1 * s - 1),
                            radius=radius * s, fill=255)
    return aa_mask(size, fn)


def paint(img, mask, fill, opacity=1.0):
    """Paint a colour or an image through a mask onto img (in place)."""
    if opacity < 1.0:
        mask = mask.point(lambda v: int(v * opacity))
    if isinstance(fill, tuple):
        fill = Image.new("RGB", img.size, fill)
    elif fill.size != img.size:
        canvas = Image.new("RGB", img.size)
        canvas.paste(fill, (0, 0))
        fill = canvas
    img.paste(fill, (0, 0), mask)


def soft_shadow(img, mask, offset=(1, 2), blur=3.0, colour=(60, 45, 20),
                opacity=0.35):
    sh = ImageChops.offset(mask, *offset).filter(ImageFilter.GaussianBlur(blur))
    paint(img, sh, colour, opacity)


def ring_mask(size, box, radius, width):
    outer = rrect_mask(size, box, radius)
    x0, y0, x1, y1 = box
    inner = rrect_mask(size, (x0 + width, y0 + width, x1 - width, y1 - width),
                       max(0, radius - width))
    return ImageChops.subtract(outer, inner)


def text_size(txt, fnt):
    x0, y0, x1, y1 = fnt.getbbox(txt)
    return x1 - x0, y1 - y0, x0, y0


def draw_text_centered(draw, center, txt, fnt, fill):
    w, h, ox, oy = text_size(txt, fnt)
    cx, cy = center
    draw.text((round(cx - w / 2 - ox), round(cy - h / 2 - oy)), txt,
              font=fnt, fill=fill)


def rgba_layer(img):
    return Image.new("RGBA", img.size, (0, 0, 0, 0))


# --------------------------------------------------------------------------
# The logo motif: a small stack of sticky notes, the front one yellow with
# a folded corner and ruled lines.  Drawn at any size as RGBA.
# --------------------------------------------------------------------------
def _note_polygon(cx, cy, side, angle_deg):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    pts = []
    for dx, dy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        x, y = dx * side / 2, dy * side / 2
        pts.append((cx + x * ca - y * sa, cy + x * sa + y * ca))
    return pts


def logo_motif(size, grey=False, simple=False):
    """Return an RGBA image (size x size) of the Velumo logo motif."""
    k = 8
    S = size * k
    u = S / 48.0
    layer = Image.new("RGBA", (S, S), (0, 0, 0, 0))

    def shape(poly, colour, outline=None, width=0):
        d = ImageDraw.Draw(layer)
        d.polygon(poly, fill=colour + (255,))
        if outline:
            d.line(poly + [poly[0]], fill=outline + (255,),
                   width=max(1, int(width)), joint="curve")

    def shadow_of(poly, dx, dy, blur, alpha):
        m = Image.new("L", (S, S), 0)
        ImageDraw.Draw(m).polygon([(x + dx, y + dy) for x, y in poly],
                                  fill=alpha)
        m = m.filter(ImageFilter.GaussianBlur(blur))
        sh = Image.new("RGBA", (S, S), (40, 30, 10, 0))
        sh.putalpha(m)
        layer.alpha_composite(sh)

    side = 28 * u
    ow = 1.3 * u if not simple else 2.4 * u
    back = _note_polygon(21 * u, 21 * u, side, -14)
    shadow_of(back, 0.8 * u, 1.4 * u, 1.6 * u, 110)
    shape(back, TEAL, TEAL_DARK, ow)
    if not simple:
        middle = _note_polygon(24 * u, 23 * u, side, 8)
        shadow_of(middle, 0.8 * u, 1.4 * u, 1.6 * u, 110)
        shape(middle, NOTE_CREAM, (176, 150, 96), ow)

    # front note, upright, with folded bottom-right corner
    if simple:
        x0, y0, x1, y1 = 14 * u, 14 * u, 46 * u, 46 * u
    else:
        x0, y0, x1, y1 = 14 * u, 15 * u, 43 * u, 44 * u
    f = 10 * u
    front = [(x0, y0), (x1, y0), (x1, y1 - f), (x1 - f, y1), (x0, y1)]
    shadow_of(front, 1.0 * u, 1.8 * u, 1.8 * u, 130)
    grad = vgradient((S, S), (255, 232, 130), NOTE_YELLOW_DARK)
    m = Image.new("L", (S, S), 0)
    ImageDraw.Draw(m).polygon(front, fill=255)
    front_img = grad.convert("RGBA")
    front_img.putalpha(m)
    layer.alpha_composite(front_img)
    d = ImageDraw.Draw(layer)
    if not simple:
        for i, yy in enumerate((23, 29, 35)):
            xe = 38 if i < 2 else 31
            d.line((18 * u, yy * u, xe * u, yy * u),
                   fill=(196, 142, 40, 255), width=max(1, int(1.4 * u)))
    else:
        for yy in (24, 33):
            d.line((20 * u, yy * u, 38 * u, yy * u),
                   fill=(150, 100, 20, 255), width=int(3 * u))
    # the fold: a darker triangle with a thin edge
    fold = [(x1 - f, y1), (x1 - f, y1 - f), (x1, y1 - f)]
    d.polygon(fold, fill=(214, 160, 50, 255))
    d.line(front + [front[0]], fill=(150, 104, 22, 255), width=int(ow),
           joint="curve")
    d.line(fold + [fold[0]], fill=(150, 104, 22, 255), width=int(ow),
           joint="curve")

    out = layer.resize((size, size), Image.LANCZOS)
    if grey:
        alpha = out.getchannel("A")
        g = ImageOps.grayscale(out.convert("RGB"))
        g = g.point(lambda v: int(150 + v * 0.38))
        out = Image.merge("RGBA", (g, g, g, alpha.point(lambda a: a * 3 // 4)))
    return out


# --------------------------------------------------------------------------
# Skin: window shape and background
# --------------------------------------------------------------------------
def window_shape():
    """1-bit window shape: rounded corners, folded bottom-right corner."""
    m = Image.new("1", (WIN_W, WIN_H), 0)
    d = ImageDraw.Draw(m)
    d.rounded_rectangle((0, 0, WIN_W - 1, WIN_H - 1), radius=CORNER_R, fill=1)
    # square the bottom-right corner, then cut the dog-ear off diagonally
    d.rectangle((WIN_W - CORNER_R - 1, WIN_H - CORNER_R - 1,
                 WIN_W - 1, WIN_H - 1), fill=1)
    d.polygon([(WIN_W - 1 - DOG_EAR + 1, WIN_H), (WIN_W, WIN_H),
               (WIN_W, WIN_H - 1 - DOG_EAR + 1)], fill=0)
    return m


def draw_mask():
    shape = window_shape()
    img = Image.new("RGB", (WIN_W, WIN_H), (255, 255, 255))
    img.paste((0, 0, 0), (0, 0), shape)
    return img


def draw_background(shape):
    """Everything of the main window that is not a button."""
    W, H = WIN_W, WIN_H
    img = vgradient((W, H), PAPER_TOP, PAPER_BOTTOM)
    d = ImageDraw.Draw(img)

    # note-pad ruling on the paper and the red margin line
    for y in range(BAND_H + 16, H - 6, 15):
        d.line((6, y, W - 6, y), fill=RULE)
    for x in (134, 137):
        d.line((x, BAND_H + 2, x, H - 1), fill=MARGIN)

    # left column: a slightly deeper paper panel
    col = Image.new("L", (W, H), 0)
    ImageDraw.Draw(col).rectangle((0, 0, 131, H), fill=255)
    paint(img, col, (247, 236, 205), 0.55)

    # title band with a subtle gloss and an amber hairline underneath
    band = vgradient((W, BAND_H), TEAL, TEAL_DARK)
    img.paste(band, (0, 0))
    gloss = Image.new("L", (W, BAND_H), 0)
    ImageDraw.Draw(gloss).rectangle((0, 0, W, BAND_H // 2 - 1), fill=40)
    img.paste((255, 255, 255), (0, 0), gloss)
    d.line((0, BAND_H, W, BAND_H), fill=AMBER)
    d.line((0, BAND_H + 1, W, BAND_H + 1), fill=mix(AMBER, PAPER_TOP, 0.55))
    sm = Image.new("L", (W, H), 0)
    for i in range(5):
        ImageDraw.Draw(sm).line((0, BAND_H + 2 + i, W, BAND_H + 2 + i),
                                fill=60 - i * 12)
    paint(img, sm, (120, 100, 60))

    # product name and tagline in the band
    title_font = font(15, bold=True)
    d.text((LIST_RECT[0] - 1, 4), "Velumo", font=title_font,
           fill=(255, 246, 220))
    tw = d.textlength("Velumo", font=title_font)
    d.text((LIST_RECT[0] + tw + 9, 8), "desktop notes", font=font(10),
           fill=TEAL_LIGHT)

    # drag grip: two rows of dots at the right end of the band
    for i in range(4):
        for j in range(2):
            cx, cy = W - 52 + i * 5, 10 + j * 5
            d.rectangle((cx, cy, cx + 1, cy + 1), fill=(8, 40, 46))
            d.point((cx, cy), fill=(96, 156, 160))

    # section caption above the command buttons
    cap = font(8, bold=True)
    x = 21
    for ch in "NOTES":
        d.text((x, 123), ch, font=cap, fill=TEAL)
        x += d.textlength(ch, font=cap) + 2
    d.line((x + 3, 128, 119, 128), fill=(206, 186, 140))

    # version note at the bottom of the left column
    d.text((21, 241), "v2.00", font=font(8), fill=(170, 150, 110))

    # sunken frame around the note list
    lx, ly, lw, lh = LIST_RECT
    fr = Image.new("L", (W, H), 0)
    ImageDraw.Draw(fr).rounded_rectangle((lx - 4, ly - 4, lx + lw + 3,
                                          ly + lh + 3), radius=4, fill=255)
    soft_shadow(img, fr, offset=(0, 1), blur=2.0, opacity=0.30)
    d.rounded_rectangle((lx - 4, ly - 4, lx + lw + 3, ly + lh + 3),
                        radius=3, fill=(236, 224, 192), outline=(150, 128, 84))
    d.line((lx - 2, ly - 2, lx + lw + 1, ly - 2), fill=(168, 150, 112))
    d.line((lx - 2, ly - 2, lx - 2, ly + lh + 1), fill=(168, 150, 112))
    d.line((lx - 1, ly - 1, lx + lw, ly - 1), fill=(120, 104, 72))
    d.line((lx - 1, ly - 1, lx - 1, ly + lh), fill=(120, 104, 72))
    d.line((lx - 2, ly + lh + 1, lx + lw + 1, ly + lh + 1), fill=(255, 252, 240))
    d.line((lx + lw + 1, ly - 2, lx + lw + 1, ly + lh + 1), fill=(255, 252, 240))
    d.line((lx - 1, ly + lh, lx + lw, ly + lh), fill=(246, 238, 216))
    d.line((lx + lw, ly - 1, lx + lw, ly + lh), fill=(246, 238, 216))
    d.rectangle((lx, ly, lx + lw - 1, ly + lh - 1), fill=LIST_BG)

    # the folded corner: the back of the paper with a shadow on the body
    e = DOG_EAR
    flap = [(W - 1 - e, H - 1), (W - 1 - e, H - 1 - e), (W - 1, H - 1 - e)]
    fm = Image.new("L", (W, H), 0)
    ImageDraw.Draw(fm).polygon(flap, fill=255)
    soft_shadow(img, fm, offset=(-2, -2), blur=2.0, opacity=0.45)
    flap_img = vgradient((W, H), PAPER_SHADE, (250, 238, 206))
    paint(img, fm, flap_img.crop((0, 0, W, H)))
    d.line((flap[0], flap[2]), fill=(170, 146, 96))
    d.line((flap[0], flap[1]), fill=(205, 184, 136))
    d.line((flap[1], flap[2]), fill=(205, 184, 136))

    # outline of the shape: dark edge and an inner highlight
    inside = shape.convert("L")
    inner1 = inside.filter(ImageFilter.MinFilter(3))
    inner2 = inner1.filter(ImageFilter.MinFilter(3))
    edge = ImageChops.subtract(inside, inner1)
    hl = ImageChops.subtract(inner1, inner2)
    top_half = Image.new("L", (W, H), 0)
    ImageDraw.Draw(top_half).rectangle((0, 0, W, BAND_H), fill=255)
    hl_band = ImageChops.multiply(hl, top_half)
    hl_paper = ImageChops.subtract(hl, top_half)
    paint(img, hl_band, (90, 150, 156), 0.8)
    paint(img, hl_paper, vgradient((W, H), (255, 255, 250), PAPER_SHADE), 0.9)
    paint(img, edge, EDGE)

    outside = ImageOps.invert(inside)
    img.paste(OUTSIDE, (0, 0), outside)
    return img


# --------------------------------------------------------------------------
# Skin: button faces.  Every face is drawn into its own rectangle only, on
# top of the common background, so the four pictures differ in the button
# rectangles and nowhere else.
# --------------------------------------------------------------------------
FACE = {
    #            top of face       bottom of face    border            text
    "normal":   ((255, 252, 240), (242, 228, 188), (184, 160, 106), INK),
    "over":     ((255, 255, 250), (255, 238, 190), AMBER,           (14, 74, 82)),
    "down":     ((226, 206, 152), (240, 224, 180), (136, 112, 66),  (30, 40, 40)),
    "disabled": (GREY_FACE,       (228, 224, 214), (204, 198, 184), GREY_TEXT),
}


def draw_button_face(img, rect, state, radius):
    """Rounded button face filling rect; returns the text colour."""
    x, y, w, h = rect
    top, bottom, border, ink = FACE[state]
    tile = img.crop((x, y, x + w, y + h))
    body = rrect_mask((w, h), (0, 0, w, h), radius)
    paint(tile, body, vgradient((w, h), top, bottom))
    if state == "down":
        # inner shadow along the top and left edge
        sh = Image.new("L", (w, h), 0)
        ImageDraw.Draw(sh).rectangle((0, 0, w, 2), fill=90)
        ImageDraw.Draw(sh).rectangle((0, 0, 2, h), fill=90)
        sh = ImageChops.multiply(sh.filter(ImageFilter.GaussianBlur(1.2)), body)
        paint(tile, sh, (110, 86, 40))
    elif state in ("normal", "over"):
        # glossy top highlight
        hl = ring_mask((w, h), (1, 1, w - 1, h - 1), max(0, radius - 1), 1)
        cut = Image.new("L", (w, h), 0)
        ImageDraw.Draw(cut).rectangle((0, 0, w, h // 2), fill=255)
        paint(tile, ImageChops.multiply(hl, cut), (255, 255, 255), 0.9)
    paint(tile, ring_mask((w, h), (0, 0, w, h), radius, 1), border)
    if state == "over":
        paint(tile, ring_mask((w, h), (1, 1, w - 1, h - 1),
                              max(0, radius - 1), 1), AMBER, 0.45)
    img.paste(tile, (x, y))
    return ink


def draw_command_button(img, rect, label, kind, state):
    x, y, w, h = rect
    ink = draw_button_face(img, rect, state, radius=5)
    shift = 1 if state == "down" else 0
    icon_colour = {"normal": TEAL, "over": AMBER_DARK, "down": TEAL_DARK,
                   "disabled": (196, 190, 176)}[state]
    tile = img.crop((x, y, x + w, y + h)).convert("RGBA")
    gx, gy = 6 + shift, 3 + shift
    g4 = Image.new("RGBA", (13 * SS, 13 * SS), (0, 0, 0, 0))
    draw_command_icon(ImageDraw.Draw(g4), kind, icon_colour)
    glyph = g4.resize((13, 13), Image.LANCZOS)
    tile.alpha_composite(glyph, (gx, gy))
    td = ImageDraw.Draw(tile)
    fnt = font(10, bold=True)
    # centre on the cap height so labels with descenders line up too
    _, th, _, oy = text_size("H", fnt)
    ty = round((h - th) / 2 - oy) + shift
    if state == "disabled":
        td.text((24 + 1, ty + 1), label, font=fnt, fill=(255, 253, 246))
    td.text((24 + shift, ty), label, font=fnt, fill=ink)
    img.paste(tile.convert("RGB"), (x, y))


def draw_command_icon(d, kind, colour):
    """The command glyphs on a 13 x 13 grid, drawn at SS x."""
    s = SS
    c = colour + (255,)
    if kind == "add":
        d.rounded_rectangle((5 * s, 1.5 * s, 8 * s - 1, 11.5 * s - 1),
                            radius=s, fill=c)
        d.rounded_rectangle((1.5 * s, 5 * s, 11.5 * s - 1, 8 * s - 1),
                            radius=s, fill=c)
    elif kind == "delete":
        w = int(2.6 * s)
        d.line((3 * s, 3 * s, 10 * s, 10 * s), fill=c, width=w)
        d.line((3 * s, 10 * s, 10 * s, 3 * s), fill=c, width=w)
    elif kind == "clock":
        d.ellipse((0.5 * s, 0.5 * s, 12.5 * s, 12.5 * s), fill=c)
        d.ellipse((2.2 * s, 2.2 * s, 10.8 * s, 10.8 * s),
                  fill=(255, 252, 240, 255))
        d.line((6.5 * s, 3.5 * s, 6.5 * s, 6.7 * s), fill=c, width=int(1.4 * s))
        d.line((6.5 * s, 6.5 * s, 8.8 * s, 8.4 * s), fill=c, width=int(1.4 * s))
    elif kind == "help":
        d.ellipse((0.5 * s, 0.5 * s, 12.5 * s, 12.5 * s), fill=c)
        draw_text_centered(d, (6.5 * s, 6.7 * s), "?",
                           font(int(9.5 * s), bold=True), (255, 250, 236, 255))


def draw_minimise_button(img, state):
    x, y, w, h = MINIMISE_RECT
    ink = draw_button_face(img, MINIMISE_RECT, state, radius=4)
    shift = 1 if state == "down" else 0
    d = ImageDraw.Draw(img)
    bx, by = x + 5 + shift, y + 13 + shift
    if state == "disabled":
        d.rectangle((bx + 1, by + 1, bx + 7, by + 2), fill=(255, 253, 246))
    d.rectangle((bx, by, bx + 6, by + 1), fill=ink)


def draw_logo_button(img, state):
    x, y, w, h = LOGO_RECT
    tile = img.crop((x, y, x + w, y + h))
    inset = 2
    card_box = (inset, inset, w - inset, h - inset)
    card = rrect_mask((w, h), card_box, 10)
    top, bottom = {
        "normal": ((255, 253, 244), (246, 234, 202)),
        "over": ((255, 255, 252), (255, 242, 206)),
        "down": ((234, 218, 174), (246, 234, 200)),
        "disabled": ((242, 240, 234), (232, 229, 220)),
    }[state]
    # the drop shadow of the card is part of every picture
    soft_shadow(tile, card, offset=(0, 1), blur=1.2, opacity=0.45)
    if state == "over":
        glow = rrect_mask((w, h), (0, 0, w, h), 12)
        paint(tile, glow.filter(ImageFilter.GaussianBlur(1.0)), AMBER, 0.55)
    paint(tile, card, vgradient((w, h), top, bottom))
    if state == "down":
        sh = Image.new("L", (w, h), 0)
        ImageDraw.Draw(sh).rectangle((0, 0, w, inset + 3), fill=110)
        ImageDraw.Draw(sh).rectangle((0, 0, inset + 3, h), fill=110)
        sh = ImageChops.multiply(sh.filter(ImageFilter.GaussianBlur(2)), card)
        paint(tile, sh, (110, 86, 40))
    border = {"normal": (170, 146, 96), "over": AMBER_DARK,
              "down": (120, 96, 54), "disabled": (204, 198, 184)}[state]
    paint(tile, ring_mask((w, h), card_box, 10, 1), border)
    if state in ("normal", "over"):
        hl = ring_mask((w, h), (inset + 1, inset + 1, w - inset - 1,
                                h - inset - 1), 9, 1)
        cut = Image.new("L", (w, h), 0)
        ImageDraw.Draw(cut).rectangle((0, 0, w, h // 3), fill=255)
        paint(tile, ImageChops.multiply(hl, cut), (255, 255, 255))

    shift = 1 if state == "down" else 0
    motif = logo_motif(66, grey=(state == "disabled"))
    rgba = tile.convert("RGBA")
    rgba.alpha_composite(motif, ((w - 66) // 2 + 1 + shift, 3 + shift))
    td = ImageDraw.Draw(rgba)
    colour = {"normal": TEAL, "over": (14, 74, 82), "down": TEAL_DARK,
              "disabled": GREY_TEXT}[state]
    fnt = font(13, bold=True)
    tw, th, ox, oy = text_size("Velumo", fnt)
    tx = round((w - tw) / 2 - ox) + shift
    ty = 71 + shift
    if state == "disabled":
        td.text((tx + 1, ty + 1), "Velumo", font=fnt, fill=(255, 253, 246))
    td.text((tx, ty), "Velumo", font=fnt, fill=colour)
    img.paste(rgba.convert("RGB"), (x, y))


def draw_skin_picture(background, state):
    img = background.copy()
    draw_logo_button(img, state)
    for rect, label, kind in COMMAND_RECTS:
        draw_command_button(img, rect, label, kind, state)
    draw_minimise_button(img, state)
    return img


def button_rects():
    return [LOGO_RECT, MINIMISE_RECT] + [r for r, _, _ in COMMAND_RECTS]


def check_skin(pictures, mask):
    """The skin pictures must agree with each other outside the buttons,
    and the mask must be strictly two-coloured."""
    for name, pic in pictures.items():
        assert pic.size == (WIN_W, WIN_H) and pic.mode == "RGB", name
    outside_buttons = Image.new("L", (WIN_W, WIN_H), 255)
    d = ImageDraw.Draw(outside_buttons)
    for x, y, w, h in button_rects():
        d.rectangle((x, y, x + w - 1, y + h - 1), fill=0)
    main = pictures["main"]
    for name, pic in pictures.items():
        diff = ImageChops.difference(main, pic).convert("L")
        assert ImageChops.multiply(diff, outside_buttons).getbbox() is None, \
            "%s differs from main outside the buttons" % name
        if name != "main":
            for x, y, w, h in button_rects():
                assert diff.crop((x, y, x + w, y + h)).getbbox(), \
                    "%s: button %r unchanged" % (name, (x, y, w, h))
    colours = {c for _, c in mask.getcolors()}
    assert colours == {(0, 0, 0), (255, 255, 255)}, colours
    inside = ImageChops.invert(mask.convert("L"))
    for x, y, w, h in button_rects() + [LIST_RECT]:
        assert inside.crop((x, y, x + w, y + h)).getextrema() == (255, 255), \
            "rectangle %r not fully inside the window" % ((x, y, w, h),)


def write_preview(main, mask):
    """Main with the mask applied, outside shown as a checker board."""
    checker = Image.new("RGB", main.size)
    d = ImageDraw.Draw(checker)
    for y in range(0, main.height, 8):
        for x in range(0, main.width, 8):
            c = (204, 204, 204) if (x // 8 + y // 8) % 2 else (240, 240, 240)
            d.rectangle((x, y, x + 7, y + 7), fill=c)
    inside = ImageChops.invert(mask.convert("L"))
    checker.paste(main, (0, 0), inside)
    checker.save(os.path.join(SKIN_DIR, "preview.png"), optimize=False)


def build_skin():
    os.makedirs(SKIN_DIR, exist_ok=True)
    shape = window_shape()
    mask = draw_mask()
    background = draw_background(shape)
    names = {"normal": "main", "over": "over", "down": "down",
             "disabled": "disabled"}
    pictures = {names[s]: draw_skin_picture(background, s) for s in STATES}
    check_skin(pictures, mask)
    for name, pic in pictures.items():
        pic.save(os.path.join(SKIN_DIR, name + ".bmp"))
    mask.save(os.path.join(SKIN_DIR, "mask.bmp"))
    with open(os.path.join(SKIN_DIR, "skin.ini"), "wb") as f:
        f.write(b"[Screen]\r\nMain=main.bmp\r\nMask=mask.bmp\r\n"
                b"Over=over.bmp\r\nDown=down.bmp\r\nDisabled=disabled.bmp\r\n")
    write_preview(pictures["main"], mask)


# --------------------------------------------------------------------------
# Windows icon and cursor files (written by hand so that every image is a
# plain BMP-style entry that any Windows version and Wine can read)
# --------------------------------------------------------------------------
def _and_mask_rows(alpha, w, h):
    """1-bit AND mask, bottom-up rows padded to 32 bits; 1 = transparent."""
    row_bytes = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if alpha[y * w + x] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _dib_32(img):
    w, h = img.size
    px = img.tobytes("raw", "BGRA")
    xor = b"".join(px[y * w * 4:(y + 1) * w * 4] for y in range(h - 1, -1, -1))
    andm = _and_mask_rows(img.getchannel("A").tobytes(), w, h)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         len(xor) + len(andm), 0, 0, 0, 0)
    return header + xor + andm


def write_icon(path, images):
    """Write an .ico holding 32-bit images with alpha plus AND masks."""
    dibs = [_dib_32(im.convert("RGBA")) for im in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for im, dib in zip(images, dibs):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                           len(dib), offset)
        offset += len(dib)
    with open(path, "wb") as f:
        f.write(out + b"".join(dibs))


def read_icon_dir(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for i in range(count):
        e = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        hdr = struct.unpack_from("<IiiHHI", data, e[7])
        entries.append({"w": e[0] or 256, "h": e[1] or 256, "colours": e[2],
                        "planes_or_hx": e[4], "bits_or_hy": e[5],
                        "size": e[6], "offset": e[7], "dib_w": hdr[1],
                        "dib_h": hdr[2], "dib_bits": hdr[4]})
        assert e[6] + e[7] <= len(data)
    return reserved, kind, entries


def write_cursor(path, pixels, hotspot):
    """Write a 1-bit (black/white) cursor.  pixels: rows of characters,
    '#' black, 'o' white, anything else transparent."""
    h = len(pixels)
    w = len(pixels[0])
    row_bytes = ((w + 31) // 32) * 4
    xor = bytearray()
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        xr = bytearray(row_bytes)
        ar = bytearray(row_bytes)
        for x, ch in enumerate(pixels[y]):
            bit = 0x80 >> (x % 8)
            if ch == "o":
                xr[x // 8] |= bit
            elif ch != "#":
                ar[x // 8] |= bit
        xor += xr
        andm += ar
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0,
                         len(xor) + len(andm), 0, 0, 2, 0)
    dib = header + palette + bytes(xor) + bytes(andm)
    entry = struct.pack("<BBBBHHII", w, h, 2, 0, hotspot[0], hotspot[1],
                        len(dib), 6 + 16)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1) + entry + dib)


# --------------------------------------------------------------------------
# Resource artwork
# --------------------------------------------------------------------------
def write_bmp4(path, idx, palette):
    """A 4-bit BMP of rows of palette indices, top row first."""
    assert len(palette) == 16
    h, w = len(idx), len(idx[0])
    row_bytes = ((w * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            row[x // 2] |= idx[y][x] << (0 if x % 2 else 4)
        pixels += row
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    off = 14 + 40 + len(colours)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(pixels),
                       2835, 2835, 16, 16)
    filehdr = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    with open(path, "wb") as f:
        f.write(filehdr + info + colours + pixels)


def build_app_icon():
    images = [logo_motif(16, simple=True), logo_motif(32), logo_motif(48)]
    path = os.path.join(RES_DIR, "velumo.ico")
    write_icon(path, images)
    with open(path, "rb") as f:
        _, kind, entries = read_icon_dir(f.read())
    assert kind == 1 and [(e["w"], e["dib_h"], e["dib_bits"])
                          for e in entries] == [(16, 32, 32), (32, 64, 32),
                                                (48, 96, 32)]


def tray_glyph(size):
    """A single yellow note with a folded corner, readable at 16 px."""
    k = 8
    S = size * k
    u = S / 16.0
    im = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    x0, y0, x1, y1 = 1.5 * u, 1.5 * u, 14.5 * u, 14.5 * u
    f = 4.5 * u
    body = [(x0, y0), (x1, y0), (x1, y1 - f), (x1 - f, y1), (x0, y1)]
    d.polygon(body, fill=NOTE_YELLOW + (255,))
    d.rectangle((x0, y0, x1, y0 + 3 * u), fill=TEAL + (255,))
    lines = (7, 10) if size <= 16 else (6.8, 9.3, 11.8)
    for i, yy in enumerate(lines):
        xe = 12.5 if i < len(lines) - 1 else 9
        d.line((3.5 * u, yy * u, xe * u, yy * u), fill=(150, 104, 22, 255),
               width=int(1.1 * u))
    fold = [(x1 - f, y1), (x1 - f, y1 - f), (x1, y1 - f)]
    d.polygon(fold, fill=(214, 160, 50, 255))
    ow = int(1.0 * u)
    d.line(body + [body[0]], fill=(70, 56, 24, 255), width=ow, joint="curve")
    d.line(fold + [fold[0]], fill=(70, 56, 24, 255), width=ow, joint="curve")
    return im.resize((size, size), Image.LANCZOS)


def build_tray_icon():
    import menu_art
    path = os.path.join(RES_DIR, "tray.ico")
    write_icon(path, [menu_art.tray_icon_16(), tray_glyph(32)])
    with open(path, "rb") as f:
        _, kind, entries = read_icon_dir(f.read())
    assert kind == 1 and [e["w"] for e in entries] == [16, 32]


# 16-colour palette of listicons.bmp; index 0 is the transparent magenta
LIST_PALETTE = [
    MAGENTA, (0, 0, 0), (255, 255, 255), (128, 128, 128),
    (192, 192, 192), TEAL_DARK, TEAL, TEAL_LIGHT,
    (58, 52, 40), (150, 128, 84), (226, 210, 166), (250, 246, 232),
    NOTE_YELLOW, AMBER, (40, 140, 70), (200, 60, 40),
]


def _nearest(colour, palette):
    best = None
    for i, p in enumerate(palette):
        if i == 0:
            continue  # never map a drawn pixel to the transparent colour
        dist = sum((a - b) ** 2 for a, b in zip(colour, p))
        if best is None or dist < best[0]:
            best = (dist, i)
    return best[1]


def _list_glyph(kind):
    """13 x 13 RGBA glyph for the note list, drawn at 8x then reduced."""
    k = 8
    S = 13 * k
    im = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    if kind == "clock":
        d.ellipse((0, 0, S - 1, S - 1), fill=TEAL_DARK + (255,))
        d.ellipse((1.3 * k, 1.3 * k, S - 1 - 1.3 * k, S - 1 - 1.3 * k),
                  fill=(250, 246, 232, 255))
        c = 6.5 * k
        for a in range(0, 360, 90):
            r0, r1 = 4.2 * k, 5.0 * k
            ca, sa = math.cos(math.radians(a)), math.sin(math.radians(a))
            d.line((c + ca * r0, c + sa * r0, c + ca * r1, c + sa * r1),
                   fill=TEAL + (255,), width=k)
        d.line((c, c, c, 2.6 * k), fill=(58, 52, 40, 255), width=int(1.2 * k))
        d.line((c, c, 9.4 * k, c), fill=(58, 52, 40, 255), width=int(1.2 * k))
        d.ellipse((c - 0.9 * k, c - 0.9 * k, c + 0.9 * k, c + 0.9 * k),
                  fill=(200, 60, 40, 255))
    else:
        d.rectangle((0, 0, S - 1, S - 1), fill=(128, 128, 128, 255))
        d.rectangle((k, k, S - 1 - k, S - 1 - k), fill=(255, 255, 255, 255))
        if kind == "ticked":
            pts = [(2.8 * k, 6.6 * k), (5.2 * k, 9.2 * k), (10.2 * k, 3.4 * k)]
            d.line(pts, fill=(40, 140, 70, 255), width=int(2.0 * k),
                   joint="curve")
    return im.resize((13, 13), Image.BOX)


def build_list_icons():
    W, H, CELL = 240, 15, 45
    idx = [[0] * W for _ in range(H)]
    for cell, kind in ((1, "clock"), (2, "box"), (3, "ticked")):
        glyph = _list_glyph(kind)
        ox, oy = cell * CELL + 2, 1
        for y in range(13):
            for x in range(13):
                r, g, b, a = glyph.getpixel((x, y))
                if a < 96:
                    continue
                # blend edge pixels against the white list background
                t = a / 255.0
                c = tuple(int(v * t + 255 * (1 - t)) for v in (r, g, b))
                idx[oy + y][ox + x] = _nearest(c, LIST_PALETTE)

    path = os.path.join(RES_DIR, "listicons.bmp")
    write_bmp4(path, idx, LIST_PALETTE)

    # read the header back and check the picture
    with open(path, "rb") as f:
        data = f.read()
    magic, size, _, _, pix_off = struct.unpack_from("<2sIHHI", data, 0)
    hsize, w, h, planes, bits, comp = struct.unpack_from("<IiiHHI", data, 14)
    assert (magic, size, hsize, w, h, planes, bits, comp) == \
        (b"BM", len(data), 40, 240, 15, 1, 4, 0)
    im = Image.open(io.BytesIO(data)).convert("RGB")
    for x0, x1 in ((0, 45), (180, 240)):
        assert im.crop((x0, 0, x1, 15)).getcolors() == [(15 * (x1 - x0),
                                                         MAGENTA)]
    for cell in (1, 2, 3):
        assert im.getpixel((cell * 45, 7)) == MAGENTA
        assert im.getpixel((cell * 45 + 8, 7)) != MAGENTA


# open "grab" hand, 32 x 32: "#" black outline, "o" white, "." transparent;
# the hot spot (16, 7) sits in the middle finger
HAND = [
    "................................",
    "................................",
    "...............###..............",
    "..............#ooo####..........",
    "...........####ooo#ooo#.........",
    "..........#ooo#ooo#ooo#.........",
    "..........#ooo#ooo#ooo####......",
    "..........#ooo#ooo#ooo#ooo#.....",
    "..........#ooo#ooo#ooo#ooo#.....",
    ".....###..#ooo#ooo#ooo#ooo#.....",
    "....#ooo#.#ooo#ooo#ooo#ooo#.....",
    "....#ooo#.#ooo#ooo#ooo#ooo#.....",
    ".....#ooo##ooo#ooo#ooo#ooo#.....",
    ".....#ooo##ooo#ooo#ooo#ooo#.....",
    "......#ooo#ooooooooooooooo#.....",
    "......#ooooooooooooooooooo#.....",
    ".......#oooooooooooooooooo#.....",
    ".......#oooooooooooooooooo#.....",
    "........#ooooooooooooooooo#.....",
    "........#ooooooooooooooooo#.....",
    ".........#oooooooooooooooo#.....",
    "..........#ooooooooooooooo#.....",
    "..........#ooooooooooooooo#.....",
    "..........#ooooooooooooooo#.....",
    "...........#ooooooooooooo#......",
    "............#ooooooooooo#.......",
    ".............#ooooooooo#........",
    ".............#ooooooooo#........",
    "..............#########.........",
    "................................",
    "................................",
    "................................",
]


def build_cursor(name, rows, hotspot):
    """Writes a 32 x 32 cursor and reads its directory back."""
    path = os.path.join(RES_DIR, name)
    assert len(rows) == 32 and all(len(r) == 32 for r in rows)
    write_cursor(path, rows, hotspot)
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, entries = read_icon_dir(data)
    e = entries[0]
    assert (reserved, kind, len(entries)) == (0, 2, 1)
    assert (e["planes_or_hx"], e["bits_or_hy"]) == hotspot
    assert e["offset"] + e["size"] == len(data)
    return e, data


def build_hand_cursor():
    e, data = build_cursor("hand.cur", HAND, (16, 7))
    assert (e["w"], e["h"]) == (32, 32)
    assert (e["dib_w"], e["dib_h"], e["dib_bits"]) == (32, 64, 1)
    assert len(data) == 22 + 40 + 8 + 128 + 128


def build_splash():
    """Bitmap 131: the 315 x 130 start-up picture, 24 bits."""
    W, H, BAND = 315, 130, 22
    img = vgradient((W, H), PAPER_TOP, PAPER_BOTTOM)
    d = ImageDraw.Draw(img)
    for y in range(BAND + 15, H - 4, 14):
        d.line((0, y, W, y), fill=RULE)
    img.paste(vgradient((W, BAND), TEAL, TEAL_DARK), (0, 0))
    img.paste((255, 255, 255), (0, 0), Image.new("L", (W, BAND // 2), 40))
    d.line((0, BAND, W, BAND), fill=AMBER)
    sm = Image.new("L", (W, H), 0)
    for i in range(4):
        ImageDraw.Draw(sm).line((0, BAND + 1 + i, W, BAND + 1 + i),
                                fill=60 - i * 14)
    paint(img, sm, (120, 100, 60))
    for x in (104, 107):
        d.line((x, BAND + 1, x, H), fill=MARGIN)
    d.text((10, 5), "Tarkwen", font=font(10, bold=True), fill=TEAL_LIGHT)

    rgba = img.convert("RGBA")
    rgba.alpha_composite(logo_motif(84), (10, BAND + 12))
    img = rgba.convert("RGB")
    d = ImageDraw.Draw(img)
    d.text((118, 32), "Velumo", font=font(34, bold=True), fill=TEAL_DARK)
    d.text((120, 73), "Desktop notes", font=font(13), fill=(120, 96, 52))
    d.line((120, 94, 290, 94), fill=AMBER)
    d.text((120, 101), "Version 2.00", font=font(11, bold=True), fill=INK)
    d.rectangle((0, 0, W - 1, H - 1), outline=EDGE)
    path = os.path.join(RES_DIR, "splash.bmp")
    img.save(path)
    with Image.open(path) as chk:
        assert chk.mode == "RGB" and chk.size == (W, H)


def build_options_banner():
    """Bitmap 134: the banner across the top of the Options dialog, ending
    just above its group box. 279 dialog units are about 420 pixels with
    Windows' MS Sans Serif and 488 with Wine's stand-in; the banner is wider
    than both and plain towards the right, where a narrower dialog cuts it."""
    W, H = 500, 64
    img = vgradient((W, H), TEAL, TEAL_DARK)
    img.paste((255, 255, 255), (0, 0), Image.new("L", (W, H // 2), 28))
    d = ImageDraw.Draw(img)
    d.line((0, H - 2, W, H - 2), fill=AMBER)
    d.line((0, H - 1, W, H - 1), fill=AMBER_DARK)
    rgba = img.convert("RGBA")
    rgba.alpha_composite(logo_motif(48), (12, 7))
    img = rgba.convert("RGB")
    d = ImageDraw.Draw(img)
    d.text((72, 10), "Options", font=font(20, bold=True), fill=(255, 255, 255))
    d.text((73, 38), "How Velumo starts", font=font(11), fill=TEAL_LIGHT)
    path = os.path.join(RES_DIR, "options.bmp")
    img.save(path)
    with Image.open(path) as chk:
        assert chk.mode == "RGB" and chk.size == (W, H)


# pointing hand, 32 x 32: "#" black outline, "o" white, "." transparent;
# the hot spot (9, 1) is the tip of the index finger
POINTING_HAND = [
    ".........##.....................",
    "........#oo#....................",
    "........#oo#....................",
    "........#oo#....................",
    "........#oo#....................",
    "........#oo###..................",
    "........#oo#oo###...............",
    "........#oo#oo#oo##.............",
    "........#oo#oo#oo#o#............",
    "...##...#oo#oo#oo#oo#...........",
    "..#oo#..#oooooooooooo#..........",
    "..#ooo#.#oooooooooooo#..........",
    "...#ooo##oooooooooooo#..........",
    "....#ooo#oooooooooooo#..........",
    "....#oooooooooooooooo#..........",
    ".....#ooooooooooooooo#..........",
    ".....#oooooooooooooo#...........",
    "......#ooooooooooooo#...........",
    "......#oooooooooooo#............",
    ".......#ooooooooooo#............",
    ".......#ooooooooooo#............",
    ".......#ooooooooooo#............",
    ".......#############............",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]


def build_link_cursor():
    """Cursor 129: shown over the About box's link."""
    build_cursor("link.cur", POINTING_HAND, (9, 1))


def main():
    os.makedirs(RES_DIR, exist_ok=True)
    build_skin()
    build_app_icon()
    build_tray_icon()
    build_list_icons()
    build_hand_cursor()
    build_splash()
    build_options_banner()
    build_link_cursor()
    import menu_art
    menu_art.build_menu_art()
    print("artwork written to %s and %s" % (SKIN_DIR, RES_DIR))


if __name__ == "__main__":
    main()
