// The lines tarvelin-cli's dsc operations write to standard error, as dsc reads them: one
// compact JSON object a line, {"error":"..."}, {"warn":...}, {"info":...}, {"debug":...} or
// {"trace":...}, which dsc logs at that level (and dsc shows an exit code's description from
// the manifest, nothing more). The message is the program's own: never the input, which may
// hold a password.
#pragma once
#include <cstddef>

#include "dsc_instance.h"
#include "dsc_texts.h"
#include "text_buffer.h"

enum class DscLevel : unsigned char
{
    Error,
    Warn,
    Info,
    Debug,
    Trace
};

// The level that DSC_TRACE_LEVEL asks for, as dsc sets it for the resources it runs: error,
// warn, info, debug or trace, in any letter case. Unset (null), empty or anything else:
// warn, dsc's own default.
DscLevel DscTraceLevel(const wchar_t* value);

// Whether a line of `level` is written when `wanted` is asked for: the levels up to it, so an
// error always.
inline bool DscWrites(DscLevel level, DscLevel wanted)
{
    return level <= wanted;
}

// Characters that hold any line: the longest sentence with the longest detail, every
// character escaped at worst.
constexpr std::size_t kDscLineCapacity = 2048;

// {"<level>":"<message>"} and its line end; the message escaped by the JSON writer.
void ComposeDscLine(DscLevel level, const wchar_t* message, TextBuffer& out);

// Why an instance was refused, for an error line: "instance refused (<id>): <sentence>
// Nothing was changed." The sentence names the property and where the fault is, never any
// text of the input.
void ComposeDscInputError(const DscInputProblem& problem, DscOperation operation,
                          const DscTexts& texts, TextBuffer& out);
