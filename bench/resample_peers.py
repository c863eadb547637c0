#!/usr/bin/env python3
"""The resampler and its peers timed in interleaved rounds: for each case,
on one thread and then on THREADS, every timer resamples once (untimed, to
settle), then each round asks every timer in turn for one resampling, so that
the machine's drift between rounds touches them all alike. Each timer is a
process speaking the protocol of bench/timer_requests.h.

  resample_peers.py --cases FILE --rounds R --threads N
                    --ours BUILD COMMAND [--ours BUILD COMMAND ...]
                    --peer NAME COMMAND [--peer NAME COMMAND ...]

FILE holds the cases as `resample_timer --cases` lists them; COMMAND is one
shell-quoted command line. Prints one line per case and build:
  BUILD/resample/<w>x<h>/<bits>bit/<factor>: tessaline=<min>/<median> ms
      NAME=<min>/<median> ms ... speedup=<fastest peer's min / ours min> (vs NAME)
and the same as BUILD/resample-threads/... with threads=N at the end.
"""
import argparse
import shlex
import statistics
import subprocess
import sys


class Timer:
    """One timer process, asked for one resampling at a time."""

    def __init__(self, name, command):
        self.name = name
        self.process = subprocess.Popen(shlex.split(command), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, bufsize=1)

    def time(self, case, threads):
        """The milliseconds of one resampling of `case` on `threads` threads."""
        self.process.stdin.write(f"time {case} {threads}\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().strip()
        if not answer:
            sys.exit(f"resample_peers: {self.name} timer ended (status {self.process.wait()})")
        if answer.startswith("error"):
            sys.exit(f"resample_peers: {self.name} timer, case {case}: {answer}")
        return float(answer)

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def interleaved_times(timers, case, threads, rounds):
    """Each timer's `rounds` times, taken in turns, after one untimed run each."""
    for timer in timers:
        timer.time(case, threads)
    times = {timer.name: [] for timer in timers}
    for _ in range(rounds):
        for timer in timers:
            times[timer.name].append(timer.time(case, threads))
    return times


def figure(samples):
    return f"{min(samples):.4g}/{statistics.median(samples):.4g} ms"


def case_lines(prefix, case, threads, times, ours, peers):
    """One line per build: ours beside every peer, the speedup against the fastest."""
    width, height, bits, factor = case.split()[:4]
    name = f"{prefix}/{width}x{height}/{bits}bit/{factor}"
    fastest = min(peers, key=lambda peer: min(times[peer]))
    peer_figures = " ".join(f"{peer}={figure(times[peer])}" for peer in peers)
    suffix = f" threads={threads}" if prefix == "resample-threads" else ""
    for build in ours:
        speedup = min(times[fastest]) / min(times[build])
        yield (f"{build}/{name}: tessaline={figure(times[build])} {peer_figures}"
               f" speedup={speedup:.3g} (vs {fastest}){suffix}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cases", required=True)
    parser.add_argument("--rounds", type=int, required=True)
    parser.add_argument("--threads", type=int, required=True)
    parser.add_argument("--ours", nargs=2, action="append", required=True, metavar=("BUILD", "COMMAND"))
    parser.add_argument("--peer", nargs=2, action="append", required=True, metavar=("NAME", "COMMAND"))
    arguments = parser.parse_args()
    with open(arguments.cases) as listing:
        cases = [line.strip() for line in listing if line.strip()]
    timers = [Timer(name, command) for name, command in arguments.ours + arguments.peer]
    ours = [name for name, _ in arguments.ours]
    peers = [name for name, _ in arguments.peer]
    for case in cases:
        for prefix, threads in (("resample", 1), ("resample-threads", arguments.threads)):
            times = interleaved_times(timers, case, threads, arguments.rounds)
            for line in case_lines(prefix, case, threads, times, ours, peers):
                print(line, flush=True)
    for timer in timers:
        timer.close()


if __name__ == "__main__":
    main()
