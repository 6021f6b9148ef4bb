// Small owners for the GDI handles that the controls create while they
// paint: a memory device context, any deletable GDI object, a selection into
// a device context that is undone at scope exit, a palette selection, and a
// paint scope. None can be copied. Every owner that creates a handle counts
// it in LiveGdiHandles() while it holds it, so a test can see that a paint
// gives back everything it made.
#pragma once
#include <windows.h>

namespace gdi {

// Handles created through these owners and not yet released, per module.
inline long &LiveGdiHandles() {
    static long count;
    return count;
}

// A memory device context from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDc {
  public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {
        if (dc_ != nullptr)
            ++LiveGdiHandles();
    }
    ~MemoryDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
            --LiveGdiHandles();
        }
    }
    MemoryDc(const MemoryDc &) = delete;
    MemoryDc &operator=(const MemoryDc &) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HDC dc_;
};

// A pen, brush, bitmap, font or palette, deleted with DeleteObject. Takes
// over a handle that the caller has just created (or null).
template <typename Handle> class Object {
  public:
    explicit Object(Handle handle) : handle_(handle) {
        if (handle_ != nullptr)
            ++LiveGdiHandles();
    }
    ~Object() {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
            --LiveGdiHandles();
        }
    }
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    Handle handle_;
};

using Bitmap = Object<HBITMAP>;
using Palette = Object<HPALETTE>;
using Pen = Object<HPEN>;

// Selects an object into a device context and selects the previous one back
// when it goes out of scope. A null object selects nothing.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a logical palette into a device context (as background or
// foreground palette), realizes it, and selects the previous palette back
// at scope exit. A null palette selects nothing.
class PaletteSelection {
  public:
    PaletteSelection(HDC dc, HPALETTE palette, bool background)
        : dc_(dc), background_(background),
          previous_(palette != nullptr ? SelectPalette(dc, palette, background) : nullptr) {
        if (previous_ != nullptr)
            RealizePalette(dc_);
    }
    ~PaletteSelection() {
        if (previous_ != nullptr)
            SelectPalette(dc_, previous_, background_);
    }
    PaletteSelection(const PaletteSelection &) = delete;
    PaletteSelection &operator=(const PaletteSelection &) = delete;

  private:
    HDC dc_;
    BOOL background_;
    HPALETTE previous_;
};

// BeginPaint ... EndPaint.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope &) = delete;
    PaintScope &operator=(const PaintScope &) = delete;

    HDC dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Invalidates the whole client area with erase and repaints it at once. A
// window that is not on screen has nothing to repaint: it is painted whole
// when it or its parent is shown.
inline void RepaintNow(HWND window) {
    if (!IsWindowVisible(window))
        return;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

// Copies a bitmap resource of `library` 1:1 to `dc` at (0, 0), clipped to
// width x height. A missing bitmap draws nothing.
inline void CopySkinBitmap(HDC dc, HINSTANCE library, int id, int width, int height) {
    Bitmap face(LoadBitmapA(library, MAKEINTRESOURCEA(id)));
    if (!face)
        return;
    BITMAP info{};
    if (GetObjectA(face.get(), sizeof info, &info) != sizeof info)
        return;
    MemoryDc source(dc);
    if (!source)
        return;
    Selection selected(source.get(), face.get());
    BitBlt(dc, 0, 0, info.bmWidth < width ? info.bmWidth : width,
           info.bmHeight < height ? info.bmHeight : height, source.get(), 0, 0, SRCCOPY);
}

} // namespace gdi
