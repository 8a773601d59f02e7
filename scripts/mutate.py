#!/usr/bin/env python3
"""Plants realistic faults in Leafwright one at a time and reports which ones the tests catch.

A test suite earns its keep by failing when the program is wrong. This script measures that: it
copies the tree to a work folder, builds it and checks that every test passes, then for each
fault of a list (a file, an exact piece of its text and what replaces it) it plants the fault,
rebuilds, runs ctest and puts the file back. A fault some test fails on is caught; one every
test passes with survived, and shows where the tests are thin.

    scripts/mutate.py --check              # every fault still applies; nothing is built
    scripts/mutate.py --jobs 2             # all faults (an hour or more)
    scripts/mutate.py --only fictionbook   # the faults whose file or description matches
    scripts/mutate.py --work /tmp/lw-mutate --only 'recent books|caption'
    scripts/mutate.py --every-test         # which tests each fault fails, and which alone

By default the copy is of the last commit (HEAD); --worktree copies the files as they are now,
untracked ones included, so that faults can be tried against tests not yet committed. --work
DIR keeps the copy and its build in DIR between runs, so that a second run rebuilds only what
changed. The faults are in scripts/planted-faults.txt; its head says how they are written.

Exits 0 when every fault was tried, whatever the catch rate; 1 when the list is wrong (--check
found stale faults) or the unchanged tree does not build or pass its tests; 130 on Ctrl-C.
"""

import argparse
import io
import os
import re
import shutil
import signal
import subprocess
import sys
import tarfile
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
DEFAULT_FAULTS = REPO / "scripts" / "planted-faults.txt"

CAUGHT, SURVIVED, TIMED_OUT, STALE, NO_BUILD = (
    "caught", "survived", "timed out", "stale", "does not build")


class SetupError(Exception):
    """The run cannot start: the list, the copy, the build or the unchanged tests."""


# --- The list of faults ------------------------------------------------------------------------

@dataclass
class Fault:
    number: int
    file: str
    description: str
    text: str
    replacement: str
    line: int  # where it starts in the list, for messages

    def title(self):
        return f"{self.file}: {self.description}"


def parse_faults(path):
    """Reads the list: a fault is a "[file] description" line, then "- " lines of the text as
    it stands and "+ " lines of what replaces it (none to delete it); a lone "-" or "+" is an
    empty line. Blank lines and lines starting with "#" outside a fault are ignored."""
    faults = []
    current = None

    def finish():
        if current is None:
            return
        fault, old, new = current
        if not old:
            raise SetupError(f"{path}:{fault.line}: the fault has no \"- \" lines")
        fault.text, fault.replacement = "\n".join(old), "\n".join(new)
        faults.append(fault)

    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), start=1):
        header = re.match(r"^\[([^\]]+)\]\s+(.+)$", line)
        if header:
            finish()
            fault = Fault(len(faults) + 1, header[1].strip(), header[2].strip(), "", "", number)
            current = (fault, [], [])
        elif line[:2] in ("- ", "+ ") or line in ("-", "+"):
            if current is None:
                raise SetupError(f"{path}:{number}: a text line outside a fault")
            side = current[1] if line[0] == "-" else current[2]
            side.append(line[2:])
        elif not line.strip() or line.startswith("#"):
            finish()
            current = None
        else:
            raise SetupError(f"{path}:{number}: neither a fault, a text line nor a comment")
    finish()
    return faults


def select(faults, pattern):
    if not pattern:
        return faults
    wanted = re.compile(pattern, re.IGNORECASE)
    return [fault for fault in faults if wanted.search(fault.title())]


def occurrences(content, fault):
    return content.count(fault.text.encode("utf-8"))


# --- The tree's files --------------------------------------------------------------------------

def git(*arguments):
    return subprocess.run(["git", "-C", str(REPO), *arguments], check=True,
                          capture_output=True).stdout


def files_at_head():
    """The files of the last commit: path -> (bytes, executable)."""
    files = {}
    with tarfile.open(fileobj=io.BytesIO(git("archive", "--format=tar", "HEAD"))) as archive:
        for member in archive:
            if member.isfile():
                files[member.name] = (archive.extractfile(member).read(), bool(member.mode & 0o111))
    return files


