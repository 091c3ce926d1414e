#!/usr/bin/env bash
# Sets up this machine for the project and runs one of its jobs:
#   ./tq.sh demo   build the demo host and open it on the embedded SQLite practice (the
#                  main job); further arguments go to the demo (./tq.sh demo --help)
#   ./tq.sh test   the whole test suite on SQLite and PostgreSQL, then again under
#                  AddressSanitizer and UndefinedBehaviorSanitizer
#   ./tq.sh build  only set up and build
# Safe to run again: it installs only what is missing and builds incrementally.
set -euo pipefail
cd "$(dirname "$0")"
job="${1:-demo}"
shift || true

BUILD_DIR="${TQ_BUILD_DIR:-build}"
ASAN_DIR="${TQ_ASAN_BUILD_DIR:-build-asan}"
JOBS="${TQ_JOBS:-$(nproc)}"
PACKAGES=(build-essential cmake ninja-build clang-format qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
          libqt6sql6-psql libgl-dev postgresql postgresql-contrib xvfb xauth libsqlite3-dev libpq-dev liblzma-dev
          poppler-utils)

say() { printf '[tq] %s\n' "$*"; }

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

pg_answers() { pg_isready -q -h 127.0.0.1 -p 5432 >/dev/null 2>&1; }

start_postgres() {
    if ! pg_answers; then
        say "starting a local PostgreSQL cluster on 127.0.0.1:5432"
        local version
        version=$(ls /usr/lib/postgresql | sort -n | tail -1)
        if ! pg_lsclusters -h 2>/dev/null | awk '{print $1" "$2}' | grep -q "^$version main$"; then
            pg_createcluster "$version" main >/dev/null
        fi
        pg_ctlcluster "$version" main start || true
        for _ in $(seq 1 30); do pg_answers && break; sleep 1; done
        pg_answers || { say "PostgreSQL did not start"; return 1; }
    fi
    # The role the tests use: may create (and drop) its throwaway databases.
    su postgres -c "psql -q -v ON_ERROR_STOP=1 -d postgres" >/dev/null <<'SQL'
DO $$ BEGIN
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'tqtest') THEN
    CREATE ROLE tqtest LOGIN PASSWORD 'tqtest' CREATEDB;
  END IF;
END $$;
SQL
}

configure() {
    local dir="$1"; shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
    fi
}

configure_and_build() {
    configure "$@"
    cmake --build "$1" -j "$JOBS"
}

case "$job" in
    build)
        install_packages
        configure_and_build "$BUILD_DIR"
        ;;
    demo)
        install_packages
        # Only the demo and the libraries it links: the tests and benchmarks wait for 'test'.
        configure "$BUILD_DIR"
        cmake --build "$BUILD_DIR" -j "$JOBS" --target tqdemo
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
            say "No display: run it under Xvfb with 'xvfb-run -a ./tq.sh demo', or offscreen with 'QT_QPA_PLATFORM=offscreen ./tq.sh demo'."
            exit 1
        fi
        exec "$BUILD_DIR/src/tqhost/tqdemo" "$@"
        ;;
    test)
        install_packages
        say "formatting (clang-format)"
        git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
        start_postgres
        configure_and_build "$BUILD_DIR"
        say "tests (SQLite and PostgreSQL)"
        ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS" "$@"
        say "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
        configure_and_build "$ASAN_DIR" -DTQ_SANITIZE=ON -DTQ_BUILD_BENCH=OFF
        ASAN_OPTIONS=detect_leaks=0 ctest --test-dir "$ASAN_DIR" --output-on-failure -j "$JOBS" "$@"
        ;;
    *)
        echo "usage: ./tq.sh demo|test|build" >&2
        exit 2
        ;;
esac
