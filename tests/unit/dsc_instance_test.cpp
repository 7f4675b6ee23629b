// The instance the dsc operations read: what each operation takes and what it refuses.
#include <gtest/gtest.h>

#include <string>

#include "dsc_instance.h"
#include "show_text.h"
#include "status_verdict.h"

namespace
{
DscInputProblem Read(DscOperation operation, const std::string& text, DscInstance& instance)
{
    return ReadDscInstance(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                           operation, instance);
}

bool AllZero(const wchar_t* text)
{
    for (std::size_t i = 0; i <= kFieldLimit; ++i)
        if (text[i] != L'\0')
            return false;
    return true;
}

const DscOperation kGet = DscOperation::Get;
const DscOperation kSet = DscOperation::Set;
const std::string kUser = R"("user":"kiosk",)";
const std::string kLong(kFieldLimit + 1, 'x');
const std::size_t kHidden = ~std::size_t{0}; // the offset is not told
} // namespace

TEST(DscInstance, TakesTheSchemasPropertiesWithTheirDefaults)
{
    DscInstance instance;
    const std::string all = R"({"user":"CORP\\kiosk","domain":"D","logonCount":3.0,)"
                            R"("password":{"secureString":"p\u00e4ss"},"checkCredentials":false,)"
                            R"("_exist":true,"fix":["account-locked","plain-text-password"],)"
                            R"("_inDesiredState":null,"problems":[],)"
                            R"("warnings":["logon-count"]})";
    ASSERT_EQ(Read(DscOperation::Test, all, instance).error, DscInputError::None);
    EXPECT_STREQ(instance.user, L"CORP\\kiosk");
    EXPECT_STREQ(instance.domain, L"D");
    EXPECT_EQ(instance.logonCount, 3u);
    EXPECT_STREQ(instance.password, L"p\u00e4ss");
    EXPECT_TRUE(instance.passwordSecure);
    EXPECT_FALSE(instance.checkCredentials);
    EXPECT_EQ(instance.fixCauses,
              CauseBit(Cause::AccountLocked) | CauseBit(Cause::PlainTextPassword));
    EXPECT_EQ(instance.present, (1u << kDscPropertyCount) - 1) << "every property given";

    const struct
    {
        DscOperation operation;
        std::string text;
        unsigned int present;
        bool exist;
    } cases[] = {
        {kGet, "", 0, true}, // get and export may come without an instance
        {kGet, std::string(kDscInputLimit, ' '), 0, true}, // the limit itself
        {DscOperation::Export, " \n", 0, true},
        {kGet, "{}", 0, true},
        {kSet, R"({"_exist":false})", 1u << 5, false}, // switching off needs no user
        {DscOperation::WhatIf, "{" + kUser + R"("password":"p"})", 9, true},
        {kSet, "{\"user\":\"" + std::string(kFieldLimit, 'u') + R"(","password":"p"})", 9, true},
    };
    for (const auto& c : cases)
    {
        const DscInputProblem problem = Read(c.operation, c.text, instance);
        EXPECT_EQ(problem.error, DscInputError::None) << c.text;
        EXPECT_EQ(instance.present, c.present) << c.text;
        EXPECT_EQ(instance.exist, c.exist) << c.text;
        EXPECT_TRUE(instance.checkCredentials) << c.text << ": true unless given";
    }
}

