// What set and remove would change, from the state they read: the comparisons that make
// them idempotent and the dry run honest.
#include <gtest/gtest.h>

#include <string>

#include "change_plan.h"

namespace
{
ChangeState Configured()
{
    ChangeState state;
    state.values[0] = TextForm(L"1");
    state.values[1] = TextForm(L"PC");
    state.values[2] = TextForm(L"kiosk");
    state.secret = SecretFound::Same;
    return state;
}

// Stands in for Windows' comparison of names (CompareStringOrdinal, ignoring case), for ASCII.
bool SameIgnoringAsciiCase(const wchar_t* a, const wchar_t* b)
{
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    for (; *a != L'\0' && lower(*a) == lower(*b); ++a, ++b)
    {
    }
    return lower(*a) == lower(*b);
}

// The plan in one line: each value that changes with what it becomes, then the secret.
std::string Describe(const ChangePlan& plan)
{
    std::string text;
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        if (!plan.change[i])
            continue;
        const ValueForm& after = plan.after[i];
        text += std::string(text.empty() ? "" : " ") + std::to_string(i) + "=";
        if (!after.present)
            text += "none";
        else if (after.type == kRegDword)
            text += std::to_string(after.number);
        else
            text += std::string(after.text, after.text + std::wcslen(after.text));
    }
    const char* const secrets[] = {"", " secret=replace", " secret=delete"};
    return text + secrets[static_cast<int>(plan.secret)];
}
} // namespace

TEST(ChangePlan, SetChangesOnlyWhatDiffers)
{
    const struct
    {
        const char* name;
        void (*change)(ChangeState&);
        std::uint32_t logonCount;
        std::string plan;
    } cases[] = {
        {"already set up", [](ChangeState&) {}, 0, ""},
        {"off", [](ChangeState& s) { s.values[0] = TextForm(L"0"); }, 0, "0=1"},
        {"another user, the same password", [](ChangeState& s) { s.values[2] = TextForm(L"bob"); },
         0, "2=kiosk"},
        // Windows writes DefaultUserName back in the account's own letters at a logon.
        {"a name differs only in case", [](ChangeState& s) { s.values[1] = TextForm(L"pc"); }, 0,
         ""},
        {"... and is written as given along with another change",
         [](ChangeState& s) {
             s.values[2] = TextForm(L"KIOSK");
             s.values[0] = TextForm(L"0");
         },
         0, "0=1 2=kiosk"},
        {"a name that is a prefix of the one wanted",
         [](ChangeState& s) { s.values[2] = TextForm(L"kio"); }, 0, "2=kiosk"},
        {"an empty AutoAdminLogon", [](ChangeState& s) { s.values[0] = TextForm(L""); }, 0, "0=1"},
        {"the name as another type", [](ChangeState& s) { s.values[2].type = kRegExpandSz; }, 0,
         "2=kiosk"},
        {"a plain-text password is dropped", [](ChangeState& s) { s.values[3].present = true; }, 0,
         "3=none"},
        {"a forgotten count is dropped", [](ChangeState& s) { s.values[4] = NumberForm(2); }, 0,
         "4=none"},
        // Windows counts down: any count left up to the one asked for is met.
        {"a count as asked", [](ChangeState& s) { s.values[4] = NumberForm(3); }, 3, ""},
        {"a count partly used", [](ChangeState& s) { s.values[4] = NumberForm(1); }, 3, ""},
        {"a count used up", [](ChangeState& s) { s.values[4] = NumberForm(0); }, 3, "4=3"},
        {"a count above the one asked", [](ChangeState& s) { s.values[4] = NumberForm(4); }, 3,
         "4=3"},
        {"a count that Windows removed when it ran out", [](ChangeState&) {}, 5, "4=5"},
        {"a count of the wrong size",
         [](ChangeState& s) {
             s.values[4] = NumberForm(2);
             s.values[4].size = 8;
         },
         3, "4=3"},
        {"a count as text", [](ChangeState& s) { s.values[4] = TextForm(L"2"); }, 3, "4=3"},
        {"another password", [](ChangeState& s) { s.secret = SecretFound::Different; }, 0,
         " secret=replace"},
        {"no secret", [](ChangeState& s) { s.secret = SecretFound::NotFound; }, 0,
         " secret=replace"},
        {"a blank secret", [](ChangeState& s) { s.secret = SecretFound::Blank; }, 0,
         " secret=replace"},
        // Never "unchanged" on a guess.
        {"the secret unreadable", [](ChangeState& s) { s.secret = SecretFound::Unreadable; }, 0,
         " secret=replace"},
        {"a value unreadable", [](ChangeState& s) { s.unreadable[1] = true; }, 0, "1=PC"},
    };
    for (const auto& c : cases)
    {
        ChangeState state = Configured();
        c.change(state);
        const ChangePlan plan =
            PlanSet(state, L"PC", L"kiosk", c.logonCount, SameIgnoringAsciiCase);
        EXPECT_EQ(Describe(plan), c.plan) << c.name;
        EXPECT_EQ(plan.Changes(), !c.plan.empty()) << c.name;
    }
}

