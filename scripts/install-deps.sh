#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kolmar need, when they are missing.
# Idempotent: a machine that has everything is left alone and no package index is fetched.
# Runs as root, or through sudo when it is available.
set -euo pipefail

packages=(
    cmake make g++ ninja-build pkg-config   # build
    python3                                 # the lint test (scripts/lint.py)
    python3-jsonschema                      # results files checked against their schema
    libgtest-dev libgmock-dev               # unit tests
    libbenchmark-dev                        # benchmarks under bench/
    qt6-base-dev qt6-base-dev-tools         # desktop program (Widgets, PrintSupport)
    libqt6opengl6-dev libgl-dev libglu1-mesa-dev  # 3D view (QOpenGLWidget, legacy GL)
    qt6-svg-dev                             # pictures saved as SVG
    libxlsxwriter-dev                       # spreadsheet export
    xvfb xauth                              # GUI tests that need an X server (OpenGL)
    poppler-utils                           # pdftoppm, pdftotext: picture tests read the PDFs written
    tidy                                    # the calculation package's HTML checked for errors
    fonts-dejavu-core                       # a known font for rendered pictures
    zlib1g-dev                              # workbook package (zip) read and write
    pybind11-dev python3-pybind11           # the Python package kolmar (python/)
    python3-numpy                           # its result tables as numpy arrays
    python3-pytest                          # its tests
    python3-matplotlib python3-distributed  # the studies in examples/python (figures, Dask)
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix  # make windows: the cross build
    wine64 wine                             # the Windows build's tests, run under Wine
    dpkg-dev                                # make package: dpkg-shlibdeps computes the Depends
    lintian desktop-file-utils man-db       # the package test: lintian, the desktop entry, man pages
)

# Extra sets, asked for by name: `install-deps.sh fuzz` adds clang and its libFuzzer runtime.
for extra in "$@"; do
    case "$extra" in
    fuzz) packages+=(clang libclang-rt-dev) ;;
    *) echo "install-deps: unknown package set '$extra'" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "install-deps: missing packages (${missing[*]}) and neither root nor sudo" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
