// fix: repairs causes that status names. The order is set's and remove's: the command line
// (2), administrator rights (4), then the machine is read, the plan made, and carried out (or,
// with --check, its writes opened and listed: 7 when anything would change).
#include "bounded_text.h"
#include "change_json.h"
#include "commands.h"
#include "console_io.h"
#include "exit_codes.h"
#include "fix_report.h"
#include "status_report.h"

int RunFix(const Arguments& arguments, const CliTexts& texts, bool administrator)
{
    wchar_t storage[kFixReportCapacity];
    TextBuffer words(storage, CountOf(storage));
    wchar_t jsonStorage[kFixReportCapacity];
    TextBuffer json(jsonStorage, CountOf(jsonStorage));
    if (!administrator)
    {
        WriteErr(words.Add(L"tarvelin-cli: ").Add(texts.needsAdministrator).Text());
        ComposeErrorJson("fix", arguments.check, "needs-administrator", 0, nullptr, json);
        if (arguments.json)
            WriteOut(json.Text());
        return kExitNeedsAdministrator;
    }

    StatusSnapshot snapshot;
    FixFacts facts;
    if (!ReadFixFacts(snapshot, facts))
    {
        ComposeStatusText(snapshot, JudgeStatus(snapshot), texts, words);
        WriteErr(words.Text());
        ComposeErrorJson("fix", arguments.check, "value-unreadable", snapshot.unreadableError,
                         nullptr, json);
        if (arguments.json)
            WriteOut(json.Text());
        return kExitChangeFailed;
    }
    const FixPlan plan = PlanFix(facts, arguments.fixCauses);
    FixResult result;
    FixReport report;
    report.check = arguments.check;
    report.plan = &plan;
    report.user = snapshot.user;
    if (plan.refused == 0 && !plan.undecided && plan.count > 0)
    {
        const BreakHeld held;
        result = ApplyFix(plan, snapshot.user, arguments.check);
        report.result = &result;
    }
    const bool done = ComposeFixText(report, texts, words);
    if (report.result != nullptr && !arguments.check)
    {
        wchar_t storage2[kFixReportCapacity];
        TextBuffer english(storage2, CountOf(storage2));
        ComposeFixText(report, TextsFor(false), english);
        RecordEvent(EventKind::Fix, !done, english.Text(),
                    done ? L"Done." : L"Failed: what was changed was put back where it could be.");
    }
    ComposeFixJson(report, json);
    if (!done)
        WriteErr(words.Text());
    else if (!arguments.json)
        WriteOut(words.Text());
    if (arguments.json)
        WriteOut(json.Text());
    if (plan.refused != 0)
        return kExitBadCommandLine;
    if (!done)
        return kExitChangeFailed;
    return arguments.check && plan.count > 0 ? kExitWouldChange : kExitDone;
}
