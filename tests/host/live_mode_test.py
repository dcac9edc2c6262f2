#!/usr/bin/env python3
"""shelfix.exe in live mode against the loopback catalogue server.

The oracle for live mode is replay mode: a live run against a server that
serves a catalogue must leave the same result file, byte for byte, as a
replay run of that catalogue with the same base address. A fault on some
pages must give the result of a replay run of the catalogue without those
pages, since a failed download leaves no file, exactly as an unlisted page
does in replay mode.

Paths come from the environment (set by CTest): SHELFIX_EXE, SERVER_SCRIPT,
SAMPLES_DIR, FIXTURE_DIR. Every server this test starts binds 127.0.0.1 on
a port the system picks, stops by itself, and is killed at the end of its
test.
"""

import csv
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

SHELFIX = os.environ.get("SHELFIX_EXE", "")
SERVER = os.environ.get("SERVER_SCRIPT", "")
SAMPLES = os.environ.get("SAMPLES_DIR", "")
FIXTURE = os.environ.get("FIXTURE_DIR", "")

RUN_TIMEOUT = 120  # seconds for one shelfix.exe run; a hang is a failure
FAST = ["--interval", "0", "--backoff", "0"]


def clean_environment(base_url=None):
    """The environment of a run: no proxy may stand between the host and
    the loopback server."""
    env = {k: v for k, v in os.environ.items()
           if k.lower() not in ("http_proxy", "https_proxy", "all_proxy")}
    env["no_proxy"] = env["NO_PROXY"] = "*"
    env.pop("TOMEFINDER_BASE_URL", None)
    if base_url:
        env["TOMEFINDER_BASE_URL"] = base_url
    return env


def read_index(catalogue):
    """(address, file) pairs of a replay catalogue's index.tsv."""
    entries = []
    with open(os.path.join(catalogue, "index.tsv"), encoding="utf-8") as index:
        for line in index.read().splitlines():
            if line and not line.startswith("#"):
                address, _, name = line.partition("\t")
                entries.append((address, name))
    return entries


def copy_catalogue_without(source, target, drop):
    """A copy of the catalogue whose index leaves out the addresses for
    which drop(address) is true."""
    shutil.copytree(source, target)
    kept = [(a, f) for a, f in read_index(source) if not drop(a)]
    with open(os.path.join(target, "index.tsv"), "w", encoding="utf-8") as out:
        for address, name in kept:
            out.write("%s\t%s\n" % (address, name))
    return target


class CatalogueServer:
    """tools/catalogue_server.py on a free port, for one test."""

    def __init__(self, catalogue, workdir, *switches):
        self.port_file = os.path.join(workdir, "port-%d" % time.monotonic_ns())
        self.log = self.port_file + ".log"
        command = [sys.executable, SERVER, catalogue, "--port-file",
                   self.port_file, "--lifetime", "300", "--log", self.log]
        self.process = subprocess.Popen(command + list(switches),
                                        stdout=subprocess.DEVNULL)
        deadline = time.monotonic() + 20
        while not os.path.exists(self.port_file):
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.stop()
                raise RuntimeError("the catalogue server did not start")
            time.sleep(0.05)
        with open(self.port_file, encoding="ascii") as port:
            self.port = int(port.read())
        self.base = "http://127.0.0.1:%d" % self.port

    def requests(self):
        """(seconds, method, path, what was done, User-Agent) per request."""
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as log:
            return [tuple(line.rstrip("\n").split("\t"))
                    for line in log if line.strip()]

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=10)


class Workspace(unittest.TestCase):
    """A temporary directory per test, and runs of shelfix.exe in it."""

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="shelfix-live-")
        self.servers = []
        self.runs = 0

    def tearDown(self):
        for server in self.servers:
            server.stop()
        shutil.rmtree(self.work, ignore_errors=True)

    def serve(self, catalogue, *switches):
        server = CatalogueServer(catalogue, self.work, *switches)
        self.servers.append(server)
        return server

    def run_host(self, base_url, data, codes, *args):
        """Runs a lookup with a fresh copy of the data directory. Returns
        the completed process, the result file's bytes (None when there is
        none) and the data directory."""
        self.runs += 1
        run_dir = os.path.join(self.work, "run-%d" % self.runs)
        os.makedirs(run_dir)
        data_dir = os.path.join(run_dir, "data")
        shutil.copytree(data, data_dir)
        out = os.path.join(run_dir, "result.txt")
        command = [SHELFIX, "--data-dir", data_dir + "/", "--out", out,
                   "--codes-file", codes] + list(args)
        done = subprocess.run(command, env=clean_environment(base_url),
                              capture_output=True, timeout=RUN_TIMEOUT)
        self.assertEqual(done.returncode, 0, done.stderr.decode("utf-8",
                                                                "replace"))
        result = None
        if os.path.exists(out):
            with open(out, "rb") as result_file:
                result = result_file.read()
        return done, result, data_dir

    def replay(self, base_url, catalogue, data, codes):
        return self.run_host(base_url, data, codes, "--catalogue",
                             catalogue)[1]

    def live(self, server, data, codes, *args):
        return self.run_host(server.base, data, codes, "--live", *args)[1]


