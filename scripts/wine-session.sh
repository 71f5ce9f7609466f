#!/usr/bin/env bash
# Starts or stops the Wine session of a build folder: Xvfb when no display is given, a throwaway
# prefix under the build folder (never ~/.wine) with a virtual desktop, and a persistent wineserver.
# Usage: wine-session.sh start|reset|stop BUILD_DIR
set -euo pipefail
action=$1
build=$(cd "$2" && pwd)
env_file=$build/wine.env
export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
# Wine takes its locale and the encoding of Unix file names from the caller's locale: the same
# UTF-8 one for every run, whatever the caller's (none at all, in many minimal images).
export LC_ALL=C.UTF-8
# No offer to install .NET or Gecko; and no menu builder, which after each shortcut that an
# installer makes writes menu entries into the host user's home and opens the installed files
# while a test deletes or starts them.
dll_overrides="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDLLOVERRIDES=$dll_overrides

stop() {
    if [ -f "$env_file" ]; then
        # shellcheck disable=SC1090
        . "$env_file"
        wineserver -k 2>/dev/null || true
        if [ -n "${WL_XVFB_PID:-}" ]; then kill "$WL_XVFB_PID" 2>/dev/null || true; fi
        rm -f "$env_file"
    fi
}

# A persistent wineserver with the desktop already running. The desktop is started here, detached
# from our output: a desktop started by the first test program would inherit its output pipe and
# keep ctest waiting for it.
start_server() {
    wineserver -p
    nohup wine explorer /desktop=Default,1024x768 >/dev/null 2>&1 &
    for _ in $(seq 100); do
        wine cmd /c exit >/dev/null 2>&1 && break
        sleep 0.1
    done
}

# Ends every process of the prefix and starts the server and desktop afresh: each test program
# then starts from a desktop without the windows, hooks and shared memory of the one before.
reset() {
    # shellcheck disable=SC1090
    . "$env_file"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    start_server
}

start() {
    stop
    export WINEDLLOVERRIDES=$dll_overrides
    local display=${DISPLAY:-} xvfb_pid=""
    # A display that is given but does not answer counts as none.
    if [ -n "$display" ] && ! xdpyinfo -display "$display" >/dev/null 2>&1; then
        display=""
    fi
    if [ -z "$display" ]; then
        for n in $(seq 90 130); do
            [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
            Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            xvfb_pid=$!
            display=:$n
            break
        done
        for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    export DISPLAY=$display
    # A prefix made before 32-bit Wine was installed cannot start 32-bit programs: make it anew.
    if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot --init >/dev/null 2>&1
        wineserver -w
        # One virtual desktop holds every window of the prefix, so focus and input behave as on Windows.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
        # A crashing test program ends at once instead of waiting in a debugger.
        wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
        wineserver -w
    fi
    start_server
    cat >"$env_file" <<ENV
export WINEPREFIX='$WINEPREFIX'
export DISPLAY='$display'
export WINEDEBUG=-all
export LC_ALL=C.UTF-8
export WINEDLLOVERRIDES='$dll_overrides'
WL_XVFB_PID='$xvfb_pid'
ENV
}

case $action in
start) start ;;
reset) reset ;;
stop) stop ;;
*) echo "usage: $0 start|reset|stop BUILD_DIR" >&2; exit 2 ;;
esac
