// The table of log-line kinds, how each weighs and what it means; see
// log_kinds.h. The first part holds the weighings a row's weight alone
// cannot give, the second the table, the third the matching and wording.
#include "log_kinds.h"

#include <cstdlib>

#include "config.h"
#include "editor_lines.h"
#include "log_lines.h"
#include "plain_text.h"
#include "script_main.h"
#include "settings_rules.h"

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The settings line an entry of Ondrelle.log names, as the game counted it.
int line_named(const LineContext& context) { return std::atoi(context.captured[0].c_str()); }

// =============================================================================
// The weighings
// =============================================================================

// The hook stopped the game. Said of a log from before the game's last
// update, it tells of that game; with the hook older than the game, that
// Problem is the one said above.
Finding weigh_hook_stopped(const LogLineKind& kind, const LineContext& context) {
    std::string what = kind_meaning(kind, context);
    std::string update = kind_fix(kind, context);
    if (!context.now)
        return said(finding_note, what +
                                      " That was before the game was last updated: if you have not updated "
                                      "ScriptHookRDR2 since, " +
                                      lower_case(update.substr(0, 1)) + update.substr(1));
    if (context.hook_too_old) return said(finding_fine, what + " That is the hook older than the game, said above.");
    return said(finding_problem, what + " " + update);
}

// Windows refused the plug-in: the cause found above, when there is one.
Finding weigh_refusal(const LogLineKind& kind, const LineContext& context) {
    if (!context.refusal_found_above.empty())
        return said(finding_fine, kind_meaning(kind, context) +
                                      " ondrelle-check found one, said above: " + context.refusal_found_above + ".");
    return said(context.now ? finding_problem : finding_note, kind_meaning_and_fix(kind, context));
}

// The checker's notes now on the line of the settings file that the game
// counted as line game_line, in the editor's numbering.
std::vector<SettingsNote> notes_on_game_line(const SettingsReport& settings, int game_line, int* editor_line) {
    *editor_line = editor_line_at(settings.content, game_line_start(settings.content, game_line));
    std::vector<SettingsNote> notes;
    for (const SettingsNote& note : settings.notes) {
        if (note.line == *editor_line) notes.push_back(note);
    }
    return notes;
}

// What the settings file says now of a line the log named: its notes, or
// that the fault is gone. The fault itself is the settings verdict's to
// weigh, so a line that still has notes adds none.
Finding settings_line_now(Finding finding, int game_line, const LineContext& context) {
    if (context.settings == nullptr) return finding;
    int editor_line = 0;
    std::vector<SettingsNote> notes = notes_on_game_line(*context.settings, game_line, &editor_line);
    if (!notes.empty()) {
        finding.text += " The notes on the settings file say of its line " + std::to_string(editor_line) + ":";
        for (const SettingsNote& note : notes) finding.detail.push_back(note.text);
    } else if (context.settings_saved_since) {
        finding.weight = finding_note;
        finding.text +=
            " Fixed since: Ondrelle.ini was saved after this log was written, and has no fault on that "
            "line now.";
    } else {
        finding.text += " Ondrelle.ini as it is now has no note on that line: the log may be from an earlier file.";
    }
    return finding;
}

Finding weigh_settings_line(const LogLineKind& kind, const LineContext& context) {
    return settings_line_now(said(finding_fine, kind_meaning_and_fix(kind, context)), line_named(context), context);
}

// The game stopped reading at a fault logged just before, or at a read error.
Finding weigh_unfinished_parse(const LogLineKind& kind, const LineContext& context) {
    std::string at = std::to_string(line_named(context));
    std::string meaning = context.captured[1] != "0" ? "The game could not read Ondrelle.ini past line " + at +
                                                           " (a read error), and kept the settings it had. Save "
                                                           "the file again."
                                                     : kind_meaning_and_fix(kind, context);
    return settings_line_now(said(finding_fine, meaning), line_named(context), context);
}

Finding weigh_missing_keys(const LogLineKind& kind, const LineContext& context) {
    std::string lacked = kind_meaning(kind, context);
    if (context.settings == nullptr || !context.settings->complete)
        return said(finding_fine, lacked +
                                      " The notes on the settings file above name the keys it lacks now; copy "
                                      "their lines from the Ondrelle.ini of Ondrelle's package.");
    if (context.settings_saved_since)
        return said(finding_note, lacked +
                                      " Fixed since: Ondrelle.ini was saved after this log was written, and "
                                      "holds every key now.");
    return said(finding_fine, lacked +
                                  " Ondrelle.ini as it is now holds every key: the log may be from an earlier "
                                  "file.");
}