def sample_inputs():
    return (os.path.join(SAMPLES, "catalogue"), os.path.join(SAMPLES, "data"),
            os.path.join(SAMPLES, "codes.txt"))


def fixture_inputs():
    return (os.path.join(FIXTURE, "catalogue"), os.path.join(FIXTURE, "data"),
            os.path.join(FIXTURE, "codes.txt"))


class LiveMatchesReplay(Workspace):
    def test_live_gives_the_replay_result_byte_for_byte(self):
        for name, (catalogue, data, codes) in (("sample", sample_inputs()),
                                               ("fixture", fixture_inputs())):
            for switches in ((), ("--redirect",)):
                with self.subTest(catalogue=name, server=switches):
                    server = self.serve(catalogue, *switches)
                    expected = self.replay(server.base, catalogue, data, codes)
                    self.assertTrue(expected, "the replay run found books")
                    self.assertIn(server.base.encode(), expected)
                    got = self.live(server, data, codes, *FAST)
                    self.assertEqual(got, expected)
                    if switches:
                        self.assertIn("302", [r[3] for r in server.requests()])

    def test_requests_are_paced_and_say_who_asks(self):
        catalogue, data, codes = fixture_inputs()
        server = self.serve(catalogue)
        self.live(server, data, codes, "--interval", "400")
        requests = server.requests()
        self.assertGreaterEqual(len(requests), 5)
        starts = [float(r[0]) for r in requests]
        gaps = [b - a for a, b in zip(starts, starts[1:])]
        # The server notes arrival, a little after the request started:
        # allow for that, but no two requests may come close together.
        self.assertGreater(min(gaps), 0.3, gaps)
        for request in requests:
            self.assertTrue(request[4].startswith("shelfix.exe/"), request)
            self.assertIn("libcurl/", request[4])


def is_detail(address):
    return address.startswith("/tomefinder/details/")


def is_author(address):
    return address.startswith("/tomefinder/authors/")


def is_search(address):
    return address.startswith("/pro/")


