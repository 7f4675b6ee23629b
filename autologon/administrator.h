// Whether the process may change the machine's logon configuration.
#pragma once

// True when the process's token is a member of the Administrators group. In a UAC split
// token (a prompt that was not started "as administrator") the group is present but for
// deny only, so the answer is false there, as it should be.
bool RunsAsAdministrator();
