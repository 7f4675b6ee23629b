// Test messages that show text exactly, control characters and surrogates included.
#pragma once
#include <cstdio>
#include <string>

// Bytes as text, with everything outside printable ASCII as \xNN.
inline std::string Printable(const std::string& bytes)
{
    std::string shown;
    char piece[8];
    for (unsigned char byte : bytes)
    {
        std::snprintf(piece, sizeof piece, byte >= 32 && byte < 127 ? "%c" : "\\x%02x", byte);
        shown += piece;
    }
    return shown;
}

// Wide text as its code units in hex.
inline std::string Units(const std::wstring& text)
{
    std::string shown;
    char piece[16];
    for (wchar_t c : text)
    {
        std::snprintf(piece, sizeof piece, "%04x ", static_cast<unsigned int>(c));
        shown += piece;
    }
    return shown;
}
