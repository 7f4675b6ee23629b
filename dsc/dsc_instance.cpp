#include "dsc_instance.h"

#include "fix_plan.h"
#include "wipe.h"

const char* const kDscOperationNames[5] = {"get", "set", "set --check", "test", "export"};

const char* const kDscPropertyNames[kDscPropertyCount] = {
    "user",   "domain", "logonCount",      "password", "checkCredentials",
    "_exist", "fix",    "_inDesiredState", "problems", "warnings",
};

const char* const kDscInputErrorIds[static_cast<unsigned int>(DscInputError::Count)] = {
    "",
    "too-large",
    "invalid-json",
    "duplicate-key",
    "not-an-object",
    "unknown-property",
    "wrong-type",
    "out-of-range",
    "too-long",
    "null-character",
    "missing-user",
    "missing-password",
};

void DscInstance::Clear()
{
    Wipe(user, kFieldLimit + 1);
    Wipe(domain, kFieldLimit + 1);
    Wipe(password, kFieldLimit + 1);
    present = 0;
    logonCount = 0;
    passwordSecure = false;
    checkCredentials = true;
    exist = true;
    fixCauses = 0;
}

namespace
{
// The property whose name the current Key or String token stands for.
DscProperty Named(const JsonReader& json)
{
    unsigned int p = 0;
    while (p < kDscPropertyCount && !json.TextIs(kDscPropertyNames[p]))
        ++p;
    return static_cast<DscProperty>(p);
}

const char* NameOf(DscProperty property)
{
    return property == DscProperty::Count ? nullptr
                                          : kDscPropertyNames[static_cast<unsigned int>(property)];
}

// The known property whose key starts at `offset` (its opening quote), or none.
const char* KeyAt(const unsigned char* bytes, std::size_t size, std::size_t offset)
{
    JsonReader key(bytes + offset, size - offset);
    return key.Next() == JsonToken::String ? NameOf(Named(key)) : nullptr;
}

// The whole document once, for the faults of the JSON itself.
DscInputProblem CheckJson(const unsigned char* bytes, std::size_t size)
{
    JsonReader json(bytes, size);
    DscProperty outer = DscProperty::Count; // the top-level member last begun
    bool secretBegun = false;               // a top-level member that may hold a password
    JsonToken token = JsonToken::None;
    while ((token = json.Next()) != JsonToken::End && token != JsonToken::Error)
    {
        if (token != JsonToken::Key || json.Depth() != 1)
            continue;
        outer = Named(json);
        secretBegun = secretBegun || outer == DscProperty::Password || outer == DscProperty::Count;
    }
    DscInputProblem problem;
    if (token == JsonToken::End)
        return problem;
    problem.atHidden = secretBegun;
    problem.at = secretBegun ? 0 : json.ErrorOffset();
    problem.json = json.Error();
    problem.error = DscInputError::InvalidJson;
    if (json.Error() == JsonError::DuplicateKey)
    {
        // A top-level key is named by itself, one inside a value by the member it is in.
        problem.error = DscInputError::DuplicateKey;
        problem.property =
            json.Depth() == 1 ? KeyAt(bytes, size, json.ErrorOffset()) : NameOf(outer);
    }
    return problem;
}

class InstanceReader
{
  public:
    InstanceReader(const unsigned char* bytes, std::size_t size, DscInstance& instance)
        : json_(bytes, size), instance_(instance)
    {
    }

    // The members of the object, in order; the document is known to be valid JSON.
    DscInputProblem Read()
    {
        if (json_.Next() != JsonToken::ObjectStart)
            return Refuse(DscInputError::NotAnObject, DscProperty::Count);
        for (std::size_t member = 1; json_.Next() == JsonToken::Key; ++member)
        {
            const DscProperty property = Named(json_);
            if (property == DscProperty::Count)
            {
                DscInputProblem problem = Refuse(DscInputError::UnknownProperty, property);
                problem.at = member;
                return problem;
            }
            const DscInputError error = Value(property);
            if (error != DscInputError::None)
                return Refuse(error, property);
            instance_.present |= 1u << static_cast<unsigned int>(property);
        }
        return {};
    }

  private:
    DscInputProblem Refuse(DscInputError error, DscProperty property)
    {
        DscInputProblem problem;
        problem.error = error;
        problem.property = NameOf(property);
        return problem;
    }

