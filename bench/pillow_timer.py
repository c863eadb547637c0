#!/usr/bin/python3
"""Pillow's exact area averaging (Image.resize with Image.BOX), a peer of the
resampler, timed one resizing at a time for bench/resample_peers.py (the
protocol: bench/timer_requests.h), in process on the pictures that
write_pictures saved, each read once and kept decoded as Pillow decodes them:
a palette picture ("P").

Pillow resizes a palette picture by nearest neighbour only, so each timed
resizing starts with the expansion to RGB: the resampler too starts from the
palette picture. Pillow resizes on one thread; a request's thread count is
not used.
  pillow_timer.py PICTURES

Debian's python3-pil serves Debian's interpreter, hence /usr/bin/python3.
"""
import os
import sys
import time

from PIL import Image

_pictures = {}


def decoded_picture(folder, width, height, bits):
    name = f"{width}x{height}-{bits}bit"
    if name not in _pictures:
        picture = Image.open(os.path.join(folder, name + ".bmp"))
        picture.load()
        _pictures[name] = picture
    return _pictures[name]


def time_resize(folder, request):
    """One expansion and resizing's milliseconds by the clock and by this
    thread's processor time ("shared" if the process spent more: another
    thread worked), or "error <why>"."""
    _, width, height, bits, _factor, to_width, to_height, _threads = request.split()
    picture = decoded_picture(folder, int(width), int(height), int(bits))
    if picture.mode != "P":
        return f"error {picture.mode} picture, not a palette one"
    size = (int(to_width), int(to_height))
    # Both images are let go after the clocks stop, as the other timers'.
    thread_start, process_start = time.thread_time_ns(), time.process_time_ns()
    start = time.perf_counter_ns()
    expanded = picture.convert("RGB")
    resized = expanded.resize(size, Image.BOX)
    elapsed = (time.perf_counter_ns() - start) / 1e6
    thread = (time.thread_time_ns() - thread_start) / 1e6
    process = (time.process_time_ns() - process_start) / 1e6
    if resized.size != size:
        return f"error resized to {resized.size}"
    # The clocks are read one after the other: the process's may run ahead a little.
    return f"{elapsed:.4f} {thread:.4f}" if process <= thread * 1.02 + 0.05 else f"{elapsed:.4f} shared"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: pillow_timer.py PICTURES")
    for request in sys.stdin:
        if not request.startswith("time "):
            print(f"error not a request: {request.strip()}", flush=True)
            sys.exit(2)
        print(time_resize(sys.argv[1], request), flush=True)


if __name__ == "__main__":
    main()
