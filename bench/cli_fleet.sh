#!/bin/sh
# Fleet backups with qrt5150-cli: 1, 20 and 100 simulated access points (each
# on a loopback address of its own), --jobs 1 and --jobs 16, seconds each and
# the speed-up of 16 jobs; the goal is that 100 devices take under three
# times one. The peer is the same program on one device. The simulators answer
# after BENCH_DELAY_MS (default 100), as a device across a network does: on
# these 2-core machines a simulator answering at once makes the figure the
# CPU time of a hundred simulators, which no number of jobs shortens.
#   BENCH_FLEET_SIZES (default "20 100"), BENCH_TFTP_PORT (default 16979)
set -eu
BUILD_DIR=${BUILD_DIR:-build}
CLI=$BUILD_DIR/src/cli/qrt5150-cli
SIM=$BUILD_DIR/apsim/qrt5150-apsim
SIZES=${BENCH_FLEET_SIZES:-"20 100"}
TFTP_PORT=${BENCH_TFTP_PORT:-16979}
SNMP_PORT=16161
DELAY_MS=${BENCH_DELAY_MS:-100}

for tool in "$CLI" "$SIM"; do
    [ -x "$tool" ] || { echo "# cli fleet bench: $tool missing" >&2; exit 1; }
done

work=$(mktemp -d)
pids=
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

largest=0
for n in $SIZES; do [ "$n" -gt "$largest" ] && largest=$n; done
# 127.0.1.1 .. 127.0.1.255, then 127.0.2.x: one address a device.
address() { echo "127.0.$((1 + ($1 - 1) / 250)).$((1 + ($1 - 1) % 250))"; }
i=1
while [ "$i" -le "$largest" ]; do
    "$SIM" --listen "$(address "$i"):$SNMP_PORT" --tftp-port "$TFTP_PORT" --delay-ms "$DELAY_MS" >"$work/sim$i.log" 2>&1 &
    pids="$pids $!"
    i=$((i + 1))
done
sleep 2

now() { date +%s.%N; }
run() { # run N JOBS -> seconds
    i=1
    : >"$work/fleet"
    echo "* read=hollow write=granite" >"$work/fleet"
    while [ "$i" -le "$1" ]; do echo "$(address "$i"):$SNMP_PORT" >>"$work/fleet"; i=$((i + 1)); done
    rm -rf "$work/out"; mkdir "$work/out"
    start=$(now)
    QRT5150_TFTP_PORT=$TFTP_PORT "$CLI" --devices "$work/fleet" --jobs "$2" backup --out "$work/out" >"$work/run.log" 2>&1 ||
        { echo "# cli fleet bench: backup of $1 with --jobs $2 failed" >&2; cat "$work/run.log" >&2; exit 1; }
    echo "$(now) - $start" | bc -l
}

one=$(run 1 1)
echo "# simulators answer after $DELAY_MS ms"
printf 'BENCH cli_backup_1 %.2f s\n' "$one"
for n in $SIZES; do
    serial=$(run "$n" 1)
    parallel=$(run "$n" 16)
    printf 'BENCH cli_backup_%s_jobs1 %.2f s\n' "$n" "$serial"
    printf 'BENCH cli_backup_%s_jobs16 %.2f s ratio=%.2f vs jobs1\n' "$n" "$parallel" "$(echo "$parallel / $serial" | bc -l)"
    printf 'BENCH cli_backup_%s_jobs16_vs_one %.2f x\n' "$n" "$(echo "$parallel / $one" | bc -l)"
    # Sixteen at a time need ceil(n / 16) rounds; all at once is the goal's case.
    all=$(run "$n" "$n")
    printf 'BENCH cli_backup_%s_jobs%s %.2f s\n' "$n" "$n" "$all"
    printf 'BENCH cli_backup_%s_jobs%s_vs_one %.2f x (goal: under 3)\n' "$n" "$n" "$(echo "$all / $one" | bc -l)"
done
