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
