// The built plug-in and the checker carry the project's version as a Windows
// version resource, read back here as Windows reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_game.h"

namespace {

TEST(VersionResource, MatchesTheProjectVersion) {
    const struct {
        const wchar_t* path;  // from the build folder
        const wchar_t* original_name;
        DWORD file_type;
    } files[] = {
        {L"\\Ondrelle.asi", L"Ondrelle.asi", VFT_DLL},
        {L"\\tools\\ondrelle-check.exe", L"ondrelle-check.exe", VFT_APP},
    };
    for (const auto& file : files) {
        std::wstring path = build_folder() + file.path;
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource";
        std::vector<char> data(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        char numbers[64];
        std::snprintf(numbers, sizeof numbers, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                      LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS));
        EXPECT_EQ(std::string(numbers), ONDRELLE_VERSION);
        EXPECT_EQ(fixed->dwFileType, file.file_type);

        for (const wchar_t* key :
             {L"\\StringFileInfo\\040904B0\\ProductVersion", L"\\StringFileInfo\\040904B0\\FileVersion"}) {
            wchar_t* text = nullptr;
            ASSERT_TRUE(VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&text), &length));
            std::wstring wide(text);
            EXPECT_EQ(std::string(wide.begin(), wide.end()), ONDRELLE_VERSION);
        }
        wchar_t* name = nullptr;
        ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\OriginalFilename",
                                   reinterpret_cast<void**>(&name), &length));
        EXPECT_EQ(std::wstring(name), file.original_name);
    }
}

}  // namespace
