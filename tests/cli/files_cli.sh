#!/usr/bin/env bash
# rpn-cli against real files of every awkward kind: a full file system, a
# FIFO, a character device, a sparse 256 MiB file, a file that declares a
# huge text, symbolic links, a read-only file saved by an unprivileged user,
# saves killed at random moments, and a file whose texts carry terminal
# escapes. Each must end in "File
# Error" and status 1 (or its sound behaviour), with nothing lost or left
# behind, and no load may take 64 MiB. Usage: files_cli.sh path/to/rpn-cli
set -uo pipefail
source "$(dirname "$(realpath "$0")")/../../testsupport/checks.sh"

cli=$(realpath "$1")
work=$(mktemp -d)
# Open to the unprivileged user of the read-only case.
chmod 0755 "$work"
mounted=""
cleanup() {
    [ -n "$mounted" ] && umount "$mounted"
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
export LC_ALL=C

# Status and standard error of one run, with a deadline: a hang is a failure.
run() {
    local status=0
    timeout 10 "$cli" "$@" >"$work/out" 2>"$work/err" || status=$?
    echo "$status $(tr '\n' ' ' <"$work/err")"
}

# The peak resident memory of one run, in KiB.
peak_kib() {
    /usr/bin/time -f %M -o "$work/peak" "$cli" "$@" >/dev/null 2>&1
    tail -n 1 "$work/peak"
}

"$cli" --save old.rpn 1 2 3 ENTER >/dev/null
cp old.rpn old.copy

# A FIFO: refused at once, both ways, and still a FIFO.
mkfifo fifo.rpn
check "FIFO as --state" "1 File Error " "$(run --state fifo.rpn 1)"
check "FIFO as --save" "1 File Error " "$(run --save fifo.rpn 1)"
check "the FIFO stays a FIFO" "fifo" "$([ -p fifo.rpn ] && echo fifo)"

# A character device (as root, a node of its own; otherwise /dev/null).
device=/dev/null
if [ "$(id -u)" -eq 0 ] && mknod "$work/null.rpn" c 1 3 2>/dev/null; then
    device="$work/null.rpn"
fi
check "character device as --save" "1 File Error " "$(run --save "$device" 1)"
check "character device as --state" "1 File Error " "$(run --state "$device" 1)"
check "the device stays a device" "device" "$([ -c "$device" ] && echo device)"

# A directory, and a socket-free missing directory.
mkdir dir.rpn
check "directory as --save" "1 File Error " "$(run --save dir.rpn 1)"
check "missing directory as --save" "1 File Error " "$(run --save missing/a.rpn 1)"

# Sparse 256 MiB: refused without reading it.
truncate -s 256M sparse.rpn
check "sparse 256 MiB file" "1 File Error " "$(run --state sparse.rpn 1)"
peak=$(peak_kib --state sparse.rpn 1)
echo "peak memory loading the sparse file: $peak KiB"
check "sparse load stays under 64 MiB" "yes" "$([ "$peak" -lt 65536 ] && echo yes)"

# A small file whose first text declares 256 MiB.
{
    head -c 14 old.rpn
    printf '\xff\xfe\xff\xff\xff\xff\x00\x00\x00\x10'
    head -c 4000 /dev/zero
} >declares-huge.rpn
check "a text declaring 256 MiB" "1 File Error " "$(run --state declares-huge.rpn 1)"
peak=$(peak_kib --state declares-huge.rpn 1)
echo "peak memory loading the file declaring 256 MiB: $peak KiB"
check "that load stays under 64 MiB" "yes" "$([ "$peak" -lt 65536 ] && echo yes)"
peak=$(peak_kib --state old.rpn 1)
echo "peak memory loading a good state file: $peak KiB"

# Symbolic links: followed, and the link stays a link; a dangling link is
# refused and creates nothing.
ln -s old.rpn link.rpn
check "save through a link" "0 " "$(run --save link.rpn 4 ENTER)"
check "the link is still a link" "old.rpn" "$(readlink link.rpn)"
check "the file it names holds the new state" " 4.000000 00" "$("$cli" --state old.rpn)"
cp old.rpn old.copy
ln -s nowhere.rpn dangling.rpn
check "save through a dangling link" "1 File Error " "$(run --save dangling.rpn 1)"
check "nothing created where it points" "absent" "$([ -e nowhere.rpn ] || echo absent)"

# A read-only file, saved by an unprivileged user in a directory they may
# write; and as the owner of the files, root too is refused.
mkdir shared && chmod 1777 shared
cp old.rpn shared/ro.rpn && chmod 0444 shared/ro.rpn
check "root saving a read-only file" "1 File Error " "$(run --save shared/ro.rpn 5)"
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    chown nobody shared/ro.rpn
    # A copy nobody may run, wherever the build tree is; the sanitizers'
    # suppression file may be out of nobody's reach too.
    cp "$cli" "$work/rpn-cli" && chmod 0755 "$work/rpn-cli"
    as_nobody() {
        env -u LSAN_OPTIONS setpriv --reuid=nobody --regid=nogroup --clear-groups "$work/rpn-cli" "$@"
    }
    status=0
    as_nobody --save shared/ro.rpn 5 >/dev/null 2>"$work/err" || status=$?
    check "nobody saving a read-only file" "1 File Error" "$status $(cat "$work/err")"
    check "the read-only file is unchanged" "same" "$(cmp -s shared/ro.rpn old.copy && echo same)"
    status=0
    as_nobody --save shared/new.rpn 5 >/dev/null 2>&1 || status=$?
    check "nobody saving a new file" "0" "$status"
else
    echo "SKIPPED: unprivileged save (needs root and setpriv)"
fi
check "no temporary file left in the shared directory" "new.rpn ro.rpn" "$(ls -A shared | tr '\n' ' ' | sed 's/ $//')"

# Saves killed at random moments, 0 to 10 ms into a run of about 5 ms: the
# state file is always whole, and at most one other file is ever left beside
# it, which the next save takes over.
mkdir storm
"$cli" --save storm/s.rpn 1 ENTER >/dev/null
killed=0
for i in $(seq 400); do
    status=0
    timeout -s KILL "0.00$(printf %03d $((RANDOM % 999 + 1)))" "$cli" --save storm/s.rpn $((i % 10)) ENTER \
        >/dev/null 2>&1 || status=$?
    [ "$status" -eq 137 ] && killed=$((killed + 1))
done 2>/dev/null
echo "$killed of 400 saves were killed"
check "the state file reads after the killed saves" "0" "$("$cli" --state storm/s.rpn >/dev/null 2>&1; echo $?)"
check "at most one file beside it" "yes" "$([ "$(ls -A storm | wc -l)" -le 2 ] && echo yes)"
check "the next save leaves the state file alone" "0 s.rpn" "$("$cli" --save storm/s.rpn 5 >/dev/null 2>&1; echo $?) $(ls -A storm)"

# Texts with terminal escapes: shown as '?', never sent to the terminal. The
# reset state, its entry opened and its empty Integer (bytes 14-17) made
# ESC c 7, a full terminal reset.
"$cli" --save reset.rpn >/dev/null
{
    head -c 4 reset.rpn
    printf '\x01\x00'
    head -c 14 reset.rpn | tail -c 8
    printf '\xff\xfe\xff\x03\x1b\x00c\x007\x00'
    tail -c +19 reset.rpn
} >escape.rpn
"$cli" --state escape.rpn >"$work/out" 2>&1
check "no escape character on the terminal" "0" "$(grep -c $'\x1b' "$work/out")"
check "the escape shown as ?" "yes" "$(grep -q '?.c7' "$work/out" && echo yes)"

# A full file system: the old file byte for byte, nothing left behind.
if [ "$(id -u)" -eq 0 ] && mkdir "$work/full" && mount -t tmpfs -o size=64k,mode=0755 tmpfs "$work/full" 2>/dev/null; then
    mounted="$work/full"
    cp old.rpn full/state.rpn
    dd if=/dev/zero of=full/fill bs=4k >/dev/null 2>&1
    check "save to a full file system" "1 File Error " "$(run --save full/state.rpn 6 ENTER)"
    check "the old file is intact" "same" "$(cmp -s full/state.rpn old.rpn && echo same)"
    check "no temporary file on the full file system" "fill state.rpn" "$(ls -A full | tr '\n' ' ' | sed 's/ $//')"
    rm full/fill
    check "save once there is room" "0 " "$(run --save full/state.rpn 6 ENTER)"
    check "the new state reads back" " 6.000000 00" "$("$cli" --state full/state.rpn)"
else
    echo "SKIPPED: cannot mount tmpfs (needs root and mount); the full file system was not tried"
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "rpn-cli files: all checks passed"
