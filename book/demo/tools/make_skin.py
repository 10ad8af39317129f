#!/usr/bin/env python3
"""Skin generator for the demo book: writes every picture source NAME.svg and the
description sources into the pack folder. Geometry lives here once, so the
pictures' backdrops always match the screens they sit on."""
import os, math, sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'pack')
F = "Liberation Sans"

# palette
INK = '#E9EEF2'; DIM = '#93A6B4'; FAINT = '#5F7385'
STEEL = '#1F3A5F'; STEEL2 = '#2B4A6F'; STEEL3 = '#3E6690'; STEELX = '#A5B6BD'
AMBER = '#D9822B'; AMBERL = '#F2A64A'; AMBERD = '#A65E17'
GRAPH = '#141B22'; GRAPH2 = '#1C2733'; DARKTXT = '#1A1208'

written = []

def save(name, w, h, body, defs=''):
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
           f'width="{w}" height="{h}" viewBox="0 0 {w} {h}">\n'
           f'<defs>{defs}</defs>\n{body}\n</svg>\n')
    with open(os.path.join(OUT, name + '.svg'), 'w', encoding='utf-8') as f:
        f.write(svg)
    written.append(name)

def lin(id_, x1, y1, x2, y2, stops):
    s = ''.join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return (f'<linearGradient id="{id_}" gradientUnits="userSpaceOnUse" x1="{x1}" y1="{y1}" '
            f'x2="{x2}" y2="{y2}">{s}</linearGradient>')

def text(x, y, s, size=12, fill=INK, weight='normal', anchor='start', family=F):
    return (f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" '
            f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}">{s}</text>')

# ---------------------------------------------------------------- backdrops
# A backdrop is (defs, base shapes) in window coordinates. Every control picture
# repeats the shapes of its screen under itself, moved to its own origin.
MAIN_DEFS = (lin('hdr', 0, 0, 0, 56, [(0, '#27476D'), (1, '#15283F')]) +
             lin('body', 0, 58, 0, 528, [(0, '#1B252F'), (1, '#11171D')]) +
             lin('foot', 0, 529, 0, 600, [(0, '#1A242E'), (1, '#0E1318')]))
MAIN_BASE = ('<rect x="0" y="0" width="800" height="56" fill="url(#hdr)"/>'
             '<rect x="0" y="56" width="800" height="2" fill="#D9822B"/>'
             '<rect x="0" y="58" width="800" height="470" fill="url(#body)"/>'
             '<rect x="0" y="528" width="800" height="1" fill="#2C3B49"/>'
             '<rect x="0" y="529" width="800" height="71" fill="url(#foot)"/>')
TEZ = (MAIN_DEFS, MAIN_BASE.replace('800', '340'))
MAIN = (MAIN_DEFS, MAIN_BASE)
DLG_DEFS = (lin('dh', 0, 0, 0, 30, [(0, '#27476D'), (1, '#15283F')]) +
            lin('db', 0, 31, 0, 260, [(0, '#1D2731'), (1, '#12181E')]))
DLG_BASE = ('<rect x="0" y="0" width="400" height="30" fill="url(#dh)"/>'
            '<rect x="0" y="30" width="400" height="1" fill="#D9822B"/>'
            '<rect x="0" y="31" width="400" height="229" fill="url(#db)"/>')
DLG = (DLG_DEFS, DLG_BASE)
ABOUT_DEFS = lin('ab', 0, 0, 0, 300, [(0, '#1D2731'), (1, '#10161B')])
ABOUT = (ABOUT_DEFS, '<rect x="0" y="0" width="460" height="300" fill="url(#ab)"/>')

def control(name, x, y, w, h, backdrop, body, defs=''):
    bdefs, base = backdrop
    save(name, w, h, f'<g transform="translate({-x},{-y})">{base}</g>\n{body}', bdefs + defs)