Finding weigh_texture_dict(const LogLineKind& kind, const LineContext& context) {
    const std::string& named = context.captured[0];
    std::string never = kind_meaning(kind, context);
    const char* now = context.settings != nullptr ? context.settings->read.texture_dict : nullptr;
    if (now != nullptr && named != now && context.settings_saved_since)
        return said(finding_note, never +
                                      " Fixed since: Ondrelle.ini, saved after this log was written, names the "
                                      "texture dictionary " +
                                      quoted(escaped_text(now)) + " now.");
    if (now != nullptr && named != now)
        return said(finding_fine, never + " Ondrelle.ini as it is now names " + quoted(escaped_text(now)) +
                                      " instead: the log may be from an earlier file.");
    return said(finding_problem, kind_meaning_and_fix(kind, context));
}

}  // namespace

// =============================================================================
// The table
// =============================================================================

// The hook's lines fix a script hook that does not fit the game.
#define UPDATE_THE_HOOK \
    "Update ScriptHookRDR2: get the one made for {game} and put its ScriptHookRDR2.dll beside RDR2.exe."

// A fault on a settings line: the game refused it and showed its error.
const char kSettingsLineFault[] =
    "A fault on line {line} of Ondrelle.ini: the game showed \"{on_screen}\" instead of the marker until the file "
    "was saved without it.";

