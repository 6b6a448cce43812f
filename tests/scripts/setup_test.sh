#!/usr/bin/env bash
# scripts/setup.sh on a machine that lacks two of its packages, as a user
# without sudo and as a user with sudo (the test suite itself runs the
# script as root). Stand-ins for dpkg-query,
# apt-get and sudo record what they were asked, so nothing is installed;
# PATH holds only them and the few tools setup.sh needs, so a real sudo or
# apt-get on the machine cannot answer instead.
#   setup_test.sh SETUP_SCRIPT
source "$(dirname "$0")/../support/shell_test.sh"
setup=$1

# The unprivileged user must reach the script, the stand-ins and the record.
chmod 755 "$work"
cp "$setup" "$work/setup.sh"
mkdir "$work/bin" "$work/bin-sudo"
for tool in bash grep id; do
  ln -s "$(command -v "$tool")" "$work/bin/$tool"
done
touch "$work/calls"
chmod 666 "$work/calls"

# Every package counts as installed except these two.
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/bash
name=${!#}
case $name in
  lintian | libcli11-dev) exit 1 ;;
esac
printf 'install ok installed'
EOF
printf '#!/bin/bash\necho "apt-get $*" >>%s\n' "$work/calls" >"$work/bin/apt-get"
printf '#!/bin/bash\necho "sudo $*" >>%s\n' "$work/calls" \
  >"$work/bin-sudo/sudo"
chmod 755 "$work"/bin/* "$work"/bin-sudo/*

# Runs setup.sh with PATH=$2 as user $1 (root or nobody); output and status
# land in $work/out and $status, the stand-ins' record in $work/calls.
run_setup() {
  local user=$1 path=$2 as=()
  if [ "$(id -u)" -eq 0 ] && [ "$user" = nobody ]; then
    as=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
  fi
  : >"$work/calls"
  status=0
  (cd "$work" && "${as[@]}" env -i PATH="$path" /bin/bash setup.sh) \
    >"$work/out" 2>&1 || status=$?
}

if [ "$(id -u)" -ne 0 ] || command -v setpriv >/dev/null; then
  # No sudo: nothing is tried, and the user learns what is missing and why
  # it cannot be installed.
  run_setup nobody "$work/bin"
  [ $status -ne 0 ] || fail "without sudo, setup.sh exited with 0"
  grep -q 'lintian' "$work/out" && grep -q 'libcli11-dev' "$work/out" ||
    fail "without sudo, setup.sh does not name the missing packages"
  grep -qi 'root' "$work/out" && grep -qi 'sudo' "$work/out" ||
    fail "without sudo, setup.sh does not say that root or sudo is needed"
  grep -q 'command not found' "$work/out" &&
    fail "without sudo, setup.sh ran a command that is not there"
  [ ! -s "$work/calls" ] ||
    fail "without sudo, setup.sh still called: $(cat "$work/calls")"
  sed 's/^/  | /' "$work/out"

  # With sudo: the missing packages are installed through it.
  run_setup nobody "$work/bin:$work/bin-sudo"
  [ $status -eq 0 ] || fail "with sudo, setup.sh exited with $status"
  grep '^sudo apt-get install ' "$work/calls" | grep -w lintian |
    grep -qw libcli11-dev ||
    fail "with sudo, setup.sh did not install through sudo:" \
      "$(cat "$work/calls")"
else
  echo "setpriv is missing: the unprivileged cases are not run"
fi

finish "setup.sh did what each user can do"
