#!/bin/bash
# Installs the build into a scratch prefix and checks it as a desktop would use
# it: the desktop entry and MIME types are valid and agree, the entry's command
# opens a .kpf handed to it, an ordinary user's settings go to
# $XDG_CONFIG_HOME/kolt, and without a display kolt says so in one line.
# Usage: install_check.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d /tmp/kolt-install-XXXXXX)
chmod 755 "$scratch"
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$scratch/p
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/kolt bin/kolt-cli share/applications/kolt.desktop share/mime/packages/kolt.xml \
         share/icons/hicolor/128x128/apps/kolt.png; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done

entry=$prefix/share/applications/kolt.desktop
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate says: $report"
# The prefix's bin is not on PATH, so the entry names the program in full.
grep -qx "Exec=$prefix/bin/kolt %f" "$entry" || fail "Exec line: $(grep '^Exec=' "$entry")"
grep -qx "TryExec=$prefix/bin/kolt" "$entry" || fail "TryExec line: $(grep '^TryExec=' "$entry")"

update-mime-database "$prefix/share/mime"
grep -qx '50:application/x-kolt-parameters:\*\.kpf' "$prefix/share/mime/globs2" || fail "no *.kpf glob"
grep -qx '50:application/x-kolt-compare:\*\.kcf' "$prefix/share/mime/globs2" || fail "no *.kcf glob"
for type in $(sed -n 's/^MimeType=//p' "$entry" | tr ';' ' '); do
  grep -q "type=\"$type\"" "$prefix/share/mime/packages/kolt.xml" || fail "$type is not defined"
done

# Without a display: one plain line naming kolt-cli, exit status 1.
set +e
line=$(env -i PATH=/usr/bin:/bin HOME="$scratch" "$prefix/bin/kolt" 2>&1)
status=$?
set -e
[ "$status" = 1 ] || fail "kolt without a display ended with $status"
[ "$line" = "kolt needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set); kolt-cli works without one: kolt-cli --help" ] \
  || fail "kolt without a display said: $line"

# A .kpf opened from a file manager: the entry's command with %f replaced,
# run by an ordinary user (root may write anywhere, so run as nobody then).
home=$scratch/home
mkdir -p "$home"
sample=$home/pump.kpf
"$prefix/bin/kolt-cli" new --model D200-0.75 -o "$sample" >/dev/null
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown -R 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
exec_line=$(sed -n 's/^Exec=//p' "$entry")
read -r -a command <<<"${exec_line//%f/$sample}"
env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=offscreen \
  "${as_user[@]}" "${command[@]}" >"$scratch/kolt.log" 2>&1 &
pid=$!
# The opened file enters the recent-file list at once; wait for it there.
recent=$home/.config/ZEMI/KOLT.conf
for _ in $(seq 1 300); do
  grep -qF "$sample" "$recent" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || fail "kolt ended early: $(cat "$scratch/kolt.log")"
  sleep 0.1
done
grep -qF "$sample" "$recent" 2>/dev/null || fail "kolt did not open $sample: $(cat "$scratch/kolt.log")"
if [ "${#as_user[@]}" -gt 0 ]; then
  [ -d "$home/.config/kolt" ] || fail "no per-user settings folder $home/.config/kolt"
fi
echo "install check passed"
