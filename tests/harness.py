"""What the checks that start many sensors share."""
import os
from pathlib import Path

TARGETS = ["native", "win32", "win64"]
LAUNCHERS = Path(__file__).resolve().parent / "wine"


def wine_prefix(target):
    """The Wine prefix a Windows build runs in: WINEPREFIX, else the
    launcher's default for its width."""
    return Path(os.environ.get("WINEPREFIX", Path.home() / (".wickerby-wine" + target[-2:])))


def wine_command(target):
    """The launcher that runs a Windows build (or WICKERBY_WINE)."""
    return os.environ.get("WICKERBY_WINE", str(LAUNCHERS / ("wine" + target[-2:]))).split()


def sensor_command(target, bin_dir):
    """The command that starts the sensor built in bin_dir: natively, or
    under Wine through the project's launcher (or WICKERBY_WINE)."""
    if target == "native":
        return [str(Path(bin_dir).resolve() / "wickerby")]
    return wine_command(target) + [str(Path(bin_dir).resolve() / "wickerby.exe")]