# ---------------------------------------------------------------- glyphs
def glyph(kind, cx, cy, c, s=1.0):
    """Small line icons centred on (cx, cy), about 16 px at s=1."""
    def P(d, fill='none', sw=1.8):
        return (f'<path transform="translate({cx},{cy}) scale({s})" d="{d}" fill="{fill}" '
                f'stroke="{c if fill == "none" else "none"}" stroke-width="{sw}" '
                f'stroke-linecap="round" stroke-linejoin="round"/>')
    g = {
        'left': P('M3,-6 L-4,0 L3,6', sw=2.4),
        'right': P('M-3,-6 L4,0 L-3,6', sw=2.4),
        'down': P('M-4,-2 L0,3 L4,-2 Z', fill=c),
        'search': P('M-2,-2 m-5,0 a5,5 0 1,0 10,0 a5,5 0 1,0 -10,0 M2,2 L7,7', sw=2.2),
        'print': P('M-5,-3 L-5,-8 L5,-8 L5,-3 M-5,4 L-8,4 L-8,-3 L8,-3 L8,4 L5,4 M-5,1 L5,1 L5,8 L-5,8 Z', sw=1.6),
        'star': P('M0,-8 L2.4,-2.6 L8,-2.4 L3.6,1.2 L5,7 L0,3.8 L-5,7 L-3.6,1.2 L-8,-2.4 L-2.4,-2.6 Z', sw=1.6),
        'starplus': P('M-2,-8 L0.2,-3 L5,-2.8 L1.4,0.4 L2.6,5.5 L-2,2.6 L-6.6,5.5 L-5.4,0.4 L-9,-2.8 L-4.2,-3 Z M6,2 L6,9 M2.5,5.5 L9.5,5.5', sw=1.5),
        'menu': P('M-7,-5 L7,-5 M-7,0 L7,0 M-7,5 L7,5', sw=2.2),
        'dict': P('M-8,-6 L-1,-7 L0,-5 L1,-7 L8,-6 L8,6 L1,5 L0,7 L-1,5 L-8,6 Z M0,-5 L0,7', sw=1.5),
        'home': P('M-8,0 L0,-7 L8,0 M-5,-2 L-5,7 L5,7 L5,-2', sw=1.8),
        'play': P('M-4,-7 L7,0 L-4,7 Z', fill=c),
        'pause': P('M-6,-7 L-2,-7 L-2,7 L-6,7 Z M2,-7 L6,-7 L6,7 L2,7 Z', fill=c),
        'stop': P('M-6,-6 L6,-6 L6,6 L-6,6 Z', fill=c),
        'rew': P('M0,-6 L-8,0 L0,6 Z M8,-6 L0,0 L8,6 Z', fill=c),
        'ffw': P('M0,-6 L8,0 L0,6 Z M-8,-6 L0,0 L-8,6 Z', fill=c),
        'note': P('M-3,5 m-3,0 a3,2.4 0 1,0 6,0 a3,2.4 0 1,0 -6,0 M0,5 L0,-8 L7,-6 L7,-2 L0,-4', sw=1.7),
        'info': P('M0,-1 L0,6 M0,-5.5 L0,-5', sw=2.4) + P('M-8,0 a8,8 0 1,0 16,0 a8,8 0 1,0 -16,0', sw=1.5),
        'power': P('M-5,-5 A7.5,7.5 0 1,0 5,-5 M0,-9 L0,-1', sw=2),
        'book': P('M-8,-6 L-1,-7 L0,-5 L1,-7 L8,-6 L8,6 L1,5 L0,7 L-1,5 L-8,6 Z', sw=1.5),
        'film': P('M-8,-6 L8,-6 L8,6 L-8,6 Z M-4,-6 L-4,6 M4,-6 L4,6', sw=1.6),
        'tools': P('M-7,7 L1,-1 M3,-8 a4,4 0 1,0 5,5 L5,0 L2,-3 Z', sw=1.8),
        'game': P('M-8,-3 L8,-3 L8,5 L-8,5 Z M-5,1 L-1,1 M-3,-1 L-3,3 M3,0 L3,0.1 M6,2 L6,2.1', sw=1.8),
        'trash': P('M-6,-5 L6,-5 M-2,-5 L-2,-7 L2,-7 L2,-5 M-5,-5 L-4,7 L4,7 L5,-5', sw=1.7),
        'copy': P('M-7,-4 L-7,7 L2,7 L2,-4 Z M-3,-4 L-3,-8 L6,-8 L6,3 L2,3', sw=1.6),
        'font': P('M-7,7 L-1,-8 L1,-8 L7,7 M-4.5,2 L4.5,2', sw=2),
        'box': P('M-8,-3 L8,-3 L8,7 L-8,7 Z M-9,-7 L9,-7 L9,-3 L-9,-3 Z M-2,1 L2,1', sw=1.6),
        'gear': P('M0,-8 L2,-5 L5,-6 L5,-2 L8,0 L5,2 L5,6 L2,5 L0,8 L-2,5 L-5,6 L-5,2 L-8,0 L-5,-2 L-5,-6 L-2,-5 Z', sw=1.5)
                + P('M-2.5,0 a2.5,2.5 0 1,0 5,0 a2.5,2.5 0 1,0 -5,0', sw=1.5),
        'window': P('M-8,-6 L8,-6 L8,7 L-8,7 Z M-8,-2 L8,-2', sw=1.6),
        'sidebar': P('M-8,-7 L8,-7 L8,7 L-8,7 Z M-3,-7 L-3,7 M-6.5,-4 L-4.5,-4 M-6.5,-1 L-4.5,-1 M-6.5,2 L-4.5,2', sw=1.5),
        'cube': P('M0,-8 L7,-4 L7,4 L0,8 L-7,4 L-7,-4 Z M-7,-4 L0,0 L7,-4 M0,0 L0,8', sw=1.6),
        'min': P('M-5,3 L5,3', sw=2.2),
        'x': P('M-5,-5 L5,5 M5,-5 L-5,5', sw=2.2),
        'check': P('M-4,0 L-1,3 L4,-3', sw=2.2),
        'back': P('M-1,-6 L-7,0 L-1,6 M-7,0 L7,0', sw=2.2),
    }
    return g[kind]

# ---------------------------------------------------------------- controls
STATES = ('n', 'h', 'p')

def pill_body(w, h, st, caption=None, icon=None, size=12, accent=False, icon_only=False):
    if accent:
        fills = {'n': (AMBERL, AMBER), 'h': ('#FFC070', '#EA9638'), 'p': (AMBERD, '#C97422')}
        stroke = {'n': AMBERD, 'h': '#FFFFFF', 'p': '#7A430F'}
        tc = {'n': DARKTXT, 'h': DARKTXT, 'p': '#FFF4E2'}
    else:
        fills = {'n': (STEEL2, '#1B3150'), 'h': ('#3F6B9B', '#2B507A'), 'p': ('#C26A1C', AMBERL)}
        stroke = {'n': '#44678E', 'h': AMBERL, 'p': '#8A4D12'}
        tc = {'n': INK, 'h': '#FFFFFF', 'p': DARKTXT}
    a, b = fills[st]
    d = lin('pg', 0, 0, 0, h, [(0, a), (1, b)])
    off = 1 if st == 'p' else 0
    sw = 1.5 if st == 'h' else 1
    if accent and st == 'h':
        sw = 2
    body = (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="5" ry="5" '
            f'fill="url(#pg)" stroke="{stroke[st]}" stroke-width="{sw}"/>')
    if st == 'n' and not accent:
        body += f'<rect x="5" y="1.5" width="{w-10}" height="1" fill="#5C82AB" fill-opacity="0.6"/>'
    if st == 'h' and not accent and w >= 40:
        body += f'<rect x="8" y="{h-3.5}" width="{w-16}" height="1.5" fill="{AMBERL}"/>'
    c = tc[st]
    cy = h / 2 + off
    if icon_only:
        body += glyph(icon, w / 2 + off, cy, c)
    elif icon:
        tw = len(caption) * size * 0.56
        total = tw + 24
        x0 = (w - total) / 2
        body += glyph(icon, x0 + 8 + off, cy, c)
        body += text(x0 + 24 + off, cy + size * 0.36, caption, size, c, 'bold')
    elif caption:
        body += text(w / 2 + off, cy + size * 0.36, caption, size, c, 'bold', 'middle')
    return body, d

