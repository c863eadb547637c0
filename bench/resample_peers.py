#!/usr/bin/env python3
"""The resampler and its peers timed in interleaved rounds: each round
takes every case, on one thread and on THREADS, in turn, and asks the
timers in turn for one resampling each, ours (every build) before each peer,
so that the machine's drift touches them all alike. Each timer is a process
speaking the protocol of bench/timer_requests.h. Ours is timed ROUNDS times
per peer, each peer ROUNDS times.

  resample_peers.py --cases FILE --rounds R --threads N
                    --ours BUILD COMMAND [--ours BUILD COMMAND ...]
                    --peer NAME COMMAND [--peer NAME COMMAND ...]

FILE holds the cases as `resample_timer --cases` lists them; COMMAND is one
shell-quoted command line, run directly (its process is the timer). On one
thread a timer's figure is the processor time of the thread that resampled,
which other programs' load does not lengthen, when every one of its runs ran
on that thread alone; otherwise its time by the clock, and the line names it
after elapsed=. On THREADS threads every figure is the time by the clock.
Prints one line per case and build:
  BUILD/resample/<w>x<h>/<bits>bit/<factor>: tessaline=<min>/<median> ms
      NAME=<min>/<median> ms ... speedup=<fastest peer's min / ours min> (vs NAME)
      [elapsed=<timers timed by the clock>]
and the same as BUILD/resample-threads/... with threads=N at the end.
"""
import argparse
import os
import shlex
import statistics
import subprocess
import sys
import time


class Timer:
    """One timer process, asked for one resampling at a time."""

    def __init__(self, name, command):
        self.name = name
        self.process = subprocess.Popen(shlex.split(command), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, bufsize=1)

    def _threads_processor_ns(self):
        """The processor time of the process's threads, as the system last
        counted it (exactly, for a thread that is waiting)."""
        total = 0
        tasks = f"/proc/{self.process.pid}/task"
        for task in os.listdir(tasks):
            try:
                with open(f"{tasks}/{task}/schedstat") as schedstat:
                    total += int(schedstat.read().split()[0])
            except FileNotFoundError:
                pass  # a thread that has just ended
        return total

    def _wait_until_idle(self):
        """Until the timer waits for the next request: the system counts a
        running thread's time only at its next switch."""
        while True:
            with open(f"/proc/{self.process.pid}/stat") as stat:
                if stat.read().rsplit(")", 1)[1].split()[0] != "R":
                    return
            time.sleep(0)

    def time(self, case, threads):
        """One resampling of `case` on `threads` threads: its milliseconds by
        the clock, and by the processor time of the thread that resampled, or
        None. A timer that cannot count the latter (Wine counts a thread's
        time in 10 ms ticks) has it read from outside on one thread: the time
        its threads spent on the request, reading and answering it included."""
        self._wait_until_idle()
        before = self._threads_processor_ns()
        self.process.stdin.write(f"time {case} {threads}\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().strip()
        if not answer:
            sys.exit(f"resample_peers: {self.name} timer ended (status {self.process.wait()})")
        if answer.startswith("error"):
            sys.exit(f"resample_peers: {self.name} timer, case {case}: {answer}")
        elapsed, processor = answer.split()
        if processor == "shared" or (processor == "unknown" and threads > 1):
            return float(elapsed), None
        if processor == "unknown":
            self._wait_until_idle()
            return float(elapsed), (self._threads_processor_ns() - before) / 1e6
        return float(elapsed), float(processor)

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def interleaved_times(ours, peers, measurements, rounds):
    """Each timer's timings of each (case, threads) measurement, after one
    untimed run each. A round takes every measurement in turn, so that each
    one's runs spread over the whole bench and the machine's drift touches
    them all alike; in a measurement, every build of ours runs before each
    peer, so that ours, being quick, is timed once beside every peer and each
    of its runs, like each peer's, follows another program's."""
    timings = {measurement: {timer.name: [] for timer in ours + peers} for measurement in measurements}
    for case, threads in measurements:
        for timer in ours + peers:
            timer.time(case, threads)
    for _ in range(rounds):
        for case, threads in measurements:
            for peer in peers:
                for timer in ours + [peer]:
                    timings[case, threads][timer.name].append(timer.time(case, threads))
    return timings


def figures(timings, threads):
    """A timer's milliseconds for a measurement: on one thread its processor
    times if every run has one, else, and on several threads, its times by
    the clock; and whether a one-thread measurement fell back to the clock."""
    if threads == 1 and all(processor is not None for _, processor in timings):
        return [processor for _, processor in timings], False
    return [elapsed for elapsed, _ in timings], threads == 1


def case_lines(prefix, case, threads, timings, ours, peers):
    """One line per build: ours beside every peer, the speedup against the fastest."""
    width, height, bits, factor = case.split()[:4]
    name = f"{prefix}/{width}x{height}/{bits}bit/{factor}"
    times, elapsed = {}, {}
    for timer, runs in timings.items():
        times[timer], elapsed[timer] = figures(runs, threads)
    fastest = min(peers, key=lambda peer: min(times[peer]))

    def shown(timer):
        return f"{min(times[timer]):.4g}/{statistics.median(times[timer]):.4g} ms"

    peer_figures = " ".join(f"{peer}={shown(peer)}" for peer in peers)
    for build in ours:
        speedup = min(times[fastest]) / min(times[build])
        line = f"{build}/{name}: tessaline={shown(build)} {peer_figures} speedup={speedup:.3g} (vs {fastest})"
        if prefix == "resample-threads":
            line += f" threads={threads}"
        by_clock = [label for timer, label in [(build, "tessaline")] + [(peer, peer) for peer in peers]
                    if elapsed[timer]]
        if by_clock:
            line += " elapsed=" + ",".join(by_clock)
        yield line


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
    ours = [Timer(name, command) for name, command in arguments.ours]
    peers = [Timer(name, command) for name, command in arguments.peer]
    thread_counts = sorted({1, arguments.threads})
    measurements = [(case, threads) for case in cases for threads in thread_counts]
    timings = interleaved_times(ours, peers, measurements, arguments.rounds)
    for case, threads in measurements:
        prefix = "resample" if threads == 1 else "resample-threads"
        for line in case_lines(prefix, case, threads, timings[case, threads], [timer.name for timer in ours],
                               [timer.name for timer in peers]):
            print(line)
    for timer in ours + peers:
        timer.close()


if __name__ == "__main__":
    main()
