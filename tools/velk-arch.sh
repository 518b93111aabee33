# Sourced by wine-env.sh and deps.sh: decides the width that is built and
# tested (VELK_ARCH) and says why (VELK_ARCH_REASON).

# Whether this machine executes 32-bit (i386) code: a 96-byte static i386
# program that needs no library makes the exit system call with status 42.
# A kernel without 32-bit support refuses it ("Exec format error").
velk_runs_32bit() {
  local dir rc=1
  dir="$(mktemp -d 2>/dev/null)" || return 1
  printf '%b' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00' \
    '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$dir/probe"
  chmod +x "$dir/probe"
  "$dir/probe" >/dev/null 2>&1 || rc=$?
  rm -rf "$dir"
  [ "$rc" -eq 42 ]
}

# VELK_ARCH is the width that is built and tested: x86 (the shipped 32-bit
# programs) where the machine runs 32-bit code, x64 where it does not. An
# explicit VELK_ARCH=x86|x64 wins. VELK_ARCH_REASON says why, for the one
# line the test and run commands print.
if [ -n "${VELK_ARCH:-}" ]; then
  case "$VELK_ARCH" in
    x86) VELK_ARCH_REASON="VELK_ARCH=x86 was asked for: building and testing the 32-bit build" ;;
    x64) VELK_ARCH_REASON="VELK_ARCH=x64 was asked for: building and testing the 64-bit build" ;;
    *) echo "VELK_ARCH must be x86 or x64, not '$VELK_ARCH'" >&2; return 2 ;;
  esac
elif velk_runs_32bit; then
  VELK_ARCH=x86
  VELK_ARCH_REASON="this machine runs 32-bit code: building and testing the 32-bit build"
else
  VELK_ARCH=x64
  VELK_ARCH_REASON="this machine runs no 32-bit code: building and testing the 64-bit build"
fi
export VELK_ARCH VELK_ARCH_REASON
