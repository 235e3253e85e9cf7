// The table of log-line kinds, how each weighs and what it means; see
// log_kinds.h. The first part holds the weighings a row's weight alone
// cannot give, the second the table, the third the matching and wording.
#include "log_kinds.h"

#include <cstdlib>

#include "config.h"
#include "log_lines.h"
#include "plain_text.h"
#include "script_main.h"
#include "settings_notes.h"
#include "settings_rules.h"

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string captured_at(const LineContext& context, size_t at) {
    return at < context.captured.size() ? context.captured[at] : "";
}

// The settings line an entry of Ondrelle.log names, as the game counted it.
int line_named(const LineContext& context) { return std::atoi(captured_at(context, 0).c_str()); }

std::string on_screen_of(const LogLineKind& kind) { return kind.on_screen != nullptr ? kind.on_screen : ""; }

bool weighed(Finding* finding, FindingWeight weight, const std::string& text) {
    *finding = said(weight, text);
    return true;
}

// =============================================================================
// The weighings of the hook's and the loader's lines
// =============================================================================

// The hook took the game: this version of it, or, in a log from before the
// game's last update, the game as it was then.
bool weigh_accepted(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    if (context.now) return weighed(finding, finding_fine, kind_meaning(kind, context));
    return weighed(finding, finding_fine,
                   "The script hook accepted the game as it was then (" +
                       escaped_text(context.captured.empty() ? std::string("VER_AUTO") : context.captured[0]) + ").");
}

// The hook did not know the game's version. A hook made for the game's
// build now was put in since; one made for a later build than the game's
// wants the game updated, or its own older version; a log from before the
// game's last update tells of that game; with the hook older than the game,
// that Problem is the one said above.
bool weigh_version_unknown(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    std::string what = kind_meaning(kind, context);
    if (context.hook_made_for_the_game)
        return weighed(finding, finding_note,
                       what +
                           " The ScriptHookRDR2.dll there now is made for the game's build: this log is from "
                           "before you put in this hook. Start the game once and run ondrelle-check again.");
    std::string fix =
        context.hook_newer_than_the_game
            ? "Get the ScriptHookRDR2 made for " +
                  (context.game_version.empty() ? std::string("your game's version") : context.game_version) +
                  ", or update the game."
            : kind_fix(kind, context);
    if (!context.now)
        return weighed(finding, finding_note,
                       what +
                           " That was before the game was last updated or in an earlier start: if you have "
                           "not changed ScriptHookRDR2 since, " +
                           lower_case(fix.substr(0, 1)) + fix.substr(1));
    if (context.hook_too_old)
        return weighed(finding, finding_fine, what + " That is the hook older than the game, said above.");
    return weighed(finding, finding_problem, what + " " + fix);
}

// The hook failed otherwise: a Problem of the last start, a note before it.
bool weigh_hook_failed(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    if (!context.now)
        return weighed(finding, finding_note,
                       kind_meaning(kind, context) +
                           " That was before the game was last updated or in an earlier "
                           "start.");
    if (context.hook_too_old)
        return weighed(finding, finding_fine,
                       kind_meaning(kind, context) + " That is the hook older than the game, said above.");
    return weighed(finding, finding_problem, kind_meaning_and_fix(kind, context));
}

// The hook waits for the loading screen to end before it starts a script: a
// wait with no start after it is a start that ended, or hung, before it did.
bool weigh_waiting(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    if (!line_is_ours(kind, context.captured, context.plugin_name) || context.launched_this_start) return false;
    return weighed(finding, finding_note, kind_meaning_and_fix(kind, context));
}

// An exception in a script: Ondrelle's is its own fault; another plug-in's is
// said once for each plug-in, so that the player knows whose error box it was.
bool weigh_exception(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    if (line_is_ours(kind, context.captured, context.plugin_name))
        return weighed(finding, context.now ? finding_problem : finding_note, kind_meaning_and_fix(kind, context));
    std::string other = escaped_text(context.captured[0]);
    for (const std::string& said_of : *context.others_said) {
        if (lower_case(said_of) == lower_case(other)) return false;
    }
    context.others_said->push_back(other);
    return weighed(finding, finding_fine,
                   "Another plug-in, " + other +
                       ", failed with an error the hook caught: an error box the game showed then was " + other +
                       "'s, not Ondrelle's. Its own maker can help with it.");
}

