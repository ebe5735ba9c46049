# Shared by the epubcheck scripts: `jar` names the epubcheck jar.

# epubcheck BOOK SUMMARY: writes "SEVERITY CODE COUNT" lines, one per code, to SUMMARY.
# epubcheck exits 1 when it finds errors, so only a missing or unreadable report is a failure.
epubcheck() {
    local book="$1" summary="$2" report="$2.json"
    java -jar "$jar" "$book" --quiet --json "$report" >"$summary.log" 2>&1
    local status=$?
    if ! jq -e '.checker.nError != null' "$report" >/dev/null 2>&1; then
        echo "epubcheck failed on $book (exit $status):" >&2
        cat "$summary.log" >&2
        return 1
    fi
    jq -r '.messages[] | select(.severity == "FATAL" or .severity == "ERROR" or .severity == "WARNING")
               | "\(.severity) \(.ID) \([(.locations | length), 1] | max)"' "$report" |
        awk '{ n[$1 " " $2] += $3 } END { for (k in n) print k, n[k] }' | sort >"$summary"
}

# "ERROR RSC-005 ×2, WARNING OPF-003 ×1", or "none".
describe() {
    if [[ -s "$1" ]]; then
        awk '{ printf "%s%s %s ×%d", (NR > 1 ? ", " : ""), $1, $2, $3 } END { print "" }' "$1"
    else
        echo "none"
    fi
}

# keep_editor_test_books SCRIPT VARIABLE FILTER: runs the editor tests FILTER with
# VARIABLE naming the folder where they keep the books they save, `$work/books`. Sets `bin`
# (LINDAR_BIN_DIR, default this checkout's build/bin), `jar` (EPUBCHECK_JAR, default
# /usr/bin/epubcheck) and `work`, a scratch folder that goes when the script ends. A missing
# tool or a failed test ends the script with status 2.
keep_editor_test_books() {
    local script="$1" variable="$2" filter="$3"
    local scripts
    scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
    bin="${LINDAR_BIN_DIR:-$scripts/../build/bin}"
    jar="${EPUBCHECK_JAR:-/usr/bin/epubcheck}"
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    local folder="$work/books"
    local problem=""
    if [[ ! -x "$bin/editor_tests" ]]; then problem="no editor_tests in $bin (build it first)"
    elif ! command -v java >/dev/null; then problem="java is not installed (apt-get install default-jre-headless epubcheck)"
    elif ! command -v jq >/dev/null; then problem="jq is not installed"
    elif [[ ! -f "$jar" ]]; then problem="no epubcheck at $jar"
    fi
    [[ -z $problem ]] || { echo "$script: $problem" >&2; exit 2; }
    mkdir -p "$folder"
    env "$variable=$folder" QT_QPA_PLATFORM=offscreen "$bin/editor_tests" --gtest_filter="$filter" \
        >"$folder.log" 2>&1 || { cat "$folder.log" >&2; echo "$script: the editor test failed" >&2; exit 2; }
}
