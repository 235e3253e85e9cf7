#!/usr/bin/env bash
# ondrelle-preview on a faulty settings file: refused with ondrelle-check's
# report, exit status 1, no picture. Usage: preview_tool_test.sh FIXTURES_DIR PREVIEW
set -u
fixtures=$1
preview=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$fixtures" || exit 1
output=$("$preview" line_fault_in_the_middle.ini -o "$work/p.png" 2>/dev/null)
status=$?
expected="$(head -n -1 line_fault_in_the_middle.check)
No preview: fix the settings file first."
if [ $status != 1 ] || [ "$output" != "$expected" ] || [ -e "$work/p.png" ]; then
  echo "FAIL: status $status"; diff <(printf '%s\n' "$expected") <(printf '%s\n' "$output"); exit 1
fi
echo "ondrelle-preview refused the faulty file"
