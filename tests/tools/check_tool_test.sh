#!/usr/bin/env bash
# ondrelle-check over the settings fixtures and its command line. Each
# fixture NAME.ini with a NAME.check beside it is one row of the table: the
# tool's output and exit status for that file must read as NAME.check. The
# same table runs natively and, for ondrelle-check.exe, under Wine.
# Set ONDRELLE_UPDATE_GOLDEN=1 to write the .check files afresh (natively),
# then review the diff.
# Usage: check_tool_test.sh FIXTURES_DIR DEFAULT_INI VERSION COMMAND...
set -u
fixtures=$1
default_ini=$2
version=$3
shift 3
tool=("$@")
failures=0
export WINEDEBUG=-all LC_ALL=C.UTF-8
# Under Wine, the first program started brings up Wine's own services; they
# keep whatever output they were given open, so they get none of ours.
[ "${tool[0]}" = wine ] && { wine cmd /c exit; "${tool[@]}" --version; } >/dev/null 2>&1 </dev/null
# What is left of a word of Wine's own: the device service (winedevice, its
# ntoskrnl.exe) may stop under load, and says so on the output it was given,
# which may be a test's. A stop of the checker's own changes its exit status
# and its output, which the tests see all the same.
without_wines_own() { sed '/^wine: Unhandled page fault on .* starting debugger\.\.\.$/d'; }

# Runs the tool with the given arguments: stdout (CR LF folded), then the
# exit status on a line of its own.
run() {
  local output status
  output=$("${tool[@]}" "$@" 2>/dev/null </dev/null | tr -d '\r' | without_wines_own; exit "${PIPESTATUS[0]}")
  status=$?
  printf '%s\n(exit %s)\n' "$output" "$status"
}
# Like run, but stderr instead of stdout.
run_errors() {
  local output status
  output=$("${tool[@]}" "$@" 2>&1 >/dev/null </dev/null | tr -d '\r' | without_wines_own; exit "${PIPESTATUS[0]}")
  status=$?
  printf '%s\n(exit %s)\n' "$output" "$status"
}
fail() {
  echo "FAIL: $1"
  diff <(printf '%s\n' "$2") <(printf '%s\n' "$3")
  failures=$((failures + 1))
}
expect() {  # what, expected, actual
  [ "$2" == "$3" ] || fail "$1" "$2" "$3"
}
expect_match() {  # what, extended regular expression, actual
  grep -qE -e "$2" <<<"$3" || fail "$1" "$2" "$3"
}

# The table.
cd "$fixtures" || exit 1
for ini in *.ini; do
  name=${ini%.ini}
  [ -e "$name.check" ] || continue
  actual=$(run "$ini")
  if [ -n "${ONDRELLE_UPDATE_GOLDEN:-}" ]; then printf '%s\n' "$actual" > "$name.check"; fi
  expect "$ini" "$(cat "$name.check")" "$actual"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

# The shipped file: clean, no notes even with --strict.
cp "$default_ini" Ondrelle.ini
expect "default settings" "== Ondrelle.ini
The game's log (Ondrelle.log) would read:
  Config file reloaded
Verdict: the game accepts this file cleanly.
(exit 0)" "$(run --strict Ondrelle.ini)"

# --strict: notes count as faults; one note is one.
cp "$fixtures/accepted_but_not_meant.ini" notes.ini
expect "--strict" "--strict: the notes above count as faults.
(exit 1)" "$(run --strict notes.ini | tail -n 2)"
expect "without --strict" "(exit 0)" "$(run notes.ini | tail -n 1)"
sed 's/^opacity = .*/opacity = 256/' Ondrelle.ini > one_note.ini
one_note=$(run --strict one_note.ini)
expect_match "--strict, one note" "^  line $(grep -n '^opacity' one_note.ini | cut -d: -f1): opacity is 256, outside 0 to 255" "$one_note"
expect "--strict, one note" "1" "$(grep -c '^  line' <<<"$one_note")"
expect "--strict, one note" "--strict: the note above counts as a fault.
(exit 1)" "$(tail -n 2 <<<"$one_note")"

# Several files: each under its heading, set apart by one blank line; a file
# that cannot be read leaves no blank line behind; not clean if any is not.
several=$(run Ondrelle.ini "no such file.ini" "$fixtures/value_faults.ini")
expect "several files" "== Ondrelle.ini
The game's log (Ondrelle.log) would read:
  Config file reloaded
Verdict: the game accepts this file cleanly.