// Windows refused the plug-in: the cause found above, when there is one, or
// a path the loader could not write in the system's code page.
bool weigh_refusal(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    if (!line_is_ours(kind, context.captured, context.plugin_name)) return false;
    if (!context.refusal_found_above.empty())
        return weighed(finding, finding_fine,
                       kind_meaning(kind, context) +
                           " ondrelle-check found one, said above: " + context.refusal_found_above + ".");
    FindingWeight weight = context.now ? finding_problem : finding_note;
    if (context.path_garbled)
        return weighed(finding, weight,
                       kind_meaning(kind, context) +
                           " Its log writes the game folder's path with '?' where the path has a letter outside "
                           "plain English ones: this loader cannot read such a path. Move the game to a folder "
                           "whose path has only plain letters (D:\\Games\\RDR2, say).");
    return weighed(finding, weight, kind_meaning_and_fix(kind, context));
}

// =============================================================================
// The weighings of Ondrelle.log's entries
// =============================================================================

// The lines of the settings file as it is now that hold the fault the entry
// logged, as an editor numbers them.
std::vector<int> lines_still_holding(const LogLineKind& kind, const LineContext& context) {
    std::vector<int> lines;
    if (context.settings == nullptr || kind.still_in_file == nullptr) return lines;
    for (const SettingsLineSeen& line : settings_lines_seen(context.settings->content)) {
        if (kind.still_in_file(line, context)) lines.push_back(line.line);
    }
    return lines;
}

// "4", "4 and 9", "4, 9 and 12".
std::string numbers_in_words(const std::vector<int>& numbers) {
    std::string words;
    for (size_t i = 0; i < numbers.size(); ++i)
        words += std::string(i == 0 ? "" : i + 1 == numbers.size() ? " and " : ", ") + std::to_string(numbers[i]);
    return words;
}

// What the settings file says now of a fault the log named, found in it by
// what the fault was about (its key, its value, or any line of its kind): its
// notes where it still is, or that it is gone. The fault itself is the
// settings verdict's to weigh, so a fault still there adds no weight.
Finding settings_fault_now(Finding finding, const LogLineKind& kind, const LineContext& context) {
    if (context.settings == nullptr) return finding;
    std::vector<int> lines = lines_still_holding(kind, context);
    if (lines.size() == 1) {
        bool moved = lines[0] != line_named(context);
        finding.text += " It is still there, " + std::string(moved ? "now " : "") + "on line " +
                        std::to_string(lines[0]) + " of Ondrelle.ini";
        std::vector<std::string> notes;
        for (const SettingsNote& note : context.settings->notes) {
            if (note.line == lines[0]) notes.push_back(note.text);
        }
        finding.text += notes.empty() ? "." : "; the notes on the settings file say of it:";
        finding.detail = notes;
    } else if (lines.size() > 1) {
        finding.text += " It is still there, on lines " + numbers_in_words(lines) + " of Ondrelle.ini.";
    } else if (context.settings_saved_since) {
        finding.weight = finding_note;
        finding.text += " Fixed since: Ondrelle.ini was saved after this log was written, and holds no such line now.";
    } else {
        finding.text += " Ondrelle.ini as it is now holds no such line: the log may be from an earlier file.";
    }
    return finding;
}

bool weigh_settings_line(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    *finding = settings_fault_now(said(finding_fine, kind_meaning_and_fix(kind, context)), kind, context);
    return true;
}

// The game stopped reading at a fault logged just before, or at a read error.
bool weigh_unfinished_parse(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    if (context.captured[1] != "0")
        return weighed(finding, finding_fine,
                       "The game could not read Ondrelle.ini past line " + std::to_string(line_named(context)) +
                           " (a read error), and kept the settings it had. Save the file again.");
    *finding = settings_fault_now(said(finding_fine, kind_meaning_and_fix(kind, context)), kind, context);
    return true;
}

bool weigh_missing_keys(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    std::string lacked = kind_meaning(kind, context);
    if (context.settings == nullptr || !context.settings->complete)
        return weighed(finding, finding_fine,
                       lacked +
                           " The notes on the settings file above name the keys it lacks now; copy their lines "
                           "from the Ondrelle.ini of Ondrelle's package.");
    if (context.settings_saved_since)
        return weighed(finding, finding_note,
                       lacked +
                           " Fixed since: Ondrelle.ini was saved after this log was written, and holds every key "
                           "now.");
    return weighed(finding, finding_fine,
                   lacked + " Ondrelle.ini as it is now holds every key: the log may be from an earlier file.");
}

