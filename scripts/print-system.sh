#!/usr/bin/env bash
# A private print system for tests and the demo: a cupsd of our own in a folder of our own, with two virtual
# 300 dpi queues whose printed output lands as PDF files. It never touches /etc/cups or the machine's cupsd.
#
#   scripts/print-system.sh start [DIR]   start it in DIR (default: a new temporary folder), print the env
#   scripts/print-system.sh env [DIR]     print the env of a running one again
#   scripts/print-system.sh stop [DIR]    stop it and remove DIR; does nothing when it is not running
#
# DIR may also come from KESTROVA_PRINT_DIR. The env lines are ready for `eval`:
#   CUPS_SERVER      the private socket
#   CUPS_SERVERROOT  the private client configuration, so that no system lpoptions or client.conf applies
#   KESTROVA_PRINT_DIR, KESTROVA_PRINT_OUTPUT (the folder of printed files, one "<queue>-<job>.pdf" per job),
#   KESTROVA_PRINTERS (the queues, default first), KESTROVA_DEFAULT_PRINTER
set -euo pipefail

ScriptName=$(basename "$0")
DefaultQueue=Kestrova_Letter
OtherQueue=Kestrova_A4

die() {
    echo "$ScriptName: $*" >&2
    exit 1
}

printEnv() {
    local dir=$1
    echo "export CUPS_SERVER='$dir/cups.sock'"
    echo "export CUPS_SERVERROOT='$dir/client'"
    echo "export KESTROVA_PRINT_DIR='$dir'"
    echo "export KESTROVA_PRINT_OUTPUT='$dir/output'"
    echo "export KESTROVA_PRINTERS='$DefaultQueue $OtherQueue'"
    echo "export KESTROVA_DEFAULT_PRINTER='$DefaultQueue'"
}

isRunning() {
    local dir=$1
    [ -f "$dir/cupsd.pid" ] && kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null
}

# A PostScript-free model: PDF in, PDF out, 300 dpi, the page size given.
writePpd() {
    local file=$1 size=$2 width=$3 height=$4
    local right=$((width - 18)) top=$((height - 18))
    cat >"$file" <<EOF
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KESTROVA.PPD"
*Manufacturer: "Kestrova"
*Product: "(Kestrova Test Printer)"
*ModelName: "Kestrova Test Printer"
*ShortNickName: "Kestrova Test Printer"
*NickName: "Kestrova Test Printer $size"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: $size
*PageSize $size/$size: "<</PageSize[$width $height]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: $size
*PageRegion $size/$size: "<</PageSize[$width $height]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: $size
*ImageableArea $size/$size: "18 18 $right $top"
*DefaultPaperDimension: $size
*PaperDimension $size/$size: "$width $height"
*OpenUI *Resolution/Resolution: PickOne
*OrderDependency: 10 AnySetup *Resolution
*DefaultResolution: 300dpi
*Resolution 300dpi/300 DPI: "<</HWResolution[300 300]>>setpagedevice"
*CloseUI: *Resolution
EOF
}

# The backend: stores the job's document as <queue>-<job>.pdf in the folder of its device URI. It writes a
# hidden file first and renames it, so a waiter never sees half a document.
writeBackend() {
    local file=$1
    cat >"$file" <<'EOF'
#!/bin/sh
if [ $# -eq 0 ]; then
    echo 'file kestrova-file "Unknown" "Kestrova test output"'
    exit 0
fi
folder=${DEVICE_URI#kestrova-file:}
target="$folder/${PRINTER:-printer}-$1.pdf"
partial="$folder/.${PRINTER:-printer}-$1.partial"
if [ $# -ge 6 ]; then
    cat "$6" >"$partial" || exit 1
else
    cat >"$partial" || exit 1
fi
chmod 0644 "$partial"
mv "$partial" "$target"
EOF
    # Not executable by others: cupsd then runs it as root, which may write the output folder.
    chmod 0700 "$file"
}

# lpadmin warns that PPD files are deprecated; that warning is not ours to show.
addQueue() {
    local name=$1 dir=$2 ppd=$3 size=$4
    lpadmin -p "$name" -E -v "kestrova-file:$dir/output" -P "$dir/$ppd" \
        -D "Kestrova test printer, $size, 300 dpi" 2>&1 | { grep -v 'drivers are deprecated' >&2 || true; }
    [ "${PIPESTATUS[0]}" -eq 0 ] || die "cannot create the queue $name"
}

start() {
    local dir=$1
    if isRunning "$dir"; then
        printEnv "$dir"
        return
    fi
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    # cupsd's filters run as its unprivileged user and must reach the spool below this folder.
    chmod 0755 "$dir"
    mkdir -p "$dir"/{etc/ppd,client,spool/tmp,cache,state,log,output,serverbin/backend}
    chmod 0777 "$dir/output"
    local item
    for item in cgi-bin daemon filter monitor notifier driver; do
        [ -e "/usr/lib/cups/$item" ] && ln -sfn "/usr/lib/cups/$item" "$dir/serverbin/$item"
    done
    writeBackend "$dir/serverbin/backend/kestrova-file"

    cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerBin $dir/serverbin
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice No
EOF
    cat >"$dir/etc/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel warn
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
DefaultShared No
MaxJobs 0
PreserveJobHistory No
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
EOF
    : >"$dir/client/client.conf"

    /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
        </dev/null >>"$dir/log/cupsd.out" 2>&1 &
    echo $! >"$dir/cupsd.pid"

    export CUPS_SERVER="$dir/cups.sock" CUPS_SERVERROOT="$dir/client"
    local tries=0
    until [ -S "$dir/cups.sock" ] && lpstat -r 2>/dev/null | grep -q 'is running'; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! isRunning "$dir"; then
            cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
            stop "$dir"
            die "cupsd did not start in $dir"
        fi
        sleep 0.1
    done

    writePpd "$dir/letter.ppd" Letter 612 792
    writePpd "$dir/a4.ppd" A4 595 842
    addQueue "$DefaultQueue" "$dir" letter.ppd "Letter"
    addQueue "$OtherQueue" "$dir" a4.ppd "A4"
    lpadmin -d "$DefaultQueue" || die "cannot make $DefaultQueue the default"
    printEnv "$dir"
}

stop() {
    local dir=$1
    [ -d "$dir" ] || return 0
    if [ -f "$dir/cupsd.pid" ]; then
        local pid
        pid=$(cat "$dir/cupsd.pid")
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid"
            local tries=0
            while kill -0 "$pid" 2>/dev/null && [ $tries -lt 50 ]; do
                sleep 0.1
                tries=$((tries + 1))
            done
            kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
        fi
    fi
    # Only a folder that this script made is removed.
    [ -f "$dir/etc/cupsd.conf" ] && rm -rf "$dir"
    return 0
}

command=${1:-}
dir=${2:-${KESTROVA_PRINT_DIR:-}}
case "$command" in
start)
    [ -n "$dir" ] || dir=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-print.XXXXXX")
    start "$dir"
    ;;
env)
    [ -n "$dir" ] || die "env: name the folder (or set KESTROVA_PRINT_DIR)"
    isRunning "$dir" || die "no print system runs in $dir"
    printEnv "$(cd "$dir" && pwd)"
    ;;
stop)
    [ -n "$dir" ] || die "stop: name the folder (or set KESTROVA_PRINT_DIR)"
    stop "$dir"
    ;;
*)
    die "usage: $ScriptName start|stop|env [DIR]"
    ;;
esac
