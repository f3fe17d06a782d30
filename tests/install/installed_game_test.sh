#!/usr/bin/env bash
# Installs the game into a scratch root, as a packager does, or unpacks the
# Debian package there, and plays it from there:
#
#   installed_game_test.sh install BUILD_FOLDER SOURCE_FOLDER APP_ID CUE_PLAY SOUND_OUTPUT_SH [LIBDIR]
#   installed_game_test.sh deb PACKAGE.deb SOURCE_FOLDER APP_ID CUE_PLAY SOUND_OUTPUT_SH
#
# 1. `cmake --install` with DESTDIR and prefix /usr puts down exactly the
#    files listed below, nothing missing, misplaced or extra (the package:
#    the same with the programs in /usr/games, the manual pages compressed,
#    and Debian's own files in /usr/share/doc and /usr/share/lintian).
# 2. The desktop entry and the AppStream metainfo pass their validators
#    without an error or a warning; the 32-pixel icon is the window icon.
# 3. With the data only under usr/share/morvane and the programs started
#    from an unrelated folder: the cue player finds and sounds all eight
#    cues (sound_output.sh, run on the installed program folder), the
#    installed game under Xvfb sounds a cue when a cell is clicked, and F1
#    opens the help window without a message.
# 4. (install) The uninstall target removes every installed file again.
set -uo pipefail
mode=$1 from=$(realpath "$2") source=$(realpath "$3") app_id=$4
cue_play=$(realpath "$5") sound_output=$(realpath "$6") libdir=${7:-lib}
work=$(mktemp -d "${TMPDIR:-/tmp}/installed-game.XXXXXX")
root=$work/root
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failed=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failed=$((failed + 1)); }

# --- 1. the file list --------------------------------------------------------
case $mode in
  install)
    bin=usr/bin man=6
    if ! DESTDIR=$root cmake --install "$from" --prefix /usr >"$work/install.log" 2>&1; then
      cat "$work/install.log"; echo "FAIL cmake --install"; exit 1
    fi ;;
  deb)
    bin=usr/games man=6.gz libdir=lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    dpkg-deb -x "$from" "$root" || { echo "FAIL dpkg-deb -x $from"; exit 1; } ;;
  *) echo "usage: installed_game_test.sh install|deb ..."; exit 2 ;;
