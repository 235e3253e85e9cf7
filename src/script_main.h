// The marker script: the one script Ondrelle registers with the hook. Every
// game frame it reloads the settings if they changed, shows a pending settings
// error on screen, decides whether the marker may show, picks the entity to
// mark and draws the marker growing, shrinking and bouncing above it.
//
// run_script is what the hook runs; it never returns. The hook may start it
// again in the same loaded library, and then it starts afresh: everything it
// keeps lives in its own ScriptState. The pieces below are what it is made
// of, exposed so that a frame can be driven one at a time.
#pragma once

#include <cstdint>

#include "config.h"

// What the script writes to the log, named once: ondrelle-check recognises
// these lines by the same names. write_log formats.
constexpr char kLogScriptStarted[] = "Script started";
// The dictionary's name, then kTextureDictPatiencePasses.
constexpr char kLogTextureDictNotLoaded[] =
    "Texture dictionary \"%s\" has not loaded after %i frames; check texture_dict in Ondrelle.ini";
// A press of toggle_key taken: the key as toggle_key_text writes it ("CTRL+F7").
constexpr char kLogHiddenByToggleKey[] = "Marker hidden by toggle_key (%s)";
constexpr char kLogShownByToggleKey[] = "Marker shown by toggle_key (%s)";
// The settings name a toggle_key, but the hook has no keyboard functions.
constexpr char kLogNoKeyboardHandler[] = "toggle_key has no effect: this ScriptHookRDR2.dll has no keyboard handler";

// How many marker passes a texture dictionary may stay unloaded before the
// log names it: five seconds at 60 frames a second, far longer than the game
// needs to stream a dictionary that exists.
const int32_t kTextureDictPatiencePasses = 300;

// The watch over the marker's texture dictionary: a name the game never loads
// (a typo in texture_dict) is named in the log once, instead of leaving the
// player with no marker and no word anywhere.
struct TextureDictWatch {
    char texture_dict[kTextSettingCapacity];  // the value being watched
    int32_t passes_not_loaded;                // marker passes that found it not loaded
    bool settled;                             // it loaded, or it was named in the log
};

// Everything the script keeps from frame to frame.
struct ScriptState {
    Settings settings;                // the live settings
    FileTime last_check_time;         // when the settings file was last looked at
    uint64_t last_look_milliseconds;  // the monotonic count at that look; 0 before the first
    FileTime last_file_time;          // last-write time of the version last taken up
    int32_t player_id;                // read once at start
    int32_t kept_target;              // the entity the marker belongs to; 0 = none
    float visibility;                 // 0 = gone, 1 = full size
    // Height over width of the game window's client area, from the last
    // once-a-second look that found the window; 0 until one has. The game's
    // own resolution native answers 1280x720 whatever the screen, so the
    // marker would be square on 16:9 screens only.
    float window_aspect_ratio;
    TextureDictWatch texture_watch;
    // The player hid the marker with toggle_key: target selection goes on,
    // and the marker eases out as when focus is lost. Starts shown.
    bool hidden_by_player;
};

// What target selection hands to the marker's animation.
struct TargetChoice {
    float visibility_goal;  // 1 while something is in focus, else 0
    float visibility_rate;  // grow_speed or shrink_speed
};

// The script function registered with the hook: start-up, then one pass and
// one scriptWait(0) per frame, forever.
void run_script();

// Start-up: clears the state (the marker shown, the toggle key's handler
// disarmed until the settings are taken up), logs the start, empties the
// error text and reads the player's id.
void script_start(ScriptState* state);

// One pass of the loop without its final scriptWait(0): reload, then the
// error overlay or the gates, a press of toggle_key, target selection and the
// marker. Allocates nothing. Touches no file and makes no system call but the
// once-a-second look (the settings file's time, the game window's size), the
// one pass that names in the log a texture dictionary that never loaded, and
// a pass that takes a press of toggle_key, which logs it.
//
// The one thing a pass shares with another thread is the toggle key's link
// (toggle_key.h): the keyboard handler, on the game window's thread, may read
// the armed key and set the recorded press, both atomics, and touches nothing
// else of the script's, neither the settings nor this state. A pass reads the
// recorded press with one atomic load, so a press that comes while it runs is
// taken in the next pass, never half seen.
void script_pass(ScriptState* state);

// Updates kept_target from the host's focus and says whether the marker grows
// or shrinks. Per frame; allocates nothing.
TargetChoice select_target(int32_t player_id, const Settings& settings, int32_t* kept_target);

// Eases visibility toward the goal and, when it is above 0.01 and a target
// is kept (kept_target not 0), draws the marker above kept_target, its width
// corrected by window_aspect_ratio, or by the game's resolution native while
// that is 0. With no target kept it calls nothing but the frame time. Per
// frame; allocates nothing.
void animate_and_draw_marker(int32_t kept_target, TargetChoice choice, const Settings& settings,
                             float window_aspect_ratio, float* visibility);
