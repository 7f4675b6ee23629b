#include "settings_store.h"

#include <shlobj.h>

#include "bounded_text.h"
#include "settings_number.h"
#include "unique_handle.h"

SettingsStore g_settings;

namespace
{
// The longest path Windows knows, terminating zero included: the executable's own path is
// read whole, however deep its folder.
constexpr DWORD kLongestPath = 32768;
// The work areas in which the per-user path is put together.
constexpr int kWorkCapacity = 2048;

const wchar_t kSeparator[] = L"\\";
const wchar_t kExtension[] = L".ini";
const wchar_t kMakerFolder[] = L"Vestrakona";

// Memory from the process heap, freed with it.
struct ProcessHeapTraits
{
    using Handle = wchar_t*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { HeapFree(GetProcessHeap(), 0, handle); }
};
using UniqueHeapText = UniqueHandle<ProcessHeapTraits>;

} // namespace

SettingsStore::SettingsStore() : path_{}, productName_{} {}

SettingsStore::~SettingsStore() = default;

void SettingsStore::ResolvePath(const wchar_t* productName)
{
    CopyText(productName_, kProductNameCapacity, productName != nullptr ? productName : L"");
    path_[0] = L'\0';
    if (!UseFileBesideExecutable())
        UsePerUserFolder();
}

bool SettingsStore::UseFileBesideExecutable()
{
    UniqueHeapText module(static_cast<wchar_t*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kLongestPath * sizeof(wchar_t))));
    if (!module)
        return false;
    const DWORD length = GetModuleFileNameW(nullptr, module.Get(), kLongestPath);
    // No path, or one that did not fit: there is no folder to look in.
    if (length == 0 || length >= kLongestPath)
        return false;

    // The folder is everything before the last backslash; without one the text stays whole.
    DWORD folderLength = length;
    for (DWORD i = length; i > 0; --i)
    {
        if (module.Get()[i - 1] == L'\\')
        {
            folderLength = i - 1;
            break;
        }
    }

    // The profile functions fail for paths of MAX_PATH characters or more, so a file that
    // deep could never be read or written: the per-user file serves instead.
    const DWORD candidateLength = folderLength + 1 + static_cast<DWORD>(TextLength(productName_)) +
                                  static_cast<DWORD>(ARRAYSIZE(kExtension) - 1);
    if (candidateLength >= MAX_PATH)
        return false;

    CopyText(path_, kPathCapacity, module.Get(), folderLength);
    AppendText(path_, kPathCapacity, kSeparator);
    AppendText(path_, kPathCapacity, productName_);
    AppendText(path_, kPathCapacity, kExtension);

    // Anything of that name but a folder counts, read-only, hidden or system alike.
    const DWORD attributes = GetFileAttributesW(path_);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return true;
    path_[0] = L'\0';
    return false;
}

void SettingsStore::UsePerUserFolder()
{
    wchar_t folder[kWorkCapacity] = {};
    // Without the roaming folder there is no sound place for the file: the path stays empty,
    // reads give their defaults and writes go nowhere (rather than to a drive's root).
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_APPDATA, FALSE) || folder[0] == L'\0')
        return;

    // A folder that already exists is the ordinary case; one that cannot be created makes
    // the later writes fail without notice.
    AppendText(folder, kWorkCapacity, kSeparator);
    AppendText(folder, kWorkCapacity, kMakerFolder);
    CreateDirectoryW(folder, nullptr);
    AppendText(folder, kWorkCapacity, kSeparator);
    AppendText(folder, kWorkCapacity, productName_);
    CreateDirectoryW(folder, nullptr);

    wchar_t file[kWorkCapacity] = {};
    AppendText(file, kWorkCapacity, folder);
    AppendText(file, kWorkCapacity, kSeparator);
    AppendText(file, kWorkCapacity, productName_);
    AppendText(file, kWorkCapacity, kExtension);
    // A path too long for the store stays empty rather than cut: reads give their defaults.
    CopyText(path_, kPathCapacity, file);
}

void SettingsStore::WriteInt(const wchar_t* section, const wchar_t* key, int value,
                             const wchar_t* file)
{
    const wchar_t* target = file != nullptr ? file : path_;
    // Before the path is resolved there is no file to write to.
    if (target[0] == L'\0')
        return;
    wchar_t text[kPathCapacity] = {};
    wsprintfW(text, L"%d", value);
    WritePrivateProfileStringW(section, key, text, target);
}

int SettingsStore::ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue,
                           int minimum, int maximum) const
{
    int result = defaultValue;
    if (path_[0] != L'\0')
    {
        wchar_t text[kPathCapacity] = {};
        const DWORD length =
            GetPrivateProfileStringW(section, key, L"", text, kPathCapacity, path_);
        if (length != 0)
        {
            // The number rules work on UTF-16 code units, the same natively and here.
            char16_t units[kPathCapacity] = {};
            const DWORD count = length < kPathCapacity ? length : kPathCapacity - 1;
            for (DWORD i = 0; i < count; ++i)
                units[i] = static_cast<char16_t>(text[i]);
            result = ParseSettingsInt(units, count);
        }
    }
    return ClampSettingsInt(result, minimum, maximum);
}
