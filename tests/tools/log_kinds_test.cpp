// The table of log-line kinds, row by row: each kind of line as Ondrelle's
// and as another plug-in's, in a log of the last start and in one from
// before the game's last update, weighed by the whole verdict; and what a
// missing or an empty Ondrelle.log then points to. Each kind of the table
// must have a row here, so a kind added without saying how it weighs fails.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game_evidence.h"
#include "log_lines.h"
#include "plain_text.h"
#include "verdict.h"

namespace {

// How a line comes out in its log's part of the report.
enum Shown {
    counted,      // not shown: counted with the program's own steps
    fine,         // shown, explained
    note,         // shown, a note
    problem,      // shown, a Problem
    unexplained,  // shown as it is: no kind known
    not_at_all,   // neither shown nor counted: a blank line
};

// What a missing or an empty Ondrelle.log points to, beside the line.
enum Cause {
    no_cause,          // nothing: the plug-in was not loaded, or its script not started
    hook_stopped,      // the hook stopped the game before any script started
    loader_could_not,  // the loader could not load Ondrelle.asi
    shows_loaded,      // the plug-in was loaded
    shows_launched,    // its script was started
    others_only,       // the hook registered other plug-ins' scripts, not Ondrelle's
};

struct KindRow {
    LogName log;
    // The line as the program writes it, naming Ondrelle.asi (in any case)
    // where its kind names a plug-in: the same line naming OtherMod.asi is
    // another plug-in's.
    const char* line;
    Shown ours_now, ours_before_update, other_now, other_before_update;
    // Of Ondrelle's line, and of another plug-in's, in a log of the last
    // start; one from before the update has none.
    Cause cause, others_cause;
};

// clang-format off
const KindRow kRows[] = {
    // The hook's own steps, counted.
    {hook_log, "// ScriptHookRDR2 log", counted, counted, counted, counted, no_cause, no_cause},
    {hook_log, "[20:14:02] Creating threads", counted, counted, counted, counted, no_cause, no_cause},
    {hook_log, "[20:14:02] Created 3 threads (including control)",
     counted, counted, counted, counted, no_cause, no_cause},
    {hook_log, "[20:14:02] INIT: Pool 2 extended", counted, counted, counted, counted, no_cause, no_cause},
    {hook_log, "[20:14:02] LIB: Loaded", counted, counted, counted, counted, no_cause, no_cause},
    {hook_log, "[20:14:02] API: Ready", counted, counted, counted, counted, no_cause, no_cause},
    // What it did: its start, the game's version, its own failures.
    {hook_log, "[20:14:02] INIT: Started", fine, fine, fine, fine, no_cause, no_cause},
    {hook_log, "[21:00:01.112] INIT: Started", fine, fine, fine, fine, no_cause, no_cause},
    {hook_log, "[20:14:02] INIT: Success, game version is VER_AUTO", fine, fine, fine, fine, no_cause, no_cause},
    {hook_log, "[20:14:02] INIT: Success, game version is VER_1_0_1491_50", fine, fine, fine, fine, no_cause, no_cause},
    // The hook here is made for the game's build: a version it did not know
    // was that of a hook since replaced.
    {hook_log, "[20:14:02] FATAL: Unknown game version", note, note, note, note, hook_stopped, hook_stopped},
    {hook_log, "[20:14:02] Game version is not supported (1.0.1491.50)",
     note, note, note, note, hook_stopped, hook_stopped},
    {hook_log, "[20:14:02] Unsupported game version, terminating", note, note, note, note, hook_stopped, hook_stopped},
    {hook_log, "[20:14:02] FATAL: Can't find native 0x4A123E85D7C4CA0B",
     problem, note, problem, note, hook_stopped, hook_stopped},
    {hook_log, "[20:14:02] FATAL: Core tid mismatch", problem, note, problem, note, hook_stopped, hook_stopped},
    {hook_log, "[20:14:02] FATAL: Creating threads while previous are still active",
     problem, note, problem, note, hook_stopped, hook_stopped},
    // A plug-in's keyboard handler paired wrong: not the hook's version.
    {hook_log, "[20:14:02] FATAL: Can't register keyboard handler, it is already registered",
     problem, note, problem, note, hook_stopped, hook_stopped},
    {hook_log, "[20:14:02] FATAL: Can't unregister keyboard handler, it is not registered",
     problem, note, problem, note, hook_stopped, hook_stopped},
    {hook_log, "[20:14:02] FATAL: Script is already registered 'Ondrelle.asi'",
     problem, note, counted, counted, no_cause, no_cause},
    // What it did with the plug-ins' scripts.
    {hook_log, "[20:14:02] INIT: Registering script 'Ondrelle.asi'",
     fine, fine, counted, counted, shows_loaded, others_only},
    {hook_log, "[20:14:02] init: registering SCRIPT 'ONDRELLE.ASI'",
     fine, fine, counted, counted, shows_loaded, others_only},
    {hook_log, "INIT: Registering script 'Ondrelle.asi'", fine, fine, counted, counted, shows_loaded, others_only},
    {hook_log, "[20:14:02] CORE: Waiting to launch 'Ondrelle.asi'", note, note, counted, counted, no_cause, no_cause},
    {hook_log, "[20:14:02] CORE: Launching main() for 'Ondrelle.asi'",
     fine, fine, counted, counted, shows_launched, no_cause},
    {hook_log, "[20:14:02] CORE: An exception occurred while executing 'Ondrelle.asi', id 0xC0000005",
     problem, note, fine, fine, no_cause, no_cause},
    {hook_log, "[20:14:02] CORE: Terminating the game, disable mods in order to go Online",
     note, note, note, note, no_cause, no_cause},
    {hook_log, "[20:14:02] UNINIT: Unregistering script 'Ondrelle.asi'",
     fine, fine, counted, counted, no_cause, no_cause},
    // Lines no kind explains: shown, the first few and those that matter;
    // one that names Ondrelle and an error is a note.
    {hook_log, "[20:14:02] A line the hook never wrote",
     unexplained, unexplained, unexplained, unexplained, no_cause, no_cause},
    {hook_log, "[20:14:02] Error in Ondrelle.asi: a line the hook never wrote",
     note, note, unexplained, unexplained, no_cause, no_cause},
    {hook_log, "", not_at_all, not_at_all, not_at_all, not_at_all, no_cause, no_cause},

    {loader_log, "// RDR 2 ASI LOADER (build Jan  3 2026)", fine, fine, fine, fine, no_cause, no_cause},
    {loader_log, "LOADER: Loading *.asi plugins", counted, counted, counted, counted, no_cause, no_cause},
    {loader_log, "LIB: kernel32.dll", counted, counted, counted, counted, no_cause, no_cause},
    {loader_log, "API: GetProcAddress", counted, counted, counted, counted, no_cause, no_cause},
    {loader_log, "ASI: Loading \"D:\\Games\\RDR2\\Ondrelle.asi\"", fine, fine, counted, counted, no_cause, no_cause},
    {loader_log, "ASI: Loading \"D:/Games/RDR2/asi/Ondrelle.asi\"", fine, fine, counted, counted, no_cause, no_cause},
    {loader_log, "\"Ondrelle.asi\" => 0x00007FFC12340000", fine, fine, counted, counted, shows_loaded, no_cause},
    {loader_log, "\"Ondrelle.asi\" failed to load", problem, note, counted, counted, loader_could_not, no_cause},
    {loader_log, "\"ondrelle.ASI\" FAILED TO LOAD", problem, note, counted, counted, loader_could_not, no_cause},
    {loader_log, "LOADER: Finished loading *.asi plugins", counted, counted, counted, counted, no_cause, no_cause},
    {loader_log, "FATAL: Init failed!", problem, note, problem, note, loader_could_not, loader_could_not},

    {plugin_log, "20:14:07.045 Script started (script_main:29)", fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:07.046 Config file reloaded (config:216)", fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:07.046 Config file reloaded, 3 keys (config:216)",
     unexplained, unexplained, unexplained, unexplained, no_cause, no_cause},
    {plugin_log, "20:14:07.046 CreateFile failed (config:262)", fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:08.047 GetFileTime failed: 32 (config:268)", fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:09.048 fopen failed (config:280)", fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:10.049 Config file line #3: line too long (>2000) (config:195)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:11.051 Config file line #4: not delimited by '=' (config:198)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:12.052 Config file line #5: unknown key: colour (config:207)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:13.053 Config file line #15: failed to parse value (expected yes/no): Yes (config:121)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log,
     "20:14:13.054 Config file line #6: failed to parse value (expected a decimal number): fast (config:93)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:13.055 Config file line #7: failed to parse value (expected an integer): nine (config:107)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:13.056 Config file line #8: value too long (>128) (config:132)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:10.050 Config file line #3: didn't reach EOF (ferror 0) (config:233)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log, "20:14:14.058 Config file line #9: didn't reach EOF (ferror 1) (config:233)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log,
     "20:14:15.059 Error in config file: One or more keys are missing.\nIf you just updated the mod, check the "
     "changelog or the default config file for new values.\n (config:219)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log,
     "20:14:13.057 Config file line #25: failed to parse value (expected a key name such as F7, CTRL+F7 or none): "
     "Ctrl+F25 (config:141)",
     fine, fine, fine, fine, no_cause, no_cause},
    // The player's key: hidden is worth knowing, shown again is not.
    {plugin_log, "20:20:00.100 Marker hidden by toggle_key (CTRL+F7) (script_main:300)",
     note, note, note, note, no_cause, no_cause},
    {plugin_log, "20:20:05.100 Marker shown by toggle_key (CTRL+F7) (script_main:301)",
     fine, fine, fine, fine, no_cause, no_cause},
    {plugin_log,
     "20:14:07.046 toggle_key has no effect: this ScriptHookRDR2.dll has no keyboard handler (script_main:90)",
     note, note, note, note, no_cause, no_cause},
    // A dictionary misspelt in the last start; one from before the update
    // tells of then.
    {plugin_log,
     "20:19:07.060 Texture dictionary \"generic_texturez\" has not loaded after 300 frames; check texture_dict in "
     "Ondrelle.ini (script_main:124)",
     problem, note, problem, note, no_cause, no_cause},
    // One known to exist was slow to load.
    {plugin_log,
     "20:19:07.060 Texture dictionary \"generic_textures\" has not loaded after 300 frames; check texture_dict in "
     "Ondrelle.ini (script_main:124)",
     note, note, note, note, no_cause, no_cause},
};
// clang-format on

// The line naming another plug-in in Ondrelle's place, whatever the case it
// was written in; the line itself when it names none.
std::string others_line(const std::string& line) {
    size_t at = lower_case(line).find("ondrelle.asi");
    if (at == std::string::npos) return line;
    return line.substr(0, at) + "OtherMod.asi" + line.substr(at + 12);
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    for (const LogLine& line : log_lines(text)) lines.push_back(line.text);
    return lines;
}

// A game folder whose log holds line alone, beside the other logs of the
// same start saying only that their programs ran, all of the last start or
// all from before the game's last update.
GameFolder folder_with(LogName log, const std::string& line, bool before_update) {
    GameFolder game = healthy_game_folder();
    if (before_update) game.game.written = kLastStart + 3600;
    put_log(&game, hook_log, log == hook_log ? line + "\r\n" : "[20:14:02] INIT: Started\r\n", kLastStart - 60);
    put_log(&game, loader_log, log == loader_log ? line + "\r\n" : "// RDR 2 ASI LOADER\r\n", kLastStart - 62);
    if (log == plugin_log) put_log(&game, plugin_log, line + "\r\n", kLastStart);
    return game;
}

const VerdictPart& part_of(const Verdict& verdict, LogName log) {
    return log == hook_log ? verdict.hook_log : log == loader_log ? verdict.loader_log : verdict.plugin_log;
}

// How the line comes out in its log's part.
Shown shown_as(LogName log, const std::string& line, bool before_update) {
    Verdict verdict = weigh_game_folder(folder_with(log, line, before_update), "1.4.0");
    std::vector<std::string> shown;
    for (const std::string& text : lines_of(line)) shown.push_back(shown_log_line(text));
    bool folded = false;
    for (const Finding& finding : part_of(verdict, log).findings) {
        if (finding.shown == shown && !shown.empty()) {
            if (finding.text.empty()) return unexplained;
            return finding.weight == finding_problem ? problem : finding.weight == finding_note ? note : fine;
        }
        folded = folded || finding.text.find("about other plug-ins or the program's own steps") != std::string::npos;
    }
    return folded ? counted : not_at_all;
}

const char* const kShownNames[] = {"counted", "fine", "note", "problem", "unexplained", "not at all"};

TEST(LogLineKinds, EachKindWeighsAsOndrellesAndAsAnotherPluginsNowAndBeforeTheGamesUpdate) {
    for (const KindRow& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_STREQ(kShownNames[shown_as(row.log, row.line, false)], kShownNames[row.ours_now]) << "Ondrelle's, now";
        EXPECT_STREQ(kShownNames[shown_as(row.log, row.line, true)], kShownNames[row.ours_before_update])
            << "Ondrelle's, before the update";
        std::string other = others_line(row.line);
        EXPECT_STREQ(kShownNames[shown_as(row.log, other, false)], kShownNames[row.other_now]) << "another's, now";
        EXPECT_STREQ(kShownNames[shown_as(row.log, other, true)], kShownNames[row.other_before_update])
            << "another's, before the update";
    }
}

// What the finding on a missing and on an empty Ondrelle.log holds, and how
// it weighs, for each cause.
struct CauseWords {
    Cause cause;
    FindingWeight missing_weight;
    const char* missing;
    FindingWeight empty_weight;  // in a log of the last start
    const char* empty;
};

// clang-format off
const CauseWords kCauseWords[] = {
    {others_only, finding_note, "the game has not loaded Ondrelle since it was put there",
     finding_problem, "its script never started"},
    {no_cause, finding_note, "has not been loaded since it was put there", finding_problem, "its script never started"},
    {hook_stopped, finding_fine, "the script hook stopped before Ondrelle's script could start",
     finding_fine, "the script hook stopped before Ondrelle's script could start"},
    {loader_could_not, finding_fine, "the ASI loader could not load Ondrelle.asi",
     finding_fine, "the ASI loader could not load Ondrelle.asi"},
    {shows_loaded, finding_note, "the logs above show that the plug-in was loaded",
     finding_problem, "its script never started"},
    {shows_launched, finding_note, "the logs above show that the plug-in was loaded",
     finding_note, "yet the hook's log above shows that it started Ondrelle's script"},
};
// clang-format on

const CauseWords& words_of(Cause cause) {
    for (const CauseWords& words : kCauseWords) {
        if (words.cause == cause) return words;
    }
    return kCauseWords[0];
}

Finding plugin_log_finding(GameFolder game, bool empty) {
    if (empty) put_log(&game, plugin_log, "", kLastStart);
    Verdict verdict = weigh_game_folder(game, "1.4.0");
    return verdict.plugin_log.findings.empty() ? said(finding_fine, "") : verdict.plugin_log.findings.back();
}

// A log from before the update tells of a start before it: it gives no
// cause, and an empty Ondrelle.log of then is only a note. Another plug-in's
// line gives none either.
TEST(LogLineKinds, EachKindGivesAMissingOrEmptyOndrelleLogItsCause) {
    for (const KindRow& row : kRows) {
        if (row.log == plugin_log) continue;
        SCOPED_TRACE(row.line);
        for (bool before_update : {false, true}) {
            for (const std::string& line : {std::string(row.line), others_line(row.line)}) {
                bool ours = line == row.line;
                const CauseWords& words = words_of(before_update ? no_cause : ours ? row.cause : row.others_cause);
                SCOPED_TRACE(std::string(before_update ? "before the update, " : "now, ") +
                             (ours ? "Ondrelle's" : "another's"));
                Finding missing = plugin_log_finding(folder_with(row.log, line, before_update), false);
                EXPECT_NE(missing.text.find(words.missing), std::string::npos) << missing.text;
                EXPECT_EQ(missing.weight, words.missing_weight) << missing.text;
                Finding empty = plugin_log_finding(folder_with(row.log, line, before_update), true);
                EXPECT_NE(empty.text.find(words.empty), std::string::npos) << empty.text;
                FindingWeight empty_weight =
                    before_update && words.empty_weight == finding_problem ? finding_note : words.empty_weight;
                EXPECT_EQ(empty.weight, empty_weight) << empty.text;
            }
        }
    }
}

TEST(LogLineKinds, EveryKindOfTheTableHasARowHere) {
    std::set<const LogLineKind*> tested;
    for (const KindRow& row : kRows) {
        std::vector<std::string> captured;
        std::string text = row.line;
        // Ondrelle.log's kinds are matched by the message of an entry.
        if (row.log == plugin_log) {
            std::vector<LogEntry> entries = plugin_log_entries(text);
            if (!entries.empty() && entries[0].kind != nullptr) tested.insert(entries[0].kind);
            continue;
        }
        const LogLineKind* kind = kind_of_line(row.log, text, &captured);
        if (kind != nullptr) tested.insert(kind);
    }
    for (int k = 0; k < kLogLineKindCount; ++k)
        EXPECT_EQ(tested.count(&kLogLineKinds[k]), 1u) << "no row for the kind " << kLogLineKinds[k].stem;
}

// A crash leaves a run of NUL bytes at the end of a log: said once, after the
// last line, however many lines the run spans.
TEST(LogLineKinds, ADamagedEndIsSaidOnceAfterTheLastLine) {
    for (LogName log : {hook_log, loader_log}) {
        for (const std::string& end : {std::string(40, '\0'), std::string(20, '\0') + "\r\n" + std::string(20, '\0')}) {
            GameFolder game = healthy_game_folder();
            put_log(&game, log, "INIT: Started\r\n// RDR 2 ASI LOADER\r\n" + end, kLastStart);
            Verdict verdict = weigh_game_folder(game, "1.4.0");
            const std::vector<Finding>& findings = part_of(verdict, log).findings;
            int damaged = 0;
            for (const Finding& finding : findings) damaged += finding.text.find("is damaged") != std::string::npos;
            EXPECT_EQ(damaged, 1) << (log == hook_log ? "the hook's log" : "the loader's log");
            ASSERT_FALSE(findings.empty());
            EXPECT_NE(findings.back().text.find("is damaged"), std::string::npos) << "said after the lines' count";
        }
    }
}

// Lines no kind explains are shown, the first few, then counted; but each
// that tells of an error is shown the first time, with how many more like it
// followed, up to kShownLinesThatMatter of them.
TEST(LogLineKinds, NoLineThatMattersIsFoldedAway) {
    std::string log;
    for (int i = 0; i < 10; ++i) log += "[20:14:02] an ordinary line " + std::to_string(i) + "\r\n";
    for (int i = 0; i < 30; ++i) log += "[20:14:02] plugin " + std::to_string(i) + " failed\r\n";
    for (int i = 0; i < 4; ++i) log += "[20:14:0" + std::to_string(i) + "] plugin 0 failed\r\n";
    GameFolder game = healthy_game_folder();
    put_log(&game, hook_log, log, kLastStart);
    Verdict verdict = weigh_game_folder(game, "1.4.0");
    size_t shown_that_matter = 0, ordinary = 0;
    std::string counted;
    for (const Finding& finding : verdict.hook_log.findings) {
        if (finding.shown.empty()) {
            counted += finding.text;
            continue;
        }
        bool matters = finding.shown[0].find("failed") != std::string::npos;
        shown_that_matter += matters;
        ordinary += !matters;
        if (finding.shown[0] == "[20:14:02] plugin 0 failed") {
            ASSERT_EQ(finding.shown.size(), 2u);
            EXPECT_EQ(finding.shown[1], "(4 more like it)");
        }
    }
    EXPECT_EQ(shown_that_matter, kShownLinesThatMatter);
    EXPECT_EQ(ordinary, 5u) << "the first few ordinary lines";
    EXPECT_NE(counted.find("(15 more lines that ondrelle-check does not know"), std::string::npos) << counted;
}

}  // namespace
