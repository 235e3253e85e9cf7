// The test host: a fresh temporary folder stands for the game folder; the
// stand-in ScriptHookRDR2.dll and the real Ondrelle.asi are copied into it and
// loaded as the game would, then the test steps frames, changes the world and
// the files between them, and unloads the plug-in. Windows only (runs under
// Wine); test code, never shipped.
#pragma once

#include <windows.h>

#include <string>

#include "world.h"

struct TestGame {
    std::wstring folder;  // the game folder, without a trailing backslash
    HMODULE hook = nullptr;
    HMODULE plugin = nullptr;
    StandInWorld* (*world)() = nullptr;
    StandInFrame* (*frame)() = nullptr;
    StandInHookState* (*hook_state)() = nullptr;
    int (*step)() = nullptr;
    void (*restart_script)() = nullptr;
    int (*key)(const StandInKeyMessage* key) = nullptr;
};

// Which build of the stand-in hook a game folder gets: the one with the
// keyboard functions, or the one from before them.
enum HookBuild { hook_with_keyboard, hook_without_keyboard };

// The build folder holding Ondrelle.asi (the test program's parent folder).
std::wstring build_folder();

// Makes a new empty folder in the temporary folder whose name ends in name.
std::wstring make_game_folder(const std::wstring& name);

// Deletes a folder and everything in it.
void remove_folder(const std::wstring& folder);

// Copies the stand-in hook (of the build asked for) and the plug-in (under
// plugin_name) into folder, loads the hook, resets its world, then loads the
// plug-in. Returns false, with a message on stderr, when any step fails.
bool load_game(TestGame* game, const std::wstring& folder, const std::wstring& plugin_name = L"Ondrelle.asi",
               HookBuild hook_build = hook_with_keyboard);

// The stand-in hook of a build, as built.
std::wstring stand_in_hook_path(HookBuild hook_build);

// Loads the plug-in already copied into the game folder again.
bool reload_plugin(TestGame* game, const std::wstring& plugin_name = L"Ondrelle.asi");

// Runs one frame: the script runs up to its next scriptWait. False when no
// script is registered.
bool step_frame(TestGame* game);

// Sends a key to the stand-in's game window between two frames, as a player
// presses it there: the key, the modifiers held (key_names.h's bits), and
// whether it is an auto-repeat or the release. Returns how many keyboard
// handlers the hook handed it to.
int send_key(TestGame* game, uint32_t virtual_key, int32_t modifiers = 0, bool auto_repeat = false,
             bool release = false);

// Starts the registered script again in the same loaded library, as the
// hook does when it recreates its script threads; the next step runs it
// from its start.
void restart_script(TestGame* game);

// Unloads the plug-in, then the hook.
void unload_game(TestGame* game);

// Points the loaded module's import of function from dll (its import
// address table's entry) at replacement, so that a test sees every call the
// module makes to it. Returns the function it called before; null, changing
// nothing, when the module imports no such function.
void* replace_import(HMODULE module, const char* dll, const char* function, void* replacement);

// A window of the test process standing for the game's, with the given
// client size (a borderless popup: its client area is the whole window).
// Null when no window can be made: Wine makes windows only on a display.
HWND open_game_window(int width, int height);

// Gives the window another client size; false when it cannot.
bool resize_game_window(HWND window, int width, int height);

// Why the window tests cannot run, for their failure message.
const char* const kNoDisplayForWindows =
    "no window can be made: Wine needs a display for windows; run the tests under xvfb-run -a, as scripts/test does";

// Whole-file bytes, exactly as on disk; empty when missing.
std::string read_bytes(const std::wstring& path);
bool write_bytes(const std::wstring& path, const std::string& bytes);
bool file_exists(const std::wstring& path);

// Sets a file's last-write time; seconds_from_now may be negative.
bool set_last_write_time(const std::wstring& path, long long seconds_from_now);

// The default settings file built beside the plug-in.
std::string default_settings_bytes();

// The log's text with CR LF turned into LF and time stamps cut off.
std::string log_lines_without_times(const std::string& log_bytes);
