#!/usr/bin/python3
"""Browser tests of the page build/wasm/vexa.html, in headless Chromium
driven through chromedriver: every expected output of vexa-decode's own
tests, got by pasting or dropping the same log; the prefix, stepping through
reports, the copy, the JSON download, the keyboard, the fleet view of many
logs, and that nothing leaves the page. Prints the time from a paste to the
first report.

usage: page_test.py PAGE   (from the source root; exits 77 without a browser)
"""
import base64
import gzip
import json
import os
import shutil
import signal
import sys
import tempfile
import time
import unittest

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    webdriver = None

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests",
                                "fleet"))
import make_fleet  # noqa: E402 (the generated fleet of vexa-decode --summary's tests)

EXAMPLES = "examples"
EXPECTED = "tests/expected"
TEXT, ALL, JSON, ALL_JSON = "text", "--all", "--json", "--all --json"

# Every file of tests/expected as console/tests made it: the log, the prefix
# option's text (None: no prefix option) and the output asked for.
CASES = [
    ("v34-call.txt", "v34-call.log", None, TEXT),
    ("one-key-per-line.txt", "one-key-per-line.log", None, TEXT),
    ("single-line.txt", "single-line.log", None, TEXT),
    ("two-reports.txt", "two-reports.log", None, TEXT),
    ("no-dial-tone.txt", "no-dial-tone.log", None, TEXT),
    ("training-failed.txt", "training-failed.log", None, TEXT),
    ("garbled-capture.txt", "garbled-capture.log", None, TEXT),
    ("v34-call.prefixed.txt", "v34-call.log", "> ", TEXT),
    ("single-line.empty-prefix.txt", "single-line.log", "", TEXT),
    ("two-reports.all.txt", "two-reports.log", None, ALL),
    ("garbled-capture.all-lf.txt", "garbled-capture.log", None, ALL),
    ("single-line.all-prefixed.txt", "single-line.log", "modem1", ALL),
    ("no-data.txt", "../tests/expected/empty.txt", None, ALL),
    ("v34-call.json", "v34-call.log", None, JSON),
    ("garbled-capture.json", "garbled-capture.log", "m1", JSON),
    ("two-reports.all.json", "two-reports.log", None, ALL_JSON),
    ("no-data.all.json", "../tests/expected/empty.txt", None, ALL_JSON),
]

# Outputs of what only vexa-decode does: other forms, several files at once,
# loose markers, the summary's text. The fleet view gives fleet-summary.json.
CONSOLE_ONLY = {"reports.csv", "reports.jsonl", "several-files.json", "several-files.txt",
                "stamped-capture.loose.txt", "fleet-summary.txt"}
FLEET_SUMMARY = "fleet-summary.json"

# What the window's copy puts in front of the report.
COPY_HEADER = (
    "Veltrano Diagnostics/W32, version 1.0.1.4, compiled at Jan 28 2001 19:53:30\r\n"
    "(c) 2001 Veltrano Communications. Support: support@veltrano.example, www.veltrano.example\r\n"
    "----------------------------------------------------------------------------\r\n")

page_url = None
downloads = None
driver = None


def read_bytes(path):
    with open(path, "rb") as file:
        return file.read()


def lf(text):
    return text.replace("\r\n", "\n")


def start_browser():
    global downloads, driver
    profile = tempfile.mkdtemp(prefix="vexa-page-profile-")
    downloads = tempfile.mkdtemp(prefix="vexa-page-downloads-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--user-data-dir=" + profile):
        options.add_argument(argument)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                           {"behavior": "allow", "downloadPath": downloads})
    return profile


def open_page():
    driver.get(page_url)
    deadline = time.monotonic() + 20
    while driver.execute_script("return document.documentElement.dataset.decoder") != "ready":
        if time.monotonic() > deadline:
            raise AssertionError("the decoder did not start: " + report_text())
        time.sleep(0.02)


def report_text():
    return driver.execute_script("return document.getElementById('report').textContent")


def text_of(element_id):
    return driver.execute_script(f"return document.getElementById('{element_id}').textContent")


def chord(key):
    ActionChains(driver).key_down(Keys.CONTROL).send_keys(key).key_up(Keys.CONTROL).perform()


