#!/usr/bin/env bash
# tools/setup run by an ordinary user with a package missing: it names the package and the command to
# run as root, fails with status 1, and never calls sudo or apt-get. dpkg-query, sudo and apt-get are
# stand-ins on the PATH; as root the script runs as the user nobody.
set -uo pipefail
setup=$(realpath "$(dirname "$0")/../../tools/setup")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
cat >"$work/dpkg-query" <<'STUB'
#!/bin/sh
# Every package is installed but xdotool and xvfb.
for last; do :; done
case "$last" in xdotool|xvfb) exit 1 ;; esac
printf 'install ok installed'
STUB
mkdir -m 777 "$work/calls"
for tool in sudo apt-get; do
  printf '#!/bin/sh\ntouch %s/calls/%s\nexit 0\n' "$work" "$tool" >"$work/$tool"
done
chmod 755 "$work"/dpkg-query "$work"/sudo "$work"/apt-get

as_user=()
[ "$(id -u)" -ne 0 ] || as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
output=$("${as_user[@]}" env PATH="$work:/usr/bin:/bin" bash "$setup" 2>&1)
status=$?

failed=0
expect() { grep -qF -- "$1" <<<"$output" || { echo "no '$1' in: $output" >&2; failed=1; }; }
[ "$status" -eq 1 ] || { echo "status $status, expected 1" >&2; failed=1; }
expect "Missing packages: xvfb xdotool"
expect "needs root"
expect "apt-get install --no-install-recommends xvfb xdotool"
for tool in sudo apt-get; do
  [ ! -e "$work/calls/$tool" ] || { echo "$tool was called" >&2; failed=1; }
done
exit $failed
