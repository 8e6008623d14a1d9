#!/usr/bin/env python3
"""The whole print job, measured as the user waits for it: time to paper.

Time to paper runs from the start of a command until the print system has delivered the whole job to the
printer: the printed document has landed in the private print system's output (the backend or the driverless
printer holds every page) and the queue is empty again. In one run, for a 36-page and a 1-page document, on the
driverless 600 dpi printer (ippeveprinter behind an IPP Everywhere queue), on a 300 dpi queue that makes PDF,
and two-sided in colour on the two-sided colour driverless printer (the link's print options, lp's -o):
  - Kestrova: the real program started with a link to a web server on 127.0.0.1, and its peak memory (RSS);
  - lp: the same file sent to the same queue with lp, measured the same way;
  - the raw engine: bench_document rendering the same pages at the printer's resolution with the job's options.
Targets: on the driverless printer Kestrova at most 1.5 x the raw render and below lp; peak RSS at most two page
bitmaps plus 100 MB, flat from 1 to 36 pages.
Usage: bench/job.py [BUILD_DIR]
"""
import functools
import glob
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
REPETITIONS = 3
TIMEOUT = 300


def page_bitmap(dpi):
    """Bytes of a Letter page at dpi, 32 bits a pixel."""
    return int(8.5 * dpi) * 11 * dpi * 4


def delivered(output, queue, seen):
    """Whether a document of queue not in seen has landed in output and the queue is empty again."""
    if not set(glob.glob(os.path.join(output, f"{queue}-*"))) - seen:
        return False
    return not subprocess.run(["lpstat", "-o", queue], capture_output=True, text=True).stdout.strip()


def time_to_paper(command, env, output, queue):
    """Runs command; returns (seconds until its job is delivered, peak RSS of the command in MiB)."""
    seen = set(glob.glob(os.path.join(output, f"{queue}-*")))
    start = time.perf_counter()
    child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    usage = None
    while True:
        if usage is None:
            pid, status, rusage = os.wait4(child.pid, os.WNOHANG)
            if pid:
                if os.waitstatus_to_exitcode(status) != 0:
                    raise SystemExit(f"{command[0]} failed with {status}")
                usage = rusage
        if delivered(output, queue, seen):
            paper = time.perf_counter() - start
            if usage is None:
                _, _, usage = os.wait4(child.pid, 0)
            return paper, usage.ru_maxrss / 1024
        if time.perf_counter() - start > TIMEOUT:
            child.kill()
            raise SystemExit(f"nothing delivered on {queue} within {TIMEOUT} s")
        time.sleep(0.005)


def raw_render_seconds(document, dpi):
    out = subprocess.run([os.path.join(BUILD, "bin", "bench_document"), "--benchmark_format=json",
                          f"--benchmark_repetitions={REPETITIONS}", "--benchmark_min_time=0.01"],
                         env=dict(os.environ, KESTROVA_BENCH_PDF=document, KESTROVA_BENCH_DPI=str(dpi)),
                         check=True, capture_output=True, text=True).stdout
    runs = [b["real_time"] for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    return statistics.median(runs) / 1000


def main():
    if not all(os.path.exists(path) for _, path in DOCUMENTS):
        raise SystemExit("the shared test documents are missing (../shared/testdata/realworld)")
    work = tempfile.mkdtemp(prefix="kestrova-bench-")
    # The print system's filters and backends run as an unprivileged user and must reach its spool inside.
    os.chmod(work, 0o755)
    install = os.path.join(work, "install")
    os.makedirs(install)
    for name in ("Kestrova", "libpdfium.so"):
        shutil.copy2(os.path.join(BUILD, "bin", name), install)
    printdir = os.path.join(work, "print")
    env_lines = subprocess.run([os.path.join(ROOT, "scripts", "print-system.sh"), "start", printdir],
                               check=True, capture_output=True, text=True).stdout
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for line in env_lines.splitlines():
        if line.startswith("export "):
            name, value = line.removeprefix("export ").split("=", 1)
            env[name] = value.strip("'")
        elif line.startswith("unset "):
            for name in line.split()[1:]:
                env.pop(name, None)
    os.environ.update({k: v for k, v in env.items() if k.startswith("CUPS_")})
    output = env["KESTROVA_PRINT_OUTPUT"]
    # Each printer: its queue, resolution, label and print options.
    two_sided_colour = {"sides": "two-sided-long-edge", "print-color-mode": "color"}
    printers = [(env["KESTROVA_DRIVERLESS_PRINTER"], 600, "driverless 600 dpi", {}),
                (env["KESTROVA_DEFAULT_PRINTER"], 300, "PDF queue 300 dpi", {}),
                (env["KESTROVA_DUPLEX_PRINTER"], 600, "2-sided colour 600", two_sided_colour)]
    if not env["KESTROVA_DRIVERLESS_PRINTER"]:
        print(f"no driverless printers: {env['KESTROVA_DRIVERLESS_ERROR']}")
        printers = printers[1:2]

    class QuietHandler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(QuietHandler, directory=TESTDATA)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        print(f"time to paper, median of {REPETITIONS}")
        print(f"{'printer':19} {'document':9} {'Kestrova s':>10} {'lp s':>6} {'raw s':>6} {'K/raw':>6} "
              f"{'K/lp':>5} {'peak RSS MiB':>12} {'RSS limit MiB':>13}")
        for queue, dpi, label, options in printers:
            # With no assignment table, the default printer serves every module; PRINTER makes it this queue.
            queue_env = dict(env, PRINTER=queue)
            lp_options = [word for name, value in options.items() for word in ("-o", f"{name}={value}")]
            for name, path in DOCUMENTS:
                url = f"http://127.0.0.1:{server.server_port}/{os.path.basename(path)}"
                link = "kestrova://print/?moduleaddress=bench&pdfurl=" + urllib.parse.quote(url, safe="")
                link += "".join(f"&{name}={value}" for name, value in options.items())
                jobs = [time_to_paper([os.path.join(install, "Kestrova"), link], queue_env, output, queue)
                        for _ in range(REPETITIONS)]
                lps = [time_to_paper(["lp", "-d", queue, *lp_options, path], queue_env, output, queue)[0]
                       for _ in range(REPETITIONS)]
                raw = raw_render_seconds(path, dpi)
                job = statistics.median(paper for paper, _ in jobs)
                lp = statistics.median(lps)
                rss = max(peak for _, peak in jobs)
                limit = 2 * page_bitmap(dpi) / 2**20 + 100
                print(f"{label:19} {name:9} {job:10.2f} {lp:6.2f} {raw:6.2f} {job / raw:6.2f} {job / lp:5.2f} "
                      f"{rss:12.0f} {limit:13.0f}", flush=True)
    finally:
        server.shutdown()
        subprocess.run([os.path.join(ROOT, "scripts", "print-system.sh"), "stop", printdir],
                       capture_output=True)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
