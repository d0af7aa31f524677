// SPDX-License-Identifier: MIT
// The web page's module under node beside native zkt, on this machine: a
// 10 MB document enciphered and deciphered (the module's functions on bytes,
// the page's way a piece at a time, and zkt itself through run()), and a
// 1 MB enciphered text ranked. Each
// figure is the median of five runs after one to warm up.
// Usage: node bench/web_bench.mjs BUILD_DIR WEB_BUILD_DIR
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const [build, web] = process.argv.slice(2);
if (!build || !web) {
    console.error('usage: node bench/web_bench.mjs BUILD_DIR WEB_BUILD_DIR');
    process.exit(2);
}
const zkt = join(build, 'cli', 'zkt');
const folder = mkdtempSync(join(tmpdir(), 'solvena-web-bench-'));
const documentPath = join(folder, 'document.txt');
execFileSync(join(build, 'bench', 'make_sample_document'), ['10', documentPath]);
const plain = readFileSync(documentPath);
const enciphered = execFileSync(zkt, ['encipher', '-p', '1234', documentPath], { maxBuffer: 1 << 30 });
const encipheredPath = join(folder, 'document.zkt');
writeFileSync(encipheredPath, enciphered);
// A megabyte of enciphered text: the groups of its first million bytes.
const cut = enciphered.subarray(0, 1 << 20).toString('latin1');
const megabyte = Buffer.from(`${cut.slice(0, cut.search(/[!K#M$L%P&N'R([)\]W/Y.][^!K#M$L%P&N'R([)\]W/Y.]*$/) + 1)}ZELKORA\r\n`, 'latin1');
const megabytePath = join(folder, 'megabyte.zkt');
writeFileSync(megabytePath, megabyte);

const loadStart = performance.now();
const { default: solvena } = await import(pathToFileURL(resolve(web, 'site', 'solvena.mjs')).href);
const loadTime = performance.now() - loadStart;

function median(work) {
    work();
    const times = [];
    for (let i = 0; i < 5; i++) {
        const start = performance.now();
        work();
        times.push(performance.now() - start);
    }
    return times.sort((a, b) => a - b)[2];
}

const native = (args) => () => execFileSync(zkt, args, { maxBuffer: 1 << 30 });
// The page's 解読: the enciphered text's units a piece at a time, as its
// worker reads them from a Blob, the result's pieces kept.
const encipheredText = enciphered.subarray(0, enciphered.length - 2);
function inPieces() {
    let at = 0;
    const kept = [];
    solvena.decipherStream(() => {
        if (at >= encipheredText.length) {
            return null;
        }
        const piece = encipheredText.slice(at, at + (1 << 18));
        at += 1 << 18;
        return piece;
    }, 1234, (piece) => kept.push(piece));
    return kept;
}
const rows = [
    ['encipher 10 MB', native(['encipher', '-p', '1234', documentPath, '-o', join(folder, 'out.zkt')]),
        () => solvena.encipher(plain, 1234), () => solvena.run(['encipher', '-p', '1234'], plain)],
    ['decipher 10 MB', native(['decipher', '-p', '1234', encipheredPath, '-o', join(folder, 'out.txt')]),
        () => solvena.decipher(enciphered, 1234), () => solvena.run(['decipher', '-p', '1234'], enciphered)],
    ['decipher 10 MB, pieces', native(['decipher', '-p', '1234', encipheredPath, '-o', join(folder, 'out.txt')]),
        inPieces, null],
    ['rank 1 MB enciphered', native(['recover', megabytePath]),
        () => solvena.rankPassNumbers(megabyte, 5), () => solvena.run(['recover'], megabyte)],
];
console.log(`solvena.mjs loads in ${loadTime.toFixed(0)} ms`);
console.log('                       native zkt   module    ratio   run()    ratio');
for (const [name, nativeWork, moduleWork, runWork] of rows) {
    const n = median(nativeWork);
    const m = median(moduleWork);
    const r = runWork && median(runWork);
    const run = r ? `${r.toFixed(0).padStart(6)} ms ${(r / n).toFixed(2).padStart(6)}` : '';
    console.log(`${name.padEnd(22)} ${n.toFixed(0).padStart(7)} ms ${m.toFixed(0).padStart(6)} ms ${(m / n).toFixed(2).padStart(6)} ${run}`);
}
