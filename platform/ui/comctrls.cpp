#include "comctrls.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "platform/rtl/module.h"

namespace ui {

namespace {

// The rich edit classes live in riched20.dll; it is loaded by its full path
// in the system folder, never searched for beside the program.
void LoadRichEditLibrary()
{
    static const HMODULE module = rtl::SystemLibrary("riched20.dll");
    (void)module;
}

struct MemoryReader {
    const unsigned char* data;
    std::size_t left;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got)
{
    auto* reader = reinterpret_cast<MemoryReader*>(cookie);
    const std::size_t n = std::min<std::size_t>(reader->left, static_cast<std::size_t>(wanted));
    std::memcpy(buffer, reader->data, n);
    reader->data += n;
    reader->left -= n;
    *got = static_cast<LONG>(n);
    return 0;
}

}  // namespace

TRichEdit::TRichEdit(TControl* parent) : TControl(parent)
{
    LoadRichEditLibrary();
    SetParentColor(false);
    SetColor(clWindow);
    CreateWnd(RICHEDIT_CLASSA,
              WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_DISABLENOSCROLL, WS_EX_CLIENTEDGE);
    // Lines wrap at the window's width.
    SendMessageA(Handle(), EM_SETTARGETDEVICE, 0, 0);
}

void TRichEdit::SetReadOnly(bool value)
{
    SendMessageA(Handle(), EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

bool TRichEdit::LoadRtf(const void* data, std::size_t size)
{
    MemoryReader reader{static_cast<const unsigned char*>(data), size};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&reader);
    stream.pfnCallback = ReadChunk;
    const LRESULT chars = SendMessageA(Handle(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0 || chars == 0) return false;
    SendMessageA(Handle(), EM_SETSEL, 0, 0);
    SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
    return true;
}

}  // namespace ui
