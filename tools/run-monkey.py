#!/usr/bin/env python3
"""The window under seeded random use: make monkey SECONDS=N SEED=S.

Starts the sanitizer build's skerry-monkey (Skerry with an exerciser inside, tools/monkey) on a
virtual X display, in a fresh sandbox folder that holds copies of the example scans and serves as
its home, settings, cache, runtime and temporary folder, and as its working folder. The first
start opens one scan, the next a run of several scans, and so on by turns; whenever the program
ends (the exit question answered with Yes) it is started again until the time is up. Under root
the program runs as the user "nobody", who owns nothing but the sandbox.

The run fails, printing the seed and the last 30 events so that the same seed replays it, when
the program crashes, a sanitizer reports, Qt reports a broken promise, a window does not answer
for 10 s, or a file appears outside the sandbox (in $HOME, the checkout, the temporary folders
or at the top of /). At the end it prints how many events each kind of window received.
"""

import argparse
import collections
import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time

CHECKOUT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NOBODY = 65534
SANITIZER_REPORTS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:")
# The leak checker's own thread, which stops the others at exit to scan their memory, now and
# then crashes on its own (a known fault of the sanitizer runtime, not a leak report): the start
# is run again with the same events, and fails only if that crashes too.
TRACER_CRASH = "LeakSanitizer has encountered a fatal error"


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=int, default=60)
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--program", default=os.path.join(CHECKOUT, "build-asan/bin/skerry-monkey"))
    return parser.parse_args()


def make_sandbox(run_folder, as_user):
    sandbox = os.path.join(run_folder, "sandbox")
    examples = os.path.join(CHECKOUT, "examples")
    shutil.copytree(examples, sandbox)
    for folder in ("home", "config", "cache", "data", "runtime", "tmp"):
        os.mkdir(os.path.join(sandbox, folder))
    os.chmod(os.path.join(sandbox, "runtime"), 0o700)
    if as_user is not None:
        for root, folders, files in os.walk(sandbox):
            for name in [root] + [os.path.join(root, entry) for entry in folders + files]:
                os.chown(name, as_user, as_user)
    return sandbox


