#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The page in headless chromium on a large document, beside native zkt on
the same file: open → 暗号化 → 保存 and open → 解読 timed as a person sees
them (from the file chosen to the text shown, the download written), the
renderer's peak memory (its VmHWM, the worker included), and the page's
longest task (Long Tasks), which is what freezes it. Sizes in megabytes;
a size the page refuses is reported as refused.
Usage: bench/web_page_bench.py BUILD_DIR WEB_BUILD_DIR [MEGABYTES...]"""

import os
import pathlib
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / 'tests' / 'web'))
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / 'web' / 'tools'))
import serve_site  # noqa: E402
os.environ.setdefault('SOLVENA_SITE', '')
os.environ.setdefault('SOLVENA_ZKT', '')
from page_test import browser  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

LONG_TASKS = """window.longest = 0;
new PerformanceObserver((list) => { for (const t of list.getEntries()) longest = Math.max(longest, t.duration); })
    .observe({ type: 'longtask', buffered: true });"""
LINE = '明日は雨が降るらしい。傘を持っていくこと。〒と①も。The quick brown fox.\r\n'


def renderer_peaks(profile):
    """VmHWM in MB of each renderer of the chromium using `profile`."""
    peaks = []
    for proc in pathlib.Path('/proc').iterdir():
        try:
            command = (proc / 'cmdline').read_bytes().decode(errors='replace')
            if '--type=renderer' in command and str(profile) in command:
                status = (proc / 'status').read_text()
                peaks.append(int(status.split('VmHWM:')[1].split()[0]) // 1024)
        except (OSError, IndexError):
            continue
    return peaks


def native(zkt, *args):
    """Seconds, and peak memory in MB, of zkt's own run (the browser's
    processes, reaped by the driver, would count in RUSAGE_CHILDREN)."""
    start = time.perf_counter()
    run = subprocess.Popen([zkt, *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(run.pid, 0)
    run.returncode = os.waitstatus_to_exitcode(status)
    if run.returncode != 0:
        raise subprocess.CalledProcessError(run.returncode, [zkt, *args])
    return time.perf_counter() - start, usage.ru_maxrss // 1024


def page_run(site, folder, document, enciphered):
    downloads = folder / 'downloads'
    downloads.mkdir(exist_ok=True)
    driver = browser(downloads)
    driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': LONG_TASKS})
    server = serve_site.serve(site)
    wait = WebDriverWait(driver, 600, poll_frequency=0.05)
    try:
        driver.get(f'http://127.0.0.1:{server.server_port}/index.html')
        wait.until(lambda d: d.execute_script('return document.body.dataset.ready') == 'true')
        status = driver.find_element(By.ID, 'status')
        start = time.perf_counter()
        driver.find_element(By.ID, 'open').send_keys(str(document))
        wait.until(lambda d: 'を開きました' in status.text or d.find_element(By.ID, 'question').get_attribute('open'))
        if driver.find_element(By.ID, 'question').get_attribute('open'):
            return None
        opened = time.perf_counter() - start
        driver.find_element(By.ID, 'pass').send_keys('1234')
        driver.find_element(By.ID, 'encipher').click()
        wait.until(lambda d: status.text == '暗号化しました。')
        enciphered_at = time.perf_counter() - start
        driver.find_element(By.ID, 'save').click()
        saved = downloads / 'document.zkt'
        wait.until(lambda d: saved.exists() and saved.stat().st_size > 0 and
                   not (downloads / 'document.zkt.crdownload').exists())
        total = time.perf_counter() - start
        start = time.perf_counter()
        driver.find_element(By.ID, 'open').send_keys(str(enciphered))
        wait.until(lambda d: 'enciphered.zkt を開きました' in status.text or
                   d.find_element(By.ID, 'question').get_attribute('open'))
        deciphered = float('nan')  # the enciphered file refused
        if not driver.find_element(By.ID, 'question').get_attribute('open'):
            driver.find_element(By.ID, 'decipher').click()
            wait.until(lambda d: status.text == '解読しました。')
            driver.find_element(By.ID, 'save').click()
            back = downloads / 'enciphered.txt'
            wait.until(lambda d: back.exists() and back.stat().st_size > 0 and
                       not (downloads / 'enciphered.txt.crdownload').exists())
            deciphered = time.perf_counter() - start
        longest = driver.execute_script('return longest')
        peak = max(renderer_peaks(driver.capabilities['chrome']['userDataDir']) or [0])
        return opened, enciphered_at, total, deciphered, longest, peak
    finally:
        driver.quit()
        server.shutdown()


def main(build, web, sizes):
    zkt = str(pathlib.Path(build) / 'cli' / 'zkt')
    site = pathlib.Path(web) / 'site'
    print('MB   native enc  native dec  page open  +暗号化  +保存   open+解読+保存  longest task  renderer peak')
    for megabytes in sizes:
        folder = pathlib.Path(tempfile.mkdtemp(prefix='solvena-page-bench-'))
        document = folder / 'document.txt'
        # Numbered lines: one line said over and over reads as well under a
        # neighbouring pass number, and 解読 would rightly doubt it.
        with document.open('wb') as out:
            for number in range(megabytes * 1024 * 1024 // len(LINE.encode('utf-8'))):
                out.write(f'{number} {LINE}'.encode('utf-8'))
        enciphered = folder / 'enciphered.zkt'
        encipher, encipher_peak = native(zkt, 'encipher', '-p', '1234', str(document), '-o', str(enciphered))
        decipher, decipher_peak = native(zkt, 'decipher', '-p', '1234', str(enciphered), '-o', str(folder / 'back.txt'))
        native_peak = max(encipher_peak, decipher_peak)
        result = page_run(site, folder, document, enciphered)
        if result is None:
            print(f'{megabytes:<4} {encipher:9.2f} s {decipher:9.2f} s  refused by the page (zkt peak {native_peak} MB)')
            continue
        opened, enciphered_at, total, deciphered, longest, peak = result
        print(f'{megabytes:<4} {encipher:9.2f} s {decipher:9.2f} s {opened:8.2f} s {enciphered_at:7.2f} s '
              f'{total:6.2f} s {deciphered:8.2f} s {longest:10.0f} ms {peak:10d} MB (zkt peak {native_peak} MB)')


if __name__ == '__main__':
    if len(sys.argv) < 3:
        sys.exit('usage: bench/web_page_bench.py BUILD_DIR WEB_BUILD_DIR [MEGABYTES...]')
    main(sys.argv[1], sys.argv[2], [int(size) for size in sys.argv[3:]] or [10])