class FaultBranches(Workspace):
    """Each fault on some pages gives the run a replay run gives without
    those pages; a fault that passes within the retries changes nothing."""

    CASES = [
        # name, server switches, live switches, pages that end up missing
        ("500 on detail pages", ["--fault", "500", "--fault-path",
                                 "/tomefinder/details/"], [], is_detail),
        ("dropped detail pages", ["--fault", "drop", "--fault-path",
                                  "/tomefinder/details/"], [], is_detail),
        ("half-sent detail pages", ["--fault", "truncate", "--fault-path",
                                    "/tomefinder/details/"], [], is_detail),
        ("slow detail pages", ["--fault", "slow", "--delay", "5",
                               "--fault-path", "/tomefinder/details/"],
         ["--timeout", "400", "--retries", "1"], is_detail),
        ("500 on author pages", ["--fault", "500", "--fault-path",
                                 "/tomefinder/authors/"], [], is_author),
        ("half-sent search pages", ["--fault", "truncate", "--fault-path",
                                    "/pro/"], [], is_search),
        ("one 500, then whole", ["--fault", "500", "--fault-count", "1"],
         ["--retries", "1"], lambda a: False),
        ("two drops, then whole", ["--fault", "drop", "--fault-count", "2"],
         ["--retries", "2"], lambda a: False),
        ("one slow answer, then whole",
         ["--fault", "slow", "--delay", "5", "--fault-count", "1"],
         ["--timeout", "400", "--retries", "1"], lambda a: False),
    ]

    def test_fault_gives_the_replay_result_without_the_faulted_pages(self):
        catalogue, data, codes = fixture_inputs()
        for name, server_switches, live_switches, missing in self.CASES:
            with self.subTest(name):
                server = self.serve(catalogue, *server_switches)
                reduced = copy_catalogue_without(
                    catalogue, os.path.join(self.work, "reduced-%d" % self.runs),
                    missing)
                expected = self.replay(server.base, reduced, data, codes)
                got = self.live(server, data, codes, *FAST, *live_switches)
                self.assertEqual(got, expected)

    def test_faults_really_change_the_result(self):
        # Guards the test above: without its pages the result differs.
        catalogue, data, codes = fixture_inputs()
        server = self.serve(catalogue)
        whole = self.replay(server.base, catalogue, data, codes)
        for missing in (is_detail, is_author, is_search):
            reduced = copy_catalogue_without(
                catalogue, os.path.join(self.work, "r-%d" % self.runs), missing)
            self.assertNotEqual(
                self.replay(server.base, reduced, data, codes), whole)

    def test_retries_are_bounded_and_a_failure_leaves_no_page(self):
        catalogue, data, codes = fixture_inputs()
        server = self.serve(catalogue, "--fault", "500")
        stale = os.path.join(self.work, "stale-data")
        shutil.copytree(data, stale)
        with open(os.path.join(stale, "Temp.html"), "w") as page:
            page.write("<html>a page from an earlier run</html>\n")
        done, result, data_dir = self.run_host(
            server.base, stale, codes, "--live", "--interval", "0",
            "--retries", "2", "--backoff", "100")
        self.assertEqual(result, b"", "every search failed: no lines")
        self.assertFalse(os.path.exists(os.path.join(data_dir, "Temp.html")))
        self.assertIn(b"failed after 3 attempts: HTTP status 500", done.stderr)
        by_path = {}
        for request in server.requests():
            by_path.setdefault(request[2], []).append(float(request[0]))
        self.assertEqual(len(by_path), 3, by_path)
        for path, times in by_path.items():
            self.assertEqual(len(times), 3, path)
            self.assertGreater(times[1] - times[0], 0.09, "first back-off")
            self.assertGreater(times[2] - times[1], 0.19, "doubled back-off")

    def test_a_missing_page_is_asked_for_once(self):
        catalogue, data, _ = fixture_inputs()
        server = self.serve(catalogue)
        codes = os.path.join(self.work, "codes.txt")
        with open(codes, "wb") as out:
            out.write(b"9784990000035\r\n")
        self.assertEqual(self.live(server, data, codes, *FAST), b"")
        self.assertEqual([r[2:4] for r in server.requests()],
                         [("/pro/?i=9784990000035", "404")])

    def test_connection_check_fails_without_a_server(self):
        catalogue, data, codes = fixture_inputs()
        server = self.serve(catalogue)
        base = server.base
        server.stop()  # its port is free now: nothing answers there
        done, result, _ = self.run_host(base, data, codes, "--live", *FAST)
        self.assertIsNone(result, "the run ends without a result file")
        self.assertIn("インターネットに接続されていません",
                      done.stderr.decode("utf-8"))

    def test_offline_from_still_forces_the_check_false(self):
        catalogue, data, codes = fixture_inputs()
        server = self.serve(catalogue)
        done, result, _ = self.run_host(server.base, data, codes, "--live",
                                        "--offline-from", "2", *FAST)
        self.assertIsNone(result)
        self.assertIn("インターネットに接続されていません",
                      done.stderr.decode("utf-8"))


class Recording(Workspace):
    def test_a_recorded_catalogue_replays_to_the_same_result(self):
        for name, (catalogue, data, codes) in (("sample", sample_inputs()),
                                               ("fixture", fixture_inputs())):
            with self.subTest(name):
                server = self.serve(catalogue)
                recorded = os.path.join(self.work, "recorded-" + name)
                live = self.live(server, data, codes, *FAST, "--record",
                                 recorded)
                self.assertTrue(live)
                self.assertEqual(
                    self.replay(server.base, recorded, data, codes), live)
                served = dict(read_index(catalogue))
                pages = read_index(recorded)
                fetched = set(r[2] for r in server.requests())
                self.assertEqual(sorted(a for a, _ in pages), sorted(fetched),
                                 "one page per address fetched")
                for address, page in pages:
                    with open(os.path.join(recorded, page), "rb") as got, \
                            open(os.path.join(catalogue, served[address]),
                                 "rb") as want:
                        self.assertEqual(got.read(), want.read(), address)

    def test_recording_a_faulty_run_replays_its_failures(self):
        catalogue, data, codes = fixture_inputs()
        server = self.serve(catalogue, "--fault", "drop", "--fault-path",
                            "/tomefinder/details/501")
        recorded = os.path.join(self.work, "recorded")
        live = self.live(server, data, codes, *FAST, "--record", recorded)
        self.assertNotIn("/tomefinder/details/501",
                         dict(read_index(recorded)))
        self.assertEqual(self.replay(server.base, recorded, data, codes), live)

    def test_a_second_run_adds_to_the_recording(self):
        catalogue, data, codes = fixture_inputs()
        server = self.serve(catalogue)
        recorded = os.path.join(self.work, "recorded")
        first_codes = os.path.join(self.work, "first.txt")
        with open(first_codes, "wb") as out:
            out.write(b"9784990000028\r\n")
        self.live(server, data, first_codes, *FAST, "--record", recorded)
        self.assertEqual(len(read_index(recorded)), 1)
        live = self.live(server, data, codes, *FAST, "--record", recorded)
        index = read_index(recorded)
        self.assertEqual(len(index), len(set(a for a, _ in index)))
        self.assertEqual(len(index), len(read_index(catalogue)))
        self.assertEqual(self.replay(server.base, recorded, data, codes), live)


