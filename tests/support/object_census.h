// Counts of the GDI and USER objects a test process holds, for tests that
// show that painting and opening and closing keep none. GetGuiResources
// answers nothing under Wine, so both are counted directly.
#pragma once
#include <windows.h>

// GDI objects alive in this process. Wine numbers GDI handles by their
// table index in the low word and accepts a handle whose high word is 0
// for any generation, so every live object answers GetObjectType at its
// index.
inline int LiveGdiObjects() {
    int live = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index)
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return live;
}

// Windows of this thread: top-level windows and all their descendants.
inline int LiveWindows() {
    struct Counter {
        static BOOL CALLBACK Child(HWND, LPARAM count) {
            ++*reinterpret_cast<int *>(count);
            return TRUE;
        }
        static BOOL CALLBACK TopLevel(HWND window, LPARAM count) {
            ++*reinterpret_cast<int *>(count);
            EnumChildWindows(window, Child, count);
            return TRUE;
        }
    };
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), Counter::TopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}
