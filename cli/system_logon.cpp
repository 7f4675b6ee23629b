#include "commands.h"

LogonFunction SystemLogon()
{
    return LogonUserW;
}
