#!/usr/bin/env bash
# Runs epubcheck on every book of a folder that lindar-cli accepts, before and after a
# `lindar-cli resave` without edits, and prints the message codes of each side, so that a
# resave that adds a fault shows up. Slow (epubcheck takes 10-30 s a book): not part of the tests.
#
#   scripts/epubcheck-corpus.sh [FOLDER]      default: the shared corpus beside the checkout
#
# LINDAR_CLI names another lindar-cli (default: build/bin/lindar-cli of this checkout),
# EPUBCHECK_JAR another epubcheck jar (default: /usr/bin/epubcheck).
# Exit status: 0 no book gained a code, 1 some book did, 2 usage or tool failure.
set -uo pipefail
export LC_ALL=C.UTF-8

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
folder="${1:-$here/../../shared/corpus/epub2}"
cli="${LINDAR_CLI:-$here/../build/bin/lindar-cli}"
jar="${EPUBCHECK_JAR:-/usr/bin/epubcheck}"

die() { echo "epubcheck-corpus: $*" >&2; exit 2; }

[[ -d "$folder" ]] || die "no folder $folder"
[[ -x "$cli" ]] || die "no lindar-cli at $cli (build it first)"
command -v java >/dev/null || die "java is not installed (apt-get install default-jre-headless epubcheck)"
command -v jq >/dev/null || die "jq is not installed"
[[ -f "$jar" ]] || die "no epubcheck at $jar"
# epubcheck --version exits 1 even when it runs: its banner is the sign that it started.
version="$(java -jar "$jar" --version 2>&1)"
[[ $version == *EPUBCheck* ]] || die "epubcheck does not start (java -jar $jar --version): $version"

work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
# lindar-cli unpacks below XDG_DATA_HOME; keep its work folders out of the user's.
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME"

# shellcheck source=epubcheck-functions.sh
source "$here/epubcheck-functions.sh"

flagged=0
checked=0
: >"$work/all-before"
: >"$work/all-after"
shopt -s nullglob
for book in "$folder"/*.epub; do
    name="$(basename "$book")"
    "$cli" info "$book" >/dev/null 2>&1 || continue
    out="$work/out/$name"
    mkdir -p "$work/out"
    if ! "$cli" resave "$book" "$out" >"$work/resave.log" 2>&1; then
        echo "$name"
        # A book whose container names no usable package is refused on purpose: it has
        # nothing a save could keep.
        if grep -q "no usable package file" "$work/resave.log"; then
            echo "  not saved (no usable package): $(tr '\n' ' ' <"$work/resave.log")"
            continue
        fi
        echo "  resave FAILED: $(tr '\n' ' ' <"$work/resave.log")"
        flagged=$((flagged + 1))
        continue
    fi
    # The two checks of a book run side by side: at most two at a time.
    epubcheck "$book" "$work/before" &
    before_job=$!
    epubcheck "$out" "$work/after" &
    after_job=$!
    wait "$before_job" || die "stopped: epubcheck could not check $name"
    wait "$after_job" || die "stopped: epubcheck could not check the resaved $name"
    rm -f "$out"
    checked=$((checked + 1))

    echo "$name"
    echo "  before: $(describe "$work/before")"
    echo "  after:  $(describe "$work/after")"
    # A code that is new after the resave, or found more often, is a fault the resave added.
    gained="$(join -a 2 -e 0 -o 0,1.2,2.2 <(awk '{ print $1 "/" $2, $3 }' "$work/before" | sort) \
                                      <(awk '{ print $1 "/" $2, $3 }' "$work/after" | sort) |
              awk '$3 > $2 { sub("/", " ", $1); print ($2 == 0 ? "NEW " $1 " ×" $3 : "MORE " $1 " ×" $2 " -> ×" $3) }')"
    if [[ -n "$gained" ]]; then
        flagged=$((flagged + 1))
        while IFS= read -r line; do echo "  !! $line"; done <<<"$gained"
    fi
    cat "$work/before" >>"$work/all-before"
    cat "$work/after" >>"$work/all-after"
done

total() { awk '{ n[$1 " " $2] += $3 } END { for (k in n) print k, n[k] }' "$1" | sort >"$1.sum"; describe "$1.sum"; }
sum_severity() { awk -v s="$2" '$1 == s { n += $3 } END { print n + 0 }' "$1"; }
echo
echo "Totals over $checked books checked ($flagged flagged):"
echo "  before: $(total "$work/all-before")"
echo "  after:  $(total "$work/all-after")"
for side in before after; do
    f="$work/all-$side"
    printf '  %-7s %d fatal, %d errors, %d warnings\n' "$side:" "$(sum_severity "$f" FATAL)" \
        "$(sum_severity "$f" ERROR)" "$(sum_severity "$f" WARNING)"
done
[[ $flagged -eq 0 ]]
