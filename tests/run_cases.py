#!/usr/bin/env python3
"""Runs the end-to-end cases of tests/cases against one build.

Each case is a folder (see tests/README.md): the files of the working
directory and of the drives, the arguments, and what the run must leave:
standard output byte for byte, the exit code, files afterwards, the RFC
simulator's call log. The same cases run against the native build and, under
Wine, against the Windows build; on Windows every line feed of standard
output is expected as CR LF.
"""
import argparse
import contextlib
import fcntl
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import TARGETS, wine_command, wine_prefix

CASES = Path(__file__).resolve().parent / "cases"
FIXTURES = Path(__file__).resolve().parent / "fixtures"
EXAMPLES = Path(__file__).resolve().parent.parent / "examples"
TIME_OF_DAY = re.compile(rb"\b\d\d:\d\d:\d\d\b")
TRACE_STAMP = re.compile(rb"\b\d{8} \d{6}\b")


def masked(data):
    data = TIME_OF_DAY.sub(b"hh:mm:ss", data)
    return TRACE_STAMP.sub(b"YYYYMMDD HHMMSS", data)


def read_lines(path):
    if not path.exists():
        return []
    text = path.read_text(encoding="latin-1")
    if text.endswith("\n"):
        text = text[:-1]
    return text.split("\n") if text else []


ESCAPE = re.compile(r"\\(x[0-9A-Fa-f]{2}|.)")
ESCAPED = {"n": b"\n", "r": b"\r", "t": b"\t", "0": b"\0", "\\": b"\\"}


def unescaped(text):
    """The bytes of a text with \\n, \\r, \\t, \\0, \\\\ and \\xNN escapes."""
    def byte(match):
        code = match.group(1)
        if code[0] == "x" and len(code) == 3:
            return chr(int(code[1:], 16))
        return ESCAPED.get(code, b"\\" + code.encode("latin-1")).decode("latin-1")
    return ESCAPE.sub(byte, text).encode("latin-1")


def generated(case):
    """The lines of a case's generate file as (path, bytes): PATH COUNT TEXT."""
    pieces = []
    for line in read_lines(case / "generate"):
        path, count, text = (line.split(" ", 2) + [""])[:3]
        pieces.append((unescaped(path).decode("latin-1"), unescaped(text) * int(count)))
    return pieces


class CaseError(Exception):
    """A case folder that cannot be run as written."""


def fixtures(case):
    """The lines of a case's fixtures file as (path, fixture file): NAME PATH.

    The path is the rest of the line, blanks included. A file that the case
    also commits under the same path would make the case ambiguous.
    """
    pieces = []
    for line in read_lines(case / "fixtures"):
        name, _, path = line.partition(" ")
        # "examples/NAME" is a file of the bundled example, a blank in it written \x20.
        example = name.startswith("examples/")
        source = EXAMPLES / name[len("examples/"):].replace("\\x20", " ") if example else FIXTURES / name
        if not name or not path or ("/" in name and not example) or not source.is_file():
            raise CaseError(f"fixtures: line {line!r} names no file of tests/fixtures or examples/")
        if Path(path).parts[0] not in ("cwd", "drives", "after", "parent", "bin") or (case / path).exists():
            raise CaseError(f"fixtures: {path!r} is no case path or is committed as well")
        pieces.append((path, source))
    return pieces


def arguments(case):
    """The arguments; a line '@repeat COUNT TEXT' is TEXT repeated COUNT times."""
    words = []
    for line in read_lines(case / "args"):
        if line.startswith("@repeat "):
            _, count, text = (line.split(" ", 2) + [""])[:3]
            words.append(unescaped(text) * int(count))
        else:
            words.append(line)
    return words


def parallel_arguments(words):
    """A listing's arguments with ,PARALLEL=4 added where the option text
    allows it without changing what the run prints; None for a case that is
    no such listing. A profile list takes it after its item (unless console
    report mode shows the option text), a global listing in the third word,
    which the allocation text's console line does not show."""
    words = [w.decode("latin-1") if isinstance(w, bytes) else w for w in words]
    if len(words) < 2:
        return None
    options = " ".join(words[1:3])
    if "ITEM=" in options.upper():
        if any(c in options for c in "#$%"):
            return None
        index = 1 if "ITEM=" in words[1].upper() else 2
        return words[:index] + [words[index] + ",PARALLEL=4"] + words[index + 1:]
    if words[0].upper().rsplit("\\", 1)[-1] in ("GLOBAL", "GLOBAL.P00"):
        return words[:2] + [(words[2] if len(words) > 2 else "") + ",PARALLEL=4"] + words[3:]
    return None


