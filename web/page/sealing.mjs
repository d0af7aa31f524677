// SPDX-License-Identifier: MIT
// Password files (.gpg, .asc, .pgp) through the sealing worker, started the
// first time one is opened or saved: its password asked for, and the bytes
// inside handed on as a file's bytes are.
import { askPassword } from './password_dialog.mjs';

let sealer = null;
let nextSealing = 1;
const sealings = new Map();

function startSealer() {
    // The one-file page carries the worker's source with the library inside.
    const inline = document.getElementById('sealing-source');
    const source = inline
        ? `data:text/javascript;charset=utf-8,${encodeURIComponent(inline.textContent)}`
        : new URL('sealing_worker.mjs', import.meta.url);
    sealer = new Worker(source, { type: 'module' });
    sealer.onmessage = (event) => {
        const { id, result, error } = event.data;
        const run = sealings.get(id);
        sealings.delete(id);
        if (error === undefined) {
            run?.resolve(result);
        } else {
            run?.reject({ sealing: true, ...error });
        }
    };
    sealer.onerror = (event) => {
        event.preventDefault();
        for (const run of sealings.values()) {
            run.reject({ sealing: true, kind: 'failed', message: event.message });
        }
        sealings.clear();
        sealer.terminate();
        sealer = null;
    };
}

function sealCall(call, args) {
    if (sealer === null) {
        startSealer();
    }
    return new Promise((resolve, reject) => {
        const id = nextSealing++;
        sealings.set(id, { resolve, reject });
        sealer.postMessage({ id, call, args });
    });
}

// The bytes inside a password file and its password; null when the
// password window was cancelled. A message no password opens is refused
// before any is asked for; a wrong password is asked again.
export async function unsealFile(file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    await sealCall('unseal', [bytes, null]);
    let note = `${file.name} のパスワードを入力してください。`;
    for (;;) {
        const password = await askPassword(note);
        if (password === null) {
            return null;
        }
        try {
            return { bytes: await sealCall('unseal', [bytes, password]), password };
        } catch (error) {
            if (error.kind !== 'wrongPassword') {
                throw error;
            }
            note = `パスワードが違います。${file.name} のパスワードをもう一度入力してください。`;
        }
    }
}

// A new password for a password file, asked twice; null when cancelled.
export function newPassword(name) {
    return askPassword(`${name} を開くときのパスワードを決めてください。`, true);
}

// The file's bytes sealed, `innerName` the name gpg gives what it unseals.
export function seal(bytes, password, innerName) {
    return sealCall('seal', [bytes, password, innerName]);
}

// What the page says of a password file it cannot open or write.
export function describeSealing(error) {
    switch (error.kind) {
        case 'publicKey':
            return '鍵で暗号化されたファイルです。パスワードのファイルではありません。gpg で開いてください。';
        case 'noIntegrity':
            return '改ざんを確かめる仕組み（MDC）のない古い形式のファイルなので、このページでは開きません。gpg で開いてください。';
        case 'notOpenPGP':
            return 'OpenPGP のファイルではありません（壊れているか、別の種類のファイルです）。';
        case 'unknownCipher':
            return `このページが対応していない暗号（OpenPGP の番号 ${error.cipher}）で暗号化されています。gpg で開いてください。`;
        default:
            return `パスワードファイルを扱えませんでした（${error.message}）。`;
    }
}
