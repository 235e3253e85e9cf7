// The real Ondrelle.asi loaded in a game folder beside the stand-in hook:
// where its files go, that every load starts a fresh log, that nothing about
// the log can keep the script from registering, and that each load pairs its
// keyboard handler's registering and withdrawal, or runs without one where
// the hook has no keyboard functions.
#include <gtest/gtest.h>

#include <string>

#include "host/native_hashes.h"
#include "stand_in_driver.h"
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

// The module a handler's code lies in.
HMODULE module_of(KeyboardHandler handler) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(handler), &module);
    return module;
}

// The keyboard handler: registered once at load, after the script, and of the
// plug-in's own code; withdrawn at unload before the script, leaving the hook
// none of it.
TEST_F(LoadedGame, KeyboardHandlerIsRegisteredOnceAfterTheScriptAndWithdrawnBeforeIt) {
    folder = make_game_folder(L"keyboard");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));
    StandInHookState* hook = game.hook_state();
    EXPECT_EQ(hook->keyboard_register_calls, 1);
    ASSERT_EQ(hook->keyboard_handler_count, 1);
    EXPECT_GT(hook->keyboard_registered_at, hook->script_registered_at);
    EXPECT_EQ(module_of(hook->keyboard_handlers[0]), game.plugin);
    ASSERT_TRUE(step_frame(&game));
    EXPECT_EQ(send_key(&game, 0x76), 1);
    ASSERT_TRUE(step_frame(&game));
    EXPECT_EQ(hook->keyboard_register_calls, 1);
    FreeLibrary(game.plugin);
    game.plugin = nullptr;
    EXPECT_EQ(hook->keyboard_unregister_calls, 1);
    EXPECT_EQ(hook->keyboard_handler_count, 0);
    EXPECT_LT(hook->keyboard_unregistered_at, hook->script_unregistered_at);
}

// The hook's developer mode unloads plug-ins and loads them again (Ctrl+R),
// and a player may have two copies side by side: each load registers its own
// handler once and withdraws that one. The stand-in hook ends the process on
// a pairing gone wrong, as the real one ends the game, so a slip ends the
// test too.
TEST_F(LoadedGame, EveryLoadPairsItsOwnRegisteringAndWithdrawal) {
    folder = make_game_folder(L"reloads");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    ASSERT_TRUE(load_game(&game, folder));
    StandInHookState* hook = game.hook_state();
    for (int load = 2; load <= 4; ++load) {
        ASSERT_TRUE(step_frame(&game));
        FreeLibrary(game.plugin);
        game.plugin = nullptr;
        EXPECT_EQ(hook->keyboard_handler_count, 0);
        ASSERT_TRUE(reload_plugin(&game));
        EXPECT_EQ(hook->keyboard_register_calls, load);
        EXPECT_EQ(hook->keyboard_unregister_calls, load - 1);
        ASSERT_EQ(hook->keyboard_handler_count, 1);
        EXPECT_EQ(module_of(hook->keyboard_handlers[0]), game.plugin);
    }
    ASSERT_TRUE(CopyFileW(in_folder(L"Ondrelle.asi").c_str(), in_folder(L"Ondrelle (2).asi").c_str(), FALSE));
    HMODULE second = LoadLibraryW(in_folder(L"Ondrelle (2).asi").c_str());
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(hook->keyboard_handler_count, 2);
    EXPECT_EQ(module_of(hook->keyboard_handlers[1]), second);
    EXPECT_EQ(send_key(&game, 0x76), 2);
    FreeLibrary(second);
    ASSERT_EQ(hook->keyboard_handler_count, 1);
    EXPECT_EQ(module_of(hook->keyboard_handlers[0]), game.plugin);
}

// Two hooks in the process: one with the keyboard functions loaded first from
// elsewhere, and the one beside the plug-in without them. Windows' loader
// binds the plug-in's imports to the module of that name already loaded, so
// its script goes to the first; the handler must go there too, where a hook
// found by its place beside the plug-in would have none to take it.
TEST_F(LoadedGame, TheHandlerGoesToTheHookTheScriptWentTo) {
    folder = make_game_folder(L"two-hooks");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), default_settings_bytes()));
    HMODULE elsewhere = LoadLibraryW(stand_in_hook_path(hook_with_keyboard).c_str());
    ASSERT_NE(elsewhere, nullptr);
    auto elsewhere_state = reinterpret_cast<StandInHookState* (*)()>(
        reinterpret_cast<void*>(GetProcAddress(elsewhere, "stand_in_driver_hook")));
    ASSERT_NE(elsewhere_state, nullptr);
    ASSERT_TRUE(load_game(&game, folder, L"Ondrelle.asi", hook_without_keyboard));
    ASSERT_NE(game.hook, elsewhere);
    const StandInHookState* other = elsewhere_state();
    ASSERT_EQ(other->register_calls, 1) << "the script went to the hook beside the plug-in: this tells nothing";
    EXPECT_EQ(game.hook_state()->register_calls, 0);
    EXPECT_EQ(other->keyboard_register_calls, 1);
    EXPECT_EQ(other->keyboard_handler_count, 1);
    unload_game(&game);
    EXPECT_EQ(other->keyboard_handler_count, 0);
    FreeLibrary(elsewhere);
}

