"""What the checks that start many sensors share."""
import os
from pathlib import Path


def sensor_command(target, bin_dir):
    """The command that starts the sensor built in bin_dir: natively, or
    under Wine through the project's launcher (or WICKERBY_WINE)."""
    if target == "native":
        return [str(Path(bin_dir).resolve() / "wickerby")]
    launcher = Path(__file__).resolve().parent / "wine" / "wine32"
    return os.environ.get("WICKERBY_WINE", str(launcher)).split() + [str(Path(bin_dir).resolve() / "wickerby.exe")]
