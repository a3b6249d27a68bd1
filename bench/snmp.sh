#!/bin/sh
# The SNMP request engine against plain Net-SNMP loops, both talking to one
# private snmpd in the same run (client on CPU 0, agent on CPU 1 for both):
# Get with 1 and 10 varbinds, an asynchronous walk of a 120-row table (against
# a get-next loop and a GETBULK loop), and the time of OpenSession.
set -eu
BUILD_DIR=${BUILD_DIR:-build}
exec "$BUILD_DIR/bench/snmp/snmp_bench"
