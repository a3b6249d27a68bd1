#!/bin/sh
# The Ansible example (docs/ansible/backup.yml) backs up three simulated access
# points on this machine, the control host being localhost (connection: local).
#   ansible-test.sh <build directory> <source directory>
set -u
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
command -v ansible-playbook >/dev/null 2>&1 || { echo "skip: ansible-playbook is not installed"; exit 77; }
work=$(mktemp -d)
pids=
cleanup() { for p in $pids; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
free_port() { python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
tftp=$(free_port)
snmp=$(free_port)
for i in 1 2 3; do
    "$build/apsim/qrt5150-apsim" --listen "127.0.0.4$i:$snmp" --tftp-port "$tftp" >"$work/sim$i.log" 2>&1 &
    pids="$pids $!"
done
sleep 1
cat >"$work/inventory.ini" <<INV
[qrt5150_control]
localhost ansible_connection=local ansible_python_interpreter=/usr/bin/python3
INV
cat >"$work/vars.yml" <<VARS
qrt5150_cli: $build/src/cli/qrt5150-cli
qrt5150_tftp_port: $tftp
qrt5150_backup_dir: $work/backups
qrt5150_devices: ["127.0.0.41:$snmp", "127.0.0.42:$snmp", "127.0.0.43:$snmp"]
qrt5150_read_community: hollow
qrt5150_write_community: granite
VARS
mkdir "$work/tmp"
HOME=$work TMPDIR=$work/tmp ANSIBLE_LOCAL_TEMP=$work/tmp ANSIBLE_NOCOLOR=1 \
    ansible-playbook -i "$work/inventory.ini" -e "@$work/vars.yml" "$source/docs/ansible/backup.yml" >"$work/play.log" 2>&1
status=$?
failures=0
[ "$status" = 0 ] || { echo "FAIL ansible-playbook ended with $status"; sed 's/^/    /' "$work/play.log"; failures=1; }
for i in 1 2 3; do
    [ -s "$work/backups/127.0.0.4$i.dcf" ] || { echo "FAIL no backup of 127.0.0.4$i"; failures=1; }
done
grep -q granite "$work/play.log" && { echo "FAIL the play's output shows a community"; failures=1; }
find "$work/tmp" -name '*.devices' | grep -q . && { echo "FAIL the devices file was left behind"; failures=1; }
[ "$failures" = 0 ] && echo "ok   the playbook backed up three simulators"
exit "$failures"
