#!/usr/bin/env bash
# ondrelle-check over a table of game folders, each one made here in the
# system's temporary folder and removed afterwards: the good installation,
# each piece missing, damaged or made for 32-bit Windows, loaders known by
# what they are (Ultimate ASI Loader as dinput8.dll or version.dll, Windows'
# own version.dll, one not known), the plug-in in the asi folder (the checker
# started there too), in a folder of its own or renamed, settings in the
# wrong folder or saved as Ondrelle.ini.txt, two copies (in two folders or
# side by side), a settings fault alone, --strict with one note, an older
# plug-in, logs that are missing, empty, of an earlier start or from before
# the game's update, or hold every kind of line, folders in the settings'
# and the log's place, a folder that is no game's, near the game's or in
# Documents, and one that cannot be written. The rows run side by side. Each
# row's output and exit status must read as tests/fixtures/game_folders/
# ROW.check, which holds only the parts of the report the row is about (the
# folder's path shown as GAME); the rest must hold no Problem, no line may be
# wider than the console, the report file must hold what the screen showed,
# and the folder must be left as it was. The same table runs natively and,
# for ondrelle-check.exe, under Wine. Set ONDRELLE_UPDATE_GOLDEN=1 to write
# the .check files afresh, then review the diff.
# Usage: game_folder_test.sh EXPECTED_DIR FAKE_FILES_DIR DEFAULT_INI COMMAND...
set -u
expected_dir=$1
fakes=$2
default_ini=$3
shift 3
tool=("$@")
failures=0
# A time zone five and a half hours from UTC (a POSIX rule, which needs no
# zone files): the files are stamped in local time, and the tool must show
# them in local time too, not in UTC.
export WINEDEBUG=-all LC_ALL=C.UTF-8 TZ=XST-5:30
# Under Wine, the prefix stays the one the test was started with, even for
# the row that moves the home folder, where Wine would otherwise make one.
[ "${tool[0]}" = wine ] && export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
# Under Wine, the first program started brings up Wine's own services; they
# keep whatever output they were given open, so they get none of ours.
[ "${tool[0]}" = wine ] && { wine cmd /c exit; "${tool[@]}" --version; } >/dev/null 2>&1 </dev/null
# What is left of a word of Wine's own: the device service (winedevice, its
# ntoskrnl.exe) may stop under load, and says so on the output it was given,
# which may be a test's. A stop of the checker's own changes its exit status
# and its output, which the tests see all the same.
without_wines_own() { sed '/^wine: Unhandled page fault on .* starting debugger\.\.\.$/d'; }
# A short name: a heading that names a path must fit the console's width to
# be read back as GAME.
work=$(mktemp -d "${TMPDIR:-/tmp}/o-XXXXXX")
# The read-only file systems of rows cut short are taken away with the rest.
clean_up() {
  local mount_point
  while read -r _ mount_point _; do
    mount_point=$(printf '%b' "$mount_point")
    case $mount_point in "$work"/*) umount "$mount_point" ;; esac
  done </proc/mounts 2>/dev/null
  rm -rf "$work"
}
trap clean_up EXIT

# ---- What a folder may hold ----

game_files() {  # the game, the hook and the loader; the game last updated well before the logs
  cp "$fakes/RDR2.exe" "$fakes/ScriptHookRDR2.dll" "$fakes/dinput8.dll" "$1/"
  touch -d "2025-12-01 10:00" "$1/RDR2.exe"
}
plugin() {  # Ondrelle.asi and its settings in folder $1, written at the given times
  cp "$fakes/Ondrelle.asi" "$1/Ondrelle.asi"
  touch -d "2026-01-02 03:04" "$1/Ondrelle.asi"
  cp "$default_ini" "$1/Ondrelle.ini"
  touch -d "2026-01-02 03:05" "$1/Ondrelle.ini"
}
log() {  # Ondrelle.log in folder $1 from the lines on standard input, CR LF as the plug-in writes them
  sed 's/$/\r/' > "$1/Ondrelle.log"
  touch -d "${2:-2026-01-03 20:15}" "$1/Ondrelle.log"
}
started_log() {
  printf '%s\n' "20:14:07.045 Script started (script_main:29)" "20:14:07.046 Config file reloaded (config:216)" | log "$1"
}
hook_log() {  # the hook's log of a start, as the hook writes it: a header, then timed lines
  { echo "// ScriptHookRDR2 log"; sed 's/^/[20:14:02] /'; } | sed 's/$/\r/' > "$1/ScriptHookRDR2.log"
  touch -d "${2:-2026-01-03 20:14:03}" "$1/ScriptHookRDR2.log"
}
loader_log() {  # the loader's log of a start, written as the start begins: no times
  { echo "// RDR 2 ASI LOADER (build Jan  3 2026)"; cat; } | sed 's/$/\r/' > "$1/asiloader.log"
  touch -d "${2:-2026-01-03 20:14:01}" "$1/asiloader.log"
}
hook_logs() {  # both logs of a start that loaded Ondrelle and another plug-in
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" \
    "INIT: Registering script 'Ondrelle.asi'" "INIT: Registering script 'OtherMod.asi'" \
    "CORE: Launching main() for 'Ondrelle.asi'" "CORE: Launching main() for 'OtherMod.asi'" | hook_log "$1"
  printf '%s\n' "LOADER: Loading *.asi plugins" "ASI: Loading \"D:\\Games\\RDR2\\Ondrelle.asi\"" \
    "\"Ondrelle.asi\" => 0x00007FFC12340000" "ASI: Loading \"D:\\Games\\RDR2\\OtherMod.asi\"" \
    "\"OtherMod.asi\" => 0x00007FFC22340000" "LOADER: Finished loading *.asi plugins" | loader_log "$1"
}
good() { game_files "$1"; plugin "$1"; started_log "$1"; hook_logs "$1"; }
# fault_logged FOLDER KEY VALUE EXPECTED: KEY set to VALUE in the folder's
# settings, and Ondrelle.log of a start that refused it on its line.
fault_logged() {
  sed -i "s/^$2 = .*/$2 = $3/" "$1/Ondrelle.ini"
  local line
  line=$(grep -n "^$2 " "$1/Ondrelle.ini" | cut -d: -f1)
  printf '%s\n' "20:14:07.045 Script started (script_main:29)" \
    "20:14:07.046 Config file line #$line: failed to parse value ($4): $3 (config:158)" \
    "20:14:07.047 Config file reloaded (config:280)" | log "$1"
}

