#!/usr/bin/env bash
# ondrelle-check over a table of game folders, each one made here in the
# system's temporary folder and removed afterwards: the good installation,
# each piece missing, damaged or made for 32-bit Windows, the loader under
# another name, the plug-in in the asi folder (the checker started there
# too), in a folder of its own or renamed, settings in the wrong folder or
# saved as Ondrelle.ini.txt, two copies (in two folders or side by side), a
# settings fault alone, --strict with one note, an older plug-in, logs that
# are missing, empty, stale or hold every kind of line, folders in the
# settings' and the log's place, a folder that is no game's, and one that
# cannot be written. Each row's output and exit status must read as
# tests/fixtures/game_folders/ROW.check, the folder's path shown as GAME. The
# same table runs natively and, for ondrelle-check.exe, under Wine. Set
# ONDRELLE_UPDATE_GOLDEN=1 to write the .check files afresh, then review the
# diff.
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
# Under Wine, the first program started brings up Wine's own services; they
# keep whatever output they were given open, so they get none of ours.
[ "${tool[0]}" = wine ] && wine cmd /c exit >/dev/null 2>&1 </dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/ondrelle-game-folders-XXXXXX")
trap 'umount "$work/game" 2>/dev/null; rm -rf "$work"' EXIT

# ---- What a folder may hold ----

game_files() {  # the game, the hook and the loader
  cp "$fakes/RDR2.exe" "$fakes/ScriptHookRDR2.dll" "$fakes/dinput8.dll" "$1/"
}
plugin() {  # Ondrelle.asi and its settings in folder $1, written at the given times
  cp "$fakes/Ondrelle.asi" "$1/Ondrelle.asi"
  touch -d "2026-01-02 03:04" "$1/Ondrelle.asi"
  cp "$default_ini" "$1/Ondrelle.ini"
}
log() {  # Ondrelle.log in folder $1 from the lines on standard input, CR LF as the plug-in writes them
  sed 's/$/\r/' > "$1/Ondrelle.log"
  touch -d "${2:-2026-01-03 20:15}" "$1/Ondrelle.log"
}
started_log() {
  printf '%s\n' "20:14:07.045 Script started (script_main:29)" "20:14:07.046 Config file reloaded (config:216)" | log "$1"
}
hook_logs() {  # the hook's log one line longer than the five lines quoted
  printf '%s\n' "[20:13:56] INIT: Loading" "[20:13:57] INIT: Reading settings" "[20:13:58] INIT: Started" \
    "[20:13:58] INIT: Game version 1491.50" "[20:14:02] CORE: Registered script 'Ondrelle.asi'" \
    "[20:14:07] CORE: Launching main() for 'Ondrelle.asi'" > "$1/ScriptHookRDR2.log"
  touch -d "2026-01-03 20:14" "$1/ScriptHookRDR2.log"
  printf '%s\n' "Loaded Ondrelle.asi" > "$1/asiloader.log"
  touch -d "2026-01-03 20:13" "$1/asiloader.log"
}
good() { game_files "$1"; plugin "$1"; started_log "$1"; hook_logs "$1"; }

# ---- The rows ----