== $fixtures/value_faults.ini" "$(head -n 6 <<<"$several")"
expect "several files" "(exit 1)" "$(tail -n 1 <<<"$several")"
expect "one unreadable file prints nothing on stdout" "
(exit 1)" "$(run "no such file.ini")"

# Ondrelle.log named: explained against the Ondrelle.ini beside it, whose
# verdict counts as in a look at the game's folder.
mkdir named-log
sed 's/^mark_humans = yes/mark_humans = Yes/' Ondrelle.ini > named-log/Ondrelle.ini  # CR LF or LF
line=$(grep -n '^mark_humans' named-log/Ondrelle.ini | cut -d: -f1)
printf '20:14:07.045 Script started (script_main:29)\r\n20:14:07.046 Config file line #%s: failed to parse value (expected yes/no): Yes (config:121)\r\n' "$line" > named-log/Ondrelle.log
named_log=$(run named-log/Ondrelle.log)
expect_match "Ondrelle.log named: the settings beside it" "^Verdict: the game shows an error instead of the marker" "$named_log"
expect_match "Ondrelle.log named: its entries" "It is still there, on line $line of Ondrelle.ini" "$(paste -sd ' ' <<<"$named_log" | tr -s ' ')"
expect "Ondrelle.log named: exit status as for the folder" "(exit 1)" "$(tail -n 1 <<<"$named_log")"
# A program named as a settings file, by its name or by its bytes.
printf 'MZ' > Ondrelle.asi
expect_match "Ondrelle.asi named" "^This is a program \(Ondrelle.asi is the plug-in itself\), not a settings file" "$(run Ondrelle.asi)"
{ printf 'MZ'; head -c 58 /dev/zero; printf '\x40\0\0\0PE\0\0'; } > program.ini
expect_match "a program under a settings file's name" "^This is a program" "$(run program.ini)"
expect "a program named: not a settings file" "(exit 1)" "$(run Ondrelle.asi | tail -n 1)"

# The last piece the checker reads of a file may be a single byte: here the
# file's last line, which the notes must see.
{ for i in $(seq 1 51); do printf '; %077d\n' 0; done; printf '; %013d\n' 0; printf 'x'; } > last_byte.ini
expect "a last read of one byte" "4097" "$(wc -c < last_byte.ini | tr -d ' ')"
expect_match "a last read of one byte" '^  line 53: "x" has no "="' "$(run last_byte.ini)"

# A folder of any script in the file's path.
mkdir -p "Игры-游戏"
cp Ondrelle.ini "Игры-游戏/Ondrelle.ini"
expect "Cyrillic and CJK folder" "== Игры-游戏/Ondrelle.ini" "$(run "Игры-游戏/Ondrelle.ini" | head -n 1)"
# A console gives each of these characters two columns: a heading of 50 of
# them is wrapped to fit, as wc -L measures a console's columns.
wide=$(printf '游戏%.0s' $(seq 1 25))
mkdir -p "$wide"
cp Ondrelle.ini "$wide/Ondrelle.ini"
expect "East Asian characters take two columns" "yes" "$([ "$(run "$wide/Ondrelle.ini" | wc -L)" -le 79 ] && echo yes)"

# Files that cannot be read: said plainly on stderr, with the full path tried;
# a name no file can have, or a folder on the way that is not there, is no
# such file too.
# What stderr says, its wrapped lines joined, without the exit status.
said() { run_errors "$@" | head -n -1 | sed 's/^ *//' | paste -sd ' '; }
expect_match "missing file" "^ondrelle-check: cannot read .*no such file\.ini: there is no such file\.$" "$(said "no such file.ini")"
expect "missing file" "(exit 1)" "$(run_errors "no such file.ini" | tail -n 1)"
expect_match "missing file's full path" "cannot read (/|[A-Z]:\\\\).*no such file\.ini" "$(said "no such file.ini")"
for name in "no folder/Ondrelle.ini" "a<b>.ini" "$(printf 'n%.0s' $(seq 1 5000)).ini"; do
  expect_match "no such file: ${name:0:30}" "^ondrelle-check: cannot read .*: there is no such file\.$" "$(said "$name")"
done
expect "errors fit an 80-column console, a name too long for a line too" "" \
  "$(run_errors "$(printf 'n%.0s' $(seq 1 5000)).ini" "a folder.ini" | grep -E '^.{80,}')"
