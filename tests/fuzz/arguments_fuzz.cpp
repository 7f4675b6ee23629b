// libFuzzer target for the command line of tarvelin-cli: the parser and the refusal it leads
// to, in both languages. On any arguments it must stay in bounds, point only into what it was
// given, and never let a refused word reach the output whole: a stray word after the command
// is told by its position alone, an option by its name alone, so that a password typed in
// the wrong place never reaches a log.
//
// The input is the arguments as little-endian byte pairs (every value below 0x10000, whatever
// the width of wchar_t), a zero unit ending each argument; at most eight arguments.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "arguments.h"
#include "fuzz_check.h"
#include "refusal.h"
#include "text_buffer.h"

namespace
{
std::vector<std::wstring> Split(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::wstring> words(1);
    for (std::size_t i = 0; i + 1 < size && words.size() <= 8; i += 2)
    {
        const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == L'\0')
            words.emplace_back();
        else
            words.back() += unit;
    }
    if (words.back().empty() && words.size() > 1)
        words.pop_back();
    return words;
}

std::wstring Refusal(const std::vector<std::wstring>& words, bool german, Arguments& parsed)
{
    std::vector<const wchar_t*> pointers;
    pointers.reserve(words.size());
    for (const std::wstring& word : words)
        pointers.push_back(word.c_str());
    ParseArguments(static_cast<int>(pointers.size()), pointers.data(), parsed);
    if (parsed.command != Command::None)
        return L"";
    wchar_t storage[kRefusalCapacity];
    TextBuffer out(storage, kRefusalCapacity);
    ComposeRefusal(parsed, TextsFor(german), out);
    Check(out.Fits(), "every refusal fits its buffer");
    return out.Text();
}

bool IsHelpWord(const std::wstring& word)
{
    return word.size() == 4 && (word[0] | 32) == L'h' && (word[1] | 32) == L'e' &&
           (word[2] | 32) == L'l' && (word[3] | 32) == L'p';
}

bool IsOption(const std::wstring& word)
{
    return !word.empty() && (word[0] == L'-' || word[0] == L'/');
}

// A command word may be shown: ASCII letters and dashes, 24 at most.
bool LooksLikeCommandWord(const std::wstring& word)
{
    return !word.empty() && word.size() <= 24 &&
           word.find_first_not_of(L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-") ==
               std::wstring::npos;
}

// Where the text that must never reach a refusal begins: a whole word after the command that
// is no option, and a command word that does not look like one; in an option what follows
// its "=" or ":", the letter of a short one (unless it spells a long option, "-json"), the "p"
// that begins a password option, or a name the program knows (in any letter case).
std::size_t Hidden(std::wstring word, bool commandWord)
{
    if (!IsOption(word))
        return commandWord && LooksLikeCommandWord(word) ? std::wstring::npos : 0;
    for (wchar_t& c : word)
        c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
    std::size_t from = std::min(word.find_first_of(L"=:"), word.size() - 1) + 1;
    const std::size_t letter = std::min(word.find_first_not_of(L'-', 1), word.size() - 1);
    const std::size_t separator = std::min(word.find_first_of(L"=:"), word.size());
    bool spelled = false;
    for (std::size_t row = 0; OptionName(row) != nullptr && word[1] != L'-'; ++row)
    {
        const std::string name = OptionName(row);
        spelled = spelled ||
                  word.compare(1, separator - 1, std::wstring(name.begin() + 2, name.end())) == 0;
    }
    if (word[letter] == L'p' || (word[0] == L'-' && word[1] != L'-' && !spelled))
        from = std::min(from, letter + 1);
    for (std::size_t row = 0; OptionName(row) != nullptr; ++row)
    {
        const std::string name = OptionName(row);
        if (word.compare(0, name.size(), std::wstring(name.begin(), name.end())) == 0 &&
            word.find_first_of(L"=:") != name.size())
            from = std::min(from, name.size());
    }
    return from;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::wstring> words = Split(data, size);
    for (const bool german : {false, true})
    {
        Arguments parsed;
        const std::wstring text = Refusal(words, german, parsed);
        Check((parsed.command == Command::None) == (parsed.error != ArgumentError::None),
              "a command line is either understood or refused");
        if (parsed.command != Command::None)
            continue;

        // What the refusal names lies inside one of the words, at its start.
        if (parsed.offending != nullptr)
        {
            bool inside = false;
            for (const std::wstring& word : words)
                inside = inside || (parsed.offending == word.c_str() &&
                                    parsed.offendingLength <= word.size());
            Check(inside, "a named word is the start of one of the arguments");
        }

        if (parsed.error == ArgumentError::UnexpectedWord)
            Check(parsed.position >= 2 && parsed.position <= static_cast<int>(words.size()) &&
                      !IsOption(words[static_cast<std::size_t>(parsed.position - 1)]),
                  "a stray word's position is that of a word after the command, no option");

        // Every argument's text beyond a name the program knows replaced by as many Zs: a
        // refusal of the same kind must read the same, so none of that text reached it.
        std::vector<std::wstring> other = words;
        for (std::size_t i = 0; i < other.size(); ++i)
            for (std::size_t k = Hidden(other[i], i == 0 || (i == 1 && IsHelpWord(words[0])));
                 k < other[i].size(); ++k)
                other[i][k] = L'Z';
        Arguments again;
        const std::wstring otherText = Refusal(other, german, again);
        if (again.error == parsed.error && again.position == parsed.position)
            Check(otherText == text, "no text beyond a known name reaches the refusal");
    }
    return 0;
}
