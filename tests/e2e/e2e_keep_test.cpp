// tarvelin-cli keep end to end, through the stand-in build (tests/e2e/standin_cli.cpp) and
// Wine's own Task Scheduler: keep on from each starting state and keep run over each loss,
// every command run twice to show that the second changes nothing, with the registry, the
// secret, the record, the copy, the task and the events checked afterwards. Wine keeps the
// task but writes neither its triggers nor its actions back, so the definition checked is the
// one the program handed to the Task Scheduler; Wine keeps no event log, so the events are
// those handed to ReportEventW, formatted from the program's message table.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"

namespace
{
const wchar_t kRecordKey[] = L"SOFTWARE\\Vestrakona\\Tarvelin\\Keep";
const wchar_t kSecurityKey[] = L"SOFTWARE\\TarvelinTest\\StandInSecurity";
const wchar_t kTaskKey[] = L"SOFTWARE\\TarvelinTest\\StandInTask";
const char kPassword[] = "Keep-Pw-3307";
// Only administrators, SYSTEM and TrustedInstaller may change it; Users may read it.
const wchar_t kProtected[] = L"O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

std::wstring Folder()
{
    wchar_t root[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%ProgramFiles%", root, MAX_PATH);
    return std::wstring(root) + L"\\Vestrakona\\Tarvelin";
}

// The task as Wine's Task Scheduler keeps it: present or not.
bool TaskKept()
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return GetFileAttributesW((std::wstring(windows) +
                               L"\\system32\\tasks\\Vestrakona\\Tarvelin keeps automatic logon")
                                  .c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The events written since the last call: "<type> <id>[ user]" and the message, each.
class Events
{
  public:
    Events() : path_(TempFilePath())
    {
        SetEnvironmentVariableW(L"TARVELIN_STANDIN_EVENTS", path_.c_str());
    }
    ~Events()
    {
        SetEnvironmentVariableW(L"TARVELIN_STANDIN_EVENTS", nullptr);
        DeleteFileW(path_.c_str());
    }
    Events(const Events&) = delete;
    Events& operator=(const Events&) = delete;
    std::string Take()
    {
        std::string text;
        ReadFileBytes(path_, text);
        DeleteFileW(path_.c_str());
        return text;
    }

  private:
    std::wstring path_;
};

// Every key keep touches, held for the test and put back; the Task Scheduler started.
struct KeepMachine
{
    StatusKeys keys;
    MachineKey secret{L"SOFTWARE\\TarvelinTest\\StandInSecret"};
    MachineKey security{kSecurityKey};
    MachineKey task{kTaskKey};
    Events events;

    KeepMachine()
    {
        RunCli(L"keep off", "", StandInPath());
        task.Hold({});
        Protect(kProtected);
        RunCli(L"start schedule", "", L"C:\\windows\\system32\\net.exe");
        events.Take();
    }
    ~KeepMachine() { RunCli(L"keep off", "", StandInPath()); }
    KeepMachine(const KeepMachine&) = delete;
    KeepMachine& operator=(const KeepMachine&) = delete;

    // The record keep leaves, read without creating its key.
    static RegValues Record()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRecordKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) !=
            ERROR_SUCCESS)
            return {};
        RegValues values = ReadValues(key);
        RegCloseKey(key);
        return values;
    }

    // The folder and the copy, as GetNamedSecurityInfoW answers for them.
    void Protect(const wchar_t* sddl)
    {
        security.Hold({{Folder(), TextValue(sddl)},
                       {Folder() + L"\\tarvelin-cli.exe", TextValue(kProtected)}});
    }
    bool Kept()
    {
        std::string copy;
        std::string self;
        const bool copied = ReadFileBytes(Folder() + L"\\tarvelin-cli.exe", copy) &&
                            ReadFileBytes(StandInPath(), self) && copy == self;
        const bool recorded = !Record().empty();
        EXPECT_EQ(copied, recorded) << "the copy and the record part ways";
        EXPECT_EQ(TaskKept(), recorded) << "the task and the record part ways";
        return recorded;
    }
};
} // namespace

