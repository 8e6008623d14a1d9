#!/usr/bin/env bash
# The demo: a sample PDF printed by the real program, as a web page would have it printed. A private print
# system and a web server on 127.0.0.1 are started for it and stopped again; the printed document is kept in
# build/demo/printed/. Run by `make demo` after the build.
#
#   scripts/demo.sh [BUILD [FOLDER]]   the programs in BUILD/bin (default: build); the demo's files in FOLDER
#                                      (default: BUILD/demo)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
demo=${2:-$build/demo}
rm -rf "$demo"
mkdir -p "$demo/install" "$demo/web" "$demo/printed"
cp "$build/bin/Kestrova" "$build/bin/libpdfium.so" "$demo/install/"

sample=../shared/testdata/realworld/libtasn1.pdf
if [ -f "$sample" ]; then
    cp "$sample" "$demo/web/sample.pdf"
else
    scripts/text_pdf.py "$demo/web/sample.pdf" 612 792 Helvetica 36 72 700 0 --title "Kestrova sample" \
        "Printed by Kestrova"
fi

printdir=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-demo-print.XXXXXX")
webpid=
cleanup() {
    [ -n "$webpid" ] && kill "$webpid" 2>/dev/null || true
    scripts/print-system.sh stop "$printdir" >/dev/null 2>&1 || true
}
trap cleanup EXIT

eval "$(scripts/print-system.sh start "$printdir")"

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$demo/web" >"$demo/web.log" 2>&1 &
webpid=$!
for _ in $(seq 50); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
    sleep 0.1
done

link="kestrova://print/?moduleaddress=demo&pdfurl=http%3A%2F%2F127.0.0.1%3A$port%2Fsample.pdf"
echo "demo: opening $link"
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
if ! "$demo/install/Kestrova" "$link" 2>"$demo/program.log"; then
    echo "demo: Kestrova failed: $(sed -n 's/^Kestrova: //p' "$demo/program.log")" >&2
    exit 1
fi

printed=
for _ in $(seq 600); do
    printed=$(find "$KESTROVA_PRINT_OUTPUT" -name '*.pdf' -print -quit)
    [ -n "$printed" ] && break
    sleep 0.1
done
if [ -z "$printed" ]; then
    echo "demo: nothing was printed; the program's log is in $demo/install/log/" >&2
    exit 1
fi
cp "$printed" "$demo/printed/"
result=$demo/printed/$(basename "$printed")
pages=$(pdfinfo "$result" | sed -n 's/^Pages: *//p')
echo "demo: printed $pages page(s) on $KESTROVA_DEFAULT_PRINTER: $result"
