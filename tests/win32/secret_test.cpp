// The password secret, with the Local Security Authority's calls replaced at link time:
// under Wine LsaStorePrivateData is a stub that always fails. mingw declares these calls
// without dllimport, so the definitions below take the place of advapi32's for this test
// program only; the shipped program calls the real ones.
#include <gtest/gtest.h>

#include "secret.h"
#include "writer_fixture.h"

namespace
{
LsaDouble g_lsa;
} // namespace

LsaDouble& ResetLsaDouble()
{
    g_lsa = LsaDouble{};
    return g_lsa;
}

LsaDouble& Lsa()
{
    return g_lsa;
}

LSA_HANDLE DoublePolicyHandle()
{
    return reinterpret_cast<LSA_HANDLE>(static_cast<ULONG_PTR>(0x5EC2E7));
}

extern "C" NTSTATUS NTAPI LsaOpenPolicy(PLSA_UNICODE_STRING systemName,
                                        PLSA_OBJECT_ATTRIBUTES attributes, ACCESS_MASK access,
                                        PLSA_HANDLE policy)
{
    ++g_lsa.opens;
    g_lsa.systemNameNull = systemName == nullptr;
    g_lsa.attributesZero = attributes != nullptr && attributes->Length == 0 &&
                           attributes->RootDirectory == nullptr &&
                           attributes->ObjectName == nullptr && attributes->Attributes == 0 &&
                           attributes->SecurityDescriptor == nullptr &&
                           attributes->SecurityQualityOfService == nullptr;
    g_lsa.access = access;
    if (g_lsa.openStatus != 0)
        return g_lsa.openStatus;
    *policy = DoublePolicyHandle();
    return 0;
}

// Parameter names as the SDK header declares them.
extern "C" NTSTATUS NTAPI LsaStorePrivateData(LSA_HANDLE PolicyHandle, PLSA_UNICODE_STRING KeyName,
                                              PLSA_UNICODE_STRING PrivateData)
{
    const LSA_HANDLE policy = PolicyHandle;
    const LSA_UNICODE_STRING* name = KeyName;
    const LSA_UNICODE_STRING* value = PrivateData;
    StoredSecret stored;
    stored.policy = policy;
    stored.name.assign(name->Buffer, name->Length / sizeof(wchar_t));
    stored.nameLength = name->Length;
    stored.nameMaximumLength = name->MaximumLength;
    stored.valueNull = value == nullptr;
    if (value != nullptr)
    {
        stored.length = value->Length;
        stored.maximumLength = value->MaximumLength;
        stored.bufferNull = value->Buffer == nullptr;
        if (value->Buffer != nullptr)
        {
            const auto* first = reinterpret_cast<const unsigned char*>(value->Buffer);
            stored.bytes.assign(first, first + value->Length);
        }
    }
    const size_t call = g_lsa.stores.size();
    g_lsa.stores.push_back(stored);
    if (g_lsa.duringStore)
        g_lsa.duringStore();
    const NTSTATUS status = call < g_lsa.storeStatuses.size() ? g_lsa.storeStatuses[call] : 0;
    // A store that succeeds is what the next read finds, as in the real store; no data at all
    // deletes the secret.
    if (status == 0)
    {
        g_lsa.retrieveStatus = value == nullptr ? kStatusNameNotFound : 0;
        g_lsa.retrieveNoValue = false;
        g_lsa.retrieveValue.assign(reinterpret_cast<const wchar_t*>(stored.bytes.data()),
                                   stored.bytes.size() / sizeof(wchar_t));
    }
    return status;
}

extern "C" NTSTATUS NTAPI LsaClose(LSA_HANDLE handle)
{
    g_lsa.closed.push_back(handle);
    return 0;
}

// The value is handed out in one heap block, record and text, as LSA's own memory would be.
extern "C" NTSTATUS NTAPI LsaRetrievePrivateData(LSA_HANDLE PolicyHandle,
                                                 PLSA_UNICODE_STRING KeyName,
                                                 PLSA_UNICODE_STRING* PrivateData)
{
    static_cast<void>(PolicyHandle);
    g_lsa.retrieved.emplace_back(KeyName->Buffer, KeyName->Length / sizeof(wchar_t));
    *PrivateData = nullptr;
    if (g_lsa.retrieveStatus != 0 || g_lsa.retrieveNoValue)
        return g_lsa.retrieveStatus;
    const size_t bytes = g_lsa.retrieveValue.size() * sizeof(wchar_t);
    auto* value = static_cast<LSA_UNICODE_STRING*>(
        HeapAlloc(GetProcessHeap(), 0, sizeof(LSA_UNICODE_STRING) + bytes + sizeof(wchar_t)));
    auto* text = reinterpret_cast<wchar_t*>(value + 1);
    CopyMemory(text, g_lsa.retrieveValue.c_str(), bytes + sizeof(wchar_t));
    *value = {static_cast<USHORT>(bytes), static_cast<USHORT>(bytes + sizeof(wchar_t)), text};
    *PrivateData = value;
    return 0;
}

