# Shared by the scripts: the project's root and package installation on a bare Debian machine.

QUESSAR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# What building and running Quessar needs.
QUESSAR_RUN_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
    libgl-dev libxkbcommon-dev
    fonts-liberation
    libboost-math-dev
)

# What the tests need on top.
QUESSAR_TEST_PACKAGES=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils x11-apps xdotool
    desktop-file-utils appstream
    groff-base
    locales
    python3
    librsvg2-bin
)

# Installs whichever of the given Debian packages are missing: one 'apt-get update', then one
# 'apt-get install'. Does nothing when everything is there.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || {
            echo "Faltam pacotes (${missing[*]}) e não há sudo para instalá-los." >&2
            return 1
        }
        sudo=(sudo)
    fi
    echo "Instalando: ${missing[*]}"
    if [ -z "${QUESSAR_APT_UPDATED:-}" ]; then
        "${sudo[@]}" apt-get update -q || return 1
        export QUESSAR_APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
}

# Generates a locale ("pt_BR.UTF-8") unless the system already has it. Needs the 'locales'
# package for the locale's sources.
ensure_locale() {
    local name=$1
    local listed=${name/.UTF-8/.utf8}
    locale -a 2>/dev/null | grep -qxF "$listed" && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Gerando a região $name"
    "${sudo[@]}" localedef -i "${name%%.*}" -c -f UTF-8 -A /usr/share/locale/locale.alias "$name"
}

# Number of parallel build jobs.
build_jobs() {
    nproc 2>/dev/null || echo 2
}
