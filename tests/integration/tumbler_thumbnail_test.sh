#!/bin/bash
# Thunar gets its pictures from the session's thumbnail service, tumbler. Tumbler creates the
# output file, runs the Exec line of our loomscope.thumbnailer entry on it, and then reads the
# picture through the descriptor it kept open, so a thumbnailer that renames a new file over
# the output path leaves tumbler reading the empty original. This runs the real tumblerd on a
# private session bus, queues a DST design as Thunar does, and checks that the picture lands
# in the freedesktop thumbnail cache.
#
#   tumbler_thumbnail_test.sh LOOMSCOPE
# Exit status: 0 passed, 77 tumbler or the D-Bus tools are not installed, 1 failed.
set -u
bus_name=org.freedesktop.thumbnails.Thumbnailer1
bus_path=/org/freedesktop/thumbnails/Thumbnailer1

# Second half, run by dbus-run-session below: everything here talks to that private bus only.
if [ "${1-}" = --on-bus ]; then
    # Whatever way this half ends, tumblerd and the monitor end with it, and so does a hung
    # thumbnailer: tumblerd leads a process group of its own, which its children share.
    setsid "$TUMBLERD" >"$work/tumblerd.log" 2>&1 & tumbler=$!
    trap 'kill -- -$tumbler ${monitor-} 2>/dev/null; wait' EXIT
    trap 'exit 1' INT TERM
    gdbus wait --session --timeout 10 $bus_name ||
        { echo "tumblerd did not take $bus_name within 10 s" >"$work/problem"; exit 1; }
    # Tumbler sends its signals to the caller alone; a monitor connection sees them anyway.
    dbus-monitor --session "type=signal,interface=$bus_name" >"$work/signals" 2>/dev/null &
    monitor=$!
    # NameLost is the bus's last word to a connection turning monitor; no signal is missed after.
    for _ in $(seq 50); do grep -q member=NameLost "$work/signals" && break; sleep 0.1; done
    # Thunar's request: the file's URI and type as GIO gives them, the 128-pixel flavour.
    # (GLib leaves ' unescaped in a URI but never ", so the URI goes in double quotes.)
    gdbus call --session --dest $bus_name --object-path $bus_path --method $bus_name.Queue \
        "[\"$uri\"]" "['$type']" normal default 0 >/dev/null 2>"$work/problem" || exit 1
    # Finished follows both Ready and Error. Bounded: a hung thumbnailer must not hang CTest.
    for _ in $(seq 200); do grep -q member=Finished "$work/signals" && break; sleep 0.1; done
    exit 0
fi

fail() { echo "tumbler_thumbnail_test: FAIL: $*" >&2; exit 1; }
skip() { echo "tumbler_thumbnail_test: SKIP: $*" >&2; exit 77; }

[ $# -eq 1 ] || { echo "usage: $0 LOOMSCOPE" >&2; exit 1; }
# The entry must name the program by an absolute path, as the installed one does.
program=$(cd "$(dirname "$1")" 2>/dev/null && pwd)/$(basename "$1")
[ -x "$program" ] || fail "$1 is not an executable program"
sample=$(dirname "$0")/../../data/samples/rose-badge.dst
[ -r "$sample" ] || fail "no sample design at $sample"

# Debian keeps tumblerd in the multiarch library folder, other systems in libexec.
TUMBLERD=${TUMBLERD:-$(ls /usr/lib/*/tumbler-1/tumblerd /usr/lib/tumbler-1/tumblerd \
    /usr/libexec/tumbler-1/tumblerd 2>/dev/null | head -n 1)}
[ -n "$TUMBLERD" ] || skip "tumblerd is not installed"
for tool in dbus-run-session dbus-monitor gdbus gio update-mime-database python3 setsid; do
    command -v $tool >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d) || fail "cannot make a temporary folder"
trap 'rm -rf "$work"' EXIT
# A home of its own: no user thumbnailer, cache or tumbler.rc can change the outcome. Of the
# system's data only /usr/share stays, for the MIME database GIO builds on.
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache \
    XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LOOMSCOPE_HOME=$work/loomscope \
    XDG_DATA_DIRS=/usr/share
mkdir -p "$HOME" "$XDG_DATA_HOME/thumbnailers" "$XDG_DATA_HOME/mime/packages" \
    "$XDG_CACHE_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$LOOMSCOPE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"

# The entry as the installation writes it: quoted for Exec, then escaped as a string value.
try_exec=$(printf '%s' "$program" | sed 's/\\/\\\\/g')
exec_program=$(printf '%s' "$program" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')
cat >"$XDG_DATA_HOME/thumbnailers/loomscope.thumbnailer" <<EOF
[Thumbnailer Entry]
TryExec=$try_exec
Exec="$exec_program" --thumbnail -s %s %i %o
MimeType=application/x-tajima-dst;
EOF
# Thunar asks for the type GIO finds, and GIO finds it from the installed MIME package.
cat >"$XDG_DATA_HOME/mime/packages/loomscope.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-tajima-dst">
    <comment>DST embroidery file</comment>
    <glob pattern="*.dst"/>
    <magic priority="50"><match type="string" offset="0" value="LA:"/></magic>
  </mime-type>
</mime-info>
EOF
update-mime-database "$XDG_DATA_HOME/mime" >/dev/null 2>&1 || fail "update-mime-database failed"

# Designs come off Windows machines and USB sticks with upper-case names.
mkdir "$work/designs" && cp "$sample" "$work/designs/ROSE.DST" || fail "cannot copy the sample"
# The cache names a picture by the MD5 of the URI exactly as GLib spells it for Thunar.
# Read in the C locale: gio translates its labels ("uri:") under the user's language.
info=$(LC_ALL=C gio info -a standard::content-type "$work/designs/ROSE.DST") || fail "gio info failed"
uri=$(printf '%s\n' "$info" | sed -n 's/^uri: //p')
type=$(printf '%s\n' "$info" | sed -n 's/^ *standard::content-type: //p')
[ "$type" = application/x-tajima-dst ] || fail "GIO takes ROSE.DST for '$type'"
png=$XDG_CACHE_HOME/thumbnails/normal/$(printf '%s' "$uri" | md5sum | cut -d' ' -f1).png
export work uri type TUMBLERD

dbus-run-session -- bash "$0" --on-bus 2>"$work/bus.log"

if [ ! -f "$png" ]; then
    [ -s "$work/problem" ] && cat "$work/problem" >&2
    # Tumbler's Error signal carries the reason, e.g. "Unrecognized image file format".
    reason=$(sed -n '/member=Error/,/member=Finished/s/^ *string "\(.*\)"$/\1/p' \
        "$work/signals" 2>/dev/null | grep -v '^file:' | tail -n 1)
    [ -n "$reason" ] && fail "tumbler could not make a thumbnail of $uri: $reason"
    grep -q member=Finished "$work/signals" 2>/dev/null || tail -n 5 "$work/tumblerd.log" >&2
    fail "no thumbnail at $png within 20 s"
fi
python3 - "$png" <<'EOF' || fail "the thumbnail at $png is not a drawn 128-pixel PNG"
import struct, sys
data = open(sys.argv[1], "rb").read()
header = data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR" and len(data) >= 24
width, height = struct.unpack(">II", data[16:24]) if header else (0, 0)
# An empty or nearly blank picture compresses to a few hundred bytes; a drawn design does not.
if width != 128 or not 0 < height <= 128 or len(data) <= 1024:
    sys.exit("%d bytes, %dx%d" % (len(data), width, height))
EOF
echo "tumbler_thumbnail_test: PASS: tumbler cached a 128-pixel picture of $uri"