def pill(name, x, y, w, h, backdrop, **kw):
    for st in STATES:
        body, d = pill_body(w, h, st, **kw)
        control(f'{name}_{st}', x, y, w, h, backdrop, body, d)

def tile(name, x, y, w, h, backdrop, caption, icon):
    """Tall tool tile of the reading screen: icon over a caption."""
    for st in STATES:
        fills = {'n': ('#22364D', '#192838'), 'h': ('#35597F', '#24405F'), 'p': ('#C26A1C', AMBERL)}[st]
        stroke = {'n': '#34506F', 'h': AMBERL, 'p': '#8A4D12'}[st]
        c = {'n': '#D2DEE7', 'h': '#FFFFFF', 'p': DARKTXT}[st]
        ic = {'n': AMBERL, 'h': '#FFC070', 'p': DARKTXT}[st]
        off = 1 if st == 'p' else 0
        d = lin('tg', 0, 0, 0, h, [(0, fills[0]), (1, fills[1])])
        body = (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="6" ry="6" fill="url(#tg)" '
                f'stroke="{stroke}" stroke-width="{1.5 if st == "h" else 1}"/>')
        body += glyph(icon, w / 2 + off, 22 + off, ic, 1.15)
        body += text(w / 2 + off, h - 11 + off, caption, 11, c, 'bold', 'middle')
        control(f'{name}_{st}', x, y, w, h, backdrop, body, d)

def card(name, x, y, w, h, num, title, sub):
    for st in STATES:
        fill = {'n': '#1A2733', 'h': '#22364B', 'p': AMBER}[st]
        stroke = {'n': '#2E4257', 'h': AMBERL, 'p': AMBERD}[st]
        badge = {'n': STEEL, 'h': AMBER, 'p': '#1A2733'}[st]
        bstroke = {'n': STEEL3, 'h': '#FFC070', 'p': '#1A2733'}[st]
        bnum = {'n': INK, 'h': DARKTXT, 'p': AMBERL}[st]
        tc = {'n': INK, 'h': '#FFFFFF', 'p': DARKTXT}[st]
        sc = {'n': DIM, 'h': '#C4D2DC', 'p': '#4A2A08'}[st]
        off = 1 if st == 'p' else 0
        body = (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="6" ry="6" fill="{fill}" '
                f'stroke="{stroke}" stroke-width="{1.5 if st == "h" else 1}"/>'
                f'<circle cx="{26+off}" cy="{h/2+off}" r="15" fill="{badge}" stroke="{bstroke}" stroke-width="1.5"/>'
                + text(26 + off, h / 2 + 5.5 + off, str(num), 15, bnum, 'bold', 'middle')
                + text(52 + off, 22 + off, title, 13.5, tc, 'bold')
                + text(52 + off, 39 + off, sub, 10.5, sc))
        if st == 'h':
            body += glyph('right', w - 16, h / 2, AMBERL, 0.9)
        control(f'{name}_{st}', x, y, w, h, MAIN, body)

SW = ('1', '2', '3', '4')   # off, off with pointer, on with pointer, on

def switch_pics(name, x, y, w, h, backdrop, draw):
    for i, look in enumerate(SW):
        on = i >= 2
        hover = i in (1, 2)
        body, d = draw(w, h, on, hover)
        control(f'{name}_{look}', x, y, w, h, backdrop, body, d)

def check_draw(caption, radio=False):
    def draw(w, h, on, hover):
        body = ''
        if hover:
            body += (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="4" ry="4" '
                     f'fill="#24374B" stroke="#3E6690" stroke-width="1"/>')
        bx, by = 6, h / 2 - 8
        ring = AMBERL if hover else ('#D9822B' if on else '#5F7A93')
        fill = AMBER if on else '#0F151B'
        if radio:
            body += f'<circle cx="{bx+8}" cy="{h/2}" r="7.5" fill="#0F151B" stroke="{ring}" stroke-width="1.6"/>'
            if on:
                body += f'<circle cx="{bx+8}" cy="{h/2}" r="4" fill="{AMBERL if hover else AMBER}"/>'
        else:
            body += (f'<rect x="{bx}" y="{by}" width="16" height="16" rx="3" ry="3" fill="{fill}" '
                     f'stroke="{ring}" stroke-width="1.6"/>')
            if on:
                body += glyph('check', bx + 8, h / 2, DARKTXT, 1.0)
        tc = '#FFFFFF' if hover else (INK if on else '#AFBFCB')
        body += text(bx + 24, h / 2 + 4.5, caption, 12, tc, 'bold' if on else 'normal')
        return body, ''
    return draw

