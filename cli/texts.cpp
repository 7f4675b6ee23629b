#include "texts.h"

// Non-ASCII letters as \u escapes in UTF-8 literals, so that the source reads the same to
// every compiler and the program holds UTF-8.
const char kUsage[] =
    u8"Usage:\n"
    u8"  tarvelin-cli status [--json]\n"
    u8"  tarvelin-cli set --user [DOMAIN\\]NAME [--domain NAME] [--logon-count N]\n"
    u8"                   [--no-verify] [--check] [--json]\n"
    u8"  tarvelin-cli remove [--check] [--json]\n"
    u8"  tarvelin-cli dsc get|test|export|set [--check]\n"
    u8"  tarvelin-cli --help        (also -h, /?)\n"
    u8"  tarvelin-cli --version\n";

namespace
{
const CliTexts kEnglish = {
    u8"tarvelin-cli switches Windows automatic logon on and off, and tells whether it works.\n\n",
    u8"\n"
    u8"  status     Shows whether automatic logon is on, and what keeps Windows from using it.\n"
    u8"             --json prints one JSON object on one line.\n"
    u8"  set        Switches automatic logon on for the user. The domain is the DOMAIN in\n"
    u8"             --user DOMAIN\\NAME, or --domain; none for --user NAME@DOMAIN; or else\n"
    u8"             this computer's name.\n"
    u8"             The password is never taken from the command line: it is the first line\n"
    u8"             of standard input (UTF-8), or typed at a prompt when that is a console.\n"
    u8"             Windows checks the user name and password before anything is written;\n"
    u8"             --no-verify skips that check, for accounts Windows cannot check ahead.\n"
    u8"             --logon-count N: automatic logon N times (1 to 999999), then off.\n"
    u8"  remove     Switches automatic logon off and deletes the stored password.\n"
    u8"  dsc        The DSC v3 resource's operations, for dsc and WinGet Configuration.\n"
    u8"\n"
    u8"set and remove change only what differs from what they would write, and say so.\n"
    u8"  --check    Does every check and lists what would change; changes nothing.\n"
    u8"  --json     Prints one JSON object on one line, for success and failure alike.\n"
    u8"\n"
    u8"set and remove need an elevated prompt (\"Run as administrator\"), and check that first,\n"
    u8"before they read the password.\n"
    u8"\n"
    u8"Exit codes:\n"
    u8"  0  done; for status: automatic logon is on and nothing found stops it\n"
    u8"  1  the change failed (the output says whether everything was put back), or\n"
    u8"     status could not read a value\n"
    u8"  2  bad command line, or no password given\n"
    u8"  3  the credential check refused the user name and password, or could not check them\n"
    u8"  4  administrator rights needed\n"
    u8"  5  status: automatic logon is off\n"
    u8"  6  status: automatic logon is on, but something listed stops it\n"
    u8"  7  --check: something would change\n",
    u8"tarvelin-cli --help shows the commands and exit codes.\n",
    {u8"\nProblems that status names (exit code 6):", u8"\nWarnings that status names:"},

    u8"no command given.\n",
    u8"unknown command: ",
    u8"unknown option here: ",
    {u8"argument ", u8" is no option here; it is not shown, in case it is a password.\n"},
    u8"this option needs a value: ",
    u8"this option is given twice: ",
    u8"the password is never taken from the command line, where other programs can read it. "
    u8"Pipe it to standard input (the first line, UTF-8), or run set at a console and type it "
    u8"at the prompt.\n",
    u8"set needs the user: --user NAME or --user DOMAIN\\NAME.\n",
    u8"the user name is empty.\n",
    u8"--user takes NAME or DOMAIN\\NAME: a domain before the backslash, a name after it, and "
    u8"no second backslash.\n",
    u8"the domain is given twice, in --user DOMAIN\\NAME and with --domain: give it once.\n",
    u8"--logon-count takes a whole number from 1 to 999999.\n",
    u8"dsc takes an operation: get, set, test or export.\n",
    {u8"the value of ", u8" is longer than ", u8" characters; it is refused, not cut.\n"},

    u8"changing automatic logon needs administrator rights. Run this command from an elevated "
    u8"prompt (\"Run as administrator\").\n",
    u8"Password: ",
    u8"no password given: the first line of standard input is empty. Nothing was changed.\n",
    {u8"the password is longer than ", u8" characters; it is refused, not cut.\n"},
    u8"standard input is not UTF-8 text (or it holds a null character); the password was not "
    u8"read. Nothing was changed.\n",
    u8"the password could not be read from standard input (error ",
    u8"the computer's name could not be read (error ",
    u8"); give the domain with --domain. Nothing was changed.\n",
    u8"Credential check: Windows accepts this user name and password.\n",
    u8"Credential check skipped (--no-verify): the user name and password were not checked.\n",
    u8"the credential check refused the logon: ",
    {nullptr, u8"the user name or the password is wrong.\n",
     u8"the password has expired or must be changed at the next logon.\n",
     u8"the account is disabled, locked or expired, or may not log on now or on this computer.\n",
     u8"this user may not log on interactively on this computer (logon type not granted).\n",
     u8"the user name and password could not be checked (error "},
    u8"). Where Windows cannot check them ahead, for instance with no domain controller in "
    u8"reach, --no-verify skips the check.\n",
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
    u8"Problem: ",
    u8"Warning: ",
    {u8"this PC requires Windows Hello sign-in, so Windows ignores automatic logon.",
     u8"a legal notice must be confirmed at logon, so Windows waits for a key press.",
     u8"no password is stored, so Windows switches automatic logon off by itself.",
     u8"no user name is set.",
     u8"the logon count is used up (AutoLogonCount 0), so Windows switches automatic logon off "
     u8"at the next start.",
     u8"the account is disabled.", u8"the account is locked out.",
     u8"the account's password has expired or must be changed at the next logon.",
     u8"this computer has no account of that name.",
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
     u8"automatic logon signs in with a password."},
    {u8"Result: automatic logon is on, and nothing found stops it.\n",
     u8"Result: automatic logon is off.\n",
     u8"Result: automatic logon is on, but the problems above stop it.\n"},
    {u8" could not be read (error ",
     u8"), so nothing is judged. Error 234 means that it kept changing while it was read: try "
     u8"again.\n"},

    u8"cancelled.\n",
    u8"this console cannot hide the typing, so the password is not asked for here. Pipe it to "
    u8"standard input instead (the first line, UTF-8). Nothing was changed.\n",
    u8"nobody can see this console (its window station is not interactive, or its window is "
    u8"hidden), so nobody could type the password at a prompt. Pipe it to standard input "
    u8"instead (the first line, UTF-8). Nothing was changed.\n",
    false,
};

const CliTexts kGerman = {
    u8"tarvelin-cli schaltet die automatische Anmeldung von Windows ein und aus und sagt, ob sie "
    u8"funktioniert.\n\n",
    u8"\n"
    u8"  status     Zeigt, ob die automatische Anmeldung eingeschaltet ist und was Windows davon\n"
    u8"             abh\u00e4lt, sie zu nutzen. --json gibt ein JSON-Objekt in einer Zeile aus.\n"
    u8"  set        Schaltet die automatische Anmeldung f\u00fcr den Benutzer ein. Die Dom\u00e4ne "
    u8"ist\n"
    u8"             DOMAIN aus --user DOMAIN\\NAME oder --domain; keine bei --user NAME@DOMAIN;\n"
    u8"             sonst der Name dieses Computers.\n"
    u8"             Das Passwort kommt nie von der Befehlszeile: Es ist die erste Zeile der\n"
    u8"             Standardeingabe (UTF-8) oder wird abgefragt, wenn diese eine Konsole ist.\n"
    u8"             Windows pr\u00fcft Benutzername und Passwort, bevor etwas geschrieben wird;\n"
    u8"             --no-verify \u00fcberspringt das f\u00fcr Konten, die Windows nicht vorab "
    u8"pr\u00fcfen kann.\n"
    u8"             --logon-count N: automatische Anmeldung N-mal (1 bis 999999), dann aus.\n"
    u8"  remove     Schaltet die automatische Anmeldung aus und l\u00f6scht das gespeicherte "
    u8"Passwort.\n"
    u8"  dsc        Die Operationen der DSC-v3-Ressource, f\u00fcr dsc und WinGet Configuration.\n"
    u8"\n"
    u8"set und remove \u00e4ndern nur, was von dem abweicht, was sie schreiben w\u00fcrden, "
    u8"und sagen es.\n"
    u8"  --check    Pr\u00fcft alles und nennt, was sich \u00e4ndern w\u00fcrde; \u00e4ndert "
    u8"nichts.\n"
    u8"  --json     Gibt ein JSON-Objekt in einer Zeile aus, bei Erfolg wie bei Fehlern.\n"
    u8"\n"
    u8"set und remove brauchen eine Eingabeaufforderung mit erh\u00f6hten Rechten (\"Als "
    u8"Administrator\n"
    u8"ausf\u00fchren\") und pr\u00fcfen das zuerst, noch bevor sie das Passwort lesen.\n"
    u8"\n"
    u8"Exit-Codes:\n"
    u8"  0  erledigt; bei status: die automatische Anmeldung ist an, und nichts h\u00e4lt sie "
    u8"auf\n"
    u8"  1  die \u00c4nderung ist fehlgeschlagen (die Ausgabe sagt, ob alles zur\u00fcckgesetzt "
    u8"wurde),\n"
    u8"     oder status konnte einen Wert nicht lesen\n"
    u8"  2  fehlerhafte Befehlszeile, oder kein Passwort angegeben\n"
    u8"  3  die Anmeldepr\u00fcfung hat Benutzername und Passwort abgelehnt oder konnte sie "
    u8"nicht pr\u00fcfen\n"
    u8"  4  Administratorrechte n\u00f6tig\n"
    u8"  5  status: die automatische Anmeldung ist aus\n"
    u8"  6  status: die automatische Anmeldung ist an, aber etwas Genanntes h\u00e4lt sie auf\n"
    u8"  7  --check: etwas w\u00fcrde sich \u00e4ndern\n",
    u8"tarvelin-cli --help zeigt die Befehle und Exit-Codes.\n",
    {u8"\nProbleme, die status nennt (Exit-Code 6):", u8"\nWarnungen, die status nennt:"},

    u8"kein Befehl angegeben.\n",
    u8"unbekannter Befehl: ",
    u8"hier unbekannte Option: ",
    {u8"Argument ",
     u8" ist hier keine Option; es wird nicht gezeigt, falls es ein Passwort ist.\n"},
    u8"diese Option braucht einen Wert: ",
    u8"diese Option ist doppelt angegeben: ",
    u8"das Passwort wird nie von der Befehlszeile genommen, wo andere Programme es lesen "
    u8"k\u00f6nnen. Leiten Sie es in die Standardeingabe (erste Zeile, UTF-8), oder starten Sie "
    u8"set in einer Konsole und geben Sie es bei der Abfrage ein.\n",
    u8"set braucht den Benutzer: --user NAME oder --user DOMAIN\\NAME.\n",
    u8"der Benutzername ist leer.\n",
    u8"--user nimmt NAME oder DOMAIN\\NAME: eine Dom\u00e4ne vor dem Backslash, einen Namen "
    u8"danach und keinen zweiten Backslash.\n",
    u8"die Dom\u00e4ne ist doppelt angegeben, in --user DOMAIN\\NAME und mit --domain: geben Sie "
    u8"sie einmal an.\n",
    u8"--logon-count nimmt eine ganze Zahl von 1 bis 999999.\n",
    u8"dsc braucht eine Operation: get, set, test oder export.\n",
    {u8"der Wert von ", u8" ist l\u00e4nger als ",
     u8" Zeichen; er wird abgelehnt, nicht gek\u00fcrzt.\n"},

    u8"das \u00c4ndern der automatischen Anmeldung braucht Administratorrechte. Starten Sie den "
    u8"Befehl in einer Eingabeaufforderung mit erh\u00f6hten Rechten (\"Als Administrator "
    u8"ausf\u00fchren\").\n",
    u8"Passwort: ",
    u8"kein Passwort angegeben: Die erste Zeile der Standardeingabe ist leer. Nichts wurde "
    u8"ge\u00e4ndert.\n",
    {u8"das Passwort ist l\u00e4nger als ", u8" Zeichen; es wird abgelehnt, nicht gek\u00fcrzt.\n"},
    u8"die Standardeingabe ist kein UTF-8-Text (oder enth\u00e4lt ein Nullzeichen); das Passwort "
    u8"wurde nicht gelesen. Nichts wurde ge\u00e4ndert.\n",
    u8"das Passwort konnte nicht aus der Standardeingabe gelesen werden (Fehler ",
    u8"der Name des Computers konnte nicht gelesen werden (Fehler ",
    u8"); geben Sie die Dom\u00e4ne mit --domain an. Nichts wurde ge\u00e4ndert.\n",
    u8"Anmeldepr\u00fcfung: Windows akzeptiert diesen Benutzernamen und dieses Passwort.\n",
    u8"Anmeldepr\u00fcfung \u00fcbersprungen (--no-verify): Benutzername und Passwort wurden "
    u8"nicht gepr\u00fcft.\n",
    u8"die Anmeldepr\u00fcfung hat die Anmeldung abgelehnt: ",
    {nullptr, u8"der Benutzername oder das Passwort ist falsch.\n",
     u8"das Passwort ist abgelaufen oder muss bei der n\u00e4chsten Anmeldung ge\u00e4ndert "
     u8"werden.\n",
     u8"das Konto ist deaktiviert, gesperrt oder abgelaufen, oder es darf sich zu dieser Zeit "
     u8"oder an diesem Computer nicht anmelden.\n",
     u8"dieser Benutzer darf sich an diesem Computer nicht interaktiv anmelden (Anmeldetyp "
     u8"nicht gew\u00e4hrt).\n",
     u8"Benutzername und Passwort konnten nicht gepr\u00fcft werden (Fehler "},
    u8"). Wo Windows sie nicht vorab pr\u00fcfen kann, etwa ohne erreichbaren "
    u8"Dom\u00e4nencontroller, "
    u8"\u00fcberspringt --no-verify die Pr\u00fcfung.\n",
    u8"Nichts wurde ge\u00e4ndert.\n",

    u8"Automatische Anmeldung: ",
    u8"an",
    u8"aus",
    u8"Dom\u00e4ne: ",
    u8"Benutzer: ",
    u8"(keine)",
    u8"Passwort-Geheimnis: ",
    {u8"fehlt", u8"vorhanden", u8"unbekannt (zum Lesen sind Administratorrechte n\u00f6tig)"},
    u8"Passwort im Klartext in der Registrierung: ",
    u8"ja",
    u8"nein",
    u8"Anmeldez\u00e4hler: ",
    u8"nicht gesetzt",
    u8"Problem: ",
    u8"Warnung: ",
    {u8"dieser PC verlangt die Anmeldung mit Windows Hello, daher \u00fcbergeht Windows die "
     u8"automatische Anmeldung.",
     u8"bei der Anmeldung muss ein rechtlicher Hinweis best\u00e4tigt werden, daher wartet Windows "
     u8"auf einen Tastendruck.",
     u8"es ist kein Passwort gespeichert, daher schaltet Windows die automatische Anmeldung "
     u8"selbst aus.",
     u8"es ist kein Benutzername gesetzt.",
     u8"der Anmeldez\u00e4hler ist aufgebraucht (AutoLogonCount 0), daher schaltet Windows die "
     u8"automatische Anmeldung beim n\u00e4chsten Start aus.",
     u8"das Konto ist deaktiviert.", u8"das Konto ist gesperrt.",
     u8"das Passwort des Kontos ist abgelaufen oder muss bei der n\u00e4chsten Anmeldung "
     u8"ge\u00e4ndert werden.",
     u8"dieser Computer hat kein Konto dieses Namens.",
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
     u8"Anmeldung mit Passwort verbergen, die die automatische Anmeldung nutzt.",
     u8"der Anmeldeanbieter f\u00fcr Passw\u00f6rter ist per Richtlinie ausgeschlossen "
     u8"(ExcludedCredentialProviders); die automatische Anmeldung meldet sich mit Passwort an."},
    {u8"Ergebnis: Die automatische Anmeldung ist an, und nichts h\u00e4lt sie auf.\n",
     u8"Ergebnis: Die automatische Anmeldung ist aus.\n",
     u8"Ergebnis: Die automatische Anmeldung ist an, aber die genannten Probleme halten sie "
     u8"auf.\n"},
    {u8" lie\u00df sich nicht lesen (Fehler ",
     u8"), daher wird nichts beurteilt. Fehler 234 hei\u00dft, dass sich der Wert beim Lesen "
     u8"st\u00e4ndig \u00e4nderte: Versuchen Sie es noch einmal.\n"},

    u8"abgebrochen.\n",
    u8"diese Konsole kann die Eingabe nicht verbergen, daher wird das Passwort hier nicht "
    u8"abgefragt. Leiten Sie es stattdessen in die Standardeingabe (erste Zeile, UTF-8). Nichts "
    u8"wurde ge\u00e4ndert.\n",
    u8"diese Konsole sieht niemand (ihre Fensterstation ist nicht interaktiv, oder ihr Fenster "
    u8"ist ausgeblendet), daher k\u00f6nnte niemand das Passwort bei einer Abfrage eingeben. "
    u8"Leiten Sie es stattdessen in die Standardeingabe (erste Zeile, UTF-8). Nichts wurde "
    u8"ge\u00e4ndert.\n",
    true,
};
} // namespace

const CliTexts& TextsFor(bool german)
{
    return german ? kGerman : kEnglish;
}
