#!/usr/bin/env bash
# Makes the extraction benchmark's archives (deterministic, about 900 MB in all) and
# installs Debian's unzip and p7zip-full, which the benchmark runs beside UnzipArchive and
# ExtractArchive (the 7-Zip archives are made with its `7z a`).
#   bench/make-archives.sh [BUILD_DIR] [DATA_DIR]
# BUILD_DIR defaults to build, DATA_DIR to BUILD_DIR/bench-data. Then measure with
#   BUILD_DIR/bench/extract/bench-extract DATA_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
data=${2:-$build/bench-data}

missing=()
command -v unzip >/dev/null 2>&1 || missing+=(unzip)
command -v 7z >/dev/null 2>&1 || missing+=(p7zip-full)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j2 --target bench-extract
"$build/bench/extract/bench-extract" --make "$data"
