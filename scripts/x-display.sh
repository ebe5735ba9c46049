# Sourced by the X display scripts: a scratch user, Xvfb with openbox, helpers, and
# start_editor, which starts the editor and finds its main window ($main) and the template
# chooser of its start-up ($chooser). Needs $bin (the programs) and $out (screenshots and
# logs); sets DISPLAY. Tools missing end the run with 77.

for tool in Xvfb openbox xdotool import "$@"; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/packages.txt)" >&2; exit 77; }
done
[ -x "$bin/lindar" ] || { echo "build the editor first (scripts/build.sh)" >&2; exit 77; }

# A scratch user: profile, work folders and platform state of this run only.
scratch="$(mktemp -d /tmp/lindar-x-user-XXXXXX)"
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export KVX_PLATFORM_ROOT="$scratch/platform" TMPDIR="$scratch/tmp" LINDAR_STARTUP_WAIT_PERCENT=0
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$TMPDIR" "$out"

# Xvfb picks a free display and names it on descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$scratch/display" >"$out/xvfb.log" 2>&1 &
pids=("$!")
# The editor ends on SIGTERM as on a close, writing its profile: the scratch folder goes once
# everything has ended (what has not after 5 s is killed).
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for _ in $(seq 50); do
    alive=0
    for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ "$alive" -eq 0 ] && break
    sleep 0.1
  done
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$scratch/display")" QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$out/openbox.log" 2>&1 &
pids+=("$!")

# Waits until a window whose name matches $1 shows; prints its id.
wait_window() {
  local found=""
  for _ in $(seq 300); do
    found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)"
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}
shot() { import -window root "$out/$1.png"; echo "screenshot: $out/$1.png"; }
# The selected row of the tree crossing screen column $1, as "middle height" (needs convert): the tree
# draws its selected row in the (blue) highlight colour, the only blue of a tree column.
highlight_row() {
  import -window root "$scratch/scan.png"
  convert "$scratch/scan.png" -crop "1x860+$1+0" -depth 8 txt:- \
    | awk -F'[,:() ]+' 'NR > 1 && $5 > 150 && $3 < 90 { y[n++] = $2 } END { if (n) print int((y[0] + y[n-1]) / 2), n }'
}

"$bin/lindar" --register-component
# The editor's main window and, over it, the template chooser of its start-up: both carry
# the program's name; the larger is the main window.
start_editor() {
  "$bin/lindar" >"$out/lindar.log" 2>&1 &
  lindar=$!
  pids+=("$lindar")
  local ids=""
  for _ in $(seq 300); do
    ids="$(xdotool search --onlyvisible --name 'Tolvo maker' 2>/dev/null || true)"
    [ "$(echo "$ids" | grep -c .)" -ge 2 ] && break
    sleep 0.1
  done
  local by_size
  by_size="$(for id in $ids; do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "$((WIDTH * HEIGHT)) $id"
  done | sort -n | cut -d' ' -f2)"
  main="$(echo "$by_size" | tail -1)"
  chooser="$(echo "$by_size" | head -1)"
  [ "$chooser" != "$main" ] || chooser=""
}
