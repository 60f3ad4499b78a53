// Ownership of Win32 and GDI handles: one holder over the handle type and
// the call that frees it, so a font, brush, region, DC, bitmap, image list,
// icon, menu, accelerator table or kernel handle is freed exactly once, on
// every path.
#pragma once

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <utility>

namespace cindral::shell {

template <typename Handle, typename Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives the handle away (to a window or a control that frees it itself).
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        Handle old = std::exchange(handle_, handle);
        if (old && old != handle) Free{}(old);
    }

private:
    Handle handle_ = nullptr;
};

struct FreeGdiObject {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct FreeDc {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct FreeImageList {
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct FreeIcon {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct FreeMenu {
    // A menu takes its submenus with it.
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct FreeAccelerators {
    void operator()(HACCEL h) const { DestroyAcceleratorTable(h); }
};
struct FreeKernelHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};

using OwnedFont = Owned<HFONT, FreeGdiObject>;
using OwnedBrush = Owned<HBRUSH, FreeGdiObject>;
using OwnedPen = Owned<HPEN, FreeGdiObject>;
using OwnedRegion = Owned<HRGN, FreeGdiObject>;
using OwnedBitmap = Owned<HBITMAP, FreeGdiObject>;
using OwnedDc = Owned<HDC, FreeDc>;
using OwnedImageList = Owned<HIMAGELIST, FreeImageList>;
using OwnedIcon = Owned<HICON, FreeIcon>;
using OwnedMenu = Owned<HMENU, FreeMenu>;
using OwnedAccelerators = Owned<HACCEL, FreeAccelerators>;
// A mutex, event or thread; not for file handles, whose failure value is
// INVALID_HANDLE_VALUE rather than null.
using OwnedKernelHandle = Owned<HANDLE, FreeKernelHandle>;

// Selects an object into a DC for the life of the guard.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves a DC's state (clipping, selections, modes) and restores it.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDc() { RestoreDC(dc_, id_); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int id_;
};

// The DC of a window (or of the screen for a null window) from GetDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace cindral::shell