def tab_draw(caption, size=12, hanging=False):
    """A tab standing on the panel below it, or hanging from the panel above it (mirrored)."""
    def draw(w, h, on, hover):
        fill = {(0, 0): '#16202A', (0, 1): '#203042', (1, 1): '#2D5580', (1, 0): STEEL}[(on, hover)]
        tc = {(0, 0): '#8FA3B1', (0, 1): '#FFFFFF', (1, 1): '#FFFFFF', (1, 0): INK}[(on, hover)]
        top = {(0, 0): '#2E4257', (0, 1): '#7A6040', (1, 1): '#FFC070', (1, 0): AMBER}[(on, hover)]
        body = (f'<path d="M0.5,{h} L0.5,4 Q0.5,0.5 4,0.5 L{w-4},0.5 Q{w-0.5},0.5 {w-0.5},4 L{w-0.5},{h} Z" '
                f'fill="{fill}" stroke="#34506F" stroke-width="1"/>'
                f'<rect x="2" y="0" width="{w-4}" height="{3 if on else 2}" fill="{top}"/>')
        if hanging:
            body = f'<g transform="matrix(1,0,0,-1,0,{h})">{body}</g>'
        # the coloured edge takes a few pixels at the outer side: the caption keeps clear of it
        base = h / 2 + (size * 0.36 - 0.5 if hanging else 5.5 * size / 12)
        body += text(w / 2, base, caption, size, tc, 'bold', 'middle')
        return body, ''
    return draw

def icon_switch_draw(icon):
    def draw(w, h, on, hover):
        fill = {(0, 0): '#16202A', (0, 1): '#243649', (1, 1): '#35597F', (1, 0): '#22364D'}[(on, hover)]
        stroke = AMBERL if hover else ('#D9822B' if on else '#34506F')
        c = (AMBERL if on else ('#FFFFFF' if hover else '#7F93A3'))
        body = (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="4" ry="4" fill="{fill}" '
                f'stroke="{stroke}" stroke-width="{1.5 if hover else 1}"/>' + glyph(icon, w / 2, h / 2, c))
        return body, ''
    return draw

def toggle_draw(caption):
    def draw(w, h, on, hover):
        fill = '#24374B' if hover else '#19242F'
        stroke = AMBERL if hover else '#34506F'
        body = (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="{h/2-1}" ry="{h/2-1}" '
                f'fill="{fill}" stroke="{stroke}" stroke-width="{1.5 if hover else 1}"/>')
        tx, ty = w - 52, h / 2
        track = AMBER if on else '#0E141A'
        body += (f'<rect x="{tx}" y="{ty-9}" width="40" height="18" rx="9" ry="9" fill="{track}" '
                 f'stroke="{AMBERL if on else "#4A6178"}" stroke-width="1.2"/>')
        kx = tx + (31 if on else 9)
        body += f'<circle cx="{kx}" cy="{ty}" r="6.5" fill="{"#FFF2DC" if on else ("#C9D4DC" if hover else "#8496A6")}"/>'
        body += glyph('cube', 22, h / 2, AMBERL if on else ('#FFFFFF' if hover else DIM), 0.95)
        tc = '#FFFFFF' if hover or on else '#B8C6D0'
        body += text(38, h / 2 + 4.5, caption, 12.5, tc, 'bold')
        return body, ''
    return draw

def winbtn(name, x, y, backdrop, icon, danger=False):
    w, h = 28, 24
    for st in STATES:
        if st == 'n':
            body = (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="4" ry="4" fill="#FFFFFF" '
                    f'fill-opacity="0.06" stroke="#5C82AB" stroke-opacity="0.55" stroke-width="1"/>' +
                    glyph(icon, w / 2, h / 2, '#C9D6E0'))
        elif st == 'h':
            f_ = '#C0392B' if danger else '#3F6B9B'
            body = (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="4" ry="4" fill="{f_}" '
                    f'stroke="{"#F08070" if danger else AMBERL}" stroke-width="1.2"/>' +
                    glyph(icon, w / 2, h / 2, '#FFFFFF'))
        else:
            f_ = '#7E2018' if danger else AMBER
            body = (f'<rect x="0.75" y="0.75" width="{w-1.5}" height="{h-1.5}" rx="4" ry="4" fill="{f_}" '
                    f'stroke="#3A0E0A" stroke-width="1.2"/>' +
                    glyph(icon, w / 2 + 1, h / 2 + 1, '#FFFFFF' if danger else DARKTXT))
        control(f'{name}_{st}', x, y, w, h, backdrop, body)

# ---------------------------------------------------------------- emblem
def emblem(cx, cy, r):
    teeth = []
    for i in range(24):
        a = math.pi * 2 * i / 24
        rr = r if i % 2 == 0 else r * 0.82
        teeth.append(f'{cx + rr * math.cos(a):.1f},{cy + rr * math.sin(a):.1f}')
    s = f'<polygon points="{" ".join(teeth)}" fill="{AMBER}"/>'
    s += f'<circle cx="{cx}" cy="{cy}" r="{r*0.66:.1f}" fill="#15283F" stroke="#FFC070" stroke-width="{max(1, r/12):.1f}"/>'
    # a piston in the middle
    pw, ph = r * 0.56, r * 0.42
    s += (f'<rect x="{cx-pw/2:.1f}" y="{cy-r*0.42:.1f}" width="{pw:.1f}" height="{ph:.1f}" rx="{r/14:.1f}" fill="{INK}"/>'
          f'<rect x="{cx-pw/2:.1f}" y="{cy-r*0.30:.1f}" width="{pw:.1f}" height="{max(1,r/18):.1f}" fill="#15283F"/>'
          f'<line x1="{cx}" y1="{cy}" x2="{cx+r*0.16:.1f}" y2="{cy+r*0.36:.1f}" stroke="{INK}" stroke-width="{max(1.5,r/8):.1f}" stroke-linecap="round"/>'
          f'<circle cx="{cx+r*0.16:.1f}" cy="{cy+r*0.38:.1f}" r="{max(1.5,r/9):.1f}" fill="{AMBERL}"/>')
    return s

def header(width, name='Автомобильный двигатель', sub='иллюстрированный справочник'):
    return (emblem(30, 28, 17) + text(56, 26, name, 17, '#FFFFFF', 'bold') +
            text(57, 44, sub, 11.5, STEELX))