row_good_installation() { good "$1"; }
row_no_script_hook() { good "$1"; rm "$1/ScriptHookRDR2.dll" "$1/ScriptHookRDR2.log"; }
row_no_asi_loader() { good "$1"; rm "$1/dinput8.dll" "$1/asiloader.log"; }
row_no_plugin() { game_files "$1"; cp "$default_ini" "$1/Ondrelle.ini"; }
row_unpacked_into_a_folder_of_its_own() { game_files "$1"; mkdir "$1/Ondrelle-1.2.0"; plugin "$1/Ondrelle-1.2.0"; }
row_no_settings_file() {
  game_files "$1"; plugin "$1"; rm "$1/Ondrelle.ini"
  printf '%s\n' "20:14:07.045 Script started (script_main:29)" "20:14:07.046 CreateFile failed (config:262)" \
    "20:14:08.051 CreateFile failed (config:262)" "20:14:09.056 CreateFile failed (config:262)" \
    "20:14:10.061 CreateFile failed (config:262)" | log "$1"
}
row_asi_subfolder() { game_files "$1"; mkdir "$1/asi"; plugin "$1/asi"; started_log "$1/asi"; }
row_started_in_the_asi_folder() { row_asi_subfolder "$1"; : > "$1/asi/ondrelle-check.exe"; }  # the package put there whole
row_settings_in_the_other_folder() {
  game_files "$1"; mkdir "$1/asi"; plugin "$1/asi"; mv "$1/asi/Ondrelle.ini" "$1/"
  printf '%s\n' "20:14:07.045 Script started (script_main:29)" "20:14:07.046 CreateFile failed (config:262)" \
    "20:14:08.051 CreateFile failed (config:262)" | log "$1/asi"
}
row_settings_misspelt() { good "$1"; mv "$1/Ondrelle.ini" "$1/Ondrel.ini"; }
row_settings_saved_as_ini_txt() { good "$1"; mv "$1/Ondrelle.ini" "$1/Ondrelle.ini.txt"; }
row_a_second_download_beside_the_settings() { good "$1"; cp "$1/Ondrelle.ini" "$1/Ondrelle (1).ini"; }
row_two_copies() { good "$1"; mkdir "$1/asi"; cp "$1/Ondrelle.asi" "$1/asi/"; }
row_two_copies_each_with_its_settings() { row_two_copies "$1"; cp "$1/Ondrelle.ini" "$1/asi/"; }
row_a_fault_in_the_settings() {  # the only thing in the marker's way
  good "$1"; sed -i 's/^mark_humans = yes$/mark_humans = Yes/' "$1/Ondrelle.ini"
}
row_strict_with_one_note() { good "$1"; sed -i 's/^opacity = .*$/opacity = 0230/' "$1/Ondrelle.ini"; }  # run with --strict
row_older_plugin() { good "$1"; cp "$fakes/Ondrelle-1.1.0.asi" "$1/Ondrelle.asi"; touch -d "2026-01-02 03:04" "$1/Ondrelle.asi"; }
row_empty_log() { good "$1"; : | log "$1"; }
row_stale_log() { good "$1"; touch -d "2025-11-30 18:00" "$1/Ondrelle.log"; }
row_no_log() { good "$1"; rm "$1/Ondrelle.log"; }
row_every_kind_of_log_line() {
  game_files "$1"; plugin "$1"
  # The settings file now: its line 2 still holds the fault the log names.
  sed -i 's/^mark_humans = yes$/mark_humans = Yes/' "$1/Ondrelle.ini"
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
    "20:19:08.061 A line that no Ondrelle ever wrote (elsewhere:1)" | log "$1"
}
row_not_the_game_folder() { plugin "$1"; }  # where the package was unpacked
row_an_empty_folder() { :; }
row_a_damaged_download() {  # a plug-in cut short inside its last section, and a web page saved as the hook
  good "$1"; truncate -s 3000 "$1/Ondrelle.asi"; touch -d "2026-01-02 03:04" "$1/Ondrelle.asi"
  printf '<!DOCTYPE html>\n<title>Download</title>\n' > "$1/ScriptHookRDR2.dll"
}
row_loader_under_another_name() {  # a loader that names the files it loads, as any loader does
  good "$1"; mv "$1/dinput8.dll" "$1/version.dll"; printf 'Loading *.asi\0' >> "$1/version.dll"
}
row_loader_under_another_name_before_the_game_started() { row_loader_under_another_name "$1"; rm "$1/Ondrelle.log"; }
row_plugin_under_another_name() { good "$1"; mv "$1/Ondrelle.asi" "$1/Ondrelle (1).asi"; }  # a second download
row_update_kept_beside_the_old_copy() {  # Explorer's "Keep both files" when copying the new version in
  good "$1"; mv "$1/Ondrelle.asi" "$1/Ondrelle (2).asi"
  cp "$fakes/Ondrelle-1.1.0.asi" "$1/Ondrelle.asi"; touch -d "2025-10-01 12:00" "$1/Ondrelle.asi"
}
row_a_loader_for_32_bit_games() {  # the other download of an ASI loader: the game is 64-bit
  good "$1"
  local header
  header=$(od -An -tu4 -j60 -N4 "$1/dinput8.dll" | tr -d ' ')
  printf '\x4c\x01' | dd of="$1/dinput8.dll" bs=1 seek=$((header + 4)) conv=notrunc status=none  # i386
}
row_a_cut_off_game() { good "$1"; truncate -s 100 "$1/RDR2.exe"; }  # its header points past its end
row_folder_that_cannot_be_written() { good "$1"; rm "$1/Ondrelle.log"; }  # so the game never wrote its log
row_folders_named_like_the_settings_and_the_log() {  # an unpacking gone wrong
  good "$1"; rm "$1/Ondrelle.ini" "$1/Ondrelle.log"; mkdir "$1/Ondrelle.ini" "$1/Ondrelle.log"
}

