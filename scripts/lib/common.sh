# shellcheck shell=bash
# Shared by the scripts: where things are, and installing what is missing.
set -euo pipefail

REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export REPO_ROOT
export WINEDEBUG=-all
JOBS="${VANTOR_JOBS:-2}"

# Debian packages the build and the tests need, by name.
VANTOR_PACKAGES=(
  cmake ninja-build g++ libgtest-dev libbenchmark-dev clang clang-format libclang-rt-14-dev
  mingw-w64 g++-mingw-w64-x86-64-posix wine wine64
  python3 python3-pytest python3-pexpect python3-pyte fp-utils hyperfine zip unzip locales
  shellcheck python3-pyflakes python3-pytest-xdist
)

ensure_packages() {
  local missing=()
  for package in "${VANTOR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
  fi
}

# The glibc locale in which Wine runs a program in the double-byte code
# page 932 (the end-to-end tests of code pages need it).
ensure_locale() {
  local locale="ja_JP.UTF-8"
  locale -a 2>/dev/null | grep -qix "ja_JP.utf8" && return 0
  echo "Making the locale $locale"
  local sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo localedef -i ja_JP -f UTF-8 "$locale"
}

# PowerShell 7, in which the end-to-end tests run c.ps1: a .NET tool in the
# repository's own git-ignored folder. The version is fixed because the
# newest one (7.7.0) does not install.
PWSH_VERSION=7.6.10
PWSH_DIR="$REPO_ROOT/.tools/pwsh"
export VANTOR_PWSH="$PWSH_DIR/pwsh"

ensure_pwsh() {
  [[ -x "$VANTOR_PWSH" && -d "$PWSH_DIR/.store/powershell/$PWSH_VERSION" ]] && return 0
  command -v dotnet >/dev/null || {
    echo "ensure_pwsh: dotnet (the .NET SDK) is not installed, so PowerShell cannot be" >&2
    return 1
  }
  echo "Installing PowerShell $PWSH_VERSION into $PWSH_DIR"
  rm -rf "$PWSH_DIR"
  # No questions, no telemetry; without HOME, NuGet and the tool's first
  # run keep their files under .tools.
  local home="${HOME:-$REPO_ROOT/.tools/home}"
  HOME="$home" DOTNET_CLI_HOME="$home" DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_NOLOGO=1 \
    DOTNET_SKIP_FIRST_TIME_EXPERIENCE=1 \
    dotnet tool install PowerShell --version "$PWSH_VERSION" --tool-path "$PWSH_DIR" </dev/null
}

build_native() {
  cmake -S "$REPO_ROOT" -B "$REPO_ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$REPO_ROOT/build" -j "$JOBS"
}

build_windows() {
  cmake -S "$REPO_ROOT" -B "$REPO_ROOT/build-win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$REPO_ROOT/build-win" -j "$JOBS"
}
