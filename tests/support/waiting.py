"""Waiting for what a test's processes do, and reading what they wrote."""

import time


def wait_for(what, probe, seconds, interval, retried=()):
    """probe()'s first true answer, asked every `interval` seconds; fails after `seconds`.
    A probe that raises one of `retried` is asked again."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            answer = probe()
        except retried:
            answer = None
        if answer:
            return answer
        time.sleep(interval)
    raise AssertionError("timed out waiting for " + what)


def read(path):
    with open(path, errors="replace") as file:
        return file.read()
