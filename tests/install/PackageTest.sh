#!/usr/bin/env bash
# Builds the Debian package with scripts/package.sh and checks it as an administrator and a user
# meet it: lintian reports no error and no warning, the package holds the install tree and no
# more, Depends names the package of every library the programs link, and the AppStream metadata
# validates. As root with CI set, the package is installed into this machine: the program on
# the PATH prints its version, an ordinary user made for the run edits a new page under an X
# server with a window manager (the preview shows the start page, ~/ferrundshared is made
# private and gets the scratch file, no error box, the settings file goes to ~/.config/vorn),
# and the removal leaves nothing of the package. Otherwise the package is only extracted, and
# the extracted program prints its version.
# Usage: PackageTest.sh SOURCE_DIR
set -euo pipefail
skip=77

source "$(dirname "${BASH_SOURCE[0]}")/Waiting.sh"

# ---- The part run by the ordinary user, inside xvfb-run: PackageTest.sh --as-user -----------
ended() { ! kill -0 "$1" 2>/dev/null; }
# Whether the preview window shows the start page, whose background is #F4F7FF.
preview_shows_start_page() {
  local window
  window=$(xdotool search --name '^Preview$' | head -n 1) || return 1
  import -window "$window" "$shots/preview.png" 2>/dev/null || return 1
  convert "$shots/preview.png" -format %c histogram:info:- | sort -rn | head -n 1 | grep -q '#F4F7FF'
}
scratch_holds() { grep -qF "$1" "$HOME/ferrundshared/temp.vnx" 2>/dev/null; }
# The error box is the one window titled with the product's name. Its text cannot be read from
# outside the program, so a picture of the screen is kept in $shots and named for the report.
error_box_seen() {
  xdotool search --onlyvisible --name '^Vorn Web Editor Basic$' >/dev/null || return 1
  box=error-box-$((++boxes)).png
  import -window root "$shots/$box" 2>/dev/null || true
}

run_as_user() {
  local typed=vornpackagecheck vorn_pid box boxes=0
  [ ! -e "$HOME/ferrundshared" ] && [ ! -e "$HOME/.config/vorn" ] ||
    { echo "FAIL: expected a home without ferrundshared and .config/vorn before the first start"; exit 1; }
  (cd "$HOME" && exec env QT_QPA_PLATFORM=xcb vorn) &
  vorn_pid=$!
  if ! wait_for 60 active_window_is "Vorn Web Editor 3.0"; then
    error_box_seen && echo "FAIL: expected no error box at the start; one showed (the screen: $box)"
    echo "FAIL: expected the main window 'Vorn Web Editor 3.0' to take the focus within 60 s"
    exit 1
  fi
  wait_for 30 preview_shows_start_page ||
    echo "FAIL: expected the preview to show the start page (the browser engine as an ordinary user)"
  xdotool type --delay 50 "$typed"
  wait_for 20 scratch_holds "$typed" ||
    echo "FAIL: expected ~/ferrundshared/temp.vnx to hold the typed '$typed' within 20 s"
  if error_box_seen; then
    echo "FAIL: expected no error box while typing; one showed (the screen: $box)"
    xdotool key --clearmodifiers Return
  fi
  xdotool key --clearmodifiers alt+F4
  if wait_for 10 active_window_is "Do you want to save?"; then
    xdotool key Tab space # the prompt's second button, "No"
  elif error_box_seen; then
    echo "FAIL: expected the close of a changed page to ask 'Do you want to save?' at once; an error box showed first (the screen: $box)"
    xdotool key --clearmodifiers Return
    if wait_for 10 active_window_is "Do you want to save?"; then xdotool key Tab space; fi
  else
    echo "FAIL: expected the close of a changed page to ask 'Do you want to save?'"
  fi
  if wait_for 30 ended "$vorn_pid"; then
    wait "$vorn_pid" || echo "FAIL: expected vorn to end with status 0, not $?"
  else
    echo "FAIL: expected vorn to end within 30 s of answering 'No'"
    kill "$vorn_pid"
  fi
}

if [ "${1:-}" = --as-user ]; then
  shots=$2
  openbox &
  window_manager=$!
  # The window manager has taken the display once it names itself on the root window.
  wait_for 10 eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
    { echo "FAIL: expected openbox to take the display within 10 s"; exit 1; }
  run_as_user
  kill "$window_manager"
  exit 0
