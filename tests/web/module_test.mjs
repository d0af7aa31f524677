// SPDX-License-Identifier: MIT
// solvena.mjs against the release build: run() against zkt itself, byte for
// byte, on fixtures that reach every command, rule and message; and the
// module's reading and writing of every two-byte code and every 16-bit unit
// against the native document rules (web_codes).
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { gzipSync } from 'node:zlib';

const { default: solvena } = await import(`${process.env.SOLVENA_SITE}/solvena.mjs`);
const zkt = process.env.SOLVENA_ZKT;

const sjis = (hex) => Buffer.from(hex.replace(/ /g, ''), 'hex');
const utf8 = (text) => Buffer.from(text, 'utf8');
const utf16 = (units) => Buffer.from(new Uint16Array(units).buffer);

function native(args, input) {
    const done = spawnSync(zkt, args, { input, maxBuffer: 1 << 28 });
    return { status: done.status, stdout: done.stdout, stderr: done.stderr };
}

function same(args, input) {
    const expected = native(args, input);
    const got = solvena.run(args, input);
    const shown = `zkt ${args.join(' ')}`;
    assert.equal(got.status, expected.status, `${shown}: status`);
    assert.equal(Buffer.from(got.stderr).toString(), expected.stderr.toString(), `${shown}: stderr`);
    assert.ok(Buffer.from(got.stdout).equals(expected.stdout), `${shown}: stdout differs`);
    return got;
}

// Every unit from 0 to 65535 but CR and LF, whose line ends the reading
// rule changes, and the surrogates, which stand at the end in pairs.
function everyUnit() {
    const units = [];
    for (let u = 0; u < 0x10000; u++) {
        if (u !== 13 && u !== 10 && (u < 0xd800 || u > 0xdfff)) {
            units.push(u);
        }
    }
    units.push(0xd83d, 0xde00, 0xdc00, 0x41, 0xd800);
    return units;
}

const plain = {
    'Shift_JIS with CR LF': sjis('96be93fa82cd894a82aa8d7e82e982e782b582a281420d0a8e5082f08e9d82c182c482a282ad82b182c681420d0a'),
    'UTF-8 with LF': utf8('明日は雨。\n傘を持つ。\nabc\n'),
    'UTF-8 with a mark': utf8('\ufeffメモ\r\n二行目\r\n'),
    'leading empty lines, lone CR and LF': utf8('\r\n\r\n一\r二\n三\r\n'),
    'look-alikes': utf8('波〜線と‖と−\r\n'),
    empty: Buffer.alloc(0),
    'bytes that are no text': sjis('41 42 ff fe 81'),
};

test('zkt encipher and decipher give the bytes native zkt gives', () => {
    for (const [name, bytes] of Object.entries(plain)) {
        for (const args of [['encipher', '-p', '1234'], ['encipher', '-p', '０７'], ['encipher', '-p', '2.5', '--encoding', 'utf-8']]) {
            const enciphered = same(args, bytes);
            if (enciphered.status !== 0) {
                continue;
            }
            for (const more of [[], ['--encoding', 'utf-8', '--eol', 'lf'], ['--encoding', 'utf-16le'], ['--force', '-p', '9']]) {
                same(['decipher', '-p', args[2], ...more], enciphered.stdout);
            }
        }
    }
});

test('zkt recover, help, version and usage errors answer as native zkt', () => {
    const enciphered = native(['encipher', '-p', '4821'], plain['Shift_JIS with CR LF']).stdout;
    same(['recover'], enciphered);
    same(['recover', '-n', '3'], enciphered);
    same(['recover', '--pass-list'], Buffer.alloc(0));
    same(['decipher', '-p', '4822'], enciphered);
    same(['decipher', '-p', '12'], utf8('not enciphered at all\n'));
    for (const args of [['--help'], ['--version'], [], ['frobnicate'], ['encipher'], ['encipher', '-p', '12345'],
        ['encipher', '-p', '-1'], ['decipher', '-p', 'x'], ['encipher', '--enc=utf-8', '-p', '1', '--eol', 'cr'],
        ['encipher', '-p', '1', 'no-such-file.txt']]) {
        same(args, utf8('text\n'));
    }
});

test('every 16-bit unit is enciphered and written as native zkt does', () => {
    const units = utf16(everyUnit());
    for (const pass of ['0', '4821', '-32767']) {
        const enciphered = same(['encipher', '--encoding', 'utf-16le', '-p', pass], units);
        for (const encoding of ['utf-16le', 'utf-8', 'cp932']) {
            same(['decipher', '--force', '--encoding', encoding, '-p', pass], enciphered.stdout);
        }
    }
});

