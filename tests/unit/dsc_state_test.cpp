// The state the dsc operations print, from what status reads.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "dsc_state.h"
#include "status_report.h"

TEST(DscState, StatusInTheSchemasTerms)
{
    const struct
    {
        const char* name;
        void (*change)(StatusSnapshot&);
        int test; // -1: get's state; 0 or 1: test's, with that _inDesiredState
        std::wstring json;
    } cases[] = {
        {"on", [](StatusSnapshot&) {}, -1,
         LR"({"user":"kiosk","domain":"PC","logonCount":3,"_exist":true,"problems":[],)"
         LR"("warnings":["logon-count"]})"},
        {"off, its names kept", [](StatusSnapshot& s) { s.autoAdminLogon = TextForm(L"0"); }, 0,
         LR"({"user":"kiosk","domain":"PC","logonCount":3,"_exist":false,)"
         LR"("_inDesiredState":false,"problems":[],"warnings":[]})"},
        {"no count", [](StatusSnapshot& s) { s.hasLogonCount = false; }, 1,
         LR"({"user":"kiosk","domain":"PC","_exist":true,"_inDesiredState":true,)"
         LR"("problems":[],"warnings":[]})"},
        {"count used up", [](StatusSnapshot& s) { s.logonCount = 0; }, -1,
         LR"({"user":"kiosk","domain":"PC","_exist":true,"problems":["logon-count-used-up"],)"
         LR"("warnings":[]})"},
        {"count above the schema's", [](StatusSnapshot& s) { s.logonCount = 1000000; }, -1,
         LR"({"user":"kiosk","domain":"PC","_exist":true,"problems":[],)"
         LR"("warnings":["logon-count"]})"},
        {"no password, names escaped",
         [](StatusSnapshot& s) {
             s.secret = SecretState::Absent;
             wcscpy(s.user, L"k\"i");
             wcscpy(s.domain, L"");
             s.logonCount = 999999;
         },
         -1,
         LR"({"user":"k\"i","domain":"","logonCount":999999,"_exist":true,)"
         LR"("problems":["no-password"],"warnings":["logon-count"]})"},
        {"unreadable", [](StatusSnapshot& s) { s.unreadableValue = L"AutoAdminLogon"; }, -1, L""},
    };
    for (const auto& c : cases)
    {
        StatusSnapshot snapshot;
        snapshot.autoAdminLogon = TextForm(L"1");
        wcscpy(snapshot.domain, L"PC");
        wcscpy(snapshot.user, L"kiosk");
        snapshot.secret = SecretState::Present;
        snapshot.hasLogonCount = true;
        snapshot.logonCount = 3;
        c.change(snapshot);
        wchar_t storage[kStatusReportCapacity];
        TextBuffer out(storage, kStatusReportCapacity);
        const StatusVerdict verdict = JudgeStatus(snapshot);
        const bool inDesiredState = c.test == 1;
        DscAnswer answer;
        answer.inDesiredState = c.test < 0 ? nullptr : &inDesiredState;
        const bool written = ComposeDscState(snapshot, verdict, answer, out);
        EXPECT_EQ(written, !c.json.empty()) << c.name;
        EXPECT_EQ(std::wstring(out.Text()), c.json.empty() ? L"" : c.json + L"\n") << c.name;
    }
}

TEST(DscState, WhatTheMachineHoldsAsTheDesiredInstanceWroteIt)
{
    const struct
    {
        const char* instance;
        const wchar_t* user; // the account as set resolves it
        const wchar_t* domain;
        std::wstring json; // the state's start
    } cases[] = {
        {R"({"user":"CORP\\kiosk"})", L"kiosk", L"CORP",
         LR"({"user":"CORP\\kiosk","domain":"CORP","logonCount":2,)"},
        {R"({"user":"Kiosk","domain":"corp","logonCount":3})", L"Kiosk", L"corp",
         LR"({"user":"Kiosk","domain":"corp","logonCount":3,)"},
        {R"({"user":"other","logonCount":1,"checkCredentials":false})", L"other", L"CORP",
         LR"({"user":"kiosk","domain":"CORP","logonCount":2,"checkCredentials":false,)"},
        {R"({"user":"kiosk@corp.example"})", L"kiosk@corp.example", L"",
         LR"({"user":"kiosk","domain":"CORP","logonCount":2,)"},
    };
    for (const auto& c : cases)
    {
        DscInstance instance;
        const std::string text = c.instance;
        ReadDscInstance(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                        DscOperation::Get, instance);
        StatusSnapshot snapshot;
        snapshot.autoAdminLogon = TextForm(L"1");
        wcscpy(snapshot.domain, L"CORP");
        wcscpy(snapshot.user, L"kiosk");
        snapshot.hasLogonCount = true;
        snapshot.logonCount = 2;
        DscAnswer answer;
        answer.instance = &instance;
        answer.user = c.user;
        answer.domain = c.domain;
        ShapeAsDesired(
            answer, [](const wchar_t* a, const wchar_t* b) { return wcscasecmp(a, b) == 0; },
            snapshot);
        wchar_t storage[kStatusReportCapacity];
        TextBuffer out(storage, kStatusReportCapacity);
        ComposeDscState(snapshot, JudgeStatus(snapshot), answer, out);
        EXPECT_EQ(std::wstring(out.Text()).substr(0, c.json.size()), c.json) << c.instance;
    }
}
