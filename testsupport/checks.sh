# Sourced by the shell tests: the expectation they all count failures with,
# the tools check, and the private directories the calculator runs in.

failures=0
testsupport=$(dirname "$(realpath "${BASH_SOURCE[0]}")")

# One expectation: prints "ok: WHAT" or says what was expected and counts a
# failure, so a script reports every fault of a run, not only the first.
check() {
    local what=$1 expected=$2 actual=$3
    if [ "$expected" = "$actual" ]; then
        echo "ok: $what"
    else
        echo "FAILED: $what: expected '$expected', got '$actual'" >&2
        failures=$((failures + 1))
    fi
}

# Ends the script at once when a tool it drives is missing.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh installs it)" >&2; exit 1; }
    done
}

# Settings and runtime directories below WORK, so the calculator under test
# never meets the user's settings or joins a calculator already running.
private_session() {
    export XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/runtime" QT_QPA_PLATFORM=xcb LC_ALL=C
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    ini="$XDG_CONFIG_HOME/Local AppWizard-Generated Applications/RPN.ini"
}

# Runs the calling script again, once, inside an X server of its own with a
# screen of the given size (WIDTHxHEIGHTxDEPTH); the arguments go with it.
rerun_under_xvfb() {
    local screen=$1
    shift
    if [ -z "${RPN_E2E_INSIDE_X:-}" ]; then
        export RPN_E2E_INSIDE_X=1
        exec "$testsupport/with_xvfb.sh" -s "$screen" "$0" "$@"
    fi
}

# Waits up to ten seconds for the program $pid to end and sets exit_status to
# its status, or to "killed" when it had to be killed. Runs in the calling
# shell, since only that shell can wait for the program.
wait_for_exit() {
    exit_status=0
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        exit_status=killed
    fi
    wait "$pid" || exit_status=$?
}
