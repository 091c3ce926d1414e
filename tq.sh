#!/usr/bin/env bash
# Sets up this machine for the project and runs one of its jobs:
#   ./tq.sh demo   build the demo host and open it on the embedded SQLite practice (the
#                  main job); further arguments go to the demo (./tq.sh demo --help)
#   ./tq.sh test   the whole test suite on SQLite and PostgreSQL, then again under
#                  AddressSanitizer and UndefinedBehaviorSanitizer
#   ./tq.sh build  only set up and build
#   ./tq.sh package  build the Debian package, unpack it into a scratch folder and build and
#                  run a host vendor's project against it (also part of 'test')
# Safe to run again: it installs only what is missing and builds incrementally.
set -euo pipefail
cd "$(dirname "$0")"
job="${1:-demo}"
shift || true
CTEST_ARGS=("$@")

BUILD_DIR="${TQ_BUILD_DIR:-build}"
ASAN_DIR="${TQ_ASAN_BUILD_DIR:-build-asan}"
JOBS="${TQ_JOBS:-$(nproc)}"
PACKAGES=(build-essential cmake ninja-build clang-format qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
          libqt6sql6-psql libgl-dev postgresql postgresql-contrib xvfb xauth libsqlite3-dev libpq-dev
          liblzma-dev poppler-utils file ccache)

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
        # A cluster this script starts serves the tests' throwaway databases only: it runs
        # without waiting for the disk, which makes creating and dropping a database per test
        # case several times cheaper. A server that already answers is left as it is.
        pg_ctlcluster "$version" main start -- \
            -o "-c fsync=off -c synchronous_commit=off -c full_page_writes=off" || true
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

# Compiles go through ccache, with paths taken relative to this checkout, so that a second
# build tree or a fresh clone of the same sources compiles only what differs.
export CCACHE_BASEDIR="$PWD"

configure() {
    local dir="$1"; shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
            "$@" >/dev/null
    fi
}

configure_and_build() {
    configure "$@"
    cmake --build "$1" -j "$JOBS"
}

# The Debian package, checked without installing it on this machine: apt accepts it, it unpacks
# into a scratch root holding the public headers only, the demo runs from there, and the
# outside project in tests/package builds against it, each installed header on its own.
package_check() {
    local dir="${TQ_DEB_BUILD_DIR:-build-deb}"
    configure "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTQ_BUILD_TESTS=OFF \
        -DTQ_BUILD_BENCH=OFF
    rm -f "$dir"/tqservicecode_*.deb
    cmake --build "$dir" -j "$JOBS" --target package >/dev/null
    local deb scratch
    deb=$(realpath "$dir"/tqservicecode_*.deb)
    scratch=$(mktemp -d)
    trap "rm -rf '$scratch'" EXIT
    say "package $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
    apt-get install -s -qq "$deb" >/dev/null
    dpkg -x "$deb" "$scratch/root"
    [ -n "$(find "$scratch/root/usr/include" -path '*/forms/HelpFile.h')" ] &&
        { say "a private header was installed"; return 1; }
    QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/tqdemo" --screenshot "$scratch/demo.png" \
        >/dev/null
    [ -s "$scratch/demo.png" ] || { say "the installed demo showed nothing"; return 1; }
    cmake -S tests/package -B "$scratch/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$scratch/root/usr" -DCHECK_INSTALLED_HEADERS=ON >/dev/null
    cmake --build "$scratch/consumer" -j "$JOBS" >/dev/null
    QT_QPA_PLATFORM=offscreen "$scratch/consumer/consumer"
}

check_format() { git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror; }

ctest_run() { ctest --test-dir "$1" --output-on-failure -j "$JOBS" "${CTEST_ARGS[@]}"; }

# Runs one stage of a job, announcing it and keeping how long it took for the closing line.
STAGE_TIMES=""
RUN_START=$SECONDS
stage() {
    local fn="$1" title="$2" start=$SECONDS
    shift 2
    say "$title"
    "$fn" "$@"
    say "$title: $((SECONDS - start)) s"
    STAGE_TIMES="$STAGE_TIMES $title $((SECONDS - start)) s;"
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
        cmake --build "$BUILD_DIR" -j "$JOBS" --target tqdemo tqrefcodes
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
            say "No display: run it under Xvfb with 'xvfb-run -a ./tq.sh demo', or offscreen with 'QT_QPA_PLATFORM=offscreen ./tq.sh demo'."
            exit 1
        fi
        # The demo's own practice gets its reference code sets on the first run.
        if [ $# -eq 0 ]; then "$BUILD_DIR/src/tqhost/tqrefcodes" --demo --if-missing; fi
        exec "$BUILD_DIR/src/tqhost/tqdemo" "$@"
        ;;
    test)
        stage install_packages "packages"
        stage check_format "formatting (clang-format)"
        stage start_postgres "PostgreSQL"
        stage configure_and_build "build" "$BUILD_DIR"
        stage ctest_run "tests (SQLite and PostgreSQL)" "$BUILD_DIR"
        stage configure_and_build "sanitizer build" "$ASAN_DIR" -DTQ_SANITIZE=ON -DTQ_BUILD_BENCH=OFF
        ASAN_OPTIONS=detect_leaks=0 stage ctest_run \
            "tests under AddressSanitizer and UndefinedBehaviorSanitizer" "$ASAN_DIR"
        stage package_check "the Debian package, installed into a scratch root"
        say "times:${STAGE_TIMES%;}; whole run $((SECONDS - RUN_START)) s"
        ;;
    package)
        install_packages
        package_check
        ;;
    *)
        echo "usage: ./tq.sh demo|test|build|package" >&2
        exit 2
        ;;
esac
