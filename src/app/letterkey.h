#pragma once

class QKeyEvent;

namespace vq {

// The letter key a key press is, by the key's place on the keyboard: Qt::Key_A .. Qt::Key_Z, or 0.
// Under a Russian layout the key of "Ф" is the key A, as the letter jump's key codes have it on
// every layout; Qt's key() names the layout's letter instead.
int letterKey(const QKeyEvent *event);

} // namespace vq
