#!/usr/bin/env bash
# Takes Tapbook's screenshots into docs/screenshots/: runs the program on a virtual X display and
# drives it from outside with mouse clicks, as a pupil would. Rerun it after a change of the book
# or of the windows to refresh them. A game or drill whose button does nothing yet is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${TAPBOOK_SCREENSHOTS_ON_XVFB:-}" ]; then
  bash scripts/deps.sh xdotool imagemagick jq
  bash scripts/build.sh
  export TAPBOOK_SCREENSHOTS_ON_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" "$@"
fi

out=docs/screenshots
layout=build/assets/layout/main_pages.json
mkdir -p "$out"
export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/tapbook-xdg-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Where things are, in window pixels: the toolbar buttons (40 x 30 at top 15 in the toolbar group
# at 1, 536) and the welcome window's start button.
toolbar_y=566
button_x() { echo $((1 + $1 + 20)); }
full_screen=$(button_x 8) next_page=$(button_x 157)
declare -A games=([practice]=243 [find]=286 [fill-in]=329 [ordering]=372 [word-drill]=415)
# The first press inside a game's window, so the picture shows a question, not an empty board:
# the ordering window's and the word drill's start buttons, the fill-in window's next question.
declare -A first_press=([ordering]="152 465" [word-drill]="225 471" [fill-in]="179 495")
start_x=262 start_y=307
spread_page=4   # the spread shown with a translation: page index 4, printed pages 10 and 11
spread_item=5   # the sentence pressed on it: "What colour is it?"

scratch=$(mktemp -d)
pid=""
welcome=""
main=""
stop() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  pid=""
}
trap 'stop; rm -rf "$scratch"' EXIT

settle() { sleep "${1:-1.5}"; xdotool mousemove 1279 899; sleep 0.3; }
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true; }
# The newest visible window of the program that is not one of the windows given; waits up to
# $tries fifths of a second for it.
tries=50
new_window() {
  local known=" $* " w
  for _ in $(seq "$tries"); do
    for w in $(windows); do [[ "$known" == *" $w "* ]] || { echo "$w"; return; }; done
    sleep 0.2
  done
  echo "no new window appeared" >&2; return 1
}
shot() { import -window "$1" "$out/$2.png"; echo "saved $out/$2.png"; }

# Tapbook started afresh with its main window open; sets pid and main.
open_main() {
  stop
  ./build/tapbook & pid=$!
  welcome=$(new_window)
  settle 1
  [ "${1:-}" = welcome ] && shot "$welcome" welcome
  click "$welcome" "$start_x" "$start_y"
  main=$(new_window "$welcome")
  settle
}

# The centre of a hotspot on a page, from the layout the build made (window pixels at 800 x 600).
hotspot_centre() {
  jq -r --argjson page "$1" --arg item "_$2" '
    (.units[] | select(.page == $page and .type == "PicBox") | .name) as $picture
    | .units[] | select(.parent == $picture and .type == "TransLabel" and (.name | endswith($item)))
    | "\(.place[0] + .place[2] / 2 | floor) \(.place[1] + .place[3] / 2 | floor)"' "$layout" | head -1
}

open_main welcome
for _ in $(seq "$spread_page"); do click "$main" "$next_page" "$toolbar_y"; sleep 0.3; done
read -r hx hy <<<"$(hotspot_centre "$spread_page" "$spread_item")"
click "$main" "$hx" "$hy"
settle
shot "$main" spread

# A fill-in row of printed page 6 (page index 2, two pages back) answered wrongly: the cross
# stands with its own row.
previous_page=$(button_x 51)
for _ in $(seq $((spread_page - 2))); do click "$main" "$previous_page" "$toolbar_y"; sleep 0.3; done
read -r fl ft fw fh <<<"$(jq -r '.units[] | select(.name == "编辑框6_1") | "\(.place[0]) \(.place[1]) \(.place[2]) \(.place[3])"' "$layout")"
click "$main" $((fl + 5)) $((ft + fh / 2))
xdotool type --delay 120 "zzzzzzzzzzzz"
sleep 1.5
xdotool key Escape   # "no": leave the wrong word and its cross
settle
import -window "$main" "$scratch/row.png"
column_x=$(( fl >= 400 ? 410 : 10 ))   # the printed page the row is on
convert "$scratch/row.png" -crop "390x$((fh + 70))+$column_x+$((ft - 40))" +repage "$out/fill-in-row.png"
echo "saved $out/fill-in-row.png"

# Full screen rebuilds the main window over the whole screen.
click "$main" "$full_screen" "$toolbar_y"
sleep 1
main=$(new_window "$welcome" "$main")
settle
shot root full-screen
stop

# Each game and drill from the spread above: its own window, or the main window as it changes.
for game in "${!games[@]}"; do
  open_main
  for _ in $(seq "$spread_page"); do click "$main" "$next_page" "$toolbar_y"; sleep 0.3; done
  settle 0.5
  import -window "$main" "$scratch/before.png"
  click "$main" "$(button_x "${games[$game]}")" "$toolbar_y"
  settle 2
  target=$(tries=5 new_window "$welcome" "$main" 2>/dev/null || echo "$main")
  if [ -n "${first_press[$game]:-}" ]; then
    read -r px py <<<"${first_press[$game]}"
    click "$target" "$px" "$py"
    settle 2
  fi
  import -window "$target" "$scratch/after.png"
  if [ "$target" = "$main" ] &&
     [ "$(compare -metric AE "$scratch/before.png" "$scratch/after.png" null: 2>&1 || true)" = 0 ]; then
    echo "skipped $game: its button changes nothing yet"
    rm -f "$out/$game.png"
  else
    cp "$scratch/after.png" "$out/$game.png"; echo "saved $out/$game.png"
  fi
done
