#!/usr/bin/env bash
# A private print system for tests and the demo: a cupsd of our own in a folder of our own, with two virtual
# 300 dpi queues whose printed output lands as PDF files, a label printer on CUPS's sample Zebra ZPL driver
# whose output lands as ZPL, three driverless printers (ippeveprinter on 127.0.0.1, 600 dpi, PWG raster
# only) behind IPP Everywhere queues, whose received raster lands as .pwg files: a one-sided gray one, the
# same reached without compression, and a two-sided colour one with two trays (ippeveprinter -2 -s 10,5),
# and three queues on printers that take a raw TCP socket (scripts/socket-sink.py, each on a port of its
# own on 127.0.0.1): CUPS's generic PostScript driver, its sample HP LaserJet driver (PCL, 300 dpi) and a
# raw queue, which CUPS 2.4 still makes, with a warning that raw queues are deprecated. The driverless
# printers register themselves through DNS-SD, so the folder also runs a D-Bus system bus and an
# avahi-daemon of its own. Kestrova's renderer runs in its filter chain as a CUPS filter
# (kestrova-pdftoraster: the build's, or the one KESTROVA_FILTER names). It never touches /etc/cups, the
# machine's cupsd, D-Bus or avahi-daemon.
#
#   scripts/print-system.sh start [DIR]   start it in DIR (default: a new temporary folder), print the env
#   scripts/print-system.sh env [DIR]     print the env of a running one again
#   scripts/print-system.sh stop [DIR]    stop it and remove DIR; does nothing when it is not running
#
# DIR may also come from KESTROVA_PRINT_DIR. The env lines are ready for `eval`:
#   CUPS_SERVER      the private socket
#   CUPS_SERVERROOT  the private client configuration, so that no system lpoptions or client.conf applies
#   HOME             a private home, so that no personal lpoptions (a desktop's default printer, instances)
#                    applies; PRINTER and LPDEST, which would name a default printer, are unset
#   KESTROVA_PRINT_DIR, KESTROVA_PRINT_OUTPUT (the folder of printed files, one "<queue>-<job>.pdf" per job
#     of the queues, the label printer's ZPL included, one "<queue>-<n>.pwg" per job a driverless printer
#     received, and one "<queue>-<n>.ps", ".pcl" or ".raw" per job a socket printer received, whose
#     modification time is when its last byte arrived),
#   KESTROVA_PRINTERS (the queues, default first), KESTROVA_DEFAULT_PRINTER, KESTROVA_LABEL_PRINTER,
#   KESTROVA_POSTSCRIPT_PRINTER, KESTROVA_LASERJET_PRINTER and KESTROVA_RAW_PRINTER (the socket queues),
#   KESTROVA_DRIVERLESS_PRINTER, KESTROVA_DUPLEX_PRINTER and KESTROVA_DRIVERLESS_PLAIN_PRINTER (the
#     driverless queues; empty when they could not start, and KESTROVA_DRIVERLESS_ERROR then says why)
# A number of seconds written to DIR/driverless-delay makes the driverless printers take that long to print
# each job they receive, as a slow printer would.
set -euo pipefail

ScriptName=$(basename "$0")
ScriptFolder=$(cd "$(dirname "$0")" && pwd)
DefaultQueue=Kestrova_Letter
OtherQueue=Kestrova_A4
DriverlessQueue=Kestrova_Driverless
DuplexQueue=Kestrova_Duplex
LabelQueue=Kestrova_Label
DriverlessPlainQueue=Kestrova_Driverless_Plain
PostScriptQueue=Kestrova_PostScript
LaserJetQueue=Kestrova_LaserJet
RawQueue=Kestrova_Raw

die() {
    echo "$ScriptName: $*" >&2
    exit 1
}