    DscInputError Value(DscProperty property)
    {
        const JsonToken token = json_.Next();
        switch (property)
        {
        case DscProperty::User:
            return Text(token, instance_.user);
        case DscProperty::Domain:
            return Text(token, instance_.domain);
        case DscProperty::LogonCount:
            return LogonCount(token);
        case DscProperty::Password:
            return Password(token);
        case DscProperty::CheckCredentials:
        case DscProperty::Exist:
            if (token != JsonToken::True && token != JsonToken::False)
                return DscInputError::WrongType;
            (property == DscProperty::Exist ? instance_.exist : instance_.checkCredentials) =
                token == JsonToken::True;
            return DscInputError::None;
        case DscProperty::InDesiredState:
            return token == JsonToken::True || token == JsonToken::False || token == JsonToken::Null
                       ? DscInputError::None
                       : DscInputError::WrongType;
        case DscProperty::Problems:
        case DscProperty::Warnings:
            return Names(token);
        case DscProperty::Fix:
            return Fix(token);
        case DscProperty::Count:
            break;
        }
        return DscInputError::WrongType;
    }

    DscInputError Text(JsonToken token, wchar_t (&out)[kFieldLimit + 1])
    {
        if (token != JsonToken::String)
            return DscInputError::WrongType;
        std::size_t length = 0;
        if (json_.Text(out, kFieldLimit + 1, length) != JsonText::Ok)
            return DscInputError::TooLong;
        for (std::size_t i = 0; i < length; ++i)
            if (out[i] == L'\0')
                return DscInputError::NullCharacter;
        return DscInputError::None;
    }

    DscInputError LogonCount(JsonToken token)
    {
        std::int64_t value = 0;
        if (token != JsonToken::Number)
            return DscInputError::WrongType;
        const JsonWhole whole = json_.Whole(value);
        if (whole == JsonWhole::Fraction)
            return DscInputError::WrongType; // the schema's integer
        if (whole == JsonWhole::Huge || value < 1 || value > kDscLogonCountLimit)
            return DscInputError::OutOfRange;
        instance_.logonCount = static_cast<std::uint32_t>(value);
        return DscInputError::None;
    }

    // A string, or {"secureString": string} as dsc hands over a secureString parameter.
    DscInputError Password(JsonToken token)
    {
        if (token == JsonToken::String)
            return Text(token, instance_.password);
        if (token != JsonToken::ObjectStart || json_.Next() != JsonToken::Key ||
            !json_.TextIs("secureString"))
            return DscInputError::WrongType;
        const DscInputError error = Text(json_.Next(), instance_.password);
        if (error != DscInputError::None)
            return error;
        instance_.passwordSecure = true;
        return json_.Next() == JsonToken::ObjectEnd ? DscInputError::None
                                                    : DscInputError::WrongType;
    }

    // An array of the causes that fix repairs, by the names status gives them.
    DscInputError Fix(JsonToken token)
    {
        if (token != JsonToken::ArrayStart)
            return DscInputError::WrongType;
        while ((token = json_.Next()) == JsonToken::String)
        {
            unsigned int cause = 0;
            while (cause < kCauseCount && !json_.TextIs(kCauses[cause].id))
                ++cause;
            const FixKind kind =
                cause < kCauseCount ? FixKindOf(static_cast<Cause>(cause)) : FixKind::BySet;
            if (kind != FixKind::Repaired && kind != FixKind::NamedOnly)
                return DscInputError::WrongType;
            instance_.fixCauses |= 1u << cause;
        }
        return token == JsonToken::ArrayEnd ? DscInputError::None : DscInputError::WrongType;
    }

    // An array of strings, as status names its causes.
    DscInputError Names(JsonToken token)
    {
        if (token != JsonToken::ArrayStart)
            return DscInputError::WrongType;
        while ((token = json_.Next()) == JsonToken::String)
        {
        }
        return token == JsonToken::ArrayEnd ? DscInputError::None : DscInputError::WrongType;
    }

    JsonReader json_;
    DscInstance& instance_;
};

bool IsBlank(const unsigned char* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] != ' ' && bytes[i] != '\t' && bytes[i] != '\n' && bytes[i] != '\r')
            return false;
    return true;
}
} // namespace

DscInputProblem ReadDscInstance(const unsigned char* bytes, std::size_t size,
                                DscOperation operation, DscInstance& instance)
{
    instance.Clear();
    DscInputProblem problem;
    const bool reads = operation == DscOperation::Get || operation == DscOperation::Export;
    if (size > kDscInputLimit)
        problem.error = DscInputError::TooLarge;
    else if (reads && IsBlank(bytes, size))
        return problem;
    else
        problem = CheckJson(bytes, size);
    if (problem.error == DscInputError::None)
        problem = InstanceReader(bytes, size, instance).Read();
    if (problem.error == DscInputError::None && !reads && instance.exist)
    {
        if (!instance.Has(DscProperty::User))
            problem.error = DscInputError::MissingUser;
        else if (!instance.Has(DscProperty::Password) || instance.password[0] == L'\0')
            problem.error = DscInputError::MissingPassword;
    }
    if (problem.error != DscInputError::None)
        instance.Clear();
    return problem;
}
