#include "keep_texts.h"

namespace
{
const KeepTexts kEnglish = {
    {u8"copy this program to {}", u8"record the account {}",
     u8"register the task \\Vestrakona\\Tarvelin keeps automatic logon"},
    {u8"delete the copy {}", u8"delete the record of the account {}",
     u8"delete the task \\Vestrakona\\Tarvelin keeps automatic logon"},
    u8"Would change:\n",
    u8"Automatic logon for {} is kept: the task restores it at every start of Windows, after "
    u8"each installed update and once a day.\n",
    u8"Automatic logon for {} is kept already; nothing was changed.\n",
    u8"Automatic logon is not kept; nothing was changed.\n",
    u8"Automatic logon is no longer kept.\n",
    u8"Automatic logon is restored:\n",
    u8"Automatic logon is as it was kept; nothing was changed.\n",
    u8"No password is stored, so automatic logon was switched off: keeping is switched off "
    u8"too. If the password was lost, run tarvelin-cli set and keep on again.\n",
    {u8"automatic logon is not on: switch it on with tarvelin-cli set first. Nothing was "
     u8"changed.",
     u8"no password is stored for automatic logon: run tarvelin-cli set first. Nothing was "
     u8"changed.",
     u8"a logon count is set, which is meant to end automatic logon: keeping it would undo "
     u8"that. Run tarvelin-cli set without --logon-count first. Nothing was changed.",
     u8"{} can be changed by an account that is not an administrator, SYSTEM or "
     u8"TrustedInstaller; a program that SYSTEM runs must not be replaceable by a user. Nothing "
     u8"was changed."},
    u8"keeping could not be changed: ",
    u8"Everything was put back.",
    u8"Kept: ",
    {u8"the task is missing", u8"the task does something else", u8"the task cannot be read",
     u8"the task is disabled", u8"the task is ready", u8"the task is running"},
    u8"last result {}",
    u8"automatic logon is kept, and a logon count would end it: run tarvelin-cli keep off "
    u8"first. Nothing was changed.",
};

const KeepTexts kGerman = {
    {u8"dieses Programm nach {} kopieren", u8"das Konto {} vermerken",
     u8"die Aufgabe \\Vestrakona\\Tarvelin keeps automatic logon einrichten"},
    {u8"die Kopie {} l\u00f6schen", u8"den Vermerk des Kontos {} l\u00f6schen",
     u8"die Aufgabe \\Vestrakona\\Tarvelin keeps automatic logon l\u00f6schen"},
    u8"W\u00fcrde \u00e4ndern:\n",
    u8"Die automatische Anmeldung f\u00fcr {} wird gehalten: die Aufgabe stellt sie bei jedem "
    u8"Start von Windows, nach jedem installierten Update und einmal am Tag wieder her.\n",
    u8"Die automatische Anmeldung f\u00fcr {} wird schon gehalten; nichts wurde ge\u00e4ndert.\n",
    u8"Die automatische Anmeldung wird nicht gehalten; nichts wurde ge\u00e4ndert.\n",
    u8"Die automatische Anmeldung wird nicht mehr gehalten.\n",
    u8"Die automatische Anmeldung ist wiederhergestellt:\n",
    u8"Die automatische Anmeldung ist, wie sie gehalten wird; nichts wurde ge\u00e4ndert.\n",
    u8"Es ist kein Passwort gespeichert, die automatische Anmeldung wurde also ausgeschaltet: "
    u8"das Halten ist nun auch ausgeschaltet. Ging das Passwort verloren, f\u00fchren Sie "
    u8"tarvelin-cli set und keep on erneut aus.\n",
    {u8"die automatische Anmeldung ist nicht eingeschaltet: schalten Sie sie zuerst mit "
     u8"tarvelin-cli set ein. Nichts wurde ge\u00e4ndert.",
     u8"f\u00fcr die automatische Anmeldung ist kein Passwort gespeichert: f\u00fchren Sie zuerst "
     u8"tarvelin-cli set aus. Nichts wurde ge\u00e4ndert.",
     u8"eine Anzahl von Anmeldungen ist gesetzt, die die automatische Anmeldung beenden soll: "
     u8"das Halten w\u00fcrde das aufheben. F\u00fchren Sie zuerst tarvelin-cli set ohne "
     u8"--logon-count aus. Nichts wurde ge\u00e4ndert.",
     u8"{} kann von einem Konto ge\u00e4ndert werden, das weder ein Administrator noch SYSTEM "
     u8"oder TrustedInstaller ist; ein Programm, das SYSTEM ausf\u00fchrt, darf kein Benutzer "
     u8"ersetzen k\u00f6nnen. Nichts wurde ge\u00e4ndert."},
    u8"das Halten lie\u00df sich nicht \u00e4ndern: ",
    u8"Alles wurde zur\u00fcckgesetzt.",
    u8"Gehalten: ",
    {u8"die Aufgabe fehlt", u8"die Aufgabe tut etwas anderes",
     u8"die Aufgabe l\u00e4sst sich nicht lesen", u8"die Aufgabe ist deaktiviert",
     u8"die Aufgabe ist bereit", u8"die Aufgabe l\u00e4uft"},
    u8"letztes Ergebnis {}",
    u8"die automatische Anmeldung wird gehalten, und eine Anzahl von Anmeldungen w\u00fcrde sie "
    u8"beenden: f\u00fchren Sie zuerst tarvelin-cli keep off aus. Nichts wurde ge\u00e4ndert.",
};
} // namespace

const KeepTexts& KeepTextsFor(bool german)
{
    return german ? kGerman : kEnglish;
}