def drive_letters(case):
    """Drives the case uses: folders under drives/ and drives named by generate or directories."""
    letters = {p.name.lower() for p in (case / "drives").iterdir()} if (case / "drives").is_dir() else set()
    named = [path for path, _ in generated(case) + fixtures(case)] + read_lines(case / "directories")
    for path in named:
        parts = Path(path).parts
        if len(parts) >= 2 and parts[0] == "drives":
            letters.add(parts[1].lower())
    return sorted(letters)


def make_parents(path, created):
    missing = []
    parent = path.parent
    while not parent.exists():
        missing.append(parent)
        parent = parent.parent
    for directory in reversed(missing):
        directory.mkdir()
        created.append(directory)


def materialise(case, roots, created):
    """Copies the fixtures, appends the generate lines to their files and makes the directories of the case."""
    for name in read_lines(case / "directories"):
        path = located(name, roots)
        make_parents(path, created)
        if not path.exists():
            path.mkdir()
            created.append(path)
    for name, source in fixtures(case):
        if not name.startswith("after/"):
            shutil.copyfile(source, made_file(name, roots, created))
    for name, data in generated(case):
        if not name.startswith("after/"):
            with open(made_file(name, roots, created), "ab") as file:
                file.write(data)


def made_file(name, roots, created):
    """Where a case file goes, its folders made and a new file remembered."""
    path = located(name, roots)
    make_parents(path, created)
    if not path.exists():
        created.append(path)
    return path


def located(name, roots):
    """Where a case path (cwd/..., parent/..., bin/..., drives/X/...) lies for this run."""
    parts = Path(name).parts
    if parts[0] not in roots and parts[0] != "drives":
        raise CaseError(f"{name}: {parts[0]}/ is no place of this case (bin/ needs a library or folder file)")
    if parts[0] == "drives":
        return roots[parts[1].lower()].joinpath(*parts[2:])
    return roots[parts[0]].joinpath(*parts[1:])


def copy_tree(source, target, created):
    """Copies source into target, remembering what did not exist before."""
    for root, dirs, files in os.walk(source):
        relative = Path(root).relative_to(source)
        for name in dirs + files:
            destination = target / relative / name
            if not destination.exists():
                created.append(destination)
            if (Path(root) / name).is_dir():
                destination.mkdir(parents=True, exist_ok=True)
            else:
                shutil.copyfile(Path(root) / name, destination)


def remove_created(created):
    for path in reversed(created):
        if path.is_dir() and not path.is_symlink():
            shutil.rmtree(path, ignore_errors=True)
        elif path.exists() or path.is_symlink():
            path.unlink()


class Native:
    name = "native"

    def __init__(self, bin_dir):
        self.bin_dir = bin_dir

    def occupied(self):
        return contextlib.nullcontext()

    def prepare(self, case, scratch):
        drives = scratch / "drives"
        work = scratch / "work"
        drives.mkdir()
        work.mkdir()
        if (case / "drives").is_dir():
            copy_tree(case / "drives", drives, [])
        self.roots = {letter: drives / letter.upper() for letter in drive_letters(case)}
        # The sensors' lock files live in the temporary folder, one set per
        # working directory: each case's go with its scratch directory.
        temporary = scratch / "tmp"
        temporary.mkdir()
        self.temporary = temporary
        env = {"WICKERBY_DRIVES": str(drives), "RFCSIM_LOG": str(scratch / "rfc.log"), "TMPDIR": str(temporary)}
        return work, env, scratch / "rfc.log", []

    library_file = "librfc32.so"
    netweaver_files = ["libsapnwrfc.so", "libsapnwrfc_companion.so"]
    program_suffix = ""

    def work_name(self, work):
        """The working directory as the program names it."""
        return str(work.resolve()) + "/"

    separator = "/"

    def program_directory(self, scratch):
        """Where a case with a library file runs the program, and how the program names it."""
        directory = scratch / "bin"
        directory.mkdir()
        return directory, str(directory.resolve()) + "/"

    def command(self, program, directory=None):
        return [str((directory or self.bin_dir) / program)]

    def expected_output(self, data):
        return data


