// Who may change a folder or a file: judged from security descriptors that Windows builds
// itself from SDDL, and read from the file system through the real calls.
#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

#include "folder_rights.h"

namespace
{
// A descriptor from SDDL, with TI standing for TrustedInstaller; LocalFree it.
PSECURITY_DESCRIPTOR Descriptor(std::wstring sddl)
{
    for (std::size_t at = 0; (at = sddl.find(L"TI", at)) != std::wstring::npos;)
        sddl.replace(at, 2, L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464");
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                     &descriptor, nullptr))
        << GetLastError();
    return descriptor;
}
} // namespace

TEST(FolderRights, OthersMayWriteWhereTheyOwnItOrAnEntryLetsThem)
{
    const struct
    {
        const wchar_t* sddl;
        bool writable;
    } cases[] = {
        // Program Files: TrustedInstaller, SYSTEM and administrators change it, users read.
        {L"O:TID:PAI(A;;FA;;;TI)(A;OICIIO;GA;;;TI)(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)"
         L"(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GA;;;CO)",
         false},
        {L"O:SYD:(A;;FA;;;SY)(A;;FA;;;BA)(A;OICIIO;FA;;;BU)", false}, // inherit-only
        {L"O:BAD:(A;;FA;;;BA)(D;;FA;;;BU)(A;;FRFX;;;WD)", false},
        {L"O:BUD:(A;;FA;;;BA)", true}, // an owner may always rewrite the list
        {L"O:S-1-5-21-1-2-3-1001D:(A;;FA;;;BA)", true},
        {L"O:BAD:(A;;0x2;;;BU)", true}, // write data, or add a file
        {L"O:BAD:(A;;0x4;;;AU)", true}, // append, or add a folder
        {L"O:BAD:(A;;SD;;;WD)", true},
        {L"O:BAD:(A;;WD;;;BU)", true},
        {L"O:BAD:(A;;WO;;;BU)", true},
        {L"O:BAD:(A;;GW;;;BU)", true},
        {L"O:BAD:(A;;GA;;;S-1-5-21-1-2-3-1001)", true},
    };
    for (const auto& c : cases)
    {
        PSECURITY_DESCRIPTOR descriptor = Descriptor(c.sddl);
        EXPECT_EQ(SecurityLetsOthersWrite(descriptor), c.writable) << c.sddl;
        LocalFree(descriptor);
    }
    // No list at all, as on a FAT drive, lets everyone in. Made by hand: Wine makes an empty
    // list of "D:NO_ACCESS_CONTROL", which lets nobody in.
    SECURITY_DESCRIPTOR open = {};
    BYTE administrators[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof administrators;
    ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION) &&
                CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
                SetSecurityDescriptorOwner(&open, administrators, FALSE) &&
                SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE));
    EXPECT_TRUE(SecurityLetsOthersWrite(&open));

    wchar_t missing[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, missing);
    bool writable = true;
    EXPECT_EQ(OthersMayWrite(wcscat(missing, L"tarvelin-missing"), writable),
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(writable) << "left untouched";
}

// Wine keeps no security descriptor for a file: it makes one up from the Unix mode bits, owned
// by the user who runs Wine, with full access for SYSTEM and that user and read access for
// Everyone (write as well where the mode lets the world write); SetNamedSecurityInfoW succeeds
// and keeps only what mode bits can hold. So under Wine every file is writable by others.
TEST(FolderRightsWineOnly, EveryFileBelongsToTheUserWhoRunsWine)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    ASSERT_TRUE(CreateDirectoryW(wcscat(folder, L"tarvelin-rights"), nullptr));
    PSECURITY_DESCRIPTOR wanted = Descriptor(L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
    BOOL present = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(wanted, &present, &dacl, &present);
    EXPECT_EQ(SetNamedSecurityInfoW(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                    nullptr, dacl, nullptr),
              static_cast<DWORD>(ERROR_SUCCESS));
    LocalFree(wanted);
    bool writable = false;
    EXPECT_EQ(OthersMayWrite(folder, writable), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(writable) << "owned by the user who runs Wine, whatever was set";
    RemoveDirectoryW(folder);
}
