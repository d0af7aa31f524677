// SPDX-License-Identifier: MIT
// The documents the page holds: the one in the editor and the others opened
// with it, each with its text, its file's format, whether it has changed
// since it was opened or saved, and the commands that can be taken back.
import { $, ask, notify, say, withProgress } from './dialogs.mjs';
import { describe, kSaveQuestion, largestFile, tooLarge } from './messages.mjs';
import { unsealFile } from './sealing.mjs';
import { call } from './worker_link.mjs';

export const editor = $('text');
export const docs = { list: [], current: null };

export function newDocument() {
    return { name: 'Newname', text: '', format: null, enciphered: false, changed: false, undo: [] };
}

// The type a save of the document proposes: a password file's is sealed
// again, with the password it was opened with.
export function typeOf(doc) {
    if (doc.password !== undefined) {
        return 'sealed';
    }
    return doc.enciphered ? 'enciphered' : 'text';
}

// The download's name as the program names it: memo.txt after 解読 or for
// a text, memo.zkt for an enciphered one, memo.txt.gpg for a password
// file's. It is not asked for twice.
export async function updateFileName() {
    const doc = docs.current;
    const name = await call('nameAs', [doc.name, typeOf(doc)]);
    if (docs.current === doc) {
        $('file-name').value = name;
        $('save-type').value = typeOf(doc);
    }
}

// The save dialog's choices, as the module gives them for the document's
// format: its own first chosen, and offered when it is none of the usual
// ones. Saving waits for the latest list.
let saveChoicesShown = Promise.resolve();

function updateSaveChoices() {
    const doc = docs.current;
    saveChoicesShown = call('saveChoices', [doc.format ?? {}]).then((choices) => {
        if (docs.current !== doc) {
            return;
        }
        $('save-format').replaceChildren(...choices.map(({ label, chosen, ...format }) => {
            const option = new Option(label, JSON.stringify(format));
            option.selected = chosen;
            return option;
        }));
    }, () => {});  // a cancelled run's worker took the call; the next show asks again
}

export function saveChoicesReady() {
    return saveChoicesShown;
}

// The open list's choices, from the module once it is ready.
export async function showOpenChoices() {
    const choices = await call('openChoices', []);
    $('open-encoding').replaceChildren(...choices.map(({ label, encoding }) => new Option(label, encoding)));
}

// The document's text. The editor shows it, but reads its line breaks back
// as LF, so the text is taken from it only once it has been edited, its
// line breaks then CR LF as the desktop editor's are.
export function documentText() {
    const doc = docs.current;
    if (doc.edited) {
        doc.text = editor.value.replace(/\n/g, '\r\n');
        doc.edited = false;
    }
    return doc.text;
}

// Above this many characters the editor shows only the opening, read-only,
// as browsers' file tools show a large file: a text area holding millions
// of characters freezes the page at every change and every key. The worker
// gives such a text as {blob, wide, length, opening}, its units in a Blob.
export const kPreviewAbove = 1 << 20;
const kPreviewLength = 20000;

export function isLarge(text) {
    return typeof text !== 'string' || text.length > kPreviewAbove;
}

// What the editor shows of a text.
export function shownText(text) {
    if (!isLarge(text)) {
        return text;
    }
    return typeof text === 'string' ? text.slice(0, kPreviewLength) : text.opening;
}

// Puts the document's text in the editor, or for a large one its opening
// and what the commands still do with the whole.
export function present(doc) {
    const large = isLarge(doc.text);
    editor.value = shownText(doc.text);
    editor.readOnly = large;
    $('large-note').hidden = !large;
    $('large-note').textContent = large
        ? `大きな文書なので、最初の ${kPreviewLength.toLocaleString()} 文字だけを表示しています（全体は ${doc.text.length.toLocaleString()} 文字）。` +
          'ここでは編集できませんが、暗号化・解読・保存は文書全体に行います。'
        : '';
}

export function updateButtons() {
    const empty = docs.current.text.length === 0 && editor.value.length === 0;
    $('encipher').disabled = empty;
    $('decipher').disabled = empty;
    $('find-pass').disabled = empty;
    const doc = docs.current;
    $('undo').disabled = doc.undo.length === 0 || doc.typedSinceCommand;
}

export function show(doc) {
    docs.current = doc;
    present(doc);
    updateFileName();
    updateSaveChoices();
    updateButtons();
}

// An empty new text that nothing was done with, which files opened replace.
function blank(doc) {
    return doc.format === null && !doc.changed && doc.undo.length === 0 && editor.value === '' && doc === docs.current;
}

export function listDocuments() {
    const select = $('documents');
    select.replaceChildren(...docs.list.map((doc, i) => new Option(doc.name, String(i), false, doc === docs.current)));
    $('documents-field').hidden = docs.list.length < 2 && blank(docs.current);
}

