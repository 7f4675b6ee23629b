#include "texts.h"

// Non-ASCII letters as \u escapes in UTF-8 literals, so that the source reads the same to
// every compiler and the program holds UTF-8.
namespace
{
const CliTexts kEnglish = {
    u8"tarvelin-cli switches Windows automatic logon on and off, and tells whether it works.",
    u8"Usage: ",
    {u8"Commands:", u8"Options:", u8"Exit codes:"},
    {u8"Shows whether automatic logon is on, and what keeps Windows from using it.",
     u8"Switches automatic logon on for a user.",
     u8"Switches automatic logon off and deletes the stored password.",
     u8"Repairs what keeps automatic logon from working and belongs to it.",
     u8"Keeps automatic logon on: a scheduled task restores it after updates.",
     u8"The DSC v3 resource's operations, for dsc and WinGet Configuration.",
     u8"Shows the help of a command.", u8"Shows the version."},
    {u8"Shows whether automatic logon is on, for whom, whether a password is stored (never the "
     u8"password), and each cause found that stops Windows from logging on by itself (a "
     u8"problem) or may stop it or is unsafe (a warning). It changes nothing. Without "
     u8"administrator rights, whether a password is stored is unknown.",
     u8"Switches automatic logon on for the user and stores the password as the LSA secret "
     u8"DefaultPassword, not as a registry value. The domain is the DOMAIN of --user "
     u8"DOMAIN\\NAME, or --domain; none for --user NAME@DOMAIN; otherwise this computer's "
     u8"name.\n\n"
     u8"The password is never taken from the command line: it is the first line of "
     u8"--password-file or of standard input (UTF-8), or it is typed at a prompt when standard "
     u8"input is a console. Windows checks the user name and password before anything is "
     u8"written.\n\n"
     u8"set changes only what differs from what it would write, and says so. It needs an "
     u8"elevated prompt (\"Run as administrator\") and checks that before it reads the "
     u8"password.",
     u8"Switches automatic logon off: AutoAdminLogon \"0\", the stored password deleted, and no "
     u8"plain-text DefaultPassword or AutoLogonCount left. It changes only what differs, and "
     u8"needs an elevated prompt.",
     u8"Repairs causes that status names, saving each value it changes first and putting "
     u8"everything back when a step fails. Without names it repairs what belongs to automatic "
     u8"logon itself: plain-text-password (the password moves into the LSA secret where none "
     u8"is stored, and the value goes, in both registry views), wow64-leftovers and "
     u8"logon-count-used-up. Only when named, since they change the account or the sign-in "
     u8"settings: password-expires (the local account's password never expires), "
     u8"account-locked (unlocks it) and passwordless-sign-in (DevicePasswordLessBuildVersion "
     u8"0). What a policy sets, or what needs a decision about the account, it never "
     u8"repairs: --check says why, and where. It needs an elevated prompt.",
     u8"keep on keeps the present set-up: it copies this program to %ProgramFiles%\\"
     u8"Vestrakona\\Tarvelin, records the user and domain (never the password) and registers the "
     u8"task \\Vestrakona\\Tarvelin keeps automatic logon, which runs the copy as SYSTEM with "
     u8"\"keep run\" at every start of Windows, after each installed update and once a day. keep "
     u8"run restores AutoAdminLogon, the user and the domain where they were changed; where no "
     u8"password is stored any more, automatic logon was switched off, and it switches keeping "
     u8"off. keep off removes the task, the record and the copy. remove switches keeping off "
     u8"first. Each change is recorded in the Application log, source Tarvelin. It needs an "
     u8"elevated prompt.",
     u8"The operations of the DSC v3 resource Vestrakona.Tarvelin/AutoLogon, which dsc and "
     u8"WinGet Configuration start through tarvelin.dsc.resource.json: the instance as JSON on "
     u8"standard input, the state as JSON on standard output, errors as trace lines on "
     u8"standard error. set --check is the what-if. set and test need an elevated process.",
     u8"Shows the commands, or a command's usage, options and exit codes.",
     u8"Shows the program's name and version."},
    {u8"The account that logs on: NAME, DOMAIN\\NAME or NAME@DOMAIN.",
     u8"The account's domain, where --user names none.",
     u8"Reads the password from the first line of this file: UTF-8, or UTF-16LE with a "
     u8"byte-order mark. The path is never shown.",
     u8"Windows logs on by itself N more times (1 to 999999), then switches it off.",
     u8"Skips the credential check, for accounts that Windows cannot check ahead. At a prompt "
     u8"the password is then typed twice.",
     u8"Does every check and lists what would change; changes nothing.",
     u8"Prints one JSON object on one line, for success and failure alike."},
    {u8"automatic logon is on, and nothing found stops it", u8"done, or nothing needed doing",
     u8"done; test says in _inDesiredState whether the machine is as wanted", u8"done",
     u8"a value could not be read, so nothing is judged",
     u8"the change failed; the output says whether everything was put back",
     u8"the change failed, or a value could not be read",
     u8"bad command line, or no password given", u8"bad command line",
     u8"bad command line, or a cause named that fix never repairs",
     u8"bad command line, or automatic logon is not as keep on needs it",
     u8"invalid input or command line; nothing changed",
     u8"the credential check refused the user name and password, or could not check them",
     u8"administrator rights needed", u8"automatic logon is off",
     u8"automatic logon is on, but a problem listed stops it", u8"--check: something would change"},
    u8"\"tarvelin-cli help COMMAND\" shows a command's options and exit codes.",
    u8"\"tarvelin-cli help {}\" shows its options and exit codes.\n",
    {u8"Problems (exit code 6):", u8"Warnings:"},

    u8"no command given.\n",
    u8"unknown command: {}",
    u8"argument {} is not a command; it is not shown, in case it is a password.",
    u8" (did you mean {}?)",
    u8"unknown option: {}",
    u8"argument {} is not an option; it is not shown, in case it is a password.",
    u8"{0} does not take {1}.",
    u8"argument {} is unexpected; it is not shown, in case it is a password.\n",
    u8"{} needs a value.\n",
    u8"{} takes no value.\n",
    u8"{} is given twice.\n",
    u8"the password is never taken from the command line, where other programs can read it. "
    u8"Use --password-file, pipe it to standard input (the first line, UTF-8), or run set at "
    u8"a console and type it at the prompt.\n",
    u8"set needs the user: --user NAME or --user DOMAIN\\NAME.\n",
    u8"the user name is empty.\n",
    u8"--user takes NAME or DOMAIN\\NAME: a domain before the backslash, a name after it, and "
    u8"no second backslash.\n",
    u8"the domain is given twice, in --user DOMAIN\\NAME and with --domain: give it once.\n",
    u8"--logon-count takes a whole number from 1 to 999999.\n",
    u8"--logon-count is out of range: it takes a number from 1 to 999999.\n",
    u8"dsc takes an operation: get, set, test or export; keep takes on, off or run.\n",
    u8"the value of {0} is longer than {1} characters; it is refused, not cut.\n",
    u8"fix knows no cause named {}",
    u8"argument {} is not a cause that fix knows; it is not shown, in case it is a password.",

    u8"changing automatic logon needs administrator rights. Run this command from an elevated "
    u8"prompt (\"Run as administrator\").\n",
    u8"Password: ",
    u8"Password again: ",
    u8"the two passwords typed differ.",
    {u8"no password given: the first line of standard input is empty.",
     u8"no password given: the first line of the password file is empty."},
    u8"the password is longer than {} characters; it is refused, not cut.",
    {u8"standard input is not UTF-8 text (or it holds a null character); the password was not "
     u8"read.",
     u8"the password file is neither UTF-8 nor UTF-16LE with a byte-order mark (or it holds a "
     u8"null character); the password was not read."},
    {u8"standard input is UTF-16 text, as a file that Windows PowerShell 5.1 writes with > or "
     u8"Out-File is; the password was not read. Give such a file with --password-file, which "
     u8"reads UTF-16, or send UTF-8.",
     u8"the password file is UTF-16 without a byte-order mark, or big-endian; the password was "
     u8"not read. Save it as UTF-8, or as UTF-16LE with a byte-order mark (as Windows "
     u8"PowerShell 5.1's Out-File does)."},
    {u8"the password could not be read from standard input (error {}).",
     u8"the password file could not be read (error {})."},
    u8"the computer's name could not be read (error {}); give the domain with --domain.",
    u8"Credential check: Windows accepts this user name and password.\n",
    u8"Credential check skipped (--no-verify): the user name and password were not checked.\n",
    u8"the credential check refused the logon: ",
    {u8"the user name or the password is wrong.\n",
     u8"the password has expired or must be changed at the next logon.\n",
     u8"the account is disabled, locked or expired, or may not log on now or on this computer.\n",
     u8"this user may not log on interactively on this computer (logon type not granted).\n"},
    u8"the user name and password could not be checked (error {}). Where Windows cannot check "
    u8"them ahead, for instance with no domain controller in reach, --no-verify skips the "
    u8"check.\n",
    u8"Nothing was changed.\n",

    u8"Automatic logon: ",
    u8"on",
    u8"off",
    u8"Domain: ",
    u8"User: ",
    u8"(none)",
    u8"Password secret: ",
    {u8"absent", u8"present", u8"unknown (reading it needs administrator rights)"},
    u8"Plain-text password in the registry: ",
    u8"yes",
    u8"no",
    u8"Logon count: ",
    u8"not set",
    u8"Problem",
    u8"Warning",
    {u8"this PC requires Windows Hello sign-in, so Windows ignores automatic logon.",
     u8"a legal notice must be confirmed at logon, so Windows waits for a key press.",
     u8"no password is stored, so Windows switches automatic logon off by itself.",
     u8"no user name is set.",
     u8"the logon count is used up (AutoLogonCount 0), so Windows switches automatic logon off "
     u8"at the next start.",
     u8"the account is disabled.",
     u8"the account is locked out.",
     u8"the account's password has expired or must be changed at the next logon.",
     u8"this computer has no account of that name.",
     u8"the account is marked \"User must change password at next logon\", so Windows asks "
     u8"for a new password instead of logging on.",
     u8"the account expired on {0}, so Windows refuses its logon.",
     u8"the password stands readable in the registry (DefaultPassword).",
     u8"automatic logon ends after {} more starts (AutoLogonCount).",
     u8"whether a password is stored is unknown: reading it needs administrator rights.",
     u8"AutoAdminLogon holds {}, not the text \"0\" or \"1\" as Windows writes it; whether "
     u8"Windows takes that form is not known.",
     u8"Exchange ActiveSync policies stand under EAS\\Policies ({}); automatic logon does not "
     u8"work while their password restrictions are active, and which values make them so is "
     u8"not documented.",
     u8"the domain is neither this computer's name nor the domain it is joined to (was the "
     u8"computer renamed?), so the logon may fail.",
     u8"Winlogon values stand in the 32-bit registry view (WOW6432Node), where Windows never "
     u8"reads them; a password there is readable.",
     u8"the policy \"Don't display user name at sign-in\" is on; it may keep automatic logon "
     u8"from working.",
     u8"the Windows Hello for Business passwordless experience is on; it may hide the password "
     u8"sign-in that automatic logon uses.",
     u8"the password credential provider is excluded by policy (ExcludedCredentialProviders); "
     u8"automatic logon signs in with a password.",
     u8"the account's password expires on {0} (days left: {1}) under the local password "
     u8"policy; then Windows stops at \"Your password has expired and must be changed\".",
     u8"the account expires on {0} (days left: {1}); then Windows refuses its logon.",
     u8"the account's logon hours shut it out at some hours on these days: {0}; a start in "
     u8"those hours ends at the sign-in screen."},
    {u8"Sunday", u8"Monday", u8"Tuesday", u8"Wednesday", u8"Thursday", u8"Friday", u8"Saturday"},
    {u8"Result: automatic logon is on, and nothing found stops it.\n",
     u8"Result: automatic logon is off.\n",
     u8"Result: automatic logon is on, but the problems above stop it.\n"},
    u8"{0} could not be read (error {1}), so nothing is judged. Error 234 means that it kept "
    u8"changing while it was read: try again.\n",

    {u8"Would fix:", u8"Fixed:", u8"Left as it is:"},
    u8"Nothing to fix.\n",
    u8"the plain-text password moves into the LSA secret DefaultPassword",
    {u8"account {}: the password never expires", u8"account {}: unlocked"},
    {u8"repaired only when named (tarvelin-cli fix {}), since it changes the account or the "
     u8"sign-in settings",
     u8"a policy sets it and would set it again; change it there: {}",
     u8"it needs a decision about the account: {}", u8"tarvelin-cli set repairs it."},
    {nullptr,
     // A sentence in two literals: concatenated on purpose.
     // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
     u8"Local Security Policy, \"Interactive logon: Message title/text for users attempting to "
     u8"log on\"",
     nullptr, nullptr, nullptr,
     u8"enable the account if it should log on (net user NAME /active:yes)", nullptr,
     u8"change the account's password, then run tarvelin-cli set with the new one",
     u8"create the account, or run tarvelin-cli set for one that exists",
     u8"clear \"User must change password at next logon\" (lusrmgr.msc), or change the "
     u8"password and run tarvelin-cli set with the new one",
     u8"extend or clear the account's expiry date (net user NAME /expires:never)", nullptr, nullptr,
     u8"run fix from an elevated prompt", nullptr,
     u8"the Exchange ActiveSync or device-management policy that set them (EAS\\Policies)", nullptr,
     nullptr, u8"Local Security Policy, \"Interactive logon: Don't display username at sign-in\"",
     u8"Intune or Group Policy, \"Enable passwordless experience\"",
     u8"Group Policy, \"Exclude credential providers\"", nullptr,
     u8"extend or clear the account's expiry date (net user NAME /expires:never)",
     u8"widen the account's logon hours (net user NAME /times:all)"},
    u8"fix does not repair {0}: {1}\n",
    u8"the LSA secret could not be read, so it is not known whether the plain-text password is "
    u8"the only copy of the password. Nothing was changed.\n",
    u8"tarvelin-cli: fix failed: ",

    u8"cancelled.\n",
    u8"this console cannot hide the typing, so the password is not asked for here. Use "
    u8"--password-file, or pipe it to standard input (the first line, UTF-8). Nothing was "
    u8"changed.\n",
    u8"nobody can see this console (its window station is not interactive, or its window is "
    u8"hidden), so nobody could type the password at a prompt. Use --password-file, or pipe it "
    u8"to standard input (the first line, UTF-8). Nothing was changed.\n",
    false,
};

const CliTexts kGerman = {
    u8"tarvelin-cli schaltet die automatische Anmeldung von Windows ein und aus und sagt, ob "
    u8"sie funktioniert.",
    u8"Aufruf: ",
    {u8"Befehle:", u8"Optionen:", u8"Exit-Codes:"},
    {u8"Zeigt, ob die automatische Anmeldung an ist und was Windows daran hindert.",
     u8"Schaltet die automatische Anmeldung f\u00fcr einen Benutzer ein.",
     u8"Schaltet die automatische Anmeldung aus und l\u00f6scht das gespeicherte Passwort.",
     u8"Behebt, was die automatische Anmeldung verhindert und zu ihr geh\u00f6rt.",
     // A sentence in two literals: concatenated on purpose.
     // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
     u8"H\u00e4lt die automatische Anmeldung: eine geplante Aufgabe stellt sie nach Updates "
     u8"wieder her.",
     u8"Die Operationen der DSC-v3-Ressource, f\u00fcr dsc und WinGet Configuration.",
     u8"Zeigt die Hilfe zu einem Befehl.", u8"Zeigt die Version."},
    {u8"Zeigt, ob die automatische Anmeldung an ist, f\u00fcr wen, ob ein Passwort gespeichert "
     u8"ist (nie das Passwort selbst), und jede gefundene Ursache, die Windows an der "
     u8"automatischen Anmeldung hindert (ein Problem) oder hindern kann oder unsicher ist (eine "
     u8"Warnung). \u00c4ndert nichts. Ohne Administratorrechte bleibt unbekannt, ob ein "
     u8"Passwort gespeichert ist.",
     u8"Schaltet die automatische Anmeldung f\u00fcr den Benutzer ein und speichert das Passwort "
     u8"als LSA-Geheimnis DefaultPassword, nicht als Registrierungswert. Die Dom\u00e4ne ist "
     u8"DOMAIN aus --user DOMAIN\\NAME oder --domain; bei --user NAME@DOMAIN keine; sonst der "
     u8"Name dieses Computers.\n\n"
     u8"Das Passwort wird nie von der Befehlszeile genommen: Es ist die erste Zeile von "
     u8"--password-file oder der Standardeingabe (UTF-8), oder es wird abgefragt, wenn die "
     u8"Standardeingabe eine Konsole ist. Windows pr\u00fcft Benutzername und Passwort, bevor "
     u8"etwas geschrieben wird.\n\n"
     u8"set \u00e4ndert nur, was von dem abweicht, was es schreiben w\u00fcrde, und sagt es. Es "
     u8"braucht eine Eingabeaufforderung mit erh\u00f6hten Rechten (\"Als Administrator "
     u8"ausf\u00fchren\") und pr\u00fcft das, bevor es das Passwort liest.",
     u8"Schaltet die automatische Anmeldung aus: AutoAdminLogon \"0\", das gespeicherte "
     u8"Passwort gel\u00f6scht, und kein DefaultPassword im Klartext und kein AutoLogonCount "
     u8"bleiben zur\u00fcck. \u00c4ndert nur, was abweicht, und braucht eine "
     u8"Eingabeaufforderung mit erh\u00f6hten Rechten.",
     u8"Behebt Ursachen, die status nennt: Jeden Wert, den es \u00e4ndert, sichert es vorher, "
     u8"und scheitert ein Schritt, stellt es alles wieder her. Ohne Namen behebt es, was zur "
     u8"automatischen Anmeldung selbst geh\u00f6rt: plain-text-password (das Passwort wandert "
     u8"in das LSA-Geheimnis, wo keines gespeichert ist, und der Wert wird gel\u00f6scht, in "
     u8"beiden Ansichten der Registrierung), wow64-leftovers und logon-count-used-up. Nur wenn "
     u8"genannt, da sie das Konto oder die Anmeldeeinstellungen \u00e4ndern: password-expires "
     u8"(das Passwort des lokalen Kontos l\u00e4uft nie ab), account-locked (entsperrt es) "
     u8"und passwordless-sign-in (DevicePasswordLessBuildVersion 0). Was eine Richtlinie setzt "
     u8"oder eine Entscheidung \u00fcber das Konto braucht, behebt es nie: --check sagt, "
     u8"warum und wo. Braucht eine Eingabeaufforderung mit erh\u00f6hten Rechten.",
     u8"keep on h\u00e4lt die jetzige Einrichtung: Es kopiert dieses Programm nach "
     u8"%ProgramFiles%\\Vestrakona\\Tarvelin, vermerkt Benutzer und Dom\u00e4ne (nie das "
     u8"Passwort) und richtet die Aufgabe \\Vestrakona\\Tarvelin keeps automatic logon ein, "
     u8"die die Kopie als SYSTEM mit \"keep run\" bei jedem Start von Windows, nach jedem "
     u8"installierten Update und einmal am Tag ausf\u00fchrt. keep run stellt AutoAdminLogon, "
     u8"Benutzer und Dom\u00e4ne wieder her, wo sie ge\u00e4ndert wurden; ist kein Passwort "
     u8"mehr gespeichert, wurde die automatische Anmeldung ausgeschaltet, und es schaltet das "
     u8"Halten aus. keep off entfernt Aufgabe, Vermerk und Kopie. remove schaltet das Halten "
     u8"zuerst aus. Jede \u00c4nderung wird im Anwendungsprotokoll vermerkt, Quelle Tarvelin. "
     u8"Braucht eine Eingabeaufforderung mit erh\u00f6hten Rechten.",
     u8"Die Operationen der DSC-v3-Ressource Vestrakona.Tarvelin/AutoLogon, die dsc und "
     u8"WinGet Configuration \u00fcber tarvelin.dsc.resource.json starten: die Instanz als "
     u8"JSON auf der Standardeingabe, der Zustand als JSON auf der Standardausgabe, Fehler als "
     u8"Protokollzeilen auf der Standardfehlerausgabe. set --check ist die Was-w\u00e4re-wenn-"
     u8"Pr\u00fcfung. set und test brauchen einen Prozess mit erh\u00f6hten Rechten.",
     u8"Zeigt die Befehle oder Aufruf, Optionen und Exit-Codes eines Befehls.",
     u8"Zeigt Name und Version des Programms."},
    {u8"Das Konto, das sich anmeldet: NAME, DOMAIN\\NAME oder NAME@DOMAIN.",
     u8"Die Dom\u00e4ne des Kontos, wenn --user keine nennt.",
     u8"Liest das Passwort aus der ersten Zeile dieser Datei: UTF-8 oder UTF-16LE mit "
     u8"Byte-Order-Mark. Der Pfad wird nie angezeigt.",
     u8"Windows meldet sich noch N-mal (1 bis 999999) automatisch an; danach ist die "
     u8"automatische Anmeldung aus.",
     u8"\u00dcberspringt die Anmeldepr\u00fcfung, f\u00fcr Konten, die Windows nicht vorab "
     u8"pr\u00fcfen kann. Bei einer Abfrage wird das Passwort dann zweimal eingegeben.",
     u8"F\u00fchrt jede Pr\u00fcfung aus und zeigt, was sich \u00e4ndern w\u00fcrde; "
     u8"\u00e4ndert nichts.",
     u8"Gibt ein JSON-Objekt in einer Zeile aus, bei Erfolg wie bei Fehlern."},
    {u8"die automatische Anmeldung ist an, und nichts Gefundenes verhindert sie",
     u8"erledigt, oder es war nichts zu tun",
     u8"erledigt; test sagt in _inDesiredState, ob der Computer wie gew\u00fcnscht ist",
     u8"erledigt", u8"ein Wert lie\u00df sich nicht lesen, daher wird nichts beurteilt",
     u8"die \u00c4nderung ist fehlgeschlagen; die Ausgabe sagt, ob alles wiederhergestellt wurde",
     u8"die \u00c4nderung ist fehlgeschlagen, oder ein Wert lie\u00df sich nicht lesen",
     u8"fehlerhafte Befehlszeile, oder kein Passwort angegeben", u8"fehlerhafte Befehlszeile",
     u8"fehlerhafte Befehlszeile, oder eine Ursache genannt, die fix nie behebt",
     // A sentence in two literals: concatenated on purpose.
     // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
     u8"fehlerhafte Befehlszeile, oder die automatische Anmeldung ist nicht, wie keep on sie "
     u8"braucht",
     u8"ung\u00fcltige Eingabe oder Befehlszeile; nichts wurde ge\u00e4ndert",
     u8"die Anmeldepr\u00fcfung hat Benutzername und Passwort abgelehnt oder nicht gepr\u00fcft",
     u8"Administratorrechte n\u00f6tig", u8"die automatische Anmeldung ist aus",
     u8"die automatische Anmeldung ist an, aber ein genanntes Problem verhindert sie",
     u8"--check: etwas w\u00fcrde sich \u00e4ndern"},
    u8"\"tarvelin-cli help COMMAND\" zeigt Optionen und Exit-Codes eines Befehls.",
    u8"\"tarvelin-cli help {}\" zeigt seine Optionen und Exit-Codes.\n",
    {u8"Probleme (Exit-Code 6):", u8"Warnungen:"},

    u8"kein Befehl angegeben.\n",
    u8"unbekannter Befehl: {}",
    u8"Argument {} ist kein Befehl; es wird nicht angezeigt, falls es ein Passwort ist.",
    u8" (meinten Sie {}?)",
    u8"unbekannte Option: {}",
    u8"Argument {} ist keine Option; es wird nicht angezeigt, falls es ein Passwort ist.",
    u8"{0} kennt die Option {1} nicht.",
    u8"Argument {} ist hier nicht vorgesehen; es wird nicht angezeigt, falls es ein Passwort "
    u8"ist.\n",
    u8"{} braucht einen Wert.\n",
    u8"{} nimmt keinen Wert an.\n",
    u8"{} ist doppelt angegeben.\n",
    u8"das Passwort wird nie von der Befehlszeile genommen, wo andere Programme es lesen "
    u8"k\u00f6nnen. Nutzen Sie --password-file, leiten Sie es in die Standardeingabe (erste "
    u8"Zeile, UTF-8), oder starten Sie set in einer Konsole und geben Sie es bei der Abfrage "
    u8"ein.\n",
    u8"set braucht den Benutzer: --user NAME oder --user DOMAIN\\NAME.\n",
    u8"der Benutzername ist leer.\n",
    u8"--user nimmt NAME oder DOMAIN\\NAME: eine Dom\u00e4ne vor dem Backslash, einen Namen "
    u8"danach und keinen zweiten Backslash.\n",
    u8"die Dom\u00e4ne ist doppelt angegeben, in --user DOMAIN\\NAME und mit --domain: Geben Sie "
    u8"sie nur einmal an.\n",
    u8"--logon-count nimmt eine ganze Zahl von 1 bis 999999.\n",
    u8"--logon-count liegt au\u00dferhalb des Bereichs: erlaubt ist eine Zahl von 1 bis "
    u8"999999.\n",
    u8"dsc braucht eine Operation: get, set, test oder export; keep braucht on, off oder "
    u8"run.\n",
    u8"der Wert von {0} ist l\u00e4nger als {1} Zeichen; er wird abgelehnt, nicht gek\u00fcrzt.\n",
    u8"fix kennt keine Ursache namens {}",
    u8"Argument {} ist keine Ursache, die fix kennt; es wird nicht angezeigt, falls es ein "
    u8"Passwort ist.",

    u8"das \u00c4ndern der automatischen Anmeldung braucht Administratorrechte. Starten Sie den "
    u8"Befehl in einer Eingabeaufforderung mit erh\u00f6hten Rechten (\"Als Administrator "
    u8"ausf\u00fchren\").\n",
    u8"Passwort: ",
    u8"Passwort wiederholen: ",
    u8"die beiden eingegebenen Passw\u00f6rter stimmen nicht \u00fcberein.",
    {u8"kein Passwort angegeben: Die erste Zeile der Standardeingabe ist leer.",
     u8"kein Passwort angegeben: Die erste Zeile der Passwortdatei ist leer."},
    u8"das Passwort ist l\u00e4nger als {} Zeichen; es wird abgelehnt, nicht gek\u00fcrzt.",
    {u8"die Standardeingabe ist kein UTF-8-Text (oder enth\u00e4lt ein Nullzeichen); das "
     u8"Passwort wurde nicht gelesen.",
     u8"die Passwortdatei ist weder UTF-8 noch UTF-16LE mit Byte-Order-Mark (oder sie "
     u8"enth\u00e4lt ein Nullzeichen); das Passwort wurde nicht gelesen."},
    {u8"die Standardeingabe ist UTF-16-Text, wie ihn Windows PowerShell 5.1 mit > oder "
     u8"Out-File in eine Datei schreibt; das Passwort wurde nicht gelesen. Geben Sie eine "
     u8"solche Datei mit --password-file an, das UTF-16 liest, oder senden Sie UTF-8.",
     u8"die Passwortdatei ist UTF-16 ohne Byte-Order-Mark oder Big-Endian; das Passwort wurde "
     u8"nicht gelesen. Speichern Sie sie als UTF-8 oder als UTF-16LE mit Byte-Order-Mark (wie "
     u8"Out-File von Windows PowerShell 5.1)."},
    {u8"das Passwort lie\u00df sich nicht aus der Standardeingabe lesen (Fehler {}).",
     u8"die Passwortdatei lie\u00df sich nicht lesen (Fehler {})."},
    u8"der Name des Computers lie\u00df sich nicht lesen (Fehler {}); geben Sie die Dom\u00e4ne "
    u8"mit --domain an.",
    u8"Anmeldepr\u00fcfung: Windows akzeptiert diesen Benutzernamen und dieses Passwort.\n",
    u8"Anmeldepr\u00fcfung \u00fcbersprungen (--no-verify): Benutzername und Passwort wurden "
    u8"nicht gepr\u00fcft.\n",
    u8"die Anmeldepr\u00fcfung hat die Anmeldung abgelehnt: ",
    {u8"der Benutzername oder das Passwort ist falsch.\n",
     u8"das Passwort ist abgelaufen oder muss bei der n\u00e4chsten Anmeldung ge\u00e4ndert "
     u8"werden.\n",
     u8"das Konto ist deaktiviert, gesperrt oder abgelaufen, oder es darf sich zu dieser Zeit "
     u8"oder an diesem Computer nicht anmelden.\n",
     u8"dieser Benutzer darf sich an diesem Computer nicht interaktiv anmelden (Anmeldetyp "
     u8"nicht gew\u00e4hrt).\n"},
    u8"Benutzername und Passwort lie\u00dfen sich nicht pr\u00fcfen (Fehler {}). Wo Windows sie "
    u8"nicht vorab pr\u00fcfen kann, etwa ohne erreichbaren Dom\u00e4nencontroller, "
    u8"\u00fcberspringt --no-verify die Pr\u00fcfung.\n",
    u8"Nichts wurde ge\u00e4ndert.\n",

    u8"Automatische Anmeldung: ",
    u8"an",
    u8"aus",
    u8"Dom\u00e4ne: ",
    u8"Benutzer: ",
    u8"(keine)",
    u8"Gespeichertes Passwort: ",
    {u8"keines", u8"vorhanden", u8"unbekannt (zum Lesen sind Administratorrechte n\u00f6tig)"},
    u8"Passwort im Klartext in der Registrierung: ",
    u8"ja",
    u8"nein",
    u8"Anmeldez\u00e4hler: ",
    u8"nicht gesetzt",
    u8"Problem",
    u8"Warnung",
    {u8"dieser PC verlangt die Anmeldung mit Windows Hello, daher \u00fcbergeht Windows die "
     u8"automatische Anmeldung.",
     u8"bei der Anmeldung muss ein rechtlicher Hinweis best\u00e4tigt werden, daher wartet Windows "
     u8"auf einen Tastendruck.",
     u8"es ist kein Passwort gespeichert, daher schaltet Windows die automatische Anmeldung "
     u8"selbst aus.",
     u8"es ist kein Benutzername gesetzt.",
     u8"der Anmeldez\u00e4hler ist aufgebraucht (AutoLogonCount 0), daher schaltet Windows die "
     u8"automatische Anmeldung beim n\u00e4chsten Start aus.",
     u8"das Konto ist deaktiviert.",
     u8"das Konto ist gesperrt.",
     u8"das Passwort des Kontos ist abgelaufen oder muss bei der n\u00e4chsten Anmeldung "
     u8"ge\u00e4ndert werden.",
     u8"dieser Computer hat kein Konto dieses Namens.",
     u8"f\u00fcr das Konto ist \"Benutzer muss Kennwort bei der n\u00e4chsten Anmeldung "
     u8"\u00e4ndern\" gesetzt, daher verlangt Windows ein neues Passwort, statt sich "
     u8"anzumelden.",
     u8"das Konto ist am {0} abgelaufen, daher lehnt Windows seine Anmeldung ab.",
     u8"das Passwort steht lesbar in der Registrierung (DefaultPassword).",
     u8"die automatische Anmeldung endet nach {} weiteren Starts (AutoLogonCount).",
     u8"ob ein Passwort gespeichert ist, ist unbekannt: Zum Lesen sind Administratorrechte "
     u8"n\u00f6tig.",
     u8"AutoAdminLogon enth\u00e4lt {}, nicht den Text \"0\" oder \"1\", wie Windows ihn "
     u8"schreibt; ob Windows diese Form annimmt, ist nicht bekannt.",
     u8"unter EAS\\Policies stehen Richtlinien von Exchange ActiveSync ({}); solange deren "
     u8"Kennwortbeschr\u00e4nkungen aktiv sind, funktioniert die automatische Anmeldung nicht, "
     u8"und welche Werte sie aktiv machen, ist nicht dokumentiert.",
     u8"die Dom\u00e4ne ist weder der Name dieses Computers noch seine Dom\u00e4ne (wurde der "
     u8"Computer umbenannt?), daher kann die Anmeldung scheitern.",
     u8"Winlogon-Werte stehen in der 32-Bit-Ansicht der Registrierung (WOW6432Node), wo Windows "
     u8"sie nie liest; ein Passwort dort ist lesbar.",
     u8"die Richtlinie \"Benutzernamen bei der Anmeldung nicht anzeigen\" ist an; sie kann die "
     u8"automatische Anmeldung verhindern.",
     u8"die kennwortlose Anmeldung von Windows Hello for Business ist an; sie kann die "
     u8"Anmeldung mit Passwort ausblenden, die die automatische Anmeldung nutzt.",
     u8"der Anmeldeanbieter f\u00fcr Passw\u00f6rter ist per Richtlinie ausgeschlossen "
     u8"(ExcludedCredentialProviders); die automatische Anmeldung meldet sich mit Passwort an.",
     u8"das Passwort des Kontos l\u00e4uft nach der lokalen Kennwortrichtlinie am {0} ab "
     u8"(verbleibende Tage: {1}); danach h\u00e4lt Windows bei \"Ihr Kennwort ist abgelaufen "
     u8"und muss ge\u00e4ndert werden\" an.",
     u8"das Konto l\u00e4uft am {0} ab (verbleibende Tage: {1}); danach lehnt Windows seine "
     u8"Anmeldung ab.",
     u8"die Anmeldezeiten des Kontos sperren es zu manchen Stunden an diesen Tagen aus: {0}; "
     u8"ein Start in diesen Stunden endet am Anmeldebildschirm."},
    {u8"Sonntag", u8"Montag", u8"Dienstag", u8"Mittwoch", u8"Donnerstag", u8"Freitag", u8"Samstag"},
    {u8"Ergebnis: Die automatische Anmeldung ist an, und nichts Gefundenes verhindert sie.\n",
     u8"Ergebnis: Die automatische Anmeldung ist aus.\n",
     u8"Ergebnis: Die automatische Anmeldung ist an, aber die genannten Probleme verhindern "
     u8"sie.\n"},
    u8"{0} lie\u00df sich nicht lesen (Fehler {1}), daher wird nichts beurteilt. Fehler 234 "
    u8"hei\u00dft, dass sich der Wert beim Lesen st\u00e4ndig \u00e4nderte: Versuchen Sie es "
    u8"noch einmal.\n",

    {u8"W\u00fcrde behoben:", u8"Behoben:", u8"Bleibt, wie es ist:"},
    u8"Nichts zu beheben.\n",
    u8"das Passwort im Klartext wandert in das LSA-Geheimnis DefaultPassword",
    {u8"Konto {}: Das Passwort l\u00e4uft nie ab", u8"Konto {}: entsperrt"},
    {u8"wird nur behoben, wenn genannt (tarvelin-cli fix {}), da es das Konto oder die "
     u8"Anmeldeeinstellungen \u00e4ndert",
     u8"eine Richtlinie setzt es und w\u00fcrde es wieder setzen; \u00e4ndern Sie es dort: {}",
     u8"es braucht eine Entscheidung \u00fcber das Konto: {}", u8"tarvelin-cli set behebt es."},
    {nullptr,
     u8"Lokale Sicherheitsrichtlinie, \"Interaktive Anmeldung: Nachrichtentitel/-text f\u00fcr "
     u8"Benutzer, die sich anmelden wollen\"",
     nullptr,
     nullptr,
     nullptr,
     u8"aktivieren Sie das Konto, wenn es sich anmelden soll (net user NAME /active:yes)",
     nullptr,
     u8"\u00e4ndern Sie das Passwort des Kontos, und f\u00fchren Sie dann tarvelin-cli set mit "
     u8"dem neuen aus",
     u8"legen Sie das Konto an, oder f\u00fchren Sie tarvelin-cli set f\u00fcr ein vorhandenes "
     u8"aus",
     u8"entfernen Sie \"Benutzer muss Kennwort bei der n\u00e4chsten Anmeldung \u00e4ndern\" "
     u8"(lusrmgr.msc), oder \u00e4ndern Sie das Passwort und f\u00fchren Sie tarvelin-cli set "
     u8"mit dem neuen aus",
     u8"verl\u00e4ngern oder entfernen Sie das Ablaufdatum des Kontos (net user NAME "
     u8"/expires:never)",
     nullptr,
     nullptr,
     u8"starten Sie fix in einer Eingabeaufforderung mit erh\u00f6hten Rechten",
     nullptr,
     u8"die Exchange-ActiveSync- oder Ger\u00e4teverwaltungsrichtlinie, die sie gesetzt hat "
     u8"(EAS\\Policies)",
     nullptr,
     nullptr,
     u8"Lokale Sicherheitsrichtlinie, \"Interaktive Anmeldung: Benutzernamen bei der Anmeldung "
     u8"nicht anzeigen\"",
     u8"Intune oder Gruppenrichtlinie, \"Enable passwordless experience\"",
     u8"Gruppenrichtlinie, \"Anmeldeinformationsanbieter ausschlie\u00dfen\"",
     nullptr,
     u8"verl\u00e4ngern oder entfernen Sie das Ablaufdatum des Kontos (net user NAME "
     u8"/expires:never)",
     u8"erweitern Sie die Anmeldezeiten des Kontos (net user NAME /times:all)"},
    u8"fix behebt {0} nicht: {1}\n",
    u8"das LSA-Geheimnis lie\u00df sich nicht lesen, daher ist unbekannt, ob das Passwort im "
    u8"Klartext die einzige Kopie des Passworts ist. Nichts wurde ge\u00e4ndert.\n",
    u8"tarvelin-cli: fix ist fehlgeschlagen: ",

    u8"abgebrochen.\n",
    u8"diese Konsole kann die Eingabe nicht verbergen, daher wird das Passwort hier nicht "
    u8"abgefragt. Nutzen Sie --password-file, oder leiten Sie es in die Standardeingabe (erste "
    u8"Zeile, UTF-8). Nichts wurde ge\u00e4ndert.\n",
    u8"diese Konsole sieht niemand (ihre Fensterstation ist nicht interaktiv, oder ihr Fenster "
    u8"ist ausgeblendet), daher k\u00f6nnte niemand das Passwort bei einer Abfrage eingeben. "
    u8"Nutzen Sie --password-file, oder leiten Sie es in die Standardeingabe (erste Zeile, "
    u8"UTF-8). Nichts wurde ge\u00e4ndert.\n",
    true,
};
} // namespace

const CliTexts& TextsFor(bool german)
{
    return german ? kGerman : kEnglish;
}
