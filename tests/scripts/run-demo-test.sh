#!/bin/sh
# Runs scripts/run-demo as CI would (no display, so under Xvfb) as a user
# without privileges, with the build directory given as an absolute path.
# The demo must save its picture of the main window and give the pages'
# TFTP server a port this user can open. As root the demo runs as "nobody";
# that user cannot write the build, so the demo runs the qrt5150 and
# qrt5150-apsim it already holds.
# Usage: run-demo-test.sh ABSOLUTE_BUILD_DIR
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
build=$1
skip() { echo "SKIP: $*"; exit 77; }

as_user=""
if [ "$(id -u)" = 0 ]; then
    command -v setpriv >/dev/null 2>&1 || skip "running as root and setpriv is missing"
    id nobody >/dev/null 2>&1 || skip "running as root and there is no user 'nobody' to run the demo as"
    # With the user's own environment (PATH, HOME), as a login would give it.
    as_user="setpriv --reuid=nobody --regid=$(id -g nobody) --clear-groups --reset-env --"
fi
user_can() { $as_user "$@" >/dev/null 2>&1; }
user_can test -x "$build/src/app/qrt5150" || skip "the demo's user cannot run $build/src/app/qrt5150"

out=$(mktemp)
# A home of its own, as a plain user has ("nobody" has none).
home=$(mktemp -d)
[ -n "$as_user" ] && chown nobody "$home"
trap 'rm -rf "$out" "$home"' EXIT
# A port of its own for the simulator, away from a demo someone else runs.
port=$(python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
$as_user env -u DISPLAY -u WAYLAND_DISPLAY -u QRT5150_TFTP_PORT HOME="$home" BUILD_DIR="$build" QRT_DEMO_PORT="$port" \
    "$root/scripts/run-demo" >"$out" 2>&1
status=$?
sed 's/^/    /' "$out"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ "$status" = 0 ] || fail "run-demo ended with status $status"

picture=$(sed -n 's/^run-demo: picture of the main window.*: //p' "$out")
if [ -z "$picture" ] || ! file "$picture" 2>/dev/null | grep -q 'PNG image'; then
    fail "no picture of the main window"
fi
[ -n "$picture" ] && rm -rf "$(dirname "$picture")"

tftp=$(sed -n 's/^run-demo: file transfers over TFTP on UDP port \([0-9]*\)$/\1/p' "$out")
if [ -z "$tftp" ]; then
    fail "the demo did not say which TFTP port the pages use"
elif ! user_can python3 -c "import socket; socket.socket(socket.AF_INET, socket.SOCK_DGRAM).bind(('', $tftp))"; then
    fail "the demo's user cannot open the TFTP port $tftp the pages would use"
fi

[ "$failures" = 0 ] && echo "run-demo works for $($as_user id -un)"
[ "$failures" = 0 ]
