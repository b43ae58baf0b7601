/* Sends raw keyboard and mouse events to the X server through the XTest extension, for the
 * end-to-end run.
 *
 *   xkeys [-d MS] COMMAND...
 *
 * Commands run in order, with MS milliseconds (default 40) after each event:
 *   down KEYCODE | up KEYCODE    press or release one key by its X keycode
 *   key KEYCODE                  press and release it
 *   move X Y                     put the pointer at X,Y on the screen
 *   click X Y                    move there and click the left button
 *   sleep MS                     wait
 *   type TEXT                    type UTF-8 TEXT with the keys that produce it in the active
 *                                layout group (printable ASCII, Russian letters of either case)
 *   group                        print the active layout group (0 = first)
 *   codes TEXT                   print the keycodes that `type TEXT` would press (+ = with Shift)
 *
 * Exit status: 0 done; 1 bad use or a character the active layout cannot type;
 * 77 no display, no XTest or no XKEYBOARD (the caller skips then).
 */
#define _POSIX_C_SOURCE 200809L
#define XK_CYRILLIC
#define XK_LATIN1
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static Display *dpy;
static long delayMs = 40;

static void pause_ms(long ms)
{
    poll(NULL, 0, (int)ms);
}

static void settle(void)
{
    XSync(dpy, False);
    pause_ms(delayMs);
}

/* The Russian letters: their code point, their keysym, and the keycode of the key that carries
 * them on a standard PC keyboard with the ru layout (the same key as the Latin letter in the
 * comment with the us layout). */
struct Letter {
    unsigned code;
    KeySym keysym;
    unsigned keycode;
};

static const struct Letter russian[] = {
    {0x0439, XK_Cyrillic_shorti, 24}, /* q */
    {0x0446, XK_Cyrillic_tse, 25},    /* w */
    {0x0443, XK_Cyrillic_u, 26},      /* e */
    {0x043A, XK_Cyrillic_ka, 27},     /* r */
    {0x0435, XK_Cyrillic_ie, 28},     /* t */
    {0x043D, XK_Cyrillic_en, 29},     /* y */
    {0x0433, XK_Cyrillic_ghe, 30},    /* u */
    {0x0448, XK_Cyrillic_sha, 31},    /* i */
    {0x0449, XK_Cyrillic_shcha, 32},  /* o */
    {0x0437, XK_Cyrillic_ze, 33},     /* p */
    {0x0445, XK_Cyrillic_ha, 34},     /* [ */
    {0x044A, XK_Cyrillic_hardsign, 35}, /* ] */
    {0x0444, XK_Cyrillic_ef, 38},     /* a */
    {0x044B, XK_Cyrillic_yeru, 39},   /* s */
    {0x0432, XK_Cyrillic_ve, 40},     /* d */
    {0x0430, XK_Cyrillic_a, 41},      /* f */
    {0x043F, XK_Cyrillic_pe, 42},     /* g */
    {0x0440, XK_Cyrillic_er, 43},     /* h */
    {0x043E, XK_Cyrillic_o, 44},      /* j */
    {0x043B, XK_Cyrillic_el, 45},     /* k */
    {0x0434, XK_Cyrillic_de, 46},     /* l */
    {0x0436, XK_Cyrillic_zhe, 47},    /* ; */
    {0x044D, XK_Cyrillic_e, 48},      /* ' */
    {0x044F, XK_Cyrillic_ya, 52},     /* z */
    {0x0447, XK_Cyrillic_che, 53},    /* x */
    {0x0441, XK_Cyrillic_es, 54},     /* c */
    {0x043C, XK_Cyrillic_em, 55},     /* v */
    {0x0438, XK_Cyrillic_i, 56},      /* b */
    {0x0442, XK_Cyrillic_te, 57},     /* n */
    {0x044C, XK_Cyrillic_softsign, 58}, /* m */
    {0x0431, XK_Cyrillic_be, 59},     /* , */
    {0x044E, XK_Cyrillic_yu, 60},     /* . */
    {0x0451, XK_Cyrillic_io, 49},     /* ` */
};

