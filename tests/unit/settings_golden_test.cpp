// Golden files: each settings file under tests/fixtures/settings goes through
// a first reload, and what the player would get (the log, the on-screen error
// text, the live settings) must read as its .expected file beside it. Set
// ONDRELLE_UPDATE_GOLDEN=1 to write the files afresh, then review the diff.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config.h"
#include "fake_platform.h"
#include "settings_text.h"
#include "test_files.h"

namespace {

const std::string kFixtures = std::string(ONDRELLE_SOURCE_DIR) + "/tests/fixtures/settings/";

std::vector<std::string> fixture_names() {
    std::vector<std::string> names;
    DIR* folder = opendir(kFixtures.c_str());
    if (folder == nullptr) return names;
    while (dirent* entry = readdir(folder)) {
        std::string name = entry->d_name;
        if (name.size() > 4 && name.substr(name.size() - 4) == ".ini") names.push_back(name.substr(0, name.size() - 4));
    }
    closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

std::string first_reload_of(const std::string& settings_file) {
    reset_fake_platform();
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    use_folder_for_paths(folder);
    write_file(folder + "/Ondrelle.ini", read_file(settings_file));
    config_error_text[0] = 0;
    Settings live{};
    FileTime last_check = 0, last_file = 0;
    load_settings_if_changed(live, last_check, last_file);
    Settings untouched{};
    bool replaced = std::memcmp(&live, &untouched, sizeof live) != 0;
    return "-- log\n" + log_without_times_and_lines(read_file(folder + "/Ondrelle.log")) + "-- error text\n" +
           config_error_text + "\n-- live settings\n" + (replaced ? describe_settings(live) : "unchanged\n");
}

TEST(SettingsGolden, EveryFixtureReadsAsExpected) {
    std::vector<std::string> names = fixture_names();
    ASSERT_GE(names.size(), 5u);
    bool update = std::getenv("ONDRELLE_UPDATE_GOLDEN") != nullptr;
    for (const std::string& name : names) {
        std::string actual = first_reload_of(kFixtures + name + ".ini");
        std::string expected_path = kFixtures + name + ".expected";
        if (update) write_file(expected_path, actual);
        EXPECT_EQ(actual, read_file(expected_path)) << "fixture " << name;
    }
}

}  // namespace
