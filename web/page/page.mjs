// SPDX-License-Identifier: MIT
// The page: the main window's commands over the module's C++, which runs in
// a worker. Nothing here computes what the C++ computes; it shows, asks and
// downloads. Each module beside this one does one job; this one starts them.
import { $ } from './dialogs.mjs';
import { anyChanged, closeDocument, docs, listDocuments, newDocument, openFiles, show, showOpenChoices } from './documents.mjs';
import { loadWords, words } from './messages.mjs';
import { decipher, encipher } from './commands.mjs';
import { onEnter } from './pass_entry.mjs';
import { save } from './saving.mjs';
import { startWorker, whenReady } from './worker_link.mjs';

// Enter in the pass-number field runs the command that asked for it, else
// the one the document calls for.
onEnter(() => (docs.current.enciphered ? decipher : encipher));

$('close-document').addEventListener('click', () => closeDocument(save));

// Leaving asks, as closing the window does, while a document has changes
// that were not saved.
window.addEventListener('beforeunload', (event) => {
    if (anyChanged()) {
        event.preventDefault();
        event.returnValue = '';
    }
});

startWorker();
docs.list.push(newDocument());
show(docs.list[0]);
listDocuments();
// The module's words and lists are in place before the page says it is ready.
whenReady().then(async () => {
    await Promise.all([loadWords(), showOpenChoices()]);
    $('pass-label').textContent = words.passPrompt;
    document.body.dataset.ready = 'true';
});

// Files the installed page was asked to open by the system.
if ('launchQueue' in window) {
    window.launchQueue.setConsumer(async (launch) => {
        const files = await Promise.all((launch.files ?? []).map((handle) => handle.getFile()));
        if (files.length > 0) {
            await whenReady();
            openFiles(files);
        }
    });
}
if ('serviceWorker' in navigator && /^https?:$/.test(location.protocol)) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
}
