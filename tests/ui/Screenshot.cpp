#include "Screenshot.h"

#include <vector>

#include "PngWriter.h"
#include "ProgramHarness.h"

namespace bastion::uitest {

namespace {

// The window's pixels as RGB rows, read from the screen; PrintWindow when
// the screen cannot be read.
bool Capture(HWND window, int& width, int& height, std::vector<std::uint8_t>& rgb) {
    RECT bounds;
    if (!GetWindowRect(window, &bounds)) return false;
    width = bounds.right - bounds.left;
    height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) return false;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool captured = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        captured = BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY | CAPTUREBLT) ||
                   PrintWindow(window, memory, 0);
        GdiFlush();
        if (captured) {
            const auto* pixels = static_cast<const std::uint8_t*>(bits);
            rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
            for (std::size_t i = 0, n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height); i < n; ++i) {
                rgb[i * 3] = pixels[i * 4 + 2];
                rgb[i * 3 + 1] = pixels[i * 4 + 1];
                rgb[i * 3 + 2] = pixels[i * 4];
            }
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return captured;
}

}  // namespace

bool SaveScreenshot(HWND window, const std::string& name) {
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Another program paints on its own thread: give it the time.
    Sleep(400);
    PumpMessagesFor(100);

    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    if (!Capture(window, width, height, rgb)) return false;
    const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);

    const std::string folder = BASTION_SCREENSHOT_DIR;
    CreateDirectoryW(WinePath(folder.c_str()).c_str(), nullptr);
    const std::wstring path = WinePath((folder + "/" + name + ".png").c_str());
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == png.size();
}

}  // namespace bastion::uitest
