// The sentences of tarvelin-cli's dsc operations, in English and German: German when the
// user's locale is German, as everywhere in the program. UTF-8, as cli/texts.h keeps them.
// In a sentence, {p} stands for a property's name, {t} for what it takes, {n} for a number,
// {f} for what the JSON reader found and {o} for the operation.
#pragma once
#include "dsc_instance.h"

struct DscTexts
{
    const char* refused; // + the fault's id + "): " + its sentence
    const char* inputErrors[static_cast<unsigned int>(DscInputError::Count)];
    const char* duplicateKeyUnknown;      // a key twice that is not the schema's (no byte)
    const char* invalidJsonHidden;        // invalid-json without its byte (atHidden)
    const char* jsonFaults[4];            // by JsonError, from Syntax to Members
    const char* takes[kDscPropertyCount]; // by DscProperty
    const char* nothingChanged;
    const char* inputUnreadable; // + the Win32 error + ")."; nothing was read, nothing changed
    // Run elevated from where others may write: + the path + the end, a warning line.
    const char* othersMayWrite;
    const char* othersMayWriteEnd;
    const char* rightsUnreadable; // + the path + the end + the Win32 error + ")."
    const char* rightsUnreadableEnd;
};

const DscTexts& DscTextsFor(bool german);
