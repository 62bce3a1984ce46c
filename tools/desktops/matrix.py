#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""Runs the real program on real desktops, headless, and checks what a user
would see (tools/desktop-matrix.sh is the way in; see there for the options).

Each environment runs in a process and a session of its own, with a time
limit: whatever it leaves behind is found by the session and ended. The
results become a Markdown table for the Debian release the matrix runs on; a
failure that tools/desktops/limits.tsv lists for that release prints as
"limit", any other makes the exit status 1.
"""

import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from desktop import CHECKS, package_version  # noqa: E402

# No environment may hang the matrix: each gets this long, then its session is ended.
ENV_TIMEOUT = 300
LIMITS = os.path.join(HERE, "limits.tsv")


def release():
    """The Debian release the matrix runs on: "12", "13", ..."""
    try:
        with open("/etc/os-release") as f:
            fields = dict(l.rstrip("\n").split("=", 1) for l in f if "=" in l)
        return fields.get("VERSION_ID", "?").strip('"')
    except OSError:
        return "?"


def debian_version():
    try:
        with open("/etc/debian_version") as f:
            return f.read().strip()
    except OSError:
        return "?"


# ---------------------------------------------------------------- results and limits

def read_results(path):
    """{(env, check): (status, figure)}, the last line of a check counting."""
    results = {}
    with open(path) as f:
        for line in f:
            parts = line.rstrip("\n").split("\t", 3)
            if len(parts) == 4:
                results[(parts[0], parts[1])] = (parts[2], parts[3])
    return results


def read_limits(path, of_release):
    """{(env, check): reason} of the release: lines "release<TAB>environment
    <TAB>check<TAB>reason"; lines starting with # are comments."""
    limits = {}
    try:
        with open(path) as f:
            for line in f:
                parts = line.rstrip("\n").split("\t")
                if line.startswith("#") or len(parts) < 4:
                    continue
                if parts[0] == of_release:
                    limits[(parts[1], parts[2])] = parts[3]
    except OSError:
        pass
    return limits


def short_figure(text):
    """What a table cell shows of a figure: the text before its first ";", at
    most 40 characters, with the table's "|" escaped."""
    s = text.split(";", 1)[0]
    if len(s) > 40:
        s = s[:39] + "…"
    return s.replace("|", "\\|")


def summarise(results, limits, envs, limits_name="the limits"):
    """The table and the failures in full; and whether a check failed that
    the limits do not list (a check without a result has failed)."""
    out = ["", "| environment | " + " | ".join(CHECKS) + " |", "|---|" + "---|" * len(CHECKS)]
    details, stale, failed = [], [], False
    for env in envs:
        cells = []
        for check in CHECKS:
            status, figure = results.get((env, check), ("fail", "no result"))
            reason = limits.get((env, check))
            if status in ("pass", "n/a"):
                cell = status
                if reason is not None:
                    stale.append("- %s / %s is listed in %s but gave %s" % (env, check,
                                                                            limits_name, status))
            elif reason is not None:
                cell = "limit"
                details.append("- %s / %s: limit (%s): %s" % (env, check, reason, figure))
            else:
                cell, failed = "FAIL", True
                details.append("- %s / %s: FAIL: %s" % (env, check, figure))
            cells.append(cell + (" " + short_figure(figure) if figure else ""))
        out.append("| %s | %s |" % (env, " | ".join(cells)))
    if details:
        out += ["", "Failures and limits:", ""] + details
    if stale:
        out += ["", "Limits that no longer hold:", ""] + stale
    return "\n".join(out) + "\n", failed


# ---------------------------------------------------------------- running the environments

def session_pids(sid):
    out = subprocess.run(["ps", "-o", "pid=", "--sid", str(sid)], capture_output=True, text=True)
    return [int(p) for p in out.stdout.split()]


def run_environment(env, args, work, results, versions):
    """One environment in a session of its own; returns its exit status."""
    cmd = [sys.executable, os.path.abspath(__file__), "--run-environment", env,
           "--work", os.path.join(work, env), "--results", results, "--versions", versions,
           "--program-dir", args.program_dir, "--clients", args.clients]
    for option in args.option:
        cmd += ["--option", option]
    proc = subprocess.Popen(cmd, start_new_session=True)
    try:
        status = proc.wait(ENV_TIMEOUT)
    except subprocess.TimeoutExpired:
        print("desktop-matrix: %s took longer than %d s and was ended" % (env, ENV_TIMEOUT),
              file=sys.stderr)
        proc.terminate()  # its checks not reached fail, and it ends what it started
        try:
            status = proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()
            status = proc.wait()
    # Whatever the desktop started in turn (activated services, XWayland).
    for sig in (signal.SIGTERM, signal.SIGKILL):
        left = session_pids(proc.pid)
        for pid in left:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        if left and sig == signal.SIGTERM:
            time.sleep(0.5)  # a moment to go before the certain end
    return status