def paste(text):
    """Pastes text into the input as a person does: the clipboard gets it
    from the input's own copy, and Ctrl+V puts it back over the selection."""
    field = driver.find_element(By.ID, "input")
    field.click()
    if not text:  # nothing to paste: an edit that leaves the input empty
        field.send_keys("x", Keys.BACKSPACE)
        return
    driver.execute_script("arguments[0].value = arguments[1]", field, text)
    chord("a")
    chord("c")
    chord("v")


def drop(path):
    """Drops a file on the page, as the desktop does."""
    drop_bytes(read_bytes(path), os.path.basename(path))


def drop_bytes(content, name, status=None):
    driver.execute_script("""
        const bytes = Uint8Array.from(atob(arguments[0]), (c) => c.charCodeAt(0));
        const transfer = new DataTransfer();
        transfer.items.add(new File([bytes], arguments[1]));
        document.body.dispatchEvent(new DragEvent('drop', {dataTransfer: transfer,
                                                           bubbles: true, cancelable: true}));
        """, base64.b64encode(content).decode("ascii"), name)
    status = "Log file " + name if status is None else status
    wait_for(lambda: text_of("status") == status)


def set_prefix(text):
    """Types the prefix text; the check box alone gives the empty prefix."""
    field = driver.find_element(By.ID, "prefix")
    field.clear()
    if text:
        field.send_keys(text)
    box = driver.find_element(By.ID, "prefix-on")
    if box.is_selected() != (text is not None):
        box.click()


def wait_for(condition, what="condition"):
    deadline = time.monotonic() + 10
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.02)


def every_report():
    """Steps through the log's reports with the keyboard; each report as
    vexa-decode --all prints it, its heading behind the line prefix."""
    prefix = driver.execute_script(
        "const p = document.getElementById('prefix');"
        "return document.getElementById('prefix-on').checked ? p.value + ' ' : ''")
    reports = []
    while True:
        heading = text_of("report-heading")
        reports.append((prefix + heading + "\n" if heading else "") + report_text())
        if not step_to_next():
            return reports


def step_to_next():
    """Shows the next report with the keyboard; False after the last."""
    step = driver.find_element(By.ID, "next")
    if not step.is_displayed() or not step.is_enabled():
        return False
    heading = text_of("report-heading")
    step.send_keys(Keys.SPACE)
    wait_for(lambda: text_of("report-heading") != heading, "the next report")
    return True


def download_json(button="download"):
    for name in os.listdir(downloads):  # a download may take the name of the last
        os.remove(os.path.join(downloads, name))
    driver.find_element(By.ID, button).click()
    found = []

    def arrived():
        found[:] = [name for name in os.listdir(downloads) if name.endswith(".json")]
        return bool(found)
    wait_for(arrived, "the JSON download")
    document = []

    def complete():  # the file may stand before all of it is written
        try:
            with open(os.path.join(downloads, found[0]), encoding="utf-8") as file:
                document[:] = [json.load(file)]
            return True
        except ValueError:
            return False
    wait_for(complete, "the whole download")
    return document[0]


class ExpectedOutputs(unittest.TestCase):
    def test_every_expected_file_has_a_case(self):
        # empty.txt is an input only.
        covered = {name for name, *_ in CASES} | CONSOLE_ONLY | {"empty.txt", FLEET_SUMMARY}
        files = {name for name in os.listdir(EXPECTED) if not name.startswith(".")}
        self.assertEqual(sorted(files - covered), [])

    def test_pasted_logs_give_vexa_decodes_output(self):
        for name, log, prefix, output in CASES:
            with self.subTest(name):
                open_page()
                set_prefix(prefix)
                if output in (TEXT, ALL):
                    paste(read_bytes(os.path.join(EXAMPLES, log)).decode("latin-1"))
                    got = report_text() if output == TEXT else "".join(every_report())
                    self.assertEqual(got, lf(read_bytes(os.path.join(EXPECTED, name))
                                             .decode("latin-1")))
                else:
                    drop(os.path.join(EXAMPLES, log))
                    documents = [download_json()]
                    while output == ALL_JSON and step_to_next():
                        documents.append(download_json())
                    with open(os.path.join(EXPECTED, name), encoding="utf-8") as file:
                        expected = json.load(file)
                    if output == JSON:
                        expected = [expected]
                    for document in expected:
                        document["source"] = os.path.basename(log)  # what was dropped
                    self.assertEqual(documents, expected)


