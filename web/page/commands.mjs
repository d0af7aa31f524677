// SPDX-License-Identifier: MIT
// 暗号化, 解読 and パスナンバーを探す over the document in the editor, each
// answered as the window answers it, and each one that changes the text
// taken back by 元に戻す (or Ctrl+Z while nothing was typed since).
import { $, ask, notify, say, withProgress } from './dialogs.mjs';
import { docs, documentText, editor, listDocuments, present, show, shownText, updateButtons, updateFileName } from './documents.mjs';
import { describe, kNothingEnciphered, words } from './messages.mjs';
import { passNumber, showPass } from './pass_entry.mjs';

// Puts a command's result in place of the text, keeping what it replaced.
function replaceText(value, enciphered) {
    const doc = docs.current;
    doc.undo.push({ text: documentText(), enciphered: doc.enciphered, changed: doc.changed });
    doc.text = value;
    present(doc);
    doc.edited = false;
    doc.changed = true;
    doc.enciphered = enciphered;
    doc.typedSinceCommand = false;
    doc.commandResult = editor.value;
    updateFileName();
    updateButtons();
    editor.focus();
    editor.setSelectionRange(0, 0);
    editor.scrollTop = 0;
}

// A run's result goes to the document it was run on, shown again if another
// was chosen while it ran; false when that document was closed meanwhile.
function backTo(doc) {
    if (!docs.list.includes(doc)) {
        return false;
    }
    if (docs.current !== doc) {
        documentText();
        show(doc);
        listDocuments();
    }
    return true;
}

export function undoCommand() {
    const doc = docs.current;
    const before = doc.undo.pop();
    if (!before) {
        return;
    }
    Object.assign(doc, before, { edited: false, typedSinceCommand: false });
    present(doc);
    doc.commandResult = editor.value;
    updateFileName();
    updateButtons();
    editor.focus();
    say('元に戻しました。');
}

// A long run whose failure is told; null when it failed or was cancelled.
async function run(what, name, args) {
    try {
        return await withProgress(name, args);
    } catch (error) {
        await notify(`${what}できません。\n${describe(error)}`);
        return null;
    }
}

// The text of the document a command was given for, which may no longer be
// the one shown.
function textOf(doc) {
    return doc === docs.current ? documentText() : doc.text;
}

export async function encipher() {
    const doc = docs.current;
    const number = await passNumber(encipher);
    if (number === null) {
        return;
    }
    const result = await run('暗号化', 'encipher', [textOf(doc), number]);
    if (result !== null && backTo(doc)) {
        replaceText(result, true);
        say('暗号化しました。');
    }
}

// Selects the first place that breaks the enciphered format, as the window
// does: the document's place counts a line break as two units, the
// editor's as one.
function selectDamage({ position, last }) {
    const editorPlace = (place) => {
        const before = shownText(documentText()).slice(0, place - 1);
        return before.length - (before.match(/\r\n/g)?.length ?? 0);
    };
    const at = editorPlace(position);
    if (at >= editor.value.length) {
        return;  // beyond the opening a large document shows
    }
    // The whole group it breaks: the stray character is somewhere in it.
    editor.focus();
    editor.setSelectionRange(at, Math.max(at, editorPlace(last)) + 1);
    editor.blur();
    editor.focus();  // scrolls the selection into view
}

// Whether the result takes the document's place, as the window decides,
// いいえ the default wherever the result is in doubt:
// "result", "document", or "find" to look for the pass number instead.
async function wanted(result) {
    switch (result.judgement) {
        case 'plausible':
            return 'result';
        case 'nothingEnciphered':
            await notify(`${kNothingEnciphered}文書は元のままです。`);
            return 'document';
        case 'damaged':
            // Shown while it is asked about, and again after the question,
            // whose closing moves the editor's selection.
            selectDamage(result.damage);
            if ((await ask(result.damage.question, ['yes', 'no'], 'no')) === 'yes') {
                return 'result';
            }
            selectDamage(result.damage);
            return 'document';
        case 'notEnciphered':
            return (await ask(words.doubtfulResult, ['yes', 'no'], 'no')) === 'yes' ? 'result' : 'document';
        default:
            return { yes: 'result', find: 'find' }[await ask(words.doubtfulResult, ['yes', 'no', 'find'], 'no')] ?? 'document';
    }
}

async function decipherWith(doc, number) {
    const result = await run('解読', 'decipher', [textOf(doc), number]);
    if (result === null || !backTo(doc)) {
        return;
    }
    // Nothing comes of a text that holds no enciphered text: the text stays.
    if (result.text.length === 0 && result.judgement !== 'plausible') {
        result.judgement = 'nothingEnciphered';
    }
    const answer = await wanted(result);
    if (answer === 'find') {
        await findPass();
    } else if (answer === 'result') {
        replaceText(result.text, false);
        say('解読しました。');
    } else {
        say('解読の結果を表示しませんでした。文書は元のままです。');
    }
}

export async function decipher() {
    const doc = docs.current;
    const number = await passNumber(decipher);
    if (number !== null) {
        await decipherWith(doc, number);
    }
}

// Where the text breaks, as zkt recover shows it.
function preview(opening) {
    return opening.replace(/\r\n|\r|\n/g, '⏎');
}

function candidateButton(candidate) {
    const button = document.createElement('button');
    button.type = 'button';
    const head = document.createElement('span');
    head.textContent = `${candidate.entry}（${candidate.score.toFixed(3)}）`;
    const opening = document.createElement('span');
    opening.className = 'opening';
    opening.textContent = preview(candidate.opening);
    button.append(head, opening);
    // The name begins with what the button shows, as speech input needs.
    button.setAttribute('aria-label', `${candidate.entry}（${candidate.score.toFixed(3)}） ${preview(candidate.opening)}`);
    button.addEventListener('click', () => {
        $('candidates').close();
        showPass(candidate.entry);
        decipherWith(docs.current, candidate.pass);
    });
    const item = document.createElement('li');
    item.append(button);
    return item;
}

export async function findPass() {
    const doc = docs.current;
    const ranking = await run('パスナンバーを探すことが', 'rank', [textOf(doc), 5]);
    if (ranking === null || !backTo(doc)) {
        return;
    }
    if (ranking.format === 'nothingEnciphered' || ranking.format === 'notEnciphered' || ranking.best.length === 0) {
        await notify(`${kNothingEnciphered}パスナンバーは暗号化されたテキストから探します。`);
        return;
    }
    const list = $('candidate-list');
    list.replaceChildren(...ranking.best.map(candidateButton));
    $('candidates-note').textContent = ranking.clearlyAhead
        ? '上のパスナンバーがはっきり有力です。選ぶとそのパスナンバーで解読します。'
        : '有力なパスナンバーを決められません。選ぶとそのパスナンバーで解読します。';
    $('candidates').showModal();
    list.querySelector('button')?.focus();
}

$('candidates-close').addEventListener('click', () => $('candidates').close());
$('encipher').addEventListener('click', encipher);
$('decipher').addEventListener('click', decipher);
$('find-pass').addEventListener('click', findPass);
$('undo').addEventListener('click', undoCommand);
editor.addEventListener('keydown', (event) => {
    const doc = docs.current;
    const undoKey = (event.ctrlKey || event.metaKey) && !event.shiftKey && event.key.toLowerCase() === 'z';
    if (undoKey && doc.undo.length > 0 && !doc.typedSinceCommand) {
        event.preventDefault();
        undoCommand();
    }
});
