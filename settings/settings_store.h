// The program's settings file, Tarvelin.ini: where it lives, and 32-bit integers read from
// it and written to it through the profile functions.
#pragma once
#include <windows.h>

class SettingsStore
{
  public:
    // Path and product name stay empty until ResolvePath.
    SettingsStore();
    // Releases nothing: every write reaches the file at once.
    virtual ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Fixes the settings path: "<exe folder>\<product>.ini" when something that is not a
    // folder has that name, else "<roaming app data>\Vestrakona\<product>\<product>.ini",
    // creating both folders but not the file.
    void ResolvePath(const wchar_t* productName);

    // Writes the value as decimal text to `file`, or to the settings path when it is null.
    // A failed write changes nothing and is not reported.
    void WriteInt(const wchar_t* section, const wchar_t* key, int value, const wchar_t* file);

    // The key's number from the settings file; defaultValue when the file, section or key is
    // missing or the value is empty. Clamped to [minimum, maximum] unless either is -1.
    int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue, int minimum,
                int maximum) const;

    // The resolved settings path; empty before ResolvePath.
    const wchar_t* Path() const { return path_; }

    static constexpr int kPathCapacity = 1024;
    static constexpr int kProductNameCapacity = 64;

  private:
    // True when the path was put beside the executable.
    bool UseFileBesideExecutable();
    void UsePerUserFolder();

    wchar_t path_[kPathCapacity];
    wchar_t productName_[kProductNameCapacity];
};

// The one settings store of the process, constructed before the entry point runs.
extern SettingsStore g_settings;
