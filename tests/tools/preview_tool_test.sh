#!/usr/bin/env bash
# ondrelle-preview as a user runs it: moved away from the build, with its
# built-in defaults; its command line; and a faulty settings file refused with
# ondrelle-check's report, exit status 1, no picture.
# Usage: preview_tool_test.sh FIXTURES_DIR VERSION PREVIEW
set -u
fixtures=$1
version=$2
preview=$3
failures=0
work=$(mktemp -d)
trap 'umount "$work/full" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Moved: the defaults are built in; both pictures land in the current folder.
mkdir "$work/moved" "$work/run"
cp "$preview" "$work/moved/ondrelle-preview"
cd "$work/run" || exit 1
output=$("$work/moved/ondrelle-preview" 2>&1) || fail "moved: exit status $?"
[ -s ondrelle-preview.png ] && [ -s ondrelle-preview.svg ] || fail "moved: no ondrelle-preview.png and .svg"
grep -q "^Picture: ondrelle-preview.svg$" <<<"$output" || fail "moved: $output"
grep -qi "sanitizer\|leak" <<<"$output" && fail "moved: a sanitizer report: $output"

# -o: the extension picks the one format written.
"$work/moved/ondrelle-preview" -o only.SVG >/dev/null 2>&1 || fail "-o only.SVG: exit status $?"
[ -s only.SVG ] && head -c 200 only.SVG | grep -q "<svg" || fail "-o only.SVG: not an SVG"
[ -e only.png ] && fail "-o only.SVG also wrote a PNG"

# A missing folder is reported before any work; usage errors exit 2.
errors=$("$work/moved/ondrelle-preview" -o "no folder/p.png" 2>&1 >/dev/null); status=$?
[ $status = 1 ] || fail "missing folder: exit status $status"
grep -q "^ondrelle-preview: cannot write .*no folder/p.png: its folder does not exist.$" <<<"$errors" || fail "missing folder: $errors"
"$work/moved/ondrelle-preview" -o p.jpg >/dev/null 2>&1; [ $? = 2 ] || fail "-o p.jpg: not a usage error"
"$work/moved/ondrelle-preview" --frobnicate >/dev/null 2>&1; [ $? = 2 ] || fail "--frobnicate: not a usage error"
errors=$("$work/moved/ondrelle-preview" --verison 2>&1 >/dev/null); status=$?
[ $status = 2 ] && [ "$(head -n 1 <<<"$errors")" = "ondrelle-preview: unknown option --verison: did you mean --version?" ] || fail "--verison: $errors"
"$work/moved/ondrelle-preview" a.ini b.ini >/dev/null 2>&1; [ $? = 2 ] || fail "two settings files: not a usage error"
"$work/moved/ondrelle-preview" --help | grep -q "^Usage: ondrelle-preview" || fail "--help"
[ "$("$work/moved/ondrelle-preview" --version)" = "ondrelle-preview $version" ] || fail "--version"
errors=$("$work/moved/ondrelle-preview" "no such.ini" 2>&1 >/dev/null); status=$?
errors=$(sed 's/^ *//' <<<"$errors" | paste -sd ' ')  # its wrapped lines joined
[ $status = 1 ] && grep -q "cannot read .*no such.ini: there is no such file" <<<"$errors" || fail "missing settings: $errors"

# The defaults run from a temporary folder whose path is too long for the
# plug-in: the file is named, and removed again.
long=$work/$(printf 'a%.0s' $(seq 1 250))/$(printf 'b%.0s' $(seq 1 250))/$(printf 'c%.0s' $(seq 1 250))/$(printf 'd%.0s' $(seq 1 250))
mkdir -p "$long"
errors=$(TMPDIR=$long "$work/moved/ondrelle-preview" -o "$work/long.png" 2>&1 >/dev/null); status=$?
[ $status = 1 ] && grep -q "^ondrelle-preview: $long/ondrelle-[A-Za-z0-9]*\.ini: the path is longer than the plug-in takes (1023 characters)\.$" <<<"$errors" ||
  fail "defaults in a long temporary folder: status $status: $errors"
[ -z "$(ls "$long")" ] || fail "defaults in a long temporary folder: left behind: $(ls "$long")"

# The defaults run from a temporary folder too full to hold them: the file
# made for them is removed again, and the player is told.
mkdir "$work/full"
if mount -t tmpfs -o size=4k tmpfs "$work/full" 2>/dev/null; then
  head -c 1M /dev/zero > "$work/full/filler" 2>/dev/null  # as much as it holds
  errors=$(TMPDIR=$work/full "$work/moved/ondrelle-preview" -o "$work/full.png" 2>&1 >/dev/null); status=$?
  [ $status = 1 ] && grep -q "^ondrelle-preview: cannot write the default settings to the temporary folder\.$" <<<"$errors" ||
    fail "defaults in a full temporary folder: status $status: $errors"
  [ "$(ls "$work/full")" = filler ] || fail "defaults in a full temporary folder: left behind: $(ls "$work/full")"
  umount "$work/full"
else
  echo "NOT RUN: defaults in a full temporary folder: no file system can be mounted here (mounting needs root)"
fi

# A faulty settings file: the checker's report, and no picture.
cd "$fixtures" || exit 1
output=$("$preview" line_fault_in_the_middle.ini -o "$work/p.png" 2>/dev/null)
status=$?
expected="$(head -n -1 line_fault_in_the_middle.check)
No preview: fix the settings file first."
if [ $status != 1 ] || [ "$output" != "$expected" ] || [ -e "$work/p.png" ]; then
  fail "faulty file: status $status"; diff <(printf '%s\n' "$expected") <(printf '%s\n' "$output")
fi

[ $failures = 0 ] && echo "ondrelle-preview: all cases as expected"
exit $failures
