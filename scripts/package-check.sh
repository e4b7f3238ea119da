#!/usr/bin/env bash
# The install test of a built package (scripts/package --check): installs it with apt-get,
# exercises the installed programs as a user of the package would, confirms that the program keeps
# its settings in the user's configuration folder and writes nothing beside its executable, then
# removes the package and confirms that nothing of it is left outside the user's folders.
# Runs the programs as the calling user, root included. Usage: scripts/package-check.sh DEB
set -euo pipefail
deb=$(realpath "$1")
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
apt_get=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq
         -o DPkg::Lock::Timeout=600)

fail() { echo "package check: $*" >&2; exit 1; }
installed() { dpkg-query -W -f='${Status}' clipwright 2>/dev/null | grep -q "install ok installed"; }
# Every file of the system that bears the package's names, outside the user's folders.
traces() {
  find /usr /etc /opt /var/lib \( -path /var/lib/dpkg -o -path /var/lib/apt \) -prune -o \
       \( -iname '*clipwright*' -o -name 'tarn-sim*' -o -name 'cw20*' \) -print 2>/dev/null | sort
}

installed && fail "clipwright is installed already; remove it first (apt-get remove clipwright)"
work=$(mktemp -d)
sim_pid=""
program_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill -TERM "$sim_pid" 2>/dev/null || true
  [ -n "$program_pid" ] && kill -KILL "$program_pid" 2>/dev/null || true
  installed && "${apt_get[@]}" remove clipwright >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
# The user's folders of this check: nothing outside them may keep anything of the package.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
traces >"$work/traces-before"

"${apt_get[@]}" install "$deb" >/dev/null
installed || fail "apt-get did not install $deb"
for program in clipwright clipwright-cli tarn-sim; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not in /usr/bin"
  "$program" --version | grep -q "^$program [0-9]" || fail "$program --version"
done
[ -x /usr/bin/clipwright-guard ] || fail "clipwright-guard is not in /usr/bin"
[ "$(dpkg -L clipwright | grep -c '/man1/.*\.1\.gz$')" = 4 ] || fail "a man page is missing"
echo "package check: installed; the three programs answer --version; they and the tape guard have man pages"

share=/usr/share/clipwright
clipwright-cli project show "$share/demo/demo.cwf" >"$work/demo.txt"
grep -q "^Total" "$work/demo.txt" || fail "project show printed no total for the demo list"
echo "package check: clipwright-cli project show: $(wc -l <"$work/demo.txt") lines"

coproc SIM { exec tarn-sim --bench "$share/benches/demo.json" --no-pacing; }
sim_pid=$SIM_PID
read -r -t 20 first <&"${SIM[0]}" || fail "tarn-sim did not announce its terminal"
clipwright-cli scan --port "${first#pty=}" >"$work/scan.txt" 2>/dev/null
kill -TERM "$sim_pid"
wait "$sim_pid" || fail "tarn-sim did not end cleanly"
sim_pid=""
[ "$(awk '{print $1 + 0}' "$work/scan.txt" | tr '\n' ' ')" = "1 2 " ] || fail "scan found: $(cat "$work/scan.txt")"
echo "package check: tarn-sim on the demo bench, scanned by clipwright-cli: ids 1 and 2"

# The bash completion, where bash-completion loads it at the first Tab after each program's name.
completions=/usr/share/bash-completion/completions
for program in clipwright-cli tarn-sim; do
  [ -f "$completions/$program" ] || fail "no bash completion for $program"
done
offered=$(bash --norc -c "source $completions/clipwright-cli
  COMP_WORDS=(clipwright-cli autorec --yes --veri); COMP_CWORD=3; _clipwright_cli; echo \"\${COMPREPLY[*]}\"")
[ "$offered" = "--verify" ] || fail "clipwright-cli autorec --veri completed to: $offered"
echo "package check: bash completion of clipwright-cli and tarn-sim"

# The program itself, offscreen, until it holds its lock in the user's configuration folder.
folder="$XDG_CONFIG_HOME/clipwright"
touch "$work/started"
QT_QPA_PLATFORM=offscreen clipwright "$share/demo/demo.cwf" >"$work/program.log" 2>&1 &
program_pid=$!
for _ in $(seq 100); do
  [ -e "$folder/cw20.key" ] && break
  sleep 0.1
done
sleep 2  # let the first show read and write what it does
kill -0 "$program_pid" 2>/dev/null || fail "clipwright ended early: $(cat "$work/program.log")"
kill -KILL "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""
[ -e "$folder/cw20.key" ] || fail "clipwright made no program folder in $folder"
echo "package check: clipwright ran as $(id -un) with its program folder in $folder:" \
     "$(ls "$folder" | tr '\n' ' ')"
dpkg -L clipwright | sort >"$work/files"
{ find /usr/share/clipwright | sort | comm -23 - "$work/files"
  find /usr/bin -maxdepth 1 -newer "$work/started" \( -name 'cw20*' -o -iname 'debug*' \); } \
  >"$work/extra"
[ ! -s "$work/extra" ] || fail "files written beside the program: $(cat "$work/extra")"

"${apt_get[@]}" remove clipwright >/dev/null
installed && fail "apt-get did not remove clipwright"
traces >"$work/traces-after"
diff "$work/traces-before" "$work/traces-after" >"$work/left" ||
  fail "left behind after removal: $(cat "$work/left")"
echo "package check: removed; nothing of it left outside the user's folders"