printEnv() {
    local dir=$1
    echo "export CUPS_SERVER='$dir/cups.sock'"
    echo "export CUPS_SERVERROOT='$dir/client'"
    echo "export HOME='$dir/home'"
    echo "unset PRINTER LPDEST"
    echo "export KESTROVA_PRINT_DIR='$dir'"
    echo "export KESTROVA_PRINT_OUTPUT='$dir/output'"
    local driverless='' duplex='' plain='' error=''
    if [ -f "$dir/driverless.error" ]; then
        error=$(tr -d "'\n" <"$dir/driverless.error")
    else
        driverless=$DriverlessQueue
        duplex=$DuplexQueue
        plain=$DriverlessPlainQueue
    fi
    local queues="$DefaultQueue $OtherQueue $LabelQueue $PostScriptQueue $LaserJetQueue $RawQueue"
    echo "export KESTROVA_PRINTERS='$queues${driverless:+ $driverless $duplex $plain}'"
    echo "export KESTROVA_DEFAULT_PRINTER='$DefaultQueue'"
    echo "export KESTROVA_LABEL_PRINTER='$LabelQueue'"
    echo "export KESTROVA_POSTSCRIPT_PRINTER='$PostScriptQueue'"
    echo "export KESTROVA_LASERJET_PRINTER='$LaserJetQueue'"
    echo "export KESTROVA_RAW_PRINTER='$RawQueue'"
    echo "export KESTROVA_DRIVERLESS_PRINTER='$driverless'"
    echo "export KESTROVA_DUPLEX_PRINTER='$duplex'"
    echo "export KESTROVA_DRIVERLESS_PLAIN_PRINTER='$plain'"
    echo "export KESTROVA_DRIVERLESS_ERROR='$error'"
}

# Starts a program in the background and keeps its process id in DIR/NAME.pid.
startDaemon() {
    local dir=$1 name=$2
    shift 2
    "$@" </dev/null >>"$dir/log/$name.out" 2>&1 &
    echo $! >"$dir/$name.pid"
}

