// SPDX-License-Identifier: MIT
// 保存: the document's bytes by the writing rule, downloaded as a new file.
import { $, ask, notify, say, withProgress } from './dialogs.mjs';
import { docs, documentText, saveChoicesReady, updateButtons } from './documents.mjs';
import { describe, largestFile, words } from './messages.mjs';
import { newPassword, seal } from './sealing.mjs';
import { call } from './worker_link.mjs';

// What the save dialog asks before it writes: the format to write, with its
// file (a Blob) when it was made on the way; null when nothing is to be
// written.
async function confirmStorable(name, value, format, zkt) {
    if (format.encoding !== 'cp932') {
        return { format };
    }
    const utf8 = { format: { encoding: 'utf-8', lineEnd: format.lineEnd, byteOrderMark: false } };
    let saved;
    try {
        saved = await withProgress('save', [value, format]);
    } catch (error) {
        if (error.kind !== 'unrepresentable') {
            await notify(`${name} に保存できません。\n${describe(error)}`);
            return null;
        }
        if (zkt) {
            await notify(`${error.words}\n${words.encipherToStoreAll}`);
            return null;
        }
        return (await ask(`${error.words}\n${words.storeInUtf8}`, ['yes', 'no', 'cancel'])) === 'yes' ? utf8 : null;
    }
    if (saved === null) {
        return null;  // cancelled
    }
    if (zkt || saved.lookAlikes === null) {
        return { format, blob: saved.blob };
    }
    const answer = await ask(saved.lookAlikes.question, ['yes', 'no', 'cancel']);
    return { yes: { format, blob: saved.blob }, no: utf8, cancel: null }[answer];
}

// File systems take names of at most 255 bytes, and the browser adds to a
// name while it downloads: a longer one is cut, its extension kept.
const kLongestName = 200;

export function fittedName(name) {
    const encoder = new TextEncoder();
    if (encoder.encode(name).length <= kLongestName) {
        return name;
    }
    // memo.txt.gpg keeps both endings, as the file's type needs both.
    const extension = name.match(/(\.[^.]{1,4}){1,2}$/)?.[0] ?? '';
    const characters = [...name.slice(0, name.length - extension.length)];
    while (encoder.encode(characters.join('') + extension).length > kLongestName) {
        characters.pop();
    }
    return characters.join('') + extension;
}

// A password file's document saved as a plain one is asked about first:
// its text would no longer be private. Whether to go on.
async function leavesPassword(name, type) {
    if (docs.current.password === undefined || type === 'sealed') {
        return true;
    }
    const question = `${name} はパスワードのない普通のファイルとして保存され、誰でも読めるようになります。保存しますか?`;
    return (await ask(question, ['yes', 'no'], 'no')) === 'yes';
}

// The file as the save format writes it, sealed for a password file with
// the document's password or, for its first seal, a new one.
async function sealed(name, blob) {
    // OpenPGP.js seals a file whole, in memory: a larger one could take
    // the tab, and the page, with it.
    if (blob.size > largestFile('sealed')) {
        await notify(`${name} に保存できません。\nパスワードのファイルにできるのは ${largestFile('sealed') / 1024 / 1024} MB までです。txt か zkt で保存してください。`);
        return null;
    }
    const doc = docs.current;
    const password = doc.password ?? (await newPassword(name));
    if (password === null) {
        return null;
    }
    const bytes = new Uint8Array(await blob.arrayBuffer());
    const result = await seal(bytes, password, await call('nameAs', [name, 'text']));
    doc.password = password;
    return new Blob([result], { type: 'application/octet-stream' });
}

// The file to download, a Blob; null when nothing is to be written.
async function savedFile(name, type) {
    const zkt = type === 'enciphered';
    const value = documentText();
    await saveChoicesReady();
    // An enciphered file is one line of ASCII and its CR LF, as zkt writes it.
    const format = zkt ? { encoding: 'cp932', lineEnd: 'crlf', byteOrderMark: false } : JSON.parse($('save-format').value);
    const chosen = await confirmStorable(name, value, format, zkt);
    if (chosen === null) {
        return null;
    }
    try {
        const blob = chosen.blob ?? (await withProgress('save', [value, chosen.format]))?.blob;
        if (blob === undefined) {
            return null;  // cancelled
        }
        return type === 'sealed' ? await sealed(name, blob) : blob;
    } catch (error) {
        await notify(`${name} に保存できません。\n${describe(error)}`);
        return null;
    }
}

// Saves the document in the editor; whether its bytes were downloaded.
export async function save() {
    let name = $('file-name').value.trim();
    if (name === '') {
        await notify(words.nameToSave);
        return false;
    }
    let type;
    try {
        name = fittedName(await call('savedName', [name, $('save-type').value]));
        type = await call('fileTypeOf', [name]);
    } catch (error) {
        await notify(`${name} に保存できません。\n${describe(error)}`);
        return false;
    }
    if (!(await leavesPassword(name, type))) {
        return false;
    }
    const blob = await savedFile(name, type);
    if (blob === null) {
        return false;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    const doc = docs.current;
    if (type !== 'sealed') {
        delete doc.password;  // the document is a plain file's now
    }
    doc.changed = false;
    updateButtons();
    say(`${name} をダウンロードしました（${blob.size} バイト）。`);
    return true;
}

$('save').addEventListener('click', save);

// The type chosen renames the file; a name typed with a known ending
// chooses its type.
$('save-type').addEventListener('change', async (event) => {
    $('file-name').value = await call('nameAs', [$('file-name').value.trim() || docs.current.name, event.target.value]);
});
$('file-name').addEventListener('change', async (event) => {
    const type = await call('fileTypeOf', [event.target.value.trim()]);
    if (type !== null) {
        $('save-type').value = type;
    }
});
