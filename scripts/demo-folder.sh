# Sourced by scripts/run and scripts/bench: prepares a program folder and a device store for the
# demo bench served by tarn-sim, so that Clipwright starts connected to it.
#   prepare_demo_folder HOME CONFIG_HOME PTY
# HOME/cw20.ini: serial port 1 is the simulator's terminal ([Ports] COM1), 30 frames per second
# like the demo decks, Quick cue on unless the user has set it, and the controller opens with the
# main window, below it at the first run. CONFIG_HOME (the program's
# XDG_CONFIG_HOME)/Brenvik/Tarn.ini: port 1, the camcorder (id 1) as player, the VCR (id 2) as
# recorder, both known, no edit terminal. Every other value in the two files is kept.

# set_ini FILE SECTION KEY VALUE: sets one value (names matched without regard to case).
set_ini() {
    touch "$1"
    awk -v section="[$2]" -v key="$3" -v value="$4" '
        function put() { print key "=" value "\r"; done = 1 }
        { line = $0; sub(/\r$/, "", line) }
        inside && line ~ /^\[/ { if (!done) put(); inside = 0 }
        inside && tolower(line) ~ "^" tolower(key) "=" { next }
        tolower(line) == tolower(section) { inside = 1 }
        { print }
        END { if (!done) { if (!inside) print section "\r"; put() } }' "$1" >"$1.new"
    mv "$1.new" "$1"
}

# has_ini FILE SECTION KEY: true when the file holds the value.
has_ini() {
    [ -f "$1" ] && awk -v section="[$2]" -v key="$3" '
        { line = $0; sub(/\r$/, "", line) }
        line ~ /^\[/ { inside = tolower(line) == tolower(section) }
        inside && tolower(line) ~ "^" tolower(key) "=" { found = 1 }
        END { exit !found }' "$1"
}

prepare_demo_folder() {
    local home=$1 config_home=$2 pty=$3 pair key
    mkdir -p "$home" "$config_home/Brenvik"
    set_ini "$home/cw20.ini" Ports COM1 "$pty"
    set_ini "$home/cw20.ini" Setup FrameMode 1
    set_ini "$home/cw20.ini" Setup VtrWindow 1
    # The demo cues the quick way; a user who unticks it in the options keeps it off.
    has_ini "$home/cw20.ini" Option QuickCue || set_ini "$home/cw20.ini" Option QuickCue 1
    # The first run places the controller below the list instead of over it; later runs keep
    # wherever the user moved the windows.
    if ! has_ini "$home/cw20.ini" frmEDS Top; then
        for pair in frmEDS:Top=30 frmEDS:Left=30 frmEDS:Width=820 frmEDS:Height=440 \
            frmAvCtl:Top=500 frmAvCtl:Left=120; do
            key=${pair#*:}
            set_ini "$home/cw20.ini" "${pair%%:*}" "${key%%=*}" "${key#*=}"
        done
    fi
    for pair in COM=1 CurID=1 RecID=2 DEVICES=2 ID0=1 ID1=2 fUseEdit=0; do
        set_ini "$config_home/Brenvik/Tarn.ini" INIT "${pair%%=*}" "${pair#*=}"
    done
}