def decode_result(result):
    """The result file's records, items split by Python's own csv reader
    from the cp932 text: an implementation apart from the host's."""
    text = result.decode("cp932")
    return [row for row in csv.reader(io.StringIO(text, newline=""))]


class Show(Workspace):
    def sample_result(self):
        catalogue, data, codes = sample_inputs()
        _, result, data_dir = self.run_host(None, data, codes, "--catalogue",
                                            catalogue)
        self.assertTrue(result)
        path = os.path.join(self.work, "result.txt")
        with open(path, "wb") as out:
            out.write(result)
        return path, decode_result(result)

    def show(self, *args):
        done = subprocess.run([SHELFIX, "show", *args], capture_output=True,
                              timeout=RUN_TIMEOUT)
        return done.returncode, done.stdout.decode("utf-8")

    def test_json_lines_hold_every_non_empty_position(self):
        path, records = self.sample_result()
        status, out = self.show("--json", path)
        self.assertEqual(status, 0)
        objects = [json.loads(line) for line in out.splitlines()]
        self.assertEqual(len(objects), len(records))
        for number, (shown, items) in enumerate(zip(objects, records), 1):
            self.assertEqual(shown.pop("record"), number)
            self.assertEqual(len(items), 68)
            want = [item.replace("$$", "\n") for item in items if item]
            self.assertEqual(list(shown.values()), want)
            self.assertEqual(shown["Isbn"], items[0])
            if items[36]:
                self.assertEqual(shown["Description"],
                                 items[36].replace("$$", "\n"))

    def test_csv_has_a_header_and_every_position(self):
        path, records = self.sample_result()
        status, out = self.show("--csv", path)
        self.assertEqual(status, 0)
        self.assertTrue(out.endswith("\r\n"))
        rows = list(csv.reader(io.StringIO(out, newline="")))
        header = rows.pop(0)
        self.assertEqual(len(header), 68)
        self.assertEqual(header[:3], ["Isbn", "Title", "TitleReading"])
        self.assertEqual(header[36], "Description")
        self.assertEqual(header[65], "Author1Note")
        self.assertEqual(len(set(header)), 68)
        self.assertEqual(rows, [[i.replace("$$", "\n") for i in items]
                                for items in records])

    def test_text_names_the_positions_and_breaks_the_lines(self):
        path, records = self.sample_result()
        status, out = self.show(path)
        self.assertEqual(status, 0)
        self.assertNotIn("$$", out)
        self.assertEqual(out.count("record "), len(records))
        paragraphs = [items[36] for items in records if "$$" in items[36]]
        self.assertTrue(paragraphs, "the sample has a two-paragraph text")
        label = "  37 Description: "
        first, second = paragraphs[0].split("$$")[:2]
        self.assertIn(label + first + "\n" + " " * len(label) + second, out)
        # --show after a run prints the same.
        catalogue, data, codes = sample_inputs()
        done, _, _ = self.run_host(None, data, codes, "--catalogue",
                                   catalogue, "--show")
        self.assertEqual(done.stdout.decode("utf-8"), out)

    def test_a_file_that_is_not_there(self):
        status, out = self.show(os.path.join(self.work, "none.txt"))
        self.assertEqual((status, out), (1, ""))


if __name__ == "__main__":
    missing = [name for name, value in (("SHELFIX_EXE", SHELFIX),
                                        ("SERVER_SCRIPT", SERVER),
                                        ("SAMPLES_DIR", SAMPLES),
                                        ("FIXTURE_DIR", FIXTURE)) if not value]
    if missing:
        sys.exit("set " + ", ".join(missing))
    unittest.main()
