#include "editor/CDialogBase.h"

INT_PTR CDialogBase::OnMessage(UINT, WPARAM, LPARAM)
{
    return 0;
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    try {
        if (msg == WM_INITDIALOG) {
            if (lParam) reinterpret_cast<CDialogBase*>(lParam)->m_hWnd = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
        }
        CDialogBase* dialog = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        return dialog ? dialog->OnMessage(msg, wParam, lParam) : 0;
    } catch (...) {
        return 0;
    }
}