// A hook from before the keyboard functions loads the plug-in all the same
// (they are not imported): the script runs and draws, keys reach no handler,
// and the first reload that names a toggle_key says once that it has no
// effect; the script started again does not say it again.
TEST_F(LoadedGame, AHookWithoutKeyboardFunctionsStillRunsThePluginAndSaysSoOnce) {
    folder = make_game_folder(L"old-hook");
    std::string settings = default_settings_bytes();
    settings.replace(settings.find("\ntoggle_key = none"), 18, "\ntoggle_key = F7");
    ASSERT_TRUE(write_bytes(in_folder(L"Ondrelle.ini"), settings));
    ASSERT_TRUE(load_game(&game, folder, L"Ondrelle.asi", hook_without_keyboard));
    ASSERT_EQ(GetProcAddress(game.hook, kKeyboardHandlerRegisterName), nullptr);
    ASSERT_EQ(GetProcAddress(game.hook, kKeyboardHandlerUnregisterName), nullptr);
    StandInHookState* hook = game.hook_state();
    EXPECT_EQ(hook->register_calls, 1);
    StandInEntity* human = stand_in_add_entity(game.world(), 501, stand_in_human, 3.0f, 4.0f, 5.0f);
    stand_in_add_bone(human, "skel_head", 31086, 3.0f, 4.0f, 6.5f);
    game.world()->focus_target = 501;
    const std::string no_effect = "toggle_key has no effect: this ScriptHookRDR2.dll has no keyboard handler";
    for (int frame = 0; frame < 10; ++frame) ASSERT_TRUE(step_frame(&game));
    EXPECT_EQ(send_key(&game, 0x76), 0);
    ASSERT_TRUE(step_frame(&game));
    bool drawn = false;
    for (int i = 0; i < game.frame()->call_count; ++i)
        drawn = drawn || game.frame()->calls[i].hash == native::draw_sprite;
    EXPECT_TRUE(drawn);
    EXPECT_EQ(game.frame()->unknown_natives, 0);
    std::string entries = log_text();
    EXPECT_NE(entries.find("\nConfig file reloaded (config:"), std::string::npos) << entries;
    EXPECT_NE(entries.find("\n" + no_effect + " (script_main:"), std::string::npos) << entries;
    restart_script(&game);
    ASSERT_TRUE(step_frame(&game));
    entries = log_text();
    auto times = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = entries.find(text); at != std::string::npos; at = entries.find(text, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(times("Script started"), 2u) << entries;
    EXPECT_EQ(times("Config file reloaded"), 2u) << entries;
    EXPECT_EQ(times(no_effect), 1u) << entries;
    FreeLibrary(game.plugin);
    game.plugin = nullptr;
    EXPECT_EQ(hook->unregister_calls, 1);
    EXPECT_EQ(hook->keyboard_register_calls + hook->keyboard_unregister_calls, 0);
}

// The stand-in hook itself ends the process with a FATAL line, in its log
// and on the standard error, on a handler registered twice and on one
// withdrawn that it does not know, as the real hook ends the game: what lets
// the tests above fail on a pairing gone wrong.
TEST(StandInHook, EndsTheProcessOnAHandlerRegisteredTwiceOrWithdrawnUnknown) {
    const std::wstring hook_path = stand_in_hook_path(hook_with_keyboard);
    const std::wstring hook_log = hook_path.substr(0, hook_path.rfind(L'\\')) + L"\\ScriptHookRDR2.log";
    // Each death test runs this body again in a process of its own, up to its
    // own statement: the log is read, and taken away, after each.
    auto logged_and_taken_away = [&] {
        std::string logged = read_bytes(hook_log);
        DeleteFileW(hook_log.c_str());
        return logged;
    };
    logged_and_taken_away();
    auto keyboard_function = [&](const char* name) {
        HMODULE hook = LoadLibraryW(hook_path.c_str());
        return reinterpret_cast<KeyboardHandlerFunction>(reinterpret_cast<void*>(GetProcAddress(hook, name)));
    };
    KeyboardHandler handler = [](uint32_t, uint16_t, uint8_t, int32_t, int32_t, int32_t, int32_t) {};
    const char kTwice[] = "FATAL: Can't register keyboard handler, it is already registered";
    const char kUnknown[] = "FATAL: Can't unregister keyboard handler, it is not registered";

    EXPECT_EXIT(
        {
            keyboard_function(kKeyboardHandlerRegisterName)(handler);
            keyboard_function(kKeyboardHandlerRegisterName)(handler);
        },
        ::testing::ExitedWithCode(kStandInFatalExitCode), kTwice);
    std::string logged = logged_and_taken_away();
    EXPECT_NE(logged.find(std::string("] ") + kTwice + "\r\n"), std::string::npos) << logged;

    EXPECT_EXIT(keyboard_function(kKeyboardHandlerUnregisterName)(handler),
                ::testing::ExitedWithCode(kStandInFatalExitCode), kUnknown);
    logged = logged_and_taken_away();
    EXPECT_NE(logged.find(std::string("] ") + kUnknown + "\r\n"), std::string::npos) << logged;
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