def files_in_worktree():
    """The files as they are now, tracked or new but not ignored: path -> (bytes, executable)."""
    files = {}
    listed = git("ls-files", "-z", "--cached", "--others", "--exclude-standard")
    for name in sorted(set(listed.decode("utf-8").split("\0")) - {""}):
        path = REPO / name
        if path.is_file():  # a tracked file deleted in the tree is left out
            files[name] = (path.read_bytes(), os.access(path, os.X_OK))
    return files


def sync_tree(files, tree):
    """Makes tree hold exactly these files. A file whose bytes are already there keeps its time,
    so that the build of an earlier run rebuilds only what changed."""
    for name, (content, executable) in files.items():
        target = tree / name
        if not (target.is_file() and target.read_bytes() == content):
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(content)
        target.chmod(0o755 if executable else 0o644)
    for path in sorted(tree.rglob("*"), reverse=True):
        name = path.relative_to(tree).as_posix()
        if path.is_file() and name not in files:
            path.unlink()
        elif path.is_dir() and not any(path.iterdir()):
            path.rmdir()


# --- Building and testing ----------------------------------------------------------------------

@dataclass
class Outcome:
    ok: bool
    output: str
    timed_out: bool = False


def run(command, timeout=None, env=None):
    """Runs a command in a session of its own, so that a hung test and whatever it started can
    be stopped together."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               text=True, errors="replace", env=env, start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
        return Outcome(process.returncode == 0, output)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        output, _ = process.communicate()
        return Outcome(False, output, timed_out=True)
    except BaseException:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise


def faster_linker():
    """GCC links the many test programs again after each fault; mold or lld does it quicker."""
    for program, name in (("mold", "mold"), ("ld.lld", "lld")):
        if shutil.which(program):
            return name
    return None


def configure(tree, build):
    corpus = (REPO.parent / "shared" / "corpus").resolve()
    command = ["cmake", "-S", str(tree), "-B", str(build), "-G", "Ninja",
               "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DLEAFWRIGHT_BUILD_BENCHMARKS=OFF",
               # The copy has no corpus beside it; the tests read the one beside the repository.
               f"-DLEAFWRIGHT_CORPUS_DIR={corpus}"]
    if linker := faster_linker():
        for kind in ("EXE", "SHARED", "MODULE"):
            command.append(f"-DCMAKE_{kind}_LINKER_FLAGS=-fuse-ld={linker}")
    outcome = run(command)
    if not outcome.ok:
        raise SetupError("cmake could not configure the copy:\n" + outcome.output[-4000:])


def build_tree(build, jobs):
    return run(["cmake", "--build", str(build), "-j", str(jobs)])


def test_environment(home):
    """The tests' environment: no display, and a home of their own, so that the settings and
    recovery copies of the window tests never meet those of another run on the machine."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=str(home))
    for variable in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"):
        env.pop(variable, None)
    home.mkdir(parents=True, exist_ok=True)
    return env


def run_tests(build, jobs, timeout, env, stop_on_failure):
    command = ["ctest", "--test-dir", str(build), "-j", str(jobs), "--timeout", str(timeout),
               "--output-on-failure"]
    if stop_on_failure:
        command.append("--stop-on-failure")
    outcome = run(command, timeout=timeout, env=env)
    if re.search(r"\*\*\*Timeout|\(Timeout\)", outcome.output):
        outcome.timed_out = True
    return outcome


def failed_tests(output):
    """The tests ctest lists as failed, by name."""
    return re.findall(r"^\s*\d+ - (\S+) \(", output.split("The following tests FAILED:")[-1],
                      re.MULTILINE) if "The following tests FAILED:" in output else []


# --- One fault ---------------------------------------------------------------------------------

@dataclass
class Result:
    fault: Fault
    verdict: str
    seconds: float
    detail: str = ""
    failed: tuple = ()  # every test the fault failed, with --every-test


def restore(path, original):
    """Puts the file back as it was, with a time later than the mutant's, so that the next
    build compiles it again."""
    before = path.stat().st_mtime_ns
    path.write_bytes(original)
    now = max(time.time_ns(), before + 1_000_000)
    os.utime(path, ns=(now, now))


