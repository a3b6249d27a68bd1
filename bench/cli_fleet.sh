#!/bin/sh
# Fleet backups with qrt5150-cli: 1, 20 and 100 simulated access points (each
# on a loopback address of its own), --jobs 1, --jobs 16 and --jobs
# BENCH_WIDE_JOBS (default 64, at most the fleet), seconds each and the
# speed-up; the goal is that 100 devices take under three times one. The
# simulators answer after BENCH_DELAY_MS (default 100), as a device across a
# network does. A device's backup is four answers and two transfers (its
# file, then the device reading it back for the configuration save), about
# 0.43 s alone, so sixteen jobs need at least seven such rounds for 100
# devices; wider runs are bound by processor time, which the simulators share
# with the tool here: the processor seconds of both are printed for them.
#   BENCH_FLEET_SIZES (default "20 100"), BENCH_TFTP_PORT (default 16979)
set -eu
BUILD_DIR=${BUILD_DIR:-build}
CLI=$BUILD_DIR/src/cli/qrt5150-cli
SIM=$BUILD_DIR/apsim/qrt5150-apsim
SIZES=${BENCH_FLEET_SIZES:-"20 100"}
TFTP_PORT=${BENCH_TFTP_PORT:-16979}
SNMP_PORT=16161
DELAY_MS=${BENCH_DELAY_MS:-100}
WIDE=${BENCH_WIDE_JOBS:-64}

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
# Processor seconds of the simulators so far.
tick=$(getconf CLK_TCK)
sims_cpu() {
    for p in $pids; do cut -d' ' -f14,15 "/proc/$p/stat"; done |
        awk -v tick="$tick" '{ t += $1 + $2 } END { print t / tick }'
}
# Processor seconds of the children this shell waited for ("times" output).
children_cpu() {
    awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); print u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$1"
}
run() { # run N JOBS -> seconds; the processor seconds of the run go to $work/cpu
    i=1
    echo "* read=hollow write=granite" >"$work/fleet"
    while [ "$i" -le "$1" ]; do echo "$(address "$i"):$SNMP_PORT" >>"$work/fleet"; i=$((i + 1)); done
    rm -rf "$work/out"; mkdir "$work/out"
    sims0=$(sims_cpu)
    times >"$work/times0"
    start=$(now)
    QRT5150_TFTP_PORT=$TFTP_PORT "$CLI" --devices "$work/fleet" --jobs "$2" backup --out "$work/out" >"$work/run.log" 2>&1 ||
        { echo "# cli fleet bench: backup of $1 with --jobs $2 failed" >&2; cat "$work/run.log" >&2; exit 1; }
    end=$(now)
    times >"$work/times1"
    echo "$(children_cpu "$work/times1") - $(children_cpu "$work/times0")" | bc -l >"$work/cpu"
    echo "$(sims_cpu) - $sims0" | bc -l >>"$work/cpu"
    echo "$end - $start" | bc -l
}

# The one device's figure divides every other: the median of three runs.
one=$( (run 1 1; run 1 1; run 1 1) | sort -n | sed -n 2p)
echo "# simulators answer after $DELAY_MS ms; $(nproc) cores"
printf 'BENCH cli_backup_1 %.2f s\n' "$one"
for n in $SIZES; do
    serial=$(run "$n" 1)
    printf 'BENCH cli_backup_%s_jobs1 %.2f s\n' "$n" "$serial"
    wide=$WIDE
    [ "$wide" -gt "$n" ] && wide=$n
    widths=16
    [ "$wide" -gt 16 ] && widths="16 $wide"
    for jobs in $widths; do
        seconds=$(run "$n" "$jobs")
        printf 'BENCH cli_backup_%s_jobs%s %.2f s ratio=%.2f vs jobs1\n' "$n" "$jobs" "$seconds" "$(echo "$seconds / $serial" | bc -l)"
        printf 'BENCH cli_backup_%s_jobs%s_vs_one %.2f x (goal: under 3)\n' "$n" "$jobs" "$(echo "$seconds / $one" | bc -l)"
        { read -r tool; read -r sims; } <"$work/cpu"
        printf '# processor seconds of that run: qrt5150-cli %.2f, the %s simulators %.2f\n' "$tool" "$n" "$sims"
    done
done
