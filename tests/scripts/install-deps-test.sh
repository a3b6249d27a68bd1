#!/bin/sh
# Runs scripts/install-deps with stand-ins for dpkg-query, apt-get and id on
# PATH, so that its exit status and its handling of the policy-rc.d file can
# be checked without touching the machine's packages.
set -u
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passed=0

mkdir -p "$work/bin"
cat > "$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
# Everything is installed except the packages named in STUB_MISSING.
for p in $STUB_MISSING; do [ "$p" = "$3" ] && exit 1; done
printf 'install ok installed'
STUB
cat > "$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >> "$STUB_LOG"
if [ "$1" = install ]; then
    [ -e "$QRT_POLICY_RC" ] && echo "policy present during install" >> "$STUB_LOG"
    exit "${STUB_INSTALL_STATUS:-0}"
fi
exit 0
STUB
printf '#!/bin/sh\necho 0\n' > "$work/bin/id"
chmod +x "$work/bin/"*

# check NAME EXPECTED_STATUS MISSING INSTALL_STATUS PREEXISTING_POLICY
check() {
    name=$1 expected=$2 missing=$3 install_status=$4 preexisting=$5
    policy="$work/policy-rc.d"
    log="$work/log"
    rm -f "$policy" "$log"
    touch "$log"
    [ "$preexisting" = yes ] && printf '#!/bin/sh\nexit 0 # site policy\n' > "$policy"
    PATH="$work/bin:$PATH" STUB_MISSING="$missing" STUB_LOG="$log" STUB_INSTALL_STATUS="$install_status" \
        QRT_POLICY_RC="$policy" sh "$script" > "$work/out" 2>&1
    status=$?
    problem=""
    if [ "$expected" = 0 ] && [ "$status" != 0 ]; then problem="exit status $status, expected 0"; fi
    if [ "$expected" != 0 ] && [ "$status" = 0 ]; then problem="exit status 0, expected a failure"; fi
    if [ -z "$missing" ] && [ -s "$log" ]; then problem="$problem; apt-get ran with nothing missing"; fi
    if [ -n "$missing" ]; then
        grep -q "install .*$missing" "$log" || problem="$problem; $missing was not installed"
        grep -q "policy present during install" "$log" || problem="$problem; no policy file during the install"
    fi
    if [ "$preexisting" = yes ]; then
        grep -q 'site policy' "$policy" 2>/dev/null || problem="$problem; the site's policy file was changed or removed"
    elif [ -e "$policy" ]; then
        problem="$problem; the policy file it created was left behind"
    fi
    if [ -n "$problem" ]; then
        echo "FAIL $name: $problem"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    else
        echo "ok   $name"
        passed=$((passed + 1))
    fi
}

check "nothing missing" 0 "" 0 no
check "missing, no policy file before" 0 "snmpd" 0 no
check "missing, policy file before" 0 "snmpd" 0 yes
check "install fails" 1 "snmpd" 100 no
check "install fails, policy file before" 1 "snmpd" 100 yes
check "lintian, for the package test" 0 "lintian" 0 no

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
