#include "dsc_lines.h"

#include "bounded_text.h"
#include "json_text.h"

namespace
{
const char* const kLevelNames[] = {"error", "warn", "info", "debug", "trace"};

} // namespace

DscLevel DscTraceLevel(const wchar_t* value)
{
    for (unsigned int level = 0; value != nullptr && level < 5; ++level)
    {
        if (IsAsciiNameAnyCase(value, kLevelNames[level]))
            return static_cast<DscLevel>(level);
    }
    return DscLevel::Warn;
}

void ComposeDscLine(DscLevel level, const wchar_t* message, TextBuffer& out)
{
    JsonObject line(out);
    AddJsonString(line.Key(kLevelNames[static_cast<unsigned int>(level)]), message);
    line.End();
    out.Add(L'\n');
}

void ComposeDscInputError(const DscInputProblem& problem, DscOperation operation,
                          const DscTexts& texts, TextBuffer& out)
{
    const auto error = static_cast<unsigned int>(problem.error);
    const char* sentence = texts.inputErrors[error];
    if (problem.error == DscInputError::DuplicateKey && problem.property == nullptr)
        sentence = texts.duplicateKeyUnknown;
    else if (problem.error == DscInputError::InvalidJson && problem.atHidden)
        sentence = texts.invalidJsonHidden;
    out.Add(texts.refused).Add(kDscInputErrorIds[error]).Add(L"): ");
    unsigned int property = 0;
    while (property < kDscPropertyCount && problem.property != kDscPropertyNames[property])
        ++property;
    for (const char* p = sentence; *p != '\0';)
    {
        if (p[0] != '{' || p[1] == '\0' || p[2] != '}')
        {
            std::size_t run = 1;
            while (p[run] != '\0' && p[run] != '{')
                ++run;
            out.Add(p, run);
            p += run;
            continue;
        }
        if (p[1] == 'p' && problem.property != nullptr)
            out.Add(problem.property);
        else if (p[1] == 't' && property < kDscPropertyCount)
            out.Add(texts.takes[property]);
        else if (p[1] == 'n')
            out.AddNumber(problem.at);
        else if (p[1] == 'f' && problem.json != JsonError::None)
            out.Add(texts.jsonFaults[static_cast<unsigned int>(problem.json) - 1]);
        else if (p[1] == 'o')
            out.Add(kDscOperationNames[static_cast<unsigned int>(operation)]);
        p += 3;
    }
    out.Add(L' ').Add(texts.nothingChanged);
}