class PageUse(unittest.TestCase):
    def test_a_picked_file_is_decoded_from_its_own_bytes(self):
        open_page()
        driver.find_element(By.ID, "file").send_keys(os.path.abspath(
            os.path.join(EXAMPLES, "v34-call.log")))
        wait_for(lambda: text_of("status") == "Log file v34-call.log")
        self.assertEqual(report_text(), lf(read_bytes(os.path.join(EXPECTED, "v34-call.txt"))
                                           .decode("ascii")))

    def test_gzip_logs_are_inflated_and_damage_is_said(self):
        plain = read_bytes(os.path.join(EXAMPLES, "two-reports.log"))
        packed = gzip.compress(plain, mtime=0)
        wrong_crc = bytearray(packed)
        wrong_crc[-8] ^= 1
        damaged = ": the gzip data is damaged or cut short; the reports before it are kept"
        open_page()
        drop_bytes(plain, "plain.log")
        expected = every_report()
        for name, content, said in [
                ("whole.log.gz", packed, ""),
                ("wrong-crc.log.gz", bytes(wrong_crc), damaged),
                ("cut.log.gz", packed[:-4], damaged)]:
            with self.subTest(name):
                open_page()
                drop_bytes(content, name, "Log file " + name + said)
                self.assertEqual(every_report(), expected)

    def test_a_huge_report_decodes_as_its_last_values(self):
        # 100,000 blocks outgrow the run's first storage and the module's
        # first memory; every value is written again and again.
        block = b"DIAG <2A4D3263 0=10 4=E0C145139024 22=D65 10=14 60=3C>\r\n"
        reports = []
        for count in (1, 100_000):
            open_page()
            drop_bytes(b"AT*VXD\r\n" + block * count + b"OK\r\n", "huge.log")
            reports.append(report_text())
        self.assertEqual(reports[1], reports[0])
        self.assertIn("Termination Cause", reports[0])

    def test_an_empty_page_invites_a_capture_and_an_emptied_one_says_no_data(self):
        open_page()
        self.assertTrue(report_text().startswith("Paste a capture"), report_text())
        self.assertFalse(driver.find_element(By.ID, "copy").is_enabled())
        paste("")
        self.assertEqual(report_text(), "no recognizable data found!\n")

    def test_bar_counts_stay_inside_their_chart(self):
        open_page()
        overflows = driver.execute_script("""
            const overflows = [];
            for (const count of [7, 12500, 1234567890]) {
                const chart = barChart('Reports', [{label: 'Complete', count},
                    {label: 'NA', count: count * 10, share: false}], count);
                document.body.append(chart);
                const svg = chart.querySelector('svg');
                for (const text of svg.querySelectorAll('text')) {
                    const box = text.getBBox();
                    if (box.x < 0 || box.x + box.width > svg.width.baseVal.value) {
                        overflows.push(text.textContent);
                    }
                }
                chart.remove();
            }
            return overflows;""")
        self.assertEqual(overflows, [])

    def test_the_prefix_follows_every_change(self):
        open_page()
        paste(read_bytes(os.path.join(EXAMPLES, "single-line.log")).decode("ascii"))
        plain = report_text()
        driver.find_element(By.ID, "prefix").send_keys("m7")
        self.assertTrue(all(line.startswith("m7 ") for line in report_text().splitlines()))
        driver.find_element(By.ID, "prefix-on").click()
        self.assertEqual(report_text(), plain)

    def test_stepping_through_two_reports(self):
        open_page()
        paste(read_bytes(os.path.join(EXAMPLES, "two-reports.log")).decode("ascii"))
        previous = driver.find_element(By.ID, "previous")
        self.assertFalse(previous.is_enabled())
        first = report_text()
        driver.find_element(By.ID, "next").send_keys(Keys.ENTER)
        self.assertEqual(text_of("report-heading"), "Report 2 (line 12)")
        self.assertFalse(driver.find_element(By.ID, "next").is_enabled())
        previous.send_keys(Keys.ENTER)
        self.assertEqual((text_of("report-heading"), report_text()),
                         ("Report 1 (line 5)", first))

    def test_the_copy_carries_the_windows_header(self):
        open_page()
        set_prefix("> ")
        paste(read_bytes(os.path.join(EXAMPLES, "v34-call.log")).decode("ascii"))
        report = read_bytes(os.path.join(EXPECTED, "v34-call.prefixed.txt")).decode("ascii")
        driver.execute_script("""window.copied = [];
            window.addEventListener('copy', (event) => {
                window.copied.push(event.clipboardData.getData('text/plain')); });""")
        driver.find_element(By.ID, "copy").click()
        # The whole report selected and copied with the keyboard: the same.
        driver.find_element(By.ID, "report").click()
        chord("a")
        chord("c")
        self.assertEqual(driver.execute_script("return window.copied"),
                         [COPY_HEADER + report, COPY_HEADER + report])
        # What reached the clipboard, pasted back.
        field = driver.find_element(By.ID, "input")
        field.click()
        chord("a")
        chord("v")
        self.assertEqual(field.get_attribute("value"), lf(COPY_HEADER + report))

    def test_every_control_is_reached_with_tab(self):
        open_page()
        paste(read_bytes(os.path.join(EXAMPLES, "two-reports.log")).decode("ascii"))
        reached = []
        for _ in range(12):
            ActionChains(driver).send_keys(Keys.TAB).perform()
            reached.append(driver.execute_script("return document.activeElement.id"))
        for control in ("open", "prefix-on", "prefix", "next", "report", "copy", "download"):
            self.assertIn(control, reached)

    def test_nothing_leaves_the_page(self):
        driver.get_log("performance")
        open_page()
        paste(read_bytes(os.path.join(EXAMPLES, "two-reports.log")).decode("ascii"))
        drop(os.path.join(EXAMPLES, "v34-call.log"))
        driver.find_element(By.ID, "copy").click()
        download_json()
        requests = [json.loads(entry["message"])["message"]
                    for entry in driver.get_log("performance")]
        urls = [event["params"]["request"]["url"] for event in requests
                if event["method"] == "Network.requestWillBeSent"]
        self.assertIn(page_url, urls)  # the log does hold requests
        self.assertEqual([url for url in urls if url != page_url and
                          not url.startswith("blob:file://")], [])
        self.assertEqual([entry for entry in driver.get_log("browser")
                          if entry["level"] == "SEVERE"], [])
        # The policy refuses what the page would have tried.
        refused = driver.execute_async_script("""const done = arguments[0];
            const refused = [];
            document.addEventListener('securitypolicyviolation',
                                      (event) => refused.push(event.effectiveDirective));
            const image = new Image();
            image.src = 'http://127.0.0.1:9/pixel.png';
            fetch('http://127.0.0.1:9/').catch(() => {}).finally(
                () => setTimeout(() => done(refused.sort()), 100));""")
        self.assertEqual(refused, ["connect-src", "img-src"])