// The game could not open Ondrelle.ini: fixed since when it is there now,
// saved after the log was written.
bool weigh_open_failed(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    if (context.settings != nullptr && context.settings_saved_since)
        return weighed(
            finding, finding_note,
            kind_meaning(kind, context) + " Fixed since: Ondrelle.ini is there now, saved after this log was written.");
    return weighed(finding, finding_fine, kind_meaning_and_fix(kind, context));
}

bool is_known_dict(const std::string& dict) {
    for (const KnownTextureDict& known : kKnownTextures) {
        if (lower_case(dict) == known.dict) return true;
    }
    return false;
}

// A dictionary the game never loaded: a misspelt name, unless the file names
// another one now; one known to exist the game was slow to stream, and a
// log of an earlier start tells of then.
bool weigh_texture_dict(const LogLineKind& kind, const LineContext& context, Finding* finding) {
    const std::string& named = context.captured[0];
    std::string never = kind_meaning(kind, context);
    const char* now = context.settings != nullptr ? context.settings->read.texture_dict : nullptr;
    if (now != nullptr && named != now && context.settings_saved_since)
        return weighed(finding, finding_note,
                       never +
                           " Fixed since: Ondrelle.ini, saved after this log was written, names the texture "
                           "dictionary " +
                           quoted(escaped_text(now)) + " now.");
    if (now != nullptr && named != now)
        return weighed(finding, finding_fine,
                       never + " Ondrelle.ini as it is now names " + quoted(escaped_text(now)) +
                           " instead: the log may be from an earlier file.");
    if (is_known_dict(named))
        return weighed(finding, finding_note,
                       never +
                           " It is a dictionary known to be in the game, so the game was slow to load it that "
                           "time: should the marker stay without its sprite, start the game again.");
    if (!context.now)
        return weighed(finding, finding_note,
                       never +
                           " That was in an earlier start: the notes on Ondrelle.ini above say whether its "
                           "texture_dict is right now.");
    return weighed(finding, finding_problem, kind_meaning_and_fix(kind, context));
}

// =============================================================================
// Where a settings fault the log named stands in the file now
// =============================================================================

const std::string& logged_text(const LineContext& context) { return context.captured[1]; }

bool line_too_long_now(const SettingsLineSeen& line, const LineContext&) { return line.shape == line_too_long; }
bool no_equals_now(const SettingsLineSeen& line, const LineContext&) { return line.shape == line_without_equals; }
bool unknown_key_now(const SettingsLineSeen& line, const LineContext& context) {
    return line.shape == line_key_and_value && line.row == nullptr && line.key == logged_text(context);
}
bool stops_the_game_now(const SettingsLineSeen& line, const LineContext&) {
    return line.shape == line_too_long || line.shape == line_without_equals ||
           (line.shape == line_key_and_value && line.row == nullptr);
}
bool refused_by(const SettingsLineSeen& line, KeyReader reader) {
    return line.shape == line_key_and_value && line.row != nullptr && line.row->reader == reader && line.refused;
}
bool bad_decimal_now(const SettingsLineSeen& line, const LineContext& context) {
    return refused_by(line, float_reader) && line.value == logged_text(context);
}
bool bad_integer_now(const SettingsLineSeen& line, const LineContext& context) {
    return refused_by(line, int_reader) && line.value == logged_text(context);
}
bool bad_flag_now(const SettingsLineSeen& line, const LineContext& context) {
    return refused_by(line, flag_reader) && line.value == logged_text(context);
}
bool text_too_long_now(const SettingsLineSeen& line, const LineContext&) { return refused_by(line, text_reader); }
bool bad_key_name_now(const SettingsLineSeen& line, const LineContext& context) {
    return refused_by(line, key_name_reader) && line.value == logged_text(context);
}

// A fault on a settings line: the game refused it and showed its error.
const char kSettingsLineFault[] =
    "A fault on line {line} of Ondrelle.ini: the game showed \"{on_screen}\" instead of the marker until the file "
    "was saved without it.";

}  // namespace

// =============================================================================
// The table
// =============================================================================

// The hook's lines fix a script hook that does not fit the game.
const char kUpdateTheHook[] =
    "Update ScriptHookRDR2: get the one made for {game} and put its ScriptHookRDR2.dll beside RDR2.exe.";
