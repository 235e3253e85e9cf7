// ondrelle-demo: the real Ondrelle.asi at work, without the game. Loads it in a
// fresh game folder beside the stand-in hook and the shipped Ondrelle.ini,
// plays the preview's scene through it frame by frame, and prints what it drew.
// Runs under Wine; test code, never shipped.
#include <cstdio>

#include "config.h"
#include "scene.h"
#include "test_game.h"

// The configured marker size, read with the plug-in's own parser.
static float default_size() {
    FILE* stream = _wfopen((build_folder() + L"\\Ondrelle.ini").c_str(), L"r");
    if (stream == nullptr) return 0.0f;
    SettingsParse parse;
    parse_settings_stream(stream, &parse);
    std::fclose(stream);
    return parse.settings.size;
}

// Plays the scene in the game folder; false, with a word, when it cannot.
static bool play_scene(TestGame* game, const std::wstring& folder) {
    if (!write_bytes(folder + L"\\Ondrelle.ini", default_settings_bytes()) || !load_game(game, folder)) {
        std::printf("The demo could not set up its game folder.\n");
        return false;
    }
    scene_set_up(game->world());
    float size = default_size();
    static SceneFrame frames[kSceneFrameCount];
    for (int frame = 0; frame < kSceneFrameCount; ++frame) {
        scene_before_frame(game->world(), frame);
        if (!step_frame(game)) {
            std::printf("The plug-in registered no script.\n");
            return false;
        }
        frames[frame] = scene_read_frame(game->frame(), frame, size);
    }
    std::printf("Ondrelle.asi, loaded under Wine beside a stand-in ScriptHookRDR2.dll, with the default settings:\n\n");
    scene_print_table(frames, kSceneFrameCount, 15, stdout);
    unload_game(game);
    std::printf("\nLog of the run (Ondrelle.log):\n%s", read_bytes(folder + L"\\Ondrelle.log").c_str());
    return true;
}

int main() {
    TestGame game;
    std::wstring folder = make_game_folder(L"demo");
    bool played = play_scene(&game, folder);
    unload_game(&game);  // the files must be let go before the folder goes
    remove_folder(folder);
    return played ? 0 : 1;
}