rows=(good_installation no_script_hook no_asi_loader no_plugin unpacked_into_a_folder_of_its_own no_settings_file asi_subfolder
  started_in_the_asi_folder settings_in_the_other_folder settings_misspelt settings_saved_as_ini_txt a_second_download_beside_the_settings
  two_copies two_copies_each_with_its_settings a_fault_in_the_settings strict_with_one_note older_plugin empty_log stale_log no_log every_kind_of_log_line not_the_game_folder
  an_empty_folder a_damaged_download loader_under_another_name loader_under_another_name_before_the_game_started
  plugin_under_another_name update_kept_beside_the_old_copy a_loader_for_32_bit_games a_cut_off_game folder_that_cannot_be_written folders_named_like_the_settings_and_the_log)

# ---- Running a row ----

# The tool's output and exit status for the folder game, looked at from
# inside it (as a double-click starts it) for the good row, from its asi
# folder for the row started there, and by --game-folder otherwise, named as
# a shell's completion names it, with a separator at its end, with --strict
# for the rows named strict_*; the folder's path shown as GAME.
run_row() {
  local name=$1 output status shown options=()
  [[ $name = strict_* ]] && options=(--strict)
  if [ "$name" = good_installation ] || [ "$name" = started_in_the_asi_folder ]; then
    local from=$work/game
    [ "$name" = started_in_the_asi_folder ] && from=$work/game/asi
    output=$(cd "$from" && "${tool[@]}" 2>&1 </dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}")
  else
    output=$(cd "$work" && "${tool[@]}" "${options[@]}" --game-folder game/ 2>&1 </dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}")
  fi
  status=$?
  # Wine's drive Z: is the root of the file system: the path is known without
  # asking Wine again, which may fail as its short-lived servers come and go.
  shown=$work/game
  [ "${tool[0]}" = wine ] && shown=Z:$work/game
  printf '%s\n(exit %s)\n' "$output" "$status" | tr '\\' '/' |
    SHOWN=$shown awk '{ while ((i = index($0, ENVIRON["SHOWN"])) > 0) $0 = substr($0, 1, i - 1) "GAME" substr($0, i + length(ENVIRON["SHOWN"])); print }'
}

# A read-only file system over the game folder, as a folder under Program
# Files is to a player who is not an administrator: root, who may write
# anywhere else, may not write there either.
make_read_only() {
  local copy
  copy=$(mktemp -d "$work/copy-XXXXXX")
  cp -a "$work/game/." "$copy/" && mount -t tmpfs -o size=4m tmpfs "$work/game" 2>/dev/null &&
    cp -a "$copy/." "$work/game/" && mount -o remount,ro "$work/game" 2>/dev/null
}

for name in "${rows[@]}"; do
  rm -rf "$work/game"
  mkdir "$work/game"
  "row_$name" "$work/game"
  if [ "$name" = folder_that_cannot_be_written ] && ! make_read_only; then
    echo "NOT RUN: $name: no read-only file system can be mounted here (mounting needs root)"
    umount "$work/game" 2>/dev/null
    continue
  fi
  actual=$(run_row "$name")
  # It reads in an 80-column console: only headings, which name paths, run longer.
  if grep -vE '^== ' <<<"$actual" | grep -qE '^.{80,}'; then
    echo "FAIL: $name: lines wider than an 80-column console:"
    grep -vE '^== ' <<<"$actual" | grep -E '^.{80,}'
    failures=$((failures + 1))
  fi
  [ "$name" = folder_that_cannot_be_written ] && umount "$work/game"
  expected_file=$expected_dir/$name.check
  if [ -n "${ONDRELLE_UPDATE_GOLDEN:-}" ]; then printf '%s\n' "$actual" > "$expected_file"; fi
  if [ "$actual" != "$(cat "$expected_file" 2>/dev/null)" ]; then
    echo "FAIL: $name"
    diff <(cat "$expected_file" 2>/dev/null) <(printf '%s\n' "$actual")
    failures=$((failures + 1))
  fi
  # Nothing is left behind by the look at whether the folder can be written.
  if ls "$work/game" | grep -q '^ondrelle-check'; then
    echo "FAIL: $name: the check left a file in the folder"
    failures=$((failures + 1))
  fi
done

[ $failures = 0 ] && echo "ondrelle-check: all ${#rows[@]} game folders as expected"
exit $failures
