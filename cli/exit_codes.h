// Exit codes of tarvelin-cli; status's own (0, 5, 6) come from its verdict.
#pragma once

constexpr int kExitDone = 0;
constexpr int kExitChangeFailed = 1;
constexpr int kExitBadCommandLine = 2; // also: no password given
constexpr int kExitCredentials = 3;
constexpr int kExitNeedsAdministrator = 4;
constexpr int kExitWouldChange = 7; // --check: something would change
