#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Sends raw XTest key and mouse events to the X server, one step after another:
#
#   xkeys.py {key K[+K...] | move X Y | click X Y | type TEXT | focus}...
#
# key presses the X keycodes in order and releases them in reverse (64+57 is Alt_L+N); type types
# TEXT in lower case with the keys that carry it in the current layout, without Shift, and fails
# when a character is on no key. focus prints the name of the window that has the keyboard focus.
import sys, time
from Xlib import X, display

d, args = display.Display(), iter(sys.argv[1:])

def fake(kind, detail, x=0, y=0):
    d.xtest_fake_input(kind, detail, x=x, y=y)
    d.sync()
    time.sleep(0.03)

def key(codes):
    for kind, code in [(X.KeyPress, c) for c in codes] + [(X.KeyRelease, c) for c in reversed(codes)]:
        fake(kind, code)

for step in args:
    if step == 'focus':  # Qt gives the focus to the top-level window itself
        print(getattr(d.get_input_focus().focus, 'get_wm_name', lambda: '')())
    elif step == 'key':
        key([int(code) for code in next(args).split('+')])
    elif step == 'type':  # X's Cyrillic keysyms are 0x600 plus the letter's KOI8-R code
        for c in next(args).lower():
            code = d.keysym_to_keycode(ord(c) if c.isascii() else 0x600 | c.encode('koi8_r')[0])
            key([code]) if code else sys.exit(f'xkeys: "{c}" is on no key of the current layout')
    else:  # move or click, with the left button; the motion is absolute (detail 0)
        assert step in ('move', 'click'), f'xkeys: unknown step {step}'
        x, y = int(next(args)), int(next(args))
        for kind in [X.MotionNotify] + [X.ButtonPress, X.ButtonRelease] * (step == 'click'):
            fake(kind, int(kind != X.MotionNotify), x, y)
