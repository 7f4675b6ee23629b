// libFuzzer target for the instance the DSC operations read: json/json_reader under
// dsc/dsc_instance. Beyond not crashing: a refusal leaves no unit of any text behind in the
// instance, the only place the reader decodes to; an accepted instance, written out again as
// JSON, is accepted again with the very same values; and the instance's destructor wipes its
// texts (stores the compiler might otherwise drop, since nothing reads them).
//
// The first byte picks the operation; the rest is the instance as dsc would pipe it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

#include "dsc_instance.h"
#include "fuzz_check.h"

namespace
{
DscInputProblem Read(const std::string& text, DscOperation operation, DscInstance& instance)
{
    return ReadDscInstance(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                           operation, instance);
}

bool Zero(const unsigned char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

// From the user field to the end of the password field: every text the instance holds.
const std::size_t kTextsStart = offsetof(DscInstance, user);
const std::size_t kTextsEnd = offsetof(DscInstance, password) + sizeof(DscInstance::password);

// ASCII JSON: every unit outside printable ASCII as its \u escape (a pair as two).
void AddMember(std::string& out, const char* name, const std::string& value)
{
    out += (out.size() > 1 ? ",\"" : "\"") + std::string(name) + "\":" + value;
}

std::string Quoted(const wchar_t* text)
{
    std::string out = "\"";
    for (const std::uint32_t unit : std::vector<std::uint32_t>(text, text + std::wcslen(text)))
    {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", unit);
        out += unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '\\'
                   ? std::string(1, static_cast<char>(unit))
                   : std::string(escape);
    }
    return out + "\"";
}

std::string Written(const DscInstance& instance)
{
    std::string out = "{";
    if (instance.Has(DscProperty::User))
        AddMember(out, "user", Quoted(instance.user));
    if (instance.Has(DscProperty::Domain))
        AddMember(out, "domain", Quoted(instance.domain));
    if (instance.Has(DscProperty::LogonCount))
        AddMember(out, "logonCount", std::to_string(instance.logonCount));
    if (instance.Has(DscProperty::Password))
        AddMember(out, "password",
                  instance.passwordSecure ? "{\"secureString\":" + Quoted(instance.password) + "}"
                                          : Quoted(instance.password));
    if (instance.Has(DscProperty::CheckCredentials))
        AddMember(out, "checkCredentials", instance.checkCredentials ? "true" : "false");
    if (instance.Has(DscProperty::Exist))
        AddMember(out, "_exist", instance.exist ? "true" : "false");
    return out + "}";
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto operation = static_cast<DscOperation>(data[0] % 5);
    alignas(DscInstance) unsigned char storage[sizeof(DscInstance)];
    auto* instance = new (storage) DscInstance;
    const DscInputProblem problem = ReadDscInstance(data + 1, size - 1, operation, *instance);
    if (problem.error != DscInputError::None)
    {
        Check(Zero(storage + kTextsStart, kTextsEnd - kTextsStart) && instance->present == 0,
              "a refusal leaves nothing of the input in the instance");
    }
    else
    {
        const unsigned int writable =
            (1u << static_cast<unsigned int>(DscProperty::InDesiredState)) - 1;
        DscInstance again;
        Check(Read(Written(*instance), operation, again).error == DscInputError::None,
              "an accepted instance, written again, is accepted");
        Check(again.present == (instance->present & writable) &&
                  std::wcscmp(again.user, instance->user) == 0 &&
                  std::wcscmp(again.domain, instance->domain) == 0 &&
                  std::wcscmp(again.password, instance->password) == 0 &&
                  again.logonCount == instance->logonCount &&
                  again.passwordSecure == instance->passwordSecure &&
                  again.checkCredentials == instance->checkCredentials &&
                  again.exist == instance->exist,
              "an accepted instance, written again, reads back the same");
    }
    instance->~DscInstance();
    Check(Zero(storage + kTextsStart, kTextsEnd - kTextsStart),
          "the instance's texts are wiped when it goes out of scope");
    return 0;
}
