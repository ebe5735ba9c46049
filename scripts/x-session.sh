# Sourced by the X display checks: a scratch user, Xvfb with openbox, and the editor with a
# book opened through its open dialog, as a user would. Needs $bin (the programs), $out
# (screenshots and logs) and $book; sets $target (the copy of the book the editor works
# on), $main (the editor's window) and DISPLAY. Tools or a book missing end the run with 77.

[ -f "$book" ] || { echo "no book at $book" >&2; exit 77; }
here="${here:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)}"
# shellcheck source=x-display.sh
source "$here/x-display.sh" "$@"
target="$out/$(basename "$book")"
cp "$book" "$target"

start_editor
echo "editor window: $main, template chooser: ${chooser:-none}"
# The walks start from the main window without a book: Escape closes the chooser.
[ -n "$chooser" ] && xdotool windowactivate --sync "$chooser" key Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name 'Tolvo maker' 2>/dev/null | grep -qx "$chooser" || break
  sleep 0.1
done
xdotool windowactivate --sync "$main"

# The open command (Alt+O), then the open dialog: type the book's path and press Enter.
xdotool key alt+o
# While focus moves there may be no active window for a moment; that is not an error.
for _ in $(seq 100); do
  dialog="$(xdotool getactivewindow 2>/dev/null || true)"
  [ -n "$dialog" ] && [ "$dialog" != "$main" ] && break
  sleep 0.1
done
xdotool type --delay 5 "$target"
xdotool key Return

# The style question comes with the first chapter; Enter takes its default answer.
for _ in $(seq 100); do
  question="$(xdotool search --onlyvisible --name 'Tolvo maker 편집툴$' 2>/dev/null | grep -v "^$main$" | head -1 || true)"
  [ -n "$question" ] && break
  sleep 0.1
done
[ -n "$question" ] && xdotool windowactivate --sync "$question" key Return
