// The instance that dsc hands tarvelin-cli's dsc operations on standard input, read strictly
// into plain fields: which properties were given, and their values. Free of Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "change_result.h"
#include "json_reader.h"

enum class DscOperation : unsigned char
{
    Get,
    Set,
    WhatIf, // set --check
    Test,
    Export
};
// The words after "tarvelin-cli dsc" that name each, as the manifest gives them.
extern const char* const kDscOperationNames[5];

// The properties of the instance schema, in its order.
enum class DscProperty : unsigned char
{
    User,
    Domain,
    LogonCount,
    Password,
    CheckCredentials,
    Exist,
    Fix,
    // Read-only: dsc may hand back a state it got, so they are taken and ignored.
    InDesiredState,
    Problems,
    Warnings,
    Count
};
constexpr unsigned int kDscPropertyCount = static_cast<unsigned int>(DscProperty::Count);
extern const char* const kDscPropertyNames[kDscPropertyCount]; // as the schema spells them

// More than this many bytes are refused unread.
constexpr std::size_t kDscInputLimit = 65536; // 64 KiB
constexpr std::uint32_t kDscLogonCountLimit = 999999;

// Why an instance was refused; each has a stable id in kDscInputErrorIds.
enum class DscInputError : unsigned char
{
    None,
    TooLarge,        // more than kDscInputLimit bytes
    InvalidJson,     // not JSON as json_reader.h reads it (json says what)
    DuplicateKey,    // a key twice in one object
    NotAnObject,     // valid JSON, but no object
    UnknownProperty, // a property the schema does not have (at: its place, from 1)
    WrongType,       // a value of a type the schema does not allow there
    OutOfRange,      // logonCount outside 1 to kDscLogonCountLimit
    TooLong,         // a text over kFieldLimit UTF-16 units: refused, never cut
    NullCharacter,   // a text holding \u0000
    MissingUser,     // set, its dry run or test with _exist true, without user
    MissingPassword, // ... without password, or with an empty one
    Count
};
extern const char* const kDscInputErrorIds[static_cast<unsigned int>(DscInputError::Count)];

struct DscInputProblem
{
    DscInputError error = DscInputError::None;
    // The property concerned by its schema name, or null: always for too-large, invalid-json,
    // not-an-object and unknown-property (whose name is never repeated: it might be a
    // password typed in the wrong place), and for a duplicate key the schema does not have.
    const char* property = nullptr;
    // invalid-json and duplicate-key: the byte offset of the fault; unknown-property: which
    // member of the object it is, from 1.
    std::size_t at = 0;
    JsonError json = JsonError::None; // invalid-json: what the reader found
    // invalid-json and duplicate-key in or after the value of the password, or of a property
    // the schema does not have (it may be a password typed in the wrong place): `at` is 0 and
    // not to be told, since the offset of a fault after a secret gives away its length.
    bool atHidden = false;
};

// The instance's values, with the schema's defaults for those not given. Every text is wiped
// when it goes out of scope, and by Clear().
struct DscInstance
{
    DscInstance() = default;
    ~DscInstance() { Clear(); }
    DscInstance(const DscInstance&) = delete;
    DscInstance& operator=(const DscInstance&) = delete;

    bool Has(DscProperty property) const
    {
        return (present & (1u << static_cast<unsigned int>(property))) != 0;
    }
    void Clear(); // back to nothing given, every text wiped

    unsigned int present = 0;             // bit of each DscProperty given
    wchar_t user[kFieldLimit + 1] = {};   // as --user takes it: NAME, DOMAIN\NAME, NAME@DOMAIN
    wchar_t domain[kFieldLimit + 1] = {}; // as --domain takes it
    std::uint32_t logonCount = 0;         // 1 to kDscLogonCountLimit when given
    wchar_t password[kFieldLimit + 1] = {};
    bool passwordSecure = false; // it came as {"secureString": "..."}
    bool checkCredentials = true;
    bool exist = true;
    unsigned int fixCauses = 0; // CauseBit of each cause named in fix: those fix repairs
};

// Reads `size` bytes of UTF-8 JSON into `instance` for `operation`. get and export take an
// empty input (or whitespace alone) as no instance; set, its dry run and test need an object,
// and with _exist true the user and a password. The first fault in the input's order is
// the one named; faults of the JSON itself come before those of its meaning. On any fault
// `instance` is left cleared and wiped. The input bytes are the caller's to wipe.
DscInputProblem ReadDscInstance(const unsigned char* bytes, std::size_t size,
                                DscOperation operation, DscInstance& instance);