def run_one(args):
    """The child: one environment, its results appended to --results."""
    from desktop import Abort
    from environments import ENVIRONMENTS

    desktop = ENVIRONMENTS[args.run_environment](args.work, args.results, args.versions,
                                                 args.program_dir, args.clients, args.option)

    def stopped(*_):
        # Once: a second signal must not cut the cleaning short.
        signal.signal(signal.SIGTERM, signal.SIG_IGN)
        raise Abort("stopped by a signal (timeout?)")
    signal.signal(signal.SIGTERM, stopped)
    desktop.main()
    return 0


def main(argv=None):
    from environments import CLIENT_PACKAGES, COMMON_PACKAGES, ENVIRONMENTS
    parser = argparse.ArgumentParser(prog="desktop-matrix")
    parser.add_argument("envs", nargs="*", metavar="ENV")
    parser.add_argument("--program-dir", default="build/bin")
    parser.add_argument("--clients", default=None,
                        help="the folder of our Wayland clients (default: the program folder)")
    parser.add_argument("--keep", action="store_true")
    parser.add_argument("--option", action="append", default=[])
    parser.add_argument("--limits", default=LIMITS)
    parser.add_argument("--release", default=None, help=argparse.SUPPRESS)
    parser.add_argument("--packages", action="store_true", help=argparse.SUPPRESS)
    parser.add_argument("--run-environment", help=argparse.SUPPRESS)
    parser.add_argument("--work", help=argparse.SUPPRESS)
    parser.add_argument("--results", help=argparse.SUPPRESS)
    parser.add_argument("--versions", help=argparse.SUPPRESS)
    args = parser.parse_args(argv)
    if args.run_environment:
        return run_one(args)
    for env in args.envs:
        if env not in ENVIRONMENTS:
            print("desktop-matrix: unknown environment '%s' (%s)" % (env, " ".join(ENVIRONMENTS)),
                  file=sys.stderr)
            return 2
    for option in args.option:
        if "=" not in option or option.startswith("="):
            print("desktop-matrix: --option takes KEY=VALUE, not '%s'" % option, file=sys.stderr)
            return 2
    if args.packages:
        # What the environments need, for tools/setup.sh.
        wanted = set(COMMON_PACKAGES)
        for env in args.envs or ENVIRONMENTS:
            wanted.update(ENVIRONMENTS[env].packages)
            if ENVIRONMENTS[env].wayland:
                wanted.update(CLIENT_PACKAGES)
        print("\n".join(sorted(wanted)))
        return 0

    envs = args.envs or list(ENVIRONMENTS)
    args.program_dir = os.path.abspath(args.program_dir)
    args.clients = os.path.abspath(args.clients or args.program_dir)
    if not os.access(os.path.join(args.program_dir, "orvanta"), os.X_OK):
        print("desktop-matrix: no program in %s (build first)" % args.program_dir, file=sys.stderr)
        return 2

    work = tempfile.mkdtemp(prefix="orvanta-matrix.")
    os.chmod(work, 0o755)
    results, versions = os.path.join(work, "results.tsv"), os.path.join(work, "versions.tsv")
    open(results, "w").close()
    open(versions, "w").close()
    seconds = {}
    for env in envs:
        print("== " + env, file=sys.stderr, flush=True)
        start = time.monotonic()
        status = run_environment(env, args, work, results, versions)
        seconds[env] = time.monotonic() - start
        got = read_results(results)
        with open(results, "a") as f:
            for check in CHECKS:
                if (env, check) not in got:
                    f.write("%s\t%s\tfail\tnot reached: the environment was ended (status %s)\n"
                            % (env, check, status))

    of_release = args.release or release()
    table, failed = summarise(read_results(results), read_limits(args.limits, of_release), envs,
                              os.path.relpath(args.limits))
    version = subprocess.run([os.path.join(args.program_dir, "orvanta"), "--version"],
                             capture_output=True, text=True).stdout.splitlines()
    print("\nDebian %s (%s), Qt %s, %s:" % (of_release, debian_version(),
                                           package_version("libqt6gui6"),
                                           version[0] if version else "orvanta ?"))
    print(table, end="")
    print("\nVersions:\n")
    noted = {}
    with open(versions) as f:
        for line in f:
            env, _, text = line.rstrip("\n").partition("\t")
            noted.setdefault(env, []).append(text)
    for env in envs:
        print("- %s: %s (%d s)" % (env, "; ".join(noted.get(env, [])), seconds[env]))
    if args.keep:
        print("\nWork folder kept: " + work)
    else:
        subprocess.run(["rm", "-rf", work])
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