TEST(CliKeep, OnFromEachStartingState)
{
    KeepMachine machine;
    const RegValues on = OnAs(L"VM", L"kiosk");
    const struct
    {
        const char* name;
        RegValues winlogon;
        const wchar_t* secret;
        DWORD exitCode;
        const char* said; // in the first run's words
    } rows[] = {
        {"on, with a password", on, L"Stored-Pw", 0,
         "Automatic logon for VM\\kiosk is kept: the task restores it"},
        {"off", With(on, {{L"AutoAdminLogon", TextValue(L"0")}}), L"Stored-Pw", 2,
         "automatic logon is not on"},
        {"on, with a logon count", With(on, {{L"AutoLogonCount", NumberValue(3)}}), L"Stored-Pw", 2,
         "a logon count is set"},
        {"on, the secret blank", on, L"", 2, "no password is stored"},
    };
    for (const auto& row : rows)
    {
        machine.keys.Hold(row.winlogon);
        machine.secret.Hold(SecretHolding(row.secret));
        const CliResult check = RunCli(L"keep on --check", "", StandInPath());
        EXPECT_EQ(check.exitCode, row.exitCode == 0 ? 7u : row.exitCode) << row.name;
        EXPECT_FALSE(machine.Kept()) << row.name << ": --check changed something";
        const CliResult first = RunCli(L"keep on", "", StandInPath());
        const CliResult again = RunCli(L"keep on --json", "", StandInPath());
        EXPECT_EQ(first.exitCode, row.exitCode) << row.name << ": " << first.err;
        EXPECT_EQ(again.exitCode, row.exitCode) << row.name << ": " << again.err;
        EXPECT_TRUE(Contains(first.out + first.err, row.said))
            << row.name << ": " << first.out << first.err;
        EXPECT_EQ(machine.keys.winlogon.Values(), row.winlogon) << row.name;
        EXPECT_EQ(machine.secret.Values(), SecretHolding(row.secret)) << row.name;
        const std::string events = machine.events.Take();
        if (row.exitCode != 0)
        {
            EXPECT_FALSE(machine.Kept()) << row.name;
            EXPECT_EQ(events, "") << row.name << ": a refusal wrote an event";
            continue;
        }
        EXPECT_TRUE(machine.Kept()) << row.name;
        EXPECT_TRUE(Contains(again.out, "\"changed\":false,\"user\":\"kiosk\",\"domain\":\"VM\","
                                        "\"steps\":[]"))
            << again.out;
        EXPECT_EQ(machine.Record(),
                  (RegValues{{L"User", TextValue(L"kiosk")}, {L"Domain", TextValue(L"VM")}}));
        // One event, for the one run that changed something, naming the account that ran it.
        EXPECT_EQ(events.find("4 4 user\r\ntarvelin-cli keep on: automatic logon is kept"), 0u)
            << events;
        EXPECT_EQ(events.find("4 4", 1), std::string::npos) << "a second event: " << events;
        EXPECT_TRUE(Contains(events, "By: " + Ascii(ThisComputer()) + "\\" + Ascii(ThisUser())))
            << events;
        EXPECT_TRUE(Contains(events, "  record the account VM\\kiosk\n")) << events;

        // The definition handed to the Task Scheduler: SYSTEM, the highest run level, the
        // three triggers, the protected copy with "keep run", never two at once, five minutes.
        const RegValues task = machine.task.Values();
        ASSERT_EQ(task.count(L"Xml"), 1u);
        const std::wstring bytes(reinterpret_cast<const wchar_t*>(task.at(L"Xml").data.data()),
                                 task.at(L"Xml").data.size() / sizeof(wchar_t));
        for (const wchar_t* part :
             {L"<UserId>S-1-5-18</UserId><RunLevel>HighestAvailable</RunLevel>",
              L"<BootTrigger><Enabled>true</Enabled></BootTrigger>",
              L"Provider[@Name='Microsoft-Windows-WindowsUpdateClient'] and EventID=19",
              L"<ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay>",
              L"<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>",
              L"<ExecutionTimeLimit>PT5M</ExecutionTimeLimit>", L"<Arguments>keep run</Arguments>"})
            EXPECT_NE(bytes.find(part), std::wstring::npos) << Ascii(part);
        EXPECT_NE(bytes.find(L"<Command>" + Folder() + L"\\tarvelin-cli.exe</Command>"),
                  std::wstring::npos);
        EXPECT_FALSE(Contains(events + first.out + again.out, kPassword));
        RunCli(L"keep off", "", StandInPath());
        EXPECT_FALSE(machine.Kept());
        EXPECT_EQ(machine.events.Take().find("4 5 user\r\ntarvelin-cli keep off"), 0u);
    }

    // A folder that Users may write to is refused before anything is written.
    machine.keys.Hold(on);
    machine.secret.Hold(SecretHolding(L"Stored-Pw"));
    machine.Protect(L"O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;BU)");
    const CliResult refused = RunCli(L"keep on", "", StandInPath());
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_TRUE(Contains(refused.err, "can be changed by an account that is not an "
                                      "administrator, SYSTEM or TrustedInstaller"))
        << refused.err;
    EXPECT_FALSE(machine.Kept());
    EXPECT_EQ(machine.events.Take(), "");
}

