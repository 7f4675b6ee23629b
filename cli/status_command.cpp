// status [--json]: what decides whether Windows logs on by itself, read and judged.
#include "commands.h"
#include "console_io.h"
#include "keep_command.h"
#include "status_reader.h"
#include "status_report.h"

int RunStatus(bool json, const CliTexts& texts)
{
    StatusSnapshot snapshot;
    ReadStatusSnapshot(snapshot);
    ReadKeepStatus(snapshot);
    const StatusVerdict verdict = JudgeStatus(snapshot);

    wchar_t storage[kStatusReportCapacity];
    TextBuffer report(storage, ARRAYSIZE(storage));
    if (json)
        ComposeStatusJson(snapshot, verdict, report);
    else
        ComposeStatusText(snapshot, verdict, texts, report);
    // A status that could not be read is an error: standard error, unless JSON was asked for.
    if (verdict.exitCode == kStatusUnreadableExitCode && !json)
        WriteErr(report.Text());
    else
        WriteOut(report.Text());
    return verdict.exitCode;
}
