// SPDX-License-Identifier: MIT
// The page: the main window's commands over the module's C++, which runs in
// a worker. Nothing here computes what the C++ computes; it shows, asks and
// downloads.

const $ = (id) => document.getElementById(id);
const text = $('text');
const pass = $('pass');
const passLabel = $('pass-label');
const status = $('status');
const kPrompt = '▼パスナンバーを入力してください';
const kRejected = '▼４桁以内の数字を入力してください';
const kDoubtful = 'パスナンバーが違う可能性があります。結果を表示しますか？';

// ---- The worker --------------------------------------------------------

let worker;
let ready;
let nextId = 1;
const pending = new Map();

function startWorker() {
    // The one-file page carries the worker's source: a page opened from disk
    // may start a worker from a data: URL only.
    const inline = document.getElementById('worker-source');
    const source = inline
        ? `data:text/javascript;charset=utf-8,${encodeURIComponent(inline.textContent)}`
        : new URL('worker.mjs', import.meta.url);
    worker = new Worker(source, { type: 'module' });
    ready = new Promise((resolve) => {
        worker.addEventListener('message', (event) => {
            if (event.data.ready) {
                resolve();
            }
        });
    });
    worker.onmessage = (event) => {
        const { id, progress, result, error } = event.data;
        const call = pending.get(id);
        if (!call) {
            return;
        }
        if (progress !== undefined) {
            call.onProgress?.(progress);
        } else {
            pending.delete(id);
            error ? call.reject(error) : call.resolve(result);
        }
    };
}

async function call(name, args, onProgress) {
    await ready;
    return new Promise((resolve, reject) => {
        const id = nextId++;
        pending.set(id, { resolve, reject, onProgress });
        worker.postMessage({ id, call: name, args });
    });
}

// Cancelling ends the worker where it is and starts another: the document
// stays as it was.
function cancelRuns() {
    worker.terminate();
    for (const run of pending.values()) {
        run.reject({ cancelled: true });
    }
    pending.clear();
    startWorker();
}

// ---- Dialogs -----------------------------------------------------------

// Asks as the desktop program's message boxes do; resolves to the value of
// the button chosen ("yes", "no", "cancel" or "ok"), "cancel" on Escape.
function ask(message, answers) {
    const dialog = $('question');
    $('question-text').textContent = message;
    const buttons = dialog.querySelectorAll('.answers button');
    for (const button of buttons) {
        button.hidden = !answers.includes(button.value);
    }
    return new Promise((resolve) => {
        const done = (value) => {
            dialog.close();
            resolve(value);
        };
        for (const button of buttons) {
            button.onclick = () => done(button.value);
        }
        dialog.oncancel = (event) => {
            event.preventDefault();
            done(answers.includes('cancel') ? 'cancel' : answers.at(-1));
        };
        dialog.showModal();
        dialog.querySelector(`.answers button[value="${answers[0]}"]`).focus();
    });
}

const notify = (message) => ask(message, ['ok']);

// Runs a long call with the progress window; null when it was cancelled.
async function withProgress(name, args) {
    const dialog = $('progress');
    const bar = $('progress-bar');
    bar.value = 0;
    const shown = setTimeout(() => dialog.showModal(), 150);
    try {
        return await call(name, args, (fraction) => {
            bar.value = fraction;
        });
    } catch (error) {
        if (error.cancelled) {
            say('キャンセルしました。文書は元のままです。');
            return null;
        }
        throw error;
    } finally {
        clearTimeout(shown);
        if (dialog.open) {
            dialog.close();
        }
    }
}

$('cancel').addEventListener('click', cancelRuns);
$('progress').addEventListener('cancel', (event) => {
    event.preventDefault();
    cancelRuns();
});

function say(message) {
    status.textContent = message;
}

// ---- The document --------------------------------------------------------

// The document in the editor, and the others opened with it.
let documents = [];
let current = { name: 'Newname', format: null, enciphered: false };

function baseName(name) {
    return name.replace(/\.(txt|zkt)$/i, '');
}

// The download's name as the program names it: memo.txt after 解読 or for
// a text, memo.zkt for an enciphered one.
function updateFileName() {
    $('file-name').value = `${baseName(current.name)}.${current.enciphered ? 'zkt' : 'txt'}`;
}

const kSaveChoices = [
    ['Shift_JIS (CR LF)', { encoding: 'cp932', lineEnd: 'crlf' }],
    ['UTF-8 (LF)', { encoding: 'utf-8', lineEnd: 'lf' }],
    ['UTF-8 (CR LF)', { encoding: 'utf-8', lineEnd: 'crlf' }],
];

// The save dialog's choices: the document's own format first chosen.
function updateSaveChoices() {
    const format = current.format ?? { encoding: 'cp932', lineEnd: 'crlf', byteOrderMark: false };
    const choices = kSaveChoices.map(([label, choice]) => [label, { ...choice, byteOrderMark: choice.encoding === 'utf-8' && format.byteOrderMark }]);
    if (format.encoding === 'cp932' && format.lineEnd === 'lf') {
        choices.push(['Shift_JIS (LF)', { ...format }]);
    }
    const select = $('save-format');
    select.replaceChildren(...choices.map(([label, choice]) => {
        const option = new Option(label, JSON.stringify(choice));
        option.selected = choice.encoding === format.encoding && choice.lineEnd === format.lineEnd;
        return option;
    }));
}

