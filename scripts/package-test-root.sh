#!/bin/bash
# Runs inside the clean root that scripts/package-test.sh makes, as root: installs the older package without
# its recommendations, checks its desktop entries, manual pages and metainfo, that every command answers
# --help and --version with no display, as a new user that the package's entry handles kestrova: links, that
# kestrova-view can be chosen for PDF, and that the settings window keeps its table in the user's data folder
# (root's too, writing nothing beside the program), upgrades to the package under test, prints a link through
# xdg-open from a local https server whose certificate the root trusts, purges the package and checks that
# nothing of it is left while the user's data stays. The package's dependencies are installed before it, so
# that the root before and after it can be compared.
#
#   package-test-root.sh OLDER.deb CURRENT.deb
set -euo pipefail
older=$1 current=$2
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin
user=tester
data=/home/$user/.local/share/kestrova

say() { echo "package-test: $*"; }
fail() {
    echo "package-test: FAILED: $*" >&2
    exit 1
}

# Every path of the root but the volatile ones and the users' homes.
snapshot() {
    find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp -o -path /home \
        -o -path /root -o -path /var/cache -o -path /var/log -o -path /var/lib/apt -o -path /var/lib/dpkg \) \
        -prune -o -print | LC_ALL=C sort
}

aptInstall() {
    apt-get install -y -q --no-install-recommends "$1" >/tmp/apt.log 2>&1 || { cat /tmp/apt.log; fail "apt-get install $1"; }
}

# Runs a command as the user, in a session with the display and the print system of the test.
asUser() {
    setpriv --reuid="$user" --regid="$user" --init-groups env -i HOME="/home/$user" USER="$user" \
        PATH=/usr/bin:/bin DISPLAY="$DISPLAY" CUPS_SERVER="$CUPS_SERVER" CUPS_SERVERROOT="$CUPS_SERVERROOT" "$@"
}