def porthole():
    """Frame of the animated piston shown at 583,470 (96 x 96) on screens 0, 2 and 3."""
    return ('<rect x="575" y="462" width="112" height="112" rx="14" ry="14" fill="#0D1217" stroke="#2C3B49" stroke-width="1"/>'
            '<rect x="579" y="466" width="104" height="104" rx="10" ry="10" fill="#E4EAEE" stroke="#D9822B" stroke-width="3"/>'
            + text(631, 590, 'рабочий цикл', 10, DIM, 'normal', 'middle'))

def panel_frame(x1, y1, x2, y2):
    return (f'<rect x="{x1-4}" y="{y1-4}" width="{x2-x1+8}" height="{y2-y1+8}" rx="5" ry="5" fill="#0C1116" stroke="#2C3B49" stroke-width="1"/>'
            f'<rect x="{x1-1}" y="{y1-1}" width="{x2-x1+2}" height="{y2-y1+2}" fill="#FFFFFF" stroke="#3E6690" stroke-width="1"/>')

def screen_bg(name, deco, extra_defs=''):
    save(name, 800, 600, MAIN_BASE + deco, MAIN_DEFS + extra_defs)

# ================================================================= SCREENS
WINBTN = [('wbtn_min', 730, 16, 'min', False), ('wbtn_x', 762, 16, 'x', True)]
for n, x, y, ic, dng in WINBTN:
    winbtn(n, x, y, MAIN, ic, dng)

# ---- screen 0: cover
def engine_art(ox, oy):
    """Line drawing of a cylinder with piston, rod, crank and spark plug."""
    s = f'<g transform="translate({ox},{oy})">'
    s += '<rect x="60" y="18" width="120" height="150" rx="6" fill="#16283D" stroke="#3E6690" stroke-width="2"/>'
    s += '<rect x="80" y="30" width="80" height="120" fill="#0F1A27" stroke="#5C82AB" stroke-width="1.5"/>'
    for yy in (40, 56, 72, 88, 104, 120, 136):
        s += f'<line x1="60" y1="{yy}" x2="52" y2="{yy}" stroke="#3E6690" stroke-width="3"/>'
        s += f'<line x1="180" y1="{yy}" x2="188" y2="{yy}" stroke="#3E6690" stroke-width="3"/>'
    s += '<rect x="84" y="70" width="72" height="46" rx="4" fill="#A5B6BD" stroke="#E9EEF2" stroke-width="1.5"/>'
    for yy in (76, 82, 88):
        s += f'<line x1="84" y1="{yy}" x2="156" y2="{yy}" stroke="#4A6178" stroke-width="1.5"/>'
    s += '<circle cx="120" cy="100" r="6" fill="#1F3A5F" stroke="#E9EEF2" stroke-width="1.5"/>'
    s += '<line x1="120" y1="100" x2="146" y2="196" stroke="#E9EEF2" stroke-width="9" stroke-linecap="round"/>'
    s += '<line x1="120" y1="100" x2="146" y2="196" stroke="#5C82AB" stroke-width="4" stroke-linecap="round"/>'
    s += '<circle cx="120" cy="196" r="34" fill="none" stroke="#3E6690" stroke-width="2" stroke-dasharray="4,4"/>'
    s += '<circle cx="120" cy="196" r="12" fill="#1F3A5F" stroke="#E9EEF2" stroke-width="2"/>'
    s += '<circle cx="146" cy="196" r="6" fill="#F2A64A"/>'
    s += '<rect x="112" y="0" width="16" height="20" fill="#C9D4DC" stroke="#E9EEF2" stroke-width="1"/>'
    s += '<rect x="116" y="-12" width="8" height="12" fill="#E9EEF2"/>'
    s += '<path d="M114,30 L120,40 L126,30" fill="none" stroke="#F2A64A" stroke-width="2"/>'
    s += '<path d="M112,48 L120,38 L128,48 M106,56 L120,42 L134,56" fill="none" stroke="#F2A64A" stroke-width="1.5" stroke-opacity="0.7"/>'
    s += '</g>'
    return s

cover_deco = header(800)
cover_deco += ('<circle cx="640" cy="160" r="96" fill="#1F3A5F" fill-opacity="0.35"/>'
               '<circle cx="640" cy="160" r="66" fill="#1F3A5F" fill-opacity="0.35"/>')
cover_deco += f'<g transform="translate(550,74) scale(0.75)">{engine_art(0, 0)}</g>'
cover_deco += text(40, 116, 'Автомобильный', 40, '#FFFFFF', 'bold')
cover_deco += text(40, 160, 'двигатель', 40, AMBERL, 'bold')
cover_deco += '<rect x="42" y="176" width="64" height="3" fill="#D9822B"/>'
cover_deco += text(40, 204, 'Устройство, системы, обслуживание и ремонт', 14.5, '#C4D2DC')
cover_deco += text(40, 226, '34 главы · схемы · таблицы · видео · объёмная модель', 12, '#7F93A3')
cover_deco += text(40, 264, 'РАЗДЕЛЫ КНИГИ', 11, AMBERL, 'bold')
cover_deco += '<rect x="144" y="259" width="416" height="1" fill="#2E4257"/>'
cover_deco += text(576, 264, 'НАЧАТЬ', 11, AMBERL, 'bold')
cover_deco += '<rect x="632" y="259" width="128" height="1" fill="#2E4257"/>'
cover_deco += text(40, 470, 'ПОИСК ПО ТЕКСТУ', 11, AMBERL, 'bold')
cover_deco += '<rect x="156" y="465" width="404" height="1" fill="#2E4257"/>'
cover_deco += porthole()
cover_deco += text(784, 568, 'версия 1.0 · 2026', 10, FAINT, 'normal', 'end')
screen_bg('scr_cover', cover_deco)

