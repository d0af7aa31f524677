#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Password files on the page in headless chromium: files gpg made open
after a wrong password and the right one, saves that gpg and the release
build's zkt unseal to the bytes the page's txt save writes, a password
file's document sealed again with its password, and the messages no
password opens refused with their reason. Skipped without gpg."""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import page_test  # noqa: E402  (its browser, server and helpers)

GPG = shutil.which('gpg')
TEXT = '秘密のメモ。\r\n明日の会議は十時から。\r\n'
PASSWORD = 'とても長い合言葉 2026'


def stop_agent(home):
    """Ends the agent gpg started for a home of the tests', which outlives it otherwise."""
    subprocess.run(['gpgconf', '--homedir', str(home), '--kill', 'gpg-agent'], check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def gpg(home, *args, data=b''):
    command = [GPG, '--homedir', str(home), '--batch', '--yes', '--pinentry-mode', 'loopback', *args]
    return subprocess.run(command, input=data, capture_output=True, check=True).stdout


@unittest.skipIf(GPG is None, 'gpg is not installed')
class SealingTest(unittest.TestCase):
    # The page's own tests' browser, server and ways of using the page.
    named = page_test.PageTest.named
    wait = page_test.PageTest.wait
    editor = page_test.PageTest.editor
    load = page_test.PageTest.load
    requests_since_load = page_test.PageTest.requests_since_load
    downloaded = page_test.PageTest.downloaded
    answer = page_test.PageTest.answer

    @classmethod
    def setUpClass(cls):
        page_test.PageTest.setUpClass.__func__(cls)
        cls.home = cls.folder / 'gnupg'
        cls.home.mkdir(mode=0o700)

    @classmethod
    def tearDownClass(cls):
        stop_agent(cls.home)
        page_test.PageTest.tearDownClass.__func__(cls)

    def sealed_by_gpg(self, name, *options):
        path = self.folder / name
        path.write_bytes(gpg(self.home, '--passphrase', PASSWORD, *options, '--symmetric', data=TEXT.encode('utf-8')))
        return path

    def password_dialog(self):
        dialog = self.driver.find_element(By.ID, 'password-dialog')
        self.wait(lambda: dialog.get_attribute('open') is not None)
        return dialog

    def type_password(self, value, note=None):
        dialog = self.password_dialog()
        if note is not None:
            self.wait(lambda: note in dialog.find_element(By.ID, 'password-note').text)
        field = self.named('パスワード')
        self.assertEqual(field.get_attribute('type'), 'password')
        field.send_keys(value, Keys.ENTER)

    def choose_type(self, label):
        Select(self.named('保存するファイルの種類')).select_by_visible_text(label)

    def test_files_gpg_sealed_open_after_a_wrong_password(self):
        self.load(f'http://127.0.0.1:{self.server.server_port}/index.html')
        variants = {
            'plain.txt.gpg': [],
            'armored.txt.asc': ['--armor'],
            'aes128.txt.gpg': ['--cipher-algo', 'AES128'],
            'twofish.txt.pgp': ['--cipher-algo', 'TWOFISH'],
            'cast5.txt.gpg': ['--cipher-algo', 'CAST5'],
            'zlib.txt.gpg': ['--compress-algo', 'zlib', '-z', '9'],
            'bzip2.txt.gpg': ['--compress-algo', 'bzip2'],
            'stored.txt.gpg': ['-z', '0'],
        }
        for name, options in variants.items():
            with self.subTest(name):
                path = self.sealed_by_gpg(name, *options)
                self.named('ファイルを開く').send_keys(str(path))
                self.type_password('違う合言葉')
                self.type_password(PASSWORD, note='パスワードが違います。')
                self.wait(lambda: self.driver.find_element(By.ID, 'status').text == f'{name} を開きました。')
                self.assertEqual(self.editor(), TEXT.replace('\r\n', '\n')[:-1])
                self.assertEqual(self.driver.find_element(By.ID, 'file-name').get_attribute('value'), 'plain.txt.gpg'
                                 if name == 'plain.txt.gpg' else name.rsplit('.', 1)[0] + '.gpg')
                self.assertEqual(self.named('保存するファイルの種類').get_attribute('value'), 'sealed')
        # What the page fetches after it loaded is its own worker of password
        # files and the library, and nothing else.
        for url in self.requests_since_load():
            self.assertRegex(url, r'^http://127\.0\.0\.1:\d+/(sealing_worker|openpgp\.min)\.mjs$')

    def test_cancel_leaves_nothing_open_and_the_field_shows_on_request(self):
        self.load(f'http://127.0.0.1:{self.server.server_port}/index.html')
        self.named('ファイルを開く').send_keys(str(self.sealed_by_gpg('cancel.txt.gpg')))
        self.password_dialog()
        field = self.named('パスワード')
        field.send_keys('見える')
        self.named('パスワードを表示する').click()
        self.assertEqual(field.get_attribute('type'), 'text')
        self.driver.find_element(By.ID, 'password-cancel').click()
        self.wait(lambda: self.driver.find_element(By.ID, 'password-dialog').get_attribute('open') is None)
        self.assertEqual(self.editor(), '')
        # Nothing typed stays in the window for the next file.
        self.assertEqual(field.get_attribute('value'), '')
        self.assertEqual(field.get_attribute('type'), 'password')

    def save_as_openpgp(self, name, password, again):
        field = self.driver.find_element(By.ID, 'file-name')
        field.clear()
        field.send_keys(name)
        self.choose_type('OpenPGP（パスワード）')
        self.assertEqual(field.get_attribute('value'), name.rsplit('.', 1)[0] + '.txt.gpg')
        self.named('保存').click()
        self.password_dialog()
        self.named('パスワード').send_keys(password)
        self.named('パスワード（確認）').send_keys(again, Keys.ENTER)

    def test_a_saved_password_file_unseals_in_gpg_and_zkt_to_the_txt_save(self):
        self.load(f'http://127.0.0.1:{self.server.server_port}/index.html')
        self.named('本文').send_keys('新しい秘密。\n二行目〒')
        self.named('保存').click()
        plain = self.downloaded('Newname.txt')
        self.save_as_openpgp('secret.txt', '1234', '1235')
        warning = self.driver.find_element(By.ID, 'password-warning')
        self.wait(lambda: warning.text == 'パスワードが一致しません。')
        self.named('パスワード').clear()
        self.named('パスワード').send_keys('1234')
        self.assertIn('このパスワードは弱く', warning.text)
        self.named('パスワード').clear()
        self.named('パスワード（確認）').clear()
        self.named('パスワード').send_keys(PASSWORD)
        self.named('パスワード（確認）').send_keys(PASSWORD, Keys.ENTER)
        sealed = self.folder / 'secret.txt.gpg'
        sealed.write_bytes(self.downloaded('secret.txt.gpg'))
        self.assertEqual(gpg(self.home, '--passphrase', PASSWORD, '-d', str(sealed)), plain)
        packets = subprocess.run([GPG, '--homedir', str(self.home), '--batch', '--pinentry-mode', 'loopback',
                                  '--passphrase', PASSWORD, '--list-packets', str(sealed)],
                                 capture_output=True, text=True, check=True).stdout
        for what in ('cipher 9', 'hash 8', 'count 65011712', 'mdc_method: 2', 'name="secret.txt"'):
            self.assertIn(what, packets)
        self.assertNotIn('compressed packet', packets)
        secret = self.folder / 'password'
        secret.write_text(PASSWORD)
        self.assertEqual(page_test.zkt('unseal', '--password-file', str(secret), str(sealed)), plain)

    def test_a_password_files_document_is_sealed_again_and_asks_before_a_plain_save(self):
        self.load(f'http://127.0.0.1:{self.server.server_port}/index.html')
        self.named('ファイルを開く').send_keys(str(self.sealed_by_gpg('again.txt.gpg')))
        self.type_password(PASSWORD)
        self.wait(lambda: self.editor().startswith('秘密のメモ'))
        self.named('本文').send_keys(Keys.CONTROL, Keys.END)
        self.named('本文').send_keys('追記')
        self.named('保存').click()
        resealed = self.folder / 'resealed.gpg'
        resealed.write_bytes(self.downloaded('again.txt.gpg'))
        self.assertEqual(gpg(self.home, '--passphrase', PASSWORD, '-d', str(resealed)), (TEXT[:-2] + '追記\r\n').encode('utf-8'))
        # As a plain file it is asked about, いいえ the default.
        self.choose_type('txt')
        self.assertEqual(self.driver.find_element(By.ID, 'file-name').get_attribute('value'), 'again.txt')
        self.named('保存').click()
        self.answer('again.txt はパスワードのない普通のファイルとして保存され', 'いいえ')
        self.assertFalse((self.downloads / 'again.txt').exists())
        self.named('保存').click()
        self.answer('again.txt はパスワードのない普通のファイルとして保存され', 'はい')
        self.assertEqual(self.downloaded('again.txt'), (TEXT[:-2] + '追記\r\n').encode('utf-8'))
        # Its password went with it: sealing it now asks for a new one.
        self.choose_type('OpenPGP（パスワード）')
        self.named('保存').click()
        self.password_dialog()
        self.assertTrue(self.named('パスワード（確認）').is_displayed())

    def test_messages_no_password_opens_are_refused_with_the_reason(self):
        self.load(f'http://127.0.0.1:{self.server.server_port}/index.html')
        keys = pathlib.Path(tempfile.mkdtemp(prefix='solvena-gnupg-'))
        keys.chmod(0o700)
        self.addCleanup(shutil.rmtree, keys, True)
        self.addCleanup(stop_agent, keys)
        gpg(keys, '--passphrase', '', '--quick-gen-key', 'Test <test@example.invalid>', 'futuredefault', 'default', 'never')
        to_key = self.folder / 'to-key.txt.gpg'
        to_key.write_bytes(gpg(keys, '--trust-model', 'always', '-r', 'test@example.invalid', '--encrypt',
                               data=TEXT.encode('utf-8')))
        no_mdc = self.sealed_by_gpg('old.txt.gpg', '--rfc2440', '--cipher-algo', 'CAST5')
        camellia = self.sealed_by_gpg('camellia.txt.gpg', '--cipher-algo', 'CAMELLIA256')
        junk = self.folder / 'junk.txt.gpg'
        junk.write_bytes(b'not a message at all\n')
        reasons = {
            to_key: '鍵で暗号化されたファイルです。パスワードのファイルではありません。gpg で開いてください。',
            no_mdc: '改ざんを確かめる仕組み（MDC）のない古い形式のファイル',
            camellia: 'このページが対応していない暗号（OpenPGP の番号 13）',
            junk: 'OpenPGP のファイルではありません',
        }
        for path, reason in reasons.items():
            with self.subTest(path.name):
                self.named('ファイルを開く').send_keys(str(path))
                self.answer(f'{path.name} を読み込めません。\n{reason}', 'OK')
                self.assertIsNone(self.driver.find_element(By.ID, 'password-dialog').get_attribute('open'))
        self.assertEqual(self.editor(), '')

    def test_a_document_too_large_to_seal_is_refused_before_a_password_is_asked(self):
        self.load(f'http://127.0.0.1:{self.server.server_port}/index.html')
        large = self.folder / 'large.txt'
        line = ''.join(f'{i} 行目のメモ\n' for i in range(100)).encode('utf-8')
        large.write_bytes(line * (65 * 1024 * 1024 // len(line) + 1))
        self.named('ファイルを開く').send_keys(str(large))
        self.wait(lambda: 'large.txt を開きました' in self.driver.find_element(By.ID, 'status').text, 120)
        self.choose_type('OpenPGP（パスワード）')
        self.named('保存').click()
        self.answer('パスワードのファイルにできるのは 64 MB までです', 'OK')
        self.assertIsNone(self.driver.find_element(By.ID, 'password-dialog').get_attribute('open'))
        self.assertFalse((self.downloads / 'large.txt.gpg').exists())

    # Loaded before the page's own scripts: the workers it starts, by name.
    COUNT_WORKERS = """
        window.workersStarted = [];
        window.Worker = class extends Worker {
            constructor(url, options) {
                window.workersStarted.push(String(url).split('/').pop());
                super(url, options);
            }
        };"""

    def workers(self):
        return sorted(self.driver.execute_script('return window.workersStarted'))

    def test_the_library_starts_only_for_a_password_file_and_works_offline(self):
        script = self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': self.COUNT_WORKERS})
        self.addCleanup(self.driver.execute_cdp_cmd, 'Page.removeScriptToEvaluateOnNewDocument', script)
        server = page_test.serve_site.serve(page_test.SITE)
        self.load(f'http://127.0.0.1:{server.server_port}/index.html')
        self.wait(lambda: self.driver.execute_script('return navigator.serviceWorker.controller !== null'))
        server.shutdown()
        server.server_close()
        self.load(self.driver.current_url)
        self.assertEqual(self.workers(), ['worker.mjs'])
        self.named('ファイルを開く').send_keys(str(self.sealed_by_gpg('offline.txt.gpg')))
        self.type_password(PASSWORD)
        self.wait(lambda: self.editor().startswith('秘密のメモ'))
        self.assertEqual(self.workers(), ['sealing_worker.mjs', 'worker.mjs'])

    def test_the_one_file_page_opens_and_saves_password_files_without_a_request(self):
        self.load((page_test.SITE / 'solvena.html').as_uri())
        self.named('ファイルを開く').send_keys(str(self.sealed_by_gpg('disk.txt.asc', '--armor')))
        self.type_password(PASSWORD)
        self.wait(lambda: self.editor().startswith('秘密のメモ'))
        self.assertEqual(self.driver.find_element(By.ID, 'file-name').get_attribute('value'), 'disk.txt.gpg')
        self.named('保存').click()
        saved = self.folder / 'disk.txt.gpg'
        saved.write_bytes(self.downloaded('disk.txt.gpg'))
        self.assertEqual(gpg(self.home, '--passphrase', PASSWORD, '-d', str(saved)), TEXT.encode('utf-8'))
        self.assertEqual(self.requests_since_load(), [])


if __name__ == '__main__':
    unittest.main(verbosity=2)
