#pragma once

// Which lock keys are on. All off where the window system does not tell (offscreen,
// Wayland).
struct KeyboardLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

KeyboardLocks ReadKeyboardLocks();