esac
expected=(
  $bin/morvane $bin/morvane-drive $bin/morvane-solve
  usr/share/applications/$app_id.desktop
  usr/share/metainfo/$app_id.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/$app_id.svg
  usr/share/man/man6/morvane.$man usr/share/man/man6/morvane-solve.$man
  usr/share/man/man6/morvane-drive.$man
  usr/share/morvane/Morvane.chm
  usr/$libdir/morvane/morvane_sound.so
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
for cue in move.wav no.wav won.wav lose.wav Yellow.wav red.wav blue.wav green.wav; do
  expected+=("usr/share/morvane/$cue")
done
diff <(printf '%s\n' "${expected[@]}" | sort) \
     <(cd "$root" && find . -type f -printf '%P\n' | grep -Ev '^usr/share/(doc|lintian)/' | sort) \
  >"$work/files.diff" && pass "installed files: ${#expected[@]} as listed" ||
  { fail "installed files differ from the list (< missing, > extra):"; cat "$work/files.diff"; }
for program in morvane morvane-drive morvane-solve; do
  [[ -x $root/$bin/$program ]] || fail "$bin/$program is not executable"
done

# --- 2. validators and the icon ----------------------------------------------
if out=$(desktop-file-validate "$root/usr/share/applications/$app_id.desktop" 2>&1) && [[ -z $out ]]; then
  pass "desktop-file-validate: clean"
else fail "desktop-file-validate: $out"; fi
out=$(appstreamcli validate --pedantic --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" 2>&1)
if [[ $? -eq 0 ]] && ! grep -Eq '^[EW]:' <<<"$out"; then pass "appstreamcli validate --pedantic: clean"
else fail "appstreamcli validate --pedantic: $out"; fi
# The menu entry starts the program by its full path, whatever PATH holds.
for name in "Exec=/$bin/morvane" "Icon=$app_id" "Categories=Game;LogicGame;"; do
  grep -qx "$name" "$root/usr/share/applications/$app_id.desktop" || fail "the desktop entry lacks $name"
done
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
  "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "the metainfo does not launch $app_id.desktop"
for size in 16 22 24 32 48 64 128 256; do
  got=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png" 2>&1)
  [[ $got == "${size}x$size" ]] || fail "the ${size}-pixel icon is $got"
done
differ=$(compare -metric AE "$root/usr/share/icons/hicolor/32x32/apps/$app_id.png" \
         "$source/assets/icon.png" null: 2>&1)
[[ $differ == 0 ]] && pass "the 32-pixel icon is the window icon" ||
  fail "the 32-pixel icon differs from assets/icon.png in $differ pixels"

# --- 3. the installed programs find their data --------------------------------
mkdir -p "$work/elsewhere"
cd "$work/elsewhere"
if bash "$sound_output" "$cue_play" "$root/$bin" >"$work/sound.log" 2>&1; then
  pass "all eight cues sound from usr/share/morvane ($(tail -n1 "$work/sound.log"))"
else fail "cues from the installed layout:"; cat "$work/sound.log"; fi

# A private sound server with a null sink, recorded throughout, and a
# display of our own.
export XDG_RUNTIME_DIR=$work HOME=$work PULSE_SERVER=unix:$work/native
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM
timeout 120 pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$work/native" \
  -L "module-null-sink sink_name=game" >"$work/daemon.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do timeout 5 pactl info >/dev/null 2>&1 && break; sleep 0.1; done
parec -d game.monitor --format=s16le --rate=44100 --channels=1 --raw >"$work/sink.raw" 2>/dev/null &
pids+=($!)
exec 3<>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"

"$root/$bin/morvane" >"$work/game.log" 2>&1 &
game=$!
pids+=($game)
main=$(timeout 20 xdotool search --sync --onlyvisible --name "^Morvane's Challenge II$" | head -n1)
if [[ -z $main ]]; then
  fail "the installed game's window did not appear:"; cat "$work/game.log"
else
  eval "$(xdotool getwindowgeometry --shell "$main")"
  peak() {  # the loudest sample recorded after byte $1 of the recording
    tail -c +$(($1 + 1)) "$work/sink.raw" >"$work/take.raw"
    sox -t raw -r 44100 -e signed -b 16 -c 1 "$work/take.raw" -n stat 2>&1 |
      awk '/^Maximum amplitude/ {print $3}'
  }
  # No board yet: a click on a cell is refused with the cue no.wav.
  mark=$(stat -c %s "$work/sink.raw")
  xdotool mousemove $((X + 176 + 24)) $((Y + 96 + 24)) click 1
  heard=0
  for _ in $(seq 50); do
    p=$(peak "$mark")
    awk -v p="${p:-0}" 'BEGIN { exit !(p > 0.05) }' && { heard=1; break; }
    sleep 0.1
  done
  [[ $heard == 1 ]] && pass "the installed game sounds no.wav when a cell is clicked (peak $p)" ||
    fail "the installed game made no sound on a refused click (peak ${p:-none})"

  xdotool windowfocus --sync "$main" key F1
  help=$(timeout 20 xdotool search --sync --onlyvisible --name "^Morvane's Challenge II Help$" | head -n1)
  [[ -n $help ]] && pass "F1 opens the help window" || fail "F1 did not open the help window"
  boxes=$(xdotool search --onlyvisible --name "^Morvane's Challenge II$" | grep -vx "$main")
  [[ -z $boxes ]] && pass "no message box beside the help" ||
    { import -window root "$work/shot.png"; fail "a message box is up beside the window"; }
fi
kill "$game" 2>/dev/null

# --- 4. uninstall --------------------------------------------------------------
if [[ $mode == deb ]]; then :
elif DESTDIR=$root cmake --build "$from" --target uninstall >"$work/uninstall.log" 2>&1; then
  left=$(cd "$root" && find . -type f -printf '%P\n')
  [[ -z $left ]] && pass "uninstall removed every file" || fail "uninstall left: $left"
else fail "the uninstall target failed:"; cat "$work/uninstall.log"; fi

echo "$failed failed"
[[ $failed -eq 0 ]]
