#include "dsc_texts.h"

// Non-ASCII letters as \u escapes in UTF-8 literals, as in cli/texts.cpp.
namespace
{
const DscTexts kEnglish = {
    u8"instance refused (",
    {
        nullptr,
        u8"the instance is larger than 64 KiB; it was not read.",
        u8"the instance is not valid JSON ({f}, at byte {n}).",
        u8"{p} is given twice.",
        u8"the instance is not a JSON object.",
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence, over two lines.
        u8"property {n} of the instance is not in the schema; it is not shown, in case it is a "
        u8"password.",
        u8"{p} takes {t}.",
        u8"{p} takes a whole number from 1 to 999999.",
        u8"{p} is longer than 256 characters; it is refused, not cut.",
        u8"{p} holds a null character (\\u0000).",
        u8"{o} with _exist true needs the user.",
        u8"{o} with _exist true needs the password: a string, or a secureString parameter.",
    },
    u8"a key that is not in the schema stands twice in one object; where is not said, since it "
    u8"would tell the length of a value that may be a password.",
    u8"the instance is not valid JSON ({f}), in or after a value that may be a password; where "
    u8"is not said, since it would tell the password's length.",
    {
        u8"not JSON's grammar, or it ends early",
        u8"not UTF-8, or a surrogate escape without its partner",
        u8"nested more than 16 deep",
        u8"more than 64 members in one object",
    },
    {
        u8"a string: NAME, DOMAIN\\NAME or NAME@DOMAIN",
        u8"a string",
        u8"a whole number from 1 to 999999",
        u8"a string, or {\"secureString\": string}",
        u8"true or false",
        u8"true or false",
        // A sentence in two literals: concatenated on purpose.
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
        u8"an array of the causes that fix repairs: plain-text-password, wow64-leftovers, "
        u8"logon-count-used-up, password-expires, account-locked, passwordless-sign-in",
        u8"true, false or null",
        u8"an array of strings",
        u8"an array of strings",
    },
    u8"Nothing was changed.",
    u8"standard input could not be read (error ",
    u8"tarvelin-cli runs elevated, and accounts other than administrators may change ",
    // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence, over two lines.
    u8": a program put there in its place would run with these rights and be handed the "
    u8"password. Install it where only administrators write (winget install --scope machine, "
    u8"scoop install --global).",
    u8"Who may change ",
    u8" could not be read (error ",
};

const DscTexts kGerman = {
    u8"Instanz abgelehnt (",
    {
        nullptr,
        u8"die Instanz ist gr\u00f6\u00dfer als 64 KiB; sie wurde nicht gelesen.",
        u8"die Instanz ist kein g\u00fcltiges JSON ({f}, bei Byte {n}).",
        u8"{p} ist doppelt angegeben.",
        u8"die Instanz ist kein JSON-Objekt.",
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence, over two lines.
        u8"Eigenschaft {n} der Instanz steht nicht im Schema; sie wird nicht gezeigt, falls sie "
        u8"ein Passwort ist.",
        u8"{p} nimmt {t}.",
        u8"{p} nimmt eine ganze Zahl von 1 bis 999999.",
        u8"{p} ist l\u00e4nger als 256 Zeichen; es wird abgelehnt, nicht gek\u00fcrzt.",
        u8"{p} enth\u00e4lt ein Nullzeichen (\\u0000).",
        u8"{o} mit _exist true braucht den Benutzer (user).",
        u8"{o} mit _exist true braucht das Passwort (password): eine Zeichenkette oder einen "
        u8"secureString-Parameter.",
    },
    u8"ein Schl\u00fcssel, der nicht im Schema steht, steht doppelt in einem Objekt; wo, wird "
    u8"nicht gesagt, da es die L\u00e4nge eines Werts verriete, der ein Passwort sein kann.",
    u8"die Instanz ist kein g\u00fcltiges JSON ({f}), in oder nach einem Wert, der ein Passwort "
    u8"sein kann; wo, wird nicht gesagt, da es die L\u00e4nge des Passworts verriete.",
    {
        u8"nicht nach der Grammatik von JSON, oder es endet zu fr\u00fch",
        u8"kein UTF-8, oder ein Surrogat-Escape ohne sein Gegenst\u00fcck",
        u8"tiefer als 16 Ebenen verschachtelt",
        u8"mehr als 64 Eintr\u00e4ge in einem Objekt",
    },
    {
        u8"eine Zeichenkette: NAME, DOMAIN\\NAME oder NAME@DOMAIN",
        u8"eine Zeichenkette",
        u8"eine ganze Zahl von 1 bis 999999",
        u8"eine Zeichenkette oder {\"secureString\": Zeichenkette}",
        u8"true oder false",
        u8"true oder false",
        // A sentence in two literals: concatenated on purpose.
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
        u8"ein Array der Ursachen, die fix behebt: plain-text-password, wow64-leftovers, "
        u8"logon-count-used-up, password-expires, account-locked, passwordless-sign-in",
        u8"true, false oder null",
        u8"ein Array von Zeichenketten",
        u8"ein Array von Zeichenketten",
    },
    u8"Nichts wurde ge\u00e4ndert.",
    u8"die Standardeingabe lie\u00df sich nicht lesen (Fehler ",
    u8"tarvelin-cli l\u00e4uft mit erh\u00f6hten Rechten, und andere Konten als Administratoren "
    u8"d\u00fcrfen ",
    // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence, over two lines.
    u8" \u00e4ndern: ein Programm, das dort an seine Stelle gelegt wird, liefe mit diesen "
    u8"Rechten und bek\u00e4me das Passwort. Installieren Sie es dort, wo nur Administratoren "
    u8"schreiben (winget install --scope machine, scoop install --global).",
    u8"Wer ",
    u8" \u00e4ndern darf, lie\u00df sich nicht lesen (Fehler ",
};
} // namespace

const DscTexts& DscTextsFor(bool german)
{
    return german ? kGerman : kEnglish;
}
