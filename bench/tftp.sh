#!/bin/sh
# Download and upload throughput of our TFTP server (tftp_serve) against
# tftpd-hpa serving the same files in the same run, with curl as the client.
# Client and server are pinned the same way for both servers:
#   BENCH_SERVER_CPU (default 0) and BENCH_CLIENT_CPU (default 0): same core.
# Best of BENCH_REPEATS (default 5) runs per figure. Needs root for
# tftpd-hpa's chroot (-s).
set -eu
BUILD_DIR=${BUILD_DIR:-build}
SERVE=$BUILD_DIR/bench/tftp_serve
SERVER_CPU=${BENCH_SERVER_CPU:-0}
CLIENT_CPU=${BENCH_CLIENT_CPU:-0}
REPEATS=${BENCH_REPEATS:-5}
OURS_PORT=${BENCH_OURS_PORT:-16969}
PEER_PORT=${BENCH_PEER_PORT:-16970}
PEER=/usr/sbin/in.tftpd

for tool in curl taskset "$PEER" "$SERVE"; do
    command -v "$tool" >/dev/null || { echo "# tftp bench: $tool missing" >&2; exit 1; }
done

work=$(mktemp -d)
cleanup() {
    [ -n "${ours_pid:-}" ] && kill "$ours_pid" 2>/dev/null
    [ -n "${peer_pid:-}" ] && kill "$peer_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
mkdir -p "$work/ours" "$work/peer" "$work/local"
for mib in 8 32; do
    head -c $((mib * 1048576)) /dev/urandom > "$work/local/f$mib"
    cp "$work/local/f$mib" "$work/ours/f$mib"
    cp "$work/local/f$mib" "$work/peer/f$mib"
done

taskset -c "$SERVER_CPU" "$SERVE" "$work/ours" "$OURS_PORT" > "$work/ours.log" 2>&1 &
ours_pid=$!
user=; [ "$(id -u)" = 0 ] && user="-u root"
# shellcheck disable=SC2086
taskset -c "$SERVER_CPU" "$PEER" --foreground --listen --address "127.0.0.1:$PEER_PORT" \
    $user -c -p -s "$work/peer" &
peer_pid=$!
sleep 0.5

now() { date +%s.%N; }

# Seconds of the fastest of REPEATS transfers: transfer PORT DIR NAME MIB BLKSIZE
transfer() {
    port=$1; dir=$2; name=$3; mib=$4; blk=$5; best=
    for i in $(seq "$REPEATS"); do
        if [ "$dir" = down ]; then
            start=$(now)
            taskset -c "$CLIENT_CPU" curl -sS --tftp-blksize "$blk" -o "$work/local/got" \
                "tftp://127.0.0.1:$port/f$mib"
            end=$(now)
            cmp -s "$work/local/got" "$work/local/f$mib" || { echo "# $name: corrupt download" >&2; exit 1; }
        else
            start=$(now)
            taskset -c "$CLIENT_CPU" curl -sS --tftp-blksize "$blk" -T "$work/local/f$mib" \
                "tftp://127.0.0.1:$port/up$i"
            end=$(now)
        fi
        [ -n "${BENCH_VERBOSE:-}" ] && echo "# $name port $port run $i: $(awk -v t="$end" -v s="$start" "BEGIN { print t - s }") s" >&2
        best=$(awk -v t="$end" -v s="$start" -v b="$best" \
            'BEGIN { d = t - s; print (b == "" || d < b) ? d : b }')
    done
    echo "$best"
}

echo "# placement: server on cpu $SERVER_CPU, client (curl) on cpu $CLIENT_CPU, both servers alike; best of $REPEATS"
for blk in 512 1428 8192; do
    for dir in down up; do
        for mib in 8 32; do
            [ "$blk" != 512 ] && [ "$mib" = 8 ] && continue
            name="tftp_${dir}_${mib}MiB_blksize$blk"
            ours=$(transfer "$OURS_PORT" "$dir" "$name" "$mib" "$blk")
            peer=$(transfer "$PEER_PORT" "$dir" "$name" "$mib" "$blk")
            if [ "$dir" = up ]; then
                cmp -s "$work/ours/up1" "$work/local/f$mib" || { echo "# $name: corrupt upload" >&2; exit 1; }
            fi
            awk -v n="$name" -v m="$mib" -v o="$ours" -v p="$peer" \
                'BEGIN { printf "BENCH %s %.1f MiB/s ratio=%.2f vs tftpd-hpa\n", n, m / o, p / o }'
        done
    done
done