SECTIONS = [
    ('sec_engine', 'Устройство двигателя', 'Блок, поршни, коленвал, ГРМ', 'engine.htm'),
    ('sec_systems', 'Системы двигателя', 'Смазка, охлаждение, зажигание', 'systems.htm'),
    ('sec_service', 'Обслуживание и ремонт', 'Регламент, масло, свечи, ремень', 'service.htm'),
    ('sec_tables', 'Справочные таблицы', 'Моменты затяжки, зазоры, объёмы', 'tables.htm'),
    ('sec_dict', 'Тезаурус', 'Словарь терминов от А до Я', 'tez_index.htm'),
    ('sec_extras', 'Материалы на диске', 'Бланки, схемы, звуки и игра', 'extras.htm'),
]
CARD_POS = [(40, 274), (300, 274), (40, 332), (300, 332), (40, 390), (300, 390)]
for i, ((n, t, s, _), (x, y)) in enumerate(zip(SECTIONS, CARD_POS)):
    card(n, x, y, 252, 50, i + 1, t, s)

pill('st_read', 576, 274, 184, 50, MAIN, caption='Читать книгу', icon='book', size=14, accent=True)
pill('st_media', 576, 332, 184, 50, MAIN, caption='Медиа', icon='film', size=14)
pill('st_tools', 576, 390, 184, 50, MAIN, caption='Сервис', icon='tools', size=14)
switch_pics('sw_case', 40, 478, 176, 28, MAIN, check_draw('Учитывать регистр'))
switch_pics('sw_scope_page', 232, 478, 160, 28, MAIN, check_draw('Только на странице', True))
switch_pics('sw_scope_all', 398, 478, 162, 28, MAIN, check_draw('На всех страницах', True))
pill('cv_music', 40, 546, 120, 34, MAIN, caption='Музыка', icon='note')
pill('cv_about', 168, 546, 120, 34, MAIN, caption='О книге', icon='info')
pill('cv_exit', 296, 546, 120, 34, MAIN, caption='Выход', icon='power')

# ---- screen 1: reading
PANEL = (33, 90, 706, 511)
# section tabs hanging under the reading area (one switch group opening each section's first
# page), on a strip of the frame's colour: the gaps between them read as part of the row.
# Their switchgrp lines in Struct.txt name the same places: x 33 146 258 371 483 596, y 516.
SECTION_TABS = ['Устройство', 'Системы', 'Обслуживание', 'Таблицы', 'Словарь', 'На диске']
SEC_TAB_W, SEC_TAB_H = 110, 24
SEC_TAB_Y = PANEL[3] + 5          # just below the panel frame
TAB_STRIP = (f'<rect x="{PANEL[0]}" y="{SEC_TAB_Y}" width="{PANEL[2] - PANEL[0]}" height="{SEC_TAB_H}" '
             'fill="#0C1116"/>')
READ_TABS = (MAIN_DEFS, MAIN_BASE + TAB_STRIP)
read_deco = header(800) + panel_frame(*PANEL) + TAB_STRIP
read_deco += '<rect x="33" y="88" width="165" height="2" fill="#1F3A5F"/>'
read_deco += text(716, 82, 'ИНСТРУМЕНТЫ', 9, AMBERL, 'bold')
read_deco += '<rect x="326" y="548" width="230" height="30" rx="4" ry="4" fill="#0B1015" stroke="#2C3B49"/>'
screen_bg('scr_read', read_deco)

switch_pics('tab_contents', 33, 62, 82, 28, MAIN, tab_draw('Содержание'))
switch_pics('tab_index', 116, 62, 82, 28, MAIN, tab_draw('Указатель'))
switch_pics('sw_tree', 202, 63, 28, 24, MAIN, icon_switch_draw('sidebar'))
for i, ((n, *_), caption) in enumerate(zip(SECTIONS, SECTION_TABS)):
    x = PANEL[0] + round(i * (PANEL[2] - PANEL[0] - SEC_TAB_W) / (len(SECTION_TABS) - 1))
    switch_pics('tab_' + n[4:], x, SEC_TAB_Y, SEC_TAB_W, SEC_TAB_H, READ_TABS, tab_draw(caption, 11.5, hanging=True))
for n, x, w, ic in [('nav_back', 586, 30, 'left'), ('nav_backlist', 616, 18, 'down'),
                    ('nav_fwd', 640, 30, 'right'), ('nav_fwdlist', 670, 18, 'down')]:
    pill(n, x, 63, w, 24, MAIN, icon=ic, icon_only=True)
TOOLS = [('tl_find', 'Поиск', 'search'), ('tl_print', 'Печать', 'print'),
         ('tl_favs', 'Закладки', 'star'), ('tl_addfav', 'Отметить', 'starplus'),
         ('tl_menu', 'Меню', 'menu'), ('tl_dict', 'Словарь', 'dict')]
for i, (n, c, ic) in enumerate(TOOLS):
    tile(n, 716, 92 + i * 70, 72, 62, MAIN, c, ic)
pill('ch_prev', 33, 546, 140, 34, MAIN, caption='Пред. глава', icon='left')
pill('ch_next', 179, 546, 140, 34, MAIN, caption='След. глава', icon='right')
# the footer backdrop does not change along x, so these pictures serve every screen
pill('nv_cover', 566, 546, 72, 34, MAIN, caption='Титул', size=12)
pill('nv_media', 642, 546, 72, 34, MAIN, caption='Медиа', size=12)
pill('nv_tools', 718, 546, 72, 34, MAIN, caption='Сервис', size=12)
pill('nv_read', 109, 546, 72, 34, MAIN, caption='Читать', size=12)