static const struct Letter *russianLetter(unsigned code)
{
    for (size_t i = 0; i < sizeof russian / sizeof russian[0]; ++i) {
        if (russian[i].code == code)
            return &russian[i];
    }
    return NULL;
}

/* Decodes one UTF-8 character; returns its length, 0 on a malformed sequence. */
static int utf8_next(const unsigned char *s, unsigned *code)
{
    if (s[0] < 0x80) {
        *code = s[0];
        return 1;
    }
    if ((s[0] & 0xE0) == 0xC0 && (s[1] & 0xC0) == 0x80) {
        *code = ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
        return 2;
    }
    if ((s[0] & 0xF0) == 0xE0 && (s[1] & 0xC0) == 0x80 && (s[2] & 0xC0) == 0x80) {
        *code = ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
        return 3;
    }
    return 0;
}

static int active_group(void)
{
    XkbStateRec state;
    if (XkbGetState(dpy, XkbUseCoreKbd, &state) != Success)
        return -1;
    return state.group;
}

/* The lower-case Russian letter of a capital one, or 0. */
static unsigned russianLower(unsigned code)
{
    if (code >= 0x0410 && code <= 0x042F)
        return code + 0x20;
    if (code == 0x0401)
        return 0x0451;
    return 0;
}

/* The keysym that types a character: Russian letters of either case, printable ASCII. */
static KeySym keysym_of(unsigned code)
{
    const struct Letter *letter = russianLetter(code);
    if (letter)
        return letter->keysym;
    letter = russianLetter(russianLower(code));
    if (letter) {
        KeySym lower, upper;
        XConvertCase(letter->keysym, &lower, &upper);
        return upper;
    }
    if (code >= 0x20 && code < 0x7F)
        return (KeySym)code;
    return NoSymbol;
}

/* Finds the key that gives KEYSYM in GROUP without Shift (level 0) or with it (level 1). */
static int find_key(KeySym keysym, int group, unsigned *keycode, int *shift)
{
    int min = 0, max = 0;
    XDisplayKeycodes(dpy, &min, &max);
    for (int level = 0; level < 2; ++level) {
        for (int kc = min; kc <= max; ++kc) {
            if (XkbKeycodeToKeysym(dpy, (KeyCode)kc, group, level) == keysym) {
                *keycode = (unsigned)kc;
                *shift = level;
                return 1;
            }
        }
    }
    return 0;
}

/* Resolves the keys for TEXT. Each Russian letter must be on its usual key: a keymap that puts
 * it elsewhere means the layout is not the one the run set up. Returns the number of keys, or -1
 * after printing why. */
static int resolve(const char *text, unsigned *keycodes, int *shifts, int capacity)
{
    const int group = active_group();
    if (group < 0) {
        fprintf(stderr, "xkeys: cannot read the keyboard state\n");
        return -1;
    }
    int n = 0;
    const unsigned char *s = (const unsigned char *)text;
    while (*s) {
        unsigned code = 0;
        const int len = utf8_next(s, &code);
        if (len == 0) {
            fprintf(stderr, "xkeys: the text is not UTF-8\n");
            return -1;
        }
        const KeySym keysym = keysym_of(code);
        if (keysym == NoSymbol) {
            fprintf(stderr, "xkeys: no keysym for U+%04X\n", code);
            return -1;
        }
        if (n == capacity) {
            fprintf(stderr, "xkeys: text too long\n");
            return -1;
        }
        if (!find_key(keysym, group, &keycodes[n], &shifts[n])) {
            fprintf(stderr, "xkeys: U+%04X (%s) is on no key of the active layout group %d\n", code,
                    XKeysymToString(keysym), group);
            return -1;
        }
        const struct Letter *letter = russianLetter(code);
        const int capital = letter == NULL && (letter = russianLetter(russianLower(code))) != NULL;
        if (letter && (keycodes[n] != letter->keycode || shifts[n] != capital)) {
            fprintf(stderr, "xkeys: U+%04X is on keycode %u (shift %d) instead of %u: not the ru layout\n",
                    code, keycodes[n], shifts[n], letter->keycode);
            return -1;
        }
        ++n;
        s += len;
    }
    return n;
}

