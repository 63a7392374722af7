#!/usr/bin/env bash
# The one entry point for people and CI:
#   ./build.sh run [FOLDER]   install what is missing, build, open Files (on FOLDER)
#   ./build.sh test           install what is missing, build, run the whole test suite
#   ./build.sh build          install what is missing and build
#   ./build.sh shot NAME OUT.png [WxH]   render a screenshot scenario without a display
# PRESET=debug|release|asan chooses the build (default: release). A second run only
# rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")"

preset="${PRESET:-release}"
cmd="${1:-run}"
[ $# -gt 0 ] && shift

./scripts/install-deps

build_dir="build/${preset}"
if [ ! -f "${build_dir}/build.ninja" ]; then
  cmake --preset "${preset}"
fi
cmake --build --preset "${preset}"

case "$cmd" in
  build) ;;
  run)
    exec "${build_dir}/apps/file-explorer/file-explorer" "$@"
    ;;
  test)
    # Headless by default: Qt renders offscreen; the end-to-end tests start their own Xvfb.
    export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
    if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "${XDG_RUNTIME_DIR}" ]; then
      XDG_RUNTIME_DIR="$(mktemp -d /tmp/files-runtime.XXXXXX)"
      chmod 700 "${XDG_RUNTIME_DIR}"
      export XDG_RUNTIME_DIR
    fi
    ctest --preset "${preset}" "$@"
    ;;
  shot)
    name="$1"; out="$2"; size="${3:-1280x800}"
    QT_QPA_PLATFORM=offscreen exec "${build_dir}/apps/file-explorer/file-explorer" \
      --screenshot "$name" --size "$size" --out "$out"
    ;;
  *)
    echo "usage: ./build.sh run [FOLDER] | test [ctest args] | build | shot NAME OUT [WxH]" >&2
    exit 2
    ;;
esac