test('every two-byte code page 932 code is read as native zkt reads it', () => {
    // All codes in one text, each on a line of its own: a code that is no
    // text fails the whole, so that each is also read by itself below.
    const lines = [];
    for (let code = 0x8140; code <= 0xfcfc; code++) {
        lines.push(Buffer.from([code >> 8, code & 0xff, 13, 10]));
    }
    same(['encipher', '--encoding', 'cp932', '-p', '1'], Buffer.concat(lines));
    const readable = lines.filter((line) => solvena.run(['encipher', '--encoding', 'cp932', '-p', '1'], line).status === 0);
    same(['encipher', '--encoding', 'cp932', '-p', '1'], Buffer.concat(readable));
    assert.ok(readable.length > 7000, `only ${readable.length} codes read`);
});

test('the module reads and writes every code as the native document rules do', () => {
    const codes = spawnSync(process.env.SOLVENA_CODES, { maxBuffer: 1 << 26 });
    assert.equal(codes.status, 0);
    const mismatches = [];
    for (const line of codes.stdout.toString().trimEnd().split('\n')) {
        const [kind, number, expected] = line.split(' ');
        const value = Number(number);
        let got;
        if (kind === 'R') {
            try {
                const text = solvena.openText(Buffer.from([value >> 8, value & 0xff]), { encoding: 'cp932', lineEnd: 'crlf' }).text;
                got = Array.from({ length: text.length }, (_, i) => `${text.charCodeAt(i)},`).join('');
            } catch (error) {
                got = `E${error.byteOffset}`;
            }
        } else {
            try {
                got = Buffer.from(solvena.saveText(String.fromCharCode(value), { encoding: kind === 'C' ? 'cp932' : 'utf-8', lineEnd: 'lf' })).toString('hex');
            } catch {
                got = 'E';
            }
        }
        if (got !== (expected ?? '')) {
            mismatches.push(`${line} (module: ${got})`);
        }
    }
    assert.deepEqual(mismatches.slice(0, 20), []);
});

test('the functions on bytes give what zkt gives, and judge as zkt judges', () => {
    const bytes = plain['Shift_JIS with CR LF'];
    const enciphered = solvena.encipher(bytes, 4821);
    assert.ok(Buffer.from(enciphered).equals(native(['encipher', '-p', '4821'], bytes).stdout));
    const back = solvena.decipher(enciphered, 4821);
    assert.equal(back.judgement, 'plausible');
    assert.ok(Buffer.from(back.bytes).equals(native(['decipher', '-p', '4821'], enciphered).stdout));
    assert.equal(solvena.decipher(enciphered, 4822, { encoding: 'utf-16le' }).judgement, 'notText');
    assert.equal(solvena.decipherText('hello', 1).judgement, 'nothingEnciphered');
    const ranking = solvena.rankPassNumbers(enciphered, 3);
    assert.equal(ranking.best[0].pass, 4821);
    assert.ok(ranking.clearlyAhead);
    assert.equal(ranking.best[0].opening, '明日は雨が降るらしい。\r\n傘を持っていくこと。');
});

test('texts keep every unit, lone surrogates and line ends included', () => {
    const text = String.fromCharCode(...everyUnit()) + '\r\n\r\n';
    assert.equal(solvena.decipherText(solvena.encipherText(text, -32768), -32768).text, text);
    const long = 'a\ud800'.repeat(5000);
    assert.equal(solvena.decipherText(solvena.encipherText(long, 7), 7).text, long);
    assert.throws(() => solvena.saveText('\ud800'), (error) => error.kind === 'unrepresentable' && error.count === 1);
    const { question, ...found } = solvena.lookAlikes('a〜');
    assert.deepEqual(found, { count: 1, first: '〜', becomes: '～', line: 1, column: 2 });
    assert.ok(question.startsWith('Shift_JIS では別の文字になる文字が 1 個あります（最初は 1 行 2 列の「〜」(U+301C) が「～」(U+FF5E)'), question);
});

