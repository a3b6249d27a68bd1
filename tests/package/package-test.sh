#!/bin/sh
# Builds the Debian packages from a configured and built build directory with
# cpack, checks what they hold and what they depend on, runs their maintainer
# script with a stand-in setcap, runs the programs from a scratch root the
# packages are unpacked into (dpkg -x) and, as root, installs, reinstalls and
# purges the module's package in a scratch root with its own package database.
# Nothing on the machine itself changes.
#   package-test.sh <build directory>
set -u
build=$(cd "${1:?usage: package-test.sh <build directory>}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passed=0

ok() { echo "ok   $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
# check NAME COMMAND...: the command's status decides.
check() { name=$1; shift; if "$@" >"$work/check.out" 2>&1; then ok "$name"; else fail "$name"; sed 's/^/    /' "$work/check.out"; fi; }

for tool in cpack dpkg-deb dpkg dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null 2>&1 || { echo "FAIL $tool is missing (scripts/install-deps installs it)"; exit 1; }
done

start=$(date +%s)
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    echo "FAIL cpack"
    sed 's/^/    /' "$work/cpack.log"
    exit 1
fi
module=$(ls "$work"/out/qrt5150_*.deb 2>/dev/null)
apsim=$(ls "$work"/out/qrt5150-apsim_*.deb 2>/dev/null)
if [ -z "$module" ] || [ -z "$apsim" ]; then
    echo "FAIL cpack made no qrt5150 or no qrt5150-apsim package:"
    ls "$work/out"
    exit 1
fi
echo "cpack took $(( $(date +%s) - start )) s"
for deb in "$module" "$apsim"; do
    echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
    echo "  Depends: $(dpkg-deb -f "$deb" Depends)"
done

# --- Contents: exactly these files, the programs executable.
files() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { print $6 }' | sort; }
sort >"$work/module.expected" <<'LIST'
./etc/qrt5150/registry.ini
./usr/bin/qrt5150
./usr/bin/qrt5150-cli
./usr/share/applications/qrt5150.desktop
./usr/share/bash-completion/completions/qrt5150-cli
./usr/share/doc/qrt5150/changelog.Debian.gz
./usr/share/doc/qrt5150/copyright
./usr/share/icons/hicolor/scalable/apps/qrt5150.svg
./usr/share/lintian/overrides/qrt5150
./usr/share/man/man1/qrt5150.1.gz
./usr/share/man/man1/qrt5150-cli.1.gz
./usr/share/qrt5150/errmsg/common.err
./usr/share/qrt5150/errmsg/snmp.err
./usr/share/qrt5150/errmsg/snmp.msg
./usr/share/qrt5150/errmsg/snmpclass.err
./usr/share/qrt5150/errmsg/snmpusm.err
./usr/share/qrt5150/errmsg/snmpv3.err
./usr/share/qrt5150/errmsg/vrsnmp.err
LIST
sort >"$work/apsim.expected" <<'LIST'
./usr/bin/qrt5150-apsim
./usr/share/doc/qrt5150-apsim/changelog.Debian.gz
./usr/share/doc/qrt5150-apsim/copyright
./usr/share/lintian/overrides/qrt5150-apsim
./usr/share/man/man1/qrt5150-apsim.1.gz
LIST
files "$module" >"$work/module.files"
files "$apsim" >"$work/apsim.files"
check "qrt5150 holds the module, its data and nothing else" diff "$work/module.expected" "$work/module.files"
check "qrt5150-apsim holds the simulator, its man page and its Debian documents only" diff "$work/apsim.expected" "$work/apsim.files"
check "the programs are executable, owned by root" sh -c "
    dpkg-deb -c '$module' | grep -q '^-rwxr-xr-x root/root .* ./usr/bin/qrt5150\$' &&
    dpkg-deb -c '$apsim' | grep -q '^-rwxr-xr-x root/root .* ./usr/bin/qrt5150-apsim\$'"

# --- Control data: names, dependencies from dpkg-shlibdeps, maintainer script.
depends_has() { dpkg-deb -f "$1" Depends | tr ',' '\n' | sed 's/^ *//' | grep -q "^$2"; }
check "package names" sh -c "[ \"\$(dpkg-deb -f '$module' Package)\" = qrt5150 ] &&
    [ \"\$(dpkg-deb -f '$apsim' Package)\" = qrt5150-apsim ]"
for dep in libqt6core6 libqt6widgets6 libqt6network6 libsnmp libcap2-bin libc6; do
    check "qrt5150 depends on $dep" depends_has "$module" "$dep"
done
check "qrt5150-apsim depends on libsnmp" depends_has "$apsim" libsnmp
check "qrt5150-apsim needs neither Qt nor setcap" sh -c "! dpkg-deb -f '$apsim' Depends | grep -q -e libqt6 -e libcap2-bin"
dpkg-deb -e "$module" "$work/control"
check "postinst sets the capability on /usr/bin/qrt5150" \
    grep -q 'setcap cap_net_bind_service=+ep "\$program"' "$work/control/postinst"
check "the registry file is a conffile" grep -qx /etc/qrt5150/registry.ini "$work/control/conffiles"
check "qrt5150-apsim has no maintainer scripts" sh -c "! dpkg-deb -I '$apsim' | grep -q -e postinst -e prerm -e postrm"

# --- Debian's policy checker, when installed: no error, no warning.
if command -v lintian >/dev/null 2>&1; then
    for deb in "$module" "$apsim"; do
        check "lintian passes $(basename "$deb") without errors or warnings" \
            lintian --fail-on error,warning --tag-display-limit 0 "$deb"
    done
else
    echo "skip lintian (not installed; scripts/install-deps installs it)"
fi

# --- postinst with a stand-in setcap: it sets the right on configure only, and
# a file system without file capabilities (a container) is no failure.
mkdir -p "$work/bin"
cat >"$work/bin/setcap" <<'STUB'
#!/bin/sh
echo "$*" >>"$STUB_LOG"
[ "${STUB_FAIL:-0}" = 1 ] || exit 0
echo "Failed to set capabilities on file \`$2' (Operation not supported)" >&2
exit 1
STUB
chmod +x "$work/bin/setcap"
postinst() { # postinst STUB_FAIL ARG -> status in $status, stderr in $work/postinst.err
    : >"$work/setcap.log"
    PATH="$work/bin:$PATH" STUB_LOG="$work/setcap.log" STUB_FAIL=$1 \
        sh "$work/control/postinst" "$2" >"$work/postinst.out" 2>"$work/postinst.err"
    status=$?
}
postinst 0 configure
check "postinst configure runs setcap on the program" sh -c "[ $status = 0 ] &&
    [ \"\$(cat '$work/setcap.log')\" = 'cap_net_bind_service=+ep /usr/bin/qrt5150' ] && [ ! -s '$work/postinst.err' ]"
postinst 1 configure
check "postinst tolerates a failing setcap and says why" sh -c "[ $status = 0 ] &&
    grep -q 'could not give /usr/bin/qrt5150 the right to bind UDP port 69' '$work/postinst.err' &&
    grep -q 'Operation not supported' '$work/postinst.err'"
postinst 0 abort-upgrade
check "postinst leaves the capability alone outside configure" sh -c "[ $status = 0 ] && [ ! -s '$work/setcap.log' ]"

# --- The unpacked programs run.
dpkg -x "$module" "$work/root"
dpkg -x "$apsim" "$work/root"
root=$(cd "$work/root" && pwd -P)
"$root/usr/bin/qrt5150" --help >"$work/help.txt" 2>&1
status=$?
check "unpacked qrt5150 --help" sh -c "[ $status = 0 ] && head -1 '$work/help.txt' | grep -q '^Usage: qrt5150 /I<address>'"
switches=$(sed -n 's|^  /\(.\).*|\1|p' "$work/help.txt" | tr -d '\n')
check "--help lists the fourteen switches" test "$switches" = "IRWvtcdmlnAPap"
zcat "$root/usr/share/man/man1/qrt5150.1.gz" >"$work/qrt5150.1"
missing=""
for s in $(echo "$switches" | sed 's/./& /g'); do
    grep -q "^\.BI /$s " "$work/qrt5150.1" || missing="$missing /$s"
done
check "the man page describes every switch of --help" test -z "$missing"
[ -n "$missing" ] && echo "    not in the man page:$missing"

"$root/usr/bin/qrt5150-apsim" --help >"$work/apsim-help.txt" 2>&1
status=$?
check "unpacked qrt5150-apsim --help" sh -c "[ $status = 0 ] && head -1 '$work/apsim-help.txt' | grep -q '^Usage: qrt5150-apsim'"
zcat "$root/usr/share/man/man1/qrt5150-apsim.1.gz" >"$work/qrt5150-apsim.1"
missing=""
for option in $(grep -o -e '--[a-z][a-z-]*' "$work/apsim-help.txt" | sort -u); do
    grep -qF -- "$(echo "$option" | sed 's/-/\\-/g')" "$work/qrt5150-apsim.1" || missing="$missing $option"
done
check "the simulator's man page describes every option of --help" test -z "$missing"
[ -n "$missing" ] && echo "    not in the man page:$missing"
"$root/usr/bin/qrt5150-cli" --help >"$work/cli-help.txt" 2>&1
status=$?
check "unpacked qrt5150-cli --help runs without a display" sh -c "[ $status = 0 ] && head -1 '$work/cli-help.txt' | grep -q '^Usage: qrt5150-cli'"
zcat "$root/usr/share/man/man1/qrt5150-cli.1.gz" >"$work/qrt5150-cli.1"
missing=""
for option in $(grep -o -e '--[a-z][a-z-]*' "$work/cli-help.txt" | sort -u); do
    grep -qF -- "$(echo "$option" | sed 's/-/\\-/g')" "$work/qrt5150-cli.1" || missing="$missing $option"
done
check "the command-line tool's man page describes every option of --help" test -z "$missing"
[ -n "$missing" ] && echo "    not in the man page:$missing"
check "bash completes the tool's commands" bash -c "
    . '$root/usr/share/bash-completion/completions/qrt5150-cli' 2>/dev/null; complete -p qrt5150-cli | grep -q _qrt5150_cli"
if command -v groff >/dev/null 2>&1; then
    check "the man pages format without warnings" sh -c "
        out=\$(groff -man -Tutf8 -ww -z '$work/qrt5150.1' '$work/qrt5150-cli.1' '$work/qrt5150-apsim.1' 2>&1); echo \"\$out\"; [ -z \"\$out\" ]"
fi

# The message files hold one line per entry of each family.
counts="snmp.err=19 snmpv3.err=17 snmpusm.err=14 snmpclass.err=23 vrsnmp.err=29 snmp.msg=2 common.err=19"
wrong=""
for c in $counts; do
    f=${c%=*} n=${c#*=}
    [ "$(grep -c '[^[:space:]]' "$root/usr/share/qrt5150/errmsg/$f")" = "$n" ] || wrong="$wrong $f"
done
check "each message file has one line per entry" test -z "$wrong"
[ -n "$wrong" ] && echo "    wrong count:$wrong"
check "the message files hold the built-in texts" sh -c "
    grep -qx '(SNMPClass) SNMP request timed out!' '$root/usr/share/qrt5150/errmsg/snmpclass.err' &&
    grep -qx '(SNMPv3USM) Address error!' '$root/usr/share/qrt5150/errmsg/snmpusm.err'"

# The unpacked module starts (offscreen, until its window is up) with the
# packaged registry file and takes its message files from its own share folder.
mkdir -p "$work/run" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
(cd "$work/run" && HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
    QRT5150_REGISTRY="$root/etc/qrt5150/registry.ini" QRT5150_EXIT_AFTER_SHOWN=1 \
    QT_LOGGING_RULES='qrt.app.main.debug=true' timeout 60 "$root/usr/bin/qrt5150" /I127.0.0.1 \
    >"$work/start.log" 2>&1)
status=$?
check "unpacked qrt5150 starts and ends once its window is up" test "$status" = 0
check "unpacked qrt5150 reads its message files from usr/share/qrt5150/errmsg" \
    grep -qF "own message files from \"$root/usr/share/qrt5150/errmsg/\"" "$work/start.log"
[ "$failures" = 0 ] || sed 's/^/    start: /' "$work/start.log"

# --- A real installation into a scratch root with its own package database:
# dpkg unpacks the package, registers it and its conffile and runs the postinst
# (without chroot, DPKG_ROOT set); then a reinstall and a purge. The machine's
# own packages and files are not touched. Needs root.
if [ "$(id -u)" = 0 ]; then
    sroot="$work/sroot"
    admin="$sroot/var/lib/dpkg"
    mkdir -p "$admin/info" "$admin/updates"
    : >"$admin/available"
    # The dependencies as this machine has them, so that dpkg finds them there.
    for dep in $(dpkg-deb -f "$module" Depends | tr ',' '\n' | sed 's/^ *//; s/[ |].*//'); do
        if dpkg-query -s "$dep" >>"$admin/status" 2>/dev/null; then
            echo >>"$admin/status"
            : >"$admin/info/$dep.list"
        fi
    done
    dpkg_root() { PATH="$PATH:/usr/sbin:/sbin" dpkg --root="$sroot" --admindir="$admin" --force-script-chrootless "$@"; }
    capability() { # set, or the postinst said why not
        getcap "$sroot/usr/bin/qrt5150" | grep -q 'cap_net_bind_service[=+]ep' ||
            grep -q "could not give $sroot/usr/bin/qrt5150 the right" "$1"
    }
    dpkg_root -i "$module" >"$work/install.log" 2>&1
    status=$?
    check "dpkg installs qrt5150 into a scratch root" sh -c "[ $status = 0 ] &&
        [ \"\$(dpkg-query --admindir='$admin' -W -f='\${Status}' qrt5150)\" = 'install ok installed' ]"
    [ "$status" = 0 ] || sed 's/^/    /' "$work/install.log"
    check "the installed registry file is a registered conffile" sh -c "
        dpkg-query --admindir='$admin' -W -f='\${Conffiles}' qrt5150 | grep -q '^ /etc/qrt5150/registry.ini '"
    check "the installed program has the right to bind port 69 (or the postinst said why not)" capability "$work/install.log"
    if ! getcap "$sroot/usr/bin/qrt5150" | grep -q cap_net_bind_service; then
        echo "    note: this file system keeps no file capabilities:"
        sed 's/^/    /' "$work/install.log"
    fi
    check "the installed qrt5150 --help runs" sh -c "'$sroot/usr/bin/qrt5150' --help | grep -q '^Usage: qrt5150 '"

    echo '; edited by the administrator' >>"$sroot/etc/qrt5150/registry.ini"
    setcap -r "$sroot/usr/bin/qrt5150" 2>/dev/null # so only the postinst can have set it afterwards
    dpkg_root -i "$module" >"$work/reinstall.log" 2>&1
    status=$?
    check "a reinstall keeps the registry file as the administrator edited it" sh -c "[ $status = 0 ] &&
        grep -q 'edited by the administrator' '$sroot/etc/qrt5150/registry.ini'"
    check "a reinstall sets the right again on the new file" capability "$work/reinstall.log"

    dpkg_root --purge qrt5150 >"$work/purge.log" 2>&1
    status=$?
    find "$sroot" -path "$admin" -prune -o ! -type d -print >"$work/left"
    check "a purge leaves no file behind" sh -c "[ $status = 0 ] && [ ! -s '$work/left' ] && [ ! -e '$sroot/etc/qrt5150' ]"
    [ -s "$work/left" ] && sed 's/^/    left: /' "$work/left"
else
    echo "skip installation into a scratch root (dpkg --root needs root)"
fi

# Desktop entry and icon: names that match the installed program and icon.
desktop="$root/usr/share/applications/qrt5150.desktop"
check "the desktop entry starts qrt5150 with its icon" sh -c "
    grep -qx 'Exec=qrt5150' '$desktop' && grep -qx 'Icon=qrt5150' '$desktop' && grep -qx 'Type=Application' '$desktop'"
if command -v desktop-file-validate >/dev/null 2>&1; then
    check "the desktop entry validates" desktop-file-validate "$desktop"
fi
if command -v xmllint >/dev/null 2>&1; then
    check "the icon is well-formed SVG" xmllint --noout "$root/usr/share/icons/hicolor/scalable/apps/qrt5150.svg"
fi

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
