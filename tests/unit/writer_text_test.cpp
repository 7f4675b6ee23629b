#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "writer_text.h"

// Every box of the writer, in both languages, texts exactly as the user reads them.
TEST(WriterMessages, TextCaptionAndIconByOutcomeAndLanguage)
{
    const struct
    {
        WriterOutcome outcome;
        int englishFlag;
        const wchar_t* text;
        const wchar_t* caption;
        bool error;
    } cases[] = {
        {WriterOutcome::MissingInput, 1,
         L"The Autologin cannot be configured without Password and / or Username!",
         L"Automatic Login", true},
        {WriterOutcome::MissingInput, 0,
         L"Das Autologin kann nicht ohne Passwort und / oder Benutzername konfiguriert werden!",
         L"Automatische Anmeldung", true},
        {WriterOutcome::Failed, 1, L"Autologin cannot be configured!", L"Automatic Login", true},
        {WriterOutcome::Failed, 0, L"Autologin kann nicht konfiguriert Werden!",
         L"Automatische Anmeldung", true},
        {WriterOutcome::SetDone, 1,
         L"Autologin configured successfully.\n\nThe autologin password is encrypted",
         L"Automatic Login", false},
        {WriterOutcome::SetDone, 0,
         L"Autologin erfolgreich konfiguriert.\n\nDas Autologin-Passwort ist verschl\u00fcsselt",
         L"Automatische Anmeldung", false},
        {WriterOutcome::RemoveDone, 1, L"Autologin was deactivated successfully!",
         L"Automatic Login", false},
        {WriterOutcome::RemoveDone, 0, L"Autologin wurde erfolgreich deaktiviert!",
         L"Automatische Anmeldung", false},
        {WriterOutcome::NotRestored, 1,
         L"Autologin cannot be configured, and the previous settings could not all be restored!",
         L"Automatic Login", true},
        {WriterOutcome::NotRestored, 0,
         L"Autologin kann nicht konfiguriert werden, und die vorherigen Einstellungen konnten "
         L"nicht alle wiederhergestellt werden!",
         L"Automatische Anmeldung", true},
    };
    for (const auto& c : cases)
    {
        const WriterMessage message = MessageFor(c.outcome, c.englishFlag);
        const int index = static_cast<int>(c.outcome);
        EXPECT_EQ(std::wstring(message.text), c.text) << index << "/" << c.englishFlag;
        EXPECT_EQ(std::wstring(message.caption), c.caption) << index << "/" << c.englishFlag;
        EXPECT_EQ(message.error, c.error) << index << "/" << c.englishFlag;
    }
}

TEST(SecretLengths, BytesWithoutAndWithTheTerminator)
{
    const struct
    {
        std::size_t characters;
        std::uint16_t length;
        std::uint16_t maximumLength;
    } cases[] = {
        {0, 0, 2}, {8, 16, 18}, {254, 508, 510}, {256, 512, 514}, {32766, 65532, 65534},
    };
    for (const auto& c : cases)
    {
        std::uint16_t length = 0xBEEF;
        std::uint16_t maximumLength = 0xBEEF;
        ASSERT_TRUE(SecretLengths(c.characters, length, maximumLength)) << c.characters;
        EXPECT_EQ(length, c.length) << c.characters;
        EXPECT_EQ(maximumLength, c.maximumLength) << c.characters;
    }
}

TEST(SecretLengths, TooLongForSixteenBitsIsRefusedAndLeavesTheOutputs)
{
    for (std::size_t characters : {std::size_t{32767}, std::size_t{40000}, std::size_t{1} << 20})
    {
        std::uint16_t length = 0xBEEF;
        std::uint16_t maximumLength = 0xBEEF;
        EXPECT_FALSE(SecretLengths(characters, length, maximumLength)) << characters;
        EXPECT_EQ(length, 0xBEEF) << characters;
        EXPECT_EQ(maximumLength, 0xBEEF) << characters;
    }
}