static void key(unsigned keycode, Bool down)
{
    XTestFakeKeyEvent(dpy, keycode, down, CurrentTime);
    settle();
}

/* Types the text, or with `print` only prints the keycodes it would use ("+" for Shift). */
static int type_text(const char *text, int print)
{
    enum { capacity = 256 };
    unsigned keycodes[capacity];
    int shifts[capacity];
    const int n = resolve(text, keycodes, shifts, capacity);
    if (n < 0)
        return 1;
    const unsigned shiftKey = XKeysymToKeycode(dpy, XK_Shift_L);
    for (int i = 0; i < n; ++i) {
        if (print) {
            printf("%s%s%u", i ? " " : "", shifts[i] ? "+" : "", keycodes[i]);
            continue;
        }
        if (shifts[i])
            key(shiftKey, True);
        key(keycodes[i], True);
        key(keycodes[i], False);
        if (shifts[i])
            key(shiftKey, False);
    }
    if (print)
        printf("\n");
    return 0;
}

static int number(const char *text, long *value)
{
    char *end = NULL;
    *value = strtol(text, &end, 10);
    return end != text && *end == '\0';
}

static int usage(void)
{
    fprintf(stderr, "usage: xkeys [-d MS] {down K|up K|key K|move X Y|click X Y|sleep MS|type TEXT|group|"
                    "codes TEXT}...\n");
    return 1;
}

int main(int argc, char **argv)
{
    int i = 1;
    if (i + 1 < argc && strcmp(argv[i], "-d") == 0) {
        if (!number(argv[i + 1], &delayMs) || delayMs < 0)
            return usage();
        i += 2;
    }
    if (i >= argc)
        return usage();

    dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "xkeys: cannot open display %s\n", getenv("DISPLAY") ? getenv("DISPLAY") : "(unset)");
        return 77;
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor)) {
        fprintf(stderr, "xkeys: the X server has no XTest extension\n");
        return 77;
    }
    int xkbMajor = XkbMajorVersion, xkbMinor = XkbMinorVersion, xkbOp, xkbEvent, xkbError;
    if (!XkbQueryExtension(dpy, &xkbOp, &xkbEvent, &xkbError, &xkbMajor, &xkbMinor)) {
        fprintf(stderr, "xkeys: the X server has no XKEYBOARD extension\n");
        return 77;
    }

    int status = 0;
    while (i < argc && status == 0) {
        const char *cmd = argv[i++];
        const int left = argc - i;
        long a = 0, b = 0;
        if ((strcmp(cmd, "down") == 0 || strcmp(cmd, "up") == 0 || strcmp(cmd, "key") == 0) && left >= 1) {
            if (!number(argv[i], &a) || a < 8 || a > 255)
                return usage();
            ++i;
            if (strcmp(cmd, "up") != 0)
                key((unsigned)a, True);
            if (strcmp(cmd, "down") != 0)
                key((unsigned)a, False);
        } else if ((strcmp(cmd, "move") == 0 || strcmp(cmd, "click") == 0) && left >= 2) {
            if (!number(argv[i], &a) || !number(argv[i + 1], &b))
                return usage();
            i += 2;
            XTestFakeMotionEvent(dpy, DefaultScreen(dpy), (int)a, (int)b, CurrentTime);
            settle();
            if (strcmp(cmd, "click") == 0) {
                XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
                settle();
                XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
                settle();
            }
        } else if (strcmp(cmd, "sleep") == 0 && left >= 1) {
            if (!number(argv[i++], &a) || a < 0)
                return usage();
            pause_ms(a);
        } else if (strcmp(cmd, "type") == 0 && left >= 1) {
            status = type_text(argv[i++], 0);
        } else if (strcmp(cmd, "codes") == 0 && left >= 1) {
            status = type_text(argv[i++], 1);
        } else if (strcmp(cmd, "group") == 0) {
            printf("%d\n", active_group());
        } else {
            fprintf(stderr, "xkeys: unknown command or missing argument: %s\n", cmd);
            return usage();
        }
    }
    XSync(dpy, False);
    XCloseDisplay(dpy);
    return status;
}
