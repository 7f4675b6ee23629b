// The status report: text for people, one fact a line, and JSON for scripts.
#pragma once
#include "status_verdict.h"
#include "text_buffer.h"
#include "texts.h"

// Characters that hold either report of any snapshot: each name at most kFieldLimit
// characters, each written as a six-character escape at worst.
constexpr std::size_t kStatusReportCapacity = 4096;

void ComposeStatusText(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                       const CliTexts& texts, TextBuffer& out);

// One object on one line (with its line end), always with every key:
// {"enabled":bool,"domain":string,"user":string,"secret":"present"|"absent"|"unknown",
//  "plainTextPassword":bool,"logonCount":number|null,"problems":[...],"warnings":[...]}
void ComposeStatusJson(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                       TextBuffer& out);