def try_fault(fault, tree, build, jobs, timeout, env, logs, every_test):
    started = time.monotonic()
    path = tree / fault.file
    if not path.is_file():
        return Result(fault, STALE, 0, "no such file")
    original = path.read_bytes()
    found = occurrences(original, fault)
    if found != 1:
        return Result(fault, STALE, 0, f"the text occurs {found} times")

    path.write_bytes(original.replace(fault.text.encode("utf-8"),
                                      fault.replacement.encode("utf-8")))
    try:
        built = build_tree(build, jobs)
        if not built.ok:
            (logs / f"{fault.number:03d}-build.log").write_text(built.output)
            return Result(fault, NO_BUILD, time.monotonic() - started)
        tested = run_tests(build, jobs, timeout, env, stop_on_failure=not every_test)
        (logs / f"{fault.number:03d}-test.log").write_text(tested.output)
        elapsed = time.monotonic() - started
        if tested.timed_out:
            return Result(fault, TIMED_OUT, elapsed)
        if tested.ok:
            return Result(fault, SURVIVED, elapsed)
        failed = failed_tests(tested.output)
        detail = (failed[0] + (f" and {len(failed) - 1} more" if len(failed) > 1 else "")
                  if failed else "ctest failed")
        return Result(fault, CAUGHT, elapsed, detail, tuple(failed))
    finally:
        restore(path, original)


# --- Reporting ---------------------------------------------------------------------------------

def report_line(result, position, total):
    """One fault's line: its place in this run, its number in the list, the verdict, the time."""
    width = len(str(total))
    detail = f"  ({result.detail})" if result.detail else ""
    return (f"[{position:>{width}}/{total}] #{result.fault.number:<3} {result.verdict:<14} "
            f"{result.seconds:4.0f} s  {result.fault.title()}{detail}")


def summary(results, total):
    count = {verdict: sum(r.verdict == verdict for r in results)
             for verdict in (CAUGHT, TIMED_OUT, SURVIVED, STALE, NO_BUILD)}
    caught = count[CAUGHT] + count[TIMED_OUT]
    tried = caught + count[SURVIVED]
    lines = ["", f"Tried {len(results)} of {total} faults: caught {caught}"
             + (f" ({count[TIMED_OUT]} by a time-out)" if count[TIMED_OUT] else "")
             + f", survived {count[SURVIVED]}, stale {count[STALE]}, "
             f"did not build {count[NO_BUILD]}."]
    if tried:
        lines.append(f"Catch rate: {caught} / {tried} = {100 * caught / tried:.0f} %")
    for verdict, heading in ((SURVIVED, "Survivors (no test failed):"),
                             (STALE, "Stale (the text is not in the file exactly once):"),
                             (NO_BUILD, "Did not build (the fault is no realistic one):")):
        chosen = [r for r in results if r.verdict == verdict]
        if chosen:
            lines.append(heading)
            lines += [f"  {r.fault.number:>3}  {r.fault.title()}" for r in chosen]
    return "\n".join(lines)


def sole_catchers(results, tests):
    """For --every-test: the faults each test alone catches, and the tests that catch none of
    the faults on their own, the first to look at when test code must shrink."""
    alone = {}
    for r in results:
        if len(r.failed) == 1:
            alone.setdefault(r.failed[0], []).append(r.fault.number)
    lines = ["", "Faults only one test catches:"]
    lines += [f"  {test}: #{', #'.join(map(str, numbers))}"
              for test, numbers in sorted(alone.items())]
    lines.append("Tests that alone catch none of these faults:")
    lines += [f"  {test}" for test in tests if test not in alone]
    return "\n".join(lines)


def test_names(build, env):
    listed = run(["ctest", "--test-dir", str(build), "-N"], env=env)
    return re.findall(r"Test\s+#\d+: (\S+)", listed.output)


# --- The run -----------------------------------------------------------------------------------

def check_list(faults, files):
    """Whether every fault applies exactly once to the chosen files; prints those that do not."""
    stale = 0
    for fault in faults:
        if fault.file not in files:
            problem = "no such file"
        elif (found := occurrences(files[fault.file][0], fault)) != 1:
            problem = f"the text occurs {found} times"
        else:
            continue
        stale += 1
        print(f"stale: #{fault.number} (line {fault.line}) {fault.title()}: {problem}")
    print(f"{len(faults) - stale} of {len(faults)} faults apply exactly once.")
    return stale == 0