# ---- The rows ----

row_good_installation() { good "$1"; start_in=.; about=(folder hook_log loader_log settings plugin_log); }
row_no_script_hook() { good "$1"; rm "$1/ScriptHookRDR2.dll" "$1/ScriptHookRDR2.log"; about=(folder); }
row_no_asi_loader() { good "$1"; rm "$1/dinput8.dll" "$1/asiloader.log" "$1/Ondrelle.log"; about=(folder plugin_log); }  # so no log either
row_no_plugin() { game_files "$1"; cp "$default_ini" "$1/Ondrelle.ini"; about=(folder); }
row_unpacked_into_a_folder_of_its_own() { game_files "$1"; mkdir "$1/Ondrelle-1.2.0"; plugin "$1/Ondrelle-1.2.0"; about=(folder); }
row_plugin_in_a_mod_managers_folder() { game_files "$1"; mkdir -p "$1/lml/Ondrelle"; plugin "$1/lml/Ondrelle"; about=(folder); }
row_plugin_saved_as_dll() { good "$1"; mv "$1/Ondrelle.asi" "$1/Ondrelle.dll"; about=(folder); }
row_no_settings_file() {
  game_files "$1"; plugin "$1"; rm "$1/Ondrelle.ini"
  printf '%s\n' "20:14:07.045 Script started (script_main:29)" "20:14:07.046 CreateFile failed (config:262)" \
    "20:14:08.051 CreateFile failed (config:262)" "20:14:09.056 CreateFile failed (config:262)" \
    "20:14:10.061 CreateFile failed (config:262)" | log "$1"
  about=(folder plugin_log)
}
row_asi_subfolder() { game_files "$1"; mkdir "$1/asi"; plugin "$1/asi"; started_log "$1/asi"; about=(folder settings); }
row_started_in_the_asi_folder() { row_asi_subfolder "$1"; start_in=asi; about=(folder settings); }  # the package put there whole
row_named_the_asi_folder() { row_asi_subfolder "$1"; named=$game_path/asi; about=(folder settings); }
row_started_in_the_scripts_folder() { game_files "$1"; mkdir "$1/scripts"; plugin "$1/scripts"; start_in=scripts; about=(folder); }
row_settings_in_the_other_folder() {
  game_files "$1"; mkdir "$1/asi"; plugin "$1/asi"; mv "$1/asi/Ondrelle.ini" "$1/"
  printf '%s\n' "20:14:07.045 Script started (script_main:29)" "20:14:07.046 CreateFile failed (config:262)" \
    "20:14:08.051 CreateFile failed (config:262)" | log "$1/asi"
  about=(folder plugin_log)
}
row_settings_misspelt() { good "$1"; mv "$1/Ondrelle.ini" "$1/Ondrel.ini"; about=(folder); }
row_settings_saved_as_ini_txt() { good "$1"; mv "$1/Ondrelle.ini" "$1/Ondrelle.ini.txt"; about=(folder); }
row_a_second_download_beside_the_settings() {  # and a copy, and a backup, none of which the plug-in reads
  good "$1"; cp "$1/Ondrelle.ini" "$1/Ondrelle (1).ini"; cp "$1/Ondrelle.ini" "$1/Ondrelle - Copy.ini"
  cp "$1/Ondrelle.ini" "$1/Ondrelle.ini.bak"
  about=(folder)
}
row_the_download_beside_the_plugin() { good "$1"; printf 'PK\3\4' > "$1/Ondrelle.zip"; about=(folder); }  # no settings file
row_two_copies() { good "$1"; mkdir "$1/asi"; cp "$1/Ondrelle.asi" "$1/asi/"; about=(folder); }
row_two_copies_each_with_its_settings() { row_two_copies "$1"; cp "$1/Ondrelle.ini" "$1/asi/"; about=(folder); }
row_a_fault_in_the_settings() {  # the only thing in the marker's way
  good "$1"; sed -i 's/^mark_humans = yes$/mark_humans = Yes/' "$1/Ondrelle.ini"
  about=(settings)
}
row_strict_with_one_note() {  # run with --strict
  good "$1"; sed -i 's/^opacity = .*$/opacity = 0230/' "$1/Ondrelle.ini"; options=(--strict)
  about=(settings)
}
row_older_plugin() {  # an update that copied the new checker and kept the old plug-in
  good "$1"; cp "$fakes/Ondrelle-1.1.0.asi" "$1/Ondrelle.asi"; touch -d "2026-01-02 03:04" "$1/Ondrelle.asi"
  about=(folder)
}
row_newer_plugin_than_the_checker() {
  good "$1"; cp "$fakes/Ondrelle-9.0.0.asi" "$1/Ondrelle.asi"; touch -d "2026-01-02 03:04" "$1/Ondrelle.asi"
  about=(folder)
}
row_empty_log() { good "$1"; : | log "$1"; about=(plugin_log); }  # though the hook started the script
row_empty_log_and_no_script_started() {
  good "$1"; : | log "$1"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" \
    "INIT: Registering script 'Ondrelle.asi'" | hook_log "$1"
  about=(hook_log plugin_log)
}
row_stale_log() { good "$1"; touch -d "2025-11-30 18:00" "$1/Ondrelle.log"; about=(plugin_log); }
row_no_log() { good "$1"; rm "$1/Ondrelle.log"; about=(plugin_log); }
row_no_logs_at_all() {  # the loader never ran: under Proton, without the launch option
  game_files "$1"; plugin "$1"
  about=(plugin_log)
}
row_every_kind_of_log_line() {
  game_files "$1"; plugin "$1"
  # The settings file now, older than the log: its mark_humans line still
  # holds the fault the log names, and it still names the texture dictionary
  # the game never loaded.
  sed -i -e 's/^mark_humans = yes$/mark_humans = Yes/' -e 's/^texture_dict = .*/texture_dict = generic_texturez/' \
    "$1/Ondrelle.ini"
  touch -d "2026-01-02 03:05" "$1/Ondrelle.ini"
  local humans
  humans=$(grep -n '^mark_humans' "$1/Ondrelle.ini" | cut -d: -f1)
  printf '%s\n' \
    "20:14:07.045 Script started (script_main:29)" \
    "20:14:07.046 CreateFile failed (config:262)" \
    "20:14:08.047 GetFileTime failed: 32 (config:268)" \
    "20:14:09.048 fopen failed (config:280)" \
    "20:14:10.049 Config file line #3: line too long (>2000) (config:195)" \
    "20:14:10.050 Config file line #3: didn't reach EOF (ferror 0) (config:233)" \
    "20:14:11.051 Config file line #4: not delimited by '=' (config:198)" \
    "20:14:12.052 Config file line #5: unknown key: colour (config:207)" \
    "20:14:13.053 Config file line #$humans: failed to parse value (expected yes/no): Yes (config:121)" \
    "20:14:13.054 Config file line #6: failed to parse value (expected a decimal number): fast (config:93)" \
    "20:14:13.055 Config file line #7: failed to parse value (expected an integer): nine (config:107)" \
    "20:14:13.056 Config file line #8: value too long (>128) (config:132)" \
    "20:14:13.057 Config file reloaded (config:216)" \
    "20:14:14.058 Config file line #9: didn't reach EOF (ferror 1) (config:233)" \
    "20:14:15.059 Error in config file: One or more keys are missing." \
    "If you just updated the mod, check the changelog or the default config file for new values." \
    " (config:219)" \
    "20:19:07.060 Texture dictionary \"generic_texturez\" has not loaded after 300 frames; check texture_dict in Ondrelle.ini (script_main:124)" \
    "20:19:08.061 A line that no Ondrelle ever wrote (elsewhere:1)" \
    "A line of no entry, between two of Ondrelle's" \
    "20:19:09.062 Config file reloaded (config:216)" | log "$1"
  about=(settings plugin_log)
}
# A log that names a line past the first 2 KB of the file, which the game
# reads in pieces of 2047 characters: the notes name the same line.
row_a_fault_near_the_end_of_the_settings() {
  good "$1"; fault_logged "$1" object_offset_z high "expected a decimal number"
  touch -d "2026-01-02 03:05" "$1/Ondrelle.ini"
  about=(settings plugin_log)
}
row_settings_starting_with_a_blank_line() {  # every line one further down than in the file shipped
  good "$1"; { echo; cat "$default_ini"; } > "$1/Ondrelle.ini"; fault_logged "$1" mark_humans Yes "expected yes/no"
  touch -d "2026-01-02 03:05" "$1/Ondrelle.ini"
  about=(settings plugin_log)
}
row_a_fault_fixed_since() {  # the log names two faults; the settings file saved after has neither
  good "$1"
  local humans
  humans=$(grep -n '^mark_humans' "$1/Ondrelle.ini" | cut -d: -f1)
  printf '%s\n' "20:14:07.045 Script started (script_main:29)" \
    "20:14:07.046 Config file line #$humans: failed to parse value (expected yes/no): Yes (config:121)" \
    "20:14:07.047 Config file reloaded (config:216)" \
    "20:19:07.060 Texture dictionary \"generic_texturez\" has not loaded after 300 frames; check texture_dict in Ondrelle.ini (script_main:124)" | log "$1"
  touch -d "2026-01-03 20:30" "$1/Ondrelle.ini"
  about=(plugin_log)
}
row_junk_at_the_end_of_the_log() {  # a crash: bytes no program meant, then the NUL bytes of a cut-off write
  good "$1"
  { printf '%s\r\n' "20:14:07.045 Script started (script_main:29)" "20:14:07.046 Config file reloaded (config:216)"
    printf 'caf\xe9 \x1b[31mred\r\n'
    head -c 3000 /dev/zero | tr '\0' 'x'; printf '\r\n'
    for i in $(seq 1 10000); do printf 'junk A\r\njunk B\r\n'; done
    head -c 600 /dev/zero; } > "$1/Ondrelle.log"
  touch -d "2026-01-03 20:15" "$1/Ondrelle.log"
  about=(plugin_log)
}
row_not_the_game_folder() { plugin "$1"; about=(folder); }  # where the package was unpacked
row_an_empty_folder() { :; about=(folder); }
row_a_damaged_download() {  # a plug-in cut short inside its last section, and a web page saved as the hook
  good "$1"; truncate -s 3000 "$1/Ondrelle.asi"; touch -d "2026-01-02 03:04" "$1/Ondrelle.asi"
  printf '<!DOCTYPE html>\n<title>Download</title>\n' > "$1/ScriptHookRDR2.dll"
  about=(folder)
}
row_loader_under_another_name() {  # a loader that names the files it loads, as any loader does, and writes no log
  good "$1"; mv "$1/dinput8.dll" "$1/version.dll"; printf 'Loading *.asi\0' >> "$1/version.dll"; rm "$1/asiloader.log"
  about=(folder)
}
row_loader_under_another_name_before_the_game_started() {
  row_loader_under_another_name "$1"; rm "$1/Ondrelle.log" "$1/ScriptHookRDR2.log"
  about=(folder plugin_log)
}
row_a_second_loader_beside_dinput8() { good "$1"; cp "$1/dinput8.dll" "$1/winmm.dll"; printf 'Loading *.asi\0' >> "$1/winmm.dll"; about=(folder); }
row_a_library_that_ends_every_process() {  # a version.dll the checker must never load, run from the game folder
  good "$1"; cp "$fakes/version-that-exits.dll" "$1/version.dll"
  start_in=. copy_tool=1 wine_overrides="version=n,b"
  about=(folder)
}
row_plugin_under_another_name() { good "$1"; mv "$1/Ondrelle.asi" "$1/Ondrelle (1).asi"; about=(folder hook_log loader_log); }  # a second download
row_update_kept_beside_the_old_copy() {  # Explorer's "Keep both files" when copying the new version in
  good "$1"; mv "$1/Ondrelle.asi" "$1/Ondrelle (2).asi"
  cp "$fakes/Ondrelle-1.1.0.asi" "$1/Ondrelle.asi"; touch -d "2025-10-01 12:00" "$1/Ondrelle.asi"
  about=(folder hook_log loader_log)
}
row_loader_under_another_name_in_utf16() {  # it names the files it loads in UTF-16 alone, as Windows' own names are
  good "$1"; mv "$1/dinput8.dll" "$1/version.dll"; printf '.\0a\0s\0i\0' >> "$1/version.dll"; rm "$1/asiloader.log"
  about=(folder)
}
row_two_downloads_the_older_listed_first() {  # Windows lists "Ondrelle (1).asi" first: the newer one is still kept
  good "$1"; rm "$1/Ondrelle.asi"; cp "$fakes/Ondrelle-1.1.0.asi" "$1/Ondrelle (1).asi"
  cp "$fakes/Ondrelle.asi" "$1/Ondrelle (2).asi"; touch -d "2026-01-02 03:04" "$1"/*.asi; about=(folder)
}
row_a_copy_three_folders_down() { game_files "$1"; mkdir -p "$1/lml/mods/Ondrelle"; plugin "$1/lml/mods/Ondrelle"; about=(folder); }  # not looked for
row_plugin_saved_over_by_a_web_page() {  # no version resource, no Windows library
  good "$1"; printf '<!DOCTYPE html>\n<title>Ondrelle</title>\n' > "$1/Ondrelle.asi"; touch -d "2026-01-02 03:04" "$1/Ondrelle.asi"
  about=(folder)
}
row_folder_under_my_program_files_that_cannot_be_written() { good "$1"; read_only=1; about=(folder); }  # not Program Files

# Where a program's PE header starts, as its first header says.
pe_header_at() { od -An -tu4 -j60 -N4 "$1" | tr -d ' '; }
# Patches a program's machine, in its PE header, to i386: made for 32-bit Windows.
make_32_bit() {
  printf '\x4c\x01' | dd of="$1" bs=1 seek=$(($(pe_header_at "$1") + 4)) conv=notrunc status=none
}
row_a_loader_cut_after_its_signature() { good "$1"; truncate -s $(($(pe_header_at "$1/dinput8.dll") + 4)) "$1/dinput8.dll"; about=(folder); }
row_a_loader_cut_inside_its_header() {  # its machine there, the count of its sections not
  good "$1"; truncate -s $(($(pe_header_at "$1/dinput8.dll") + 7)) "$1/dinput8.dll"
  about=(folder)
}
row_a_loader_for_32_bit_games() { good "$1"; make_32_bit "$1/dinput8.dll"; about=(folder); }  # the other download of an ASI loader
row_a_cut_off_game() { good "$1"; truncate -s 100 "$1/RDR2.exe"; touch -d "2025-12-01 10:00" "$1/RDR2.exe"; about=(folder); }  # its header points past its end
row_folder_that_cannot_be_written() { good "$1"; rm "$1/Ondrelle.log"; read_only=1; about=(folder plugin_log); }  # so the game never wrote its log
row_folder_under_program_files_that_cannot_be_written() { good "$1"; read_only=1; about=(folder); }
row_read_only_settings_file() { good "$1"; chmod a-w "$1/Ondrelle.ini"; about=(folder); }
row_folders_named_like_the_settings_and_the_log() {  # an unpacking gone wrong
  good "$1"; rm "$1/Ondrelle.ini" "$1/Ondrelle.log"; mkdir "$1/Ondrelle.ini" "$1/Ondrelle.log"
  about=(folder plugin_log)
}

# The script hook's and the loader's lines, each with what it means.
row_hook_does_not_know_the_game_version() {  # its build the game's, its revision not: the game closed
  good "$1"; : | log "$1"
  printf '%s\n' "INIT: Started" "FATAL: Unknown game version" | hook_log "$1"
  about=(hook_log plugin_log)
}
row_hook_older_than_the_game() {  # the game updated since the last start, which the hook took then
  good "$1"; cp "$fakes/ScriptHookRDR2-1436.dll" "$1/ScriptHookRDR2.dll"; touch -d "2026-01-05 09:00" "$1/RDR2.exe"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1436_31" "INIT: Registering script 'Ondrelle.asi'" \
    "CORE: Launching main() for 'Ondrelle.asi'" | hook_log "$1"
  about=(folder hook_log loader_log plugin_log)
}
row_hook_older_than_the_game_but_accepting_it() {  # a log written since the update says it accepted the game
  row_hook_older_than_the_game "$1"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_AUTO" "INIT: Registering script 'Ondrelle.asi'" \
    "CORE: Launching main() for 'Ondrelle.asi'" | hook_log "$1" "2026-01-06 20:00"
  started_log "$1"; touch -d "2026-01-06 20:01" "$1/Ondrelle.log"
  about=(folder hook_log loader_log plugin_log)
}
row_hook_failed() {  # any other fatal line: the hook does not fit the game
  good "$1"; rm "$1/Ondrelle.log"
  printf '%s\n' "INIT: Started" "FATAL: Can't find native 0x4A123E85D7C4CA0B" | hook_log "$1"
  about=(hook_log plugin_log)
}
row_script_failed() {
  good "$1"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" \
    "INIT: Registering script 'Ondrelle.asi'" "CORE: Launching main() for 'Ondrelle.asi'" \
    "CORE: An exception occurred while executing 'Ondrelle.asi', id 0xC0000005" | hook_log "$1"
  about=(hook_log)
}
row_game_closed_for_going_online() {  # Story Mode only: no fault
  good "$1"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" \
    "INIT: Registering script 'Ondrelle.asi'" "CORE: Launching main() for 'Ondrelle.asi'" \
    "CORE: Terminating the game, disable mods in order to go Online" | hook_log "$1"
  about=(hook_log)
}
row_loader_refused_the_plugin() {  # Windows gave no reason, and the checker finds none
  good "$1"; rm "$1/Ondrelle.log"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" | hook_log "$1"
  printf '%s\n' "LOADER: Loading *.asi plugins" "ASI: Loading \"D:\\Games\\RDR2\\Ondrelle.asi\"" \
    "\"Ondrelle.asi\" failed to load" "LOADER: Finished loading *.asi plugins" | loader_log "$1"
  about=(hook_log loader_log plugin_log)
}
row_loader_refused_a_32_bit_plugin() { row_loader_refused_the_plugin "$1"; make_32_bit "$1/Ondrelle.asi"; about=(folder hook_log loader_log plugin_log); }
row_loader_failed() {
  good "$1"; rm "$1/Ondrelle.log"; printf '%s\n' "FATAL: Init failed!" | loader_log "$1"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" | hook_log "$1"
  about=(hook_log loader_log plugin_log)
}

# One timeline of starts, and the loader known by what it is.
row_loader_log_of_an_earlier_start_refused_the_plugin() {  # 3 days before the last start, which loaded it
  good "$1"
  printf '%s\n' "LOADER: Loading *.asi plugins" "ASI: Loading \"D:\\Games\\RDR2\\Ondrelle.asi\"" \
    "\"Ondrelle.asi\" failed to load" "LOADER: Finished loading *.asi plugins" | loader_log "$1" "2025-12-31 20:14"
  about=(loader_log)
}
ultimate_asi_loader() {  # Ultimate ASI Loader as $2 in folder $1, in place of dinput8.dll; it writes no log
  rm -f "$1/dinput8.dll" "$1/asiloader.log"; cp "$fakes/UltimateAsiLoader.dll" "$1/$2"
}
row_ultimate_asi_loader_as_dinput8_with_the_plugin_in_scripts() {  # the hook's log launched it
  game_files "$1"; ultimate_asi_loader "$1" dinput8.dll; mkdir "$1/scripts"; plugin "$1/scripts"; started_log "$1/scripts"
  hook_logs "$1"; rm "$1/asiloader.log"; about=(folder plugin_log)
}
row_ultimate_asi_loader_as_version_with_the_plugin_in_asi() {  # the last start's hook log has no word of it
  game_files "$1"; ultimate_asi_loader "$1" version.dll; mkdir "$1/asi"; plugin "$1/asi"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" "INIT: Registering script 'OtherMod.asi'" \
    "CORE: Launching main() for 'OtherMod.asi'" | hook_log "$1"
  about=(folder)
}
row_ultimate_asi_loader_as_version_with_the_plugin_in_asi_launched() {  # the last start's hook log overrules the folders
  row_ultimate_asi_loader_as_version_with_the_plugin_in_asi "$1"; started_log "$1/asi"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" "INIT: Registering script 'Ondrelle.asi'" \
    "CORE: Launching main() for 'Ondrelle.asi'" | hook_log "$1"
  about=(folder)
}
row_no_log_at_all_with_two_loaders() {  # the launch option names both
  game_files "$1"; cp "$fakes/UltimateAsiLoader.dll" "$1/version.dll"; plugin "$1"; about=(folder plugin_log)
}
row_no_log_at_all_in_a_folder_that_cannot_be_written() {  # no log could be written: nothing said of the loader
  game_files "$1"; plugin "$1"; read_only=1; about=(plugin_log)
}
row_no_log_at_all_with_version_dll() {  # under Proton without the launch option, which must name version.dll
  game_files "$1"; ultimate_asi_loader "$1" version.dll; plugin "$1"; about=(plugin_log)
}
row_game_dated_ahead() {  # RDR2.exe dated in years to come; the hook failed in the last start
  good "$1"; touch -d "2099-01-01 10:00" "$1/RDR2.exe"; : | log "$1"
  printf '%s\n' "INIT: Started" "FATAL: Can't find native 0x4A123E85D7C4CA0B" | hook_log "$1"
  about=(folder hook_log plugin_log)
}
row_last_start_registered_another_plugin_only() {  # Ondrelle.log two days older than it
  good "$1"; started_log "$1"; touch -d "2026-01-01 20:15" "$1/Ondrelle.log"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" "INIT: Registering script 'OtherMod.asi'" \
    "CORE: Launching main() for 'OtherMod.asi'" | hook_log "$1"
  printf '%s\n' "LOADER: Loading *.asi plugins" "ASI: Loading \"D:\\Games\\RDR2\\OtherMod.asi\"" \
    "\"OtherMod.asi\" => 0x00007FFC22340000" "LOADER: Finished loading *.asi plugins" | loader_log "$1"
  about=(plugin_log)
}
row_read_only_log_of_an_earlier_start() {  # the last start launched Ondrelle, but could not write its log
  good "$1"; touch -d "2025-12-29 20:15" "$1/Ondrelle.log"; chmod a-w "$1/Ondrelle.log"; about=(plugin_log)
}
row_a_fault_whose_line_moved_down() {  # a line added above it since: the fault is still there, one line lower
  good "$1"; fault_logged "$1" mark_humans Yes "expected yes/no"
  sed -i '1i ; my own settings' "$1/Ondrelle.ini"; touch -d "2026-01-04 10:00" "$1/Ondrelle.ini"
  about=(plugin_log)
}
row_a_fresh_install() {  # no Ondrelle.log yet; the hook's log of yesterday's start, with other plug-ins
  game_files "$1"; plugin "$1"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" "INIT: Registering script 'OtherMod.asi'" \
    "CORE: Launching main() for 'OtherMod.asi'" | hook_log "$1"
  about=(plugin_log)
}
row_windows_own_version_dll() { good "$1"; cp "$fakes/version-of-windows.dll" "$1/version.dll"; about=(folder); }  # no loader
row_game_older_than_its_hook() {  # the hook is made for a later build than the game's
  good "$1"; cp "$fakes/RDR2-1436.exe" "$1/RDR2.exe"; touch -d "2025-12-01 10:00" "$1/RDR2.exe"; : | log "$1"
  printf '%s\n' "INIT: Started" "FATAL: Unknown game version" | hook_log "$1"
  about=(hook_log)
}
row_started_one_folder_below() { good "$1"; mkdir "$1/x64"; start_in=x64; about=(folder); }
row_started_in_the_settings_folder_in_documents() { mkdir -p "$1/Settings" "$1/Profiles"; about=(folder); }
row_log_holding_only_the_start() {
  good "$1"; printf '%s\n' "20:14:07.045 Script started (script_main:29)" | log "$1"; about=(plugin_log)
}
row_loader_refused_a_path_it_could_not_write() {  # a letter the system's code page lacks came out as '?'
  good "$1"; rm "$1/Ondrelle.log"
  printf '%s\n' "INIT: Started" "INIT: Success, game version is VER_1_0_1491_50" | hook_log "$1"
  printf '%s\n' "LOADER: Loading *.asi plugins" "ASI: Loading \"D:\\Spi?le\\RDR2\\Ondrelle.asi\"" \
    "\"D:\\Spi?le\\RDR2\\Ondrelle.asi\" failed to load" "LOADER: Finished loading *.asi plugins" | loader_log "$1"
  about=(loader_log)
}

row_game_folder_inside_the_users_home() {  # the report takes the home folder out; the screen shows it
  good "$1"; home_here=1; about=(folder)
}

# A Program Files path for the rows that need one; the work folder's game otherwise.
declare -A game_paths=([folder_under_program_files_that_cannot_be_written]="Program Files/RDR2"
  [started_in_the_settings_folder_in_documents]="Rockstar Games/Red Dead Redemption 2"
  [loader_refused_a_path_it_could_not_write]="Spiële/RDR2"
  [folder_under_my_program_files_that_cannot_be_written]="MyProgram Files/RDR2")

rows=(good_installation no_script_hook no_asi_loader no_plugin unpacked_into_a_folder_of_its_own plugin_in_a_mod_managers_folder
  plugin_saved_as_dll no_settings_file asi_subfolder started_in_the_asi_folder named_the_asi_folder started_in_the_scripts_folder
  settings_in_the_other_folder settings_misspelt settings_saved_as_ini_txt a_second_download_beside_the_settings
  the_download_beside_the_plugin two_copies two_copies_each_with_its_settings a_fault_in_the_settings strict_with_one_note
  older_plugin newer_plugin_than_the_checker empty_log empty_log_and_no_script_started stale_log no_log no_logs_at_all
  every_kind_of_log_line a_fault_near_the_end_of_the_settings settings_starting_with_a_blank_line a_fault_fixed_since
  junk_at_the_end_of_the_log not_the_game_folder an_empty_folder
  a_damaged_download loader_under_another_name loader_under_another_name_before_the_game_started
  a_second_loader_beside_dinput8 a_library_that_ends_every_process plugin_under_another_name
  update_kept_beside_the_old_copy two_downloads_the_older_listed_first a_copy_three_folders_down
  plugin_saved_over_by_a_web_page loader_under_another_name_in_utf16 a_loader_for_32_bit_games a_loader_cut_after_its_signature a_loader_cut_inside_its_header
  a_cut_off_game folder_that_cannot_be_written
  folder_under_program_files_that_cannot_be_written folder_under_my_program_files_that_cannot_be_written
  read_only_settings_file folders_named_like_the_settings_and_the_log
  hook_does_not_know_the_game_version hook_older_than_the_game hook_older_than_the_game_but_accepting_it hook_failed
  script_failed game_closed_for_going_online loader_refused_the_plugin loader_refused_a_32_bit_plugin loader_failed
  loader_log_of_an_earlier_start_refused_the_plugin ultimate_asi_loader_as_dinput8_with_the_plugin_in_scripts
  ultimate_asi_loader_as_version_with_the_plugin_in_asi no_log_at_all_with_version_dll game_dated_ahead
  last_start_registered_another_plugin_only read_only_log_of_an_earlier_start a_fault_whose_line_moved_down
  a_fresh_install windows_own_version_dll game_older_than_its_hook started_one_folder_below
  started_in_the_settings_folder_in_documents log_holding_only_the_start loader_refused_a_path_it_could_not_write
  game_folder_inside_the_users_home ultimate_asi_loader_as_version_with_the_plugin_in_asi_launched
  no_log_at_all_with_two_loaders no_log_at_all_in_a_folder_that_cannot_be_written)

# ---- Running a row ----

# How a row is run, set by the row itself: from inside the game folder (".")
# or one of its subfolders, as a double-click starts it, or by --game-folder
# naming the folder (its path from the row's folder, with a separator at its
# end, as a shell's completion names it); with --strict; from a copy of the
# tool in the game folder, with Wine told to load libraries found there. And
# the parts of the report the row is about: folder, hook_log, loader_log,
# settings, plugin_log.
reset_how_to_run() {
  start_in="" named="$game_path/" options=() copy_tool="" read_only="" wine_overrides="" about=() home_here=""
}

# The tool's output and exit status for the game folder under base, run as
# the row says, with the folder's path shown as GAME. The report it writes
# goes to base/report, through the tests' seam, or for a folder that cannot
# be written, to that folder, so that it goes to the temporary folder
# instead; the screen's text must be the report's, with the user's home
# folder (base itself, for a row whose game folder is inside it) taken out,
# and the line that says where the report is, left out here, must say so.
run_row() {
  local base=$1 output status shown tool_run=("${tool[@]}") report=$1/report home=${HOME:-} temporary=$1/tmp
  mkdir -p "$report" "$base/tmp"
  # Wine keeps its server's socket in the temporary folder: a folder of the
  # row's own would start Wine's server and services afresh for every row.
  [ "${tool[0]}" = wine ] && temporary=${TMPDIR:-/tmp}
  [ -n "$read_only" ] && report=$base/$game_path
  [ -n "$home_here" ] && home=$base
  [ "${tool[0]}" = wine ] && report=Z:$report
  if [ -n "$copy_tool" ]; then
    cp "${tool[-1]}" "$base/$game_path/"
    tool_run=("${tool[@]:0:${#tool[@]}-1}" "$base/$game_path/$(basename "${tool[-1]}")")
  fi
  if [ -n "$start_in" ]; then
    output=$(cd "$base/$game_path/$start_in" && HOME=$home TMPDIR=$temporary ONDRELLE_CHECK_REPORT_FOLDER=$report WINEDLLOVERRIDES=$wine_overrides "${tool_run[@]}" "${options[@]}" 2>&1 </dev/null | tr -d '\r' | without_wines_own; exit "${PIPESTATUS[0]}")
  else
    output=$(cd "$base" && HOME=$home TMPDIR=$temporary ONDRELLE_CHECK_REPORT_FOLDER=$report "${tool_run[@]}" "${options[@]}" --game-folder "$named" 2>&1 </dev/null | tr -d '\r' | without_wines_own; exit "${PIPESTATUS[0]}")
  fi
  status=$?
  [ -n "$copy_tool" ] && rm "$base/$game_path/$(basename "${tool[-1]}")"
  check_report "$base" "$output" "$home"
  output=$(sed '/^Report: /,$d' <<<"$output" | sed '$ { /^$/d }')
  # Wine's drive Z: is the root of the file system: the path is known without
  # asking Wine again, which may fail as its short-lived servers come and go.
  shown=$base/$game_path
  [ "${tool[0]}" = wine ] && shown=Z:$base/$game_path
  printf '%s\n(exit %s)\n' "$output" "$status" | tr '\\' '/' |
    SHOWN=$shown awk '{ while ((i = index($0, ENVIRON["SHOWN"])) > 0) $0 = substr($0, 1, i - 1) "GAME" substr($0, i + length(ENVIRON["SHOWN"])); print }'
}

# Whether the report holds what the screen showed (before the line on the
# report), the home folder home as <user>, where the screen's last line says
# it is: in base/report, or for a folder that cannot be written, not in it; a
# word on what differs in ROW.report otherwise. The report is taken away.
check_report() {
  local base=$1 output=$2 home=$3 said file expected
  said=$(sed -n '/^Report: /,$p' <<<"$output" | sed 's/^ *//' | paste -sd ' ')
  file=$(sed -n 's/^Report: \(.*ondrelle-check-report\.txt\) holds all of the above.*/\1/p' <<<"$said" | tr '\\' '/')
  [ "${file:0:2}" = Z: ] && file=${file:2}
  case $file in
    "") echo "the screen does not say where the report is: $said" > "$results/$name.report"; return ;;
    "$base/$game_path"/*) echo "the report was left in the folder looked at: $file" > "$results/$name.report"; return ;;
  esac
  if [ ! -f "$file" ] && [ "${tool[0]}" = wine ]; then
    file=$(winepath -u "$(sed -n 's/^Report: \(.*ondrelle-check-report\.txt\) holds.*/\1/p' <<<"$said")" 2>/dev/null)
  fi
  if [ ! -f "$file" ]; then
    echo "no report where the screen says: $said" > "$results/$name.report"
    return
  fi
  expected=$(sed '/^Report: /,$d' <<<"$output" | sed '$ { /^$/d }')
  [ -n "$home_here" ] && [ "${tool[0]}" != wine ] && expected=${expected//$home/<user>}
  [ "$expected" = "$(tr -d '\r' < "$file")" ] ||
    diff <(printf '%s\n' "$expected") <(tr -d '\r' < "$file") > "$results/$name.report"
  rm -f "$file"
}

