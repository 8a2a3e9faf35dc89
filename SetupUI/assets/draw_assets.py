#!/usr/bin/python3
"""Draws the wizard's artwork: brand picture, connection picture, eye icons, busy
animation and program icon. Run from anywhere; writes beside this script.
Everything is drawn at four times its size and scaled down for smooth edges."""
import math
import os
from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
S = 4  # supersampling factor

BRAND_DARK = (18, 66, 110)
BRAND = (0, 120, 190)
BRAND_LIGHT = (90, 180, 235)
INK = (40, 48, 58)
GREY = (120, 130, 140)
LIGHT = (226, 232, 238)
WHITE = (255, 255, 255)


def font(size, bold=False):
    names = ["DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"]
    for folder in ["/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu"]:
        for n in names:
            p = os.path.join(folder, n)
            if os.path.exists(p):
                return ImageFont.truetype(p, size)
    return ImageFont.load_default()


def canvas(w, h, bg=(255, 255, 255, 0)):
    img = Image.new("RGBA", (w * S, h * S), bg)
    return img, ImageDraw.Draw(img)


def finish(img, w, h, name):
    out = img.resize((w, h), Image.LANCZOS)
    out.save(os.path.join(HERE, name), optimize=True)
    return out


def s(*v):
    return [x * S for x in v]


def printer(d, x, y, w, h, socket=False):
    """A small portable label printer seen from the front, at (x, y) in picture units."""
    d.rounded_rectangle(s(x, y, x + w, y + h), radius=10 * S, fill=WHITE, outline=INK, width=2 * S)
    d.rounded_rectangle(s(x + 6, y + 6, x + w - 6, y + h * 0.42), radius=6 * S, fill=LIGHT, outline=GREY, width=S)
    # paper slot with a label coming out
    d.rectangle(s(x + 12, y + h * 0.42 + 6, x + w - 12, y + h * 0.42 + 10), fill=INK)
    d.rectangle(s(x + 18, y - 16, x + w - 18, y + 2), fill=WHITE, outline=GREY, width=S)
    d.line(s(x + 24, y - 10, x + w - 30, y - 10), fill=GREY, width=S)
    d.line(s(x + 24, y - 5, x + w - 40, y - 5), fill=GREY, width=S)
    # screen and power button
    d.rounded_rectangle(s(x + 12, y + h * 0.6, x + w * 0.55, y + h * 0.82), radius=3 * S, fill=BRAND_DARK)
    d.ellipse(s(x + w - 26, y + h * 0.62, x + w - 12, y + h * 0.62 + 14), fill=BRAND, outline=INK, width=S)
    if socket:
        # the USB-C socket on the printer's left side
        d.rounded_rectangle(s(x - 2, y + h * 0.62, x + 3, y + h * 0.62 + 12), radius=2 * S, fill=INK)