TEST(CliKeep, RunRestoresWhatWasLost)
{
    KeepMachine machine;
    const RegValues on = OnAs(L"VM", L"kiosk");
    const struct
    {
        const char* name;
        RegValues lost;
        const wchar_t* secret;
        const char* event; // the first run's: "" for none
    } rows[] = {
        {"switched off by an update", With(on, {{L"AutoAdminLogon", TextValue(L"0")}}),
         L"Stored-Pw", "4 6 user\r\n"},
        {"another user", With(on, {{L"DefaultUserName", TextValue(L"Other")}}), L"Stored-Pw",
         "4 6 user\r\n"},
        {"a count added", With(on, {{L"AutoLogonCount", NumberValue(1)}}), L"Stored-Pw",
         "4 6 user\r\n"},
        {"the name in other letters", OnAs(L"vm", L"KIOSK"), L"Stored-Pw", ""},
        {"nothing lost", on, L"Stored-Pw", ""},
        {"the secret gone", With(on, {{L"AutoAdminLogon", TextValue(L"0")}}), nullptr,
         "4 7 user\r\n"},
    };
    for (const auto& row : rows)
    {
        machine.keys.Hold(on);
        machine.secret.Hold(SecretHolding(L"Stored-Pw"));
        ASSERT_EQ(RunCli(L"keep on", "", StandInPath()).exitCode, 0u) << row.name;
        machine.events.Take();
        machine.keys.Hold(row.lost);
        machine.secret.Hold(SecretHolding(row.secret));
        const CliResult first = RunCli(L"keep run --json", "", StandInPath());
        const CliResult again = RunCli(L"keep run --json", "", StandInPath());
        EXPECT_EQ(first.exitCode, 0u) << row.name << ": " << first.err;
        EXPECT_EQ(again.exitCode, 0u) << row.name << ": " << again.err;
        EXPECT_TRUE(Contains(again.out, "\"changed\":false")) << row.name << ": " << again.out;
        const std::string events = machine.events.Take();
        EXPECT_EQ(events.find(row.event), 0u) << row.name << ": " << events;
        EXPECT_EQ(events.find("\r\n\r\n4 "), std::string::npos) << row.name << ": " << events;
        if (row.secret == nullptr)
        {
            // Nothing to restore without a password: keeping is off, Winlogon as it was.
            EXPECT_FALSE(machine.Kept()) << row.name;
            EXPECT_EQ(machine.keys.winlogon.Values(), row.lost) << row.name;
            EXPECT_TRUE(Contains(events, "run tarvelin-cli set --user NAME and tarvelin-cli keep "
                                         "on again"))
                << events;
            continue;
        }
        EXPECT_TRUE(machine.Kept()) << row.name;
        EXPECT_EQ(machine.keys.winlogon.Values(), row.event[0] != '\0' ? on : row.lost) << row.name;
        EXPECT_EQ(machine.secret.Values(), SecretHolding(L"Stored-Pw")) << row.name;
    }

    // While kept, a logon count is refused, set keeps its new account, and remove switches
    // keeping off first.
    machine.keys.Hold(on);
    machine.secret.Hold(SecretHolding(L"Stored-Pw"));
    ASSERT_EQ(RunCli(L"keep on", "", StandInPath()).exitCode, 0u);
    const CliResult counted =
        RunCli(L"set --user VM\\kiosk --logon-count 2 --no-verify", kPassword, StandInPath());
    EXPECT_EQ(counted.exitCode, 2u);
    EXPECT_TRUE(Contains(counted.err, "run tarvelin-cli keep off first")) << counted.err;
    EXPECT_EQ(RunCli(L"set --user VM\\other --no-verify", kPassword, StandInPath()).exitCode, 0u);
    EXPECT_EQ(machine.Record(),
              (RegValues{{L"User", TextValue(L"other")}, {L"Domain", TextValue(L"VM")}}));
    const CliResult status = RunCli(L"status --json", "", StandInPath());
    EXPECT_TRUE(Contains(status.out, "\"keep\":{\"user\":\"other\",\"domain\":\"VM\",\"task\":"
                                     "\"ready\",\"lastResult\":null}"))
        << status.out;
    // Off already, but kept: the dry run of remove still has keeping to switch off.
    const RegValues kept = machine.keys.winlogon.Values();
    machine.keys.Hold({{L"AutoAdminLogon", TextValue(L"0")}});
    machine.secret.Hold({});
    const CliResult removeCheck = RunCli(L"remove --check", "", StandInPath());
    machine.keys.Hold(kept);
    machine.secret.Hold(SecretHolding(L"Stored-Pw"));
    EXPECT_EQ(removeCheck.exitCode, 7u);
    EXPECT_TRUE(Contains(removeCheck.out, "  delete the task \\Vestrakona\\")) << removeCheck.out;
    EXPECT_TRUE(machine.Kept());
    EXPECT_EQ(RunCli(L"remove", "", StandInPath()).exitCode, 0u);
    EXPECT_FALSE(machine.Kept());
    const std::string events = machine.events.Take();
    EXPECT_TRUE(Contains(events, "4 5 user\r\ntarvelin-cli keep off")) << events;
    EXPECT_TRUE(Contains(events, "4 2 user\r\ntarvelin-cli remove")) << events;
    EXPECT_FALSE(Contains(events, kPassword)) << events;
}
