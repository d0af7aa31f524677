// SPDX-License-Identifier: MIT
// The page's work, away from the page so that it never freezes: every call
// runs the module's C++, and long runs report progress as they go. The page
// cancels a run by ending this worker and starting another.
import solvena from './solvena.mjs';

const calls = {
    passEntry: (entry) => solvena.passEntry(entry),
    open: (bytes, choice) => solvena.openText(bytes, choice),
    save: (text, format) => solvena.saveText(text, format),
    lookAlikes: (text) => solvena.lookAlikes(text),
    openChoices: () => solvena.openChoices(),
    saveChoices: (format) => solvena.saveChoices(format),
    words: () => solvena.words(),
    fileTypeOf: (name) => solvena.fileTypeOf(name),
    nameAs: (name, type) => solvena.nameAs(name, type),
    savedName: (name, type) => solvena.savedName(name, type),
    encipher: (text, pass, progress) => solvena.encipherText(text, pass, progress),
    decipher: (text, pass, progress) => solvena.decipherText(text, pass, progress),
    rank: (text, count) => solvena.rankPassNumbers(text, count),
};

self.onmessage = (event) => {
    const { id, call, args } = event.data;
    const progress = (position, length) => self.postMessage({ id, progress: position / length });
    try {
        const result = calls[call](...args, progress);
        const transfer = result instanceof Uint8Array ? [result.buffer] : [];
        self.postMessage({ id, result }, transfer);
    } catch (error) {
        // Anything but a document rule's refusal leaves the module unusable
        // (an allocation that failed aborts it): the page starts another.
        const fatal = error?.name !== 'SolvenaError';
        self.postMessage({ id, error: { name: error?.name, message: error?.message ?? String(error), ...error, fatal } });
    }
};
self.postMessage({ ready: true });