# Stops the programs whose process ids DIR/NAME.pid keep, all at once: each is asked to end, and the ones
# still running after five seconds are killed.
stopDaemons() {
    local dir=$1 name pid pids=()
    shift
    for name in "$@"; do
        [ -f "$dir/$name.pid" ] || continue
        pid=$(cat "$dir/$name.pid")
        rm -f "$dir/$name.pid"
        kill "$pid" 2>/dev/null && pids+=("$pid")
    done
    local tries=0
    while [ $tries -lt 50 ]; do
        local running=()
        for pid in "${pids[@]}"; do
            kill -0 "$pid" 2>/dev/null && running+=("$pid")
        done
        [ ${#running[@]} -eq 0 ] && return 0
        pids=("${running[@]}")
        sleep 0.1
        tries=$((tries + 1))
    done
    kill -9 "${pids[@]}" 2>/dev/null || true
}

waitFor() {
    local tries=0
    until "$@"; do
        tries=$((tries + 1))
        [ $tries -gt 100 ] && return 1
        sleep 0.1
    done
}

busHasAvahi() {
    dbus-send --bus="$1" --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.Avahi 2>/dev/null | grep -q 'boolean true'
}

printerAnswers() {
    ipptool -q "ipp://127.0.0.1:$1/ipp/print" get-printer-attributes.test 2>/dev/null
}

# COUNT different free ports on 127.0.0.1, on one line: one Python for them all, which takes a while to start.
freePorts() {
    python3 -c 'import socket, sys
sockets = [socket.socket() for _ in range(int(sys.argv[1]))]
for s in sockets:
    s.bind(("127.0.0.1", 0))
print(*(s.getsockname()[1] for s in sockets))' "$1"
}

# The print command of a driverless printer: it hands each received document on as <queue>-<n>.pwg in the
# output folder, through a hidden file so that a waiter never sees half of one. While the file Delay exists,
# the printer takes as many seconds as it says to print each job.
writeDriverlessCommand() {
    local file=$1 output=$2 delay=$3 queue=$4
    cat >"$file" <<EOF
#!/bin/sh
[ -f "$delay" ] && sleep "\$(cat "$delay")"
partial="$output/.$queue-\$\$.partial"
cp "\$1" "\$partial" || exit 1
n=\$(basename "\$1" | cut -d- -f1)
mv "\$partial" "$output/$queue-\$n.pwg"
EOF
    chmod 0755 "$file"
}

# Starts the driverless printer of QUEUE (ippeveprinter on 127.0.0.1:PORT, taking PWG raster only, its
# further options given).
startDriverlessPrinter() {
    local dir=$1 bus=$2 queue=$3 port=$4
    shift 4
    local name=${queue//_/ }
    mkdir -p "$dir/spool-$queue"
    writeDriverlessCommand "$dir/print-$queue" "$dir/output" "$dir/driverless-delay" "$queue"
    startDaemon "$dir" "ippeveprinter-$queue" env DBUS_SYSTEM_BUS_ADDRESS="$bus" ippeveprinter -n localhost \
        -p "$port" "$@" -f image/pwg-raster -k -d "$dir/spool-$queue" -c "$dir/print-$queue" -m "$name" "$name"
}

# The IPP Everywhere queue QUEUE on the driverless printer started at PORT, with QUERY (such as
# compression=none) on its device URI when not empty, which the cupsd at SERVER (its socket as a URI's host)
# describes whole; false, with the reason in DIR/driverless.error, when either does not come up whole.
addDriverlessQueue() {
    local dir=$1 server=$2 queue=$3 port=$4 description=$5 query=$6
    waitFor printerAnswers "$port" || {
        echo "ippeveprinter did not start: $(tail -n 1 "$dir/log/ippeveprinter-$queue.out" 2>/dev/null)" \
            >"$dir/driverless.error"
        return 1
    }
    # cupsd makes the queue's PPD by asking the printer at the device URI, whose query the printer does not
    # answer: the query joins the URI once the PPD is made.
    quietLpadmin -p "$queue" -E -v "ipp://127.0.0.1:$port/ipp/print" -m everywhere -D "$description" &&
        { [ -z "$query" ] || quietLpadmin -p "$queue" -v "ipp://127.0.0.1:$port/ipp/print?$query"; } || {
        echo "cannot create the queue $queue" >"$dir/driverless.error"
        return 1
    }
    waitFor ipptool -q "ipp://$server/printers/$queue" "$dir/etc/described.test" 2>/dev/null || {
        echo "the queue $queue does not report its resolution and paper" >"$dir/driverless.error"
        return 1
    }
}

# The driverless printers and what they need: a D-Bus system bus of our own, an avahi-daemon on it (in a
# mount namespace of its own, because avahi-daemon keeps its pid file and socket at a fixed place under /run;
# on the loopback interface only, where nothing is announced, so that print systems side by side never
# meet), and the printers with their IPP Everywhere queues: a one-sided gray one, the same reached without
# compression (a printer of its own, so that its .pwg files are told apart), and a two-sided colour one with
# trays. The printers start side by side; the queues are made one after another, because cupsd makes their
# PPDs in threads that may crash it when they run side by side.
startDriverless() {
    local dir=$1
    local bus="unix:path=$dir/dbus.sock"
    cat >"$dir/etc/dbus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>$bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
EOF
    cat >"$dir/etc/avahi-daemon.conf" <<EOF
[server]
use-ipv4=yes
use-ipv6=no
enable-dbus=yes
allow-interfaces=lo
[publish]
publish-addresses=no
publish-hinfo=no
publish-workstation=no
EOF
    startDaemon "$dir" dbus dbus-daemon --config-file="$dir/etc/dbus.conf" --nofork --nopidfile
    waitFor [ -S "$dir/dbus.sock" ] || { echo "its D-Bus did not start" >"$dir/driverless.error"; return; }

    mkdir -p /run/avahi-daemon 2>/dev/null || true
    startDaemon "$dir" avahi unshare --mount --propagation private sh -c \
        'mount -t tmpfs tmpfs /run/avahi-daemon && exec env DBUS_SYSTEM_BUS_ADDRESS="$0" avahi-daemon \
            -f "$1" --no-drop-root --no-chroot' "$bus" "$dir/etc/avahi-daemon.conf"
    waitFor busHasAvahi "$bus" || {
        echo "avahi-daemon did not start (it needs root for its mount namespace):" \
            "$(tail -n 1 "$dir/log/avahi.out" 2>/dev/null)" >"$dir/driverless.error"
        return
    }
    writeDescribedTest "$dir/etc/described.test"
    local gray plain duplex server
    read -r gray plain duplex < <(freePorts 3)
    startDriverlessPrinter "$dir" "$bus" "$DriverlessQueue" "$gray"
    startDriverlessPrinter "$dir" "$bus" "$DriverlessPlainQueue" "$plain"
    startDriverlessPrinter "$dir" "$bus" "$DuplexQueue" "$duplex" -2 -s 10,5
    server=$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1], safe=""))' \
        "$dir/cups.sock")
    addDriverlessQueue "$dir" "$server" "$DriverlessQueue" "$gray" "Kestrova driverless printer, 600 dpi" '' &&
        addDriverlessQueue "$dir" "$server" "$DriverlessPlainQueue" "$plain" \
            "Kestrova driverless printer, 600 dpi, uncompressed" compression=none &&
        addDriverlessQueue "$dir" "$server" "$DuplexQueue" "$duplex" \
            "Kestrova driverless printer, two-sided, colour, two trays" '' || true
}

