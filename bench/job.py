#!/usr/bin/env python3
"""The whole print job, measured as the user waits for it: time to paper.

Time to paper runs from the start of a command until the printer holds the job's last byte: the printed
document has landed in the private print system's output (the driverless printers keep each job they received
once its last byte is in, the socket printers rename a job's file when the backend closes the connection, the
PDF-writing backend when it has written it; a LaserJet on HP's hpcups driver joins them where the driver is
installed). Beside it, the time until the print system marks the job done
(the queue is empty again). On every kind of queue of the private print system, each with the documents that
tell most about it (a receipt of 80 x 200 mm, the 1-page test page, the 36-page manual, a 200-page document):
  - Kestrova: the real program started with a link to a web server on 127.0.0.1, and the peak memory (RSS)
    of the program and of the renderer in the print system's filter chain, wherever it runs;
  - lp: the same file sent to the same queue with the same options, each run right after one of Kestrova's;
  - the yardsticks: the engine alone rendering the same pages at the queue's resolution into an 8-bit gray
    bitmap, in one process (bench_document) and in two side by side, each rendering every other page.
Every figure is the median of REPETITIONS runs with its spread (min-max). Targets (K/lp, on time to paper): on
the driverless printer 0.5 for 1 page and 0.85 for 36 and 200 pages; without compression on its device URI
0.6 for 36 and 200 pages; 1.0 on every other queue. Peak memory at most two page bitmaps per process plus
100 MB, flat from 1 to 1,000 pages (one run of a 1,000-page document on the driverless printer).
Usage: bench/job.py [BUILD_DIR] [QUEUE_LABEL_PREFIX...]
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
REPETITIONS = 3
TIMEOUT = 300


def page_bitmap(dpi):
    """Bytes of a Letter page at dpi, 32 bits a pixel."""
    return int(8.5 * dpi) * 11 * dpi * 4


def write_receipt(path):
    """A one-page receipt of 80 x 200 mm with a few lines of text."""
    write_text_pdf(path, 226.77, 566.93, "Courier", 9, 12, 540, 14,
                   [f"Item {i} .......... {i}.50" for i in range(30)])


def write_pages(path, count):
    """The manual as many times as it takes, cut at count pages."""
    whole, rest = divmod(count, 36)
    subprocess.run(["qpdf", "--empty", "--pages", *[MANUAL, "1-z"] * whole, *([MANUAL, f"1-{rest}"] if rest else []),
                    "--", path], check=True)


def spread(values):
    """The median with its range, as the report prints it."""
    return f"{statistics.median(values):.2f} ({min(values):.2f}-{max(values):.2f})"


def landed(output, queue, seen):
    """The document of queue not in seen that has landed in output, or None."""
    new = set(glob.glob(os.path.join(output, f"{queue}-*"))) - seen
    return new.pop() if new else None


def queue_empty(queue):
    return not subprocess.run(["lpstat", "-o", queue], capture_output=True, text=True).stdout.strip()


# The renderer in the print system's filter chain, by the name the kernel keeps of it (15 characters).
FILTER_NAME = "kestrova-pdftoraster"[:15]


def filter_peak_mib(peaks):
    """Notes in peaks the peak RSS of every running renderer in the filter chain, by process id."""
    for status in glob.glob("/proc/[0-9]*/status"):
        try:
            with open(status) as text:
                fields = dict(line.split(":", 1) for line in text if ":" in line)
        except OSError:
            continue
        if fields.get("Name", "").strip() == FILTER_NAME and "VmHWM" in fields:
            peaks[status] = max(peaks.get(status, 0), int(fields["VmHWM"].split()[0]) / 1024)


def time_to_paper(command, env, output, queue):
    """Runs command; returns (seconds until the printer holds the job, seconds until the print system has done
    with it, peak RSS in MiB of the command and of the renderer in the filter chain, the document landed)."""
    seen = set(glob.glob(os.path.join(output, f"{queue}-*")))
    start = time.perf_counter()
    errors = tempfile.TemporaryFile()
    child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=errors)
    usage, paper, document, filters = None, None, None, {}
    while True:
        if usage is None:
            pid, status, rusage = os.wait4(child.pid, os.WNOHANG)
            if pid:
                if os.waitstatus_to_exitcode(status) != 0:
                    errors.seek(0)
                    raise SystemExit(f"{command[0]} failed with {os.waitstatus_to_exitcode(status)}: "
                                     f"{errors.read().decode(errors='replace').strip()}")
                usage = rusage
        filter_peak_mib(filters)
        if document is None:
            document = landed(output, queue, seen)
            if document:
                paper = time.perf_counter() - start
        if document and queue_empty(queue):
            done = time.perf_counter() - start
            if usage is None:
                _, _, usage = os.wait4(child.pid, 0)
            return paper, done, max([usage.ru_maxrss / 1024, *filters.values()]), document
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


HPCUPS_DRIVER = "/usr/share/cups/drv/hpcups.drv"


def add_hpcups_queue(printdir, output, env):
    """A LaserJet 4250 on HP's hpcups driver (600 dpi by default) on a socket printer of its own, where the
    driver is installed (make bench installs it); notes its queue in env. Returns the sink's process."""
    if not os.path.exists(HPCUPS_DRIVER):
        print(f"no hpcups queue: {HPCUPS_DRIVER} is missing (install printer-driver-hpcups)")
        return []
    queue, port_file = "Kestrova_HpCups", os.path.join(printdir, "sink-Kestrova_HpCups.port")
    sink = subprocess.Popen(["python3", os.path.join(ROOT, "scripts", "socket-sink.py"), output, queue, "pcl",
                             port_file], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(port_file) and open(port_file).read().strip():
            break
        time.sleep(0.05)
    with open(port_file) as text:
        port = text.read().strip()
    subprocess.run(["lpadmin", "-p", queue, "-E", "-v", f"socket://127.0.0.1:{port}/?snmp=false", "-m",
                    "drv:///hpcups.drv/hp-laserjet_4250-pcl3.ppd"], check=True, capture_output=True)
    env["KESTROVA_HPCUPS_PRINTER"] = queue
    return [sink]


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
    write_pages(os.path.join(web, "pages200.pdf"), 200)
    write_pages(os.path.join(web, "pages1000.pdf"), 1000)
    receipt, page, manual, pages200 = (("receipt", "receipt.pdf"), ("1 page", "testpage.pdf"),
                                       ("36 pages", "manual.pdf"), ("200 pages", "pages200.pdf"))
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
    sinks = add_hpcups_queue(printdir, output, env)
    # Each queue: its label, its queue's variable, its default resolution, print options, and its documents
    # with the target of each (Kestrova's time to paper over lp's).
    two_sided_colour = {"sides": "two-sided-long-edge", "print-color-mode": "color"}
    queues = [
        ("driverless 600 dpi", "KESTROVA_DRIVERLESS_PRINTER", 600, {},
         [(receipt, None), (page, 0.5), (manual, 0.85), (pages200, 0.85)]),
        ("driverless, no compression", "KESTROVA_DRIVERLESS_PLAIN_PRINTER", 600, {},
         [(manual, 0.6), (pages200, 0.6)]),
        ("2-sided colour 600", "KESTROVA_DUPLEX_PRINTER", 600, two_sided_colour, [(manual, 1.0)]),
        ("label ZPL 203 dpi", "KESTROVA_LABEL_PRINTER", 203, {}, [(receipt, 1.0), (page, 1.0)]),
        ("PostScript", "KESTROVA_POSTSCRIPT_PRINTER", 300, {}, [(page, 1.0), (manual, 1.0)]),
        ("PCL LaserJet 300 dpi", "KESTROVA_LASERJET_PRINTER", 300, {}, [(manual, 1.0), (pages200, 1.0)]),
        ("hpcups LaserJet 4250 600", "KESTROVA_HPCUPS_PRINTER", 600, {}, [(manual, 1.0)]),
        ("PDF queue 300 dpi", "KESTROVA_DEFAULT_PRINTER", 300, {}, [(manual, 1.0), (pages200, 1.0)]),
    ]
    wanted = sys.argv[2:]
    queues = [q for q in queues if env.get(q[1]) and (not wanted or any(q[0].startswith(w) for w in wanted))]
    if not env["KESTROVA_DRIVERLESS_PRINTER"]:
        print(f"no driverless printers: {env['KESTROVA_DRIVERLESS_ERROR']}")

    class QuietHandler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(QuietHandler, directory=web)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    def link_to(file, options):
        url = f"http://127.0.0.1:{server.server_port}/{file}"
        return ("kestrova://print/?moduleaddress=bench&pdfurl=" + urllib.parse.quote(url, safe="") +
                "".join(f"&{name}={value}" for name, value in options.items()))

    try:
        print(f"seconds, median of {REPETITIONS} (min-max): until the printer holds the job (paper) and until the "
              f"print system has done with it (done); yardsticks: the engine alone into 8-bit gray")
        print(f"{'queue':26} {'document':9} {'Kestrova paper':>17} {'Kestrova done':>17} {'lp paper':>17} "
              f"{'lp done':>17} {'gray, 1 process':>17} {'gray, 2 processes':>17} {'K/lp':>5} "
              f"{'target (time)':>18} {'peak RSS MiB':>12} {'RSS limit':>9}")
        for label, variable, dpi, options, docs in queues:
            queue = env[variable]
            # With no assignment table, the default printer serves every module; PRINTER makes it this queue.
            queue_env = dict(env, PRINTER=queue)
            lp_options = [word for name, value in options.items() for word in ("-o", f"{name}={value}")]
            for (name, file), target in docs:
                path = os.path.join(web, file)
                jobs, lps = [], []
                for _ in range(REPETITIONS):
                    jobs.append(time_to_paper([os.path.join(install, "Kestrova"), link_to(file, options)],
                                              queue_env, output, queue))
                    lps.append(time_to_paper(["lp", "-d", queue, *lp_options, path], queue_env, output, queue))
                ratio = statistics.median(j[0] for j in jobs) / statistics.median(l[0] for l in lps)
                verdict = ("" if target is None else
                           f"{target:.2f} {'met' if ratio <= target else 'MISSED'} "
                           f"({target * statistics.median(l[0] for l in lps):.2f})")
                rss = max(job[2] for job in jobs)
                limit = 2 * page_bitmap(dpi) / 2**20 + 100
                print(f"{label:26} {name:9} {spread([j[0] for j in jobs]):>17} {spread([j[1] for j in jobs]):>17} "
                      f"{spread([l[0] for l in lps]):>17} {spread([l[1] for l in lps]):>17} "
                      f"{spread(raw_render_seconds(path, dpi)):>17} "
                      f"{spread(raw_render_two_processes(path, dpi)):>17} {ratio:5.2f} {verdict:>18} "
                      f"{rss:12.0f} {limit:9.0f}", flush=True)
        if queues and queues[0][1] == "KESTROVA_DRIVERLESS_PRINTER":
            queue = env["KESTROVA_DRIVERLESS_PRINTER"]
            paper, _, rss, _ = time_to_paper([os.path.join(install, "Kestrova"), link_to("pages1000.pdf", {})],
                                             dict(env, PRINTER=queue), output, queue)
            print(f"driverless 600 dpi, 1,000 pages, one run: paper {paper:.2f} s, peak RSS {rss:.0f} MiB "
                  f"(limit {2 * page_bitmap(600) / 2**20 + 100:.0f})", flush=True)
    finally:
        server.shutdown()
        for sink in sinks:
            sink.kill()
        subprocess.run([os.path.join(ROOT, "scripts", "print-system.sh"), "stop", printdir],
                       capture_output=True)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
