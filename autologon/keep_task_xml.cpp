#include "keep_task_xml.h"

HRESULT RegisterTaskXml(ITaskFolder* folder, BSTR name, BSTR xml)
{
    return RegisterTaskAsSystem(folder, name, xml);
}

HRESULT RegisteredTaskXml(IRegisteredTask* task, BSTR& xml)
{
    return task->get_Xml(&xml);
}
