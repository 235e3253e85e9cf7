// Settings as text for tests.
#include "settings_text.h"

#include "key_names.h"
#include "platform/platform_posix.h"

#include <cstdio>
#include <sstream>

static std::string key(int32_t toggle_key) {
    char text[kToggleKeyTextCapacity];
    toggle_key_text(toggle_key, text, sizeof text);
    return text;
}

static std::string number(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string describe_settings(const Settings& s) {
    std::ostringstream out;
    out << "mark_humans = " << s.mark_humans << "\n"
        << "mark_animals = " << s.mark_animals << "\n"
        << "mark_objects = " << s.mark_objects << "\n"
        << "mark_enemies_in_lock_on_mode = " << s.mark_enemies_in_lock_on_mode << "\n"
        << "show_during_dead_eye = " << s.show_during_dead_eye << "\n"
        << "show_in_binoculars = " << s.show_in_binoculars << "\n"
        << "size = " << number(s.size) << "\n"
        << "rotation = " << number(s.rotation) << "\n"
        << "opacity = " << s.opacity << "\n"
        << "grow_speed = " << number(s.grow_speed) << "\n"
        << "shrink_speed = " << number(s.shrink_speed) << "\n"
        << "bounce_distance = " << number(s.bounce_distance) << "\n"
        << "bounce_speed = " << number(s.bounce_speed) << "\n"
        << "texture_dict = " << s.texture_dict << "\n"
        << "texture_name = " << s.texture_name << "\n"
        << "ped_bone = " << s.ped_bone << "\n"
        << "ped_bone_offset_z = " << number(s.ped_bone_offset_z) << "\n"
        << "object_offset_z = " << number(s.object_offset_z) << "\n"
        << "show_with_hud_hidden = " << s.show_with_hud_hidden << "\n"
        << "show_in_menus = " << s.show_in_menus << "\n"
        << "show_in_cinematic_camera = " << s.show_in_cinematic_camera << "\n"
        << "show_during_eagle_eye = " << s.show_during_eagle_eye << "\n"
        << "show_in_sniper_scope = " << s.show_in_sniper_scope << "\n"
        << "toggle_key = " << key(s.toggle_key) << "\n";
    return out.str();
}

SettingsParse parse_settings_text(const std::string& bytes) {
    SettingsParse parse;
    std::string text = as_read_in_windows_text_mode(bytes);
    // An empty buffer cannot back a memory stream; /dev/null reads as empty.
    FILE* stream =
        text.empty() ? std::fopen("/dev/null", "r") : fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    parse_settings_stream(stream, &parse);
    std::fclose(stream);
    return parse;
}

static const char* const kCompleteLines[][2] = {
    {"mark_humans", "yes"},
    {"mark_animals", "no"},
    {"mark_objects", "yes"},
    {"mark_enemies_in_lock_on_mode", "no"},
    {"show_during_dead_eye", "yes"},
    {"show_in_binoculars", "no"},
    {"size", "0.05"},
    {"rotation", "45"},
    {"opacity", "200"},
    {"grow_speed", "6"},
    {"shrink_speed", "9"},
    {"bounce_distance", "0.01"},
    {"bounce_speed", "0.25"},
    {"texture_dict", "generic_textures"},
    {"texture_name", "star"},
    {"ped_bone", "skel_head"},
    {"ped_bone_offset_z", "0.4"},
    {"object_offset_z", "1.5"},
};

static std::string file_of(const std::string& skipped_key, const std::string& changed_key, const std::string& value) {
    std::string file;
    for (const auto& line : kCompleteLines) {
        if (skipped_key == line[0]) continue;
        file += std::string(line[0]) + " = " + (changed_key == line[0] ? value : line[1]) + "\n";
    }
    return file;
}

std::string complete_settings_file() { return file_of("", "", ""); }
std::string settings_file_without(const std::string& key) { return file_of(key, "", ""); }
std::string settings_file_with(const std::string& key, const std::string& value) { return file_of("", key, value); }