// The document's text. The editor shows it, but reads its line breaks back
// as LF, so the text is taken from it only once it has been edited, its
// line breaks then CR LF as the desktop editor's are.
function documentText() {
    if (current.edited) {
        current.text = text.value.replace(/\n/g, '\r\n');
        current.edited = false;
    }
    return current.text;
}

function updateButtons() {
    const empty = text.value.length === 0;
    $('encipher').disabled = empty;
    $('decipher').disabled = empty;
    $('find-pass').disabled = empty;
}

function show(doc) {
    current = doc;
    text.value = doc.text;
    updateFileName();
    updateSaveChoices();
    updateButtons();
}

function keepCurrent() {
    documentText();
}

function listDocuments() {
    const select = $('documents');
    select.replaceChildren(...documents.map((doc, i) => new Option(doc.name, String(i), false, doc === current)));
    $('documents-field').hidden = documents.length < 2;
}

$('documents').addEventListener('change', (event) => {
    keepCurrent();
    show(documents[Number(event.target.value)]);
});

async function openFiles(files) {
    const encoding = $('open-encoding').value;
    const opened = [];
    for (const file of files) {
        const name = file.name;
        if (!/\.(txt|zkt)$/i.test(name)) {
            await notify(`${name} は開けません。\n開けるのは txt と zkt のファイルです。`);
            continue;
        }
        try {
            const bytes = new Uint8Array(await file.arrayBuffer());
            const doc = await call('open', [bytes, { encoding }]);
            opened.push({ name, text: doc.text, format: doc.format, enciphered: /\.zkt$/i.test(name) });
        } catch (error) {
            await notify(`${name} を読み込めません。\n${describe(error)}`);
        }
    }
    if (opened.length === 0) {
        return;
    }
    keepCurrent();
    // An empty new text gives way to the files opened.
    documents = documents.filter((doc) => doc !== current || doc.format !== null || doc.text !== '');
    documents.push(...opened);
    show(opened[0]);
    listDocuments();
    say(opened.length === 1 ? `${opened[0].name} を開きました。` : `${opened.length} 個のファイルを開きました。`);
}

function describe(error) {
    switch (error.kind) {
        case 'invalidBytes':
            return `テキストとして読めないバイトがあります（${error.byteOffset + 1} バイト目）`;
        case 'unrepresentable':
            return describeUnstorable(error);
        case 'outOfMemory':
            return 'メモリが足りません';
        default:
            return error.message ?? String(error);
    }
}

function describeUnstorable(error) {
    const code = `U+${error.character.toString(16).toUpperCase().padStart(4, '0')}`;
    return `Shift_JIS で保存できない文字が ${error.count} 個あります（最初は ${error.line} 行 ${error.column} 列の ${code}）。`;
}

$('open').addEventListener('change', async (event) => {
    await openFiles([...event.target.files]);
    event.target.value = '';
});

$('new').addEventListener('click', () => {
    keepCurrent();
    const doc = { name: 'Newname', text: '', format: null, enciphered: false };
    documents.push(doc);
    show(doc);
    listDocuments();
    text.focus();
});

document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dragging');
});
document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dragging');
    openFiles([...event.dataTransfer.files]);
});

text.addEventListener('input', () => {
    current.edited = true;
    updateButtons();
});

// ---- The pass number -------------------------------------------------------

// The system beep of the pass-number window, as a short tone.
function beep() {
    try {
        const audio = new AudioContext();
        const tone = audio.createOscillator();
        const volume = audio.createGain();
        volume.gain.value = 0.1;
        tone.frequency.value = 880;
        tone.connect(volume).connect(audio.destination);
        tone.start();
        tone.stop(audio.currentTime + 0.12);
        tone.onended = () => audio.close();
    } catch {
        // no sound to be had: the label says it all the same
    }
}

// The pass-number dialog's rule, as the entry changes: an entry that is no
// number of at most four characters is emptied with a beep, and the label
// says why.
let passValue = null;
pass.addEventListener('input', async () => {
    const entry = pass.value;
    if (entry === '') {
        passValue = null;
        passLabel.textContent = kPrompt;
        return;
    }
    const value = await call('passEntry', [entry]);
    if (pass.value !== entry) {
        return;  // typed on meanwhile
    }
    if (value === null || value === -1) {
        beep();
        pass.value = '';
        passValue = null;
        passLabel.textContent = kRejected;
        return;
    }
    passValue = value;
});

function passNumber() {
    if (passValue === null) {
        if (pass.value === '') {
            passLabel.textContent = kPrompt;
        }
        pass.focus();
        say('パスナンバーを入力してください。');
        return null;
    }
    return passValue;
}

// ---- The commands ------------------------------------------------------------

function replaceText(value, enciphered) {
    text.value = value;
    current.text = value;
    current.edited = false;
    current.enciphered = enciphered;
    updateFileName();
    updateButtons();
    text.focus();
    text.setSelectionRange(0, 0);
    text.scrollTop = 0;
}

