// Reads back what a device context shows, as 32-bit BGRX rows, top row first.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

// The header of a 32-bit bitmap whose rows run top to bottom.
inline BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

inline std::vector<uint32_t> CopyPixels(HDC source, int x, int y, int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = TopDownInfo(width, height);
    void *bits = nullptr;
    HBITMAP canvas = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, canvas);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<uint32_t *>(bits), pixels.size(), pixels.begin());
    SelectObject(memory, old);
    DeleteObject(canvas);
    DeleteDC(memory);
    return pixels;
}
