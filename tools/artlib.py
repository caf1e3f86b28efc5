"""The game's shared drawing helpers and palette (pycairo), imported by the art scripts in tools/.

Drawn with pycairo (Debian python3-cairo); full-screen pictures are written as JPEG through Pillow
(python3-pil); both are installed with apt-get when missing.

Palette: sky blues, a warm horizon, meadow greens, the quilt patch colours (red, orange, yellow,
blue, pink, green), cream titles with a brown outline, navy panels, warm orange buttons.
"""
import importlib
import io
import math
import os
import random
import subprocess


def need(module, package):
    try:
        return importlib.import_module(module)
    except ImportError:
        subprocess.check_call(["apt-get", "install", "-y", package])
        return importlib.import_module(module)


cairo = need("cairo", "python3-cairo")

FONT = "DejaVu Sans"
CREAM = (1.0, 0.925, 0.729)
BROWN = (0.36, 0.20, 0.11)
NAVY = (0.188, 0.235, 0.369)
PATCHES = [(0.886, 0.329, 0.329), (0.957, 0.635, 0.349), (1.0, 0.816, 0.329), (0.498, 0.722, 0.878),
           (0.910, 0.471, 0.690), (0.498, 0.690, 0.412)]


def rgb(hexcode):
    return tuple(int(hexcode[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def rgba(hexcode, a=1.0):
    """A colour "RRGGBB" or "#RRGGBB" with its alpha, as the four numbers cairo takes."""
    return rgb(hexcode.lstrip("#")) + (a,)


# The meadow's quilt fields: greens with a few flowering ones.
FIELDS = [rgb(c) for c in ("8CC56F", "74B45E", "A4D07C", "8CC56F", "74B45E", "E6D66E", "EAA6C4", "92C8DC")]


def surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    return s, cairo.Context(s)


def save_png(s, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    s.write_to_png(path)


def save_jpg(s, path, quality=90):
    image = need("PIL.Image", "python3-pil")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    buf = io.BytesIO()
    s.write_to_png(buf)
    buf.seek(0)
    image.open(buf).convert("RGB").save(path, "JPEG", quality=quality, optimize=True)


def rounded(cr, x, y, w, h, r):
    cr.new_sub_path()
    cr.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    cr.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    cr.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    cr.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    cr.close_path()


def ellipse(cr, cx, cy, rx, ry):
    """Adds an oval centred on (cx, cy) with radii rx and ry to the path (no fill or stroke)."""
    cr.save()
    cr.translate(cx, cy)
    cr.scale(rx, ry)
    cr.arc(0, 0, 1, 0, 2 * math.pi)
    cr.restore()


def vertical(cr, y0, y1, stops):
    g = cairo.LinearGradient(0, y0, 0, y1)
    for pos, col in stops:
        g.add_color_stop_rgba(pos, *col, 1.0) if len(col) == 3 else g.add_color_stop_rgba(pos, *col)
    return g


def paint(cr, source):
    """Makes source the pen: a cairo pattern, or a colour of three (rgb) or four (rgba) numbers."""
    if isinstance(source, cairo.Pattern):
        cr.set_source(source)
    elif len(source) == 4:
        cr.set_source_rgba(*source)
    else:
        cr.set_source_rgb(*source)


def outline(cr, source, width):
    """Strokes the current path width wide with source (a pattern or a colour)."""
    paint(cr, source)
    cr.set_line_width(width)
    cr.stroke()


def fill_outlined(cr, fill, line, width):
    """Fills the current path with fill, then strokes its edge width wide with line."""
    paint(cr, fill)
    cr.fill_preserve()
    outline(cr, line, width)


def outlined_text(cr, text, fill, line, width):
    """The text as a path from the current point: its letters drawn round-joined width wide with
    line (half of that shows outside them), then filled with fill on top."""
    cr.text_path(text)
    paint(cr, line)
    cr.set_line_width(width)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.stroke_preserve()
    paint(cr, fill)
    cr.fill()


def polygon(cr, points):
    """The points, joined in turn and closed, as a path (no fill or stroke)."""
    cr.move_to(*points[0])
    for point in points[1:]:
        cr.line_to(*point)
    cr.close_path()


def stitch(cr, colour, width, dash):
    """Strokes the current path as a dashed seam (colour: rgb or rgba), then turns the dash off."""
    cr.set_source_rgba(*colour) if len(colour) == 4 else cr.set_source_rgb(*colour)
    cr.set_line_width(width)
    cr.set_dash(dash)
    cr.stroke()
    cr.set_dash([])


def glow(cr, x, y, r0, r1, stops):
    """A round glow about (x, y): a radial gradient from radius r0 to r1 with the (position, rgba)
    stops, filled over the disc of radius r1."""
    g = cairo.RadialGradient(x, y, r0, x, y, r1)
    for pos, col in stops:
        g.add_color_stop_rgba(pos, *col)
    cr.set_source(g)
    cr.arc(x, y, r1, 0, 2 * math.pi)
    cr.fill()


def star_path(cr, cx, cy, outer, inner):
    """A five-pointed star about (cx, cy), its first point up, as a closed path."""
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        (cr.move_to if i == 0 else cr.line_to)(cx + r * math.cos(a), cy + r * math.sin(a))
    cr.close_path()


def title(cr, text, cx, y, size, sub=None, subsize=0):
    """The game's title: cream letters with a brown outline and a soft shadow, centred on cx."""
    cr.select_font_face(FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(size)
    ext = cr.text_extents(text)
    x = cx - ext.x_advance / 2
    for dx, dy, a in ((0, 6, 0.18), (0, 4, 0.22)):
        cr.move_to(x + dx, y + dy)
        cr.text_path(text)
        cr.set_source_rgba(0.1, 0.05, 0.02, a)
        cr.set_line_width(size * 0.16)
        cr.stroke_preserve()
        cr.fill()
    g = cairo.LinearGradient(0, y - size * 0.75, 0, y)
    g.add_color_stop_rgb(0, 1.0, 0.97, 0.86)
    g.add_color_stop_rgb(1, *CREAM)
    cr.move_to(x, y)
    outlined_text(cr, text, g, BROWN, size * 0.14)
    if sub:
        cr.select_font_face(FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
        cr.set_font_size(subsize)
        e = cr.text_extents(sub)
        sx, sy = cx - e.x_advance / 2, y + subsize * 1.9
        cr.move_to(sx, sy)
        outlined_text(cr, sub, (1, 1, 1), (*BROWN, 0.85), subsize * 0.22)


def patch(cr, x, y, s, col, alpha=1.0, stitch=True):
    """One quilt patch: a rounded square with a lighter top and a dashed stitch inside its edge."""
    rounded(cr, x, y, s, s, s * 0.12)
    g = cairo.LinearGradient(0, y, 0, y + s)
    g.add_color_stop_rgba(0, min(1, col[0] + 0.08), min(1, col[1] + 0.08), min(1, col[2] + 0.08), alpha)
    g.add_color_stop_rgba(1, col[0] * 0.9, col[1] * 0.9, col[2] * 0.9, alpha)
    cr.set_source(g)
    cr.fill()
    if stitch:
        inset = s * 0.12
        rounded(cr, x + inset, y + inset, s - 2 * inset, s - 2 * inset, s * 0.08)
        cr.set_source_rgba(1, 1, 1, 0.55 * alpha)
        cr.set_line_width(max(1.0, s * 0.025))
        cr.set_dash([s * 0.07, s * 0.05])
        cr.stroke()
        cr.set_dash([])


def panel_body(cr, w, h):
    """A pop-up's panel of w x h at the origin: a soft shadow, the navy body with a cream rim, and
    a dashed cream stitch inside the rim. The body is fully opaque, so nothing behind a pop-up
    shows through it; only the shadow outside it is see-through."""
    rounded(cr, 4, 10, w - 4, h - 4, 32)
    cr.set_source_rgba(0, 0, 0, 0.30)
    cr.fill()
    rounded(cr, 2, 2, w - 4, h - 6, 30)
    fill_outlined(cr, vertical(cr, 2, h - 4, [(0, (0.255, 0.310, 0.478)), (1, (0.172, 0.212, 0.353))]),
                  (*CREAM, 0.9), 3)
    rounded(cr, 14, 14, w - 28, h - 30, 22)
    stitch(cr, (*CREAM, 0.45), 2, [9, 7])


def cloud(cr, x, y, scale, alpha):
    cr.set_source_rgba(1, 1, 1, alpha)
    for dx, dy, r in ((0, 0, 30), (34, -14, 36), (72, 0, 28), (36, 10, 32), (-28, 8, 22), (100, 10, 20)):
        cr.arc(x + dx * scale, y + dy * scale, r * scale, 0, 2 * math.pi)
        cr.fill()


def hill(cr, w, base, amp, phase, freq, col_top, col_bottom, h):
    cr.move_to(0, h)
    for x in range(0, w + 9, 8):
        cr.line_to(x, base - amp * math.sin(x * freq + phase) - amp * 0.4 * math.sin(x * freq * 2.3 + phase * 1.7))
    cr.line_to(w, h)
    cr.close_path()
    cr.set_source(vertical(cr, base - amp, h, [(0, col_top), (1, col_bottom)]))
    cr.fill()


def quilt_fields(cr, w, h, top, rows, colour, stitch_alpha):
    """A meadow of quilt fields in perspective rows from y = top down to h, each row's fields
    larger than the one above. colour(row) gives each field's rgb, in drawing order."""
    for r in range(rows):
        y0 = top + (h - top) * (r / rows) ** 1.3
        y1 = top + (h - top) * ((r + 1) / rows) ** 1.3
        size = y1 - y0
        n = int(w / (size * 1.6)) + 2
        for c in range(n):
            x0 = c * size * 1.6 - (r % 2) * size * 0.8
            fc = colour(r)
            rounded(cr, x0 + 3, y0 + 2, size * 1.6 - 6, size - 4, min(10, size * 0.2))
            cr.set_source_rgba(*fc, 1)
            cr.fill_preserve()
            stitch(cr, (1, 1, 1, stitch_alpha), 1.5, [6, 5])


def scenery(cr, w, h, horizon):
    """Sky with sun and clouds, two rows of hills and a meadow of quilt fields."""
    cr.set_source(vertical(cr, 0, horizon, [(0, rgb("4E7FC0")), (0.6, rgb("8DBCE6")), (1, rgb("FFE4BC"))]))
    cr.rectangle(0, 0, w, h)
    cr.fill()
    glow(cr, 1080, 150, 10, 190, [(0, (1, 0.97, 0.8, 0.95)), (0.3, (1, 0.9, 0.6, 0.45)), (1, (1, 0.9, 0.6, 0))])
    cr.set_source_rgba(1, 0.98, 0.88, 1)
    cr.arc(1080, 150, 46, 0, 2 * math.pi)
    cr.fill()
    for x, y, s, a in ((150, 120, 1.1, 0.85), (520, 70, 0.8, 0.7), (820, 200, 0.9, 0.75), (1250, 300, 0.7, 0.6),
                       (330, 260, 0.6, 0.55)):
        cloud(cr, x, y, s, a)
    hill(cr, w, horizon - 40, 36, 0.7, 0.006, rgb("9CC98A"), rgb("7DB06B"), h)
    hill(cr, w, horizon + 10, 28, 2.1, 0.0045, rgb("7DB86A"), rgb("5E9A52"), h)
    # The meadow: quilt fields in perspective rows, fading toward the horizon.
    rnd = random.Random(7)
    rows = 6

    def field(r):
        col = FIELDS[rnd.randrange(len(FIELDS))]
        # Rows further away are paler (the haze toward the horizon).
        haze = 0.35 * (1 - r / rows)
        return tuple(col[i] * (1 - haze) + 0.86 * haze for i in range(3))
    quilt_fields(cr, w, h, horizon + 40, rows, field, 0.35)


# (top, bottom, rim) of each button view: warm orange, lighter when hovered, darker when pressed.
VIEWS = {
    "Normal": (rgb("F49656"), rgb("DE6834"), rgb("8C3A1A")),
    "Over": (rgb("FFB878"), rgb("F48A50"), rgb("96401E")),
    "Click": (rgb("C45628"), rgb("D66E3C"), rgb("6E2C12")),
    "Disabled": (rgb("B2B2B2"), rgb("969696"), rgb("646464")),
}


def button_view(path, w, h, view):
    top, bottom, rim = VIEWS[view]
    s, cr = surface(w, h)
    r = h * 0.3
    rounded(cr, 1.5, 1.5, w - 3, h - 3, r)
    fill_outlined(cr, vertical(cr, 0, h, [(0, top), (1, bottom)]), rim, 3)
    # Stitching inside the rim and a soft shine.
    rounded(cr, 7, 7, w - 14, h - 14, r * 0.7)
    stitch(cr, (1, 1, 1, 0.45), 1.5, [6, 4])
    if view != "Click":
        rounded(cr, 10, 5, w - 20, h * 0.38, r * 0.6)
        cr.set_source(vertical(cr, 5, 5 + h * 0.38, [(0, (1, 1, 1, 0.35)), (1, (1, 1, 1, 0.0))]))
        cr.fill()
    save_png(s, path)
