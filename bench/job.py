#!/usr/bin/env python3
"""The whole print job, measured as the user waits for it: time to paper.

Time to paper runs from the start of a command until the print system has delivered the whole job to the
printer: the printed document has landed in the private print system's output (the backend or the driverless
printer holds every page) and the queue is empty again. In one run, for a receipt (80 x 200 mm), the 1-page test
page, the 36-page manual and a 200-page document (the manual repeated), on the driverless 600 dpi printer
(ippeveprinter behind an IPP Everywhere queue) and on a 300 dpi queue that makes PDF, and for the manual
two-sided in colour on the two-sided colour driverless printer (the link's print options, lp's -o):
  - Kestrova: the real program started with a link to a web server on 127.0.0.1, and its peak memory (RSS);
  - lp: the same file sent to the same queue with lp, measured the same way, each run after one of Kestrova's;
  - the yardsticks: the engine alone rendering the same pages at the printer's resolution into an 8-bit gray
    bitmap, in one process (bench_document) and in two side by side, each rendering every other page;
  - the print system alone: lp of the PWG raster that Kestrova sent, to the same queue: what a job still takes
    once its last byte has reached the print system (CUPS starts a job only then), and with the render in two
    processes the least time to paper of one job whose encoding cost nothing (floor).
Every figure is the median of REPETITIONS runs with its spread (min-max).
Targets on the driverless printer: Kestrova at most lp's time for 1 page, at most 0.9 x lp for 36 pages and
0.8 x for 200 pages (the target column gives the ratio, whether it was met and the time it stands for); peak
RSS at most two page bitmaps plus 100 MB, flat from 1 to 200 pages.
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
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from text_pdf import write_text_pdf  # noqa: E402
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
TESTDATA = os.path.join(ROOT, "..", "shared", "testdata", "realworld")
MANUAL = os.path.join(TESTDATA, "libtasn1.pdf")
TEST_PAGE = os.path.join(TESTDATA, "default-testpage.pdf")
# Kestrova's time over lp's that each document must stay within on the driverless printer.
TARGETS = {"receipt": 1.0, "1 page": 1.0, "36 pages": 0.9, "200 pages": 0.8}
REPETITIONS = 3
TIMEOUT = 300


def page_bitmap(dpi):
    """Bytes of a Letter page at dpi, 32 bits a pixel."""
    return int(8.5 * dpi) * 11 * dpi * 4


def write_receipt(path):
    """A one-page receipt of 80 x 200 mm with a few lines of text."""
    write_text_pdf(path, 226.77, 566.93, "Courier", 9, 12, 540, 14,
                   [f"Item {i} .......... {i}.50" for i in range(30)])


def write_200_pages(path):
    """The manual five times and its first 20 pages again: 200 pages."""
    subprocess.run(["qpdf", "--empty", "--pages", *[MANUAL, "1-z"] * 5, MANUAL, "1-20", "--", path],
                   check=True)


def spread(values):
    """The median with its range, as the report prints it."""
    return f"{statistics.median(values):.2f} ({min(values):.2f}-{max(values):.2f})"


def delivered(output, queue, seen):
    """The document of queue not in seen that has landed in output once the queue is empty again, or None."""
    landed = set(glob.glob(os.path.join(output, f"{queue}-*"))) - seen
    if not landed or subprocess.run(["lpstat", "-o", queue], capture_output=True, text=True).stdout.strip():
        return None
    return landed.pop()


def time_to_paper(command, env, output, queue):
    """Runs command; returns (seconds until its job is delivered, peak RSS of the command in MiB, the document
    delivered)."""
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
        document = delivered(output, queue, seen)
        if document:
            paper = time.perf_counter() - start
            if usage is None:
                _, _, usage = os.wait4(child.pid, 0)
            return paper, usage.ru_maxrss / 1024, document
        if time.perf_counter() - start > TIMEOUT:
            child.kill()
            raise SystemExit(f"nothing delivered on {queue} within {TIMEOUT} s")
        time.sleep(0.005)


def raw_render_seconds(document, dpi):
    """The engine alone, into 8-bit gray, in one process: the median of its repetitions and their range."""
    out = subprocess.run([os.path.join(BUILD, "bin", "bench_document"), "--benchmark_format=json",
                          f"--benchmark_repetitions={REPETITIONS}", "--benchmark_min_time=0.01"],
                         env=dict(os.environ, KESTROVA_BENCH_PDF=document, KESTROVA_BENCH_DPI=str(dpi)),
                         check=True, capture_output=True, text=True).stdout
    return [b["real_time"] / 1000 for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]


def raw_render_two_processes(document, dpi):
    """The engine alone, into 8-bit gray, in two processes side by side, each rendering every other page:
    the wall time until both have ended, engine loading included, for each of the repetitions."""
    times = []
    for _ in range(REPETITIONS):
        start = time.perf_counter()
        halves = [subprocess.Popen([os.path.join(BUILD, "bin", "bench_document"), "--benchmark_min_time=0.001",
                                    "--benchmark_repetitions=1"],
                                   env=dict(os.environ, KESTROVA_BENCH_PDF=document, KESTROVA_BENCH_DPI=str(dpi),
                                            KESTROVA_BENCH_PART=f"{part}/2"),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) for part in (0, 1)]
        for half in halves:
            half.wait()
        times.append(time.perf_counter() - start)
    return times


def main():
    if not all(os.path.exists(path) for path in (MANUAL, TEST_PAGE)):
        raise SystemExit("the shared test documents are missing (../shared/testdata/realworld)")
    work = tempfile.mkdtemp(prefix="kestrova-bench-")
    # The print system's filters and backends run as an unprivileged user and must reach its spool inside.
    os.chmod(work, 0o755)
    web = os.path.join(work, "web")
    os.makedirs(web)
    write_receipt(os.path.join(web, "receipt.pdf"))
    shutil.copy2(TEST_PAGE, os.path.join(web, "testpage.pdf"))
    shutil.copy2(MANUAL, os.path.join(web, "manual.pdf"))
    write_200_pages(os.path.join(web, "pages200.pdf"))
    documents = [("receipt", "receipt.pdf"), ("1 page", "testpage.pdf"), ("36 pages", "manual.pdf"),
                 ("200 pages", "pages200.pdf")]
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
    # Each printer: its queue, resolution, label, print options and the documents it prints.
    two_sided_colour = {"sides": "two-sided-long-edge", "print-color-mode": "color"}
    printers = [(env["KESTROVA_DRIVERLESS_PRINTER"], 600, "driverless 600 dpi", {}, documents),
                (env["KESTROVA_DEFAULT_PRINTER"], 300, "PDF queue 300 dpi", {}, documents),
                (env["KESTROVA_DUPLEX_PRINTER"], 600, "2-sided colour 600", two_sided_colour, documents[2:3])]
    if not env["KESTROVA_DRIVERLESS_PRINTER"]:
        print(f"no driverless printers: {env['KESTROVA_DRIVERLESS_ERROR']}")
        printers = printers[1:2]

    class QuietHandler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(QuietHandler, directory=web)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        print(f"time to paper in seconds, median of {REPETITIONS} (min-max); yardsticks: the engine alone into "
              f"8-bit gray")
        print(f"{'printer':19} {'document':9} {'Kestrova':>18} {'lp':>18} {'gray, 1 process':>18} "
              f"{'gray, 2 processes':>18} {'print system alone':>18} {'floor':>5} {'K/lp':>5} {'target':>11} "
              f"{'peak RSS MiB':>12} {'RSS limit':>9}")
        for queue, dpi, label, options, docs in printers:
            # With no assignment table, the default printer serves every module; PRINTER makes it this queue.
            queue_env = dict(env, PRINTER=queue)
            lp_options = [word for name, value in options.items() for word in ("-o", f"{name}={value}")]
            for name, file in docs:
                path = os.path.join(web, file)
                url = f"http://127.0.0.1:{server.server_port}/{file}"
                link = "kestrova://print/?moduleaddress=bench&pdfurl=" + urllib.parse.quote(url, safe="")
                link += "".join(f"&{name}={value}" for name, value in options.items())
                jobs, lps = [], []
                for _ in range(REPETITIONS):
                    jobs.append(time_to_paper([os.path.join(install, "Kestrova"), link], queue_env, output, queue))
                    lps.append(time_to_paper(["lp", "-d", queue, *lp_options, path], queue_env, output, queue)[0])
                papers = [paper for paper, _, _ in jobs]
                ratio = statistics.median(papers) / statistics.median(lps)
                target = TARGETS.get(name) if label.startswith("driverless") else None
                verdict = "" if target is None else f"{target:.1f} {'met' if ratio <= target else 'MISSED'}"
                rss = max(peak for _, peak, _ in jobs)
                limit = 2 * page_bitmap(dpi) / 2**20 + 100
                two_processes = raw_render_two_processes(path, dpi)
                sent = jobs[-1][2]
                alone, floor = [], ""
                if sent.endswith(".pwg"):
                    alone = [time_to_paper(["lp", "-d", queue, *lp_options, sent], queue_env, output, queue)[0]
                             for _ in range(REPETITIONS)]
                    floor = f"{statistics.median(alone) + statistics.median(two_processes):.2f}"
                if target is not None:
                    verdict += f" {target * statistics.median(lps):.2f}"
                print(f"{label:19} {name:9} {spread(papers):>18} {spread(lps):>18} "
                      f"{spread(raw_render_seconds(path, dpi)):>18} {spread(two_processes):>18} "
                      f"{spread(alone) if alone else '':>18} {floor:>5} {ratio:5.2f} {verdict:>11} {rss:12.0f} "
                      f"{limit:9.0f}", flush=True)
    finally:
        server.shutdown()
        subprocess.run([os.path.join(ROOT, "scripts", "print-system.sh"), "stop", printdir],
                       capture_output=True)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