export function anyChanged() {
    return docs.list.some((doc) => doc.changed);
}

$('documents').addEventListener('change', (event) => {
    documentText();
    show(docs.list[Number(event.target.value)]);
});

// The same file again (by name, size and time) is the document it became.
function fileKey(file) {
    return `${file.name}\u0000${file.size}\u0000${file.lastModified}`;
}

// A password file's text is read as the file inside it; its password is
// kept with the document, in memory only, to seal it again. Null when its
// password was not given or the reading was cancelled.
async function readFile(file, type, encoding) {
    const unsealed = type === 'sealed' ? await unsealFile(file) : null;
    if (type === 'sealed' && unsealed === null) {
        return null;
    }
    // Read in the worker a piece at a time: a large file is never whole here.
    const doc = await withProgress('open', [unsealed ? new Blob([unsealed.bytes]) : file, { encoding }]);
    if (doc === null) {
        return null;  // cancelled
    }
    const opened = { ...newDocument(), name: file.name, text: doc.text, format: doc.format, file: fileKey(file) };
    if (unsealed) {
        opened.password = unsealed.password;
    }
    return { ...opened, enciphered: type === 'enciphered' };
}

// Opens what can be opened; what cannot is told in one message.
export async function openFiles(files) {
    const encoding = $('open-encoding').value;
    const opened = [];
    const refused = [];
    let again = null;
    for (const file of files) {
        const known = docs.list.find((doc) => doc.file === fileKey(file));
        const type = await call('fileTypeOf', [file.name]).catch(() => undefined);
        if (known) {
            again = known;
        } else if (type === undefined) {
            refused.push(`${file.name} を読み込めません。\n${describe({ kind: 'workerFailed' })}`);
        } else if (type === null) {
            refused.push(`${file.name}: 開けるのは txt・zkt と OpenPGP（gpg・asc・pgp）のファイルです。`);
        } else if (file.size > largestFile(type)) {
            refused.push(tooLarge(file.name, file.size));
        } else {
            try {
                const doc = await readFile(file, type, encoding);
                if (doc !== null) {
                    opened.push(doc);
                }
            } catch (error) {
                refused.push(`${file.name} を読み込めません。\n${describe(error)}`);
            }
        }
    }
    if (refused.length > 0) {
        await notify(refused.join('\n\n'));
    }
    const first = opened[0] ?? again;
    if (!first) {
        return;
    }
    documentText();
    // An empty new text gives way to the files opened.
    docs.list = docs.list.filter((doc) => !blank(doc));
    docs.list.push(...opened);
    show(first);
    listDocuments();
    say(opened.length === 0 ? `${first.name} はもう開いています。` :
        opened.length === 1 ? `${first.name} を開きました。` : `${opened.length} 個のファイルを開きました。`);
}

$('open').addEventListener('change', async (event) => {
    await openFiles([...event.target.files]);
    event.target.value = '';
});

$('new').addEventListener('click', () => {
    documentText();
    const doc = newDocument();
    docs.list.push(doc);
    show(doc);
    listDocuments();
    editor.focus();
});

// What a closed document held goes with it, its password first.
export function forget(doc) {
    delete doc.password;
    doc.text = '';
    doc.undo = [];
}

// Closing a changed document asks as closing the window does; `save`
// saves the document in the editor and says whether it did.
export async function closeDocument(save) {
    const doc = docs.current;
    if (doc.changed) {
        const answer = await ask(kSaveQuestion, ['yes', 'no', 'cancel']);
        if (answer === 'cancel' || (answer === 'yes' && !(await save()))) {
            return;
        }
    }
    const at = docs.list.indexOf(doc);
    docs.list.splice(at, 1);
    forget(doc);
    if (docs.list.length === 0) {
        docs.list.push(newDocument());
    }
    show(docs.list[Math.min(at, docs.list.length - 1)]);
    listDocuments();
    say(`${doc.name} を閉じました。`);
}

document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dragging');
});
document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dragging');
    // Not while a window asks something: its answer belongs to the document shown.
    if (document.querySelector('dialog[open]') === null) {
        openFiles([...event.dataTransfer.files]);
    }
});

editor.addEventListener('input', (event) => {
    const doc = docs.current;
    doc.edited = true;
    doc.changed = true;
    // Typing stands between a command and its undo; the editor's own undo
    // takes the typing back, and then the command's turn comes again.
    if (event.inputType === 'historyUndo') {
        doc.typedSinceCommand = doc.typedSinceCommand && editor.value !== doc.commandResult;
    } else {
        doc.typedSinceCommand = true;
    }
    updateButtons();
});
