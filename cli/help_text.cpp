#include "help_text.h"

#include "bounded_text.h"

namespace
{
constexpr std::size_t kWidth = 79;
constexpr char kProgram[] = "tarvelin-cli";

constexpr unsigned For(Command command)
{
    return 1u << static_cast<unsigned>(command);
}
constexpr unsigned kChanges =
    For(Command::Set) | For(Command::Remove) | For(Command::Fix) | For(Command::Keep);
constexpr unsigned kBare = For(Command::Help) | For(Command::Version);

// Which commands give each exit code, in the order of CliTexts::exitCodes.
const struct
{
    unsigned code;
    unsigned commands;
} kExitRows[kExitRowCount] = {
    {0, For(Command::Status)},
    {0, kChanges},
    {0, For(Command::Dsc)},
    {0, kBare},
    {1, For(Command::Status)},
    {1, kChanges},
    {1, For(Command::Dsc)},
    {2, For(Command::Set)},
    {2, For(Command::Status) | For(Command::Remove) | kBare},
    {2, For(Command::Fix)},
    {2, For(Command::Keep)},
    {2, For(Command::Dsc)},
    {3, For(Command::Set) | For(Command::Dsc)},
    {4, kChanges | For(Command::Dsc)},
    {5, For(Command::Status)},
    {6, For(Command::Status)},
    {7, kChanges},
};

std::size_t RowIndex(Command command)
{
    return static_cast<std::size_t>(CommandRowOf(command) - kCommands);
}

void AddTwoColumns(TextBuffer& out, const wchar_t* left, std::size_t leftWidth, const char* right)
{
    out.Add(L"  ").Add(left);
    std::size_t column = 2 + TextLength(left);
    for (; column < leftWidth + 4; ++column)
        out.Add(L' ');
    wchar_t storage[512];
    TextBuffer text(storage, CountOf(storage));
    AddWrapped(out, text.Add(right).Text(), leftWidth + 4, column, kWidth);
    out.Add(L'\n');
}

// "--user [DOMAIN\]NAME", as both the usage line and the option list show it.
void AddOptionSpelling(TextBuffer& out, const OptionHelp& option)
{
    out.Add(option.name);
    if (option.placeholder != nullptr)
        out.Add(L' ').Add(option.placeholder);
}
} // namespace

Filler FillerOf(const wchar_t* text)
{
    return {text, TextLength(text)};
}

Filler FillerOf(const TextBuffer& text)
{
    return {text.Text(), text.Length()};
}

TextBuffer& AddFilled(TextBuffer& out, const char* sentence, std::initializer_list<Filler> fillers)
{
    std::size_t next = 0;
    std::size_t start = 0;
    std::size_t i = 0;
    for (; sentence[i] != '\0'; ++i)
    {
        if (sentence[i] != '{')
            continue;
        std::size_t place = next;
        std::size_t end = i + 1;
        if (sentence[end] >= '0' && sentence[end] <= '9')
            place = static_cast<std::size_t>(sentence[end++] - '0');
        if (sentence[end] != '}')
            continue;
        out.Add(sentence + start, i - start);
        if (place < fillers.size())
            out.Add(fillers.begin()[place].text, fillers.begin()[place].length);
        next = place + 1;
        start = end + 1;
        i = end;
    }
    return out.Add(sentence + start, i - start);
}

void AddWrapped(TextBuffer& out, const wchar_t* text, std::size_t indent, std::size_t column,
                std::size_t width)
{
    bool lineStart = true; // no blank before the first word of a line
    while (*text != L'\0')
    {
        if (*text == L'\n')
        {
            out.Add(L'\n');
            column = 0;
            lineStart = true;
            ++text;
            continue;
        }
        std::size_t word = 0;
        while (text[word] != L'\0' && text[word] != L' ' && text[word] != L'\n')
            ++word;
        if (!lineStart && column + 1 + word > width)
        {
            out.Add(L'\n');
            column = 0;
            lineStart = true;
        }
        // A line the text began on goes on from where it was; any other starts at the indent.
        if (lineStart && column == 0)
        {
            for (; column < indent; ++column)
                out.Add(L' ');
        }
        if (!lineStart)
        {
            out.Add(L' ');
            ++column;
        }
        out.Add(text, word);
        column += word;
        lineStart = false;
        text += word;
        while (*text == L' ')
            ++text;
    }
}

