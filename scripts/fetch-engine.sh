#!/usr/bin/env bash
# Brings the PDFium engine: the library inside a pinned pypdfium2 wheel from PyPI, checked against its
# pinned sha256 before anything is unpacked. "linux" (default) unpacks libpdfium.so, "windows" pdfium.dll,
# into third_party/pdfium/<platform>/. Does nothing when the pinned engine is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly WHEEL_VERSION=5.15.2
platform=${1:-linux}
case "$platform" in
linux)
    tag=manylinux_2_17_x86_64
    wheel=pypdfium2-$WHEEL_VERSION-py3-none-manylinux_2_17_x86_64.manylinux2014_x86_64.whl
    sha=dc31aea5b0fb9fefc9b537a65f4113980b2c40798445736a7e6565bc85161e37
    member=pypdfium2_raw/libpdfium.so
    ;;
windows)
    tag=win_amd64
    wheel=pypdfium2-$WHEEL_VERSION-py3-none-win_amd64.whl
    sha=74d1bace34fb01c660d0b64344d5a4b7d276942b7c6623c88ab59ea21c5acfbd
    member=pypdfium2_raw/pdfium.dll
    ;;
*)
    echo "usage: $0 [linux|windows]" >&2
    exit 2
    ;;
esac

dest=third_party/pdfium/$platform
stamp=$dest/.wheel-sha256
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$sha" ] && [ -f "$dest/$(basename "$member")" ]; then
    exit 0
fi

if ! python3 -m pip --version >/dev/null 2>&1; then
    echo "setup: python3's pip is needed to fetch the engine (apt-get install python3-pip)" >&2
    exit 1
fi

downloads=third_party/pdfium/downloads
mkdir -p "$downloads" "$dest"
if [ ! -f "$downloads/$wheel" ] || ! echo "$sha  $downloads/$wheel" | sha256sum -c --status; then
    rm -f "$downloads/$wheel"
    python3 -m pip download -q --no-deps --only-binary=:all: --platform "$tag" --python-version 3.11 \
        --no-cache-dir -d "$downloads" "pypdfium2==$WHEEL_VERSION" >/tmp/kestrova-pip.log 2>&1 || {
        echo "setup: cannot download pypdfium2 $WHEEL_VERSION ($tag) from PyPI (see /tmp/kestrova-pip.log)" >&2
        exit 1
    }
fi
if ! echo "$sha  $downloads/$wheel" | sha256sum -c --status; then
    echo "setup: $wheel does not match its pinned sha256 $sha; nothing unpacked" >&2
    rm -f "$downloads/$wheel"
    exit 1
fi

python3 - "$downloads/$wheel" "$member" "$dest" <<'PY'
import json, os, sys, zipfile
wheel, member, dest = sys.argv[1:4]
with zipfile.ZipFile(wheel) as z:
    data = z.read(member)
    version = json.loads(z.read("pypdfium2_raw/version.json"))
target = os.path.join(dest, os.path.basename(member))
with open(target + ".part", "wb") as f:
    f.write(data)
os.chmod(target + ".part", 0o755)
os.replace(target + ".part", target)
with open(os.path.join(dest, "VERSION"), "w") as f:
    f.write("PDFium %d.%d.%d.%d\n" % (version["major"], version["minor"], version["build"], version["patch"]))
PY
echo "$sha" >"$stamp"
echo "setup: engine $(cat "$dest/VERSION") from pypdfium2 $WHEEL_VERSION in $dest"