// The lists are the file dialog's; each entry's keys name a format that
// is written and read back as itself.
test('the lists to open and save with are the file dialog\'s, and every entry is a format', () => {
    assert.deepEqual(solvena.openChoices().map((choice) => [choice.label, choice.encoding]),
        [['自動判別', 'auto'], ['Shift_JIS', 'cp932'], ['UTF-8', 'utf-8']]);
    const usual = ['Shift_JIS (CR LF)', 'UTF-8 (LF)', 'UTF-8 (CR LF)'];
    for (const [format, own] of [[{}, 'Shift_JIS (CR LF)'], [{ encoding: 'cp932', lineEnd: 'lf' }, 'Shift_JIS (LF)'],
        [{ encoding: 'utf-16le', lineEnd: 'lf', byteOrderMark: true }, 'UTF-16 (LF)'],
        [{ encoding: 'utf-8', lineEnd: 'crlf', byteOrderMark: true }, 'UTF-8 (CR LF)']]) {
        const choices = solvena.saveChoices(format);
        const labels = choices.map((choice) => choice.label);
        assert.deepEqual(labels, usual.includes(own) ? usual : [...usual, own]);
        assert.deepEqual(choices.filter((choice) => choice.chosen).map((choice) => choice.label), [own]);
        for (const { label, chosen, ...entry } of choices) {
            const bytes = solvena.saveText('あa\r\nb', entry);
            assert.deepEqual(solvena.openText(bytes).format, entry, label);
        }
    }
    const words = solvena.words();
    assert.deepEqual(Object.keys(words), ['passPrompt', 'passRejected', 'doubtfulResult', 'nameToSave', 'encipherToStoreAll', 'storeInUtf8', 'outOfMemory']);
    assert.ok(Object.values(words).every((text) => text.length > 0));
    assert.throws(() => solvena.saveText('😀'), (error) => error.words === 'Shift_JIS で保存できない文字が 1 個あります（最初は 1 行 1 列の U+1F600）。');
});

test('file names are the native table\'s: a Japanese name keeps every character', () => {
    assert.deepEqual(['メモ.txt', 'メモ.ZKT', 'メモ.txt.asc', 'メモ.md'].map(solvena.fileTypeOf), ['text', 'enciphered', 'sealed', null]);
    assert.equal(solvena.nameAs('日記.zkt', 'text'), '日記.txt');
    assert.equal(solvena.nameAs('日記.txt.gpg', 'enciphered'), '日記.zkt');
    assert.equal(solvena.savedName('日記', 'enciphered'), '日記.zkt');
    assert.equal(solvena.savedName('日記.TXT', 'enciphered'), '日記.TXT');
});

test('pass entries follow the pass-number dialog', () => {
    assert.equal(solvena.passEntry('0000'), 0);
    assert.equal(solvena.passEntry('１２３４'), 1234);
    assert.equal(solvena.passEntry('2.5'), 2);
    assert.equal(solvena.passEntry('12345'), null);
    assert.equal(solvena.passEntry('x'), null);
    assert.throws(() => solvena.encipherText('a', 40000), RangeError);
});

test('files are read in the format they were written, and runs leave no trace', () => {
    const marked = solvena.openText(utf8('\ufeffメモ\r\n'));
    assert.deepEqual(marked, { text: 'メモ', format: { encoding: 'utf-8', lineEnd: 'crlf', byteOrderMark: true } });
    assert.ok(Buffer.from(solvena.saveText(marked.text, marked.format)).equals(utf8('\ufeffメモ\r\n')));
    assert.deepEqual(solvena.openText(utf8('a\nb\n')).format, { encoding: 'utf-8', lineEnd: 'lf', byteOrderMark: false });
    assert.throws(() => solvena.openText(sjis('41 42 81 20')), (error) => error.kind === 'invalidBytes' && error.byteOffset === 2);
    // A failed run, then others: each reads its own input and writes afresh.
    assert.equal(solvena.run(['decipher', '-p', '1'], 'no text').status, 1);
    const first = solvena.run(['encipher', '-p', '5'], 'one');
    const second = solvena.run(['encipher', '-p', '5'], 'two');
    assert.equal(Buffer.from(solvena.run(['decipher', '-p', '5', '--encoding', 'utf-8'], first.stdout).stdout).toString(), 'one\r\n');
    assert.equal(Buffer.from(solvena.run(['decipher', '-p', '5', '--encoding', 'utf-8'], second.stdout).stdout).toString(), 'two\r\n');
    assert.deepEqual(Buffer.from(second.stderr), Buffer.alloc(0));
});

test('a text of several pieces streams as native zkt streams it', () => {
    const long = utf8('長い文書の一行です。\n'.repeat(150000));
    const enciphered = same(['encipher', '-p', '77'], long);
    same(['decipher', '-p', '77'], enciphered.stdout);
    same(['decipher', '-p', '77', '--encoding', 'utf-8', '--eol', 'lf'], enciphered.stdout);
});

// The page's worker reads a large document a slice at a time and keeps
// the pieces: cut anywhere, they give what the whole-text functions give.
function pieces(array, sizes) {
    let at = 0;
    let turn = 0;
    return () => {
        if (at >= array.length) {
            return null;
        }
        const size = sizes[turn++ % sizes.length];
        const piece = array.slice(at, at + size);
        at += size;
        return piece;
    };
}

function streamed(run) {
    const out = [];
    const result = run((piece) => out.push(piece));
    const joined = new (out[0]?.constructor ?? Uint8Array)(out.reduce((sum, piece) => sum + piece.length, 0));
    out.reduce((at, piece) => (joined.set(piece, at), at + piece.length), 0);
    return { result, joined };
}