void AddUsage(TextBuffer& out, const CliTexts& texts, Command command)
{
    wchar_t storage[512];
    TextBuffer words(storage, CountOf(storage));
    const CommandRow* row = CommandRowOf(command);
    words.Add(kProgram).Add(L' ');
    // The options of a command wrap under the first of them.
    std::size_t hang = TextLength(texts.usage) + words.Length();
    if (row == nullptr)
        words.Add(u8"COMMAND [OPTIONS]");
    else
    {
        words.Add(row->word);
        hang += TextLength(row->word) + 1;
        if (row->operands != nullptr)
            words.Add(L' ').Add(row->operands);
        for (std::size_t i = 0; i < kOptionCount; ++i)
        {
            if (!TakesOption(command, i))
                continue;
            const OptionHelp& option = OptionRow(i);
            // A blank inside an option's spelling must not break the line there.
            words.Add(L' ').Add(option.required ? L"" : L"[");
            words.Add(option.name);
            if (option.placeholder != nullptr)
                words.Add(L'\u00a0').Add(option.placeholder);
            words.Add(option.required ? L"" : L"]");
        }
    }
    out.Add(texts.usage);
    const std::size_t from = out.Length();
    AddWrapped(out, words.Text(), hang, TextLength(texts.usage), kWidth);
    out.Add(L'\n');
    // The hard blanks back to plain ones, which every console shows alike.
    wchar_t* text = const_cast<wchar_t*>(out.Text());
    for (std::size_t i = from; i < out.Length(); ++i)
        text[i] = text[i] == L'\u00a0' ? L' ' : text[i];
}

void ComposeHelp(TextBuffer& out, const CliTexts& texts, Command topic)
{
    wchar_t storage[1024];
    if (topic == Command::None)
    {
        TextBuffer about(storage, CountOf(storage));
        AddWrapped(out, about.Add(texts.about).Text(), 0, 0, kWidth);
        out.Add(L"\n\n");
        AddUsage(out, texts, Command::None);
        out.Add(L'\n').Add(texts.headings[0]).Add(L'\n');
        std::size_t widest = 0;
        for (std::size_t i = 0; i < kCommandCount; ++i)
            widest =
                TextLength(kCommands[i].word) > widest ? TextLength(kCommands[i].word) : widest;
        for (std::size_t i = 0; i < kCommandCount; ++i)
        {
            TextBuffer word(storage, CountOf(storage));
            AddTwoColumns(out, word.Add(kCommands[i].word).Text(), widest, texts.summaries[i]);
        }
        TextBuffer more(storage, CountOf(storage));
        out.Add(L'\n');
        AddWrapped(out, more.Add(texts.moreHelp).Text(), 0, 0, kWidth);
        out.Add(L'\n');
        return;
    }

    AddUsage(out, texts, topic);
    TextBuffer detail(storage, CountOf(storage));
    out.Add(L'\n');
    AddWrapped(out, detail.Add(texts.details[RowIndex(topic)]).Text(), 0, 0, kWidth);
    out.Add(L'\n');

    std::size_t widest = 0;
    for (std::size_t i = 0; i < kOptionCount; ++i)
    {
        TextBuffer spelling(storage, CountOf(storage));
        AddOptionSpelling(spelling, OptionRow(i));
        if (TakesOption(topic, i) && spelling.Length() > widest)
            widest = spelling.Length();
    }
    bool heading = false;
    for (std::size_t i = 0; i < kOptionCount; ++i)
    {
        if (!TakesOption(topic, i))
            continue;
        if (!heading)
            out.Add(L'\n').Add(texts.headings[1]).Add(L'\n');
        heading = true;
        TextBuffer spelling(storage, CountOf(storage));
        AddOptionSpelling(spelling, OptionRow(i));
        AddTwoColumns(out, spelling.Text(), widest, texts.options[i]);
    }

    out.Add(L'\n').Add(texts.headings[2]).Add(L'\n');
    for (std::size_t i = 0; i < kExitRowCount; ++i)
    {
        if ((kExitRows[i].commands & For(topic)) == 0)
            continue;
        TextBuffer code(storage, CountOf(storage));
        AddTwoColumns(out, code.AddNumber(kExitRows[i].code).Text(), 1, texts.exitCodes[i]);
    }
    if (topic != Command::Status)
        return;
    // The names status uses, straight from its table of causes.
    for (const bool problems : {true, false})
    {
        TextBuffer names(storage, CountOf(storage));
        for (const CauseRow& cause : kCauses)
        {
            if (cause.problem == problems)
                names.Add(names.Length() == 0 ? L"" : L" ").Add(cause.id);
        }
        out.Add(L'\n').Add(texts.causeLists[problems ? 0 : 1]).Add(L'\n');
        AddWrapped(out, names.Text(), 2, 0, kWidth);
        out.Add(L'\n');
    }
}
