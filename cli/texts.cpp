#include "texts.h"

// Non-ASCII letters as \u escapes, so that the source reads the same to every compiler.
const wchar_t kUsage[] = L"Usage:\n"
                         L"  tarvelin-cli status [--json]\n"
                         L"  tarvelin-cli set --user [DOMAIN\\]NAME [--domain NAME] [--no-verify]\n"
                         L"  tarvelin-cli remove\n"
                         L"  tarvelin-cli --help        (also -h, /?)\n"
                         L"  tarvelin-cli --version\n";

namespace
{
const CliTexts kEnglish = {
    L"tarvelin-cli switches Windows automatic logon on and off, and tells whether it works.\n\n",
    L"\n"
    L"  status     Shows whether automatic logon is on, and what keeps Windows from using it.\n"
    L"             --json prints one JSON object on one line.\n"
    L"  set        Switches automatic logon on for the user. The domain is the DOMAIN in\n"
    L"             --user DOMAIN\\NAME, or --domain, or else this computer's name.\n"
    L"             The password is never taken from the command line: it is the first line\n"
    L"             of standard input (UTF-8), or typed at a prompt when that is a console.\n"
    L"             Windows checks the user name and password before anything is written;\n"
    L"             --no-verify skips that check, for accounts Windows cannot check ahead.\n"
    L"  remove     Switches automatic logon off and blanks the stored password.\n"
    L"\n"
    L"set and remove need an elevated prompt (\"Run as administrator\"), and check that first,\n"
    L"before they read the password.\n"
    L"\n"
    L"Exit codes:\n"
    L"  0  done; for status: automatic logon is on and nothing found stops it\n"
    L"  1  the change failed; the output says whether everything was put back\n"
    L"  2  bad command line, or no password given\n"
    L"  3  the credential check refused the user name and password, or could not check them\n"
    L"  4  administrator rights needed\n"
    L"  5  status: automatic logon is off\n"
    L"  6  status: automatic logon is on, but something listed stops it\n",
    L"tarvelin-cli --help shows the commands and exit codes.\n",

    L"no command given.\n",
    L"unknown command: ",
    L"unknown option here: ",
    L"this option needs a value: ",
    L"this option is given twice: ",
    L"the password is never taken from the command line, where other programs can read it. "
    L"Pipe it to standard input (the first line, UTF-8), or run set at a console and type it "
    L"at the prompt.\n",
    L"set needs the user: --user NAME or --user DOMAIN\\NAME.\n",
    L"the user name is empty.\n",
    L"--user takes NAME or DOMAIN\\NAME: a domain before the backslash, a name after it, and "
    L"no second backslash.\n",
    L"the domain is given twice, in --user DOMAIN\\NAME and with --domain: give it once.\n",
    {L"the value of ", L" is longer than ", L" characters; it is refused, not cut.\n"},

    L"changing automatic logon needs administrator rights. Run this command from an elevated "
    L"prompt (\"Run as administrator\").\n",
    L"Password: ",
    L"no password given: the first line of standard input is empty. Nothing was changed.\n",
    {L"the password is longer than ", L" characters; it is refused, not cut.\n"},
    L"standard input is not UTF-8 text (or it holds a null character); the password was not "
    L"read. Nothing was changed.\n",
    L"the password could not be read from standard input (error ",
    L"the computer's name could not be read (error ",
    L"); give the domain with --domain.\n",
    L"Credential check: Windows accepts this user name and password.\n",
    L"Credential check skipped (--no-verify): the user name and password were not checked.\n",
    L"the credential check refused the logon: ",
    {nullptr, L"the user name or the password is wrong.\n",
     L"the password has expired or must be changed at the next logon.\n",
     L"the account is disabled, locked or expired, or may not log on now or on this computer.\n",
     L"this user may not log on interactively on this computer (logon type not granted).\n",
     L"the user name and password could not be checked (error "},
    L"). Where Windows cannot check them ahead, for instance with no domain controller in "
    L"reach, --no-verify skips the check.\n",
    L"Nothing was changed.\n",

    L"Automatic logon: ",
    L"on",
    L"off",
    L"Domain: ",
    L"User: ",
    L"(none)",
    L"Password secret: ",
    {L"absent", L"present", L"unknown (reading it needs administrator rights)"},
    L"Plain-text password in the registry: ",
    L"yes",
    L"no",
    L"Logon count: ",
    L"not set",
    L"Problem: ",
    {L"this PC requires Windows Hello sign-in, so Windows ignores automatic logon.",
     L"a legal notice must be confirmed at logon, so Windows waits for a key press.",
     L"no password is stored, so Windows switches automatic logon off by itself.",
     L"no user name is set."},
    L"Warning: ",
    {L"the password stands readable in the registry (DefaultPassword).",
     L"automatic logon ends after ",
     L"whether a password is stored is unknown: reading it needs administrator rights."},
    L" more starts (AutoLogonCount).",
    {L"Result: automatic logon is on, and nothing found stops it.\n",
     L"Result: automatic logon is off.\n",
     L"Result: automatic logon is on, but the problems above stop it.\n"},
    false,
};

const CliTexts kGerman = {
    L"tarvelin-cli schaltet die automatische Anmeldung von Windows ein und aus und sagt, ob sie "
    L"funktioniert.\n\n",
    L"\n"
    L"  status     Zeigt, ob die automatische Anmeldung eingeschaltet ist und was Windows davon\n"
    L"             abh\u00e4lt, sie zu nutzen. --json gibt ein JSON-Objekt in einer Zeile aus.\n"
    L"  set        Schaltet die automatische Anmeldung f\u00fcr den Benutzer ein. Die Dom\u00e4ne "
    L"ist\n"
    L"             DOMAIN aus --user DOMAIN\\NAME, sonst --domain, sonst der Name dieses "
    L"Computers.\n"
    L"             Das Passwort kommt nie von der Befehlszeile: Es ist die erste Zeile der\n"
    L"             Standardeingabe (UTF-8) oder wird abgefragt, wenn diese eine Konsole ist.\n"
    L"             Windows pr\u00fcft Benutzername und Passwort, bevor etwas geschrieben wird;\n"
    L"             --no-verify \u00fcberspringt das f\u00fcr Konten, die Windows nicht vorab "
    L"pr\u00fcfen kann.\n"
    L"  remove     Schaltet die automatische Anmeldung aus und leert das gespeicherte "
    L"Passwort.\n"
    L"\n"
    L"set und remove brauchen eine Eingabeaufforderung mit erh\u00f6hten Rechten (\"Als "
    L"Administrator\n"
    L"ausf\u00fchren\") und pr\u00fcfen das zuerst, noch bevor sie das Passwort lesen.\n"
    L"\n"
    L"Exit-Codes:\n"
    L"  0  erledigt; bei status: die automatische Anmeldung ist an, und nichts h\u00e4lt sie "
    L"auf\n"
    L"  1  die \u00c4nderung ist fehlgeschlagen; die Ausgabe sagt, ob alles zur\u00fcckgesetzt "
    L"wurde\n"
    L"  2  fehlerhafte Befehlszeile, oder kein Passwort angegeben\n"
    L"  3  die Anmeldepr\u00fcfung hat Benutzername und Passwort abgelehnt oder konnte sie "
    L"nicht pr\u00fcfen\n"
    L"  4  Administratorrechte n\u00f6tig\n"
    L"  5  status: die automatische Anmeldung ist aus\n"
    L"  6  status: die automatische Anmeldung ist an, aber etwas Genanntes h\u00e4lt sie auf\n",
    L"tarvelin-cli --help zeigt die Befehle und Exit-Codes.\n",

    L"kein Befehl angegeben.\n",
    L"unbekannter Befehl: ",
    L"hier unbekannte Option: ",
    L"diese Option braucht einen Wert: ",
    L"diese Option ist doppelt angegeben: ",
    L"das Passwort wird nie von der Befehlszeile genommen, wo andere Programme es lesen "
    L"k\u00f6nnen. Leiten Sie es in die Standardeingabe (erste Zeile, UTF-8), oder starten Sie "
    L"set in einer Konsole und geben Sie es bei der Abfrage ein.\n",
    L"set braucht den Benutzer: --user NAME oder --user DOMAIN\\NAME.\n",
    L"der Benutzername ist leer.\n",
    L"--user nimmt NAME oder DOMAIN\\NAME: eine Dom\u00e4ne vor dem Backslash, einen Namen "
    L"danach und keinen zweiten Backslash.\n",
    L"die Dom\u00e4ne ist doppelt angegeben, in --user DOMAIN\\NAME und mit --domain: geben Sie "
    L"sie einmal an.\n",
    {L"der Wert von ", L" ist l\u00e4nger als ",
     L" Zeichen; er wird abgelehnt, nicht gek\u00fcrzt.\n"},

    L"das \u00c4ndern der automatischen Anmeldung braucht Administratorrechte. Starten Sie den "
    L"Befehl in einer Eingabeaufforderung mit erh\u00f6hten Rechten (\"Als Administrator "
    L"ausf\u00fchren\").\n",
    L"Passwort: ",
    L"kein Passwort angegeben: Die erste Zeile der Standardeingabe ist leer. Nichts wurde "
    L"ge\u00e4ndert.\n",
    {L"das Passwort ist l\u00e4nger als ", L" Zeichen; es wird abgelehnt, nicht gek\u00fcrzt.\n"},
    L"die Standardeingabe ist kein UTF-8-Text (oder enth\u00e4lt ein Nullzeichen); das Passwort "
    L"wurde nicht gelesen. Nichts wurde ge\u00e4ndert.\n",
    L"das Passwort konnte nicht aus der Standardeingabe gelesen werden (Fehler ",
    L"der Name des Computers konnte nicht gelesen werden (Fehler ",
    L"); geben Sie die Dom\u00e4ne mit --domain an.\n",
    L"Anmeldepr\u00fcfung: Windows akzeptiert diesen Benutzernamen und dieses Passwort.\n",
    L"Anmeldepr\u00fcfung \u00fcbersprungen (--no-verify): Benutzername und Passwort wurden "
    L"nicht gepr\u00fcft.\n",
    L"die Anmeldepr\u00fcfung hat die Anmeldung abgelehnt: ",
    {nullptr, L"der Benutzername oder das Passwort ist falsch.\n",
     L"das Passwort ist abgelaufen oder muss bei der n\u00e4chsten Anmeldung ge\u00e4ndert "
     L"werden.\n",
     L"das Konto ist deaktiviert, gesperrt oder abgelaufen, oder es darf sich zu dieser Zeit "
     L"oder an diesem Computer nicht anmelden.\n",
     L"dieser Benutzer darf sich an diesem Computer nicht interaktiv anmelden (Anmeldetyp "
     L"nicht gew\u00e4hrt).\n",
     L"Benutzername und Passwort konnten nicht gepr\u00fcft werden (Fehler "},
    L"). Wo Windows sie nicht vorab pr\u00fcfen kann, etwa ohne erreichbaren "
    L"Dom\u00e4nencontroller, "
    L"\u00fcberspringt --no-verify die Pr\u00fcfung.\n",
    L"Nichts wurde ge\u00e4ndert.\n",

    L"Automatische Anmeldung: ",
    L"an",
    L"aus",
    L"Dom\u00e4ne: ",
    L"Benutzer: ",
    L"(keine)",
    L"Passwort-Geheimnis: ",
    {L"fehlt", L"vorhanden", L"unbekannt (zum Lesen sind Administratorrechte n\u00f6tig)"},
    L"Passwort im Klartext in der Registrierung: ",
    L"ja",
    L"nein",
    L"Anmeldez\u00e4hler: ",
    L"nicht gesetzt",
    L"Problem: ",
    {L"dieser PC verlangt die Anmeldung mit Windows Hello, daher \u00fcbergeht Windows die "
     L"automatische Anmeldung.",
     L"bei der Anmeldung muss ein rechtlicher Hinweis best\u00e4tigt werden, daher wartet Windows "
     L"auf einen Tastendruck.",
     L"es ist kein Passwort gespeichert, daher schaltet Windows die automatische Anmeldung "
     L"selbst aus.",
     L"es ist kein Benutzername gesetzt."},
    L"Warnung: ",
    {L"das Passwort steht lesbar in der Registrierung (DefaultPassword).",
     L"die automatische Anmeldung endet nach ",
     L"ob ein Passwort gespeichert ist, ist unbekannt: Zum Lesen sind Administratorrechte "
     L"n\u00f6tig."},
    L" weiteren Starts (AutoLogonCount).",
    {L"Ergebnis: Die automatische Anmeldung ist an, und nichts h\u00e4lt sie auf.\n",
     L"Ergebnis: Die automatische Anmeldung ist aus.\n",
     L"Ergebnis: Die automatische Anmeldung ist an, aber die genannten Probleme halten sie "
     L"auf.\n"},
    true,
};
} // namespace

const CliTexts& TextsFor(bool german)
{
    return german ? kGerman : kEnglish;
}