TEST(ChangePlan, RemoveChangesOnlyWhatDiffers)
{
    const struct
    {
        const char* name;
        void (*change)(ChangeState&);
        std::string plan;
    } cases[] = {
        {"off, no secret at all",
         [](ChangeState& s) {
             s.values[0] = TextForm(L"0");
             s.secret = SecretFound::NotFound;
         },
         ""},
        {"absent counts as off",
         [](ChangeState& s) {
             s.values[0] = ValueForm();
             s.secret = SecretFound::NotFound;
         },
         ""},
        {"on", [](ChangeState& s) { s.secret = SecretFound::NotFound; }, "0=0"},
        // A blank secret may still hold the password as its old value.
        {"off with a secret",
         [](ChangeState& s) {
             s.values[0] = TextForm(L"0");
             s.secret = SecretFound::Different;
         },
         " secret=delete"},
        {"off with a blank secret",
         [](ChangeState& s) {
             s.values[0] = TextForm(L"0");
             s.secret = SecretFound::Blank;
         },
         " secret=delete"},
        {"an unreadable secret",
         [](ChangeState& s) {
             s.values[0] = TextForm(L"0");
             s.secret = SecretFound::Unreadable;
         },
         " secret=delete"},
        {"absent with a plain-text password",
         [](ChangeState& s) {
             s.values[0] = ValueForm();
             s.values[3].present = true;
             s.passwordText = true;
             s.secret = SecretFound::NotFound;
         },
         "3=none"},
        // An empty DefaultPassword holds no password: remove leaves it, and settles.
        {"off with an empty DefaultPassword",
         [](ChangeState& s) {
             s.values[0] = TextForm(L"0");
             s.values[3].present = true;
             s.secret = SecretFound::NotFound;
         },
         ""},
        {"an unusual form is written over",
         [](ChangeState& s) {
             s.values[0] = NumberForm(1);
             s.secret = SecretFound::NotFound;
         },
         "0=0"},
    };
    for (const auto& c : cases)
    {
        ChangeState state = Configured();
        c.change(state);
        EXPECT_EQ(Describe(PlanRemove(state)), c.plan) << c.name;
    }
}

TEST(ChangePlan, SecretBytesCompareWhole)
{
    const std::string given = "hunter2!";
    const auto* bytes = reinterpret_cast<const unsigned char*>(given.data());
    const struct
    {
        std::string stored;
        bool same;
    } cases[] = {
        {"hunter2!", true}, {"hunter2?", false},  {"Hunter2!", false},
        {"hunter2", false}, {"hunter2!!", false}, {"", false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(SameSecretBytes(reinterpret_cast<const unsigned char*>(c.stored.data()),
                                  c.stored.size(), bytes, given.size()),
                  c.same)
            << c.stored;
    }
    EXPECT_TRUE(SameSecretBytes(nullptr, 0, nullptr, 0)) << "two empty values are the same";
}
