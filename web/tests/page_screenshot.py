#!/usr/bin/python3
"""Takes the README's pictures of the browser page in headless Chromium at a
desktop size: a log dropped on it, with a prefix; with --fleet, the fleet
view of the generated fleet of vexa-decode --summary's tests, its charts;
with --fleet-reports, its worst calls and its table of reports sorted by
noise level, a row chosen with the keyboard.

usage: page_screenshot.py PAGE OUT.png [--fleet | --fleet-reports]   (from the source root)
"""
import os
import sys
import tempfile

import page_test


def main(page, out, view=""):
    page_test.page_url = "file://" + os.path.abspath(page)
    profile = page_test.start_browser()
    driver = page_test.driver
    logs = tempfile.mkdtemp(prefix="vexa-fleet-")
    try:
        # The table of reports is wider than the rest: wide enough to show the
        # column it is sorted by.
        driver.set_window_size(1366 if view == "--fleet-reports" else 1280,
                               {"": 620, "--fleet": 1300, "--fleet-reports": 1000}[view])
        page_test.open_page()
        if view == "":
            page_test.drop(os.path.join(page_test.EXAMPLES, "two-reports.log"))
            page_test.set_prefix("modem7")
            driver.execute_script("document.activeElement.blur()")
        else:
            page_test.open_fleet(logs, page_test.make_fleet.make_fleet(logs))
            driver.execute_script("document.activeElement.blur()")
        if view == "--fleet":
            driver.execute_script("document.getElementById('fleet').scrollIntoView()")
        elif view == "--fleet-reports":
            driver.execute_script("""
                const sort = Array.from(document.querySelectorAll('#reports th button'))
                    .find((button) => button.textContent === 'Noise, -dBm');
                sort.click();
                document.querySelector('#reports tbody tr:nth-child(2)').focus();
                document.getElementById('reports').parentElement.scrollIntoView({block: 'end'});""")
        driver.save_screenshot(out)
    finally:
        driver.quit()
        for directory in (profile, page_test.downloads, logs):
            page_test.shutil.rmtree(directory, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4) or sys.argv[3:] not in ([], ["--fleet"], ["--fleet-reports"]):
        sys.exit(__doc__)
    main(*sys.argv[1:])
