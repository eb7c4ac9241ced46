#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a user gets: the tree, the command on the
# PATH as a link to the program, the desktop entry, the icons, the manual pages, the AppStream
# metadata and the command line; then, on an X server with a window manager, the installed
# program started through the link from another folder: its start page in the preview, its help
# file, both windows where the settings file says they were left, a page named on the command
# line, a missing one, and the settings file written in the program folder.
# Usage: InstallTest.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
skip=77

for tool in identify convert import desktop-file-validate xvfb-run openbox xdotool xclip xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit $skip; }
done

fail() { echo "FAIL: $*" >&2; exit 1; }

check_tree() {
  local file size
  for file in lib/vorn/vorn bin/html2rtf share/applications/vorn.desktop share/man/man1/html2rtf.1 \
    share/man/man1/vorn.1 share/metainfo/org.example.vorn.metainfo.xml; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
  done
  cmp -s "$prefix/lib/vorn/vorn.vnx" "$source/resources/vorn.vnx" || fail "lib/vorn/vorn.vnx is not the start page"
  cmp -s "$prefix/lib/vorn/vornhelp.txt" "$source/resources/vornhelp.txt" || fail "lib/vorn/vornhelp.txt is not the help file"
  [ -L "$prefix/bin/vorn" ] || fail "bin/vorn is not a link"
  [ "$(readlink "$prefix/bin/vorn")" = ../lib/vorn/vorn ] || fail "bin/vorn links to $(readlink "$prefix/bin/vorn")"
  for size in 16 32 48 64 128 256; do
    file=$prefix/share/icons/hicolor/${size}x${size}/apps/vorn.png
    [ "$(identify -format %wx%h "$file")" = "${size}x${size}" ] || fail "$file is not ${size}x${size}"
  done
  head -n 1 "$prefix/share/man/man1/html2rtf.1" | grep -q '^\.TH HTML2RTF 1' || fail "html2rtf.1 is not a manual page"
  head -n 1 "$prefix/share/man/man1/vorn.1" | grep -q '^\.TH VORN 1' || fail "vorn.1 is not a manual page"
}

