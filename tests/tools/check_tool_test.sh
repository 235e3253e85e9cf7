#!/usr/bin/env bash
# ondrelle-check over known files: the default settings pass; faulty and
# incomplete files fail with the parser's own texts and the missing keys'
# names. Usage: check_tool_test.sh FIXTURES_DIR DEFAULT_INI COMMAND...
set -u
fixtures=$1
default_ini=$2
shift 2
failures=0

# Runs the tool on a file; compares its status and output (CR LF folded).
expect() {
  local file=$1 status=$2 expected=$3 output actual_status
  output=$(WINEDEBUG=-all "${tool[@]}" "$file" 2>/dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}")
  actual_status=$?
  if [ "$actual_status" != "$status" ] || [ "$output" != "$expected" ]; then
    echo "FAIL: $file: status $actual_status, expected $status"
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$output")
    failures=$((failures + 1))
  fi
}
tool=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expect "$default_ini" 0 "$default_ini: complete and clean, all 18 keys set."

expect "$fixtures/value_faults.ini" 1 "Config file line #2: failed to parse value (expected yes/no): Yes
Config file line #11: failed to parse value (expected a decimal number): fast
Config file line #13: failed to parse value (expected a decimal number): 
$fixtures/value_faults.ini: not usable as it is (3 faults, 0 keys missing)."

expect "$fixtures/line_fault_in_the_middle.ini" 1 "Config file line #3: not delimited by '='
Config file line #3: didn't reach EOF (ferror 0)
$fixtures/line_fault_in_the_middle.ini: not usable as it is (2 faults, 0 keys missing)."

grep -v -e '^opacity' -e '^ped_bone =' "$default_ini" > "$work/incomplete.ini"
expect "$work/incomplete.ini" 1 "Missing keys: opacity, ped_bone
$work/incomplete.ini: not usable as it is (0 faults, 2 keys missing)."

expect "$work/no such file.ini" 1 "$work/no such file.ini: cannot be opened."

[ $failures = 0 ] && echo "ondrelle-check: all cases as expected"
exit $failures
