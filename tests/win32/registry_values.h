// Registry values as plain data, for tests that compare a key before and after. Used by the
// in-process and the end-to-end tests alike.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

inline std::vector<unsigned char> Utf16Bytes(const std::wstring& text)
{
    const auto* first = reinterpret_cast<const unsigned char*>(text.data());
    return {first, first + text.size() * sizeof(wchar_t)};
}

struct RegValue
{
    DWORD type = REG_NONE;
    std::vector<unsigned char> data;
    bool operator==(const RegValue& other) const
    {
        return type == other.type && data == other.data;
    }
};
using RegValues = std::map<std::wstring, RegValue>;

inline RegValue TextValue(const std::wstring& text)
{
    std::vector<unsigned char> data = Utf16Bytes(text);
    data.push_back(0);
    data.push_back(0);
    return {REG_SZ, data};
}

inline RegValue NumberValue(DWORD number)
{
    const auto* first = reinterpret_cast<const unsigned char*>(&number);
    return {REG_DWORD, {first, first + sizeof number}};
}

inline RegValues ReadValues(HKEY key)
{
    RegValues values;
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        unsigned char data[4096] = {};
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS)
            break;
        values[name] = {type, {data, data + size}};
    }
    return values;
}

inline void WriteValues(HKEY key, const RegValues& values)
{
    for (const auto& [name, value] : values)
        RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
}

inline std::string Describe(const RegValues& values)
{
    std::string text;
    for (const auto& [name, value] : values)
    {
        text += std::string(name.begin(), name.end()) + "=" + std::to_string(value.type) + ":";
        for (unsigned char byte : value.data)
            text += byte >= 32 && byte < 127 ? static_cast<char>(byte) : '.';
        text += " ";
    }
    return text;
}

// Makes the key hold exactly `values`: others are deleted, these written.
inline void ReplaceValues(HKEY key, const RegValues& values)
{
    for (const auto& [name, value] : ReadValues(key))
    {
        if (values.count(name) == 0)
            RegDeleteValueW(key, name.c_str());
    }
    WriteValues(key, values);
}
