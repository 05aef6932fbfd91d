#!/usr/bin/env bash
# Runs uhid_mouse_e2e inside a throwaway virtual machine, so the hidraw transport meets a real
# kernel: the virtual mouse sits behind /dev/uhid, the transport finds it through sysfs and moves
# its feature reports with the hidraw ioctls.
#
# What it does: installs what is missing (qemu, a distribution kernel with uhid as a module,
# a static busybox, cpio), builds the test in the debug build folder, packs an initramfs in
# build/vm/ (busybox, the test and the shared libraries it loads, the kernel modules for hid, uhid
# and hid-generic with their dependencies, and an /init), boots it with qemu under TCG and passes
# the console through. Exits with the test's status, or non-zero when the machine reported none.
#
# Environment: ZELT_VM_KERNEL   the kernel image to boot (default: the newest /boot/vmlinuz-*
#                                whose modules are installed)
#              ZELT_VM_TIMEOUT  seconds the machine may run (default 300)
set -euo pipefail

started=$(date +%s.%N)
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$repo/build/vm
timeout_s=${ZELT_VM_TIMEOUT:-300}
# The modules the test needs; hidraw is part of hid itself.
wanted_modules=(hid uhid hid-generic)

say() { echo "run.sh: $*"; }
die() {
  echo "run.sh: error: $*" >&2
  exit 2
}
elapsed() { awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }

# --- tools -------------------------------------------------------------------------------------
have_kernel() { compgen -G '/boot/vmlinuz-*' > /dev/null; }
static_busybox() { [[ -x /bin/busybox ]] && ! ldd /bin/busybox > /dev/null 2>&1; }