# A read-only file system over the game folder under base, as a folder under
# Program Files is to a player who is not an administrator: root, who may
# write anywhere else, may not write there either.
make_read_only() {
  local base=$1 copy
  copy=$(mktemp -d "$base/copy-XXXXXX")
  cp -a "$base/$game_path/." "$copy/" && mount -t tmpfs -o size=4m tmpfs "$base/$game_path" 2>/dev/null &&
    cp -a "$copy/." "$base/$game_path/" && mount -o remount,ro "$base/$game_path" 2>/dev/null
}

# Everything a folder holds, one path a line.
listing() { (cd "$1" && find . | LC_ALL=C sort); }

# Makes row $1 in a folder of its own, $work/$2, and runs it: its report in
# $results/ROW.out, the parts it is about in ROW.about, what the run left
# behind or took away in ROW.left, or ROW.not_run.
run_one() {
  local name=$1 base=$work/$2 before
  game_path=${game_paths[$name]:-game}
  mkdir -p "$base/$game_path"
  reset_how_to_run
  "row_$name" "$base/$game_path"
  echo "${about[*]}" > "$results/$name.about"
  if [ -n "$read_only" ] && ! make_read_only "$base"; then
    umount "$base/$game_path" 2>/dev/null
    : > "$results/$name.not_run"
    rm -rf "$base"
    return
  fi
  before=$(listing "$base/$game_path")
  if [ -n "$read_only" ]; then
    # Its report goes to the temporary folder, which under Wine is one for
    # every row: one such row at a time.
    { flock 9; run_row "$base" > "$results/$name.out"; } 9>"$work/temporary-report.lock"
  else
    run_row "$base" > "$results/$name.out"
  fi
  diff <(printf '%s\n' "$before") <(listing "$base/$game_path") > "$results/$name.left"
  [ -n "$read_only" ] && umount "$base/$game_path"
  rm -rf "$base"
}

