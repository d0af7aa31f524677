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

// The largest file the page opens: the text, its enciphered form and the
// editor's copy must all fit in the memory a browser gives one tab. An
// enciphered file is up to four times the size of its text, and the page
// opens whatever it saved.
const kLargestText = 16 * 1024 * 1024;
const kLargestEnciphered = 4 * kLargestText;

// By the type the file's name says.
export function largestFile(type) {
    return type === 'enciphered' ? kLargestEnciphered : kLargestText;
}

export function tooLarge(name, size) {
    const megabytes = (size / 1024 / 1024).toFixed(1);
    return `${name}（${megabytes} MB）は大きすぎて、このページでは開けません。\n` +
        `このページで開けるのは、txt と OpenPGP は ${kLargestText / 1024 / 1024} MB、zkt は ${kLargestEnciphered / 1024 / 1024} MB までのファイルです。文書はどれも元のままです。`;
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