def open_fleet(directory, names):
    """Picks the logs, in reverse order: the page takes them by name."""
    driver.find_element(By.ID, "files").send_keys(
        "\n".join(os.path.join(directory, name) for name in reversed(names)))
    wait_for(lambda: " from " in text_of("fleet-status"), "the fleet")


class FleetView(unittest.TestCase):
    def test_the_fleet_shows_vexa_decodes_summary_and_opens_its_reports(self):
        fleet = tempfile.mkdtemp(prefix="vexa-fleet-")
        try:
            open_page()
            open_fleet(fleet, make_fleet.make_fleet(fleet))
            with open(os.path.join(EXPECTED, FLEET_SUMMARY), encoding="utf-8") as file:
                expected = json.load(file)
            # The numbers are vexa-decode --summary --by-source --json's.
            self.assertEqual(download_json("download-summary"), expected)
            shown = driver.execute_script("""return Array.from(
                document.querySelectorAll('#fleet-numbers .figures'), (p) => p.textContent)""")
            self.assertEqual(shown, [
                f"{line['count']} reports · NA {line['na']} · min {line['min']} · "
                f"p10 {line['p10']} · median {line['median']} · p90 {line['p90']} · "
                f"max {line['max']}" for line in expected["numbers"] if line["count"] > 0])
            bars = driver.execute_script("""return Array.from(
                document.querySelectorAll('#fleet-counts svg > title, #fleet-names svg > title'),
                (title) => title.textContent)""")
            termination = [line for line in expected["names"] if line["label"] == "Termination Cause"]
            self.assertIn("Termination Cause. " + "; ".join(
                f"{value['name']}: {value['count']}, {100 * value['share']:.1f} %"
                for value in termination[0]["values"]), bars)
            self.assertEqual(len(driver.find_elements(By.CSS_SELECTOR, "#reports tbody tr")),
                             expected["reports"])

            # Sorted by noise, the first row is the noisiest call; Up from the
            # second reaches it, Enter shows it.
            headings = driver.find_elements(By.CSS_SELECTOR, "#reports th button")
            next(button for button in headings if button.text == "Noise, -dBm").send_keys(Keys.ENTER)
            first, second = driver.find_elements(By.CSS_SELECTOR, "#reports tbody tr")[:2]
            noisiest = expected["worst"][0]["calls"][0]
            cells = [cell.text for cell in first.find_elements(By.TAG_NAME, "td")]
            self.assertEqual((cells[0], cells[2]), (noisiest["source"], str(noisiest["line"])))
            second.send_keys(Keys.ARROW_UP)
            # The focused row is the table's one Tab stop.
            self.assertEqual(
                driver.find_elements(By.CSS_SELECTOR, '#reports tbody tr[tabindex="0"]'), [first])
            driver.switch_to.active_element.send_keys(Keys.ENTER)
            wait_for(lambda: text_of("status") == "Log file " + noisiest["source"], "the report")
            self.assertTrue(text_of("report-heading").startswith(
                f"Report {noisiest['report']} (line {noisiest['line']}"))
            self.assertIn("Estimated noise level, -dBm    : %d\n" % noisiest["value"], report_text())
            self.assertEqual(driver.execute_script("return document.activeElement.id"), "report")
        finally:
            shutil.rmtree(fleet, ignore_errors=True)


