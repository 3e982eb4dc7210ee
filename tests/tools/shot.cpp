#include "shot.h"

#include <objidl.h>  // PROPID, which the lean windows.h leaves out
#include <gdiplus.h>

#include <fstream>
#include <vector>

#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/ui_handles.h"

namespace uidrv {

namespace {

// GDI+ for the life of the driver; started on first use.
class GdiPlus {
public:
    GdiPlus()
    {
        Gdiplus::GdiplusStartupInput input;
        ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiPlus()
    {
        if (ok_) Gdiplus::GdiplusShutdown(token_);
    }
    bool Ok() const { return ok_; }

private:
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

bool SavePng(HBITMAP bitmap, const std::string& path)
{
    static GdiPlus gdiplus;
    if (!gdiplus.Ok()) return false;
    rtl::UniqueHandle<rtl::NullHandlePolicy<Gdiplus::GpBitmap*, &Gdiplus::DllExports::GdipDisposeImage>> image;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, image.put()) != Gdiplus::Ok) return false;
    // The PNG encoder's class id is fixed across GDI+ versions.
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    return Gdiplus::DllExports::GdipSaveImageToFile(image.get(), rtl::Widen(path).c_str(), &png, nullptr) == Gdiplus::Ok;
}

bool SaveBmp(HDC dc, HBITMAP bitmap, int width, int height, const std::string& path)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(stride) * height);
    if (GetDIBits(dc, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == 0)
        return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace

std::string SaveScreenRect(const RECT& rc, const std::string& path, std::string& error)
{
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) {
        error = "empty rectangle";
        return std::string();
    }
    const ui::WindowDC screen = ui::DCOf(nullptr);
    rtl::UniqueHandle<rtl::NullHandlePolicy<HDC, &DeleteDC>> memory(CreateCompatibleDC(screen.get().second));
    const ui::GdiObject bitmap(CreateCompatibleBitmap(screen.get().second, width, height));
    if (!screen || !memory || !bitmap) {
        error = "no screen device context";
        return std::string();
    }
    BOOL copied = FALSE;
    {
        const ui::Selection selected = ui::SelectInto(memory.get(), bitmap.get());
        copied = BitBlt(memory.get(), 0, 0, width, height, screen.get().second, rc.left, rc.top, SRCCOPY | CAPTUREBLT);
    }
    if (!copied) {
        error = "the screen cannot be read";
        return std::string();
    }
    const auto hbitmap = static_cast<HBITMAP>(bitmap.get());
    if (SavePng(hbitmap, path)) return path;
    std::string bmp = path;
    const std::size_t dot = bmp.find_last_of('.');
    bmp = (dot == std::string::npos ? bmp : bmp.substr(0, dot)) + ".bmp";
    if (SaveBmp(memory.get(), hbitmap, width, height, bmp)) return bmp;
    error = "cannot write " + bmp;
    return std::string();
}

}  // namespace uidrv
