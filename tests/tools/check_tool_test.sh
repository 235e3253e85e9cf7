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

# Runs the tool with the given arguments: stdout (CR LF folded), then the
# exit status on a line of its own.
run() {
  local output status
  output=$("${tool[@]}" "$@" 2>/dev/null </dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}")
  status=$?
  printf '%s\n(exit %s)\n' "$output" "$status"
}
# Like run, but stderr instead of stdout.
run_errors() {
  local output status
  output=$("${tool[@]}" "$@" 2>&1 >/dev/null </dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}")
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

# The shipped file: clean, no notes even with --strict; and the file checked
# when none is named is Ondrelle.ini in the current folder.
cp "$default_ini" Ondrelle.ini
expect "default settings" "== Ondrelle.ini
The game's log (Ondrelle.log) would read:
  Config file reloaded
Verdict: the game accepts this file cleanly.
(exit 0)" "$(run --strict)"

# --strict: notes count as faults.
cp "$fixtures/accepted_but_not_meant.ini" notes.ini
expect "--strict" "--strict: the notes above count as faults.
(exit 1)" "$(run --strict notes.ini | tail -n 2)"
expect "without --strict" "(exit 0)" "$(run notes.ini | tail -n 1)"

# Several files: each under its heading; not clean if any is not.
several=$(run Ondrelle.ini "$fixtures/value_faults.ini")
expect_match "several files" "^== Ondrelle.ini$" "$several"
expect_match "several files" "^== $fixtures/value_faults.ini$" "$several"
expect "several files" "(exit 1)" "$(tail -n 1 <<<"$several")"

# A folder of any script in the file's path.
mkdir -p "Игры-游戏"
cp Ondrelle.ini "Игры-游戏/Ondrelle.ini"
expect "Cyrillic and CJK folder" "== Игры-游戏/Ondrelle.ini" "$(run "Игры-游戏/Ondrelle.ini" | head -n 1)"

# Files that cannot be read: said plainly on stderr, with the full path tried.
missing=$(run_errors "no such file.ini")
expect_match "missing file" "^ondrelle-check: cannot read .*no such file\.ini: there is no such file\.$" "$(head -n 1 <<<"$missing")"
expect "missing file" "2 (exit 1)" "$(wc -l <<<"$missing") $(tail -n 1 <<<"$missing")"
expect_match "missing file's full path" "cannot read (/|[A-Z]:\\\\).*no such file\.ini" "$(run_errors "no such file.ini")"
mkdir -p "a folder.ini"
folder=$(run_errors "a folder.ini")
expect_match "folder" "^ondrelle-check: cannot read .*a folder\.ini: it is a folder, not a file\.$" "$(head -n 1 <<<"$folder")"
expect "folder" "(exit 1)" "$(tail -n 1 <<<"$folder")"

# The command line.
help=$(run --help)
expect_match "--help" "^Usage: ondrelle-check \[--strict\] \[FILE\.\.\.\]" "$help"
expect_match "--help" "Ondrelle\.ini in the current folder" "$help"
expect "--help" "(exit 0)" "$(tail -n 1 <<<"$help")"
expect "-h" "$help" "$(run -h)"
expect "--version" "ondrelle-check $version
(exit 0)" "$(run --version)"
expect "unknown option, stdout" "
(exit 2)" "$(run --frobnicate)"
expect_match "unknown option, stderr" "unknown option --frobnicate" "$(run_errors --frobnicate)"
expect_match "unknown option, stderr" "Usage: ondrelle-check" "$(run_errors --frobnicate)"

[ $failures = 0 ] && echo "ondrelle-check: all cases as expected"
exit $failures
