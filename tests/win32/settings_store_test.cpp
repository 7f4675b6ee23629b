// The settings store under Wine with the real profile functions and the real file system.
// The tests use their own product name, so the program's own Tarvelin.ini is never touched.
#include <gtest/gtest.h>

#include <string>

#include "settings_store.h"
#include "settings_test_util.h"

namespace
{
const wchar_t kProduct[] = L"TarvelinStoreTest";

// Registered before main runs; GoogleTest owns and deletes it.
[[maybe_unused]] const ::testing::Environment* const kCleanup =
    ::testing::AddGlobalTestEnvironment(new PerUserFoldersCleanup);

class SettingsStoreTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        besideExe_ = ExeFolder() + L"\\" + kProduct + L".ini";
        makerFolder_ = RoamingAppData() + L"\\Vestrakona";
        userFolder_ = makerFolder_ + L"\\" + kProduct;
        userFile_ = userFolder_ + L"\\" + kProduct + L".ini";
        otherFile_ = ExeFolder() + L"\\TarvelinStoreTest-other.ini";
        makerExisted_ = IsFolder(makerFolder_);
        RemoveAll();
    }
    void TearDown() override { RemoveAll(); }

    void RemoveAll()
    {
        RemoveFile(besideExe_);
        RemoveDirectoryW(besideExe_.c_str());
        RemoveFile(userFile_);
        RemoveFile(otherFile_);
        RemoveDirectoryW(userFolder_.c_str());
        // Only a maker folder this test made goes; the program's own may live in it.
        if (!makerExisted_)
            RemoveDirectoryW(makerFolder_.c_str());
    }

    int ReadTime(const SettingsStore& store, int minimum = -1, int maximum = -1) const
    {
        return store.ReadInt(L"Program", L"Time", 5, minimum, maximum);
    }

    std::wstring besideExe_, makerFolder_, userFolder_, userFile_, otherFile_;
    bool makerExisted_ = false;
};
} // namespace

TEST_F(SettingsStoreTest, NothingIsResolvedBeforeResolvePath)
{
    SettingsStore store;
    EXPECT_STREQ(store.Path(), L"");
    EXPECT_EQ(ReadTime(store), 5);
    EXPECT_EQ(ReadTime(store, 10, 20), 10);
}

TEST_F(SettingsStoreTest, AFileBesideTheExecutableIsUsedWhateverItsAttributes)
{
    const DWORD attributeSets[] = {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY,
                                   FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN};
    for (DWORD attributes : attributeSets)
    {
        ASSERT_TRUE(WriteWholeFile(besideExe_, "[Program]\r\nTime=7\r\n"));
        ASSERT_TRUE(SetFileAttributesW(besideExe_.c_str(), attributes)) << GetLastError();

        SettingsStore store;
        store.ResolvePath(kProduct);
        EXPECT_EQ(std::wstring(store.Path()), besideExe_) << "attributes " << attributes;
        EXPECT_FALSE(IsFolder(userFolder_)) << "per-user folder made; attributes " << attributes;
        EXPECT_EQ(ReadTime(store), 7) << "attributes " << attributes;
        RemoveFile(besideExe_);
    }
    if (!makerExisted_)
    {
        EXPECT_FALSE(IsFolder(makerFolder_));
    }
}

TEST_F(SettingsStoreTest, AFileBesideTheExecutableIsWrittenThere)
{
    ASSERT_TRUE(WriteWholeFile(besideExe_, ""));
    SettingsStore store;
    store.ResolvePath(kProduct);
    ASSERT_EQ(std::wstring(store.Path()), besideExe_);
    store.WriteInt(L"Program", L"Time", 9, nullptr);
    EXPECT_EQ(KeyLine(besideExe_, "Time"), "Time=9");
    EXPECT_NE(ReadWholeFile(besideExe_).find("[Program]"), std::string::npos);
    EXPECT_FALSE(IsFile(userFile_));
}

TEST_F(SettingsStoreTest, AFolderOfThatNameLeadsToThePerUserPath)
{
    ASSERT_TRUE(CreateDirectoryW(besideExe_.c_str(), nullptr)) << GetLastError();
    SettingsStore store;
    store.ResolvePath(kProduct);
    EXPECT_EQ(std::wstring(store.Path()), userFile_);
    EXPECT_TRUE(IsFolder(userFolder_));
    EXPECT_FALSE(IsFile(userFile_));
    EXPECT_TRUE(IsFolder(besideExe_));
}