mkdir -p "$out"
missing=()
command -v qemu-system-x86_64 > /dev/null || missing+=(qemu-system-x86)
static_busybox || missing+=(busybox-static)
command -v cpio > /dev/null || missing+=(cpio)
if [[ -z ${ZELT_VM_KERNEL:-} ]] && ! have_kernel; then missing+=(linux-image-amd64); fi
if ((${#missing[@]})); then
  [[ $(id -u) -eq 0 ]] || die "missing ${missing[*]}; install them (apt-get install ${missing[*]})"
  say "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || die "apt-get update failed"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" > "$out/apt.log" 2>&1 ||
    { tail -20 "$out/apt.log" >&2; die "apt-get install ${missing[*]} failed"; }
fi
static_busybox || die "/bin/busybox is not a static busybox (install busybox-static)"

# --- kernel ------------------------------------------------------------------------------------
kernel=${ZELT_VM_KERNEL:-}
if [[ -z $kernel ]]; then
  while read -r image; do
    if [[ -f /lib/modules/${image#/boot/vmlinuz-}/modules.dep ]]; then
      kernel=$image
      break
    fi
  done < <(compgen -G '/boot/vmlinuz-*' | sort -V -r)
  [[ -n $kernel ]] || die "no kernel image in /boot with modules under /lib/modules (install linux-image-amd64)"
fi
[[ -r $kernel ]] || die "cannot read kernel image $kernel"
kversion=${kernel##*/vmlinuz-}
moddir=/lib/modules/$kversion
[[ -f $moddir/modules.dep ]] || die "no $moddir/modules.dep for kernel $kernel"
if [[ -f /boot/config-$kversion ]]; then
  grep -q '^CONFIG_HIDRAW=y' "/boot/config-$kversion" || die "kernel $kversion has no hidraw"
  grep -Eq '^CONFIG_UHID=[ym]' "/boot/config-$kversion" || die "kernel $kversion has no uhid"
fi
package=$(dpkg -S "$kernel" 2> /dev/null | cut -d: -f1 || true)
if [[ -n $package ]]; then
  say "kernel $kernel ($package $(dpkg-query -W -f='${Version}' "$package" 2> /dev/null))"
else
  say "kernel $kernel"
fi

# --- test binary -------------------------------------------------------------------------------
cd "$repo"
cmake --preset debug > /dev/null
cmake --build --preset debug --target uhid_mouse_e2e
binary=$repo/build/debug/tests/vm/uhid_mouse_e2e
[[ -x $binary ]] || die "build produced no $binary"

# --- initramfs ---------------------------------------------------------------------------------
root=$out/root
rm -rf "$root"
mkdir -p "$root"/{bin,dev,proc,sys,tmp,lib/modules}
cp /bin/busybox "$root/bin/busybox"
if command -v strip > /dev/null; then
  strip -o "$root/uhid_mouse_e2e" "$binary"
else
  cp "$binary" "$root/uhid_mouse_e2e"
fi

# Shared libraries as ldd resolves them, the dynamic loader included, under their own paths.
libraries=$(ldd "$binary") || die "ldd $binary failed"
if grep -q 'not found' <<< "$libraries"; then die "unresolved libraries: $libraries"; fi
while read -r library; do
  mkdir -p "$root$(dirname "$library")"
  cp -L "$library" "$root$library"
done < <(awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^\//) print $i }' <<< "$libraries")

# Modules in load order: each module's dependencies (modules.dep lists them so that the last is
# loaded first), then the module. Built-in ones need nothing.
declare -A queued=()
load_order=()
module_path() {  # module name -> path relative to $moddir, or nothing
  local name=$1 alt=${1//-/_}
  awk -F: -v a="$name" -v b="$alt" '{
      base = $1; sub(/.*\//, "", base); sub(/\.ko(\.[a-z]+)?$/, "", base)
      if (base == a || base == b) { print $1; exit } }' "$moddir/modules.dep"
}
module_builtin() {
  [[ -f $moddir/modules.builtin ]] &&
    grep -Eq "/(${1}|${1//-/_})\.ko$" "$moddir/modules.builtin"
}
queue_module() {  # relative path from modules.dep
  local path=$1 deps i
  [[ -n ${queued[$path]:-} ]] && return 0
  read -r -a deps < <(awk -F: -v p="$path" '$1 == p { print $2; exit }' "$moddir/modules.dep")
  for ((i = ${#deps[@]} - 1; i >= 0; i--)); do queue_module "${deps[i]}"; done
  queued[$path]=1
  load_order+=("$path")
}
for name in "${wanted_modules[@]}"; do
  path=$(module_path "$name")
  if [[ -n $path ]]; then
    queue_module "$path"
  elif module_builtin "$name"; then
    say "module $name is built into the kernel"
  else
    die "kernel module $name not found in $moddir (is it built for $kversion?)"
  fi
done
insmods=()
for path in "${load_order[@]}"; do
  file=$moddir/$path
  [[ -f $file ]] || die "missing module file $file"
  name=$(basename "$path")
  case $name in
    *.ko) cp "$file" "$root/lib/modules/$name" ;;
    *.ko.xz) xz -dc "$file" > "$root/lib/modules/${name%.xz}" || die "cannot unpack $file" ;;
    *.ko.zst) zstd -qdc "$file" > "$root/lib/modules/${name%.zst}" || die "cannot unpack $file" ;;
    *.ko.gz) gzip -dc "$file" > "$root/lib/modules/${name%.gz}" || die "cannot unpack $file" ;;
    *) die "unknown module format $file" ;;
  esac
  insmods+=("${name%.ko*}.ko")
done
say "modules: ${insmods[*]:-none}"

cat > "$root/init" << EOF
#!/bin/busybox sh
/bin/busybox --install -s /bin
export PATH=/bin
mount -t devtmpfs devtmpfs /dev
exec < /dev/console > /dev/console 2>&1
mount -t proc proc /proc
mount -t sysfs sysfs /sys
for module in ${insmods[*]}; do
  insmod /lib/modules/\$module || echo "zelt-vm: insmod \$module failed"
done
echo "zelt-vm: running uhid_mouse_e2e"
/uhid_mouse_e2e
status=\$?
echo "zelt-vm: exit status \$status"
sync
poweroff -f
EOF
chmod +x "$root/init"
# The kernel opens the console for init before anything is mounted; devtmpfs serves it after.
mknod -m 600 "$root/dev/console" c 5 1 2> /dev/null || true

initrd=$out/initramfs.cpio.gz
(cd "$root" && find . -print0 | cpio --null -o -H newc --quiet | gzip -1) > "$initrd"
say "initramfs $initrd ($(du -h "$initrd" | cut -f1)), built after $(elapsed) s"

# --- boot --------------------------------------------------------------------------------------
log=$out/console.log
say "booting under TCG (timeout ${timeout_s} s)"
set +e
timeout "$timeout_s" qemu-system-x86_64 -accel tcg -nographic -no-reboot -m 512 -nic none \
  -kernel "$kernel" -initrd "$initrd" -append 'console=ttyS0 panic=-1 quiet' < /dev/null 2>&1 |
  sed -u -e 's/\r$//' -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\x1b[c]//g' | tee "$log"
qemu_status=${PIPESTATUS[0]}
set -e

status=$(grep -a -o 'zelt-vm: exit status [0-9]*' "$log" | tail -n 1 | awk '{ print $NF }' || true)
say "took $(elapsed) s"
if [[ -z $status ]]; then
  if [[ $qemu_status -eq 124 ]]; then
    say "the virtual machine did not finish within ${timeout_s} s"
  else
    say "the virtual machine reported no exit status (qemu exited with $qemu_status)"
  fi
  exit 3
fi
say "uhid_mouse_e2e exited with $status"
exit "$status"