# ---- screen 2: media
STAGE = (32, 138, 688, 397)
media_deco = header(800)
media_deco += text(40, 96, 'Медиа', 22, '#FFFFFF', 'bold')
media_deco += text(40, 120, 'Слайды, видеоролик и объёмная модель двигателя', 12.5, DIM)
media_deco += (f'<rect x="28" y="134" width="664" height="267" rx="6" ry="6" fill="#0B1015" stroke="#2C3B49"/>'
               f'<rect x="31" y="137" width="658" height="261" fill="#003232" fill-opacity="0.25" stroke="#3E6690"/>')
for x0 in (36, 364):
    media_deco += f'<rect x="{x0-1}" y="147" width="322" height="242" fill="#101820" stroke="#2E4257"/>'
media_deco += text(196, 270, 'слайды', 13, '#3E5569', 'normal', 'middle')
media_deco += text(524, 270, 'видео', 13, '#3E5569', 'normal', 'middle')
media_deco += text(36, 418, 'СЛАЙДЫ', 10, AMBERL, 'bold') + text(94, 418, 'схемы и фотографии узлов', 10, DIM)
media_deco += text(364, 418, 'ВИДЕО', 10, AMBERL, 'bold') + text(414, 418, 'работа четырёхтактного двигателя', 10, DIM)
tips = ['Переключатель', '«3D-модель»', 'показывает', 'объёмный', 'двигатель.', '', 'Тяните мышью,', 'чтобы повернуть', 'модель.']
for i, t in enumerate(tips):
    media_deco += text(706, 160 + i * 16, t, 10.5, DIM)
media_deco += '<rect x="700" y="148" width="2" height="136" fill="#D9822B"/>'
media_deco += porthole()
screen_bg('scr_media', media_deco)

switch_pics('sw_model', 508, 88, 180, 36, MAIN, toggle_draw('3D-модель'))
pill('pic_prev', 150, 426, 44, 32, MAIN, icon='left', icon_only=True)
pill('pic_next', 198, 426, 44, 32, MAIN, icon='right', icon_only=True)
for i, (n, ic) in enumerate([('clip_rew', 'rew'), ('clip_play', 'play'), ('clip_pause', 'pause'),
                             ('clip_stop', 'stop'), ('clip_ffw', 'ffw')]):
    pill(n, 416 + i * 44, 426, 40, 32, MAIN, icon=ic, icon_only=True, accent=(ic == 'play'))
pill('nv_book', 33, 546, 150, 34, MAIN, caption='К книге', icon='back')

# ---- screen 3: tools
HTML_T = (304, 100, 770, 452)
tools_deco = header(800)
tools_deco += text(36, 81, 'Папка для установки:', 12.5, '#C4D2DC', 'bold')
tools_deco += ('<rect x="186" y="63" width="318" height="26" rx="3" ry="3" fill="#0C1116" stroke="#3E6690"/>'
               '<rect x="190" y="66" width="310" height="20" fill="#FFFFFF"/>')
tools_deco += text(514, 81, 'для распаковки и копирования', 10.5, DIM)
tools_deco += text(36, 172, 'При первом запуске игра ставится с диска.', 10, DIM)
tools_deco += panel_frame(*HTML_T)
groups = [(112, 'ИГРА «СОБЕРИ МОТОР»'), (196, 'СТРАНИЦА СПРАВА'), (302, 'АРХИВ НА ДИСКЕ'), (368, 'ПРОГРАММА')]
for y, t in groups:
    tools_deco += text(36, y, t, 10, AMBERL, 'bold') + f'<rect x="36" y="{y+4}" width="252" height="1" fill="#2E4257"/>'
tools_deco += text(36, 470, 'Откройте архив ссылкой на странице,', 10, DIM)
tools_deco += text(36, 484, 'выберите файл и нажмите «Распаковать».', 10, DIM)
tools_deco += porthole()
screen_bg('scr_tools', tools_deco)

pill('tk_play', 36, 122, 124, 32, MAIN, caption='Играть', icon='game')
pill('tk_remove', 164, 122, 124, 32, MAIN, caption='Удалить', icon='trash')
pill('tk_copy', 36, 206, 252, 32, MAIN, caption='Скопировать страницу', icon='copy')
pill('tk_fonts', 36, 244, 252, 32, MAIN, caption='Установить шрифты', icon='font')
pill('tk_unpack', 36, 312, 252, 32, MAIN, caption='Распаковать архив', icon='box')
pill('tk_options', 36, 378, 252, 32, MAIN, caption='Настройки', icon='gear')
pill('tk_plain', 36, 416, 252, 32, MAIN, caption='Обычное окно', icon='window')

# ---- popups (reading and tools screens)
save('pop_bg', 232, 40,
     '<rect x="0" y="0" width="232" height="40" fill="#1B2631"/>'
     '<rect x="0.5" y="0.5" width="231" height="39" fill="none" stroke="#3E6690"/>'
     '<rect x="0" y="0" width="232" height="2" fill="#D9822B"/>')
save('pop_item_n', 220, 24, '<rect x="0" y="0" width="220" height="24" fill="#1B2631"/>')
save('pop_item_h', 220, 24, '<rect x="0" y="0" width="220" height="24" fill="#1B2631"/>'
     '<rect x="0.5" y="0.5" width="219" height="23" rx="3" ry="3" fill="#2B507A" stroke="#3E6690"/>'
     '<rect x="0" y="3" width="3" height="18" fill="#F2A64A"/>')
save('pop_item_p', 220, 24, '<rect x="0" y="0" width="220" height="24" fill="#1B2631"/>'
     '<rect x="0.5" y="0.5" width="219" height="23" rx="3" ry="3" fill="#D9822B" stroke="#A65E17"/>')

# ---- scale bar of the find dialog (at 33,75 of the dialog)
save('status_up', 260, 10, '<rect x="0" y="0" width="260" height="10" fill="#0C1116"/>'
     '<rect x="0.5" y="0.5" width="259" height="9" fill="none" stroke="#34506F"/>')
