#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a screen reader reads it: the program runs on a private Xvfb display inside a
# private D-Bus session, driven by raw X events (xkeys.py), and its accessibility tree is read over
# AT-SPI on every page.
#
#   a11y.py PROGRAM
#
# The window manager must be offered to move, minimise and close the window, nothing else. Per page
# it prints the figures of the tree and fails on a menu item, link or the credits line
# read as a label or without an action (a menu item also without its Alt+ key), an unnamed control
# one can use, a node marked showing inside a hidden one, a control present twice (a replaced set
# left in the tree) and a window that is no frame.
# Exit status: 0 all passed, 1 a check failed, 77 skipped (a tool is missing).
import os, shutil, subprocess, sys, tempfile, time

def skip(why):
    sys.exit(print(f'a11y: SKIPPED: {why}') or 77)

for tool in ('Xvfb', 'dbus-run-session', '/usr/libexec/at-spi-bus-launcher'):
    if not shutil.which(tool):
        skip(f'no {tool} (Debian: xvfb, dbus, at-spi2-core)')
try:
    import pyatspi
    from Xlib import display
except ImportError as e:
    skip(f'Debian\'s python3-pyatspi or python3-xlib is not installed ({e})')
if 'ZORVIK_A11Y_BUS' not in os.environ:  # a session bus of our own, with its own AT-SPI bus
    os.execvpe('dbus-run-session', ['dbus-run-session', '--', sys.executable] + sys.argv,
               dict(os.environ, ZORVIK_A11Y_BUS='1'))

WORK, FAILED = tempfile.mkdtemp(prefix='zorvik-a11y.'), []
xvfb = subprocess.Popen(['Xvfb', '-displayfd', '1', '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
os.environ['DISPLAY'] = ':' + xvfb.stdout.readline().decode().strip()
app = subprocess.Popen([sys.argv[1]], cwd=WORK, env=dict(
    os.environ, HOME=WORK, XDG_RUNTIME_DIR=WORK, QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
    LANG='ru_RU.UTF-8', LC_ALL='ru_RU.UTF-8'))
xkeys = lambda *steps: subprocess.run([sys.executable, os.path.join(sys.path[0], 'xkeys.py'), *steps], check=True)

def fail(what):
    FAILED.append(what)
    print(f'  FAIL {what}')

def until(what, test, seconds=10):  # test() true within the time, or a failure
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            if test():
                return True
        except Exception:  # no window yet, or a node gone while it was read
            pass
        time.sleep(0.1)
    fail(what)

application = lambda: next(a for a in pyatspi.Registry.getDesktop(0) if a and a.name == 'zorvik')
window = lambda: application()[0]
SHOWING = pyatspi.STATE_SHOWING

def nodes(root):  # (node, whether all its ancestors are showing), in tree order
    out, stack = [], [(root, True)]
    while stack:
        node, shown = stack.pop()
        out.append((node, shown))
        shown = shown and node.getState().contains(SHOWING)
        stack.extend((node[i], shown) for i in reversed(range(node.childCount)))
    return out

showing = lambda name: lambda: any(n.name == name and n.getState().contains(SHOWING) for n, _ in nodes(window()))
# The controls that act on a click, by name and the band of the window they lie in (y from, to):
# titles elsewhere share some of their names. Hidden nodes have no place, so only shown ones count.
CREDITS = 'Quelbrin 2026  https://quelbrin.example  Спасибо, что тренируете память вместе с нами'
ACTING = {name: (0, 22) for name in ('Старт', 'Настройки', 'Справка', 'Выход')}
ACTING.update({name: (220, 300) for name in ('Настройки программы', 'Работа с программой', 'Результаты',
                                             'Горячие клавиши', 'Новые программы Quelbrin')}, **{CREDITS: (350, 373)})
ONCE = ('Выход', CREDITS, 'Применить', 'СТОП')  # names that one set of controls holds once
USABLE = {'push button', 'menu item', 'link', 'entry', 'text', 'list', 'list item', 'combo box'}

def motif_hints():  # of the window that has them: which fields are set, functions, decorations
    d = display.Display()
    atom = d.intern_atom('_MOTIF_WM_HINTS')
    return [list(h.value)[:3] for w in d.screen().root.query_tree().children
            if (h := w.get_full_property(atom, 0))]

def walk(page):
    top = window()
    found = {'acting labels': [], 'unnamed': [], 'showing inside hidden': [], 'present twice': []}
    all_nodes, once = nodes(top), [n.name for n, _ in nodes(top) if n.name in ONCE]
    for n, parents_shown in all_nodes:
        role, shown = n.getRoleName(), n.getState().contains(SHOWING)
        y0, y1 = ACTING.get(n.name, (0, -1))
        if shown and y0 <= n.queryComponent().getExtents(0).y - top.queryComponent().getExtents(0).y < y1:
            action = n.queryAction() if 'Action' in pyatspi.listInterfaces(n) else None
            keys = action.getKeyBinding(0) if action and action.nActions else None
            if role == 'label' or keys is None or (role == 'menu item') != keys.startswith('Alt+'):
                found['acting labels'].append(f'{n.name} ({role}, keys {keys!r})')
        found['unnamed'] += [role] if role in USABLE and not n.name else []
        found['showing inside hidden'] += [f'{role} {n.name!r}'] if shown and not parents_shown else []
    found['present twice'] = sorted({name for name in once if once.count(name) > 1})
    print(f'{page}: {len(all_nodes)} nodes, ' + ', '.join(f'{len(v)} {k}' for k, v in found.items()) +
          f'; the window is a {top.getRoleName()}')
    for what, names in found.items():
        if names:
            fail(f'{page}: {what}: ' + ', '.join(sorted(set(names))[:6]))
    if top.getRoleName() != 'frame':
        fail(f'{page}: the window is no frame')

try:
    if until('the window appears in the AT-SPI tree', showing('Старт')):
        xkeys('click', '450', '45')  # on the grey band: the window takes the keyboard
        # both set: close, minimise and move; their buttons, the menu, the border
        if motif_hints() != [[1 | 2, 32 | 8 | 4, 32 | 16 | 8 | 2]]:
            fail(f'the window manager is offered more than move, minimise and close: {motif_hints()}')
        walk('start')
        for page, act, ready in (  # X keycodes: 64+33 is Alt+P, 36 Enter
                ('settings', ('key', '64+33'), showing('Применить')),
                ('help', ('key', '64+43'), showing('Горячие клавиши')),
                ('topic', ('click', '47', '236'), showing('Назад')),
                ('memorise', ('key', '64+57'), showing('СТОП')),
                ('recall', ('key', '36'), showing('Вспомненное слово')),
                (None, ('key', '36'), lambda: application()[1]),  # the question "Darizi2" shows
                ('results', ('key', '36'), showing('Показать слова')),
                ('review', ('click', '473', '88'), lambda: not showing('Показать слова')())):
            xkeys(*act)
            if until(f'{page or "the question"}: it shows', ready) and page:
                walk(page)
finally:
    app.kill(), xvfb.kill()
    shutil.rmtree(WORK, ignore_errors=True)
print(f'a11y: {len(FAILED)} checks failed')
sys.exit(1 if FAILED else 0)
