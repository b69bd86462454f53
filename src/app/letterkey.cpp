#include "letterkey.h"

#include <QKeyEvent>

namespace vq {

namespace {

// The letters of the keys by their XKB key codes (the evdev code plus 8), which name the place of a
// key whatever the layout: X11 and Wayland hand them over as the native scan code.
constexpr struct {
    quint32 code;
    char letter;
} kLetterKeyCodes[] = {
    {24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'}, {29, 'Y'}, {30, 'U'}, {31, 'I'}, {32, 'O'},
    {33, 'P'}, {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'}, {42, 'G'}, {43, 'H'}, {44, 'J'}, {45, 'K'},
    {46, 'L'}, {52, 'Z'}, {53, 'X'}, {54, 'C'}, {55, 'V'}, {56, 'B'}, {57, 'N'}, {58, 'M'},
};

} // namespace

int letterKey(const QKeyEvent *event) {
    const int key = event->key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    // A letter of another alphabet: the place of its key. Modifier chords stay theirs.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    if (const quint32 code = event->nativeScanCode())
        for (const auto &k : kLetterKeyCodes)
            if (k.code == code)
                return Qt::Key_A + (k.letter - 'A');
    // Where the platform gives a virtual key of its own (a Latin keysym or key code), that says it.
    const quint32 vk = event->nativeVirtualKey();
    if (vk >= 'A' && vk <= 'Z')
        return int(Qt::Key_A + (vk - 'A'));
    if (vk >= 'a' && vk <= 'z')
        return int(Qt::Key_A + (vk - 'a'));
    return 0;
}

} // namespace vq
