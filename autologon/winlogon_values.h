// The registry key and values of automatic logon, as Windows names them: what Set and
// Remove change and what the status reads. Free of Windows headers.
#pragma once

inline constexpr wchar_t kWinlogonPath[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
inline constexpr wchar_t kAutoAdminLogon[] = L"AutoAdminLogon";
inline constexpr wchar_t kDefaultDomainName[] = L"DefaultDomainName";
inline constexpr wchar_t kDefaultUserName[] = L"DefaultUserName";
// A plain-text password that another tool left behind: Windows logs on with it instead of
// the secret, and anyone can read it.
inline constexpr wchar_t kDefaultPassword[] = L"DefaultPassword";
// The number of starts left; 0 makes Windows switch automatic logon off again at the next.
inline constexpr wchar_t kAutoLogonCount[] = L"AutoLogonCount";
