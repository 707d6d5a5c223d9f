"""Artwork of the bitmap popup menus: the side banners of the tray menu and
of the help menu, and the two item bitmaps.  Called by draw_art.py.

The banners are tiled down a strip 25 pixels wide, so they repeat their
first two columns at the right edge of the strip, and they repeat from their
top when a menu is taller than the picture: the lettering therefore starts a
little below the top and the columns are plain teal.

The item bitmaps use the four greys that a menu recolours to the system
colours (black, 0x808080, 0xC0C0C0 and white; light grey is the background
and turns into the highlight colour on a highlighted item) and one teal
accent that stays as it is.
"""

import io
import os

from PIL import Image, ImageDraw

import draw_art as art

BANNER_W = 23

# characters of the item pictures
GREYS = {".": (192, 192, 192), "#": (0, 0, 0), "g": (128, 128, 128),
         "w": (255, 255, 255), "t": art.TEAL}
ITEM_PALETTE = [(192, 192, 192), (0, 0, 0), (128, 128, 128), (255, 255, 255),
                art.TEAL] + [(0, 0, 0)] * 11

# "?" in a white disc: "&Help Topics"
HELP_TOPICS = [
    ".....######.....",
    "...##wwwwww##...",
    "..#wwwttttwww#..",
    ".#wwwttwwttwww#.",
    ".#wwwwwwwttwww#g",
    ".#wwwwwwttwwww#g",
    ".#wwwwwttwwwww#g",
    ".#wwwwwttwwwww#g",
    ".#wwwwwwwwwwww#g",
    ".#wwwwwttwwwww#g",
    "..#wwwwttwwww#gg",
    "...##wwwwww##gg.",
    ".....######ggg..",
    "......gggggg....",
    "................",
    "................",
]

# a list with a title band and bulleted rows: "&View note list..."
VIEW_LIST = [
    "................",
    ".############...",
    ".#tttttttttt#g..",
    ".#wwwwwwwwww#g..",
    ".#wttwgggggg#g..",
    ".#wwwwwwwwww#g..",
    ".#wttwgggggg#g..",
    ".#wwwwwwwwww#g..",
    ".#wttwgggggg#g..",
    ".#wwwwwwwwww#g..",
    ".#wttwgggggg#g..",
    ".#wwwwwwwwww#g..",
    ".#wttwggggww#g..",
    ".#wwwwwwwwww#g..",
    ".############g..",
    "..gggggggggggg..",
    "................",
]


# The tray icon at 16 pixels, drawn pixel by pixel so that its lines stay
# sharp in the notification area: a yellow note with a teal header, ruled
# lines and a folded corner (the 32-pixel image is drawn smooth).
TRAY_16 = [
    "................",
    ".oooooooooooooo.",
    ".otttttttttttto.",
    ".otttttttttttto.",
    ".oyyyyyyyyyyyyo.",
    ".oyyyyyyyyyyyyo.",
    ".oyllllllllllyo.",
    ".oyyyyyyyyyyyyo.",
    ".oyyyyyyyyyyyyo.",
    ".oyllllllllllyo.",
    ".oyyyyyyyyyyyyo.",
    ".oyyyyyyyoooooo.",
    ".oylllllyoffoo..",
    ".oyyyyyyyofoo...",
    ".oyyyyyyyooo....",
    ".oooooooooo.....",
]
TRAY_COLOURS = {"o": (70, 56, 24), "t": art.TEAL, "y": art.NOTE_YELLOW,
                "l": (150, 104, 22), "f": (214, 160, 50)}


def tray_icon_16():
    img = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    assert len(TRAY_16) == 16 and all(len(r) == 16 for r in TRAY_16)
    for y, row in enumerate(TRAY_16):
        for x, ch in enumerate(row):
            if ch != ".":
                img.putpixel((x, y), TRAY_COLOURS[ch] + (255,))
    return img


def write_item_bitmap(path, rows):
    """A 4-bit BMP of a picture given as rows of GREYS characters."""
    h, w = len(rows), len(rows[0])
    assert all(len(r) == w for r in rows)
    index = {c: ITEM_PALETTE.index(GREYS[c]) for c in GREYS}
    art.write_bmp4(path, [[index[ch] for ch in r] for r in rows], ITEM_PALETTE)
    with open(path, "rb") as f:
        im = Image.open(io.BytesIO(f.read())).convert("RGB")
    assert im.size == (w, h)
    for y, r in enumerate(rows):
        for x, ch in enumerate(r):
            assert im.getpixel((x, y)) == GREYS[ch]


def banner(height, text_top, size):
    """A vertical banner: teal, shaded across, with "Velumo" in a font of
    the given size reading upwards from text_top between two short amber
    rules."""
    img = Image.new("RGB", (BANNER_W, height))
    across = [art.mix(art.TEAL_DARK, art.TEAL, x / (BANNER_W - 1))
              for x in range(BANNER_W)]
    for x, colour in enumerate(across):
        ImageDraw.Draw(img).line((x, 0, x, height - 1), fill=colour)

    fnt = art.font(size, bold=True)
    w, h, ox, oy = art.text_size("Velumo", fnt)
    word = Image.new("L", (w + 4, h + 4), 0)
    ImageDraw.Draw(word).text((2 - ox, 2 - oy), "Velumo", font=fnt, fill=255)
    word = word.rotate(90, expand=True)  # reads from the bottom upwards
    x = (BANNER_W - word.width) // 2 + 1
    y = text_top + 4
    layer = Image.new("L", img.size, 0)
    layer.paste(word, (x, y))
    art.paint(img, layer, art.NOTE_CREAM)
    d = ImageDraw.Draw(img)
    d.line((6, text_top, BANNER_W - 6, text_top), fill=art.AMBER)
    d.line((6, y + word.height + 3, BANNER_W - 6, y + word.height + 3),
           fill=art.AMBER)
    return img


def write_banner(path, height, text_top, size):
    img = banner(height, text_top, size)
    img.save(path)
    with Image.open(path) as chk:
        assert chk.mode == "RGB" and chk.size == (BANNER_W, height)
        # the columns repeat at the strip's edge: the first two must be
        # the plain shading (no lettering reaches them)
        for y in range(height):
            for x in (0, 1):
                assert chk.getpixel((x, y)) == art.mix(
                    art.TEAL_DARK, art.TEAL, x / (BANNER_W - 1))


def build_menu_art():
    res = art.RES_DIR
    # The tray menu is about 190 pixels tall, the help menu about 65: the
    # lettering of each stays within its menu.
    write_banner(os.path.join(res, "traybanner.bmp"), 200, 30, 13)
    write_banner(os.path.join(res, "helpbanner.bmp"), 126, 3, 10)
    write_item_bitmap(os.path.join(res, "helptopics.bmp"), HELP_TOPICS)
    write_item_bitmap(os.path.join(res, "viewlist.bmp"), VIEW_LIST)
