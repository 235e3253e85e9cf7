// The ASI loaders of a game folder; see loaders.h.
#include "loaders.h"

#include "file_version.h"
#include "plain_text.h"
#include "tool_platform.h"

namespace {

// clang-format off
const LoaderKnown kLoadersKnown[] = {
    // Its readme: the game's folder, scripts and plugins; its maintainer said
    // in 2025 that it writes no log in this game.
    {loader_ultimate,    "Ultimate ASI Loader",                            true,  {"scripts", "plugins"}, false},
    {loader_of_the_hook, "the ASI loader that comes with ScriptHookRDR2", true,  {"asi"},                true},
    {loader_unknown,     "an ASI loader of a kind not known",              false, {},                     false},
    {no_loader_windows,  "Windows' own library",                           true,  {},                     false},
};
// clang-format on

bool holds_any_case(const std::string& text, const char* part) {
    return lower_case(text).find(lower_case(part)) != std::string::npos;
}

// Whether the bytes name .asi files, as a loader does: in plain text or in
// UTF-16, as Windows' own names are.
bool names_asi_files(const std::string& bytes) {
    static const std::string kAsiPatterns[] = {".asi", ".ASI", std::string(".\0a\0s\0i\0", 8),
                                               std::string(".\0A\0S\0I\0", 8)};
    for (const std::string& pattern : kAsiPatterns) {
        if (bytes.find(pattern) != std::string::npos) return true;
    }
    return false;
}

bool is_ultimate(const std::string& bytes) {
    for (const char* key : {"FileDescription", "ProductName"}) {
        if (holds_any_case(pe_file_string(bytes, key), "Ultimate ASI Loader")) return true;
    }
    // What other tools that recognise it look for in its bytes.
    return bytes.find("ThirteenAG") != std::string::npos || bytes.find("Ultimate-ASI-Loader") != std::string::npos;
}

bool is_windows_own(const std::string& bytes) {
    return holds_any_case(pe_file_string(bytes, "CompanyName"), "Microsoft") ||
           holds_any_case(pe_file_string(bytes, "ProductName"), "Microsoft");
}

bool is_loader_name(const std::string& name) {
    for (const char* loader_name : kLoaderNames) {
        if (lower_case(name) == loader_name) return true;
    }
    return false;
}

}  // namespace

const std::vector<const char*> kLoaderNames = {"dinput8.dll", "version.dll", "winmm.dll", "dsound.dll", "wininet.dll"};

const LoaderKnown& loader_known(LoaderKind kind) {
    for (const LoaderKnown& known : kLoadersKnown) {
        if (known.kind == kind) return known;
    }
    return kLoadersKnown[2];
}

std::vector<LoaderSeen> look_for_loaders(const std::string& folder) {
    std::vector<LoaderSeen> loaders;
    for (const std::string& name : entries_of(folder)) {
        std::string lower = lower_case(name);
        // Ondrelle's own plug-in saved as a .dll names itself, Ondrelle.asi.
        if (!ends_with(lower, ".dll") || lower == "scripthookrdr2.dll" || starts_with(lower, "ondrelle")) continue;
        std::string path = in_folder(folder, name);
        std::string bytes;
        if (tool_entry_kind(path) != entry_file || !tool_read_file(path, &bytes)) continue;
        if (!is_loader_name(name) && !names_asi_files(bytes)) continue;
        LoaderKind kind = loader_unknown;
        if (is_ultimate(bytes))
            kind = loader_ultimate;
        else if (is_windows_own(bytes))
            kind = no_loader_windows;
        else if (lower == "dinput8.dll")
            kind = loader_of_the_hook;
        else if (!names_asi_files(bytes))
            continue;  // a library of a loader's name that names no .asi file: another mod's
        loaders.push_back(LoaderSeen{program_seen(folder, name), kind});
    }
    return loaders;
}