def start_display():
    """Xvfb on a free display, open to every local user; returns (process, display)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-ac", "-nolisten",
         "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as answer:
        number = answer.readline().strip()
    if not number:
        sys.exit("monkey: Xvfb did not start")
    return server, ":" + number


def environment(sandbox, display):
    env = {
        "PATH": "/usr/bin:/bin",
        "LANG": "C.UTF-8",
        "DISPLAY": display,
        "QT_QPA_PLATFORM": "xcb",
        "HOME": os.path.join(sandbox, "home"),
        "XDG_CONFIG_HOME": os.path.join(sandbox, "config"),
        "XDG_CACHE_HOME": os.path.join(sandbox, "cache"),
        "XDG_DATA_HOME": os.path.join(sandbox, "data"),
        "XDG_RUNTIME_DIR": os.path.join(sandbox, "runtime"),
        "TMPDIR": os.path.join(sandbox, "tmp"),
        "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=1",
        "LSAN_OPTIONS": "suppressions=%s:print_suppressions=0"
                        % os.path.join(CHECKOUT, "tools/monkey/lsan.supp"),
        "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1:abort_on_error=1",
    }
    return env


def files_to_open(sandbox, start, as_user):
    """One scan, then a run of several scans, by turns: fresh copies in a folder of their own
    for every start, since an earlier start may have deleted, renamed or replaced the sandbox's
    own through a file dialog."""
    examples = os.path.join(CHECKOUT, "examples")
    if start % 2 == 0:
        scans = [os.path.join(examples, "cell1-absorbance.RA1")]
    else:
        run = os.path.join(examples, "run")
        scans = sorted(os.path.join(run, name) for name in os.listdir(run) if name.endswith(".RA1"))
    # Named by the start alone, so that a replay shows the program the same paths.
    folder = os.path.join(sandbox, "scans-of-start-%d" % start)
    shutil.rmtree(folder, ignore_errors=True)
    os.mkdir(folder)
    copies = [shutil.copy(scan, folder) for scan in scans]
    if as_user is not None:
        for name in [folder] + copies:
            os.chown(name, as_user, as_user)
    return copies


def written_since(marker, uid, run_folder):
    """Files and folders owned by uid changed after `marker`, outside the run folder."""
    home = pwd.getpwuid(os.getuid()).pw_dir
    places = [(home, 3), (CHECKOUT, 64), ("/tmp", 64), ("/var/tmp", 64), ("/dev/shm", 64),
              ("/", 1)]
    found = set()
    for place, depth in places:
        for root, folders, files in os.walk(place):
            relative = os.path.relpath(root, place)
            below = 0 if relative == "." else relative.count(os.sep) + 1
            folders[:] = [f for f in folders if os.path.join(root, f) != run_folder]
            for name in folders + files:
                path = os.path.join(root, name)
                try:
                    info = os.lstat(path)
                except OSError:
                    continue
                if info.st_uid == uid and max(info.st_mtime, info.st_ctime) >= marker:
                    found.add(path)
            if below + 1 >= depth:
                folders[:] = []
    return sorted(found)


def fail(why, arguments, start, log, err):
    print("monkey: FAILED: %s (sandbox and logs kept in %s)" % (why, os.path.dirname(err)))
    if os.path.exists(err):
        with open(err, errors="replace") as text:
            lines = text.readlines()
        print("monkey: the program's last messages:")
        sys.stdout.writelines(lines[-80:])
    if os.path.exists(log):
        with open(log, errors="replace") as text:
            events = text.readlines()
        print("monkey: the last %d events of start %d:" % (min(30, len(events)), start))
        sys.stdout.writelines(events[-30:])
    print("monkey: seed %d, start %d; replay with: make monkey SECONDS=%d SEED=%d"
          % (arguments.seed, start, arguments.seconds, arguments.seed))
    sys.exit(1)


def run_once(command, sandbox, env, err, timeout):
    """Runs one start with its standard error written to err. Returns its exit status (None when
    it did not end within timeout seconds, and is killed) and what it wrote there."""
    with open(err, "w") as errors:
        program = subprocess.Popen(command, cwd=sandbox, env=env, stdout=subprocess.DEVNULL,
                                   stderr=errors)
        try:
            status = program.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
            status = None
    with open(err, errors="replace") as text:
        return status, text.read()


def main():
    arguments = parse_arguments()
    if not os.access(arguments.program, os.X_OK):
        sys.exit("monkey: %s is missing; make monkey builds it" % arguments.program)
    print("monkey: seed %d, %d s" % (arguments.seed, arguments.seconds), flush=True)
    prefix = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"]
    # As nobody only where nobody can reach the program (not inside a private folder).
    as_nobody = (os.getuid() == 0 and shutil.which("setpriv") is not None
                 and subprocess.run(prefix + ["test", "-x", arguments.program]).returncode == 0)
    if not as_nobody:
        prefix = []
    print("monkey: runs as %s" % ("nobody" if as_nobody else "this user"), flush=True)
    uid = NOBODY if as_nobody else os.getuid()
    run_folder = tempfile.mkdtemp(prefix="skerry-monkey-")
    os.chmod(run_folder, 0o755)
    sandbox = make_sandbox(run_folder, NOBODY if as_nobody else None)
    server, display = start_display()
    env = environment(sandbox, display)
    events = collections.Counter()
    marker = time.time() - 1
    deadline = time.monotonic() + arguments.seconds
    start = 0
    try:
        while (left := int(deadline - time.monotonic())) > 2:
            log = os.path.join(sandbox, "start-%d.log" % start)
            err = os.path.join(run_folder, "start-%d.err" % start)
            for attempt in range(2):
                if attempt == 1:
                    print("monkey: start %d: the leak checker crashed on its own at exit; running "
                          "the start again" % start, flush=True)
                    err = os.path.join(run_folder, "start-%d-again.err" % start)
                command = prefix + [arguments.program, str(arguments.seed), str(start), str(left),
                                    log, sandbox] + files_to_open(sandbox, start,
                                                                  uid if as_nobody else None)
                status, messages = run_once(command, sandbox, env, err, left + 60)
                if status is None:
                    fail("the program did not end after its time", arguments, start, log, err)
                reports = [r for r in SANITIZER_REPORTS if r in messages]
                if reports or TRACER_CRASH not in messages:
                    break
            # 1 is the program's own end after the message that a save failed.
            if status not in (0, 1) or reports:
                why = ("killed by signal %d" % -status if status < 0
                       else "exit status %d" % status if status else reports[0])
                fail(why, arguments, start, log, err)
            if os.path.exists(log):
                with open(log, errors="replace") as text:
                    for line in text:
                        fields = line.rstrip("\n").split("\t")
                        if len(fields) == 3 and fields[1] != "-":
                            events[fields[1]] += 1
            start += 1
    finally:
        server.send_signal(signal.SIGTERM)
        server.wait()
    print("monkey: %d starts, %d events; events per window:" % (start, sum(events.values())))
    for window, count in events.most_common():
        print("%8d  %s" % (count, window))
    stray = written_since(marker, uid, run_folder)
    if stray:
        print("monkey: FAILED: written outside the sandbox:")
        print("\n".join(stray))
        print("monkey: seed %d; replay with: make monkey SECONDS=%d SEED=%d"
              % (arguments.seed, arguments.seconds, arguments.seed))
        sys.exit(1)
    shutil.rmtree(run_folder)
    print("monkey: passed")


if __name__ == "__main__":
    main()
