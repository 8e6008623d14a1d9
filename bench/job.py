#!/usr/bin/env python3
"""The whole print job, measured beside what it is made of.

For a 36-page and a 1-page document on the private print system's 300 dpi queue, in one run:
  - Kestrova: the real program run with a link to a web server on 127.0.0.1, wall time from start until it
    exits (the print system then holds the whole job) and its peak memory (RSS);
  - lp: the same file sent to the same queue, wall time until lp returns (the print system holds the job);
  - the raw engine: bench_document rendering the same pages at 300 dpi with the same options.
Targets: Kestrova at most 1.5 x the raw render time; peak RSS at most two page bitmaps plus 100 MB.
Usage: bench/job.py [BUILD_DIR]
"""
import functools
import http.server
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
TESTDATA = os.path.join(ROOT, "..", "shared", "testdata", "realworld")
DOCUMENTS = [("36 pages", os.path.join(TESTDATA, "libtasn1.pdf")),
             ("1 page", os.path.join(TESTDATA, "default-testpage.pdf"))]
REPETITIONS = 5
PAGE_BITMAP = 2550 * 3300 * 4  # a Letter page at 300 dpi, 32 bits a pixel


def run_measured(command, env):
    """Runs command, returns (wall seconds, peak RSS in MiB) of that child alone."""
    start = time.perf_counter()
    child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{command[0]} failed with {status}")
    return wall, usage.ru_maxrss / 1024


def raw_render_seconds(document):
    out = subprocess.run([os.path.join(BUILD, "bin", "bench_document"), "--benchmark_format=json",
                          f"--benchmark_repetitions={REPETITIONS}", "--benchmark_min_time=0.01"],
                         env=dict(os.environ, KESTROVA_BENCH_PDF=document), check=True,
                         capture_output=True, text=True).stdout
    runs = [b["real_time"] for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    return statistics.median(runs) / 1000


def main():
    if not all(os.path.exists(path) for _, path in DOCUMENTS):
        raise SystemExit("the shared test documents are missing (../shared/testdata/realworld)")
    work = tempfile.mkdtemp(prefix="kestrova-bench-")
    install = os.path.join(work, "install")
    os.makedirs(install)
    for name in ("Kestrova", "libpdfium.so"):
        shutil.copy2(os.path.join(BUILD, "bin", name), install)
    printdir = os.path.join(work, "print")
    env_lines = subprocess.run([os.path.join(ROOT, "scripts", "print-system.sh"), "start", printdir],
                               check=True, capture_output=True, text=True).stdout
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for line in env_lines.splitlines():
        name, value = line.removeprefix("export ").split("=", 1)
        env[name] = value.strip("'")
    os.environ.update({k: v for k, v in env.items() if k.startswith("CUPS_")})
    queue = env["KESTROVA_DEFAULT_PRINTER"]

    class QuietHandler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(QuietHandler, directory=TESTDATA)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        print(f"{'document':10} {'Kestrova s':>11} {'lp s':>7} {'raw render s':>13} {'job/raw':>8} "
              f"{'peak RSS MiB':>13} {'RSS limit MiB':>14}")
        for label, path in DOCUMENTS:
            url = f"http://127.0.0.1:{server.server_port}/{os.path.basename(path)}"
            link = "kestrova://print/?moduleaddress=bench&pdfurl=" + urllib.parse.quote(url, safe="")
            jobs = [run_measured([os.path.join(install, "Kestrova"), link], env) for _ in range(REPETITIONS)]
            lps = [run_measured(["lp", "-d", queue, path], env)[0] for _ in range(REPETITIONS)]
            raw = raw_render_seconds(path)
            job = statistics.median(wall for wall, _ in jobs)
            rss = max(peak for _, peak in jobs)
            limit = (2 * PAGE_BITMAP) / 2**20 + 100
            print(f"{label:10} {job:11.2f} {statistics.median(lps):7.2f} {raw:13.2f} {job / raw:8.2f} "
                  f"{rss:13.0f} {limit:14.0f}")
    finally:
        server.shutdown()
        subprocess.run([os.path.join(ROOT, "scripts", "print-system.sh"), "stop", printdir],
                       capture_output=True)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
