// What tarvelin-cli says to a command line it refuses: one line that names the cause, then the
// usage lines or the pointer to --help. Free of Windows headers: tested and fuzzed natively.
#pragma once
#include "arguments.h"
#include "text_buffer.h"
#include "texts.h"

// Enough for the longest refusal with a word shown in full, and the usage lines.
constexpr std::size_t kRefusalCapacity = 1536;

// Composes the whole text for standard error. A refused option is named only up to its "="
// or ":" (an unknown one only when it looks like an option's name, otherwise by its
// position), a stray word after the command only by its position, so that a password typed
// in the wrong place never reaches a log.
void ComposeRefusal(const Arguments& arguments, const CliTexts& texts, TextBuffer& out);

// The stable name of a refusal, as JSON gives it: "unknown-option", "password-option", ...
const char* RefusalReason(ArgumentError error);

// The refusal for standard output with --json: {"command":..,"check":..,"changed":false,
// "error":"usage","reason":..}, the line end included.
void ComposeRefusalJson(const Arguments& arguments, TextBuffer& out);
