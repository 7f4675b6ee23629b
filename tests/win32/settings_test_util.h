// File helpers for the settings tests: the folders the store looks in, and raw file access
// that goes around the profile functions, so a test sees what is really on disk.
#pragma once
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "test_files.h"

inline std::wstring ExeFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\'));
}

inline std::wstring RoamingAppData()
{
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_APPDATA, FALSE);
    return path;
}

inline bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

inline bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The text of the key's line, e.g. "Time=-5", as the profile functions wrote it (ANSI).
inline std::string KeyLine(const std::wstring& path, const std::string& key)
{
    const std::string bytes = ReadWholeFile(path);
    const std::string::size_type start = bytes.find(key + "=");
    if (start == std::string::npos)
        return "<no " + key + " in: " + bytes + ">";
    return bytes.substr(start, bytes.find_first_of("\r\n", start) - start);
}

// The bytes of a UTF-16LE file with a byte order mark, as the profile functions read it.
inline std::string Utf16File(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text)
    {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Every start of the dialog makes the per-user folders Vestrakona\Tarvelin, whichever test
// starts it. This leaves the prefix as it was: at the end of the test program the folders
// go, but only when empty, so a settings file that lives there is kept.
class PerUserFoldersCleanup : public ::testing::Environment
{
  public:
    void TearDown() override
    {
        const std::wstring maker = RoamingAppData() + L"\\Vestrakona";
        RemoveDirectoryW((maker + L"\\Tarvelin").c_str());
        RemoveDirectoryW(maker.c_str());
    }
};
