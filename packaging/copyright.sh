#!/usr/bin/env bash
# Writes the package's copyright file, in Debian's machine-readable format, to standard output: ours, then the
# engine's, whose licence texts come from the wheel it was taken from (the PDFium licence and those of the
# libraries built into it; the ones that name other platforms' builds are left out).
set -euo pipefail
header=$1 wheel=$2

cat "$header"
texts=$(mktemp -d)
trap 'rm -rf "$texts"' EXIT
unzip -q "$wheel" '*.dist-info/licenses/*' -d "$texts"
licenses=$(echo "$texts"/*.dist-info/licenses/BUILD_LICENSES)

# A licence file in UTF-8 (one that is not is taken to be Latin-1, as the older texts are), with the full
# text of the Apache License 2.0, which Debian keeps in common-licenses, replaced by a reference to it.
utf8() {
    { iconv -f UTF-8 -t UTF-8 "$1" 2>/dev/null || iconv -f ISO-8859-1 -t UTF-8 "$1"; } | awk '
        state == 0 && /Apache License[[:space:]]*$/ { held = $0; state = 1; next }
        state == 1 {
            if ($0 ~ /Version 2\.0, January 2004/) {
                print "On Debian systems the full text of the Apache License, Version 2.0, is in"
                print "/usr/share/common-licenses/Apache-2.0."
                state = 2
                next
            }
            print held
            state = 0
        }
        state == 2 { if ($0 ~ /END OF TERMS AND CONDITIONS/) state = 3; next }
        state == 3 {
            if ($0 ~ /APPENDIX: How to apply/) { state = 4; next }
            if ($0 ~ /^[[:space:]]*$/) next
            state = 0
        }
        state == 4 { if ($0 ~ /limitations under the License\./) state = 0; next }
        { print }'
}

# The licence text in file $1 as a field's continuation lines; an "#include FILE" line stands for the text
# of that file, named from the folder of the one that includes it.
indented() {
    while IFS= read -r line || [ -n "$line" ]; do
        if [[ $line == '#include '* ]]; then
            indented "$(dirname "$1")/${line#\#include }"
        elif [[ -z ${line//[[:space:]]/} ]]; then
            echo " ."
        else
            echo " $line"
        fi
    done < <(utf8 "$1")
}

echo
echo "Files: usr/lib/kestrova/libpdfium.so"
echo "Copyright: 2014 The PDFium Authors, and the authors of the libraries built into the engine as their"
echo " licences below name them"
echo "License: PDFium-build"
echo " PDFium, the PDF engine, built by the pdfium-binaries project and taken from $(basename "$wheel")."
echo " Each part of the engine carries the licence that follows under its name."
find "$licenses" -type f ! -path '*/SHARED/*' ! -path '*/android/*' ! -path '*/cibw_musl/*' ! -path '*/pbin_musl/*' | LC_ALL=C sort |
    while read -r file; do
        echo " ."
        echo " == ${file#"$licenses"/} =="
        echo " ."
        indented "$file"
    done