// One kind to a row, in matching order within each log (the unknown game
// version before any other FATAL line): its log, stem, whether it names a
// plug-in, what it tells the verdict, its weight, what the screen showed;
// then what it means, its fix, and the weighing a weight alone cannot give.
// clang-format off
const LogLineKind kLogLineKinds[] = {
    // The script hook's log.
    {hook_log, "//", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr},
    {hook_log, "INIT: Started", false, tells_nothing_more, line_fine, nullptr,
     "The script hook was loaded.", "", nullptr},
    {hook_log, "INIT: Success, game version is VER_AUTO", false, tells_hook_accepted_the_game, line_fine, nullptr,
     "The script hook found the game's version by a search of its own (VER_AUTO), which usually works.", "", nullptr},
    {hook_log, "INIT: Success, game version is %s", false, tells_hook_accepted_the_game, line_fine, nullptr,
     "The script hook accepted this version of the game.", "", nullptr},
    {hook_log, "FATAL: Unknown game version", false, tells_hook_stopped, line_weighed, nullptr,
     "This ScriptHookRDR2 did not support the game's version: the game showed \"SCRIPT HOOK RDR 2 CRITICAL ERROR\" with the versions it supports, and closed.",
     UPDATE_THE_HOOK, weigh_hook_stopped},
    {hook_log, "FATAL: ", false, tells_hook_stopped, line_weighed, nullptr,
     "The script hook failed: most likely it does not fit this version of the game.", UPDATE_THE_HOOK, weigh_hook_stopped},
    {hook_log, "INIT: Registering script '%s'", true, tells_script_registered, line_fine, nullptr,
     "{named} was loaded and registered its script with the hook.", "", nullptr},
    {hook_log, "CORE: Launching main() for '%s'", true, tells_script_launched, line_fine, nullptr,
     "The script hook started Ondrelle's script.", "", nullptr},
    {hook_log, "CORE: An exception occurred while executing '%s'", true, tells_nothing_more, line_problem_now, nullptr,
     "Ondrelle's script failed with an error the hook caught, and stopped: no marker showed after it.",
     "That is Ondrelle's fault: please report it, and send Ondrelle.log, ScriptHookRDR2.log and the game's version ({game}) with what you were doing.", nullptr},
    {hook_log, "CORE: Terminating the game, disable mods in order to go Online", false, tells_nothing_more, line_note, nullptr,
     "The script hook closed the game as it went online: plug-ins run in Story Mode only, so this is no fault.",
     "Play Story Mode to see the marker.", nullptr},

    // The ASI loader's log.
    {loader_log, "// RDR 2 ASI LOADER", false, tells_nothing_more, line_fine, nullptr, "The ASI loader ran.", "", nullptr},
    {loader_log, "LOADER: Loading *.asi plugins", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr},
    {loader_log, "ASI: Loading \"%s\"", true, tells_nothing_more, line_fine, nullptr, "The loader found {plugin} there.", "", nullptr},
    {loader_log, "\"%s\" => 0x", true, tells_plugin_loaded, line_fine, nullptr, "The loader loaded {plugin}.", "", nullptr},
    {loader_log, "\"%s\" failed to load", true, tells_plugin_refused, line_weighed, nullptr,
     "Windows refused to load {plugin}, and the loader's log gives no reason.",
     "Nothing ondrelle-check can see explains it: the file is whole and made for 64-bit Windows, and ScriptHookRDR2.dll is there. Copy Ondrelle.asi from Ondrelle's package again; should that not help, an antivirus program may block it: add an exception for the game's folder.",
     weigh_refusal},
    {loader_log, "LOADER: Finished loading *.asi plugins", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr},
    {loader_log, "FATAL: Init failed!", false, tells_loader_failed, line_problem_now, nullptr,
     "The ASI loader failed as it started, and loaded no plug-in.", "Put the dinput8.dll that comes with ScriptHookRDR2 beside RDR2.exe again.", nullptr},

    // Ondrelle.log, by the core's own texts.
    {plugin_log, kLogScriptStarted, false, tells_script_started, line_fine, nullptr,
     "The script hook started Ondrelle's script: the plug-in was loaded.", "", nullptr},
    {plugin_log, kLogReloaded, false, tells_nothing_more, line_fine, nullptr, "Ondrelle read Ondrelle.ini and took its settings up.", "", nullptr},
    {plugin_log, kLogLineTooLong, false, tells_nothing_more, line_weighed, kGenericParseErrorText, kSettingsLineFault, "", weigh_settings_line},
    {plugin_log, kLogNotDelimited, false, tells_nothing_more, line_weighed, kGenericParseErrorText, kSettingsLineFault, "", weigh_settings_line},
    {plugin_log, kLogUnknownKey, false, tells_nothing_more, line_weighed, kGenericParseErrorText, kSettingsLineFault, "", weigh_settings_line},
    {plugin_log, kLogBadDecimal, false, tells_nothing_more, line_weighed, kGenericParseErrorText, kSettingsLineFault, "", weigh_settings_line},
    {plugin_log, kLogBadInteger, false, tells_nothing_more, line_weighed, kGenericParseErrorText, kSettingsLineFault, "", weigh_settings_line},
    {plugin_log, kLogBadFlag, false, tells_nothing_more, line_weighed, kGenericParseErrorText, kSettingsLineFault, "", weigh_settings_line},
    {plugin_log, kLogValueTooLong, false, tells_nothing_more, line_weighed, kGenericParseErrorText, kSettingsLineFault, "", weigh_settings_line},
    {plugin_log, kLogUnfinishedParse, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     "The game stopped reading Ondrelle.ini at line {line}, at the fault logged just before, and read nothing after it: that is what \"didn't reach EOF\" means. It kept the settings it had and showed its error.",
     "", weigh_unfinished_parse},
    {plugin_log, kMissingKeysText, false, tells_nothing_more, line_weighed, kMissingKeysText,
     "Ondrelle.ini lacked one or more of its {key_count} keys, and the game showed this instead of the marker.", "", weigh_missing_keys},
    {plugin_log, kLogCreateFileFailed, false, tells_nothing_more, line_fine, kOpenFailedText,
     "The game could not open Ondrelle.ini to see whether it had changed: the file was missing, or another program (an editor, a cloud sync tool) kept it to itself. On screen this showed as \"{on_screen}\".",
     "Put Ondrelle.ini beside Ondrelle.asi, or close the program that holds it: the game looks again every second.", nullptr},
    {plugin_log, kLogGetFileTimeFailed, false, tells_nothing_more, line_fine, kFileTimeFailedText,
     "The game opened Ondrelle.ini but could not read when it was last saved (system error {number}). On screen: \"{on_screen}\".",
     "Save the file again; should that not help, copy its text into a new Ondrelle.ini.", nullptr},
    {plugin_log, kLogFopenFailed, false, tells_nothing_more, line_fine, kOpenForParsingFailedText,
     "The game could not open Ondrelle.ini to read it. On screen: \"{on_screen}\".",
     "Close any program that keeps the file to itself, then save it again.", nullptr},
    {plugin_log, kLogTextureDictNotLoaded, false, tells_nothing_more, line_weighed, nullptr,
     "The game never loaded the texture dictionary \"{named}\", so the marker had no sprite.",
     "texture_dict is misspelt, or not a dictionary the game has: use a pair known to exist: {known_textures}.", weigh_texture_dict},
};
// clang-format on
const int kLogLineKindCount = sizeof kLogLineKinds / sizeof kLogLineKinds[0];