save('status_dn', 260, 10, '<rect x="0" y="0" width="260" height="10" fill="url(#sg)"/>'
     '<rect x="0.5" y="0.5" width="259" height="9" fill="none" stroke="#A65E17"/>',
     lin('sg', 0, 0, 0, 10, [(0, '#FFC070'), (1, '#C97422')]))

# ---- application emblem
save('emblem', 32, 32, '<rect x="0" y="0" width="32" height="32" fill="#15283F"/>' + emblem(16, 16, 15))

# ================================================================= DIALOG
def dlg_bg(name, h, title, deco=''):
    body = DLG_BASE.replace('height="229"', f'height="{h-31}"')
    body += emblem(16, 15, 10) + text(32, 20, title, 12.5, '#FFFFFF', 'bold')
    body += f'<rect x="0.5" y="0.5" width="399" height="{h-1}" fill="none" stroke="#3E6690"/>'
    save(name, 400, h, body + deco, DLG_DEFS)

dlg_bg('dlg_msg', 150, 'Сообщение', '<rect x="60" y="92" width="280" height="1" fill="#2E4257"/>')
dlg_bg('dlg_noprn', 150, 'Печать',
       text(200, 62, 'Принтер не установлен.', 14, AMBERL, 'bold', 'middle') +
       text(200, 84, 'Установите принтер в системе и повторите печать.', 11, '#C4D2DC', 'normal', 'middle'))
dlg_bg('dlg_prnerr', 150, 'Печать',
       text(200, 62, 'Принтер по умолчанию недоступен.', 14, AMBERL, 'bold', 'middle') +
       text(200, 84, 'Проверьте, что он включён и подключён.', 11, '#C4D2DC', 'normal', 'middle'))
find_deco = ('<rect x="14" y="36" width="262" height="26" rx="3" ry="3" fill="#0C1116" stroke="#3E6690"/>'
             '<rect x="16" y="38" width="258" height="22" fill="#FFFFFF"/>'
             +
             '<rect x="10" y="126" width="380" height="115" fill="#FFFFFF" stroke="#3E6690"/>'
             + text(14, 123, 'НАЙДЕННЫЕ СТРАНИЦЫ', 9.5, AMBERL, 'bold') +
             '<rect x="150" y="119" width="238" height="1" fill="#2E4257"/>')
dlg_bg('dlg_find', 252, 'Поиск по книге', find_deco)
pill('dlg_ok', 160, 108, 80, 30, DLG, caption='Хорошо', size=12, accent=True)
pill('dlg_search', 284, 35, 104, 28, DLG, caption='Найти', icon='search', size=12, accent=True)
winbtn('dlg_shut', 366, 3, DLG, 'x', True)
switch_pics('dlg_mode_page', 10, 90, 120, 22, DLG, check_draw('На странице', True))
switch_pics('dlg_mode_book', 136, 90, 126, 22, DLG, check_draw('Во всей книге', True))
switch_pics('dlg_mode_tree', 266, 90, 124, 22, DLG, check_draw('В оглавлении', True))

# ================================================================= ABOUT
ABOUT_SHAPE = [(18, 0), (442, 0), (460, 18), (460, 282), (442, 300), (18, 300), (0, 282), (0, 18)]
pts = ' '.join(f'{x},{y}' for x, y in ABOUT_SHAPE)
about = ('<rect x="0" y="0" width="460" height="300" fill="url(#ab)"/>'
         '<rect x="0" y="0" width="460" height="96" fill="#1F3A5F"/>'
         '<rect x="0" y="96" width="460" height="3" fill="#D9822B"/>'
         f'<polygon points="{pts}" fill="none" stroke="#F2A64A" stroke-width="3"/>'
         + emblem(60, 50, 34))
# a faint gear watermark on the right of the body
wm = []
for i in range(32):
    ang = math.pi * 2 * i / 32
    rr = 74 if i % 2 == 0 else 62
    wm.append(f'{392 + rr * math.cos(ang):.1f},{178 + rr * math.sin(ang):.1f}')
about += (f'<polygon points="{" ".join(wm)}" fill="#3E6690" fill-opacity="0.10"/>'
          '<circle cx="392" cy="178" r="34" fill="#10161B" fill-opacity="0.6"/>')
save('about_bg', 460, 300, about, ABOUT_DEFS)
for st in ('n', 'h'):
    body, d = pill_body(100, 30, st, caption='Закрыть', size=12, accent=True)
    control(f'about_ok_{st}', 340, 254, 100, 30, ABOUT, body, d)

# ================================================================= THESAURUS
tez = (MAIN_BASE.replace('800', '340') + emblem(30, 28, 17) + text(56, 26, 'Тезаурус', 17, '#FFFFFF', 'bold') +
       text(57, 44, 'словарь терминов', 11.5, STEELX) +
       '<rect x="112" y="62" width="140" height="26" rx="3" ry="3" fill="#0C1116" stroke="#3E6690"/>'
       '<rect x="114" y="65" width="136" height="20" fill="#FFFFFF"/>' +
       panel_frame(10, 118, 330, 470) +
       '<rect x="0.5" y="0.5" width="339" height="499" fill="none" stroke="#3E6690"/>')
save('tez_bg', 340, 500, tez.replace('height="71"', 'height="71"'), MAIN_DEFS)
# the window buttons reuse wbtn_min and wbtn_x: same header, same height
pill('tez_home', 78, 63, 30, 24, TEZ, icon='home', icon_only=True)
pill('tez_find', 256, 62, 74, 26, TEZ, caption='Найти', size=12, accent=True)
# back and forward reuse nav_back / nav_fwd (same backdrop at the same height)

print(len(written), 'pictures')
