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
    const char* const secrets[] = {"", " secret=replace", " secret=blank"};
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
        {"a name differs only in case", [](ChangeState& s) { s.values[1] = TextForm(L"pc"); }, 0,
         "1=PC"},
        {"the name as another type", [](ChangeState& s) { s.values[2].type = kRegExpandSz; }, 0,
         "2=kiosk"},
        {"a plain-text password is dropped", [](ChangeState& s) { s.values[3].present = true; }, 0,
         "3=none"},
        {"a forgotten count is dropped", [](ChangeState& s) { s.values[4] = NumberForm(2); }, 0,
         "4=none"},
        {"a count as asked", [](ChangeState& s) { s.values[4] = NumberForm(2); }, 2, ""},
        {"a count asked anew", [](ChangeState&) {}, 5, "4=5"},
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
        const ChangePlan plan = PlanSet(state, L"PC", L"kiosk", c.logonCount);
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
         " secret=blank"},
        {"an unreadable secret",
         [](ChangeState& s) {
             s.values[0] = TextForm(L"0");
             s.secret = SecretFound::Unreadable;
         },
         " secret=blank"},
        // Remove writes "0" whenever it runs, and says so.
        {"absent with a plain-text password",
         [](ChangeState& s) {
             s.values[0] = ValueForm();
             s.values[3].present = true;
             s.secret = SecretFound::NotFound;
         },
         "0=0 3=none"},
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
