#!/usr/bin/env bash
# Runs the programs of an installed copy, with scratch per-user folders, and checks that
# each one works from there and that none writes into the installation.
#   scripts/check-installed-copy.sh PREFIX              a copy installed in PREFIX
#   scripts/check-installed-copy.sh --from-build BUILD  installs BUILD into a temporary prefix first
set -euo pipefail

scratch="$(mktemp -d "${TMPDIR:-/tmp}/lindar-installed-XXXXXX")"
# The printer's turn mutex (an empty shared-memory object) outlives kvx-printjob; this
# run's namespace has its own, which goes with the run.
trap 'rm -rf "$scratch"; rm -f "/dev/shm/installed-$$-Global%5CMUTEX{9B63F701-A616-4994-A99A-EB38719733A1}"' EXIT
if [ "${1:-}" = "--from-build" ]; then
  [ $# -eq 2 ] || { echo "usage: $0 PREFIX | --from-build BUILD" >&2; exit 2; }
  prefix="$scratch/prefix"
  cmake --install "$2" --prefix "$prefix" >/dev/null
else
  [ $# -eq 1 ] || { echo "usage: $0 PREFIX | --from-build BUILD" >&2; exit 2; }
  prefix="$(cd "$1" && pwd)"
fi
bin="$prefix/bin"

export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export TMPDIR="$scratch/tmp" KVX_PLATFORM_ROOT="$scratch/platform"
export KVX_OBJECT_NAMESPACE="installed-$$-" KVX_MESSAGE_BOXES=stderr
export QT_QPA_PLATFORM=offscreen LINDAR_STARTUP_WAIT_PERCENT=0
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$TMPDIR" "$KVX_PLATFORM_ROOT"
work="$scratch/work"; mkdir -p "$work"; cd "$work"

step() { printf '== %s\n' "$*"; }
fail() { printf 'FAILED: %s\n' "$*" >&2; exit 1; }
# Every file of the installation with its size and time: compared at the end.
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@\n' | LC_ALL=C sort); }
before="$(snapshot)"

step "installed layout"
for file in bin/lindar bin/lindar-cli bin/KVXE2PPRCONV bin/pdfsetup bin/kvx-printjob \
            share/lindar/template/basic_template.sty share/lindar/template/02_novel.tdt \
            lib/lindar/x64/KVXE2PPRCONV.exe \
            share/applications/org.lindar.Lindar.desktop share/metainfo/org.lindar.Lindar.metainfo.xml; do
  [ -e "$prefix/$file" ] || fail "missing $file"
done
[ ! -e "$bin/template" ] || fail "template/ lies beside the programs; this is not an installed layout"

step "--version and --help"
for program in lindar lindar-cli KVXE2PPRCONV pdfsetup kvx-printjob; do
  version="$("$bin/$program" --version)" || fail "$program --version"
  echo "$version"
  [[ "$version" == "$program "[0-9]* ]] || fail "$program --version said '$version'"
  "$bin/$program" --help | grep -q . || fail "$program --help"
done

step "lindar-cli new, resave --set, info"
"$bin/lindar-cli" new fresh.epub
"$bin/lindar-cli" resave fresh.epub book.epub --set 제목="어린 왕자" --set 저자=생텍쥐페리 --set 언어="영어(EN)"
"$bin/lindar-cli" info book.epub > info.json
grep -q '어린 왕자' info.json || fail "the title set by resave is not in the book"
echo "book.epub: $(wc -c < book.epub) bytes"

step "pdfsetup /i from lib/lindar, kvx-printjob --text"
(cd "$prefix/lib/lindar" && "$bin/pdfsetup" /i) || true # it always ends with status 1
printf '설치본에서 인쇄한 쪽입니다.\nPrinted from the installed copy.\n' > page.txt
timeout 120 "$bin/kvx-printjob" --text page.txt --output page.pdf | tail -n 1
command -v pdftotext >/dev/null && { pdftotext page.pdf - | grep -q 'installed copy' || fail "the PDF lacks the text"; }
echo "page.pdf: $(wc -c < page.pdf) bytes"

step "lindar --screenshot, with a book on the command line"
# A message box would wait for an answer nobody gives: the time limit ends such a run.
timeout 120 "$bin/lindar" --screenshot shot.png "$work/book.epub"
[ "$(head -c 4 shot.png | tail -c 3)" = PNG ] || fail "no PNG screenshot"
grep -q "File1=$work/book.epub" "$XDG_CONFIG_HOME/Corvel_Vendara Quorra/lindar.conf" \
  || fail "the book on the command line was not opened"
echo "shot.png: $(wc -c < shot.png) bytes"

step "lindar --screenshot, the template chooser at start-up"
# Without a book the start-up offers the template chooser (cancelled in a screenshot run);
# its thumbnails go to the user's own data, as the installation is only read.
timeout 120 "$bin/lindar" --screenshot start.png
for title in 01_vendara_basic_template 02_novel 03_novel 04_novel_large 05_novel_large; do
  [ -s "$XDG_DATA_HOME/lindar/thumbnail/$title.gif" ] || fail "no thumbnail of $title in the user's folder"
done

step "nothing written into the installation"
[ "$before" = "$(snapshot)" ] || fail "the programs changed files below $prefix"
echo "installed copy OK"
