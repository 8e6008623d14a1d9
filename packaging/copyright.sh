#!/usr/bin/env bash
# Writes the package's copyright file, in Debian's machine-readable format, to standard output: ours, the header
# with our licence's text from the project's LICENSE below its copyright line, then the engine's, whose licence
# texts come from the wheel it was taken from: the PDFium licence and those of the libraries built into the
# engine library, and no others.
set -euo pipefail
header=$1 license=$2 wheel=$3 engine=$4
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

cat "$header"
indented <(tail -n +3 "$license")

echo
echo "Files: usr/lib/kestrova/libpdfium.so"
echo "Copyright: 2014 The PDFium Authors, and the authors of the libraries built into the engine as their"
echo " licences below name them"
echo "License: PDFium-build"
echo " PDFium, the PDF engine, built by the pdfium-binaries project and taken from $(basename "$wheel")."
echo " Each part of the engine carries the licence that follows under its name."
# The wheel holds the licence of every part that any build of the engine may have: other platforms' (android,
# musl), the XFA build's (V8 and its parts), and codecs that only some builds compile in. The engine library
# comes with its symbol table, so a part is in it where a symbol of the part's own is; each licence file is
# listed with the symbol that shows its part, and one the list does not know stops the script, so that a new
# engine's parts are looked at before the package names them. (SHARED holds texts the others include.)
evidence() {
    case $1 in
    pdfium.txt | pdfium-binaries.txt) echo ' FPDF_InitLibrary$' ;;
    abseil.txt) echo ' absl::' ;;
    agg23.txt) echo ' pdfium::agg::' ;;
    all_except_musl/llvm-libc.txt) echo ' std::__Cr::' ;; # the LLVM project's licence, which its libc++ carries
    dragonbox-*.txt) echo ' jkj::dragonbox::' ;;
    fast_float.txt) echo ' fast_float::' ;;
    freetype.txt) echo ' FT_Init_FreeType$' ;;
    harfbuzz.txt) echo ' hb_blob_create$' ;;
    highway.txt) echo ' hwy::' ;;
    icu.txt) echo ' icu_[0-9]+::' ;;
    lcms.txt) echo ' cmsOpenProfileFromMem$' ;;
    libjpeg_turbo.*) echo ' (chromium_)?jpeg_read_header$' ;;
    libopenjpeg.txt) echo ' opj_decode$' ;;
    libpng.txt) echo ' png_create_read_struct$' ;;
    libtiff.txt) echo ' TIFFClientOpen$' ;;
    pbin_and_sbuild/brotli.txt) echo ' BrotliDecoderDecompress' ;;
    pbin_and_sbuild/libyuv.txt) echo ' libyuv::' ;;
    simdutf.txt) echo ' simdutf::' ;;
    v8_xfa/*) echo ' v8::' ;;
    zlib.txt) echo ' (Cr_z_)?inflate$' ;;
    android/* | cibw_musl/* | pbin_musl/*) echo '^other platforms only$' ;;
    *)
        echo "copyright.sh: no evidence known for the engine's licence file $1" >&2
        return 1
        ;;
    esac
}
symbols=$(nm -C "$engine")

find "$licenses" -type f ! -path '*/SHARED/*' | LC_ALL=C sort |
    while read -r file; do
        pattern=$(evidence "${file#"$licenses"/}")
        grep -qE -- "$pattern" <<<"$symbols" || continue
        echo " ."
        echo " == ${file#"$licenses"/} =="
        echo " ."
        indented "$file"
    done
