// The standard-error lines of the dsc operations: which levels are written, and their words.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "dsc_lines.h"

TEST(DscLines, TraceLevelDecidesWhichLinesAreWritten)
{
    const struct
    {
        const wchar_t* value; // DSC_TRACE_LEVEL; null: unset
        const char* written;
    } cases[] = {
        {nullptr, "error warn"}, // dsc's own default
        {L"", "error warn"},
        {L"verbose", "error warn"},
        {L"trace ", "error warn"},
        {L"tra", "error warn"},
        {L"error", "error"},
        {L"WARN", "error warn"},
        {L"Info", "error warn info"},
        {L"debug", "error warn info debug"},
        {L"trace", "error warn info debug trace"},
    };
    const char* const names[] = {"error", "warn", "info", "debug", "trace"};
    for (const auto& c : cases)
    {
        std::string written;
        for (unsigned int level = 0; level < 5; ++level)
            if (DscWrites(static_cast<DscLevel>(level), DscTraceLevel(c.value)))
                written += (written.empty() ? "" : " ") + std::string(names[level]);
        EXPECT_EQ(written, c.written) << (c.value ? "set" : "unset");
    }
}

TEST(DscLines, InputRefusalsInEitherLanguage)
{
    const char* const password =
        kDscPropertyNames[static_cast<unsigned int>(DscProperty::Password)];
    const struct
    {
        DscInputProblem problem;
        DscOperation operation;
        bool german;
        std::wstring line;
    } cases[] = {
        {DscInputProblem{DscInputError::WrongType, password, 0, JsonError::None}, DscOperation::Get,
         false,
         LR"({"error":"instance refused (wrong-type): password takes a string, or )"
         LR"({\"secureString\": string}. Nothing was changed."})"},
        {DscInputProblem{DscInputError::InvalidJson, nullptr, 17, JsonError::Encoding},
         DscOperation::Set, true,
         L"{\"error\":\"Instanz abgelehnt (invalid-json): die Instanz ist kein g\u00fcltiges JSON "
         L"(kein UTF-8, oder ein Surrogat-Escape ohne sein Gegenst\u00fcck, bei Byte 17). "
         L"Nichts wurde ge\u00e4ndert.\"}"},
        {DscInputProblem{DscInputError::MissingPassword, nullptr, 0, JsonError::None},
         DscOperation::WhatIf, false,
         LR"({"error":"instance refused (missing-password): set --check with _exist true needs )"
         LR"(the password: a string, or a secureString parameter. Nothing was changed."})"},
        {DscInputProblem{DscInputError::InvalidJson, nullptr, 0, JsonError::Syntax, true},
         DscOperation::Test, false,
         LR"({"error":"instance refused (invalid-json): the instance is not valid JSON (not )"
         LR"(JSON's grammar, or it ends early), in or after a value that may be a password; )"
         LR"(where is not said, since it would tell the password's length. Nothing was )"
         LR"(changed."})"},
    };
    for (const auto& c : cases)
    {
        wchar_t message[kDscLineCapacity];
        TextBuffer text(message, kDscLineCapacity);
        ComposeDscInputError(c.problem, c.operation, DscTextsFor(c.german), text);
        wchar_t storage[kDscLineCapacity];
        TextBuffer line(storage, kDscLineCapacity);
        ComposeDscLine(DscLevel::Error, text.Text(), line);
        EXPECT_EQ(std::wstring(line.Text()), c.line + L"\n");
    }

    // Every fault has its words in both languages, and the longest fits a line.
    for (const bool german : {false, true})
    {
        for (unsigned int e = 1; e < static_cast<unsigned int>(DscInputError::Count); ++e)
        {
            const DscInputProblem worst{static_cast<DscInputError>(e), password, kDscInputLimit,
                                        JsonError::Members};
            wchar_t message[kDscLineCapacity];
            TextBuffer text(message, kDscLineCapacity);
            ComposeDscInputError(worst, DscOperation::WhatIf, DscTextsFor(german), text);
            wchar_t storage[kDscLineCapacity];
            TextBuffer line(storage, kDscLineCapacity);
            ComposeDscLine(DscLevel::Error, text.Text(), line);
            EXPECT_TRUE(line.Fits()) << kDscInputErrorIds[e] << (german ? " (German)" : "");
            EXPECT_FALSE(std::regex_search(std::wstring(message), std::wregex(L"\\{[ptnfo]\\}")))
                << kDscInputErrorIds[e] << ": every placeholder filled";
        }
    }
}