class PasteTiming(unittest.TestCase):
    RUNS = 5

    def test_time_from_a_paste_to_the_report(self):
        """Prints, never judges, the median over fresh pages of the time from
        Ctrl+V to the report, to the frame that shows it, and from opening
        the page to a ready decoder."""
        for log in ("v34-call.log", "two-reports.log"):
            open_page()
            paste(read_bytes(os.path.join(EXAMPLES, log)).decode("ascii"))  # on the clipboard
            runs = [self.paste_on_a_fresh_page() for _ in range(self.RUNS)]
            median = [sorted(figures)[self.RUNS // 2] for figures in zip(*runs)]
            print("\n%s: report %.1f ms after the paste, on screen %.1f ms; decoder ready "
                  "%.0f ms after opening (median of %d)" % (log, *median, self.RUNS),
                  file=sys.stderr)

    def paste_on_a_fresh_page(self):
        open_page()
        driver.find_element(By.ID, "input").click()
        driver.execute_script("""window.times = {};
            document.addEventListener('keydown', () => { times.key = performance.now(); },
                                      {capture: true});
            new MutationObserver(() => {
                times.report = performance.now();
                requestAnimationFrame(() => { times.frame = performance.now(); });
            }).observe(document.getElementById('report'),
                       {childList: true, characterData: true, subtree: true});""")
        chord("v")
        wait_for(lambda: "frame" in driver.execute_script("return window.times"), "the report")
        times = driver.execute_script("""return Object.assign(window.times,
            {ready: performance.getEntriesByName('decoder ready')[0].startTime});""")
        return times["report"] - times["key"], times["frame"] - times["key"], times["ready"]


def main():
    global page_url
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    if webdriver is None or not (os.access(CHROMIUM, os.X_OK) and os.access(CHROMEDRIVER, os.X_OK)):
        sys.exit("page_test.py needs chromium, chromium-driver and python3-selenium "
                 "(scripts/install-prereqs)")
    page_url = "file://" + os.path.abspath(sys.argv[1])
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # a timeout still stops the browser
    profile = start_browser()
    try:
        result = unittest.main(argv=sys.argv[:1], exit=False, verbosity=2).result
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
        shutil.rmtree(downloads, ignore_errors=True)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
