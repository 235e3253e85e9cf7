#!/usr/bin/env bash
# ondrelle-preview on a faulty settings file: refused with ondrelle-check's
# texts, exit status 1, no picture. Usage: preview_tool_test.sh FIXTURES_DIR PREVIEW
set -u
fixtures=$1
preview=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
output=$("$preview" "$fixtures/line_fault_in_the_middle.ini" -o "$work/p.png" 2>/dev/null)
status=$?
expected="Config file line #3: not delimited by '='
Config file line #3: didn't reach EOF (ferror 0)
$fixtures/line_fault_in_the_middle.ini: not usable as it is (2 faults, 0 keys missing).
No preview: fix the settings file first."
if [ $status != 1 ] || [ "$output" != "$expected" ] || [ -e "$work/p.png" ]; then
  echo "FAIL: status $status"; diff <(printf '%s\n' "$expected") <(printf '%s\n' "$output"); exit 1
fi
echo "ondrelle-preview refused the faulty file"
