#include "keep_store.h"

#include "bounded_text.h"
#include "registry_value.h"
#include "text_buffer.h"

const wchar_t kKeepKey[] = L"SOFTWARE\\Vestrakona\\Tarvelin\\Keep";

namespace
{
// The record is read in the 64-bit view by every build, as Winlogon's values are.
constexpr REGSAM kView = KEY_WOW64_64KEY;

LONG ReadName(HKEY key, const wchar_t* name, wchar_t (&out)[kFieldLimit + 1])
{
    RegistryValue value;
    const LONG error = value.Read(key, name);
    if (error != ERROR_SUCCESS)
        return error;
    const wchar_t* text = nullptr;
    DWORD length = 0;
    if (!value.Text(text, length) || length > kFieldLimit)
        return ERROR_INVALID_DATA;
    for (DWORD i = 0; i < length; ++i)
        out[i] = text[i];
    out[length] = L'\0';
    return ERROR_SUCCESS;
}

LONG WriteName(HKEY key, const wchar_t* name, const wchar_t* text)
{
    const DWORD bytes = static_cast<DWORD>((TextLength(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

// An open file that closes itself.
class File
{
  public:
    File(const wchar_t* path, DWORD access, DWORD disposition)
        : handle_(CreateFileW(path, access, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr)),
          error_(handle_ == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS)
    {
    }
    ~File()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    HANDLE Handle() const { return handle_; }
    DWORD Error() const { return error_; }

  private:
    HANDLE handle_;
    DWORD error_;
};

// Creates `path` and every folder above it that is missing.
bool CreateFolders(const wchar_t* path)
{
    wchar_t part[MAX_PATH] = {};
    for (std::size_t i = 0; i < MAX_PATH - 1; ++i)
    {
        const wchar_t c = path[i];
        if (c != L'\\' && c != L'\0')
        {
            part[i] = c;
            continue;
        }
        // A drive ("C:") is no folder to create; an existing folder is what is wanted. The
        // text so far ends at `i`, where nothing has been copied yet.
        if (i > 2 && !CreateDirectoryW(part, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        if (c == L'\0')
            return true;
        part[i] = c;
    }
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
}

// The folder `path` ends in, cut at its last backslash, into `out`.
void ParentOf(const wchar_t* path, wchar_t (&out)[MAX_PATH])
{
    std::size_t end = 0;
    for (std::size_t i = 0; i < MAX_PATH - 1 && path[i] != L'\0'; ++i)
    {
        out[i] = path[i];
        if (path[i] == L'\\')
            end = i;
    }
    out[end] = L'\0';
}
} // namespace

LONG ReadKeepRecord(KeptAccount& kept)
{
    HKEY key = nullptr;
    LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKeepKey, 0, KEY_QUERY_VALUE | kView, &key);
    if (error != ERROR_SUCCESS)
        return error == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : error;
    error = ReadName(key, L"User", kept.user);
    if (error == ERROR_SUCCESS)
        error = ReadName(key, L"Domain", kept.domain);
    RegCloseKey(key);
    // A key without its values is no record that can be kept.
    return error == ERROR_FILE_NOT_FOUND ? ERROR_INVALID_DATA : error;
}

LONG WriteKeepRecord(const KeptAccount& kept)
{
    HKEY key = nullptr;
    LONG error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKeepKey, 0, nullptr, 0, KEY_SET_VALUE | kView,
                                 nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    error = WriteName(key, L"User", kept.user);
    if (error == ERROR_SUCCESS)
        error = WriteName(key, L"Domain", kept.domain);
    RegCloseKey(key);
    return error;
}

LONG DeleteKeepRecord()
{
    LONG error = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKeepKey, kView, 0);
    if (error == ERROR_FILE_NOT_FOUND)
        error = ERROR_SUCCESS;
    // The program's own key goes with it once nothing else is in it.
    if (error == ERROR_SUCCESS &&
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Vestrakona\\Tarvelin", kView, 0) ==
            ERROR_SUCCESS)
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Vestrakona", kView, 0);
    return error;
}

bool FindKeepPaths(KeepPaths& paths)
{
    wchar_t root[MAX_PATH];
    const DWORD length = ExpandEnvironmentStringsW(L"%ProgramFiles%", root, MAX_PATH);
    if (length == 0 || length > MAX_PATH - 40 || root[0] == L'%')
        return false;
    TextBuffer folder(paths.folder, MAX_PATH);
    folder.Add(root).Add(L"\\Vestrakona\\Tarvelin");
    TextBuffer copy(paths.copy, MAX_PATH);
    copy.Add(paths.folder).Add(L"\\tarvelin-cli.exe");
    const DWORD self = GetModuleFileNameW(nullptr, paths.self, MAX_PATH);
    return self != 0 && self < MAX_PATH;
}

CopyFound CompareFiles(const wchar_t* self, const wchar_t* copy, DWORD& error)
{
    const File theirs(copy, GENERIC_READ, OPEN_EXISTING);
    error = theirs.Error();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return CopyFound::Absent;
    const File ours(self, GENERIC_READ, OPEN_EXISTING);
    if (error == ERROR_SUCCESS)
        error = ours.Error();
    if (error != ERROR_SUCCESS)
        return CopyFound::Unreadable;
    static BYTE a[16384];
    static BYTE b[16384];
    for (;;)
    {
        DWORD gotA = 0;
        DWORD gotB = 0;
        if (!ReadFile(ours.Handle(), a, sizeof a, &gotA, nullptr) ||
            !ReadFile(theirs.Handle(), b, sizeof b, &gotB, nullptr))
        {
            error = GetLastError();
            return CopyFound::Unreadable;
        }
        if (gotA != gotB)
            return CopyFound::Different;
        if (gotA == 0)
            return CopyFound::Same;
        for (DWORD i = 0; i < gotA; ++i)
        {
            if (a[i] != b[i])
                return CopyFound::Different;
        }
    }
}

DWORD CopyProgram(const KeepPaths& paths)
{
    if (!CreateFolders(paths.folder) || !CopyFileW(paths.self, paths.copy, FALSE))
        return GetLastError();
    DWORD error = ERROR_SUCCESS;
    if (CompareFiles(paths.self, paths.copy, error) != CopyFound::Same)
        return error != ERROR_SUCCESS ? error : ERROR_FILE_CORRUPT;
    return ERROR_SUCCESS;
}

DWORD DeleteCopy(const KeepPaths& paths)
{
    if (!DeleteFileW(paths.copy))
    {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return error;
    }
    // Each folder goes once it is empty; anything else in it keeps it.
    RemoveDirectoryW(paths.folder);
    wchar_t vestrakona[MAX_PATH];
    ParentOf(paths.folder, vestrakona);
    RemoveDirectoryW(vestrakona);
    return ERROR_SUCCESS;
}
