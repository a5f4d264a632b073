#!/bin/bash
# Prepares a way to run the 32-bit Windows build here: Debian's wine32 where
# the kernel runs 32-bit programs, otherwise wine32 through qemu-user with a
# relocated preloader. Run as root after the packages are installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=/opt/wickerby-wine32

if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "setup-wine32: wine32 runs natively"
    rm -rf "$root"
    [ -f /usr/local/bin/wine ] && grep -q wickerby-wine32 /usr/local/bin/wine && rm -f /usr/local/bin/wine
    exit 0
fi

mkdir -p "$root/usr/lib/wine"
ln -sfn /usr/lib/i386-linux-gnu "$root/usr/lib/i386-linux-gnu"
ln -sfn /usr/share "$root/usr/share"
for server in wine64 wineserver wineserver32 wineserver64; do
    ln -sfn "/usr/lib/wine/$server" "$root/usr/lib/wine/$server"
done
python3 "$here/relocate_preloader.py" /usr/lib/wine/wine-preloader.static "$root/usr/lib/wine/wine-preloader-q"
chmod +x "$root/usr/lib/wine/wine-preloader-q"
# Wine starts its child processes through the "wine" beside the preloader,
# so this script is the loader for every process of the prefix.
cat > "$root/usr/lib/wine/wine" <<SCRIPT
#!/bin/sh
export WINELOADERNOEXEC=1
exec /usr/bin/qemu-i386-static $root/usr/lib/wine/wine-preloader-q /usr/lib/wine/wine "\$@"
SCRIPT
chmod +x "$root/usr/lib/wine/wine"
# A plain "wine" in PATH takes the same way, with Wine's usual default prefix,
# so that any caller can run the 32-bit build.
install -m 755 "$here/wine32" "$root/wine32"
cat > /usr/local/bin/wine <<SCRIPT
#!/bin/sh
export WINEPREFIX="\${WINEPREFIX:-\$HOME/.wine}"
exec $root/wine32 "\$@"
SCRIPT
chmod +x /usr/local/bin/wine
echo "setup-wine32: wine32 runs through qemu-user ($root, /usr/local/bin/wine)"
