#pragma once
#include <windows.h>

// Ties an object to a modal dialog. The caller makes an object of a derived
// class and passes DialogProc and the object's address to DialogBoxParamA;
// from WM_INITDIALOG on, every message the dialog receives goes to the
// object's OnMessage. The object must outlive the dialog; it does not own the
// window.
class CDialogBase {
public:
    CDialogBase() noexcept = default;
    virtual ~CDialogBase() = default;
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // What it returns is what the dialog manager gets; the base handles
    // nothing.
    virtual INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // The window's user-data slot holds the object (the init parameter of
    // WM_INITDIALOG) and is read afresh for every message; an empty slot
    // answers 0. Nothing thrown leaves it: it runs inside the host's process.
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;   // the dialog window, from WM_INITDIALOG on
};