def prepare(work, files, jobs, timeout):
    """Copies, configures, builds and tests the unchanged tree; returns the test environment
    and the time-out per test run."""
    tree, build = work / "tree", work / "build"
    print(f"Copying the tree to {tree}", flush=True)
    tree.mkdir(parents=True, exist_ok=True)
    sync_tree(files, tree)
    print("Configuring and building the unchanged copy", flush=True)
    configure(tree, build)
    built = build_tree(build, jobs)
    if not built.ok:
        raise SetupError("the unchanged copy does not build:\n" + built.output[-4000:])
    env = test_environment(work / "home")
    print("Running every test on the unchanged copy", flush=True)
    started = time.monotonic()
    tested = run_tests(build, jobs, timeout or 3600, env, stop_on_failure=False)
    elapsed = time.monotonic() - started
    if not tested.ok:
        failed = ", ".join(failed_tests(tested.output)) or "see the output below"
        raise SetupError(f"tests fail on the unchanged copy ({failed}); no fault can be judged "
                         "until they pass:\n" + tested.output[-4000:])
    # A fault that makes a test loop is caught; the time-out says when to stop waiting.
    timeout = timeout or max(120, int(3 * elapsed))
    print(f"All tests pass in {elapsed:.0f} s; a run of the tests is stopped after {timeout} s.",
          flush=True)
    return tree, build, env, timeout


def parse_arguments():
    parser = argparse.ArgumentParser(
        description="Plant faults one at a time in a copy of the tree and report which the "
                    "tests catch.")
    parser.add_argument("--faults", type=Path, default=DEFAULT_FAULTS,
                        help="the list of faults (default: %(default)s)")
    parser.add_argument("--only", metavar="PATTERN",
                        help="only the faults whose file or description matches this regular "
                             "expression (case ignored)")
    parser.add_argument("--check", action="store_true",
                        help="only check that every fault applies exactly once; build nothing")
    parser.add_argument("--worktree", action="store_true",
                        help="copy the files as they are now (untracked ones too), not HEAD's")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1,
                        help="parallel jobs of the build and of ctest (default: %(default)s)")
    parser.add_argument("--timeout", type=int, metavar="SECONDS",
                        help="stop a run of the tests after this long and count the fault as "
                             "caught (default: three times the unchanged run, at least 120)")
    parser.add_argument("--every-test", action="store_true",
                        help="run every test on each fault, not only up to the first that "
                             "fails, and name the faults each test alone catches")
    parser.add_argument("--work", type=Path, metavar="DIR",
                        help="keep the copy and its build here, and reuse them on the next run")
    parser.add_argument("--keep", action="store_true",
                        help="keep the temporary work folder when done")
    return parser.parse_args()


def mutate(arguments, faults, files, work):
    tree, build, env, timeout = prepare(work, files, arguments.jobs, arguments.timeout)
    logs = work / "logs"
    logs.mkdir(exist_ok=True)
    results = []
    try:
        for position, fault in enumerate(faults, start=1):
            result = try_fault(fault, tree, build, arguments.jobs, timeout, env, logs,
                               arguments.every_test)
            results.append(result)
            print(report_line(result, position, len(faults)), flush=True)
    except KeyboardInterrupt:
        print(summary(results, len(faults)))
        print("Interrupted; the file being changed was put back.")
        return 130
    print(summary(results, len(faults)))
    if arguments.every_test:
        print(sole_catchers(results, test_names(build, env)))
    print(f"Logs of each build and test run: {logs}")
    return 0


def main():
    arguments = parse_arguments()
    try:
        faults = select(parse_faults(arguments.faults), arguments.only)
        if not faults:
            raise SetupError(f"no fault matches {arguments.only!r}")
        files = files_in_worktree() if arguments.worktree else files_at_head()
        if arguments.check:
            return 0 if check_list(faults, files) else 1

        work = arguments.work or Path(tempfile.mkdtemp(prefix="leafwright-mutate-"))
        work = work.resolve()
        try:
            return mutate(arguments, faults, files, work)
        finally:
            if arguments.work is None and not arguments.keep:
                shutil.rmtree(work, ignore_errors=True)
            else:
                print(f"The work folder is kept: {work}")
    except SetupError as problem:
        print(f"mutate.py: {problem}", file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        print("\nInterrupted before any fault was tried.", file=sys.stderr)
        return 130
    except subprocess.CalledProcessError as problem:
        print(f"mutate.py: {' '.join(problem.cmd)} failed:\n{problem.stderr.decode()}",
              file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