const codeUnits = (text) => Uint16Array.from(text, (c) => c.charCodeAt(0));

test('texts read, ciphered and written in pieces are the whole texts\' own', () => {
    const file = utf8(`${'明日は雨。\r\n'.repeat(3000)}😀\r\n`);
    for (const sizes of [[1], [3, 7, 1], [4096], [1 << 20]]) {
        const opened = streamed((sink) => solvena.openStream(pieces(file, sizes), sink));
        const whole = solvena.openText(file);
        assert.deepEqual(opened.result, whole.format);
        assert.equal(solvena.unitsText(opened.joined), whole.text);
        // Enciphered pieces cut a surrogate pair; deciphered ones a group.
        const ascii = streamed((sink) => solvena.encipherStream(pieces(opened.joined, sizes), 1234, sink)).joined;
        assert.equal(solvena.unitsText(ascii), solvena.encipherText(whole.text, 1234));
        const back = streamed((sink) => solvena.decipherStream(pieces(ascii, sizes), 1234, sink));
        assert.equal(solvena.unitsText(back.joined), whole.text);
        assert.equal(back.result.judgement, 'plausible');
        const saved = streamed((sink) => solvena.saveStream(pieces(back.joined, sizes), sink, whole.format));
        assert.ok(Buffer.from(saved.joined).equals(file));
    }
    const stray = solvena.encipherText('あいうえお'.repeat(40), 9);
    const damaged = codeUnits(`${stray.slice(0, 50)}x${stray.slice(50)}`);
    const verdict = streamed((sink) => solvena.decipherStream(pieces(damaged, [13]), 9, sink)).result;
    const held = solvena.decipherText(solvena.unitsText(damaged), 9);
    assert.equal(verdict.judgement, 'damaged');
    assert.deepEqual(verdict, { judgement: held.judgement, damage: held.damage });
    assert.equal(streamed((sink) => solvena.decipherStream(pieces(codeUnits('plain text'), [4]), 9, sink)).result.judgement, 'nothingEnciphered');
    // A large text is ranked on its opening, whose cut group is no damage.
    const opening = solvena.encipherText('明日は雨が降るらしい。\r\n'.repeat(200), 4821).slice(0, 3001);
    const ranked = solvena.rankPassNumbers(opening, 3, { opening: true });
    assert.deepEqual([ranked.best[0].pass, ranked.format], [4821, null]);
    const { lookAlikes } = streamed((sink) => solvena.saveStream(pieces(codeUnits('a〜'), [1]), sink)).result;
    assert.deepEqual([lookAlikes.count, lookAlikes.first, lookAlikes.becomes], [1, '〜', '～']);
    assert.throws(() => solvena.saveStream(pieces(codeUnits('a😀b'), [2]), () => {}), (error) => error.kind === 'unrepresentable');
    assert.throws(() => solvena.openStream(pieces(sjis('41 42 81 20'), [1]), () => {}), (error) => error.kind === 'invalidBytes' && error.byteOffset === 2);
});

// What a phone downloads once, either way: the files the installed site
// keeps (its service worker's list), or the one-file page; each carries the
// WebAssembly. What the page needs to start stays within 600 kB compressed;
// OpenPGP.js, which only password files load, adds about 130 kB (129,665
// bytes for 6.3.2) on top, so the whole stays within 760 kB.
test('the site and the one-file page stay small, and OpenPGP.js is what they add', () => {
    const site = process.env.SOLVENA_SITE;
    const compressed = (name) => gzipSync(readFileSync(join(site, name)), { level: 9 }).length;
    const kept = JSON.parse(/const FILES = (\[.*\]);/.exec(readFileSync(join(site, 'sw.js'), 'utf8'))[1]);
    const onDemand = ['sealing_worker.mjs', 'openpgp.min.mjs'];
    assert.deepEqual(onDemand.filter((name) => kept.includes(name)), onDemand, 'the service worker keeps them too');
    const size = (names) => names.map(compressed).reduce((a, b) => a + b, 0);
    const firstLoad = size(kept.filter((name) => name !== './' && !onDemand.includes(name)));
    assert.ok(firstLoad <= 600_000, `the page needs ${firstLoad} bytes compressed to start`);
    assert.ok(size(onDemand) <= 160_000, `password files add ${size(onDemand)} bytes compressed`);
    assert.ok(firstLoad + size(onDemand) <= 760_000, `the installed site is ${firstLoad + size(onDemand)} bytes`);
    assert.ok(compressed('solvena.html') <= 760_000, `solvena.html is ${compressed('solvena.html')} bytes compressed`);
});