# An ipptool test that passes once the cupsd describes a queue whole, with the resolution and paper a raster
# job is made for: a client asking while the queue is still being set up would make its pages for defaults.
writeDescribedTest() {
    cat >"$1" <<EOF
{
    OPERATION Get-Printer-Attributes
    GROUP operation-attributes-tag
    ATTR charset attributes-charset utf-8
    ATTR naturalLanguage attributes-natural-language en
    ATTR uri printer-uri \$uri
    ATTR keyword requested-attributes job-template,printer-description
    STATUS successful-ok
    EXPECT printer-resolution-default
    EXPECT pwg-raster-document-resolution-supported
    EXPECT media-default
}
EOF
}

# CUPS's filters (an installed Kestrova's among them, with its types in CUPS's mime folder), and Kestrova's
# renderer of a build as a filter of its own (KESTROVA_FILTER, else the source tree's build) with the
# document type that names it; without any, Kestrova renders in its own process.
installFilter() {
    local dir=$1 filter
    mkdir -p "$dir/serverbin/filter"
    for filter in /usr/lib/cups/filter/*; do
        ln -sfn "$filter" "$dir/serverbin/filter/$(basename "$filter")"
    done
    filter=${KESTROVA_FILTER:-$ScriptFolder/../build/bin/kestrova-pdftoraster}
    if [ -x "$filter" ] && [ -f "$ScriptFolder/../filter/kestrova.convs" ]; then
        ln -sfn "$filter" "$dir/serverbin/filter/kestrova-pdftoraster"
        cp "$ScriptFolder/../filter/kestrova.types" "$ScriptFolder/../filter/kestrova.convs" "$dir/etc/"
    fi
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
# While <queue>.hold exists beside the output folder, the job is held at the printer, which reports the
# lines of that file (STATE: and INFO: lines) to the print system.
hold="$folder/../${PRINTER:-printer}.hold"
if [ -f "$hold" ]; then
    cat "$hold" >&2
    tries=0
    while [ -f "$hold" ] && [ $tries -lt 600 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
fi
chmod 0644 "$partial"
mv "$partial" "$target"
EOF
    # Not executable by others: cupsd then runs it as root, which may write the output folder.
    chmod 0700 "$file"
}

# lpadmin, without its warnings that printer drivers and raw queues are deprecated: they are not ours to show.
quietLpadmin() {
    lpadmin "$@" 2>&1 | { grep -v 'are deprecated' >&2 || true; }
}

# A virtual queue NAME on the PPD file DIR/PPD, whose printed documents land in the output folder.
addQueue() {
    local name=$1 dir=$2 ppd=$3 size=$4
    quietLpadmin -p "$name" -E -v "kestrova-file:$dir/output" -P "$dir/$ppd" \
        -D "Kestrova test printer, $size, 300 dpi" || die "cannot create the queue $name"
}

# The PPDs of CUPS's sample drivers in DIR/drivers, in English, by CUPS's PPD compiler: for `lpadmin -m`
# cupsd makes one with every language in it, some 0.7 s a queue with every other request held. They keep
# the drivers' own defaults (Letter), where cupsd would put the machine's paper in.
makeDriverPpds() {
    local dir=$1
    ppdc -l en -d "$dir/drivers" /usr/share/cups/drv/sample.drv >>"$dir/log/ppdc.out" 2>&1
}

# A printer on a raw TCP socket for QUEUE (scripts/socket-sink.py), which keeps each job it receives as
# <queue>-<n>.EXT in the output folder and names its port in DIR/sink-QUEUE.port.
startSink() {
    local dir=$1 queue=$2 ext=$3
    startDaemon "$dir" "sink-$queue" python3 "$ScriptFolder/socket-sink.py" "$dir/output" "$queue" "$ext" \
        "$dir/sink-$queue.port"
}

# The queue QUEUE on its socket sink, with further lpadmin options. With snmp=false the socket backend does
# not ask the printer for its state over SNMP, which a sink does not answer.
addSocketQueue() {
    local dir=$1 queue=$2 description=$3
    shift 3
    waitFor [ -s "$dir/sink-$queue.port" ] ||
        die "the socket printer of $queue did not start: $(tail -n 1 "$dir/log/sink-$queue.out" 2>/dev/null)"
    quietLpadmin -p "$queue" -E -v "socket://127.0.0.1:$(cat "$dir/sink-$queue.port")/?snmp=false" "$@" \
        -D "$description" || die "cannot create the queue $queue"
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
    mkdir -p "$dir"/{etc/ppd,client,home,spool/tmp,cache,state,log,output,serverbin/backend}
    chmod 0777 "$dir/output"
    local item
    for item in cgi-bin daemon monitor notifier driver; do
        [ -e "/usr/lib/cups/$item" ] && ln -sfn "/usr/lib/cups/$item" "$dir/serverbin/$item"
    done
    installFilter "$dir"
    writeBackend "$dir/serverbin/backend/kestrova-file"
    # The IPP backend reaches the driverless printers, the socket backend the socket printers.
    ln -sfn /usr/lib/cups/backend/ipp "$dir/serverbin/backend/ipp"
    ln -sfn /usr/lib/cups/backend/socket "$dir/serverbin/backend/socket"
    # What takes a while and needs no cupsd starts first: the socket printers and the drivers' PPDs.
    startSink "$dir" "$PostScriptQueue" ps
    startSink "$dir" "$LaserJetQueue" pcl
    startSink "$dir" "$RawQueue" raw
    makeDriverPpds "$dir" &
    local ppds=$!

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
PreserveJobHistory Yes
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
    wait $ppds || die "cannot make the PPDs of CUPS's sample drivers: $(tail -n 1 "$dir/log/ppdc.out")"
    # A label printer on CUPS's own sample driver, whose filters make ZPL of what the queue receives.
    quietLpadmin -p "$LabelQueue" -E -v "kestrova-file:$dir/output" -P "$dir/drivers/zebra.ppd" \
        -D "Kestrova label printer, Zebra ZPL" || die "cannot create the queue $LabelQueue"
    addSocketQueue "$dir" "$PostScriptQueue" "Kestrova PostScript printer" -P "$dir/drivers/generic.ppd"
    addSocketQueue "$dir" "$LaserJetQueue" "Kestrova LaserJet printer, PCL, 300 dpi" \
        -P "$dir/drivers/laserjet.ppd"
    addSocketQueue "$dir" "$RawQueue" "Kestrova raw printer" -m raw
    startDriverless "$dir"
    printEnv "$dir"
}

stop() {
    local dir=$1
    [ -d "$dir" ] || return 0
    stopDaemons "$dir" "ippeveprinter-$DriverlessQueue" "ippeveprinter-$DriverlessPlainQueue" \
        "ippeveprinter-$DuplexQueue" "sink-$PostScriptQueue" "sink-$LaserJetQueue" "sink-$RawQueue" avahi dbus \
        cupsd
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
