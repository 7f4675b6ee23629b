// What tarvelin-cli's help says, composed from the same tables the parser reads: the command
// rows, the option rows and the exit codes each command gives. Free of Windows headers:
// tested natively.
#pragma once
#include <cstddef>
#include <initializer_list>

#include "arguments.h"
#include "text_buffer.h"
#include "texts.h"

// Enough for the longest command's help in either language, wrapped.
constexpr std::size_t kHelpCapacity = 6144;

// A detail that a sentence's "{}" (the next one) or "{0}", "{1}" (by place) stands for.
struct Filler
{
    const wchar_t* text;
    std::size_t length;
};
Filler FillerOf(const wchar_t* text);
Filler FillerOf(const TextBuffer& text);

// The sentence with its details filled in; a placeholder without a detail is left out.
TextBuffer& AddFilled(TextBuffer& out, const char* sentence, std::initializer_list<Filler> fillers);

// `text` broken at blanks so that no line is longer than `width` characters where a word
// allows it; each line after the first starts with `indent` blanks, and the first goes on
// from `column`. A line end in the text starts a new line (two: a paragraph).
void AddWrapped(TextBuffer& out, const wchar_t* text, std::size_t indent, std::size_t column,
                std::size_t width);

// "Usage: tarvelin-cli set --user [DOMAIN\]NAME [--domain NAME] ..." wrapped, with its line
// end; for None, the usage of the program as a whole.
void AddUsage(TextBuffer& out, const CliTexts& texts, Command command);

// The overview (`topic` None) or one command's help: its usage, what it does, its options
// and its exit codes; for status also the names of the causes it knows.
void ComposeHelp(TextBuffer& out, const CliTexts& texts, Command topic);
