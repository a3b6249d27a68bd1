#!/bin/sh
# A 100 KB download by the tftp-hpa client through a relay that loses 5 % of
# the datagrams each way: our server (tftp_serve, default wait) against
# tftpd-hpa, both behind the same relay with the same seeds, in the same run.
# Median of BENCH_REPEATS (default 5) seeds per server; a run that does not
# bring the whole file counts as failed. Needs root for tftpd-hpa's chroot (-s).
set -eu
BUILD_DIR=${BUILD_DIR:-build}
SERVE=$BUILD_DIR/bench/tftp_serve
RELAY=$BUILD_DIR/bench/lossy_relay
REPEATS=${BENCH_REPEATS:-5}
LOSS=${BENCH_LOSS:-0.05}
OURS_PORT=${BENCH_OURS_PORT:-16971}
PEER_PORT=${BENCH_PEER_PORT:-16972}
PEER=/usr/sbin/in.tftpd

for tool in tftp timeout "$PEER" "$SERVE" "$RELAY"; do
    command -v "$tool" >/dev/null || { echo "# tftp lossy bench: $tool missing" >&2; exit 1; }
done

work=$(mktemp -d)
cleanup() {
    [ -n "${relay_pid:-}" ] && kill "$relay_pid" 2>/dev/null
    [ -n "${ours_pid:-}" ] && kill "$ours_pid" 2>/dev/null
    [ -n "${peer_pid:-}" ] && kill "$peer_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
mkdir -p "$work/ours" "$work/peer" "$work/local"
head -c 102400 /dev/urandom > "$work/local/f.bin"
cp "$work/local/f.bin" "$work/ours/f.bin"
cp "$work/local/f.bin" "$work/peer/f.bin"

"$SERVE" "$work/ours" "$OURS_PORT" > "$work/ours.log" 2>&1 &
ours_pid=$!
user=; [ "$(id -u)" = 0 ] && user="-u root"
# shellcheck disable=SC2086
"$PEER" --foreground --listen --address "127.0.0.1:$PEER_PORT" $user -c -p -s "$work/peer" &
peer_pid=$!
sleep 0.5

now() { date +%s.%N; }

# One download through a fresh relay: prints "SECONDS DROPPED", or "fail DROPPED".
fetch() {
    port=$1; seed=$2
    "$RELAY" "$port" "$LOSS" "$seed" > "$work/relay.out" &
    relay_pid=$!
    for _ in $(seq 50); do grep -q '^relay port=' "$work/relay.out" && break; sleep 0.05; done
    front=$(sed -n 's/^relay port=//p' "$work/relay.out")
    rm -f "$work/local/got"
    start=$(now)
    (cd "$work/local" && timeout 180 tftp -m binary 127.0.0.1 "$front" -c get f.bin got) >/dev/null 2>&1 || true
    end=$(now)
    kill "$relay_pid"; wait "$relay_pid" 2>/dev/null || true; relay_pid=
    dropped=$(sed -n 's/^dropped=//p' "$work/relay.out")
    if cmp -s "$work/local/got" "$work/local/f.bin"; then
        awk -v t="$end" -v s="$start" -v d="$dropped" 'BEGIN { printf "%.2f %s\n", t - s, d }'
    else
        echo "fail $dropped"
    fi
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "# 100 KB, tftp-hpa client, $LOSS loss each way, $REPEATS seeds per server"
: > "$work/ours.times"; : > "$work/peer.times"
ours_ok=0; peer_ok=0
for seed in $(seq "$REPEATS"); do
    set -- $(fetch "$OURS_PORT" "$seed"); o=$1; od=$2
    set -- $(fetch "$PEER_PORT" "$seed"); p=$1; pd=$2
    echo "# seed $seed: ours $o s ($od dropped), tftpd-hpa $p s ($pd dropped)"
    [ "$o" != fail ] && { echo "$o" >> "$work/ours.times"; ours_ok=$((ours_ok + 1)); }
    [ "$p" != fail ] && { echo "$p" >> "$work/peer.times"; peer_ok=$((peer_ok + 1)); }
done
ours=$(median < "$work/ours.times")
peer=$(median < "$work/peer.times")
awk -v o="$ours" -v p="$peer" -v oc="$ours_ok" -v pc="$peer_ok" -v n="$REPEATS" \
    'BEGIN { printf "BENCH tftp_lossy_100KB ours %s s (%d/%d whole) tftpd-hpa %s s (%d/%d whole) time ratio=%.2f vs tftpd-hpa\n", o, oc, n, p, pc, n, (p > 0) ? o / p : 0 }'
