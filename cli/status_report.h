// The status report: text for people, one fact a line, and JSON for scripts.
#pragma once
#include "status_verdict.h"
#include "text_buffer.h"
#include "texts.h"

// Characters that hold either report of any snapshot: each name and AutoAdminLogon's text at
// most kFieldLimit characters, each written as a six-character escape at worst.
constexpr std::size_t kStatusReportCapacity = 8192;

// Composes the report for people, one fact a line; or, when a value could not be read, the
// one line that says which (for standard error).
void ComposeStatusText(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                       const CliTexts& texts, TextBuffer& out);

// A JSON array of the names of the problems (or of the warnings) among `causes`, in the order
// of kCauses: ["no-password","legal-notice"].
void AddJsonCauses(TextBuffer& out, unsigned int causes, bool problems);

// One object on one line (with its line end), always with every key:
// {"enabled":bool,"autoAdminLogon":value,"domain":string,"user":string,
//  "secret":"present"|"absent"|"unknown","plainTextPassword":bool,"logonCount":number|null,
//  "problems":[...],"warnings":[...]}
// or, when a value could not be read:
// {"command":"status","error":"value-unreadable","errorNumber":n,"key":string,"value":string}
void ComposeStatusJson(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                       TextBuffer& out);