fi

# ---- The part run by the test itself -----------------------------------------------------------
source=$(realpath "$1")
for tool in dpkg-buildpackage dh lintian appstreamcli readelf; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit $skip; }
done
failed=0
problem() {
  echo "FAIL: $*"
  failed=1
}

work=$(mktemp -d)
user=""
installed=""
cleanup() {
  if [ -n "$user" ]; then
    # What the user's run left behind (the browser engine's helpers) is ended before the user goes.
    wait_for 20 eval '! pgrep -u "$user" >/dev/null' || kill $(pgrep -u "$user") 2>/dev/null || true
    # Its home goes with it, and what its run left in the shared temporary folders (Qt's runtime
    # folder) with that.
    find /tmp /var/tmp /dev/shm -maxdepth 1 -user "$user" -exec rm -rf {} + 2>/dev/null || true
    userdel -r "$user" 2>/dev/null || true
  fi
  [ -z "$installed" ] || DEBIAN_FRONTEND=noninteractive apt-get remove -y -q vorn >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM # a run stopped by its time limit still removes the user and the package

if ! bash "$source/scripts/package.sh" >"$work/package.log" 2>&1; then
  tail -n 40 "$work/package.log"
  echo "FAIL: expected scripts/package.sh to build the package"
  exit 1
fi
deb=$source/dist/vorn_$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: expected scripts/package.sh to make $deb"; ls "$source/dist"; exit 1; }

# lintian: neither an error nor a warning.
report=$(lintian "$deb" 2>/dev/null) || problem "expected lintian to pass, it ended with status $?"
if grep -E '^[EW]: ' <<<"$report"; then problem "expected no E: or W: line from lintian (above)"; fi

# The tree: every file and link the package holds, and no other.
listing=$(dpkg-deb -c "$deb")
expected="./usr/bin/html2rtf
./usr/bin/vorn -> ../lib/vorn/vorn
./usr/lib/vorn/vorn
./usr/lib/vorn/vorn.vnx
./usr/lib/vorn/vornhelp.txt
./usr/share/applications/vorn.desktop
$(for size in 16 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/vorn.png"; done)
./usr/share/doc/vorn/changelog.Debian.gz
./usr/share/doc/vorn/copyright
./usr/share/lintian/overrides/vorn
./usr/share/man/man1/html2rtf.1.gz
./usr/share/man/man1/vorn.1.gz
./usr/share/metainfo/org.example.vorn.metainfo.xml"
actual=$(awk '$1 !~ /^d/ { print substr($0, index($0, "./")) }' <<<"$listing" | sort)
if [ "$actual" != "$(sort <<<"$expected")" ]; then
  problem "expected the package to hold exactly the install tree; missing (<) and extra (>):"
  diff <(sort <<<"$expected") <(echo "$actual") | grep '^[<>]' || true
fi
for program in ./usr/bin/html2rtf ./usr/lib/vorn/vorn; do
  grep -qE "^-rwxr-xr-x root/root .* $program\$" <<<"$listing" || problem "expected $program as -rwxr-xr-x root/root"
done

dpkg-deb -x "$deb" "$work/root"
dpkg-deb -I "$deb" md5sums >/dev/null 2>&1 || problem "expected the package to carry md5sums"
# Depends: for every library the programs link, a package that holds it, as dpkg-shlibdeps
# finds them; the programs stripped of their symbols.
depends=$(dpkg-deb -f "$deb" Depends)
depends_names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for program in "$work/root/usr/lib/vorn/vorn" "$work/root/usr/bin/html2rtf"; do
  if readelf -S "$program" | grep -qE '\.(symtab|debug_info)\b'; then problem "expected $program stripped"; fi
  for soname in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    owners=$(dpkg -S "*/$soname" 2>/dev/null | grep ': /' | cut -d: -f1 | sort -u | paste -sd ' ') || true
    [ -n "$owners" ] && grep -qxF -f <(tr ' ' '\n' <<<"$owners") <<<"$depends_names" ||
      problem "expected Depends to name the package holding $soname (${owners:-none found}), which $(basename "$program") links; it is: $depends"
  done
done

# AppStream: the metadata alone and with the tree it points into (desktop entry, icon).
for command in "validate --no-net $work/root/usr/share/metainfo/org.example.vorn.metainfo.xml" \
  "validate-tree --no-net $work/root"; do
  # shellcheck disable=SC2086
  if ! report=$(appstreamcli $command 2>&1) || grep -qE '^[EW]: ' <<<"$report"; then
    echo "$report"
    problem "expected 'appstreamcli $command' to pass without an error or a warning"
  fi
done

if [ "$(id -u)" -ne 0 ] || [ -z "${CI:-}" ]; then
  version=$("$work/root/usr/bin/vorn" --version 2>&1) || true
  [ "$version" = "Vorn Web Editor Basic 3.0" ] ||
    problem "expected the extracted vorn --version to print 'Vorn Web Editor Basic 3.0', not '$version'"
  echo "NOTE: the package was extracted, not installed (that needs root and CI set): the run as an ordinary user and the removal were not checked"
  [ $failed -eq 0 ] && echo "PASS"
  exit $failed
fi

# ---- Installed into this machine ------------------------------------------------------------
for tool in xvfb-run openbox xdotool xprop import convert useradd runuser; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit $skip; }
done
installed=yes
if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$work/apt.log" 2>&1; then
  cat "$work/apt.log"
  echo "FAIL: expected 'apt-get install -y $deb' to install the package"
  exit 1
fi
version=$(env -u DISPLAY /usr/bin/vorn --version 2>&1) || true
[ "$version" = "Vorn Web Editor Basic 3.0" ] ||
  problem "expected /usr/bin/vorn --version to print 'Vorn Web Editor Basic 3.0', not '$version'"

# An ordinary user of the machine, with a home of their own and nothing of the editor in it.
user=vornpkg$$
while id "$user" >/dev/null 2>&1; do user=${user}x; done
useradd -m "$user"
home=$(getent passwd "$user" | cut -d: -f6)
# The user runs a copy of this script, as the source tree need not be readable to them, and
# leaves the pictures of the screen in a folder of their own.
install -m 0755 -d "$work/user"
install -m 0644 "$0" "$(dirname "$0")/Waiting.sh" "$work/user/"
install -m 0700 -o "$user" -d "$work/user/shots"
chmod 0711 "$work"
runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin LANG=C.UTF-8 \
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/user/PackageTest.sh" --as-user "$work/user/shots" \
  >"$work/user.log" 2>&1 || problem "expected the user's run to end with status 0, it ended with $?"
if compgen -G "$work/user/shots/error-box-*.png" >/dev/null; then
  kept=$(mktemp -d "${TMPDIR:-/tmp}/vorn-package-test.XXXXXX")
  cp "$work"/user/shots/error-box-*.png "$kept"
  echo "The screen at each error box is kept in $kept"
fi
if grep -q '^FAIL: ' "$work/user.log"; then failed=1; fi
[ "$(stat -c '%a %U' "$home/ferrundshared" 2>/dev/null)" = "700 $user" ] ||
  problem "expected ~/ferrundshared made by the program as a folder of mode 700 owned by $user, found: $(stat -c '%F %a %U' "$home/ferrundshared" 2>&1)"
[ -f "$home/.config/vorn/vorn.ini" ] && [ "$(stat -c %U "$home/.config/vorn/vorn.ini")" = "$user" ] ||
  problem "expected the settings file ~/.config/vorn/vorn.ini written at the close, owned by $user"
[ ! -e /usr/lib/vorn/vorn.ini ] || problem "expected no vorn.ini in /usr/lib/vorn after the user's run"
if [ $failed -ne 0 ]; then
  echo "The user's run printed:"
  sed 's/^/  /' "$work/user.log"
fi

# Removed, nothing of the package is left.
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q vorn >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; problem "expected 'apt-get remove -y vorn' to remove the package"; }
installed=""
! dpkg -L vorn >/dev/null 2>&1 || problem "expected 'dpkg -L vorn' to fail after the removal"
for path in /usr/lib/vorn /usr/bin/vorn /usr/bin/html2rtf; do
  [ ! -e "$path" ] && [ ! -L "$path" ] || problem "expected $path gone after the removal"
done
while read -r path; do
  path=/${path#./}
  path=${path%% -> *}
  [ ! -e "$path" ] && [ ! -L "$path" ] || problem "expected $path gone after the removal"
done <<<"$actual"

[ $failed -eq 0 ] && echo "PASS"
exit $failed