def brand():
    w, h = 165, 332
    img, d = canvas(w, h)
    for i in range(h * S):  # vertical gradient
        t = i / (h * S)
        c = tuple(int(BRAND_DARK[k] * (1 - t) + BRAND[k] * t) for k in range(3))
        d.line([(0, i), (w * S, i)], fill=c)
    d.rounded_rectangle(s(0, 0, w - 1, h - 1), radius=14 * S, outline=BRAND_LIGHT, width=S)
    d.text((w * S // 2, 48 * S), "Ondrix", font=font(30 * S, True), fill=WHITE, anchor="mm")
    d.text((w * S // 2, 76 * S), "Mobile Printer", font=font(13 * S), fill=BRAND_LIGHT, anchor="mm")
    # a label roll behind the printer
    d.ellipse(s(38, 118, 128, 208), fill=(235, 242, 248), outline=WHITE, width=2 * S)
    d.ellipse(s(70, 150, 96, 176), fill=BRAND_DARK)
    printer(d, 42, 180, 82, 70)
    for k, text in enumerate(["Labels", "Receipts", "Tags"]):
        y = 280 + k * 16
        d.ellipse(s(34, y - 3, 40, y + 3), fill=BRAND_LIGHT)
        d.text((48 * S, y * S), text, font=font(11 * S), fill=WHITE, anchor="lm")
    finish(img, w, h, "brand.png")


def connect():
    w, h = 285, 192
    img, d = canvas(w, h, (255, 255, 255, 255))
    # laptop
    d.rounded_rectangle(s(14, 44, 134, 122), radius=6 * S, fill=INK)
    d.rectangle(s(21, 51, 127, 115), fill=BRAND_LIGHT)
    d.polygon(s(4, 130, 144, 130, 134, 122, 14, 122), fill=GREY)
    d.rounded_rectangle(s(2, 130, 146, 136), radius=3 * S, fill=INK)
    d.text((74 * S, 83 * S), "Ondrix", font=font(15 * S, True), fill=WHITE, anchor="mm")
    # cable from the laptop's side port to the USB-C socket on the printer's left side
    d.rectangle(s(144, 118, 152, 124), fill=INK)
    px, py, pw, ph = 200, 62, 70, 64
    sy = py + ph * 0.62 + 6
    pts = []
    for i in range(41):
        t = i / 40
        x = 152 + (184 - 152) * t
        y = 121 + (sy - 121) * t + 30 * math.sin(math.pi * t)
        pts.append((x * S, y * S))
    d.line(pts, fill=INK, width=3 * S, joint="curve")
    printer(d, px, py, pw, ph, socket=True)
    # the USB-C plug seated in the socket
    d.rounded_rectangle(s(182, sy - 6, 197, sy + 6), radius=4 * S, fill=GREY, outline=INK, width=S)
    d.text((190 * S, 172 * S), "USB-C", font=font(11 * S, True), fill=BRAND, anchor="mm")
    finish(img, w, h, "connect.png")


def eye(crossed, name):
    n = 24
    img, d = canvas(n, n)
    outline = [(2, 12), (7, 6), (12, 4.5), (17, 6), (22, 12), (17, 18), (12, 19.5), (7, 18)]
    d.line([(x * S, y * S) for x, y in outline + outline[:1]], fill=INK, width=int(1.8 * S), joint="curve")
    d.ellipse(s(8.5, 8.5, 15.5, 15.5), fill=INK)
    d.ellipse(s(10.5, 9.5, 12.5, 11.5), fill=WHITE)
    if crossed:
        d.line(s(4, 21, 20, 3), fill=WHITE, width=4 * S)
        d.line(s(4, 21, 20, 3), fill=INK, width=int(1.8 * S))
    finish(img, n, n, name)


def busy():
    n, frames, spokes = 30, 12, 12
    out = []
    for f in range(frames):
        img, d = canvas(n, n)
        for k in range(spokes):
            a = 2 * math.pi * k / spokes
            age = (f - k) % spokes
            shade = int(40 + 200 * age / spokes)
            c = (min(255, BRAND[0] + shade), min(255, BRAND[1] + shade // 2), min(255, BRAND[2] + shade // 4))
            cx, cy = 15, 15
            x1, y1 = cx + 6 * math.sin(a), cy - 6 * math.cos(a)
            x2, y2 = cx + 12 * math.sin(a), cy - 12 * math.cos(a)
            d.line(s(x1, y1, x2, y2), fill=c + (255,), width=int(2.6 * S))
        small = img.resize((n, n), Image.LANCZOS)
        # GIF has one transparent index: flatten onto white-keyed transparency
        bg = Image.new("RGBA", (n, n), (255, 255, 255, 255))
        bg.alpha_composite(small)
        out.append(bg.convert("RGB").convert("P", palette=Image.ADAPTIVE, colors=63))
    out[0].save(os.path.join(HERE, "load.gif"), save_all=True, append_images=out[1:], duration=400, loop=0,
                disposal=2)


def icon():
    n = 256
    img, d = canvas(n, n)
    d.rounded_rectangle(s(8, 8, 248, 248), radius=48 * S, fill=BRAND)
    printer(d, 52, 96, 152, 110)
    big = img.resize((n, n), Image.LANCZOS)
    big.save(os.path.join(HERE, "Kovrin.ico"), sizes=[(16, 16), (24, 24), (32, 32), (48, 48), (256, 256)])


if __name__ == "__main__":
    brand()
    connect()
    eye(False, "ShowIcon.png")
    eye(True, "HideIcon.png")
    busy()
    icon()
