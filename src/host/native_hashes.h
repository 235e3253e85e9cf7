// The game natives Ondrelle calls, by the role name the code uses for each.
// Arguments and results are described where each is called. The hook ends
// the game on a native it cannot find ("FATAL: Can't find native"), so each
// is one the game's own scripts call; the public name is given beside those
// the gates ask about.
#pragma once

#include <cstdint>

namespace native {

// Start-up and gating.
const uint64_t player_id_query = 0x217E9DC48139933DULL;
const uint64_t player_check = 0x7964097FCE4C244BULL;  // IS_PLAYER_CONTROL_ON
const uint64_t effect_check = 0x4A123E85D7C4CA0BULL;
const uint64_t texture_dict_check = 0x54D6900929CCF162ULL;
const uint64_t texture_dict_request = 0xC1BA29DF5631B0F8ULL;

// The gates the optional settings ask for: where the game hides its own HUD.
const uint64_t screen_faded_in_check = 0x37F9A426FBCF4AF2ULL;         // IS_SCREEN_FADED_IN
const uint64_t hud_hidden_check = 0x71B72B478F8189DCULL;              // IS_HUD_HIDDEN
const uint64_t radar_hidden_by_script_check = 0x66F35DD9D2B58579ULL;  // IS_RADAR_HIDDEN_BY_SCRIPT
const uint64_t pause_menu_check = 0x535384D6067BA42EULL;              // IS_PAUSE_MENU_ACTIVE
const uint64_t ui_app_check = 0x25B7A0206BDFAC76ULL;                  // IS_UIAPP_ACTIVE_BY_HASH
const uint64_t cinematic_camera_check = 0xBF7C780731AADBF8ULL;        // IS_CINEMATIC_CAM_RENDERING

// The toggle key: a press is not taken while the on-screen keyboard is typed in.
const uint64_t onscreen_keyboard_check = 0x37DF360F235A3893ULL;  // UPDATE_ONSCREEN_KEYBOARD

// The settings-error overlay.
const uint64_t text_scale = 0x4170B650590B3B00ULL;
const uint64_t text_colour = 0x50A41AD966910F03ULL;
const uint64_t text_centre = 0xBE5261939FBECB8CULL;
const uint64_t text_drop_shadow = 0x1BE39DBAA7263CA5ULL;
const uint64_t literal_text = 0xFA925AC00EB830B9ULL;
const uint64_t draw_text = 0xD79334A4BB99BAD1ULL;

// Target selection.
const uint64_t validity_check = 0xD42BD6EB2E0F1677ULL;
const uint64_t focus_query = 0x3EE1F7A8C32F24E1ULL;
const uint64_t lock_on_query = 0xAE663DDD99C8A670ULL;
const uint64_t ped_check = 0xCF8176912DDA4EA5ULL;
const uint64_t human_check = 0xB980061DA992779DULL;

// Marker animation, placement and drawing.
const uint64_t frame_time = 0x5E72022914CE3C38ULL;
const uint64_t entity_position = 0xA86D5F069399F44DULL;
const uint64_t bone_lookup = 0xBACA8FE9C76C124EULL;
const uint64_t bone_position = 0x82CFA50E34681CA5ULL;
const uint64_t entity_height = 0x1D491CCF7211FB74ULL;
const uint64_t world_to_screen = 0xCB50D7AFCC8B0EC6ULL;
const uint64_t screen_resolution = 0x66773C92835D0909ULL;
const uint64_t game_timer = 0x4F67E8ECA7D3F667ULL;
const uint64_t bounce_curve_inner = 0x0BADBFA3B172435FULL;
const uint64_t bounce_curve_outer = 0x134549B388167CBFULL;
const uint64_t draw_sprite = 0xC9884ECADE94CB34ULL;

}  // namespace native