class Windows:
    """Runs a Windows build under Wine (win32 or win64, each with a prefix of
    its own); drive C: is the prefix's drive_c."""

    def __init__(self, name, bin_dir):
        self.name = name
        self.bin_dir = bin_dir
        self.prefix = wine_prefix(name)
        self.own_launcher = "WICKERBY_WINE" not in os.environ
        self.wine = wine_command(name)
        self.base_env = {"WINEPREFIX": str(self.prefix)}

    def start(self):
        # Creates the prefix and starts Wine's services before any output is
        # captured, and without a case's time limit: making a prefix through
        # qemu takes about a minute. The project's launcher marks a prefix it
        # has made and starts the services itself with their output detached,
        # so a marked prefix needs nothing more.
        if self.own_launcher and (self.prefix / ".wickerby-ready").exists():
            return
        subprocess.run(self.wine + ["cmd", "/c", "exit"], env=dict(os.environ, **self.base_env), check=False,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @contextlib.contextmanager
    def occupied(self):
        """Keeps the prefix to one case at a time: drive C:, the working
        directory and the drive links are the case's alone until it ends,
        whichever runner (another ctest, another work tree) uses the prefix."""
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        with open(f"{self.prefix}.case-lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            yield

    def prepare(self, case, scratch):
        created = []
        drive_c = self.prefix / "drive_c"
        self.roots = {}
        for letter in drive_letters(case):
            drive = case / "drives" / letter.upper()
            if not drive.is_dir():
                drive = case / "drives" / letter
            if letter == "c":
                self.roots[letter] = drive_c
                if drive.is_dir():
                    copy_tree(drive, drive_c, created)
            else:
                target = scratch / ("drive_" + letter)
                target.mkdir()
                self.roots[letter] = target
                if drive.is_dir():
                    copy_tree(drive, target, [])
                link = self.prefix / "dosdevices" / (letter + ":")
                if link.is_symlink() or link.exists():
                    link.unlink()
                link.symlink_to(target)
                created.append(link)
        base = drive_c / "wickerby-case"
        if base.exists():
            shutil.rmtree(base)
        work = base / "work"
        work.mkdir(parents=True)
        created.append(base)
        env = dict(self.base_env, RFCSIM_LOG="C:\\wickerby-case\\rfc.log")
        return work, env, base / "rfc.log", created

    library_file = "librfc32.dll"
    netweaver_files = ["sapnwrfc.dll", "libsapnwrfc_companion.dll"]
    program_suffix = ".exe"

    def work_name(self, work):
        return "C:\\wickerby-case\\work\\"

    separator = "\\"
    # The sensors' temporary folder is the prefix's, shared by every case.
    temporary = None

    def program_directory(self, scratch):
        directory = self.prefix / "drive_c" / "wickerby-case" / "bin"
        directory.mkdir()
        return directory, "C:\\wickerby-case\\bin\\"

    def command(self, program, directory=None):
        return self.wine + [str((directory or self.bin_dir) / (program + ".exe"))]

    def expected_output(self, data):
        return data.replace(b"\n", b"\r\n")


def compare(label, expected, actual, failures):
    if expected != actual:
        failures.append(f"{label} differs\n--- expected\n{expected!r}\n--- actual\n{actual!r}")


# What PRTG reads must parse as XML. Two outputs stay as they have always
# been: the RFC error block of a library failure, and the single run's line
# naming a configured destination ahead of its document. Console report mode
# and the version line are for a person and are not parsed.
FAILURE_REPORT = b"RFC error\n"
CONFIGURED_LINE = b"* SapRfc.Ini.......: "


def check_xml(program, words, output, failures):
    output = output.replace(b"\r\n", b"\n")
    options = [word.decode("latin-1") if isinstance(word, bytes) else word for word in words[1:3]]
    console = any(c in " ".join(options) for c in "#$%")
    version = [w.decode("latin-1") if isinstance(w, bytes) else w for w in words] == ["--version"]
    if program != "wickerby" or console or version or FAILURE_REPORT in output:
        return
    if output.startswith(CONFIGURED_LINE):
        output = output[output.index(b"\n") + 1:]
    try:
        ElementTree.fromstring(output)
    except ElementTree.ParseError as error:
        failures.append(f"standard output is not well-formed XML ({error})")


def run_case(case, target, parallel=False, netweaver=False):
    if netweaver and netweaver_left_out(case):
        return None
    failures = []
    with target.occupied(), tempfile.TemporaryDirectory(prefix="wickerby-case-") as scratch_name:
        scratch = Path(scratch_name)
        work, env, log, created = target.prepare(case, scratch)
        try:
            if (case / "cwd").is_dir():
                copy_tree(case / "cwd", work, [])
            program = (read_lines(case / "program") or ["wickerby"])[0]
            directory, directory_name = place_program(case, target, program, scratch, netweaver)
            # bin/ is the program's own directory, for a case that places it.
            roots = dict(target.roots, cwd=work, parent=work.parent, **({"bin": directory} if directory else {}))
            materialise(case, roots, created)
            for line in read_lines(case / "env"):
                key, _, value = line.partition("=")
                env[key] = environment_value(value, target)
            secrets = case_passwords(case, work)
            stdin = (case / "stdin").read_bytes() if (case / "stdin").exists() else b""
            words = arguments(case)
            if parallel:
                words = parallel_arguments(words) if program == "wickerby" else None
                if words is None:
                    return None
            # The simulator finds its scenario also from a listing's workers,
            # which run in folders of their own.
            env.setdefault("RFCSIM_SCENARIO", target.work_name(work) + "rfcsim.ini")
            try:
                result = subprocess.run(target.command(program, directory) + words, cwd=work,
                                        env=dict(os.environ, **env), input=stdin, capture_output=True,
                                        timeout=60)
            except subprocess.TimeoutExpired:
                return ["timed out"]
            expected_exit = int((read_lines(case / "exit") or ["0"])[0])
            if result.returncode != expected_exit:
                failures.append(f"exit code {result.returncode}, expected {expected_exit}")
            # A target's own expectation, else the 32-bit build's for the
            # 64-bit one (both Windows), else the common one.
            names = ["stdout." + target.name] + (["stdout.win32"] if target.name == "win64" else []) + ["stdout"]
            # Run through sapnwrfc, a case that tells the library's calls has its own.
            names = (["stdout.nwrfc"] if netweaver else []) + names
            expected = next(case / name for name in names if (case / name).exists() or name == "stdout")
            expected = expected_text(expected, target, directory_name, target.work_name(work))
            compare("stdout", expected, masked(result.stdout), failures)
            check_xml(program, arguments(case), result.stdout, failures)
            if (case / "stderr").exists():
                expected = expected_text(case / "stderr", target, directory_name, target.work_name(work))
                compare("stderr", expected, masked(result.stderr), failures)
            # Workers log their own library calls, so only the sequential log is compared.
            check_files(case, work, dict(target.roots, cwd=work), None if parallel or netweaver else log, failures)
            check_passwords_hidden(secrets, result, {"working directory": work, "temporary folder": target.temporary},
                                   failures)
            if parallel and target.temporary:
                # No worker's folder outlives the run, one ended by its deadline included.
                left = [p.name for p in target.temporary.glob("wickerby-private*/*") if re.match(r"wickerby-\d+-", p.name)]
                if left:
                    failures.append(f"left in the temporary folder: {left}")
        finally:
            remove_created(created)
    return failures


BYTE_ESCAPE = re.compile(r"\\x([0-9A-Fa-f]{2})")


def environment_value(value, target):
    """A value of the env file; \\xNN is a byte of Windows-1252, which the sensor
    must see as that byte: natively as it is, under Wine as its character, which
    Wine hands the program in its ANSI code page."""
    if not BYTE_ESCAPE.search(value):
        return value
    data = BYTE_ESCAPE.sub(lambda match: chr(int(match.group(1), 16)), value).encode("latin-1")
    return os.fsdecode(data) if target.name == "native" else data.decode("cp1252")


def expected_text(path, target, directory_name, work_name):
    """An expected output as the target prints it, the program's directory, the
    working directory and the library named (@LIBRARY@ librfc32's file,
    @NWLIBRARY@ sapnwrfc's)."""
    expected = path.read_bytes().replace(b"@BIN@", directory_name.encode("latin-1"))
    expected = expected.replace(b"@WORK@", work_name.encode("latin-1"))
    expected = expected.replace(b"@LIBRARY@", target.library_file.encode("latin-1"))
    expected = expected.replace(b"@NWLIBRARY@", target.netweaver_files[0].encode("latin-1"))
    return target.expected_output(expected)
SCENARIO_PASSWORD = re.compile(rb"^[ \t]*password[ \t]*=[ \t]*(.*?)[ \t\r]*$", re.MULTILINE)


def case_passwords(case, work):
    """The plain passwords of a case: the logons of its simulator scenario and
    the values of PRTG's variables (prtg_...) in its environment."""
    scenario = work / "rfcsim.ini"
    found = set(SCENARIO_PASSWORD.findall(scenario.read_bytes())) if scenario.is_file() else set()
    for line in read_lines(case / "env"):
        key, _, value = line.partition("=")
        if key.lower().startswith("prtg_") and value:
            found.add(value.encode("latin-1"))
    return {password for password in found if password}


def check_passwords_hidden(passwords, result, places, failures):
    """No password may reach standard output, standard error or a file left in
    the working directory or the temporary folder. Not searched: the scenario,
    which holds them, and SapRfc.ini and the SapRfc.DEST files, which may hold
    a PASSWD line that the sensor copies byte for byte for the library to read.
    The simulator's call log, which records what the library was given, lies
    outside both places."""
    shown = [("standard output", result.stdout), ("standard error", result.stderr)]
    for label, place in places.items():
        for path in sorted(place.rglob("*")) if place else []:
            name = path.name.lower()
            if path.is_file() and name != "rfcsim.ini" and not name.startswith("saprfc."):
                shown.append((f"{label} file {path.relative_to(place)}", path.read_bytes()))
    for where, data in shown:
        for password in sorted(passwords):
            if password in data:
                failures.append(f"password {password.decode('latin-1')!r} shown in {where}")


def place_program(case, target, program, scratch, netweaver=False):
    """For a case with a library or folder file: the program copied into a directory of
    its own, or into the folder below it, with the RFC library named beside it.
    (None, "") otherwise. With `netweaver` the simulator's sapnwrfc and its companion
    lie beside the program instead, and no librfc32."""
    kind = "netweaver" if netweaver else (read_lines(case / "library") or [""])[0]
    folder = [name for name in (read_lines(case / "folder") or [""])[0].split("/") if name]
    if not kind and not folder:
        return None, ""
    directory, name = target.program_directory(scratch)
    if folder:
        directory = directory.joinpath(*folder)
        directory.mkdir(parents=True)
        name += target.separator.join(folder) + target.separator
    executable = program + target.program_suffix
    shutil.copy2(target.bin_dir / executable, directory / executable)
    library = directory / target.library_file
    if kind == "text":
        library.write_bytes(b"This is a text file, not a library.\n" * 4)
    elif kind == "simulator":
        shutil.copy2(target.bin_dir / target.library_file, library)
    elif kind in ("netweaver", "nwrfc", "both"):
        # nwrfc: the simulator's sapnwrfc and its companion alone; both: with librfc32.
        if kind == "both":
            shutil.copy2(target.bin_dir / target.library_file, library)
        for file_name in target.netweaver_files:
            shutil.copy2(target.bin_dir / file_name, directory / file_name)
    elif kind == "incomplete":
        built = target.library_file.replace("librfc32", "librfcsim_incomplete")
        shutil.copy2(target.bin_dir / built, library)
    elif kind not in ("none", ""):
        raise ValueError(f"unknown library {kind}")
    return directory, name


# What only the classic library does, which a case run through sapnwrfc
# cannot show the same way: its own handler (open, call or receive = abort),
# RfcCall's own results 2 and 3, which hand out no exception text, its table
# operations and line structure ([library]), its trace file and the status
# fields of its error record, and its own operations' delays.
CLASSIC_ONLY_SCENARIO = re.compile(
    rb"^[ \t]*(\[library\]|trace[ \t]*=|error\.(status|internal)[ \t]*="
    rb"|(open|call|receive)[ \t]*=[ \t]*abort|call[ \t]*=[ \t]*[23][ \t\r]*$"
    rb"|delay[ \t]*=[ \t]*(RfcOpen|RfcOpenEx|RfcCall|RfcReceive)[ \t])",
    re.MULTILINE | re.IGNORECASE)
ERROR_KEY = re.compile(rb"^[ \t]*error\.key[ \t]*=", re.MULTILINE | re.IGNORECASE)
TRACE_FILE = Path("Dev_Rfc.Trc")


def case_file(case, relative):
    """The bytes a case puts at cwd/RELATIVE (committed or a fixture); None when none."""
    if (case / "cwd" / relative).is_file():
        return (case / "cwd" / relative).read_bytes()
    for name, source in fixtures(case):
        if Path(name) == Path("cwd") / relative:
            return source.read_bytes()
    return None


def utf8(data):
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def netweaver_left_out(case):
    """True for a case that --library nwrfc does not run: one that places a library
    of its own (`library` file); one whose scenario uses what only the classic library
    does, or is not UTF-8, as the NetWeaver face reads it; one whose outcome is the
    classic library's trace file (written to, or a folder in its place); and one whose
    ,REASON quotes a key that the scenario leaves to the library's own naming. A
    case with a stdout.nwrfc, written for sapnwrfc, always runs."""
    if (case / "stdout.nwrfc").exists():
        return False
    if (case / "library").exists():
        return True
    scenarios = [p.read_bytes() for p in case.rglob("rfcsim.ini") if p.is_file()]
    scenarios += [source.read_bytes() for name, source in fixtures(case) if Path(name).name == "rfcsim.ini"]
    scenarios += [data for name, data in generated(case) if Path(name).name == "rfcsim.ini"]
    if any(CLASSIC_ONLY_SCENARIO.search(data) or not utf8(data) for data in scenarios):
        return True
    trace_after = expected_after(case).get(TRACE_FILE)
    if trace_after is not None and trace_after != case_file(case, TRACE_FILE):
        return True
    folders = [Path(name) for name, _ in fixtures(case)] + [Path(name) for name in read_lines(case / "directories")]
    if (case / "cwd" / TRACE_FILE).is_dir() or any(path.parts[:2] == ("cwd", str(TRACE_FILE)) for path in folders):
        return True
    words = [word if isinstance(word, bytes) else word.encode("latin-1", "replace") for word in arguments(case)]
    reasons = b",REASON" in b" ".join(words).upper()
    return reasons and not any(ERROR_KEY.search(data) for data in scenarios)


def expected_after(case):
    """The files of after/ and the fixtures for after/, with the generate lines for after/ appended."""
    after = case / "after"
    files = {}
    if after.is_dir():
        for path in sorted(p for p in after.rglob("*") if p.is_file()):
            files[path.relative_to(after)] = path.read_bytes()
    for name, source in fixtures(case):
        parts = Path(name).parts
        if parts[0] == "after":
            files[Path(*parts[1:])] = source.read_bytes()
    for name, data in generated(case):
        parts = Path(name).parts
        if parts[0] == "after":
            relative = Path(*parts[1:])
            files[relative] = files.get(relative, b"") + data
    return files


def check_files(case, work, roots, log, failures):
    for relative, expected in sorted(expected_after(case).items()):
        actual = work / relative
        if not actual.is_file():
            failures.append(f"file {relative} missing afterwards")
        else:
            compare(f"file {relative}", expected, masked(actual.read_bytes()), failures)
    for name in read_lines(case / "directories"):
        path = located(name, roots)
        if not path.is_dir() or any(path.iterdir()):
            failures.append(f"directory {name} should still be there, empty, afterwards")
    for name in read_lines(case / "absent"):
        if (work / name).exists():
            failures.append(f"file {name} should not exist afterwards")
    if log is not None and (case / "rfc.log").exists():
        actual = log.read_bytes() if log.exists() else b""
        compare("rfc.log", (case / "rfc.log").read_bytes(), actual.replace(b"\r\n", b"\n"), failures)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--target", choices=TARGETS, required=True)
    parser.add_argument("--bin", required=True, type=Path)
    parser.add_argument("--parallel", action="store_true",
                        help="run every listing case again with ,PARALLEL=4 and expect the same output")
    parser.add_argument("--library", choices=["classic", "nwrfc"], default="classic",
                        help="nwrfc: run every case that does not depend on the classic library with the "
                             "simulator's sapnwrfc beside the program instead of librfc32")
    parser.add_argument("cases", nargs="*", help="names of cases to run (default: all)")
    options = parser.parse_args()
    target = Native(options.bin.resolve()) if options.target == "native" else Windows(options.target, options.bin.resolve())
    if hasattr(target, "start"):
        target.start()
    names = options.cases or sorted(p.name for p in CASES.iterdir() if p.is_dir())
    passed = failed = skipped = 0
    for name in names:
        case = CASES / name
        targets = read_lines(case / "targets")
        if targets and target.name not in targets:
            skipped += 1
            continue
        try:
            failures = run_case(case, target, options.parallel, options.library == "nwrfc")
        except CaseError as error:
            failures = [str(error)]
        if failures is None:
            skipped += 1
            continue
        if failures:
            failed += 1
            print(f"FAIL {name}\n  " + "\n  ".join(failures))
        else:
            passed += 1
    print(f"{target.name}: {passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