TEST(DscInstance, RefusesEachFaultByItsIdAndLeavesNothingBehind)
{
    const struct
    {
        DscOperation operation;
        std::string text;
        const char* id;
        const char* property;
        std::size_t at;
    } cases[] = {
        {kGet, std::string(kDscInputLimit + 1, ' '), "too-large", nullptr, 0},
        {kSet, "", "invalid-json", nullptr, 0},
        // No byte offset at or after a value that may be a password: it would tell its length.
        {kGet, R"({"user":"a","password":"MARK-pw-4417)", "invalid-json", nullptr, kHidden},
        {kGet, R"({"password":"s3cret","user":)", "invalid-json", nullptr, kHidden},
        {kGet, R"({"user":"a","domain":)", "invalid-json", nullptr, 21},
        {kGet, R"({"password":"s3cret","user":"a","user":"b"})", "duplicate-key", "user", kHidden},
        {kGet, R"({"password":{"secureString":"a","secureString":"b"}})", "duplicate-key",
         "password", kHidden},
        {kGet, R"({"x":1,"x":1})", "duplicate-key", nullptr, kHidden},
        {kGet, "[]", "not-an-object", nullptr, 0},
        {kGet, R"({"password":"s3cret","Password":"p"})", "unknown-property", nullptr, 2},
        {kGet, R"({"password":"s3cret","user":5})", "wrong-type", "user", 0},
        {kGet, R"({"domain":null})", "wrong-type", "domain", 0},
        {kGet, R"({"logonCount":"3"})", "wrong-type", "logonCount", 0},
        // fix takes the causes fix repairs, nothing a policy sets.
        {kGet, R"({"fix":["legal-notice"]})", "wrong-type", "fix", 0},
        {kGet, R"({"fix":"plain-text-password"})", "wrong-type", "fix", 0},
        {kGet, R"({"logonCount":2.5})", "wrong-type", "logonCount", 0},
        {kGet, R"({"password":7})", "wrong-type", "password", 0},
        {kGet, R"({"password":{}})", "wrong-type", "password", 0},
        {kGet, R"({"password":{"plainText":"s3cret"}})", "wrong-type", "password", 0},
        {kGet, R"({"password":{"secureString":1}})", "wrong-type", "password", 0},
        {kGet, R"({"password":{"secureString":"s3cret","x":1}})", "wrong-type", "password", 0},
        {kGet, R"({"checkCredentials":"false"})", "wrong-type", "checkCredentials", 0},
        {kGet, R"({"_exist":1})", "wrong-type", "_exist", 0},
        {kGet, R"({"_inDesiredState":"yes"})", "wrong-type", "_inDesiredState", 0},
        {kGet, R"({"problems":["a",1]})", "wrong-type", "problems", 0},
        {kGet, R"({"warnings":"a"})", "wrong-type", "warnings", 0},
        {kGet, R"({"logonCount":0})", "out-of-range", "logonCount", 0},
        {kGet, R"({"logonCount":1000000})", "out-of-range", "logonCount", 0},
        {kGet, R"({"logonCount":1e30})", "out-of-range", "logonCount", 0},
        {kGet, "{\"user\":\"" + kLong + "\"}", "too-long", "user", 0},
        {kGet, "{\"password\":\"" + kLong + "\"}", "too-long", "password", 0},
        {kGet, "{\"domain\":\"" + kLong.substr(2) + "\\ud83d\\ude00\"}", "too-long", "domain", 0},
        {kGet, R"({"domain":"a\u0000b"})", "null-character", "domain", 0},
        {kSet, R"({"password":"s3cret"})", "missing-user", nullptr, 0},
        {DscOperation::Test, "{}", "missing-user", nullptr, 0},
        {kSet, "{" + kUser + R"("_exist":true})", "missing-password", nullptr, 0},
        {DscOperation::WhatIf, "{" + kUser + R"("password":""})", "missing-password", nullptr, 0},
    };
    for (const auto& c : cases)
    {
        DscInstance instance;
        const DscInputProblem problem = Read(c.operation, c.text, instance);
        const std::string row = Printable(c.text.substr(0, 80));
        EXPECT_STREQ(kDscInputErrorIds[static_cast<unsigned int>(problem.error)], c.id) << row;
        EXPECT_STREQ(problem.property ? problem.property : "(none)",
                     c.property ? c.property : "(none)")
            << row;
        EXPECT_EQ(problem.atHidden ? kHidden : problem.at, c.at) << row;
        EXPECT_TRUE(AllZero(instance.password) && AllZero(instance.user) &&
                    AllZero(instance.domain) && instance.present == 0)
            << row << ": a refusal leaves every text wiped";
    }
}
