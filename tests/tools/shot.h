// Screenshots of a screen rectangle, read back from the screen through GDI
// and saved as PNG (through GDI+), or as BMP when GDI+ cannot encode.
#pragma once

#include <windows.h>

#include <string>

namespace uidrv {

// Saves the screen area rc to path (".png" is replaced by ".bmp" when PNG
// encoding is unavailable); returns the path written, or empty with error set.
std::string SaveScreenRect(const RECT& rc, const std::string& path, std::string& error);

}  // namespace uidrv