// The hook itself failed, whatever the game's version.
const char kHookItselfFailed[] = "The script hook itself failed, not for the game's version, and ran no script.";
const char kHookItselfFailedFix[] =
    "Start the game again; if it happens again, put ScriptHookRDR2.dll from its zip beside RDR2.exe again.";

// One kind to a row, in matching order within each log (the unknown game
// version and the hook's own failures before any other FATAL line): its log,
// stem, whether it names a plug-in, what it tells the verdict, its weight,
// what the screen showed; then what it means, its fix, the weighing a weight
// alone cannot give, and for a settings fault, how to find it in the file.
// clang-format off
const LogLineKind kLogLineKinds[] = {
    // The script hook's log: its own steps, counted.
    {hook_log, "//", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr, nullptr},
    {hook_log, "Creating threads", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr, nullptr},
    {hook_log, "Created ", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr, nullptr},
    {hook_log, "INIT: Pool", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr, nullptr},
    {hook_log, "LIB:", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr, nullptr},
    {hook_log, "API:", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr, nullptr},
    // What it did.
    {hook_log, "INIT: Started", false, tells_nothing_more, line_fine, nullptr,
     "The script hook was loaded.",
     "", nullptr, nullptr},
    {hook_log, "INIT: Success, game version is VER_AUTO", false, tells_hook_accepted_the_game, line_fine, nullptr,
     "The script hook found the game's version by a search of its own (VER_AUTO), which usually works.",
     "", nullptr, nullptr},
    {hook_log, "INIT: Success, game version is %s", false, tells_hook_accepted_the_game, line_weighed, nullptr,
     "The script hook accepted this version of the game.",
     "", weigh_accepted, nullptr},
    {hook_log, "FATAL: Unknown game version", false, tells_game_version_unknown, line_weighed, nullptr,
     "This ScriptHookRDR2 did not support the game's version: the game showed \"SCRIPT HOOK RDR 2 CRITICAL ERROR\" "
     "with the versions it supports, and closed.",
     kUpdateTheHook, weigh_version_unknown, nullptr},
    {hook_log, "Game version is not supported", false, tells_game_version_unknown, line_weighed, nullptr,
     "This ScriptHookRDR2 did not support the game's version, and closed the game.",
     kUpdateTheHook, weigh_version_unknown, nullptr},
    {hook_log, "Unsupported game version, terminating", false, tells_game_version_unknown, line_weighed, nullptr,
     "This ScriptHookRDR2 did not support the game's version, and closed the game.",
     kUpdateTheHook, weigh_version_unknown, nullptr},
    {hook_log, "FATAL: Script is already registered '%s'", true, tells_nothing_more, line_problem_now, nullptr,
     "Two copies of {named} registered their scripts with the hook, and the hook stopped the game.",
     "Keep one copy of the plug-in: see the second copy named above.", nullptr, nullptr},
    {hook_log, "FATAL: Core tid mismatch", false, tells_hook_failed, line_weighed, nullptr,
     kHookItselfFailed,
     kHookItselfFailedFix, weigh_hook_failed, nullptr},
    {hook_log, "FATAL: Creating threads while previous are still active", false, tells_hook_failed, line_weighed,
     nullptr,
     kHookItselfFailed,
     kHookItselfFailedFix, weigh_hook_failed, nullptr},
    // The real hook's words for these are not known: any FATAL line about a
    // keyboard handler is one.
    {hook_log, "FATAL: %skeyboard handler", false, tells_hook_failed, line_weighed, nullptr,
     "A plug-in registered a keyboard handler with the hook twice, or withdrew one the hook did not know, and the "
     "hook stopped the game: that plug-in paired its calls wrong; the hook's version has nothing to do with it.",
     "Take plug-ins out of the game's folder one at a time to find which, and tell its maker; if it is Ondrelle, send "
     "Ondrelle.log and this log.",
     weigh_hook_failed, nullptr},
    {hook_log, "FATAL: ", false, tells_hook_failed, line_weighed, nullptr,
     "The script hook failed: most likely it does not fit this version of the game.",
     kUpdateTheHook, weigh_hook_failed, nullptr},
    {hook_log, "INIT: Registering script '%s'", true, tells_script_registered, line_fine, nullptr,
     "{named} was loaded and registered its script with the hook.",
     "", nullptr, nullptr},
    {hook_log, "CORE: Waiting to launch '%s'", true, tells_script_waiting, line_weighed, nullptr,
     "The script hook waited to start Ondrelle's script, and never did: it starts scripts only once the loading "
     "screen has ended, and the game closed, or hung, before that.",
     "Start the game again and wait for the loading screen to end.", weigh_waiting, nullptr},
    {hook_log, "CORE: Launching main() for '%s'", true, tells_script_launched, line_fine, nullptr,
     "The script hook started Ondrelle's script.",
     "", nullptr, nullptr},
    {hook_log, "CORE: An exception occurred while executing '%s'", true, tells_nothing_more, line_weighed, nullptr,
     "Ondrelle's script failed with an error the hook caught, and stopped: no marker showed after it.",
     "That is Ondrelle's fault: please report it, and send Ondrelle.log, ScriptHookRDR2.log and the game's version "
     "({game}) with what you were doing.", weigh_exception, nullptr},
    {hook_log, "CORE: Terminating the game, disable mods in order to go Online", false, tells_nothing_more, line_note,
     nullptr,
     "The script hook closed the game as it went online: plug-ins run in Story Mode only, so this is no fault.",
     "Play Story Mode to see the marker.", nullptr, nullptr},
    {hook_log, "UNINIT: Unregistering script '%s'", true, tells_nothing_more, line_fine, nullptr,
     "Ondrelle was unloaded, as it is when the game closes.",
     "", nullptr, nullptr},

    // The ASI loader's log.
    {loader_log, "// RDR 2 ASI LOADER", false, tells_nothing_more, line_fine, nullptr,
     "The ASI loader ran.",
     "", nullptr, nullptr},
    {loader_log, "LOADER: Loading *.asi plugins", false, tells_nothing_more, line_counted, nullptr,
     "",
     "", nullptr, nullptr},
    {loader_log, "LIB:", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr, nullptr},
    {loader_log, "API:", false, tells_nothing_more, line_counted, nullptr, "", "", nullptr, nullptr},
    {loader_log, "ASI: Loading \"%s\"", true, tells_plugin_found, line_fine, nullptr,
     "The loader found {plugin} there.",
     "", nullptr, nullptr},
    {loader_log, "\"%s\" => 0x", true, tells_plugin_loaded, line_fine, nullptr,
     "The loader loaded {plugin}.",
     "", nullptr, nullptr},
    {loader_log, "\"%s\" failed to load", true, tells_plugin_refused, line_weighed, nullptr,
     "Windows refused to load {plugin}, and the loader's log gives no reason.",
     "Nothing ondrelle-check can see explains it: the file is whole and made for 64-bit Windows, and "
     "ScriptHookRDR2.dll is there. Copy Ondrelle.asi from Ondrelle's package again; should that not help, an "
     "antivirus program may block it: add an exception for the game's folder.", weigh_refusal, nullptr},
    {loader_log, "LOADER: Finished loading *.asi plugins", false, tells_nothing_more, line_counted, nullptr,
     "",
     "", nullptr, nullptr},
    {loader_log, "FATAL: Init failed!", false, tells_loader_failed, line_problem_now, nullptr,
     "The ASI loader failed as it started, and loaded no plug-in.",
     "Put the dinput8.dll that comes with ScriptHookRDR2 beside RDR2.exe again.", nullptr, nullptr},

    // Ondrelle.log, by the core's own texts.
    {plugin_log, kLogScriptStarted, false, tells_script_started, line_fine, nullptr,
     "The script hook started Ondrelle's script: the plug-in was loaded.",
     "", nullptr, nullptr},
    {plugin_log, kLogReloaded, false, tells_nothing_more, line_fine, nullptr,
     "Ondrelle read Ondrelle.ini and took its settings up.",
     "", nullptr, nullptr},
    {plugin_log, kLogLineTooLong, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     kSettingsLineFault,
     "", weigh_settings_line, line_too_long_now},
    {plugin_log, kLogNotDelimited, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     kSettingsLineFault,
     "", weigh_settings_line, no_equals_now},
    {plugin_log, kLogUnknownKey, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     kSettingsLineFault,
     "", weigh_settings_line, unknown_key_now},
    {plugin_log, kLogBadDecimal, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     kSettingsLineFault,
     "", weigh_settings_line, bad_decimal_now},
    {plugin_log, kLogBadInteger, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     kSettingsLineFault,
     "", weigh_settings_line, bad_integer_now},
    {plugin_log, kLogBadFlag, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     kSettingsLineFault,
     "", weigh_settings_line, bad_flag_now},
    {plugin_log, kLogBadKeyName, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     kSettingsLineFault,
     "", weigh_settings_line, bad_key_name_now},
    {plugin_log, kLogValueTooLong, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     kSettingsLineFault,
     "", weigh_settings_line, text_too_long_now},
    {plugin_log, kLogUnfinishedParse, false, tells_nothing_more, line_weighed, kGenericParseErrorText,
     "The game stopped reading Ondrelle.ini at line {line}, at the fault logged just before, and read nothing after "
     "it: that is what \"didn't reach EOF\" means. It kept the settings it had and showed its error.",
     "", weigh_unfinished_parse, stops_the_game_now},
    {plugin_log, kMissingKeysText, false, tells_nothing_more, line_weighed, kMissingKeysText,
     "Ondrelle.ini lacked one or more of its {key_count} keys, and the game showed this instead of the marker.",
     "", weigh_missing_keys, nullptr},
    {plugin_log, kLogCreateFileFailed, false, tells_nothing_more, line_weighed, kOpenFailedText,
     "The game could not open Ondrelle.ini to see whether it had changed: the file was missing, or another program "
     "(an editor, a cloud sync tool) kept it to itself. On screen this showed as \"{on_screen}\".",
     "Put Ondrelle.ini beside Ondrelle.asi, or close the program that holds it: the game looks again every second.",
     weigh_open_failed, nullptr},
    {plugin_log, kLogGetFileTimeFailed, false, tells_nothing_more, line_fine, kFileTimeFailedText,
     "The game opened Ondrelle.ini but could not read when it was last saved (system error {number}). On screen: "
     "\"{on_screen}\".",
     "Save the file again; should that not help, copy its text into a new Ondrelle.ini.", nullptr, nullptr},
    {plugin_log, kLogFopenFailed, false, tells_nothing_more, line_fine, kOpenForParsingFailedText,
     "The game could not open Ondrelle.ini to read it. On screen: \"{on_screen}\".",
     "Close any program that keeps the file to itself, then save it again.", nullptr, nullptr},
    {plugin_log, kLogHiddenByToggleKey, false, tells_nothing_more, line_note, nullptr,
     "The marker was hidden with toggle_key ({named}): it stays hidden, though a target is chosen as ever, until that "
     "key is pressed again or the game starts again.",
     "", nullptr, nullptr},
    {plugin_log, kLogShownByToggleKey, false, tells_nothing_more, line_fine, nullptr,
     "The marker was shown again with toggle_key ({named}).",
     "", nullptr, nullptr},
    {plugin_log, kLogNoKeyboardHandler, false, tells_nothing_more, line_note, nullptr,
     "Ondrelle.ini names a toggle_key, but this ScriptHookRDR2.dll lets no plug-in see the keyboard: the key does "
     "nothing, and the marker shows as ever.",
     "A newer ScriptHookRDR2 may let it work.", nullptr, nullptr},
    {plugin_log, kLogTextureDictNotLoaded, false, tells_nothing_more, line_weighed, nullptr,
     "The game never loaded the texture dictionary \"{named}\", so the marker had no sprite.",
     "texture_dict is misspelt, or not a dictionary the game has: use a pair known to exist: {known_textures}.",
     weigh_texture_dict, nullptr},
};
// clang-format on
const int kLogLineKindCount = sizeof kLogLineKinds / sizeof kLogLineKinds[0];

// =============================================================================
// Matching and wording
// =============================================================================

namespace {

// The line without the time in front, "[21:00:01] ", when it has one.
std::string without_time(const std::string& line) {
    long seconds = 0;
    return line.substr(time_prefix_length(line, &seconds));
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
    {"line",           [](const LogLineKind&, const LineContext& c) { return std::to_string(line_named(c)); }},
    {"game",           [](const LogLineKind&, const LineContext& c) { return c.game; }},
    {"on_screen",      [](const LogLineKind& k, const LineContext&) { return on_screen_of(k); }},
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
    if (kind.weight == line_counted) return false;
    // A weighing of its own may say something of another plug-in's line.
    if (kind.weight == line_weighed) return kind.weigh(kind, context, finding);
    if (!line_is_ours(kind, context.captured, context.plugin_name)) return false;
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
            return kind.weigh(kind, context, finding);
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
