#include "cursor.h"

#include <windows.h>

namespace ui {

namespace {
TCursor g_screenCursor = TCursor::crDefault;
}

TCursor ScreenCursor()
{
    return g_screenCursor;
}

void SetScreenCursor(TCursor cursor)
{
    g_screenCursor = cursor;
    // Show the change now, not only on the next mouse move.
    ::SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(cursor == TCursor::crHourGlass ? 32514 : 32512)));
    POINT pt;
    if (GetCursorPos(&pt)) SetCursorPos(pt.x, pt.y);
}

}  // namespace ui
