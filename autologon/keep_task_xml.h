// The two calls that carry the task's definition to the Task Scheduler and back, apart so
// that the end-to-end build can stand in for them: Wine's Task Scheduler keeps a task but
// writes neither its triggers nor its actions back.
#pragma once
#include <windows.h>

#include <taskschd.h>

// ITaskFolder::RegisterTask of `xml` under `name`, as SYSTEM; S_OK or the error.
HRESULT RegisterTaskXml(ITaskFolder* folder, BSTR name, BSTR xml);

// What RegisterTaskXml does, for the stand-in that takes its place as well.
inline HRESULT RegisterTaskAsSystem(ITaskFolder* folder, BSTR name, BSTR xml)
{
    VARIANT user;
    VariantInit(&user);
    user.vt = VT_BSTR;
    user.bstrVal = SysAllocString(L"S-1-5-18");
    VARIANT none;
    VariantInit(&none);
    IRegisteredTask* task = nullptr;
    const HRESULT error = folder->RegisterTask(name, xml, TASK_CREATE_OR_UPDATE, user, none,
                                               TASK_LOGON_SERVICE_ACCOUNT, none, &task);
    if (task != nullptr)
        task->Release();
    SysFreeString(user.bstrVal);
    return error;
}
// IRegisteredTask::get_Xml: the definition as the Task Scheduler holds it.
HRESULT RegisteredTaskXml(IRegisteredTask* task, BSTR& xml);