expect "an empty name" "ondrelle-check: cannot read a file without a name: an empty name names no file.
(exit 1)" "$(run_errors "")"
expect_match "a lone -, a file's name" "^ondrelle-check: cannot read .*-: there is no such file\.$" "$(said -)"
mkdir -p "a folder.ini"
expect_match "folder" "^ondrelle-check: cannot read .*a folder\.ini: it is a folder, not a file\.$" "$(said "a folder.ini")"
expect "folder" "(exit 1)" "$(run_errors "a folder.ini" | tail -n 1)"

# The command line.
help=$(run --help)
expect_match "--help" "^Usage: ondrelle-check \[--strict\] \[--game-folder DIR\] \[--\] \[FILE\.\.\.\]" "$help"
expect_match "--help" "With no FILE it looks at the game's folder: the current folder" "$help"
expect_match "--help" "^  --  +what follows is a file name, even when it starts with -$" "$help"
expect "--help fits an 80-column console" "" "$(grep -E '^.{80,}' <<<"$help")"
expect "--help" "(exit 0)" "$(tail -n 1 <<<"$help")"
expect "-h" "$help" "$(run -h)"
expect "/?" "$help" "$(run /?)"
# After --, a name that starts with - is a file's, and --help too.
expect_match "-- ends the options" "^ondrelle-check: cannot read .*-x\.ini: there is no such file\. ondrelle-check: cannot read .*--help: there is no such file\.$" "$(said -- -x.ini --help)"
expect "--version" "ondrelle-check $version
(exit 0)" "$(run --version)"
expect "unknown option, stdout" "
(exit 2)" "$(run --frobnicate)"
expect_match "--game-folder without a folder" "^ondrelle-check: --game-folder needs the folder that holds RDR2\.exe$" "$(run_errors --game-folder | head -n 1)"
expect "--game-folder without a folder" "(exit 2)" "$(run_errors --game-folder | tail -n 1)"
expect "--game-folder twice" "ondrelle-check: --game-folder is given twice: name one folder|(exit 2)" "$(run_errors --game-folder . --game-folder .. | sed -n '1p;$p' | paste -sd '|')"
expect_match "--game-folder that is not there" '^ondrelle-check: there is no folder ".*[/\\]no-such-folder": name the folder that holds RDR2\.exe\.$' "$(said --game-folder no-such-folder)"
expect "--game-folder that is not there" "(exit 1)" "$(run_errors --game-folder no-such-folder | tail -n 1)"
# Named by its whole path, it is shown by that path (on Wine's drive Z:), not
# as a name in the current folder.
expect "--game-folder that is not there, named by its whole path" "ondrelle-check: there is no folder \"$work/no such folder\": name the folder that holds RDR2.exe." "$(said --game-folder "$work/no such folder" | tr '\\' '/' | sed 's#"Z:/#"/#')"
: > a-file
expect_match "--game-folder that is a file" '^ondrelle-check: ".*[/\\]a-file" is a file, not a folder: name the folder that holds RDR2\.exe\.$' "$(said --game-folder a-file)"
# "D:\Games\RDR2\" on a Windows command line arrives as D:\Games\RDR2" (and any options after it).
expect_match "--game-folder ending in a quote" '^ondrelle-check: there is no folder ".*game" --strict": a backslash right before a closing quote makes the quote part of the name; leave out that last backslash\.$' "$(said --game-folder 'game" --strict')"
expect "--game-folder errors fit an 80-column console" "" "$(run_errors --game-folder "$(printf 'a%.0s' $(seq 1 120))" | grep -E '^.{80,}')"
# Every line a report prints fits an 80-column console, its heading too.
expect "reports fit an 80-column console" "" "$(cd "$fixtures" && for f in *.ini; do "${tool[@]}" "$PWD/$f" 2>&1 </dev/null | tr -d '\r' | without_wines_own; done | grep -E '^.{80,}')"
expect_match "unknown option, stderr" "unknown option --frobnicate" "$(run_errors --frobnicate)"
expect_match "unknown option, stderr" "Usage: ondrelle-check" "$(run_errors --frobnicate)"
expect "unknown option, nothing near" "" "$(run_errors --frobnicate | grep 'did you mean')"
expect_match "mistyped option" "^ondrelle-check: unknown option --stict: did you mean --strict\?$" "$(run_errors --stict | head -n 1)"
expect_match "mistyped option" "^ondrelle-check: unknown option --game_folder: did you mean --game-folder\?$" "$(run_errors --game_folder x | head -n 1)"
expect "mistyped option" "ondrelle-check: unknown option -strict: did you mean --strict?|(exit 2)" "$(run_errors -strict | sed -n '1p;$p' | paste -sd '|')"

[ $failures = 0 ] && echo "ondrelle-check: all cases as expected"
exit $failures
