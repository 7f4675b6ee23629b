// The prefix's Winlogon key, in either registry view: whether it exists, and moving it aside
// for a test that needs it missing. The driver is 64-bit, so view 0 is the 64-bit view and
// KEY_WOW64_32KEY names Wow6432Node's copy, which 32-bit programs see by default.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

inline constexpr wchar_t kWinlogon[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

inline bool WinlogonExists(REGSAM view = 0)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogon, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Moves the whole Winlogon key of one view aside (into a backup key of the 64-bit view) while
// it lives, and puts it back afterwards.
class WinlogonAbsent
{
  public:
    explicit WinlogonAbsent(REGSAM view = 0) : view_(view)
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kBackup);
        HKEY backup = nullptr;
        HKEY source = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kBackup, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &backup, nullptr);
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogon, 0, KEY_ALL_ACCESS | view_, &source);
        moved_ = backup != nullptr && source != nullptr &&
                 RegCopyTreeW(source, nullptr, backup) == ERROR_SUCCESS;
        if (moved_)
            RegDeleteTreeW(source, nullptr); // its subkeys and values
        if (source != nullptr)
            RegCloseKey(source);
        if (backup != nullptr)
            RegCloseKey(backup);
        if (moved_)
        {
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kWinlogon, view_, 0);
            moved_ = !WinlogonExists(view_);
        }
    }
    ~WinlogonAbsent()
    {
        HKEY backup = nullptr;
        HKEY target = nullptr;
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kBackup, 0, KEY_READ, &backup);
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kWinlogon, 0, nullptr, 0, KEY_ALL_ACCESS | view_,
                        nullptr, &target, nullptr);
        const bool restored = backup != nullptr && target != nullptr &&
                              RegCopyTreeW(backup, nullptr, target) == ERROR_SUCCESS;
        EXPECT_TRUE(restored) << "the Winlogon key could not be put back";
        if (target != nullptr)
            RegCloseKey(target);
        if (backup != nullptr)
            RegCloseKey(backup);
        if (restored)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, kBackup);
    }
    WinlogonAbsent(const WinlogonAbsent&) = delete;
    WinlogonAbsent& operator=(const WinlogonAbsent&) = delete;

    bool moved() const { return moved_; }

  private:
    static constexpr const wchar_t* kBackup = L"SOFTWARE\\TarvelinTestBackup";
    REGSAM view_;
    bool moved_ = false;
};
