#!/usr/bin/env bash
# Runs the command examples of a Markdown file (README.md by default) against
# the built tools and compares what they print with what the file shows.
#
#   scripts/readme_examples.sh [--update] [--file DOC.md] TOOL_DIR
#
# An example is a fenced block right after the line <!-- example -->:
#
#   <!-- example -->
#   ```console
#   $ orvane-panel info Registration
#   Registration: default size 150x25, ...
#   ...
#   ```
#
# Lines that start with "$ " are commands (bash, run in turn in a fresh
# temporary folder per example that holds a link to the repository's data/,
# with TOOL_DIR first on PATH). The lines up to the next command are what it
# prints: standard output, then
# standard error, then "[exit N]" when it exits with N other than 0. A line
# "..." stands for any number of lines (once per command). The marker
# <!-- example: no-output --> runs the commands and checks only that they
# succeed; <!-- example: display --> runs them only where a display is open
# ($DISPLAY set), else skips them. Every command must end by itself.
#
# --update writes what the commands print into the file instead (keeping as
# many lines before and after a "..." as it had): review it with git diff.
# Exit status: 0 all match, 1 an example differs, 2 bad use.
set -uo pipefail

update=0
doc=""
while [ $# -gt 0 ]; do
  case "$1" in
    --update) update=1 ;;
    --file) doc=$2; shift ;;
    -h | --help) sed -n '2,28p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) break ;;
  esac
  shift
done
[ $# -eq 1 ] || { echo "usage: $0 [--update] [--file DOC.md] TOOL_DIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
tools=$(cd "$1" && pwd) || exit 2
doc=${doc:-$root/README.md}
[ -x "$tools/orvane-panel" ] || { echo "readme_examples: no orvane-panel in $tools" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$tools:$PATH"
# The module's sounds go nowhere; the examples print the same on any machine.
export SDL_AUDIODRIVER=dummy
# Under AddressSanitizer: the font library's caches are no leaks, and the
# suppressions' statistics are not part of what a command prints.
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"

# A fresh folder for the commands of one example.
fresh_folder() {
  rm -rf "$work/run" && mkdir -p "$work/run" && ln -s "$root/data" "$work/run/data"
}

# Prints what `$1` (a command line) prints, as an example shows it.
run_command() {
  (cd "$work/run" && bash -c "$1" >"$work/out" 2>"$work/err")
  local status=$?
  cat "$work/out" "$work/err"
  [ "$status" -eq 0 ] || echo "[exit $status]"
}

# Whether the actual output (file $1) matches the shown lines (file $2),
# where a "..." line stands for any lines.
matches() {
  local dots
  dots=$(grep -n -x -m1 -F '...' "$2" | cut -d: -f1)
  if [ -z "$dots" ]; then
    cmp -s "$1" "$2"
    return
  fi
  local before=$((dots - 1)) after
  after=$(($(wc -l <"$2") - dots))
  [ "$(wc -l <"$1")" -ge $((before + after)) ] || return 1
  cmp -s <(head -n "$before" "$1") <(head -n "$before" "$2") || return 1
  [ "$after" -eq 0 ] || cmp -s <(tail -n "$after" "$1") <(tail -n "$after" "$2")
}

# The actual output cut to the shape of the shown one (its "..." kept).
shaped() {
  local dots
  dots=$(grep -n -x -m1 -F '...' "$2" | cut -d: -f1)
  if [ -z "$dots" ]; then
    cat "$1"
    return
  fi
  local before=$((dots - 1)) after
  after=$(($(wc -l <"$2") - dots))
  head -n "$before" "$1"
  echo "..."
  [ "$after" -eq 0 ] || tail -n "$after" "$1"
}

failures=0 examples=0 skipped=0
mode="" in_block=0 command="" line_no=0 command_line=0
: >"$work/new"
: >"$work/shown"

# Ends the command being read: runs it and compares (or, with --update,
# writes its output in place of the shown lines).
finish_command() {
  [ -n "$command" ] || return 0
  if [ "$mode" = skip ]; then
    cat "$work/shown" >>"$work/new"
  else
    run_command "$command" >"$work/actual"
    if [ "$mode" = no-output ]; then
      if grep -q '^\[exit ' "$work/actual"; then
        echo "$doc:$command_line: '$command' failed:" >&2
        cat "$work/actual" >&2
        failures=$((failures + 1))
      fi
      cat "$work/shown" >>"$work/new"
    elif [ "$update" -eq 1 ]; then
      shaped "$work/actual" "$work/shown" >>"$work/new"
    elif ! matches "$work/actual" "$work/shown"; then
      echo "$doc:$command_line: '$command' prints otherwise than shown:" >&2
      diff -u --label shown --label printed "$work/shown" <(shaped "$work/actual" "$work/shown") | tail -n +3 >&2
      failures=$((failures + 1))
    fi
  fi
  command=""
  : >"$work/shown"
}

while IFS= read -r line || [ -n "$line" ]; do
  line_no=$((line_no + 1))
  if [ "$in_block" -eq 0 ]; then
    echo "$line" >>"$work/new"
    case "$line" in
      '<!-- example -->') mode=output ;;
      '<!-- example: no-output -->') mode=no-output ;;
      '<!-- example: display -->') mode=$([ -n "${DISPLAY:-}" ] && echo no-output || echo skip) ;;
      '```'*)
        if [ -n "$mode" ]; then
          in_block=1 examples=$((examples + 1))
          [ "$mode" = skip ] && skipped=$((skipped + 1))
          fresh_folder
        fi
        ;;
      '') ;;
      *) mode="" ;;
    esac
    continue
  fi
  if [ "$line" = '```' ]; then
    finish_command
    echo "$line" >>"$work/new"
    in_block=0 mode=""
  elif [ "${line#\$ }" != "$line" ]; then
    finish_command
    echo "$line" >>"$work/new"
    command=${line#\$ } command_line=$line_no
  elif [ -n "$command" ]; then
    echo "$line" >>"$work/shown"
  else
    echo "$line" >>"$work/new"
  fi
done <"$doc"
[ "$in_block" -eq 0 ] || { echo "$doc: an example's block does not end" >&2; exit 2; }

if [ "$update" -eq 1 ]; then
  cmp -s "$work/new" "$doc" || cp "$work/new" "$doc"
  echo "readme_examples: $examples examples written into $doc ($skipped skipped)"
  exit $((failures > 0))
fi
echo "readme_examples: $examples examples, $failures differ, $skipped skipped (no display)"
[ "$failures" -eq 0 ] ||
  echo "readme_examples: after a deliberate change: scripts/readme_examples.sh --update $1, then review git diff $doc" >&2
exit $((failures > 0))
