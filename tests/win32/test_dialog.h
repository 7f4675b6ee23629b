// Helpers for in-process tests: the real dialog, made from the real template with the real
// dialog procedure, as a modeless window of the test thread.
#pragma once
#include <windows.h>

#include <string>

#include "dialog.h"
#include "globals.h"
#include "resource.h"

class TestDialog
{
  public:
    explicit TestDialog(int englishFlag = 1)
    {
        g_englishFlag = englishFlag;
        g_module = GetModuleHandleW(nullptr);
        hwnd_ = CreateDialogParamW(g_module, MAKEINTRESOURCEW(IDD_AUTOLOGON), nullptr,
                                   AutoLogonDialogProc, 0);
        // The template has no WS_VISIBLE: a modal run shows it, a modeless one must.
        if (hwnd_ != nullptr)
            ShowWindow(hwnd_, SW_SHOW);
    }
    ~TestDialog()
    {
        if (hwnd_ != nullptr)
            DestroyWindow(hwnd_);
        g_englishFlag = 1;
    }
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

    // Calls the procedure directly: SendMessage would not return its result for WM_COMMAND.
    INT_PTR Command(int id) const
    {
        return AutoLogonDialogProc(hwnd_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

  private:
    HWND hwnd_ = nullptr;
};

inline std::wstring WindowText(HWND hwnd)
{
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}
