// The main dialog's rules for chosen files, the registry reader, and the
// resources compiled from the one string table.
#include "app/file_rules.h"
#include "app/registry_value.h"
#include "framework/file_dialog.h"
#include "framework/text.h"
#include "res/string_table.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(FormatFromPath, FollowsTheLastThreeCharacters) {
    EXPECT_EQ(FormatFromPath(L"C:\\data\\book.vcf"), PhoneBookFormat::VCard);
    EXPECT_EQ(FormatFromPath(L"C:\\data\\book.VCF"), PhoneBookFormat::VCard);
    EXPECT_EQ(FormatFromPath(L"C:\\data\\book.csv"), PhoneBookFormat::Csv);
    EXPECT_EQ(FormatFromPath(L"C:\\data\\book.CSV"), PhoneBookFormat::Csv);
    EXPECT_EQ(FormatFromPath(L"book.Csv"), PhoneBookFormat::None);
    EXPECT_EQ(FormatFromPath(L"book.txt"), PhoneBookFormat::None);
    EXPECT_EQ(FormatFromPath(L"x.csv\\notes.txt"), PhoneBookFormat::None);
    EXPECT_EQ(FormatFromPath(L"sv"), PhoneBookFormat::None);
    EXPECT_EQ(AnnouncedName(PhoneBookFormat::Csv), "backup.csv");
    EXPECT_EQ(AnnouncedName(PhoneBookFormat::VCard), "backup.vcf");
}

TEST(LowerCasePath, LowersEveryScriptAndKeepsJapanese) {
    EXPECT_EQ(LowerCasePath(L"C:\\Data\\BOOK.VCF"), L"c:\\data\\book.vcf");
    EXPECT_EQ(LowerCasePath(L"C:\\ÄÖ\\電話帳.CSV"), L"c:\\äö\\電話帳.csv");
    EXPECT_EQ(LowerCasePath(L""), L"");
}

TEST(PathContains, SearchesTheWholePath) {
    EXPECT_TRUE(PathContains(L"c:\\a.zip.old\\image.bin", L".zip"));
    EXPECT_FALSE(PathContains(L"c:\\fw\\image.bin", L".zip"));
}

TEST(FileDialogFilter, BarsBecomeNuls) {
    const std::wstring filter = ui::FilterForDialog(L"Software Package(*.zip)|*.zip|");
    EXPECT_EQ(filter, std::wstring(L"Software Package(*.zip)\0*.zip\0\0", 31));
}

// A scratch key under HKCU with values of every interesting type.
class RegistryValueTest : public ::testing::Test {
protected:
    static constexpr const wchar_t* kKey = L"Software\\TarvoManagerTest";
    void SetUp() override {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &m_key, nullptr);
    }
    void TearDown() override {
        RegCloseKey(m_key);
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    }
    void Set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        RegSetValueExW(m_key, name, 0, type, static_cast<const BYTE*>(data), size);
    }
    int Query(const wchar_t* name, std::wstring& text) {
        return RegistryValue(HKEY_CURRENT_USER).QueryString(kKey, name, text);
    }
    HKEY m_key = nullptr;
};

TEST_F(RegistryValueTest, TextTypesAreReadVerbatim) {
    Set(L"sz", REG_SZ, L"COM7", 10);
    Set(L"expand", REG_EXPAND_SZ, L"%TEMP%\\x", 18);
    Set(L"empty", REG_SZ, L"", 2);
    Set(L"embedded", REG_SZ, L"COM3\0junk", 20);
    std::wstring text;
    EXPECT_EQ(Query(L"sz", text), 1);
    EXPECT_EQ(text, L"COM7");
    EXPECT_EQ(Query(L"expand", text), 1);
    EXPECT_EQ(text, L"%TEMP%\\x");
    EXPECT_EQ(Query(L"embedded", text), 1);
    EXPECT_EQ(text, L"COM3");
    EXPECT_EQ(Query(L"empty", text), 1);
    EXPECT_EQ(text, L"");
}

TEST_F(RegistryValueTest, OtherTypesAndMissingValuesLeaveTheOutput) {
    const DWORD number = 7;
    Set(L"dword", REG_DWORD, &number, sizeof number);
    Set(L"binary", REG_BINARY, "COM9", 4);
    std::wstring text = L"COM4";
    EXPECT_EQ(Query(L"dword", text), 0);
    EXPECT_EQ(Query(L"binary", text), 0);
    EXPECT_EQ(Query(L"missing", text), 0);
    EXPECT_EQ(RegistryValue(HKEY_CURRENT_USER).QueryString(L"Software\\NoSuchKeyHere", L"x", text), 0);
    EXPECT_EQ(text, L"COM4");
}

TEST(RegistryValueBuffer, UnterminatedTextEndsWithTheData) {
    RegistryValueBuffer buffer;
    buffer.type = REG_LINK;
    const wchar_t link[] = {L'C', L'O', L'M', L'5'};
    buffer.data.assign(reinterpret_cast<const BYTE*>(link), reinterpret_cast<const BYTE*>(link + 4));
    std::wstring text;
    EXPECT_TRUE(buffer.ToText(text));
    EXPECT_EQ(text, L"COM5");
}

// Every string of the table reaches both resource languages unchanged:
// line breaks, leading and trailing blanks, Japanese text.
TEST(Resources, StringTableMatchesTheOneSource) {
    int checked = 0;
    for (int id = 101; id <= 129; ++id) {
        const std::string english = LoadText(id, Language::English);
        if (english.empty()) continue;
        ++checked;
        EXPECT_EQ(ui::LoadTextIn(UINT(id), 0x0409), ui::Utf8ToWide(english)) << "string " << id;
        EXPECT_EQ(ui::LoadTextIn(UINT(id), 0x0411),
                  ui::Utf8ToWide(LoadText(id, Language::Japanese)))
            << "string " << id;
    }
    EXPECT_EQ(checked, 27);
    EXPECT_EQ(ui::LoadTextIn(114, 0x0409).find(L'\n'), 22u);
}

}  // namespace
}  // namespace tarvo