# The lines of a report that a row's golden file holds: the parts named in
# about (a list of part names), then "In short" and the exit status. With
# mode "others", the lines marked Problem in the parts it does not name.
report_parts() {  # report_parts MODE ABOUT <<< REPORT
  awk -v mode="$1" -v about=" $2 " '
    function part_of(line) {
      if (line ~ /^== The game.s folder/) return "folder"
      if (line ~ /^== ScriptHookRDR2\.log/) return "hook_log"
      if (line ~ /^== asiloader\.log/) return "loader_log"
      if (line ~ /^== Ondrelle\.log/) return "plugin_log"
      if (line ~ /^== In short/) return "summary"
      return "settings"
    }
    /^== / { part = part_of($0) }
    /^\(exit [0-9]+\)$/ { part = "summary" }
    /^$/ { next }
    {
      named = part == "" || part == "summary" || index(about, " " part " ") > 0
      if (mode == "others") { if (!named && /Problem:/) print part ": " $0; next }
      if (!named) next
      if (/^== / && printed) print ""
      print
      printed = 1
    }'
}

results=$work/results
mkdir -p "$results"
# The rows run side by side, each in a folder of its own.
at_once=$(($(nproc) * 2))
index=0
for name in "${rows[@]}"; do
  index=$((index + 1))
  while [ "$(jobs -rp | wc -l)" -ge "$at_once" ]; do wait -n; done
  run_one "$name" "$index" &