TEST_F(SettingsStoreTest, PerUserFoldersAreMadeAtOnceButTheFileOnlyByTheFirstWrite)
{
    SettingsStore store;
    store.ResolvePath(kProduct);
    ASSERT_EQ(std::wstring(store.Path()), userFile_);
    EXPECT_TRUE(IsFolder(makerFolder_));
    EXPECT_TRUE(IsFolder(userFolder_));
    EXPECT_FALSE(IsFile(userFile_)) << "ResolvePath made the file";
    EXPECT_EQ(ReadTime(store), 5);

    // A second resolution finds the folders there and keeps the path.
    store.ResolvePath(kProduct);
    EXPECT_EQ(std::wstring(store.Path()), userFile_);

    for (int value : {-5, 0, 64})
    {
        store.WriteInt(L"Program", L"Time", value, nullptr);
        EXPECT_EQ(KeyLine(userFile_, "Time"), "Time=" + std::to_string(value));
        EXPECT_EQ(ReadTime(store), value);
    }
    EXPECT_NE(ReadWholeFile(userFile_).find("[Program]"), std::string::npos);
}

TEST_F(SettingsStoreTest, ReadIntTakesTheNumberAndFallsBackToTheDefault)
{
    ASSERT_TRUE(WriteWholeFile(besideExe_, ""));
    SettingsStore store;
    store.ResolvePath(kProduct);
    ASSERT_EQ(std::wstring(store.Path()), besideExe_);

    const struct
    {
        std::string content;
        int expected;
    } cases[] = {
        {"[Other]\r\nTime=3\r\n", 5},
        {"[Program]\r\nOther=3\r\n", 5},
        {"[Program]\r\nTime=12\r\n", 12},
        {"[Program]\r\nTime=abc\r\n", 0},
        {"[Program]\r\nTime=\r\n", 5},
        {"[Program]\r\nTime=-3\r\n", -3},
        {"[Program]\r\nTime=+4\r\n", 4},
        {"[Program]\r\nTime=9x\r\n", 9},
        {"[Program]\r\nTime=0x10\r\n", 0},
        {"[Program]\r\nTime=4294967301\r\n", 5},
        {"[Program]\r\nTime=2147483648\r\n", -2147483647 - 1},
        // UTF-16LE with a byte order mark: full-width one and two, then a superscript two,
        // which the platform's own digit test would take for a digit, and Arabic-Indic 42.
        {Utf16File(u"[Program]\r\nTime=\uFF11\uFF12\r\n"), 12},
        {Utf16File(u"[Program]\r\nTime=\u00B2\r\n"), 0},
        {Utf16File(u"[Program]\r\nTime=\u0664\u0662\r\n"), 42},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(WriteWholeFile(besideExe_, c.content));
        EXPECT_EQ(ReadTime(store), c.expected) << c.content;
    }

    // A file that has gone since the path was resolved reads as missing.
    RemoveFile(besideExe_);
    EXPECT_EQ(ReadTime(store), 5);
}

TEST_F(SettingsStoreTest, ReadIntClampsUnlessABoundIsMinusOne)
{
    ASSERT_TRUE(WriteWholeFile(besideExe_, ""));
    SettingsStore store;
    store.ResolvePath(kProduct);
    ASSERT_EQ(std::wstring(store.Path()), besideExe_);

    const struct
    {
        int stored, minimum, maximum, expected;
    } cases[] = {
        {0, 1, 10, 1},    {11, 1, 10, 10},    {5, 1, 10, 5},   {3, 10, 1, 10},
        {50, -1, 10, 50}, {-50, -1, 10, -50}, {50, 1, -1, 50}, {-50, 1, -1, -50},
    };
    for (const auto& c : cases)
    {
        store.WriteInt(L"Program", L"Time", c.stored, nullptr);
        EXPECT_EQ(ReadTime(store, c.minimum, c.maximum), c.expected)
            << c.stored << " in [" << c.minimum << ", " << c.maximum << "]";
    }
    // The default is clamped too when the key is missing.
    RemoveFile(besideExe_);
    EXPECT_EQ(store.ReadInt(L"Program", L"Time", 50, 1, 10), 10);
}

TEST_F(SettingsStoreTest, AnExplicitFileLeavesTheSettingsFileUntouched)
{
    const std::string before = "[Program]\r\nTime=3\r\n";
    ASSERT_TRUE(WriteWholeFile(besideExe_, before));
    SettingsStore store;
    store.ResolvePath(kProduct);
    ASSERT_EQ(std::wstring(store.Path()), besideExe_);

    store.WriteInt(L"Program", L"Time", 42, otherFile_.c_str());
    EXPECT_EQ(KeyLine(otherFile_, "Time"), "Time=42");
    EXPECT_EQ(ReadWholeFile(besideExe_), before);
    EXPECT_EQ(ReadTime(store), 3);

    // On the per-user path the settings file is not even created.
    RemoveFile(besideExe_);
    RemoveFile(otherFile_);
    store.ResolvePath(kProduct);
    ASSERT_EQ(std::wstring(store.Path()), userFile_);
    store.WriteInt(L"Program", L"Time", 43, otherFile_.c_str());
    EXPECT_EQ(KeyLine(otherFile_, "Time"), "Time=43");
    EXPECT_FALSE(IsFile(userFile_));
}