# Whether the command succeeds within two minutes.
waitFor() {
    local deadline=$((SECONDS + 120))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# The package's files but its folders, while it is installed.
packageFiles() {
    dpkg -L kestrova | while read -r path; do [ -d "$path" ] && [ ! -L "$path" ] || echo "$path"; done
}

useradd --create-home "$user"
# The package's dependencies come first, so that what the package itself leaves behind shows.
say "installing the dependencies of $(basename "$older")"
apt-get satisfy -y -q --no-install-recommends "$(dpkg-deb -f "$older" Depends)" >/tmp/apt.log 2>&1 || { cat /tmp/apt.log; fail "apt-get satisfy"; }
# A web server's certificate that the root trusts as an administrator makes it trust one: only the CA bundle
# of ca-certificates lets the program verify it.
mkdir -p /tmp/tls
openssl req -x509 -newkey rsa:2048 -nodes -keyout /tmp/tls/key.pem -out /tmp/tls/cert.pem -days 2 \
    -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 >/tmp/tls/openssl.log 2>&1 ||
    fail "openssl: $(cat /tmp/tls/openssl.log)"
cp /tmp/tls/cert.pem /usr/local/share/ca-certificates/kestrova-test.crt
update-ca-certificates >/dev/null 2>&1 || fail "update-ca-certificates"
snapshot >/tmp/before
say "installing $(basename "$older")"
aptInstall "$older"

say "desktop entries, metainfo and manual pages"
for entry in /usr/share/applications/kestrova.desktop /usr/share/applications/kestrova-view.desktop; do
    desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
done
appstreamcli validate --no-net /usr/share/metainfo/*kestrova*.xml >/tmp/appstream.log 2>&1 ||
    fail "appstreamcli validate: $(cat /tmp/appstream.log)"
commands="kestrova kestrova-pdf kestrova-view kestrova-link"
for command in $commands; do
    [ -n "$(man -l "/usr/share/man/man1/$command.1.gz" 2>/tmp/man.log)" ] && [ ! -s /tmp/man.log ] ||
        fail "man -l $command.1.gz: $(cat /tmp/man.log)"
done
grep -q '^application/pdf; kestrova-view %s' /etc/mailcap || fail "no mailcap entry for kestrova-view"

say "--help and --version of every command with no display"
for command in $commands; do
    for option in --help --version; do
        env -i HOME=/tmp PATH=/usr/bin:/bin "$command" "$option" >/tmp/answer.log 2>&1 ||
            fail "$command $option: $(cat /tmp/answer.log)"
        [ -s /tmp/answer.log ] || fail "$command $option says nothing"
    done
done

say "a new user's handler of kestrova: links"
handler=$(DISPLAY= CUPS_SERVER= CUPS_SERVERROOT= asUser xdg-mime query default x-scheme-handler/kestrova)
[ "$handler" = kestrova.desktop ] || fail "the default handler is '$handler', not kestrova.desktop"
DISPLAY= CUPS_SERVER= CUPS_SERVERROOT= asUser xdg-mime default kestrova-view.desktop application/pdf
viewer=$(DISPLAY= CUPS_SERVER= CUPS_SERVERROOT= asUser xdg-mime query default application/pdf)
[ "$viewer" = kestrova-view.desktop ] || fail "kestrova-view.desktop cannot be chosen for PDF: '$viewer'"

# A display of the test's own: the network, and so the abstract X sockets, are the machine's.
xvfbSettled() { [ -S "/tmp/.X11-unix/X$1" ] || ! kill -0 "$2" 2>/dev/null; }
for display in $(shuf -i 100-899 -n 10); do
    Xvfb ":$display" -nolisten tcp >/tmp/xvfb.log 2>&1 &
    waitFor xvfbSettled "$display" $! || true
    if kill -0 $! 2>/dev/null; then
        export DISPLAY=":$display"
        break
    fi
done
[ -n "${DISPLAY:-}" ] || fail "Xvfb did not start: $(cat /tmp/xvfb.log)"
eval "$(/tmp/print-system.sh start /tmp/print)"

say "the settings window on Xvfb"
asUser kestrova >/tmp/settings.log 2>&1 &
settings=$!
waitFor [ -f "$data/cds.xml.lock" ] || fail "the settings window holds no table in $data: $(cat /tmp/settings.log)"
kill -0 $settings || fail "the settings window ended: $(cat /tmp/settings.log)"
kill $settings
wait $settings || true

say "the settings window as root keeps root's table in root's data folder"
env -i HOME=/root PATH=/usr/bin:/bin DISPLAY="$DISPLAY" kestrova >/tmp/settings.log 2>&1 &
settings=$!
waitFor [ -f /root/.local/share/kestrova/cds.xml.lock ] ||
    fail "root's settings window holds no table in /root/.local/share/kestrova: $(cat /tmp/settings.log)"
kill $settings
wait $settings || true

# The user's table: module Desk prints on the second queue.
queue=${KESTROVA_PRINTERS#* }
queue=${queue%% *}
cat >"$data/cds.xml" <<XML
<?xml version="1.0" standalone="yes"?>
<DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="fdModuleAddress" fieldtype="string.uni" WIDTH="512"/><FIELD attrname="fdModuleName" fieldtype="string.uni" WIDTH="512"/><FIELD attrname="fdSpecifyprintername" fieldtype="string.uni" WIDTH="512"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW fdModuleAddress="Desk" fdModuleName="Desk" fdSpecifyprintername="$queue"/></ROWDATA></DATAPACKET>
XML
chown "$user:" "$data/cds.xml"
table=$(sha256sum <"$data/cds.xml")

say "upgrading to $(basename "$current")"
aptInstall "$current"
[ "$(dpkg-query -W -f='${Version}' kestrova)" = "$(dpkg-deb -f "$current" Version)" ] || fail "no upgrade"
[ "$(sha256sum <"$data/cds.xml")" = "$table" ] || fail "the upgrade changed the user's table"

say "a link opened by xdg-open prints on the table's printer"
mkdir -p /tmp/web
cp /usr/share/cups/data/default-testpage.pdf /tmp/web/doc.pdf
python3 -u - >/tmp/web.log 2>&1 <<'PYTHON' &
import functools, http.server, ssl
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory="/tmp/web")
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain("/tmp/tls/cert.pem", "/tmp/tls/key.pem")
server.socket = context.wrap_socket(server.socket, server_side=True)
print("port", server.server_address[1], flush=True)
server.serve_forever()
PYTHON
waitFor grep -qs 'port [0-9]' /tmp/web.log || fail "the web server did not start"
port=$(sed -n 's/^port \([0-9]*\).*/\1/p' /tmp/web.log | head -n 1)
link="kestrova://print/?moduleaddress=Desk&pdfurl=https%3A%2F%2F127.0.0.1%3A$port%2Fdoc.pdf"
asUser xdg-open "$link" >/tmp/open.log 2>&1 || fail "xdg-open: $(cat /tmp/open.log)"
printed() { compgen -G "$KESTROVA_PRINT_OUTPUT/$queue-*.pdf" >/dev/null; }
waitFor printed || fail "nothing printed on $queue: $(ls "$KESTROVA_PRINT_OUTPUT")"
grep -q ": $link" "$data"/log/*.log || fail "the link is not in the user's log"
[ -z "$(ls -A "$data/DownFile")" ] || fail "the download was left in $data/DownFile"

say "nothing but the package's own files beside the program, though root ran it"
[ "$(find /usr/lib/kestrova -mindepth 1 | LC_ALL=C sort)" = "$(dpkg -L kestrova | grep '^/usr/lib/kestrova/' | LC_ALL=C sort)" ] ||
    fail "/usr/lib/kestrova holds more than the package: $(ls -A /usr/lib/kestrova)"

say "purging the package leaves nothing of it behind"
packageFiles >/tmp/package-files
/tmp/print-system.sh stop /tmp/print
apt-get purge -y -q kestrova >/tmp/apt.log 2>&1 || { cat /tmp/apt.log; fail "apt-get purge"; }
while read -r path; do
    [ ! -e "$path" ] && [ ! -L "$path" ] || fail "$path is left after the purge"
done </tmp/package-files
snapshot >/tmp/after
left=$(LC_ALL=C comm -13 /tmp/before /tmp/after)
[ -z "$left" ] || fail "left after the purge: $left"
[ "$(sha256sum <"$data/cds.xml")" = "$table" ] || fail "the purge touched the user's table"
say "passed"
