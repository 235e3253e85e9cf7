// Where the log and settings file go, derived from the plug-in's file name,
// and the bounded copies that keep every path inside its buffer.
#include <gtest/gtest.h>

#include <string>

#include "common/bounded_text.h"
#include "host/module_paths.h"

static std::wstring paths_for(const std::wstring& module_file_name) {
    derive_module_paths(module_file_name.c_str());
    return std::wstring(log_path) + L"|" + config_path;
}

TEST(ModulePaths, BothFilesLieBesideThePluginWhateverItsName) {
    EXPECT_EQ(paths_for(L"C:\\Games\\Host\\plugins\\x.dll"),
              L"C:\\Games\\Host\\plugins\\Ondrelle.log|C:\\Games\\Host\\plugins\\Ondrelle.ini");
    EXPECT_EQ(paths_for(L"C:\\Games\\Host\\Renamed.asi"),
              L"C:\\Games\\Host\\Ondrelle.log|C:\\Games\\Host\\Ondrelle.ini");
}

TEST(ModulePaths, OnlyTheBackslashSeparates) {
    EXPECT_EQ(paths_for(L"C:\\Games\\a/b.asi"), L"C:\\Games\\Ondrelle.log|C:\\Games\\Ondrelle.ini");
}

TEST(ModulePaths, WideCharactersPassUnchanged) {
    EXPECT_EQ(paths_for(L"D:\\Игры\\游戏\\Ondrelle.asi"), L"D:\\Игры\\游戏\\Ondrelle.log|D:\\Игры\\游戏\\Ondrelle.ini");
}

TEST(ModulePaths, NameEndingInBackslashKeepsItsWholeDirectory) {
    EXPECT_EQ(paths_for(L"C:\\Games\\"), L"C:\\Games\\Ondrelle.log|C:\\Games\\Ondrelle.ini");
}

TEST(ModulePaths, NoBackslashOrNoNameGivesNoPathsAtAll) {
    EXPECT_FALSE(derive_module_paths(L"Ondrelle.asi"));
    EXPECT_EQ(paths_for(L"Ondrelle.asi"), L"|");
    EXPECT_EQ(paths_for(L""), L"|");
}

TEST(ModulePaths, DirectoryTooLongForAFullPathLeavesBothEmpty) {
    // "Ondrelle.log" is 12 characters: a directory of 1011 fits exactly with
    // the terminator in 1024; one more does not.
    std::wstring fits = L"C:\\" + std::wstring(1007, L'a') + L"\\";
    ASSERT_EQ(fits.size(), 1011u);
    EXPECT_TRUE(derive_module_paths((fits + L"x.asi").c_str()));
    EXPECT_EQ(std::wstring(log_path).size(), 1023u);

    std::wstring too_long = L"C:\\" + std::wstring(1008, L'a') + L"\\";
    EXPECT_FALSE(derive_module_paths((too_long + L"x.asi").c_str()));
    EXPECT_EQ(paths_for(too_long + L"x.asi"), L"|");
}

TEST(ModulePaths, NameLongerThanTheLoaderBufferGivesNoPaths) {
    std::wstring huge = L"C:\\" + std::wstring(3000, L'a') + L"\\x.asi";
    EXPECT_FALSE(derive_module_paths(huge.c_str()));
    EXPECT_EQ(log_path[0], 0);
}

TEST(ModulePaths, LoaderNameIsTakenOnlyWhenGivenWhole) {
    // The loader's buffer: a name of 2047 characters with its terminator fills it.
    std::wstring longest = L"C:\\Games\\" + std::wstring(kModuleFileNameCapacity - 1 - 9, L'x');
    ASSERT_EQ(longest.size(), kModuleFileNameCapacity - 1);
    const struct {
        const wchar_t* what;
        unsigned long reported_length;
        bool derived;
    } cases[] = {
        {L"the whole name", kModuleFileNameCapacity - 1, true},
        {L"no name (length 0)", 0, false},
        {L"a name cut at the buffer's end", kModuleFileNameCapacity, false},
    };
    for (const auto& c : cases) {
        derive_module_paths(L"C:\\Before\\x.asi");
        EXPECT_EQ(derive_module_paths_from_loader(longest.c_str(), c.reported_length), c.derived) << c.what;
        EXPECT_EQ(std::wstring(config_path), c.derived ? L"C:\\Games\\Ondrelle.ini" : L"") << c.what;
    }
}

TEST(BoundedText, CopyAlwaysTerminatesAndSaysWhetherItFitted) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_TRUE(copy_text(buffer, sizeof buffer, "abc"));
    EXPECT_STREQ(buffer, "abc");
    EXPECT_FALSE(copy_text(buffer, sizeof buffer, "abcd"));
    EXPECT_STREQ(buffer, "abc");
    EXPECT_FALSE(copy_text(buffer, 0, "a"));
}

TEST(BoundedText, AppendStaysWithinCapacity) {
    char empty[4] = "";
    EXPECT_TRUE(append_text(empty, sizeof empty, "abc"));
    EXPECT_STREQ(empty, "abc");
    char buffer[6] = "ab";
    EXPECT_TRUE(append_text(buffer, sizeof buffer, "cd"));
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_FALSE(append_text(buffer, sizeof buffer, "efg"));
    EXPECT_STREQ(buffer, "abcde");
    char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_FALSE(append_text(unterminated, sizeof unterminated, "d"));
    EXPECT_EQ(unterminated[2], 'c');
}
