#!/usr/bin/python3
"""Takes the README's picture of the browser page: a log dropped on it, with
a prefix, in headless Chromium at a desktop size.

usage: page_screenshot.py PAGE OUT.png   (from the source root)
"""
import os
import sys

import page_test


def main(page, out):
    page_test.page_url = "file://" + os.path.abspath(page)
    profile = page_test.start_browser()
    driver = page_test.driver
    try:
        driver.set_window_size(1280, 620)
        page_test.open_page()
        page_test.drop(os.path.join(page_test.EXAMPLES, "two-reports.log"))
        page_test.set_prefix("modem7")
        driver.execute_script("document.activeElement.blur()")
        driver.save_screenshot(out)
    finally:
        driver.quit()
        page_test.shutil.rmtree(profile, ignore_errors=True)
        page_test.shutil.rmtree(page_test.downloads, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
