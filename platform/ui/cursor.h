// The screen cursor: while it is the hourglass, every window of the program
// shows it. Handlers that may take time hold a TCursorGuard.
#pragma once

namespace ui {

enum class TCursor { crDefault, crHourGlass };

TCursor ScreenCursor();
void SetScreenCursor(TCursor cursor);

// Remembers the screen cursor, shows the hourglass and puts the remembered
// cursor back on every way out of the scope.
class TCursorGuard {
public:
    TCursorGuard() : saved_(ScreenCursor()) { SetScreenCursor(TCursor::crHourGlass); }
    ~TCursorGuard() { SetScreenCursor(saved_); }
    TCursorGuard(const TCursorGuard&) = delete;
    TCursorGuard& operator=(const TCursorGuard&) = delete;
    // Puts the remembered cursor back before the scope ends (before a message).
    void Restore() { SetScreenCursor(saved_); }

private:
    TCursor saved_;
};

}  // namespace ui