done
wait

not_run=()
for name in "${rows[@]}"; do
  if [ -e "$results/$name.not_run" ]; then
    echo "NOT RUN: $name: no read-only file system can be mounted here (mounting needs root)"
    not_run+=("$name")
    continue
  fi
  report=$(cat "$results/$name.out")
  about=$(cat "$results/$name.about")
  # It reads in an 80-column console, headings that name paths too.
  if grep -qE '^.{80,}' <<<"$report"; then
    echo "FAIL: $name: lines wider than an 80-column console:"
    grep -E '^.{80,}' <<<"$report"
    failures=$((failures + 1))
  fi
  elsewhere=$(report_parts others "$about" <<<"$report")
  if [ -n "$elsewhere" ]; then
    echo "FAIL: $name: a Problem in a part the row is not about ($about):"
    printf '%s\n' "$elsewhere"
    failures=$((failures + 1))
  fi
  actual=$(report_parts named "$about" <<<"$report")
  expected_file=$expected_dir/$name.check
  if [ -n "${ONDRELLE_UPDATE_GOLDEN:-}" ]; then printf '%s\n' "$actual" > "$expected_file"; fi
  if [ "$actual" != "$(cat "$expected_file" 2>/dev/null)" ]; then
    echo "FAIL: $name"
    diff <(cat "$expected_file" 2>/dev/null) <(printf '%s\n' "$actual")
    failures=$((failures + 1))
  fi
  # The folder is left as it was: nothing made by the look at whether it
  # can be written, nothing taken away.
  if [ -s "$results/$name.left" ]; then
    echo "FAIL: $name: the check changed the folder:"
    cat "$results/$name.left"
    failures=$((failures + 1))
  fi
  # The report file holds what the screen showed.
  if [ -s "$results/$name.report" ]; then
    echo "FAIL: $name: the report file:"
    cat "$results/$name.report"
    failures=$((failures + 1))
  fi
done

ran=$((${#rows[@]} - ${#not_run[@]}))
if [ $failures = 0 ]; then
  echo "ondrelle-check: all $ran game folders that ran as expected${not_run:+; ${#not_run[@]} not run: ${not_run[*]}}"
fi
exit $failures
