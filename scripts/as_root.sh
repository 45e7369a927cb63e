# shellcheck shell=bash
# Sourced by the scripts: as_root COMMAND... runs COMMAND as root, through sudo
# where the script runs as an ordinary user, and otherwise says that root is needed.
as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "$(basename "$0"): this step needs root: $*" >&2
    echo "Run the script as root, or install sudo and allow this user to use it." >&2
    exit 1
  fi
}
