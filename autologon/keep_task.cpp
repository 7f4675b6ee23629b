#include "keep_task.h"

#include "keep_task_xml.h"

#include "bounded_text.h"
#include "text_buffer.h"

const wchar_t kKeepTaskFolder[] = L"\\Vestrakona";
const wchar_t kKeepTaskName[] = L"Tarvelin keeps automatic logon";

namespace
{
// The class and interface identifiers, so that no GUID library is linked.
const CLSID kTaskScheduler = {
    0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};
const IID kTaskService = {
    0x2faba4c7, 0x4da9, 0x4013, {0x96, 0x97, 0x20, 0xcc, 0x3f, 0xd4, 0x0f, 0x85}};

// The definition as the Task Scheduler's own XML. The update trigger is the System log's
// event 19 of the Windows Update client ("Installation Successful"); the daily run catches a
// loss that neither a start nor an update brought. IgnoreNew: never two at once.
const wchar_t kTaskHead[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
    L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
    L"<RegistrationInfo><Description>Restores automatic logon as tarvelin-cli keep on kept "
    L"it.</Description></RegistrationInfo>"
    L"<Triggers><BootTrigger><Enabled>true</Enabled></BootTrigger>"
    L"<EventTrigger><Enabled>true</Enabled><Subscription>&lt;QueryList&gt;&lt;Query "
    L"Id=\"0\" Path=\"System\"&gt;&lt;Select Path=\"System\"&gt;*[System[Provider[@Name="
    L"'Microsoft-Windows-WindowsUpdateClient'] and EventID=19]]&lt;/Select&gt;&lt;/Query&gt;"
    L"&lt;/QueryList&gt;</Subscription></EventTrigger>"
    L"<CalendarTrigger><StartBoundary>2000-01-01T12:00:00</StartBoundary><Enabled>true"
    L"</Enabled><ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay>"
    L"</CalendarTrigger></Triggers>"
    L"<Principals><Principal id=\"System\"><UserId>S-1-5-18</UserId><RunLevel>"
    L"HighestAvailable</RunLevel></Principal></Principals>"
    L"<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
    L"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
    L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
    L"<StartWhenAvailable>true</StartWhenAvailable>"
    L"<ExecutionTimeLimit>PT5M</ExecutionTimeLimit><Enabled>true</Enabled></Settings>"
    L"<Actions Context=\"System\"><Exec><Command>";
const wchar_t kTaskTail[] = L"</Command><Arguments>keep run</Arguments></Exec></Actions></Task>";

// One COM apartment and the connected service, for the length of one call.
class Scheduler
{
  public:
    Scheduler()
    {
        initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        error_ = CoCreateInstance(kTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, kTaskService,
                                  reinterpret_cast<void**>(&service_));
        if (SUCCEEDED(error_))
        {
            VARIANT none;
            VariantInit(&none);
            error_ = service_->Connect(none, none, none, none);
        }
    }
    ~Scheduler()
    {
        if (service_ != nullptr)
            service_->Release();
        if (initialised_)
            CoUninitialize();
    }
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    HRESULT Error() const { return error_; }
    // The folder of that path, or null with the error.
    HRESULT Folder(const wchar_t* path, ITaskFolder*& folder)
    {
        folder = nullptr;
        BSTR name = SysAllocString(path);
        const HRESULT error = service_->GetFolder(name, &folder);
        SysFreeString(name);
        return error;
    }

  private:
    bool initialised_ = false;
    ITaskService* service_ = nullptr;
    HRESULT error_ = E_FAIL;
};

bool NotThere(HRESULT error)
{
    return error == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ||
           error == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

// Whether `text` holds `part` whole.
bool Holds(const wchar_t* text, const wchar_t* part)
{
    const std::size_t length = TextLength(part);
    for (; *text != L'\0'; ++text)
    {
        std::size_t i = 0;
        while (i < length && text[i] == part[i])
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

void ComposeCommand(const wchar_t* program, TextBuffer& out)
{
    out.Add(L"<Command>").Add(program).Add(L"</Command>");
}
} // namespace

KeepTaskInfo ReadKeepTask(const wchar_t* program)
{
    KeepTaskInfo info;
    Scheduler scheduler;
    info.error = scheduler.Error();
    if (FAILED(info.error))
        return info;
    // No folder, or no task in it: absent.
    ITaskFolder* folder = nullptr;
    IRegisteredTask* task = nullptr;
    info.error = scheduler.Folder(kKeepTaskFolder, folder);
    if (SUCCEEDED(info.error))
    {
        BSTR name = SysAllocString(kKeepTaskName);
        info.error = folder->GetTask(name, &task);
        SysFreeString(name);
        folder->Release();
    }
    if (NotThere(info.error))
    {
        info.found = KeepTaskFound::Absent;
        info.error = S_OK;
    }
    if (task == nullptr || FAILED(info.error))
        return info;
    BSTR xml = nullptr;
    info.error = RegisteredTaskXml(task, xml);
    if (SUCCEEDED(info.error))
    {
        wchar_t storage[MAX_PATH + 32];
        TextBuffer command(storage, CountOf(storage));
        ComposeCommand(program, command);
        const bool ours = Holds(xml, command.Text()) &&
                          Holds(xml, L"<Arguments>keep run</Arguments>") &&
                          Holds(xml, L"S-1-5-18") && Holds(xml, L"WindowsUpdateClient");
        info.found = ours ? KeepTaskFound::Ours : KeepTaskFound::Other;
        TASK_STATE state = TASK_STATE_UNKNOWN;
        if (SUCCEEDED(task->get_State(&state)))
            info.state = state;
        LONG result = 0;
        if (SUCCEEDED(task->get_LastTaskResult(&result)))
            info.lastResult = result;
        DATE last = 0;
        info.ran = SUCCEEDED(task->get_LastRunTime(&last)) && last > 1.0;
    }
    SysFreeString(xml);
    task->Release();
    return info;
}

HRESULT RegisterKeepTask(const wchar_t* program)
{
    Scheduler scheduler;
    if (FAILED(scheduler.Error()))
        return scheduler.Error();
    ITaskFolder* folder = nullptr;
    HRESULT error = scheduler.Folder(kKeepTaskFolder, folder);
    if (NotThere(error))
    {
        ITaskFolder* root = nullptr;
        error = scheduler.Folder(L"\\", root);
        if (FAILED(error))
            return error;
        BSTR name = SysAllocString(kKeepTaskFolder + 1);
        VARIANT none;
        VariantInit(&none);
        error = root->CreateFolder(name, none, &folder);
        SysFreeString(name);
        root->Release();
    }
    if (FAILED(error))
        return error;

    wchar_t storage[CountOf(kTaskHead) + MAX_PATH + CountOf(kTaskTail)];
    TextBuffer xml(storage, CountOf(storage));
    xml.Add(kTaskHead).Add(program).Add(kTaskTail);
    BSTR name = SysAllocString(kKeepTaskName);
    BSTR definition = SysAllocString(xml.Text());
    error = RegisterTaskXml(folder, name, definition);
    SysFreeString(definition);
    SysFreeString(name);
    folder->Release();
    return error;
}

HRESULT DeleteKeepTask()
{
    Scheduler scheduler;
    if (FAILED(scheduler.Error()))
        return scheduler.Error();
    ITaskFolder* folder = nullptr;
    HRESULT error = scheduler.Folder(kKeepTaskFolder, folder);
    if (NotThere(error))
        return S_OK;
    if (FAILED(error))
        return error;
    BSTR name = SysAllocString(kKeepTaskName);
    error = folder->DeleteTask(name, 0);
    SysFreeString(name);
    folder->Release();
    if (NotThere(error))
        error = S_OK;
    if (FAILED(error))
        return error;
    // The folder goes too once nothing else is in it; another task there keeps it.
    ITaskFolder* root = nullptr;
    if (SUCCEEDED(scheduler.Folder(L"\\", root)))
    {
        BSTR folderName = SysAllocString(kKeepTaskFolder + 1);
        root->DeleteFolder(folderName, 0);
        SysFreeString(folderName);
        root->Release();
    }
    return S_OK;
}