# Runs the installed command with no display at all, so that anything that tries to open a
# window fails; leaves its status and outputs in status, out and err.
run_without_display() {
  status=0
  env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/vorn" "$@" >"$work/out" 2>"$work/err" || status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

check_command_line() {
  run_without_display --version
  [ $status -eq 0 ] && [ "$out" = "Vorn Web Editor Basic 3.0" ] && [ -z "$err" ] || fail "--version: $status '$out' '$err'"
  run_without_display --help
  [ $status -eq 0 ] && [[ $out == "Usage: vorn [options] [FILE]"* ]] && [ -z "$err" ] || fail "--help: $status '$out' '$err'"
  for misuse in "a.htm b.htm" "--bogus"; do
    # shellcheck disable=SC2086
    run_without_display $misuse
    [ $status -eq 2 ] && [ -z "$out" ] && [[ $err == *"Usage: vorn [options] [FILE]"* ]] || fail "$misuse: $status '$out' '$err'"
  done
  local report
  report=$(desktop-file-validate "$prefix/share/applications/vorn.desktop" 2>&1) || fail "desktop entry: $report"
  [ -z "$report" ] || fail "desktop entry: $report"
  [[ $(printf '<b>x</b>' | "$prefix/bin/html2rtf" -) == '{\rtf1'* ]] || fail "the installed html2rtf writes no RTF"
}

source "$(dirname "${BASH_SOURCE[0]}")/Waiting.sh"

clipboard_equals() { [ "$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r')" = "$(tr -d '\r' <"$1")" ]; }
# Whether the preview window shows the start page, whose background is #F4F7FF.
preview_shows_start_page() {
  local window
  window=$(xdotool search --name '^Preview$' | head -n 1) || return 1
  import -window "$window" "$work/preview.png" 2>/dev/null || return 1
  convert "$work/preview.png" -format %c histogram:info:- | sort -rn | head -n 1 | grep -q '#F4F7FF'
}
# The outer bounds of a window, with the frame the window manager drew: "left top width height".
frame_of() {
  local window info extents
  window=$(xdotool search --name "$1" | head -n 1)
  info=$(xwininfo -id "$window")
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r left right top bottom <<<"$extents"
  echo "$(($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") - left))" \
    "$(($(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") - top))" \
    "$(($(sed -n 's/.*Width: *//p' <<<"$info") + left + right))" \
    "$(($(sed -n 's/.*Height: *//p' <<<"$info") + top + bottom))"
}
# The bounds the settings file keeps under the keys with this suffix, in the same order.
saved_bounds() {
  local ini=$prefix/lib/vorn/vorn.ini key
  for key in Left Top Width Height; do sed -n "s/^$key$1=//p" "$ini" | tr -d '\r'; done | xargs
}
clipboard_holds() { xclip -o -selection clipboard 2>/dev/null | grep -qF "$1"; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# Starts the installed program through the PATH in the pages folder and waits for its main window
# to take the focus, which it does once the splash has closed.
start_vorn() {
  (cd "$work/pages" && exec env HOME="$work/home" PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=xcb vorn "$@") &
  vorn_pid=$!
  wait_for 60 active_window_is "Vorn Web Editor 3.0" || fail "vorn $*: the main window never took the focus"
}

# Copies what the focused pane holds to the clipboard.
copy_pane() {
  xclip -selection clipboard </dev/null
  xdotool key --clearmodifiers ctrl+a ctrl+c
}

# Closes the main window and expects the program to end at once, asking nothing.
close_vorn() {
  xdotool key --clearmodifiers alt+F4
  expect_end
}

expect_end() {  wait_for 15 ended "$vorn_pid" || fail "vorn did not end when its window closed"
  wait "$vorn_pid" || fail "vorn ended with status $?"
}

check_under_x() {
  openbox &
  local window_manager=$!
  sleep 1
  mkdir -p "$work/home/ferrundshared" "$work/pages"
  printf '%s\n' '<html>' '' '<head>' '<title>New Page</title>' \
    '<meta name="GENERATOR" content="Vorn Web Editor 3.0 Basic">' '</head>' >"$work/template.htm"
  printf '<html>\r\n<body><b>given page</b></body>\r\n</html>\r\n' >"$work/pages/page.htm"

  start_vorn
  wait_for 30 preview_shows_start_page || fail "the preview does not show the start page"
  copy_pane
  wait_for 10 clipboard_equals "$work/template.htm" || fail "the new document is not in the pane"
  xdotool key --clearmodifiers alt+h h
  wait_for 10 active_window_is "About and Help for Vorn Web Editor" || fail "the help window did not open"
  copy_pane
  wait_for 10 clipboard_holds "Vorn Web Editor Basic is an editor for HTML pages written by hand." ||
    fail "the help window does not show the help file"
  xdotool key --clearmodifiers alt+F4
  wait_for 10 active_window_is "Vorn Web Editor 3.0" || fail "the help window did not close"
  # Without a settings file the new document counts as changed, so the first close asks; the
  # settings file is written before the question.
  [ ! -e "$prefix/lib/vorn/vorn.ini" ] || fail "a settings file was installed"
  xdotool key --clearmodifiers alt+F4
  wait_for 10 active_window_is "Do you want to save?" || fail "the first close did not ask to save"
  [ -f "$prefix/lib/vorn/vorn.ini" ] || fail "the settings file is not in the program folder"
  xdotool key Tab space
  expect_end

  start_vorn page.htm
  wait_for 10 eval '[ "$(frame_of "^Vorn Web Editor 3\\.0\$")" = "$(saved_bounds "")" ]' ||
    fail "the main window is at $(frame_of '^Vorn Web Editor 3\.0$'), not where it was left: $(saved_bounds '')"
  wait_for 10 eval '[ "$(frame_of "^Preview\$")" = "$(saved_bounds " Pr")" ]' ||
    fail "the preview is at $(frame_of '^Preview$'), not where it was left: $(saved_bounds ' Pr')"
  copy_pane
  wait_for 10 clipboard_equals "$work/pages/page.htm" || fail "vorn page.htm does not show the page"
  close_vorn

  (cd "$work/pages" && exec env HOME="$work/home" PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=xcb vorn missing.htm) &
  vorn_pid=$!
  wait_for 60 active_window_is "Vorn Web Editor Basic" || fail "vorn missing.htm shows no error box"
  xdotool key --clearmodifiers Return
  wait_for 10 active_window_is "Vorn Web Editor 3.0" || fail "the error box did not close"
  copy_pane
  wait_for 10 clipboard_equals "$work/template.htm" || fail "after a missing page the new document is not in the pane"
  close_vorn
  kill "$window_manager"
}

# The X part runs in a second instance of this script inside xvfb-run, in the same folder.
if [ "$1" = --under-x ]; then
  work=$2
  prefix=$work/prefix
  check_under_x
  exit 0
fi

build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
check_tree
check_command_line
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --under-x "$work"
echo "PASS"
