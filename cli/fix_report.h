// What fix tells: the steps it takes (or would take), the causes it leaves and why, or what
// failed and what that left. Free of Windows headers: tested natively.
#pragma once
#include "fix_apply.h"
#include "text_buffer.h"
#include "texts.h"

// Enough for every step and cause, with the longest account name.
constexpr std::size_t kFixReportCapacity = 8192;

struct FixReport
{
    bool check = false;
    const FixPlan* plan = nullptr;
    const FixResult* result = nullptr; // null where nothing ran
    const wchar_t* user = nullptr;     // the account of the account steps
};

// The words, in the texts' language: true for standard output, false for a failure or a
// refusal (standard error).
bool ComposeFixText(const FixReport& report, const CliTexts& texts, TextBuffer& out);

// One JSON object on one line for every outcome, the line end included.
void ComposeFixJson(const FixReport& report, TextBuffer& out);