// =============================================================================
// Matching and wording
// =============================================================================

namespace {

// The line without the hook's "[HH:MM:SS] " in front, when it has one.
std::string without_time(const std::string& line) {
    bool stamped = line.size() >= 10 && line[0] == '[' && line[3] == ':' && line[6] == ':' && line[9] == ']';
    for (size_t at : {1, 2, 4, 5, 7, 8}) stamped = stamped && is_digit(line[at]);
    if (!stamped) return line;
    size_t text = line.find_first_not_of(' ', 10);
    return text == std::string::npos ? "" : line.substr(text);
}

std::string captured_at(const LineContext& context, size_t at) {
    return at < context.captured.size() ? context.captured[at] : "";
}

// A field a row's texts may name, and how it is filled in.
struct LineField {
    const char* name;
    std::string (*fill)(const LogLineKind& kind, const LineContext& context);
};

// clang-format off
const LineField kLineFields[] = {
    {"plugin",         [](const LogLineKind&, const LineContext& c) { return c.plugin_name; }},
    {"named",          [](const LogLineKind&, const LineContext& c) { return escaped_text(captured_at(c, 0)); }},
    {"number",         [](const LogLineKind&, const LineContext& c) { return captured_at(c, 0); }},
    {"line",           [](const LogLineKind&, const LineContext& c) { return std::to_string(std::atoi(captured_at(c, 0).c_str())); }},
    {"game",           [](const LogLineKind&, const LineContext& c) { return c.game; }},
    {"on_screen",      [](const LogLineKind& k, const LineContext&) { return std::string(k.on_screen != nullptr ? k.on_screen : ""); }},
    {"key_count",      [](const LogLineKind&, const LineContext&) { return std::to_string(kSettingsKeyCount); }},
    {"known_textures", [](const LogLineKind&, const LineContext&) { return known_texture_pairs(); }},
};
// clang-format on

std::string filled_for_line(const char* pattern, const LogLineKind& kind, const LineContext& context) {
    return filled_text(pattern, "log-line kinds", [&](const std::string& name, std::string* text) {
        for (const LineField& field : kLineFields) {
            if (name != field.name) continue;
            *text = field.fill(kind, context);
            return true;
        }
        return false;
    });
}

}  // namespace

const LogLineKind* kind_of_line(LogName log, const std::string& text, std::vector<std::string>* captured) {
    captured->clear();
    std::string stemmed = log == plugin_log ? text : without_time(text);
    LogMatch how = log == plugin_log ? match_whole_and_exact : match_start_in_any_case;
    for (const LogLineKind& kind : kLogLineKinds) {
        if (kind.log == log && line_matches(kind.stem, stemmed, how, captured)) return &kind;
    }
    return nullptr;
}

bool line_names_plugin(const LogLineKind& kind, const std::vector<std::string>& captured,
                       const std::string& plugin_name) {
    if (!kind.names_plugin || captured.empty()) return false;
    size_t separator = captured[0].find_last_of("\\/");
    std::string file = separator == std::string::npos ? captured[0] : captured[0].substr(separator + 1);
    return lower_case(file) == lower_case(plugin_name);
}

bool line_is_ours(const LogLineKind& kind, const std::vector<std::string>& captured, const std::string& plugin_name) {
    return !kind.names_plugin || line_names_plugin(kind, captured, plugin_name);
}

bool finding_of_line(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    if (kind.weight == line_counted || !line_is_ours(kind, context.captured, context.plugin_name)) return false;
    switch (kind.weight) {
        case line_counted:
            return false;
        case line_fine:
            *finding = said(finding_fine, kind_meaning_and_fix(kind, context));
            return true;
        case line_note:
            *finding = said(finding_note, kind_meaning_and_fix(kind, context));
            return true;
        case line_problem_now:
            *finding = said(context.now ? finding_problem : finding_note, kind_meaning_and_fix(kind, context));
            return true;
        case line_weighed:
            *finding = kind.weigh(kind, context);
            return true;
    }
    return false;
}

std::string kind_meaning(const LogLineKind& kind, const LineContext& context) {
    return filled_for_line(kind.meaning, kind, context);
}

std::string kind_fix(const LogLineKind& kind, const LineContext& context) {
    return filled_for_line(kind.fix, kind, context);
}

std::string kind_meaning_and_fix(const LogLineKind& kind, const LineContext& context) {
    std::string meaning = kind_meaning(kind, context);
    return kind.fix[0] == 0 ? meaning : meaning + " " + kind_fix(kind, context);
}
