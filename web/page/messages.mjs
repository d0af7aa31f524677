// SPDX-License-Identifier: MIT
// What the page says: the desktop program's texts, and a Japanese reason
// for every failure the module or the browser reports.
import { describeSealing } from './sealing.mjs';
import { call } from './worker_link.mjs';

// The texts the module gives, which the desktop program shows: loaded
// once, before the page is ready.
export const words = {};

export async function loadWords() {
    Object.assign(words, await call('words', []));
}

export const kNothingEnciphered = '暗号化されたテキストがありません。';
export const kSaveQuestion = 'このテキストを保存しますか?';

// The largest file the page opens, by the type its name says. A text and
// an enciphered text are read and kept a piece at a time, in Blobs the
// browser may keep on disk; a password file OpenPGP.js opens whole, in
// memory. An enciphered file is up to four times the size of its text (or
// more, for a text of rare characters), and the page opens whatever it saved.
const kMegabyte = 1024 * 1024;
const kLargest = { text: 256 * kMegabyte, enciphered: 1024 * kMegabyte, sealed: 64 * kMegabyte };

export function largestFile(type) {
    return kLargest[type];
}

export function tooLarge(name, size) {
    const megabytes = (size / kMegabyte).toFixed(1);
    const { text, enciphered, sealed } = Object.fromEntries(Object.entries(kLargest).map(([type, bytes]) => [type, bytes / kMegabyte]));
    return `${name}（${megabytes} MB）は大きすぎて、このページでは開けません。\n` +
        `このページで開けるのは、txt は ${text} MB、zkt は ${enciphered} MB、OpenPGP は ${sealed} MB までのファイルです。文書はどれも元のままです。`;
}

function outOfMemory(error) {
    return error?.name === 'RangeError' || /memory|allocat|enlarge|abort/i.test(error?.message ?? '');
}

// A reason for every failure: never an object's or an English message alone.
export function describe(error) {
    if (error?.sealing) {
        return describeSealing(error);
    }
    if (error?.kind === 'invalidBytes' && error.encoding === 'UTF-16BE') {
        return 'UTF-16 (ビッグエンディアン) のファイルは読めません。UTF-8 か Shift_JIS で保存し直してください';
    }
    if (error?.words !== undefined) {
        return error.words;  // the module's, as the windows say it
    }
    if (error?.kind === 'workerFailed') {
        return '処理が途中で止まりました（メモリが足りない可能性があります）';
    }
    if (error?.kind === 'outOfMemory' || outOfMemory(error)) {
        return words.outOfMemory;
    }
    if (error?.name === 'NotReadableError' || error?.name === 'NotFoundError') {
        return 'ファイルを読めません（移動・削除されたか、読む権限がありません）';
    }
    const detail = error?.message ? `（${error.message}）` : '';
    return `予期しないエラーが起きました${detail}`;
}
