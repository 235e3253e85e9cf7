// The real Ondrelle.asi loaded in a game folder beside the stand-in hook:
// where its files go, that every load starts a fresh log, and that nothing
// about the log can keep the script from registering.
#include <gtest/gtest.h>

#include "test_game.h"

namespace {

struct LoadedGame : ::testing::Test {
    TestGame game;
    std::wstring folder;
    void TearDown() override {
        unload_game(&game);
        if (!folder.empty()) remove_folder(folder);
    }
    std::wstring in_folder(const wchar_t* name) const { return folder + L"\\" + name; }
    std::string log_text() const { return log_lines_without_times(read_bytes(in_folder(L"Ondrelle.log"))); }
};

TEST_F(LoadedGame, FilesFollowThePluginsFolderAndTheScriptRegistersOnce) {
    folder = make_game_folder(L"plain");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));
    EXPECT_EQ(game.hook_state()->register_calls, 1);
    EXPECT_EQ(game.hook_state()->registered_module, static_cast<void*>(game.plugin));
    ASSERT_TRUE(step_frame(&game));
    // The settings beside the plug-in were found and read.
    EXPECT_NE(log_text().find("Script started (script_main:"), std::string::npos);
    EXPECT_NE(log_text().find("Config file reloaded (config:"), std::string::npos);
}

TEST_F(LoadedGame, FolderWithCyrillicAndCjkCharactersWorks) {
    folder = make_game_folder(L"Игры-游戏");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));
    ASSERT_TRUE(step_frame(&game));
    EXPECT_NE(log_text().find("Config file reloaded"), std::string::npos);
}

TEST_F(LoadedGame, RenamedPluginStillUsesOndrelleFileNames) {
    folder = make_game_folder(L"renamed");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder, L"zz_marker.asi"));
    ASSERT_TRUE(step_frame(&game));
    EXPECT_NE(log_text().find("Config file reloaded"), std::string::npos);
    EXPECT_FALSE(file_exists(in_folder(L"zz_marker.log")));
}

TEST_F(LoadedGame, LeftoverLogIsEmptiedAndLetGoAtLoadBeforeAnythingElse) {
    folder = make_game_folder(L"leftover");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.log"), "12:00:00.000 an entry of the last run (config:1)\r\n"));
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));
    EXPECT_TRUE(file_exists(in_folder(L"Ondrelle.log")));
    EXPECT_EQ(read_bytes(in_folder(L"Ondrelle.log")), "");
    // The entry called no native and read no settings: that is the script's.
    EXPECT_EQ(game.frame()->call_count, 0);
    EXPECT_EQ(game.frame()->protocol_errors, 0);
    // Nor does it keep the log open: a player may move or delete it at once.
    ASSERT_TRUE(MoveFileW(in_folder(L"Ondrelle.log").c_str(), in_folder(L"moved.log").c_str())) << GetLastError();
    ASSERT_TRUE(DeleteFileW(in_folder(L"moved.log").c_str())) << GetLastError();
    ASSERT_TRUE(step_frame(&game));
    EXPECT_EQ(log_text().rfind("Script started (script_main:", 0), 0u);
    EXPECT_NE(log_text().find("Config file reloaded (config:"), std::string::npos);
}

TEST_F(LoadedGame, ReadOnlyLogStillLetsTheScriptRegisterAndRun) {
    folder = make_game_folder(L"readonly");
    const std::string old_log = "old entry\r\n";
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.log"), old_log));
    ASSERT_TRUE(SetFileAttributesW(in_folder(L"Ondrelle.log").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));
    EXPECT_EQ(game.hook_state()->register_calls, 1);
    ASSERT_TRUE(step_frame(&game));
    EXPECT_EQ(game.frame()->wait_count, 1);
    // Wine, run as root here, does not enforce the read-only attribute, so
    // whether the old entry survives is the system's; the next test makes
    // the log truly impossible to open.
}

TEST_F(LoadedGame, LogThatCannotBeOpenedAtAllChangesNothingElse) {
    folder = make_game_folder(L"unopenable");
    ASSERT_TRUE(CreateDirectoryW(in_folder(L"Ondrelle.log").c_str(), nullptr));
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));
    EXPECT_EQ(game.hook_state()->register_calls, 1);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(step_frame(&game));
    EXPECT_EQ(game.frame()->wait_count, 1);
    EXPECT_EQ(game.frame()->protocol_errors, 0);
    EXPECT_TRUE(GetFileAttributesW(in_folder(L"Ondrelle.log").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(LoadedGame, UnloadUnregistersWithTheSameModuleAndWritesNothing) {
    folder = make_game_folder(L"unload");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));
    ASSERT_TRUE(step_frame(&game));
    std::string log_before = read_bytes(in_folder(L"Ondrelle.log"));
    StandInHookState* hook = game.hook_state();
    FreeLibrary(game.plugin);
    game.plugin = nullptr;
    EXPECT_EQ(hook->unregister_calls, 1);
    EXPECT_EQ(hook->registered_script, nullptr);
    EXPECT_EQ(read_bytes(in_folder(L"Ondrelle.log")), log_before);
}

TEST_F(LoadedGame, ThreadNotificationsDoNothingAndReturnTrue) {
    folder = make_game_folder(L"threads");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));

    // The loader's own notifications: a thread started and ended while loaded.
    HANDLE thread = CreateThread(
        nullptr, 0, [](void*) -> DWORD { return 0; }, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);

    // And the entry point called directly with both thread codes.
    auto* base = reinterpret_cast<unsigned char*>(game.plugin);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    auto entry =
        reinterpret_cast<BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID)>(base + nt->OptionalHeader.AddressOfEntryPoint);
    EXPECT_EQ(entry(game.plugin, DLL_THREAD_ATTACH, nullptr), TRUE);
    EXPECT_EQ(entry(game.plugin, DLL_THREAD_DETACH, nullptr), TRUE);

    EXPECT_EQ(game.hook_state()->register_calls, 1);
    EXPECT_EQ(game.hook_state()->unregister_calls, 0);
    ASSERT_TRUE(step_frame(&game));
    EXPECT_NE(log_text().find("Config file reloaded"), std::string::npos);
}

TEST_F(LoadedGame, DirectoryTooLongForAPathWritesNoFileAnywhere) {
    // A folder path over 1024 characters: the plug-in keeps no paths, so the
    // log is written nowhere and the settings error shows on screen.
    folder = make_game_folder(L"long");
    std::wstring deep = L"\\\\?\\" + folder;
    std::wstring segment(200, L'd');
    for (int i = 0; i < 6; ++i) {
        deep += L"\\" + segment;
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << GetLastError();
    }
    ASSERT_GT(deep.size(), 1100u);
    ASSERT_TRUE(write_bytes(deep + L"\\Ondrelle.ini", default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, deep));
    EXPECT_EQ(game.hook_state()->register_calls, 1);
    ASSERT_TRUE(step_frame(&game));
    EXPECT_FALSE(file_exists(deep + L"\\Ondrelle.log"));
    EXPECT_FALSE(file_exists(folder + L"\\Ondrelle.log"));
    // Nothing to read the settings from: the overlay says so.
    const StandInFrame* frame = game.frame();
    bool overlay_shown = false;
    for (int i = 0; i < frame->call_count; ++i) {
        const char* text = stand_in_call_text(frame, &frame->calls[i], 2);
        if (text != nullptr && std::string(text) == "--- Ondrelle ---\nFailed to open config file")
            overlay_shown = true;
    }
    EXPECT_TRUE(overlay_shown);
}

}  // namespace
