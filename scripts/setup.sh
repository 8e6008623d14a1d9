#!/usr/bin/env bash
# Installs what the build needs and is missing: the Debian packages in scripts/packages.txt (or in the lists
# given as arguments) and the PDF engine. Quiet when everything is already there; one line naming what is
# missing when it cannot be had.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
while read -r pkg; do
    [ -z "$pkg" ] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done < <(cat "${@:-scripts/packages.txt}")

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: missing Debian packages: ${missing[*]} (run 'make' as root, or: sudo apt-get install ${missing[*]})" >&2
        exit 1
    fi
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! apt-get install -y -q --no-install-recommends "${missing[@]}" >/tmp/kestrova-apt.log 2>&1; then
        apt-get update -q >/tmp/kestrova-apt.log 2>&1 || true
        apt-get install -y -q --no-install-recommends "${missing[@]}" >/tmp/kestrova-apt.log 2>&1 || {
            echo "setup: cannot install ${missing[*]} from Debian's packages (see /tmp/kestrova-apt.log)" >&2
            exit 1
        }
    fi
fi

scripts/fetch-engine.sh linux
