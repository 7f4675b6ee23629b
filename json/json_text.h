// JSON for the reports of tarvelin-cli: strings, and objects built member by member.
#pragma once
#include "text_buffer.h"

// Adds `text` as a JSON string, quotes included: quotes and backslashes escaped, control
// characters as \b \f \n \r \t or \u00XX, every other character as it is (the output turns
// it into UTF-8). A surrogate without its partner cannot be written as UTF-8 at all, so it
// is written as its \uXXXX escape: the output stays valid UTF-8 and still says exactly what
// the registry holds.
void AddJsonString(TextBuffer& out, const wchar_t* text);

// One JSON object, member by member: the braces, commas and quotes come from here. A member's
// name is ASCII; a nested object starts with Key() and a JsonObject of its own on `out`.
class JsonObject
{
  public:
    explicit JsonObject(TextBuffer& out) : out_(out) { out_.Add(L'{'); }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    // `,"name":` (no comma before the first member); the caller adds the value.
    TextBuffer& Key(const char* name);
    TextBuffer& Key(const wchar_t* name);

    JsonObject& String(const char* name, const wchar_t* text); // null: null
    JsonObject& Id(const char* name, const char* id);          // an ASCII name; null: null
    JsonObject& Bool(const char* name, bool value);
    JsonObject& Number(const char* name, unsigned long long number);
    JsonObject& Null(const char* name);
    void End() { out_.Add(L'}'); }

  private:
    TextBuffer& out_;
    bool first_ = true;
};