extern "C" NTSTATUS NTAPI LsaFreeMemory(PVOID Buffer)
{
    const auto* value = static_cast<const LSA_UNICODE_STRING*>(Buffer);
    bool wiped = true;
    for (size_t i = 0; i < value->Length / sizeof(wchar_t); ++i)
        wiped = wiped && value->Buffer[i] == L'\0';
    ++g_lsa.frees;
    g_lsa.freedWiped = wiped;
    HeapFree(GetProcessHeap(), 0, Buffer);
    return 0;
}

TEST(DefaultPasswordSecret, LengthsNameAndBytesFor0And8And256Characters)
{
    for (size_t characters : {size_t{0}, size_t{8}, size_t{256}})
    {
        std::wstring text;
        for (size_t i = 0; i < characters; ++i)
            text += static_cast<wchar_t>(L'a' + i % 26);
        if (!text.empty())
            text.back() = L'\u00e9'; // stored as UTF-16, not as 8-bit text
        ResetLsaDouble();

        EXPECT_EQ(StoreDefaultPassword(text.c_str(), false).step, ChangeStep::None) << characters;

        EXPECT_EQ(Lsa().opens, 1) << characters;
        EXPECT_TRUE(Lsa().systemNameNull);
        EXPECT_TRUE(Lsa().attributesZero);
        EXPECT_EQ(Lsa().access, static_cast<ACCESS_MASK>(POLICY_CREATE_SECRET));
        ASSERT_EQ(Lsa().stores.size(), 1u) << characters;
        const StoredSecret& stored = Lsa().stores[0];
        EXPECT_EQ(stored.name, L"DefaultPassword");
        EXPECT_EQ(stored.nameLength, 30);
        EXPECT_EQ(stored.nameMaximumLength, 32);
        EXPECT_EQ(stored.length, characters * 2) << characters;
        EXPECT_EQ(stored.maximumLength, characters * 2 + 2) << characters;
        EXPECT_FALSE(stored.bufferNull) << "an empty value must not delete the secret";
        EXPECT_EQ(stored.bytes, Utf16Bytes(text)) << characters;
        EXPECT_EQ(stored.policy, DoublePolicyHandle());
        ASSERT_EQ(Lsa().closed.size(), 1u);
        EXPECT_EQ(Lsa().closed[0], DoublePolicyHandle());
    }
}

TEST(DefaultPasswordSecret, ClearingTheOldValueStoresTwiceInOneSession)
{
    ResetLsaDouble();
    EXPECT_EQ(StoreDefaultPassword(L"", true).step, ChangeStep::None);
    EXPECT_EQ(Lsa().opens, 1);
    ASSERT_EQ(Lsa().stores.size(), 2u);
    for (const StoredSecret& stored : Lsa().stores)
    {
        EXPECT_EQ(stored.name, L"DefaultPassword");
        EXPECT_EQ(stored.length, 0);
        EXPECT_EQ(stored.maximumLength, 2);
        EXPECT_FALSE(stored.bufferNull);
        EXPECT_EQ(stored.policy, DoublePolicyHandle());
    }
    EXPECT_EQ(Lsa().closed.size(), 1u);
}

// The secret is part of the window-free core: it reports its failure as data and leaves the
// lines and boxes to the caller (the dialog's are tested with Set and Remove).
TEST(DefaultPasswordSecret, StoreFailuresGiveTheStepAndCodeAndNothingElse)
{
    const struct
    {
        std::vector<NTSTATUS> statuses;
        bool clearOldValue;
        size_t stores;
        DWORD code;
    } cases[] = {
        {{kStatusNameNotFound}, false, 1, 2},
        {{kStatusAccessDenied}, true, 1, 5},
        // The second store fails: its code is the answer.
        {{0, kStatusAccessDenied}, true, 2, 5},
    };
    for (const auto& c : cases)
    {
        ResetLsaDouble().storeStatuses = c.statuses;
        StdoutCapture output;
        HWND anyOwner = nullptr;
        BoxWatcher boxes(anyOwner);
        const StepFailure failure = StoreDefaultPassword(L"pw", c.clearOldValue);
        EXPECT_EQ(failure.step, ChangeStep::StoreSecret) << c.stores;
        EXPECT_EQ(failure.error, c.code) << c.stores;
        EXPECT_TRUE(boxes.Stop().empty()) << "a box for a failed store";
        EXPECT_EQ(Lsa().stores.size(), c.stores);
        EXPECT_EQ(Lsa().closed.size(), 1u) << "the policy is closed after a failure too";
        EXPECT_EQ(output.Text(), "");
    }
}

TEST(DefaultPasswordSecret, OpenFailureGivesTheStepAndCodeAndOpensNothing)
{
    ResetLsaDouble().openStatus = kStatusAccessDenied;
    StdoutCapture output;
    BoxWatcher boxes(nullptr);
    const StepFailure failure = StoreDefaultPassword(L"pw", false);
    EXPECT_EQ(failure.step, ChangeStep::OpenPolicy);
    EXPECT_EQ(failure.error, 5u);
    EXPECT_TRUE(boxes.Stop().empty()) << "the caller shows the box";
    EXPECT_EQ(output.Text(), "");
    EXPECT_TRUE(Lsa().stores.empty());
    EXPECT_TRUE(Lsa().closed.empty()) << "nothing was opened, so nothing is closed";
}