$('encipher').addEventListener('click', async () => {
    const number = passNumber();
    if (number === null) {
        return;
    }
    const result = await withProgress('encipher', [documentText(), number]);
    if (result !== null) {
        replaceText(result, true);
        say('暗号化しました。');
    }
});

async function decipherWith(number) {
    const result = await withProgress('decipher', [documentText(), number]);
    if (result === null) {
        return;
    }
    if (result.judgement !== 'plausible' && (await ask(kDoubtful, ['yes', 'no'])) !== 'yes') {
        say('解読の結果を表示しませんでした。文書は元のままです。');
        return;
    }
    replaceText(result.text, false);
    say('解読しました。');
}

$('decipher').addEventListener('click', () => {
    const number = passNumber();
    if (number !== null) {
        decipherWith(number);
    }
});

// Where the text breaks, as zkt recover shows it.
function preview(opening) {
    return opening.replace(/\r\n|\r|\n/g, '⏎');
}

$('find-pass').addEventListener('click', async () => {
    const ranking = await withProgress('rank', [documentText(), 5]);
    if (ranking === null) {
        return;
    }
    const list = $('candidate-list');
    list.replaceChildren(...ranking.best.map((candidate) => {
        const button = document.createElement('button');
        button.type = 'button';
        const head = document.createElement('span');
        head.textContent = `${candidate.entry}（${candidate.score.toFixed(3)}）`;
        const opening = document.createElement('span');
        opening.className = 'opening';
        opening.textContent = preview(candidate.opening);
        button.append(head, opening);
        button.setAttribute('aria-label', `パスナンバー ${candidate.entry}、スコア ${candidate.score.toFixed(3)}: ${preview(candidate.opening)}`);
        button.addEventListener('click', () => {
            $('candidates').close();
            pass.value = candidate.entry;
            passValue = candidate.pass;
            passLabel.textContent = kPrompt;
            decipherWith(candidate.pass);
        });
        const item = document.createElement('li');
        item.append(button);
        return item;
    }));
    $('candidates-note').textContent = ranking.clearlyAhead
        ? '上のパスナンバーがはっきり有力です。選ぶとそのパスナンバーで解読します。'
        : '有力なパスナンバーを決められません。選ぶとそのパスナンバーで解読します。';
    $('candidates').showModal();
    list.querySelector('button')?.focus();
});

$('candidates-close').addEventListener('click', () => $('candidates').close());

// ---- Saving ------------------------------------------------------------

// What the save dialog asks before it writes: the format to write, with its
// bytes when they were made on the way; null when nothing is to be written.
async function confirmStorable(value, format, zkt) {
    if (format.encoding !== 'cp932') {
        return { format };
    }
    const utf8 = { format: { encoding: 'utf-8', lineEnd: format.lineEnd, byteOrderMark: false } };
    let bytes;
    try {
        bytes = await call('save', [value, format]);
    } catch (error) {
        if (error.kind !== 'unrepresentable') {
            await notify(`${$('file-name').value} に保存できません。\n${describe(error)}`);
            return null;
        }
        if (zkt) {
            await notify(`${describeUnstorable(error)}\n暗号化してから zkt 形式で保存すれば、すべての文字を保存できます。`);
            return null;
        }
        return (await ask(`${describeUnstorable(error)}\nUTF-8 で保存しますか？`, ['yes', 'no', 'cancel'])) === 'yes' ? utf8 : null;
    }
    const found = zkt ? null : await call('lookAlikes', [value]);
    if (found === null) {
        return { format, bytes };
    }
    const answer = await ask(
        `Shift_JIS では別の文字になる文字が ${found.count} 個あります（最初は ${found.line} 行 ${found.column} 列の「${found.first}」が「${found.becomes}」になります）。\n\n` +
            'はい: Shift_JIS で保存します\nいいえ: UTF-8 で保存します\nキャンセル: 保存しないで戻ります',
        ['yes', 'no', 'cancel'],
    );
    return { yes: { format, bytes }, no: utf8, cancel: null }[answer];
}

$('save').addEventListener('click', async () => {
    let name = $('file-name').value.trim();
    if (name === '') {
        await notify('保存する名前を入力してください');
        return;
    }
    if (!/\.(txt|zkt)$/i.test(name)) {
        name += current.enciphered ? '.zkt' : '.txt';
    }
    const value = documentText();
    const chosen = await confirmStorable(value, JSON.parse($('save-format').value), /\.zkt$/i.test(name));
    if (chosen === null) {
        return;
    }
    let { bytes } = chosen;
    try {
        bytes ??= await call('save', [value, chosen.format]);
    } catch (error) {
        await notify(`${name} に保存できません。\n${describe(error)}`);
        return;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    say(`${name} をダウンロードしました（${bytes.length} バイト）。`);
});

// ---- Start ----------------------------------------------------------------

startWorker();
documents.push(current);
current.text = '';
show(current);
listDocuments();
ready.then(() => {
    document.body.dataset.ready = 'true';
});
if ('serviceWorker' in navigator && /^https?:$/.test(location.protocol)) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
}
