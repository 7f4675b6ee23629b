// Raw file access for tests, around the APIs under test, so that a test sees what is really
// on disk.
#pragma once
#include <windows.h>

#include <string>

// Writes the bytes as the whole file; false if it cannot.
inline bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// The whole file's bytes, read while others may still write it; false when it cannot be
// opened.
inline bool ReadFileBytes(const std::wstring& path, std::string& bytes)
{
    bytes.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

// The whole file's bytes; "<missing>" when it cannot be opened.
inline std::string ReadWholeFile(const std::wstring& path)
{
    std::string bytes;
    return ReadFileBytes(path, bytes) ? bytes : "<missing>";
}

// Removes a file whatever its attributes; no error if it is not there.
inline void RemoveFile(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// A new, empty file in the temporary folder; its path.
inline std::wstring TempFilePath()
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    wchar_t file[MAX_PATH] = {};
    GetTempFileNameW(folder, L"tvo", 0, file);
    return file;
}
